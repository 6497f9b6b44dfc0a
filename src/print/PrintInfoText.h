#pragma once
// A print-information text: one single-line text in model space on its own layer, so that the
// stamped information can be told apart from the drawing and switched off as a whole.

#include <string>

#include "host/Host.h"

namespace velmarin::print {

// Adds the text to the working database's model space, creating the layer when it is missing.
void AddPrintInfoText(const std::string& text, const host::Point3& position, int height,
                      int fitLength, host::ObjectId textStyle, int widthMode);

}  // namespace velmarin::print
