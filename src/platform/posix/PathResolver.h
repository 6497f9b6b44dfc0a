#pragma once
// Windows paths onto the Linux file system: a drive letter maps to a folder, '\' and '/' both
// separate, "." and ".." are folded away without leaving the drive, and each component is
// matched against the existing entries ignoring A-Z case (a GBK trail byte is never folded).
// An existing entry is found whether its name is spelled in GBK (as this system writes names)
// or in UTF-8 (as Linux users and their tools write them), and keeps its spelling.
// A component that does not exist keeps the caller's spelling: new files and folders get GBK
// names, the bytes the Windows ANSI functions would store on a Chinese system, so that what the
// system writes is found by the same bytes on every platform and the file names in its own
// files (tree file, BOM detail file) match the names on disk byte for byte.
// Matching ignoring case reads a folder only the first time and when it changed behind the
// resolver's back: the platform reports its own creations and removals (FolderIndex.h).

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/posix/FolderIndex.h"

namespace velmarin::platform::posix {

class PathResolver {
  public:
    explicit PathResolver(const std::map<char, std::string>& drives);

    // The POSIX path, or "" for a path no file operation can reach (an unmapped drive, a
    // network path, an empty path).
    std::string resolve(const std::string& windowsPath) const;
    // The path as spelled, without looking at the file system: what resolve() gives whenever
    // something exists there ("" where resolve() gives "").
    std::string literal(const std::string& windowsPath) const;
    // The Windows spelling of a POSIX path: under a mapped folder "D:\...", elsewhere the path
    // with backslashes, which resolve() maps back to the same place.
    std::string toWindows(const std::string& posixPath) const;

    // The components of a Windows path after its drive (or root), split at '\' and '/' outside
    // double-byte characters, empty components dropped.
    static std::vector<std::string> Components(const std::string& path, std::size_t from);

    // The platform created (or renamed to) the POSIX path `posixPath`, or removed it.
    void created(const std::string& posixPath) const;
    void removed(const std::string& posixPath) const;
    std::size_t folderReads() const { return index_.folderReads(); }

  private:
    struct Spelled {
        std::string root;  // the drive's folder, or "" for the root of the file system
        std::vector<std::string> parts;
    };
    // The path's components after its root, "." and ".." folded away.
    std::optional<Spelled> spell(const std::string& windowsPath) const;

    std::map<char, std::string> drives_;  // upper-case letter -> absolute folder, no trailing '/'
    mutable FolderIndex index_;           // a cache: lookups stay const
};

// '*' any run of characters, '?' one character (a double-byte character is one), A-Z folded;
// "*.*" matches every name, as on Windows. A name in UTF-8 also matches by its GBK spelling.
bool WildcardMatch(const std::string& pattern, const std::string& name);

}  // namespace velmarin::platform::posix
