#include "host/sim/dxf/Source.h"

#include "host/sim/database/SimEntities.h"

namespace velmarin::host::sim::dxf {

void DxfSource::beforeWrite(ObjectId id, const DbObject& object) {
    if (!fromFile(id) || originals_.count(id) != 0) return;
    if (const auto* entity = dynamic_cast<const Entity*>(&object)) {
        originals_.emplace(id, Clone(*entity));
    }
}

const Entity* DxfSource::original(ObjectId id) const {
    const auto it = originals_.find(id);
    return it == originals_.end() ? nullptr : it->second.get();
}

}  // namespace velmarin::host::sim::dxf
