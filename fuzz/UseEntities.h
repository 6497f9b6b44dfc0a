#pragma once
// What a fuzz target does with every entity of a drawing it loaded: asks for its extents, grip
// points and parts, closing each part again, so that the sanitizers see every entity's geometry
// run and a leak of an open object shows up in the database's count.

#include <vector>

#include "FuzzCheck.h"
#include "host/Objects.h"
#include "host/sim/database/SimDatabase.h"

namespace velmarin::host::sim {

inline void UseEntities(SimDatabase& db, ObjectId recordId) {
    const auto* record = db.peekAs<SimBlockTableRecord>(recordId);
    FUZZ_REQUIRE(record != nullptr);
    for (ObjectId id : record->allEntityIds()) {
        const auto* entity = db.peekAs<Entity>(id);
        FUZZ_REQUIRE(entity != nullptr);
        Extents extents;
        (void)entity->getGeomExtents(extents);
        std::vector<Point3> grips;
        (void)entity->getGripPoints(grips);
        std::vector<Entity*> parts;
        if (entity->explode(parts) == eOk) {
            for (Entity* part : parts) {
                if (part == nullptr) continue;
                (void)part->getGeomExtents(extents);
                part->close();
            }
        }
    }
}

}  // namespace velmarin::host::sim
