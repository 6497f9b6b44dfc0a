#include "bom/BomWorkspace.h"

namespace velmarin {

int SelectTableWindow(host::SelectionSet& selection) {
    const host::Point3 lowerLeft{-kBomWindowHalfSide, -kBomWindowHalfSide, 0.0};
    const host::Point3 upperRight{kBomWindowHalfSide, kBomWindowHalfSide, 0.0};
    return host::current().ssget("W", &lowerLeft, &upperRight, selection);
}

void BomWorkspace::ClearRows() {
    rows_.clear();
    drawingStarts_.clear();
}

void BomWorkspace::BeginDrawing() { drawingStarts_.push_back(static_cast<int>(rows_.size())); }

}  // namespace velmarin
