#pragma once
// Errors about a drawing file are one line even where they quote the file, whose texts and names
// may hold line breaks and other control characters: those are shown as escapes.

#include <string>

namespace velmarin::host::sim {

// `message` with CR, LF and tab as \r, \n and \t, and other control bytes as \xNN.
std::string OneLine(const std::string& message);

}  // namespace velmarin::host::sim
