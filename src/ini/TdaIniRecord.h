#pragma once
// One entry of an INI section: a key, never empty, and its value, possibly empty.

#include <string>

namespace velmarin {

struct TdaIniRecord {
    std::string recordKey;
    std::string recordValue;
};

}  // namespace velmarin
