#pragma once
// Symbol names (layers, blocks, commands) compare as the host compares them: ignoring the case
// of the single-byte letters, with GBK double-byte characters compared exactly, so that a trail
// byte that happens to be a letter is never folded.

#include <string>

namespace velmarin::host::sim {

// The name with single-byte a-z raised to A-Z; a key for maps of names.
std::string FoldedName(const std::string& name);
bool SameName(const std::string& a, const std::string& b);

}  // namespace velmarin::host::sim
