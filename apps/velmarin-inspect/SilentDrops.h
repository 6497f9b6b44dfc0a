#pragma once
// What the plug-in leaves out of a parts list or its detail file without a word, told from a
// parts-list reading in sentences for a CAD administrator.

#include <string>
#include <vector>

#include "Report.h"

namespace velmarin::inspect {

// One UTF-8 sentence per finding, in the order: the window, the title band, columns without a
// title.
std::vector<std::string> SilentDrops(const PartsListReading& reading);

}  // namespace velmarin::inspect
