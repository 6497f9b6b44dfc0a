// The profile reader and writer on arbitrary files and parameters. VORD.ini, vord.ini and the
// tree file are written by the client, by hand and by the plug-in in turn, so any bytes can be in
// them. Invariants: a read never writes outside its buffer and always terminates it; after a
// write, the key reads back as the written value as the reader presents it (blanks trimmed, one
// pair of quotes stripped), and every other key reads as it did before.

#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "FuzzCheck.h"
#include "platform/profile/ProfileRead.h"
#include "platform/profile/ProfileText.h"
#include "platform/profile/ProfileWrite.h"

using namespace velmarin::platform::profile;

namespace {

bool IsLead(unsigned char c) { return c >= 0x81 && c <= 0xFE; }

bool HasLineEnd(std::string_view s) { return s.find_first_of("\r\n") != std::string_view::npos; }

// A caller parameter as the C string it is: cut at its first NUL.
std::string AsCString(std::string s) {
    const std::size_t nul = s.find('\0');
    if (nul != std::string::npos) s.resize(nul);
    return s;
}

// Names a write can put into a file so that they are found again. Outside this domain Windows
// writes lines that read differently (a key with "=" or a leading ";", a name with blanks that
// the file parser drops), and the round trip is not expected.
bool IsRoundTripName(std::string_view name) {
    if (HasLineEnd(name)) return false;
    if (!name.empty() && (IsBlank(static_cast<unsigned char>(name.front())) ||
                          IsBlank(static_cast<unsigned char>(name.back())))) {
        return false;
    }
    return true;
}

bool IsRoundTripSection(std::string_view name) {
    if (!IsRoundTripName(name)) return false;
    for (std::size_t i = 0; i < name.size(); ++i) {
        const auto c = static_cast<unsigned char>(name[i]);
        if (c == ']') return false;
        if (IsLead(c)) {
            if (i + 1 == name.size()) return false;  // a lone lead byte would swallow the ']'
            ++i;
        }
    }
    return true;
}

// A key line written with this key would be read as a section header.
bool OpensSection(std::string_view key) {
    while (!key.empty() && IsBlank(static_cast<unsigned char>(key.front()))) key.remove_prefix(1);
    return !key.empty() && key.front() == '[';
}

bool IsRoundTripKey(std::string_view key) {
    if (!IsRoundTripName(key) || key.find('=') != std::string_view::npos) return false;
    return key.empty() || (key.front() != '[' && key.front() != ';');
}

// The value as the reader presents it.
std::string Presented(std::string_view v) {
    while (!v.empty() && IsBlank(static_cast<unsigned char>(v.front()))) v.remove_prefix(1);
    while (!v.empty() && IsBlank(static_cast<unsigned char>(v.back()))) v.remove_suffix(1);
    if (v.size() >= 2 && v.front() == v.back() && (v.front() == '"' || v.front() == '\'')) {
        v = v.substr(1, v.size() - 2);
    }
    return std::string(v);
}

// One read into a buffer of exactly `size` bytes, so that the address sanitizer sees any byte
// written past it.
void CheckRead(const ProfileText* file, const char* section, const char* key,
               const char* defaultValue, std::uint32_t size) {
    std::unique_ptr<char[]> buffer(size == 0 ? nullptr : new char[size]);
    if (size > 0) std::memset(buffer.get(), 'x', size);
    const ReadResult result = GetString(file, section, key, defaultValue, buffer.get(), size);
    if (size == 0) {
        FUZZ_REQUIRE(result.length == 0);
        return;
    }
    FUZZ_REQUIRE(result.length < size);
    FUZZ_REQUIRE(buffer[result.length] == '\0');
    if (section == nullptr) {
        // The list of section names ends in two NULs: the one after its last name and the
        // terminator, or two terminators where the list was cut.
        if (result.length > 0) {
            FUZZ_REQUIRE(buffer[result.length - 1] == '\0' ||
                         (result.length + 1 < size && buffer[result.length + 1] == '\0'));
        }
    } else if (key != nullptr) {
        FUZZ_REQUIRE(std::strlen(buffer.get()) <= result.length);
    }
}

std::optional<std::string> Lookup(const ProfileText& file, std::string_view section,
                                  std::string_view key) {
    return FindValue(file, std::string(section), std::string(key));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    const int operation = input.ConsumeIntegralInRange(0, 3);  // 3: write with the null section
    const std::string section = AsCString(input.ConsumeRandomLengthString(48));
    const std::string key = AsCString(input.ConsumeRandomLengthString(48));
    const std::string value = AsCString(input.ConsumeRandomLengthString(200));
    const auto bufferSize = input.ConsumeIntegralInRange<std::uint32_t>(0, 300);
    const ProfileText before(input.ConsumeRemainingBytesAsString());

    // The default: none, or the value's text (so that it can be long, blank or quoted too).
    const char* defaultValue = (operation & 1) != 0 ? nullptr : value.c_str();
    CheckRead(&before, section.c_str(), key.c_str(), defaultValue, bufferSize);
    CheckRead(&before, section.c_str(), nullptr, defaultValue, bufferSize);
    CheckRead(&before, nullptr, nullptr, defaultValue, bufferSize);
    CheckRead(nullptr, section.c_str(), key.c_str(), defaultValue, bufferSize);

    const char* keyArgument = operation == 2 ? nullptr : key.c_str();
    const char* valueArgument = operation == 1 ? nullptr : value.c_str();
    const char* sectionArgument = operation == 3 ? nullptr : section.c_str();
    const std::optional<std::string> written =
        PutString(&before, sectionArgument, keyArgument, valueArgument);
    if (!written) {
        // Only a null section and a UTF-16 file are refused.
        FUZZ_REQUIRE(sectionArgument == nullptr || before.bytes().compare(0, 2, "\xFF\xFE") == 0);
        return 0;
    }
    const ProfileText after(*written);
    CheckRead(&after, section.c_str(), key.c_str(), defaultValue, bufferSize);

    // Line ends in a parameter split the written line (Windows writes them raw), which may add
    // keys and sections anywhere; the invariants hold for parameters without them.
    const std::string_view sectionName = TrimSpaces(section);
    const std::string_view keyName = TrimSpaces(key);
    if (!IsRoundTripSection(sectionName)) return 0;
    if (operation != 2 && (HasLineEnd(keyName) || OpensSection(keyName))) return 0;
    if (operation == 0 && HasLineEnd(value)) return 0;
    if (operation == 0 && IsRoundTripKey(keyName)) {
        const auto readBack = Lookup(after, sectionName, keyName);
        FUZZ_REQUIRE(readBack && *readBack == Presented(value));
    }

    // Every other key of the file reads as it did. Deleting a section may uncover a later
    // section of the same name, so its keys are not compared then.
    const auto& lines = before.lines();
    for (const auto& s : before.sections()) {
        if (!s.reachable) continue;
        const std::string_view name = before.name(lines[s.header]);
        const bool sameSection = FoldedEqual()(name, sectionName);
        if (sameSection && operation == 2) continue;
        for (std::size_t i = s.header + 1; i < s.lineEnd; ++i) {
            if (lines[i].kind != LineKind::Key) continue;
            const std::string_view other = before.name(lines[i]);
            if (sameSection && FoldedEqual()(other, keyName)) continue;
            FUZZ_REQUIRE(Lookup(after, name, other) == Lookup(before, name, other));
        }
    }
    return 0;
}
