#include "platform/posix/RegistryFile.h"

#include "platform/Encoding.h"
#include "platform/posix/AtomicFile.h"
#include "platform/profile/ProfileRead.h"

namespace velmarin::platform::posix {
namespace {

constexpr std::size_t kValueBuffer = 260;

bool IsAscii(const std::string& bytes) {
    for (const char c : bytes) {
        if (static_cast<unsigned char>(c) >= 0x80) return false;
    }
    return true;
}

// The registry file as GBK text. Text that is valid UTF-8 is taken as UTF-8 (a short GBK text
// can pass for UTF-8 only by rare chance); a UTF-8 byte-order mark is dropped.
std::string AsGbk(std::string bytes) {
    if (bytes.compare(0, 3, "\xEF\xBB\xBF") == 0) bytes.erase(0, 3);
    std::string gbk;
    if (!IsAscii(bytes) && IsValidUtf8(bytes) && Utf8ToGbk(bytes, gbk)) return gbk;
    return bytes;
}

}  // namespace

bool ReadRegistryValue(const std::string& registryFile, const std::string& keyPath,
                       const std::string& valueName, std::string& value) {
    std::string bytes;
    if (registryFile.empty() || !ReadWholeFile(registryFile, bytes)) return false;
    const profile::ProfileText text(AsGbk(std::move(bytes)));
    auto found = profile::FindValue(text, keyPath, valueName);
    if (!found || found->size() >= kValueBuffer) return false;
    value = std::move(*found);
    return true;
}

}  // namespace velmarin::platform::posix
