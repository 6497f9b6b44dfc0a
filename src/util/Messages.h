#pragma once
// The one way the plug-in shows a message box.

#include <string>

#include "platform/Platform.h"

namespace velmarin::util {

// A message box with `text`, untitled and without an icon unless given.
void ShowMessage(const std::string& text, const std::string& title = "",
                 platform::MessageIcon icon = platform::MessageIcon::None);

}  // namespace velmarin::util
