#include "bom/BomFileFormat.h"

#include "util/FixedTexts.h"

namespace velmarin::bom {

const std::array<int, kBomFileFields> kBomFieldSlots = {
    0,  -1, 1,  7,  3,  -1, 4,  -1, 5,  6,  2, 8,  10, 11, 12,
    13, 14, 15, 16, 17, -1, -1, -1, -1, -1, 9, -1, -1, -1,
};

std::string BomFileHeader() {
    return std::string(texts::kBomFileSignature) + texts::kBomFileCaptions + texts::kBomFileMarks;
}

void AppendBomLine(std::string& out, const std::array<const std::string*, kColumnKinds>& values) {
    out += '\'';
    for (int field = 0; field < kBomFileFields; ++field) {
        if (field > 0) out += "','";
        const int slot = kBomFieldSlots[static_cast<std::size_t>(field)];
        if (slot >= 0) out += *values[static_cast<std::size_t>(slot)];
    }
    out += "'\r\n";
}

}  // namespace velmarin::bom
