#pragma once
// How the report and the picture show what the plug-in holds: its texts (GBK bytes), paths
// (GBK on a drive, the file system's bytes otherwise), numbers, and values as quoted strings so
// that every report line parses.

#include <string>

namespace velmarin::inspect {

// The GBK text as UTF-8.
std::string Shown(const std::string& gbk);

// A path as UTF-8: a Windows path is the system's GBK; a POSIX path is taken as UTF-8 when it
// reads as UTF-8 the system can spell, and as GBK otherwise. The result is valid UTF-8 whatever
// the bytes.
std::string ShownPath(const std::string& path);

// The GBK text as a quoted UTF-8 string: `"` and `\` are escaped with a backslash, and CR, LF
// and tab are written \r, \n and \t, so the value never ends or splits a line.
std::string Quoted(const std::string& gbk);

// The shortest decimal text that reads back as the same number ("12420.801456789", "5", "0.1").
std::string ShownNumber(double value);

}  // namespace velmarin::inspect
