// Windows paths as the client and operation scripts hand them over (any bytes), resolved onto
// the folders that stand for drives, and the wildcard match of directory searches. Invariants: a
// path on a drive never leads outside that drive's folder, a resolved path maps back to its
// drive, and the wildcard match agrees with a plain recursive matcher.

#include <fuzzer/FuzzedDataProvider.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "FuzzCheck.h"
#include "platform/FileText.h"
#include "platform/posix/PathResolver.h"

using velmarin::platform::posix::PathResolver;
using velmarin::platform::posix::WildcardMatch;

namespace {

// A drive folder with a few entries, so that the case-insensitive matching has names to find.
const std::string& DriveFolder() {
    static const std::string* folder = [] {
        const char* base = ::access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp";
        std::string pattern = std::string(base) + "/velmarin-fuzz-paths-XXXXXX";
        FUZZ_REQUIRE(::mkdtemp(pattern.data()) != nullptr);
        ::mkdir((pattern + "/Sub").c_str(), 0777);
        ::mkdir((pattern + "/Sub/\xD6\xD0\xCE\xC4").c_str(), 0777);  // GBK name
        std::ofstream(pattern + "/Sub/A.dwg") << "x";
        std::ofstream(pattern + "/VORD.ini") << "x";
        return new std::string(pattern);
    }();
    return *folder;
}

bool IsLead(unsigned char c) { return c >= 0x81 && c <= 0xFE; }

std::vector<std::string> Units(const std::string& s) {
    std::vector<std::string> units;
    for (std::size_t i = 0; i < s.size();) {
        const std::size_t n = IsLead(static_cast<unsigned char>(s[i])) && i + 1 < s.size() ? 2 : 1;
        std::string unit = s.substr(i, n);
        if (n == 1 && unit[0] >= 'A' && unit[0] <= 'Z') unit[0] = static_cast<char>(unit[0] + 32);
        units.push_back(unit);
        i += n;
    }
    return units;
}

// The reference: '*' any run of characters, '?' one character, others themselves.
bool Matches(const std::vector<std::string>& p, std::size_t i, const std::vector<std::string>& n,
             std::size_t j) {
    if (i == p.size()) return j == n.size();
    if (p[i] == "*") {
        for (std::size_t k = j; k <= n.size(); ++k) {
            if (Matches(p, i + 1, n, k)) return true;
        }
        return false;
    }
    return j < n.size() && (p[i] == "?" || p[i] == n[j]) && Matches(p, i + 1, n, j + 1);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const PathResolver resolver({{'D', DriveFolder()}});
    FuzzedDataProvider input(data, size);
    const std::string pattern = input.ConsumeRandomLengthString(12);
    const std::string name = input.ConsumeRandomLengthString(12);
    const std::string tail = input.ConsumeRemainingBytesAsString();

    const std::string onDrive = "D:" + tail;
    const std::string resolved = resolver.resolve(onDrive);
    const std::string& root = DriveFolder();
    FUZZ_REQUIRE(resolved.compare(0, root.size(), root) == 0);
    FUZZ_REQUIRE(resolved.size() == root.size() || resolved[root.size()] == '/');
    const std::string back = resolver.toWindows(resolved);
    FUZZ_REQUIRE(back.compare(0, 2, "D:") == 0);

    (void)resolver.resolve(tail);  // relative, rooted, network or another drive: no crash

    // "*.*" matches everything, as in a Windows directory search; the rest by the reference.
    const bool match = WildcardMatch(pattern, name);
    if (pattern == "*.*") {
        FUZZ_REQUIRE(match);
    } else if (pattern.size() <= 12 && name.size() <= 12) {
        // A name spelled in UTF-8 on disk also matches by its GBK spelling.
        const auto byReference = [&](const std::string& n) {
            return Matches(Units(pattern), 0, Units(n), 0);
        };
        const std::string gbk = velmarin::platform::LineAsGbk(name);
        FUZZ_REQUIRE(match == (byReference(name) || (gbk != name && byReference(gbk))));
    }
    return 0;
}
