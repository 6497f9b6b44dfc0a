#include "NativePlatform.h"

#include "platform/NativeFiles.h"
#include "platform/shims/EmulatedUserInterface.h"

#if defined(_WIN32)
#include "platform/win32/DriveMappings.h"
#include "platform/win32/PathSpelling.h"
#include "platform/win32/RegistryImport.h"
#include "platform/win32/Win32Platform.h"
#else
#include "platform/posix/PosixPlatform.h"
#endif

namespace velmarin::emulator {
namespace {

#if !defined(_WIN32)
constexpr const char kPluginName[] = "Velmarin.arx";
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
    // One document per file: every spelling of a path resolves to the same text.
    native.resolve = [](const std::string& path) { return platform::win32::SpelledAsOnDisk(path); };
#else
    platform::posix::PosixConfig config;
    config.drives = setup.drives;
    config.registryFile = setup.registryFile;
    config.hostExecutable = setup.hostExecutable;
    // The platform names the module to the plug-in as a Windows path (through a drive when the
    // module lies under one), so it only needs the absolute POSIX path.
    const std::string pluginFile = platform::AbsolutePath(setup.modulePath);
    config.modules[kPluginName] = pluginFile;
    const std::string ownName = platform::FileNamePart(setup.modulePath);
    if (!ownName.empty()) config.modules[ownName] = pluginFile;
    auto posix = std::make_unique<platform::posix::PosixPlatform>(config);
    auto* resolver = posix.get();
    native.resolve = [resolver](const std::string& path) { return resolver->resolve(path); };
    native.system = std::move(posix);
#endif
    native.platform =
        std::make_unique<platform::shims::EmulatedUserInterface>(*native.system, notifier, clock);
    return native;
}

}  // namespace velmarin::emulator
