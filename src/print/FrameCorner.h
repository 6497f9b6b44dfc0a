#pragma once
// The frame corner: the lower-right corner of the bounding box of everything drawn on the frame
// layer of model space, the reference point of every print-information text.

#include <vector>

#include "host/Host.h"

namespace velmarin::print {

// False when the working database's tables cannot be read (the block table failure is printed on
// the command line). With no frame entity the corner keeps its value. `sources`, when given,
// receives the entities the corner came from.
bool FindFrameCorner(host::Point3& corner, std::vector<host::ObjectId>* sources = nullptr);

}  // namespace velmarin::print
