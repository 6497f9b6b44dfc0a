#pragma once
// Paths of the machine's own file system: one the platform has resolved, or one given on a
// program's command line. They are asked about through the system's narrow functions (on Windows
// the ANSI ones, in the ANSI code page), never through std::filesystem, which on Windows would
// take GBK bytes for Latin letters. Each platform layer implements the system calls.

#include <cstddef>
#include <string>

namespace velmarin::platform {

// Windows' ANSI file functions take at most 259 characters and the terminating zero; a longer
// path reaches no file there (error 206).
inline constexpr std::size_t kMaxAnsiPath = 259;
// Whether `path` has more characters than that (a double-byte character counts once).
bool ExceedsAnsiPathLimit(const std::string& path);

enum class PathKind {
    Missing,  // nothing there, or nothing the system can reach
    Folder,
    File,
    ReadOnlyFile,  // a file that cannot be written
    TooLong,       // a path longer than the system's file functions take (Windows only)
};

PathKind KindOfPath(const std::string& nativePath);

// The absolute form of the path: on Windows the system's full path name (backslashes, "." and
// ".." resolved), elsewhere against the working folder, lexically normal. A path the system cannot
// make absolute is returned as it is.
std::string AbsolutePath(const std::string& nativePath);

// A path or a system text as a person reads it: from the narrow encoding of the system's
// functions (the ANSI code page on Windows, UTF-8 elsewhere) to UTF-8.
std::string NativeTextToUtf8(const std::string& native);
// A text of the command line in the system's GBK, as the plug-in and the emulator's host take
// paths: the ANSI code page already on Windows, converted from UTF-8 elsewhere.
std::string NativeTextToGbk(const std::string& native);

// The part of `path` before its last separator (\ or /, double-byte aware); "" when there is
// none, the separator itself for a path at the root ("/x" gives "/").
std::string FolderPart(const std::string& path);
// The part after the last separator; the whole path when there is none.
std::string FileNamePart(const std::string& path);
// `name` in the folder of `file`, joined with the separator `file` uses; `name` alone when `file`
// names no folder.
std::string BesideFile(const std::string& file, const std::string& name);

}  // namespace velmarin::platform
