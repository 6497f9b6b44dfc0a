#pragma once
// A platform that hands every call to another one. Test and emulator shims derive from it and
// override only what they change, so the platform underneath stays free of test hooks.

#include <memory>
#include <string>

#include "platform/Platform.h"

namespace velmarin::platform::shims {

class ForwardingPlatform : public Platform {
  public:
    explicit ForwardingPlatform(Platform& inner) : inner_(inner) {}

    bool readRegistryString(const std::string& keyPath, const std::string& valueName,
                            std::string& value) override {
        return inner_.readRegistryString(keyPath, valueName, value);
    }
    std::uint32_t getProfileString(const char* section, const char* key, const char* defaultValue,
                                   char* buffer, std::uint32_t bufferSize,
                                   const std::string& file) override {
        return inner_.getProfileString(section, key, defaultValue, buffer, bufferSize, file);
    }
    bool writeProfileString(const char* section, const char* key, const char* value,
                            const std::string& file) override {
        return inner_.writeProfileString(section, key, value, file);
    }
    bool findFirstFile(const std::string& pattern) override {
        return inner_.findFirstFile(pattern);
    }
    bool createDirectory(const std::string& path) override { return inner_.createDirectory(path); }
    bool deleteFile(const std::string& path) override { return inner_.deleteFile(path); }
    std::unique_ptr<OutputFile> createFile(const std::string& path) override {
        return inner_.createFile(path);
    }
    bool readFile(const std::string& path, std::string& contents) override {
        return inner_.readFile(path, contents);
    }
    void beginCommitGroup() override { inner_.beginCommitGroup(); }
    bool endCommitGroup() override { return inner_.endCommitGroup(); }
    std::string moduleFileName(const std::string& moduleName) override {
        return inner_.moduleFileName(moduleName);
    }
    LibraryHandle loadLibrary(const std::string& path, std::string& errorText) override {
        return inner_.loadLibrary(path, errorText);
    }
    void* getProcAddress(LibraryHandle library, const char* name) override {
        return inner_.getProcAddress(library, name);
    }
    Notifier& notifier() override { return inner_.notifier(); }
    std::uintptr_t setTimer(std::uintptr_t id, unsigned milliseconds, TimerProc proc) override {
        return inner_.setTimer(id, milliseconds, proc);
    }
    bool killTimer(void* window, std::uintptr_t id) override {
        return inner_.killTimer(window, id);
    }

    Platform& inner() { return inner_; }

  private:
    Platform& inner_;
};

}  // namespace velmarin::platform::shims
