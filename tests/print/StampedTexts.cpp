#include "StampedTexts.h"

#include "util/FixedTexts.h"

namespace velmarin::testing {

std::vector<Stamped> StampedTexts() {
    std::vector<Stamped> found;
    host::Database* db = host::current().workingDatabase();
    host::BlockTable* raw = nullptr;
    if (db == nullptr || db->getBlockTable(raw, host::OpenMode::ForRead) != host::eOk) {
        return found;
    }
    host::Opened<host::BlockTable> table(raw);
    host::ObjectId spaceId = host::kNullId;
    table->getAt(host::kModelSpace, spaceId);
    host::Opened<host::BlockTableRecord> space(
        host::openAs<host::BlockTableRecord>(*db, spaceId, host::OpenMode::ForRead));
    if (!space) return found;
    for (host::ObjectId id : space->entityIds()) {
        host::Opened<host::Text> text(host::openAs<host::Text>(*db, id, host::OpenMode::ForRead));
        if (text && text->layer() == texts::kPrintInfoLayer) {
            found.push_back({text->textString(), text->position(), text->height(),
                             text->widthFactor(), text->textStyle()});
        }
    }
    return found;
}

bool HasLayer(const std::string& name) {
    host::Database* db = host::current().workingDatabase();
    host::LayerTable* raw = nullptr;
    if (db == nullptr || db->getLayerTable(raw, host::OpenMode::ForRead) != host::eOk) {
        return false;
    }
    host::Opened<host::LayerTable> layers(raw);
    return layers->has(name);
}

}  // namespace velmarin::testing
