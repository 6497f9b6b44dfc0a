#pragma once
// Writing the BOM detail file.

#include <string>
#include <vector>

#include "bom/BomTypes.h"

namespace velmarin::bom {

// Replaces the file at `path` with the header and one line per row of `rows` after the first,
// which holds the titles and is not written. The new file replaces the old one only once it is
// complete; a file that cannot be created or written is reported to the user naming it, and the
// old file stays. True when the file was replaced.
bool WriteDetailFile(const std::string& path, const std::vector<BomInfo>& rows);

// Each drawing's rows (title row first) to the detail file its rows name; a list with no row
// after its titles writes nothing and leaves that drawing's file as it is. True when every file
// was replaced.
bool WriteDetailFiles(const std::vector<std::vector<BomInfo>>& partsLists);

}  // namespace velmarin::bom
