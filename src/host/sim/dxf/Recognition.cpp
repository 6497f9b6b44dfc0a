// Telling a DXF file by its first pairs or by its name.

#include <string_view>

#include "host/sim/database/SymbolName.h"
#include "host/sim/dxf/File.h"
#include "host/sim/dxf/Pairs.h"

namespace velmarin::host::sim {

bool LooksLikeDxf(const std::string& bytes) {
    const std::size_t start = dxf::BodyStart(bytes);
    if (std::string_view(bytes).substr(start, dxf::kBinarySentinel.size()) ==
        dxf::kBinarySentinel) {
        return true;
    }
    dxf::PairScanner scanner(bytes, start);
    dxf::Pair pair;
    for (int k = 0; k < 64 && scanner.next(pair); ++k) {
        if (pair.code == 999) continue;
        const std::string_view value = dxf::Trimmed(pair.value);
        return pair.code == 0 && (value == "SECTION" || value == "EOF");
    }
    return false;
}

bool IsDxfPath(const std::string& path) {
    return path.size() >= 4 && FoldedName(path.substr(path.size() - 4)) == ".DXF";
}

}  // namespace velmarin::host::sim
