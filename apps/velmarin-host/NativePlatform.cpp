#include "NativePlatform.h"

#include <filesystem>

#if defined(_WIN32)
#include "platform/win32/DriveMappings.h"
#include "platform/win32/RegistryImport.h"
#include "platform/shims/EmulatedUserInterface.h"
#include "platform/win32/Win32Platform.h"
#else
#include "platform/posix/PosixPlatform.h"
#endif

namespace velmarin::emulator {
namespace {

#if !defined(_WIN32)
constexpr const char kPluginName[] = "Velmarin.arx";

// The platform names the module to the plug-in as a Windows path (through a drive when the
// module lies under one), so it only needs the absolute POSIX path.
std::string AbsolutePath(const std::string& path) {
    std::error_code ignored;
    const std::filesystem::path absolute = std::filesystem::absolute(path, ignored);
    return absolute.lexically_normal().string();
}
#endif

}  // namespace

NativePlatform MakeNativePlatform(const PlatformSetup& setup, platform::Notifier& notifier,
                                  platform::SimulatedClock& clock) {
    NativePlatform native;
#if defined(_WIN32)
    // The system itself resolves paths: drives are defined on it, registry values written to it.
    auto drives = std::make_shared<platform::win32::DriveMappings>();
    for (const auto& [letter, folder] : setup.drives) {
        if (!drives->map(letter, folder, native.error)) break;
    }
    if (native.error.empty() && !setup.registryFile.empty()) {
        platform::win32::ImportRegistryFile(setup.registryFile, native.error);
    }
    native.systemSetup = drives;
    native.system = std::make_unique<platform::win32::Win32Platform>();
    native.platform = std::make_unique<platform::shims::EmulatedUserInterface>(*native.system,
                                                                               notifier, clock);
    native.resolve = [](const std::string& path) { return path; };
#else
    platform::posix::PosixConfig config;
    config.drives = setup.drives;
    config.registryFile = setup.registryFile;
    config.hostExecutable = setup.hostExecutable;
    const std::string pluginFile = AbsolutePath(setup.modulePath);
    config.modules[kPluginName] = pluginFile;
    const std::string ownName = std::filesystem::path(setup.modulePath).filename().string();
    if (!ownName.empty()) config.modules[ownName] = pluginFile;
    auto posix = std::make_unique<platform::posix::PosixPlatform>(config, notifier, clock);
    auto* resolver = posix.get();
    native.resolve = [resolver](const std::string& path) { return resolver->resolve(path); };
    native.platform = std::move(posix);
#endif
    return native;
}

}  // namespace velmarin::emulator
