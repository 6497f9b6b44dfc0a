#pragma once
#include <string>

namespace velmarin::platform {

// The full file name of the library or program that holds `address` (implemented by each
// platform layer).
std::string ModulePathOf(const void* address);

}  // namespace velmarin::platform
