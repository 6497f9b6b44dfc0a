#pragma once
// A platform layered over another that keeps a journal of what the plug-in does with profile
// files and the client library, in the order it happens:
//   "write [DllParam] param1=0"   a profile write
//   "read [DllReturn] return2"    a profile read
//   "load D:\VORD\VORDDll.dll"    a library load
//   "lookup VORD_Invoke"          an export look-up
//   "call 5"                      a call of the client entry (then forwarded to the real one)
//   "find D:\VORD\VORD.ini"        a file-existence search
// While it lives it is the installed platform; the previous one is restored afterwards.

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "bridge/VordInvoke.h"
#include "platform/Platform.h"

namespace velmarin::testing {

class ClientSpy : public platform::Platform {
  public:
    explicit ClientSpy(platform::Platform& inner);
    ~ClientSpy() override;

    std::vector<std::string> journal;
    // Runs at the moment the client entry is called, before the real entry answers.
    std::function<void(int code)> onCall;

    // The journal entries that start with one of the given words, in order.
    std::vector<std::string> entries(std::initializer_list<const char*> words) const;
    // Just the exchange: profile writes and reads and the calls.
    std::vector<std::string> exchange() const { return entries({"write", "read", "call"}); }
    int countOf(const std::string& entry) const;

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
    std::unique_ptr<platform::OutputFile> createFile(const std::string& path) override;
    bool readFile(const std::string& path, std::string& contents) override;
    std::string moduleFileName(const std::string& moduleName) override;
    platform::LibraryHandle loadLibrary(const std::string& path, std::string& errorText) override;
    void* getProcAddress(platform::LibraryHandle library, const char* name) override;
    platform::Notifier& notifier() override;
    std::uintptr_t setTimer(std::uintptr_t id, unsigned milliseconds,
                            platform::TimerProc proc) override;
    bool killTimer(void* window, std::uintptr_t id) override;

  private:
    static std::int32_t VORD_CALL Entry(std::int32_t code);

    platform::Platform& inner_;
    platform::Platform* previous_;
    VordInvokeProc realEntry_ = nullptr;
};

}  // namespace velmarin::testing
