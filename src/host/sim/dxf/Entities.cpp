#include "host/sim/dxf/Entities.h"

#include <algorithm>
#include <cmath>

#include "host/sim/database/SimDatabase.h"
#include "host/sim/dxf/Ocs.h"

namespace velmarin::host::sim {

ErrorStatus DxfOtherEntity::getGeomExtents(Extents& out) const {
    if (extentsOverride()) {
        out = *extentsOverride();
        return eOk;
    }
    if (!box_) return eInvalidInput;
    out = *box_;
    return eOk;
}

ErrorStatus DxfBlockReference::computeExtents(Extents& out) const {
    const Point3& at = position();
    auto* db = dynamic_cast<SimDatabase*>(owner());
    if (db == nullptr) {
        out = {at, at};
        return eOk;
    }
    // The definition's box around its base point, then scaled, repeated, rotated and moved.
    Extents local;
    const ErrorStatus status = db->blockExtents(blockTableRecord(), Point3{}, local);
    if (status != eOk) return status;
    const double angle = rotationDegrees * 3.14159265358979323846 / 180.0;
    const double c = std::cos(angle);
    const double s = std::sin(angle);
    const dxf::ObjectCoordinates plane(normal);
    const int lastColumn = std::max(columns, 1) - 1;
    const int lastRow = std::max(rows, 1) - 1;
    bool first = true;
    for (const double x : {local.minPoint.x, local.maxPoint.x}) {
        for (const double y : {local.minPoint.y, local.maxPoint.y}) {
            for (const int column : {0, lastColumn}) {
                for (const int row : {0, lastRow}) {
                    const double u = x * scale.x + column * columnSpacing;
                    const double v = y * scale.y + row * rowSpacing;
                    const Point3 offset = plane.toWorld({u * c - v * s, u * s + v * c, 0.0});
                    const Point3 p{at.x + offset.x, at.y + offset.y, 0.0};
                    if (first) {
                        out.minPoint = out.maxPoint = p;
                        first = false;
                    }
                    out.minPoint.x = std::min(out.minPoint.x, p.x);
                    out.minPoint.y = std::min(out.minPoint.y, p.y);
                    out.maxPoint.x = std::max(out.maxPoint.x, p.x);
                    out.maxPoint.y = std::max(out.maxPoint.y, p.y);
                }
            }
        }
    }
    const double z1 = at.z + plane.normal().z * local.minPoint.z * scale.z;
    const double z2 = at.z + plane.normal().z * local.maxPoint.z * scale.z;
    out.minPoint.z = std::min(z1, z2);
    out.maxPoint.z = std::max(z1, z2);
    return eOk;
}

}  // namespace velmarin::host::sim
