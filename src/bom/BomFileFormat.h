#pragma once
// The lines of the BOM detail file: the three header lines and one line per BOM row, each of
// 29 apostrophe-quoted fields joined by "','" and ended by CR LF. Values are written byte for
// byte, with no quoting of apostrophes inside them.

#include <array>
#include <string>

#include "bom/BomTypes.h"

namespace velmarin::bom {

inline constexpr int kBomFileFields = 29;

// The column slot each field takes its value from; -1 for the fields that stay empty.
extern const std::array<int, kBomFileFields> kBomFieldSlots;

// The signature line, the caption line and the marker line.
std::string BomFileHeader();

// Appends the line of one row; `values` holds the value of each slot 0..17.
void AppendBomLine(std::string& out, const std::array<const std::string*, kColumnKinds>& values);

}  // namespace velmarin::bom
