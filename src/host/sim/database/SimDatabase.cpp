#include "host/sim/database/SimDatabase.h"

#include <algorithm>
#include <atomic>

#include "host/sim/database/SymbolName.h"

namespace velmarin::host::sim {
namespace {

// Ids are unique in the process, so an id of one drawing never opens an object of another.
ObjectId NextId() {
    static std::atomic<ObjectId> next{1};
    return next++;
}

// Block references nested deeper than this are taken as their position: it stops a definition
// that (through a later append) contains itself from recursing forever.
constexpr int kMaxBlockNesting = 32;

void Include(Extents& box, bool& empty, const Extents& part) {
    if (empty) {
        box = part;
        empty = false;
        return;
    }
    box.minPoint.x = std::min(box.minPoint.x, part.minPoint.x);
    box.minPoint.y = std::min(box.minPoint.y, part.minPoint.y);
    box.minPoint.z = std::min(box.minPoint.z, part.minPoint.z);
    box.maxPoint.x = std::max(box.maxPoint.x, part.maxPoint.x);
    box.maxPoint.y = std::max(box.maxPoint.y, part.maxPoint.y);
    box.maxPoint.z = std::max(box.maxPoint.z, part.maxPoint.z);
}

}  // namespace

std::vector<ObjectId> SimBlockTableRecord::entityIds() const {
    std::vector<ObjectId> ids;
    ids.reserve(entities_.size());
    for (ObjectId id : entities_) {
        const DbObject* object = db_.peek(id);
        if (object != nullptr && !object->isErased()) ids.push_back(id);
    }
    return ids;
}

ErrorStatus SimBlockTableRecord::appendEntity(Entity* entity, ObjectId& id) {
    if (entity == nullptr) return eNullObjectId;
    if (!isWriteEnabled()) return eNotOpenForWrite;
    // Only the emulator's own entities compute their geometry (SimHost::newText makes them).
    if (entity->isDatabaseResident() || SimSideOf(*entity) == nullptr) return eInvalidInput;
    id = db_.adopt(std::unique_ptr<DbObject>(entity), true);
    entities_.push_back(id);
    return eOk;
}

ErrorStatus SimBlockTable::getAt(const std::string& name, ObjectId& id) const {
    const ObjectId found = db_.findBlock(name);
    if (found == kNullId) return eKeyNotFound;
    id = found;
    return eOk;
}

bool SimLayerTable::has(const std::string& name) const {
    for (ObjectId id : records_) {
        const auto* record = db_.peekAs<LayerTableRecord>(id);
        if (record != nullptr && SameName(record->getName(), name)) return true;
    }
    return false;
}

ErrorStatus SimLayerTable::add(LayerTableRecord* record, ObjectId& id) {
    if (record == nullptr) return eNullObjectId;
    if (!isWriteEnabled()) return eNotOpenForWrite;
    if (record->isDatabaseResident() || record->getName().empty()) return eInvalidInput;
    if (has(record->getName())) return eDuplicateRecordName;
    id = db_.adopt(std::unique_ptr<DbObject>(record), true);
    records_.push_back(id);
    return eOk;
}

SimDatabase::SimDatabase() {
    blockTable_ = adopt(std::make_unique<SimBlockTable>(*this), false);
    layerTable_ = adopt(std::make_unique<SimLayerTable>(*this), false);
    modelSpace_ = ensureBlock(kModelSpace);
    ensureLayer("0");
}

SimDatabase::~SimDatabase() = default;

ErrorStatus SimDatabase::openObject(DbObject*& object, ObjectId id, OpenMode mode) {
    object = nullptr;
    if (id == kNullId) return eNullObjectId;
    const auto it = objects_.find(id);
    if (it == objects_.end()) return eKeyNotFound;
    Slot& slot = it->second;
    if (slot.object->isErased()) return eWasErased;
    if (slot.writer) return eWasOpenedForWrite;
    if (mode == OpenMode::ForWrite) {
        if (slot.readers > 0) return eWasOpenedForRead;
        if (source_) source_->beforeWrite(id, *slot.object);
        slot.writer = true;
        slot.object->setWriteEnabled(true);
    } else {
        ++slot.readers;
    }
    ++openCount_;
    object = slot.object.get();
    return eOk;
}

ErrorStatus SimDatabase::getBlockTable(BlockTable*& table, OpenMode mode) {
    DbObject* object = nullptr;
    const ErrorStatus status = openObject(object, blockTable_, mode);
    table = static_cast<BlockTable*>(object);
    return status;
}

ErrorStatus SimDatabase::getLayerTable(LayerTable*& table, OpenMode mode) {
    DbObject* object = nullptr;
    const ErrorStatus status = openObject(object, layerTable_, mode);
    table = static_cast<LayerTable*>(object);
    return status;
}

ErrorStatus SimDatabase::saveAs(const std::string& path) {
    return saveHandler_ ? saveHandler_(*this, path, false) : eNotApplicable;
}

ErrorStatus SimDatabase::saveAs2004(const std::string& path) {
    return saveHandler_ ? saveHandler_(*this, path, true) : eNotApplicable;
}

ErrorStatus SimDatabase::closeObject(DbObject* object) {
    if (object == nullptr) return eNullObjectId;
    const auto it = objects_.find(object->objectId());
    // Not ours, or a copy that claims the id of a resident object.
    if (it == objects_.end() || it->second.object.get() != object) return eInvalidInput;
    Slot& slot = it->second;
    if (slot.writer) {
        slot.writer = false;
        object->setWriteEnabled(false);
    } else if (slot.readers > 0) {
        --slot.readers;
    } else {
        return eNotApplicable;  // closed more often than opened
    }
    --openCount_;
    return eOk;
}

ErrorStatus SimDatabase::blockExtents(ObjectId blockId, const Point3& position, Extents& out) {
    out = {position, position};
    const auto* record = peekAs<SimBlockTableRecord>(blockId);
    if (record == nullptr) return eOk;
    // Each definition is measured once per question and depth: definitions that reference one
    // another several times over would otherwise take exponential time, and a drawing built
    // that way would hang the host. The result is the same as measuring every reference anew.
    std::optional<Extents> box;
    const std::pair<ObjectId, int> key{blockId, extentsDepth_};
    const auto known = blockBoxes_.find(key);
    if (known != blockBoxes_.end()) {
        box = known->second;
    } else if (extentsDepth_ < kMaxBlockNesting) {
        ++extentsDepth_;
        Extents measured;
        bool empty = true;
        for (ObjectId id : record->entityIds()) {
            const auto* entity = peekAs<Entity>(id);
            Extents part;
            if (entity != nullptr && entity->getGeomExtents(part) == eOk) {
                Include(measured, empty, part);
            }
        }
        --extentsDepth_;
        if (!empty) box = measured;
        blockBoxes_.emplace(key, box);
    }
    if (extentsDepth_ == 0) blockBoxes_.clear();  // the drawing may change before the next one
    if (!box) return eOk;
    const Point3 shift = {position.x - record->origin().x, position.y - record->origin().y,
                          position.z - record->origin().z};
    out.minPoint = {box->minPoint.x + shift.x, box->minPoint.y + shift.y,
                    box->minPoint.z + shift.z};
    out.maxPoint = {box->maxPoint.x + shift.x, box->maxPoint.y + shift.y,
                    box->maxPoint.z + shift.z};
    return eOk;
}

ObjectId SimDatabase::findBlock(const std::string& name) const {
    for (ObjectId id : blockTable().recordIds()) {
        const auto* record = peekAs<SimBlockTableRecord>(id);
        if (record != nullptr && SameName(record->getName(), name)) return id;
    }
    return kNullId;
}

ObjectId SimDatabase::ensureBlock(const std::string& name) {
    const ObjectId found = findBlock(name);
    if (found != kNullId) return found;
    const ObjectId id = adopt(std::make_unique<SimBlockTableRecord>(*this, name), false);
    blocks().records_.push_back(id);
    return id;
}

ObjectId SimDatabase::ensureLayer(const std::string& name) {
    for (ObjectId id : layerTable().recordIds()) {
        const auto* record = peekAs<LayerTableRecord>(id);
        if (record != nullptr && SameName(record->getName(), name)) return id;
    }
    auto record = std::make_unique<LayerTableRecord>();
    record->setName(name);
    const ObjectId id = adopt(std::move(record), false);
    layers().records_.push_back(id);
    return id;
}

ObjectId SimDatabase::addEntity(ObjectId recordId, std::unique_ptr<Entity> entity) {
    const auto it = objects_.find(recordId);
    auto* record = it == objects_.end()
                       ? nullptr
                       : dynamic_cast<SimBlockTableRecord*>(it->second.object.get());
    if (record == nullptr || entity == nullptr) return kNullId;
    const ObjectId id = adopt(std::move(entity), false);
    record->entities_.push_back(id);
    return id;
}

ObjectId SimDatabase::addObject(std::unique_ptr<DbObject> object) {
    return object == nullptr ? kNullId : adopt(std::move(object), false);
}

const DbObject* SimDatabase::peek(ObjectId id) const {
    const auto it = objects_.find(id);
    return it == objects_.end() ? nullptr : it->second.object.get();
}

const SimBlockTable& SimDatabase::blockTable() const {
    return static_cast<const SimBlockTable&>(*objects_.at(blockTable_).object);
}

const SimLayerTable& SimDatabase::layerTable() const {
    return static_cast<const SimLayerTable&>(*objects_.at(layerTable_).object);
}

SimBlockTable& SimDatabase::blocks() {
    return static_cast<SimBlockTable&>(*objects_.at(blockTable_).object);
}

SimLayerTable& SimDatabase::layers() {
    return static_cast<SimLayerTable&>(*objects_.at(layerTable_).object);
}

ObjectId SimDatabase::adopt(std::unique_ptr<DbObject> object, bool openForWrite) {
    const ObjectId id = NextId();
    object->attachTo(this, id);
    object->setWriteEnabled(openForWrite);
    Slot slot;
    slot.object = std::move(object);
    slot.writer = openForWrite;
    if (openForWrite) ++openCount_;
    objects_.emplace(id, std::move(slot));
    return id;
}

}  // namespace velmarin::host::sim
