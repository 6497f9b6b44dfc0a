// A stand-in for the VORD client library: answers VORD_Invoke from a behaviour file and logs
// every call, all in the folder the library was loaded from.
//
//   client-calls.log     one line per call: code=C<TAB>param1=..<TAB>param2=..<TAB>param3=..
//   client-double.ini    [Code<C>#<K>] for the K-th call with code C, else [Code<C>]:
//                        result=<decimal, default 1>, return1..return3 (copied to DllReturn)
//   client-double.state  [Calls] Code<C>=<calls so far>, so counting survives a reload
//
// Answers go into the exchange file only when it exists: the double never creates VORD.ini, so
// a test of a missing exchange file stays one.

#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <string>
#include <type_traits>
#include <vector>

#include "bridge/VordInvoke.h"
#include "platform/ModulePath.h"

#if defined(_WIN32)
#include "platform/win32/Win32Platform.h"
#define CLIENT_EXPORT __declspec(dllexport)
#else
#include "platform/posix/PosixPlatform.h"
#define CLIENT_EXPORT __attribute__((visibility("default")))
#endif

extern "C" CLIENT_EXPORT std::int32_t VORD_CALL VORD_Invoke(std::int32_t code);

namespace {

using velmarin::platform::Platform;

constexpr std::uint32_t kBufferBytes = 65536;

// Profile access of its own, independent of whatever loaded the library: on Linux an empty
// configuration lets absolute POSIX paths through unchanged.
Platform& Os() {
#if defined(_WIN32)
    static velmarin::platform::win32::Win32Platform platform;
#else
    static velmarin::platform::posix::PosixPlatform platform{
        velmarin::platform::posix::PosixConfig{}};
#endif
    return platform;
}

std::string OwnFolder() {
    const std::string path =
        velmarin::platform::ModulePathOf(reinterpret_cast<const void*>(&VORD_Invoke));
#if defined(_WIN32)
    const std::size_t slash = path.find_last_of("/\\");
#else
    const std::size_t slash = path.find_last_of('/');
#endif
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

std::string ReadValue(const char* section, const char* key, const std::string& file) {
    std::vector<char> buffer(kBufferBytes, '\0');
    Os().getProfileString(section, key, "", buffer.data(), kBufferBytes, file);
    return buffer.data();
}

// The names a null section or key enumerates: NUL-separated, ended by an empty name.
std::vector<std::string> ReadNames(const char* section, const std::string& file) {
    std::vector<char> buffer(kBufferBytes, '\0');
    const std::uint32_t length =
        Os().getProfileString(section, nullptr, "", buffer.data(), kBufferBytes, file);
    std::vector<std::string> names;
    for (std::size_t at = 0; at < length && buffer[at] != '\0';) {
        names.emplace_back(buffer.data() + at);
        at += names.back().size() + 1;
    }
    return names;
}

bool EqualsIgnoringCase(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        auto fold = [](char c) { return (c >= 'a' && c <= 'z') ? char(c - 'a' + 'A') : c; };
        if (fold(a[i]) != fold(b[i])) return false;
    }
    return true;
}

const std::string* FindName(const std::vector<std::string>& names, const std::string& name) {
    for (const std::string& candidate : names) {
        if (EqualsIgnoringCase(candidate, name)) return &candidate;
    }
    return nullptr;
}

// The number of this call among the calls with `code`, counting from 1.
int CountCall(int code, const std::string& stateFile) {
    const std::string key = "Code" + std::to_string(code);
    const int calls = std::atoi(ReadValue("Calls", key.c_str(), stateFile).c_str()) + 1;
    Os().writeProfileString("Calls", key.c_str(), std::to_string(calls).c_str(), stateFile);
    return calls;
}

void LogCall(int code, const std::string& exchangeFile, const std::string& logFile) {
    std::string line = "code=" + std::to_string(code);
    for (const char* key : {"param1", "param2", "param3"}) {
        line += '\t';
        line += key;
        line += '=';
        line += ReadValue("DllParam", key, exchangeFile);
    }
    std::ofstream(logFile, std::ios::binary | std::ios::app) << line << '\n';
}

std::int32_t Answer(int code, int call, const std::string& behaviourFile,
                    const std::string& exchangeFile) {
    const std::vector<std::string> sections = ReadNames(nullptr, behaviourFile);
    const std::string base = "Code" + std::to_string(code);
    const std::string* section = FindName(sections, base + "#" + std::to_string(call));
    if (section == nullptr) section = FindName(sections, base);
    if (section == nullptr) return 1;

    const std::vector<std::string> keys = ReadNames(section->c_str(), behaviourFile);
    const bool exchangeExists = Os().findFirstFile(exchangeFile);
    for (const char* answer : {"return1", "return2", "return3"}) {
        const std::string* key = FindName(keys, answer);
        if (key == nullptr || !exchangeExists) continue;
        const std::string value = ReadValue(section->c_str(), key->c_str(), behaviourFile);
        Os().writeProfileString("DllReturn", answer, value.c_str(), exchangeFile);
    }
    const std::string result = ReadValue(section->c_str(), "result", behaviourFile);
    return result.empty() ? 1 : static_cast<std::int32_t>(std::strtol(result.c_str(), nullptr, 10));
}

}  // namespace

static_assert(std::is_same_v<decltype(&VORD_Invoke), VordInvokeProc>,
              "the double must match the entry the plug-in calls");

extern "C" std::int32_t VORD_CALL VORD_Invoke(std::int32_t code) {
    const std::string folder = OwnFolder();
    const std::string exchangeFile = folder + "VORD.ini";
    LogCall(code, exchangeFile, folder + "client-calls.log");
    const int call = CountCall(code, folder + "client-double.state");
    return Answer(code, call, folder + "client-double.ini", exchangeFile);
}
