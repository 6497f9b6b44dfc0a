#pragma once
// One entry of an INI section: a key, never empty, and its value, possibly empty.

#include <string>

namespace velmarin {

struct IniEntry {
    std::string key;
    std::string value;
};

}  // namespace velmarin
