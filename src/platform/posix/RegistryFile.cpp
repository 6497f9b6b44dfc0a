#include "platform/posix/RegistryFile.h"

#include "platform/FileText.h"
#include "platform/posix/AtomicFile.h"
#include "platform/profile/ProfileRead.h"

namespace velmarin::platform::posix {
namespace {

constexpr std::size_t kValueBuffer = 260;

}  // namespace

bool ReadRegistryValue(const std::string& registryFile, const std::string& keyPath,
                       const std::string& valueName, std::string& value) {
    std::string bytes;
    if (registryFile.empty() || !ReadWholeFile(registryFile, bytes)) return false;
    const profile::ProfileText text(FileTextAsGbk(bytes));
    auto found = profile::FindValue(text, keyPath, valueName);
    if (!found || found->size() >= kValueBuffer) return false;
    value = std::move(*found);
    return true;
}

}  // namespace velmarin::platform::posix
