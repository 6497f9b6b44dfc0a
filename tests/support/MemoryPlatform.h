#pragma once
// An in-memory platform: files and folders keyed by their exact path, with every folder creation
// and profile call recorded, so a test sees exactly what the code asked of the system.

#include <algorithm>
#include <cstring>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "platform/Platform.h"
#include "platform/RecordingNotifier.h"

namespace velmarin::testing {

class MemoryPlatform : public platform::Platform {
  public:
    std::map<std::string, std::string> files;
    std::set<std::string> folders;  // exist, but cannot be read as files
    std::map<std::string, std::string> modules;
    std::vector<std::string> createdFolders;
    std::vector<std::string> profileCalls;  // "read S/K default=D size=N F", "write S/K=V F"
    std::string profileAnswer;
    int searches = 0;
    platform::RecordingNotifier recorder;

    MemoryPlatform() { platform::install(this); }
    ~MemoryPlatform() override { platform::install(nullptr); }

    std::uint32_t getProfileString(const char* s, const char* k, const char* d, char* buffer,
                                   std::uint32_t size, const std::string& f) override {
        profileCalls.push_back(std::string("read ") + s + "/" + k + " default=" + d +
                               " size=" + std::to_string(size) + " " + f);
        const std::size_t length = std::min<std::size_t>(profileAnswer.size(), size - 1);
        std::memcpy(buffer, profileAnswer.data(), length);  // as Windows: cut and terminated
        buffer[length] = '\0';
        return static_cast<std::uint32_t>(length);
    }
    bool writeProfileString(const char* s, const char* k, const char* v,
                            const std::string& f) override {
        profileCalls.push_back(std::string("write ") + s + "/" + k + "=" + v + " " + f);
        return true;
    }
    bool findFirstFile(const std::string& path) override {
        ++searches;
        return files.count(path) != 0 || folders.count(path) != 0;
    }
    bool createDirectory(const std::string& path) override {
        createdFolders.push_back(path);
        return folders.insert(path).second;
    }
    bool readFile(const std::string& path, std::string& contents) override {
        const auto found = files.find(path);
        if (found == files.end()) return false;
        contents = found->second;
        return true;
    }
    std::string moduleFileName(const std::string& name) override {
        const auto found = modules.find(name);
        return found == modules.end() ? "C:\\Host\\host.exe" : found->second;
    }
    platform::Notifier& notifier() override { return recorder; }

    bool readRegistryString(const std::string&, const std::string&, std::string&) override {
        return false;
    }
    bool deleteFile(const std::string&) override { return false; }
    std::unique_ptr<platform::OutputFile> createFile(const std::string&) override { return {}; }
    platform::LibraryHandle loadLibrary(const std::string&, std::string&) override { return {}; }
    void* getProcAddress(platform::LibraryHandle, const char*) override { return nullptr; }
    std::uintptr_t setTimer(std::uintptr_t, unsigned, platform::TimerProc) override { return 0; }
    bool killTimer(void*, std::uintptr_t) override { return false; }
};

}  // namespace velmarin::testing
