#pragma once
// The platform seam over the Windows API, as the shipping module uses it inside the CAD host:
// real message boxes, the real open-file dialog and the system's timers. The emulator program and
// the Windows tests record and drive those through a shim laid over this platform.

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "platform/Platform.h"

namespace velmarin::platform::win32 {

class Win32Platform : public Platform {
  public:
    Win32Platform();
    ~Win32Platform() override;

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
    void beginCommitGroup() override { ++groupDepth_; }
    bool endCommitGroup() override;
    std::string moduleFileName(const std::string& moduleName) override;
    LibraryHandle loadLibrary(const std::string& path, std::string& errorText) override;
    void* getProcAddress(LibraryHandle library, const char* name) override;
    Notifier& notifier() override { return *notifier_; }
    std::uintptr_t setTimer(std::uintptr_t id, unsigned milliseconds, TimerProc proc) override;
    bool killTimer(void* window, std::uintptr_t id) override;

  private:
    std::unique_ptr<Notifier> notifier_;
    int groupDepth_ = 0;
    // Files of the open commit group, flushed under their temporary names: (temporary, target).
    std::vector<std::pair<std::string, std::string>> waiting_;
};

// The system's text for an error code (FormatMessageA, user's default language); empty when the
// system has none.
std::string SystemErrorText(unsigned long code);

// The name under which a file is written before it replaces `path`. It is the same for every
// write of the file, so a file a dead process left is overwritten by the next write.
std::string TemporaryNameFor(const std::string& path);

// The file a path names once symbolic links are followed, as the profile functions write through
// them; the path itself when it is no link or cannot be followed.
std::string LinkedFile(const std::string& path);

}  // namespace velmarin::platform::win32
