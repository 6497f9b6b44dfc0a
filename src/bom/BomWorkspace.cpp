#include "bom/BomWorkspace.h"

namespace velmarin {

void BomWorkspace::ClearRows() {
    rows_.clear();
    drawingStarts_.clear();
}

void BomWorkspace::BeginDrawing() { drawingStarts_.push_back(static_cast<int>(rows_.size())); }

}  // namespace velmarin
