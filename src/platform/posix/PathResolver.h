#pragma once
// Windows paths onto the Linux file system: a drive letter maps to a folder, '\' and '/' both
// separate, "." and ".." are folded away without leaving the drive, and each component is
// matched against the existing entries ignoring A-Z case (a GBK trail byte is never folded).
// A component that does not exist keeps its spelling, so new files get the name the caller
// wrote. Names are bytes: GBK names are stored as GBK.

#include <map>
#include <string>
#include <vector>

namespace velmarin::platform::posix {

class PathResolver {
  public:
    explicit PathResolver(const std::map<char, std::string>& drives);

    // The POSIX path, or "" for a path no file operation can reach (an unmapped drive, a
    // network path, an empty path).
    std::string resolve(const std::string& windowsPath) const;
    // The Windows spelling of a POSIX path: under a mapped folder "D:\...", elsewhere the path
    // with backslashes, which resolve() maps back to the same place.
    std::string toWindows(const std::string& posixPath) const;

    // The components of a Windows path after its drive (or root), split at '\' and '/' outside
    // double-byte characters, empty components dropped.
    static std::vector<std::string> Components(const std::string& path, std::size_t from);

  private:
    std::map<char, std::string> drives_;  // upper-case letter -> absolute folder, no trailing '/'
};

// '*' any run of characters, '?' one character (a double-byte character is one), A-Z folded;
// "*.*" matches every name, as on Windows.
bool WildcardMatch(const std::string& pattern, const std::string& name);

}  // namespace velmarin::platform::posix
