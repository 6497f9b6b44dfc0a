#pragma once
// The platform seam over the Windows API, as the shipping module uses it inside the CAD host.
// The emulator program and the Windows tests pass their own notifier and simulated clock, so that
// message boxes, the file dialog and timers are recorded and driven instead of shown.

#include <memory>
#include <string>

#include "platform/Platform.h"
#include "platform/SimulatedClock.h"

namespace velmarin::platform::win32 {

class Win32Platform : public Platform {
  public:
    // Null notifier: real message boxes and the real open-file dialog. Null clock: real timers.
    explicit Win32Platform(Notifier* notifier = nullptr, SimulatedClock* clock = nullptr);
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
    std::string moduleFileName(const std::string& moduleName) override;
    LibraryHandle loadLibrary(const std::string& path, std::string& errorText) override;
    void* getProcAddress(LibraryHandle library, const char* name) override;
    Notifier& notifier() override { return *notifier_; }
    std::uintptr_t setTimer(std::uintptr_t id, unsigned milliseconds, TimerProc proc) override;
    bool killTimer(void* window, std::uintptr_t id) override;

  private:
    std::unique_ptr<Notifier> ownNotifier_;
    Notifier* notifier_;
    SimulatedClock* clock_;
};

// The system's text for an error code (FormatMessageA, user's default language); empty when the
// system has none.
std::string SystemErrorText(unsigned long code);

// The name under which a file is written before it replaces `path`.
std::string TemporaryNameFor(const std::string& path);

}  // namespace velmarin::platform::win32
