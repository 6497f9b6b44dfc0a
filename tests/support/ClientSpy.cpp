#include "support/ClientSpy.h"

#include <algorithm>

namespace velmarin::testing {
namespace {

ClientSpy* g_active = nullptr;

std::string Text(const char* text) { return text == nullptr ? "(null)" : text; }

}  // namespace

ClientSpy::ClientSpy(platform::Platform& inner)
    : inner_(inner), previous_(platform::installed() ? &platform::current() : nullptr) {
    platform::install(this);
    g_active = this;
}

ClientSpy::~ClientSpy() {
    platform::install(previous_);
    g_active = nullptr;
}

std::vector<std::string> ClientSpy::entries(std::initializer_list<const char*> words) const {
    std::vector<std::string> found;
    for (const std::string& entry : journal) {
        for (const char* word : words) {
            if (entry.rfind(std::string(word) + " ", 0) == 0) found.push_back(entry);
        }
    }
    return found;
}

int ClientSpy::countOf(const std::string& entry) const {
    return static_cast<int>(std::count(journal.begin(), journal.end(), entry));
}

std::int32_t VORD_CALL ClientSpy::Entry(std::int32_t code) {
    ClientSpy& spy = *g_active;
    spy.journal.push_back("call " + std::to_string(code));
    if (spy.onCall) spy.onCall(code);
    return spy.realEntry_ != nullptr ? spy.realEntry_(code) : 0;
}

bool ClientSpy::readRegistryString(const std::string& keyPath, const std::string& valueName,
                                   std::string& value) {
    return inner_.readRegistryString(keyPath, valueName, value);
}

std::uint32_t ClientSpy::getProfileString(const char* section, const char* key,
                                          const char* defaultValue, char* buffer,
                                          std::uint32_t bufferSize, const std::string& file) {
    journal.push_back("read [" + Text(section) + "] " + Text(key));
    return inner_.getProfileString(section, key, defaultValue, buffer, bufferSize, file);
}

bool ClientSpy::writeProfileString(const char* section, const char* key, const char* value,
                                   const std::string& file) {
    journal.push_back("write [" + Text(section) + "] " + Text(key) + "=" + Text(value));
    return inner_.writeProfileString(section, key, value, file);
}

bool ClientSpy::findFirstFile(const std::string& pattern) {
    journal.push_back("find " + pattern);
    return inner_.findFirstFile(pattern);
}
bool ClientSpy::createDirectory(const std::string& path) { return inner_.createDirectory(path); }
bool ClientSpy::deleteFile(const std::string& path) { return inner_.deleteFile(path); }
std::unique_ptr<platform::OutputFile> ClientSpy::createFile(const std::string& path) {
    return inner_.createFile(path);
}
bool ClientSpy::readFile(const std::string& path, std::string& contents) {
    return inner_.readFile(path, contents);
}
std::string ClientSpy::moduleFileName(const std::string& moduleName) {
    return inner_.moduleFileName(moduleName);
}

platform::LibraryHandle ClientSpy::loadLibrary(const std::string& path, std::string& errorText) {
    journal.push_back("load " + path);
    return inner_.loadLibrary(path, errorText);
}

void* ClientSpy::getProcAddress(platform::LibraryHandle library, const char* name) {
    journal.push_back("lookup " + Text(name));
    void* address = inner_.getProcAddress(library, name);
    if (address == nullptr || std::string(name) != "VORD_Invoke") return address;
    realEntry_ = reinterpret_cast<VordInvokeProc>(address);
    return reinterpret_cast<void*>(&ClientSpy::Entry);
}

platform::Notifier& ClientSpy::notifier() { return inner_.notifier(); }
std::uintptr_t ClientSpy::setTimer(std::uintptr_t id, unsigned milliseconds,
                                   platform::TimerProc proc) {
    return inner_.setTimer(id, milliseconds, proc);
}
bool ClientSpy::killTimer(void* window, std::uintptr_t id) { return inner_.killTimer(window, id); }

}  // namespace velmarin::testing
