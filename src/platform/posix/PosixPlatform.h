#pragma once
// The platform on Linux: Windows paths mapped onto folders, a registry read from an INI file,
// the profile functions reimplemented with Windows' behaviour. Linux has no windowing system for
// the plug-in: message boxes go to standard error, the file dialog is cancelled and no timer
// can be set. The emulator program and the tests lay their user interface over this platform.

#include <map>
#include <memory>
#include <string>

#include "platform/Platform.h"
#include "platform/posix/AtomicFile.h"
#include "platform/posix/PathResolver.h"
#include "platform/posix/ProfileCache.h"

namespace velmarin::platform::posix {

struct PosixConfig {
    std::map<char, std::string> drives;  // drive letter (either case) -> folder
    std::string registryFile;            // INI file standing for HKEY_LOCAL_MACHINE; may be empty
    std::string hostExecutable;          // full file name of the host program
    std::map<std::string, std::string> modules;  // loaded module file name -> its full path
};

class PosixPlatform : public Platform {
  public:
    explicit PosixPlatform(PosixConfig config);
    ~PosixPlatform() override;

    // The POSIX path a Windows path reaches: drive letter mapped, both separators, components
    // matched against existing entries ignoring letter case. An absolute POSIX path passes.
    std::string resolve(const std::string& windowsPath) const;

    bool readRegistryString(const std::string& keyPath, const std::string& valueName,
                            std::string& value) override;
    std::uint32_t getProfileString(const char* section, const char* key, const char* defaultValue,
                                   char* buffer, std::uint32_t bufferSize,
                                   const std::string& file) override;
    bool writeProfileString(const char* section, const char* key, const char* value,
                            const std::string& file) override;
    bool findFirstFile(const std::string& pattern) override;
    bool createDirectory(const std::string& path) override;
    bool deleteFile(const std::string& path) override;
    std::unique_ptr<OutputFile> createFile(const std::string& path) override;
    bool readFile(const std::string& path, std::string& contents) override;
    void beginCommitGroup() override { pending_.begin(); }
    bool endCommitGroup() override { return pending_.end(); }
    std::string moduleFileName(const std::string& moduleName) override;
    LibraryHandle loadLibrary(const std::string& path, std::string& errorText) override;
    void* getProcAddress(LibraryHandle library, const char* name) override;
    Notifier& notifier() override { return *notifier_; }
    std::uintptr_t setTimer(std::uintptr_t id, unsigned milliseconds, TimerProc proc) override;
    bool killTimer(void* window, std::uintptr_t id) override;

    const PosixConfig& config() const { return config_; }
    const ProfileCache& profileCache() const { return profileCache_; }

  private:
    PosixConfig config_;
    std::unique_ptr<Notifier> notifier_;
    PathResolver resolver_;
    ProfileCache profileCache_;
    PendingReplacements pending_;  // files of the open commit group
};

}  // namespace velmarin::platform::posix
