#pragma once
// What the Windows tests stand on: the Win32 platform over the real system (under Wine on Linux)
// under the emulated user interface shim (a recording notifier and a simulated clock), a fresh folder under the system's temporary
// folder, and registry values that are put back as they were when a test ends.

#include <string>
#include <vector>

#include "platform/RecordingNotifier.h"
#include "platform/SimulatedClock.h"
#include "platform/shims/EmulatedUserInterface.h"
#include "platform/win32/Win32Platform.h"

namespace velmarin::testing {

// True when the program runs under Wine rather than Windows.
bool RunningUnderWine();

// The folder of the built binaries (Velmarin.arx, VORDDll.dll, velmarin-host.exe), which is
// where this test program is built too; no trailing backslash.
std::string BinaryDir();

// A fresh folder, removed with everything in it at the end.
class TempFolder {
  public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    // Windows path of the folder, without a trailing backslash.
    const std::string& path() const { return path_; }
    std::string operator/(const std::string& relative) const { return path_ + "\\" + relative; }
    // Writes the bytes as given, creating the folders on the way.
    void write(const std::string& relative, const std::string& bytes) const;
    // The file's bytes; nothing when it does not exist.
    bool read(const std::string& relative, std::string& bytes) const;
    bool exists(const std::string& relative) const;
    std::vector<std::string> lines(const std::string& relative) const;

  private:
    std::string path_;
};

// The platform of a test: installed for its life, message boxes recorded.
class SystemWorld {
  public:
    SystemWorld();
    ~SystemWorld();

    platform::Platform& platform() { return platform_; }
    platform::RecordingNotifier& notifier() { return notifier_; }
    platform::SimulatedClock& clock() { return clock_; }

  private:
    platform::RecordingNotifier notifier_;
    platform::SimulatedClock clock_;
    platform::win32::Win32Platform system_;
    platform::shims::EmulatedUserInterface platform_{system_, notifier_, clock_};
};

// A value under HKEY_LOCAL_MACHINE for the life of the object; what was there before (a value, or
// nothing, or not even the key) is restored at the end.
class ScopedRegistryValue {
  public:
    ScopedRegistryValue(std::string keyPath, std::string name);
    ~ScopedRegistryValue();
    ScopedRegistryValue(const ScopedRegistryValue&) = delete;
    ScopedRegistryValue& operator=(const ScopedRegistryValue&) = delete;

    void setText(const std::string& value) const;  // REG_SZ through RegSetValueExA
    void setNumber(unsigned long value) const;     // REG_DWORD
    void remove() const;

  private:
    std::string keyPath_;
    std::string name_;
    bool hadKey_ = false;
    bool hadValue_ = false;
    unsigned long oldType_ = 0;
    std::string oldData_;
};

}  // namespace velmarin::testing
