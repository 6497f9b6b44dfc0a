#include "print/FrameCorner.h"

#include <algorithm>
#include <cmath>

#include "util/FixedTexts.h"

namespace velmarin::print {
namespace {

bool IsFinite(const host::Point3& p) {
    return std::isfinite(p.x) && std::isfinite(p.y) && std::isfinite(p.z);
}

}  // namespace

bool FindFrameCorner(host::Point3& corner, std::vector<host::ObjectId>* sources) {
    host::Database* db = host::current().workingDatabase();
    host::BlockTable* rawBlockTable = nullptr;
    if (db == nullptr || db->getBlockTable(rawBlockTable, host::OpenMode::ForRead) != host::eOk ||
        rawBlockTable == nullptr) {
        host::current().printf(texts::kBlockTableReadFailed);
        return false;
    }
    host::Opened<host::BlockTable> blockTable(rawBlockTable);

    // The layer table is only probed: a database whose layers cannot be read is not trusted
    // to say where its frame is.
    {
        host::LayerTable* rawLayerTable = nullptr;
        if (db->getLayerTable(rawLayerTable, host::OpenMode::ForRead) != host::eOk ||
            rawLayerTable == nullptr) {
            return false;
        }
        host::Opened<host::LayerTable> layerTable(rawLayerTable);
    }

    host::ObjectId modelSpaceId = host::kNullId;
    if (blockTable->getAt(host::kModelSpace, modelSpaceId) != host::eOk) return false;
    host::Opened<host::BlockTableRecord> modelSpace(
        host::openAs<host::BlockTableRecord>(*db, modelSpaceId, host::OpenMode::ForRead));
    if (!modelSpace) return false;

    bool first = true;
    for (host::ObjectId id : modelSpace->entityIds()) {
        host::Opened<host::Entity> entity(
            host::openAs<host::Entity>(*db, id, host::OpenMode::ForRead));
        if (!entity || entity->layer() != texts::kFrameLayer) continue;
        host::Extents extents;
        // An entity without extents (an empty polyline) marks no place on the sheet.
        if (entity->getGeomExtents(extents) != host::eOk || !IsFinite(extents.minPoint) ||
            !IsFinite(extents.maxPoint)) {
            continue;
        }
        if (sources != nullptr) sources->push_back(id);
        if (first) {
            corner = {extents.maxPoint.x, extents.minPoint.y, 0.0};
            first = false;
        } else {
            corner.x = std::max(corner.x, extents.maxPoint.x);
            corner.y = std::min(corner.y, extents.minPoint.y);
        }
    }
    return true;
}

}  // namespace velmarin::print
