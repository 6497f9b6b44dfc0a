// Writing a database as DXF. A drawing read from a DXF file is given back stretch by stretch
// as it was read; an entity that changed since is written anew in its place (keeping its
// handle), entities and layers added since go at the end of their block or table with new
// handles, and $HANDSEED names the next free handle. Any other drawing is written as a new
// file of the 2000 format.

#include <functional>
#include <unordered_map>
#include <unordered_set>

#include "host/sim/database/SimDatabase.h"
#include "host/sim/database/SymbolName.h"
#include "host/sim/dxf/EntityWriter.h"
#include "host/sim/dxf/File.h"
#include "host/sim/dxf/Source.h"

namespace velmarin::host::sim {
namespace dxf {
namespace {

// Handles of a file the emulator read: its own, and new ones above all of them.
class SourceHandles : public HandleSource {
  public:
    explicit SourceHandles(DxfSource& source) : source_(source) {}
    std::string of(ObjectId id) override {
        if (id == kNullId) return fresh();
        const auto it = source_.handles.find(id);
        if (it != source_.handles.end() && !it->second.empty()) return it->second;
        std::string& assigned = source_.assignedHandles[id];
        if (assigned.empty()) assigned = source_.newHandle();
        return assigned;
    }
    std::string endOf(ObjectId id) override {
        if (id == kNullId) return fresh();
        std::string& handle = source_.endHandles[id];
        if (handle.empty()) handle = source_.newHandle();
        return handle;
    }
    std::string fresh() override { return source_.newHandle(); }

  private:
    DxfSource& source_;
};

// Handles of a new file: numbered from 1 in the order they are asked for.
class CountingHandles : public HandleSource {
  public:
    std::string of(ObjectId id) override {
        if (id == kNullId) return fresh();
        std::string& handle = given_[id];
        if (handle.empty()) handle = fresh();
        return handle;
    }
    std::string endOf(ObjectId) override { return fresh(); }
    std::string fresh() override { return HandleText(next_++); }
    std::uint64_t next() const { return next_; }

  private:
    std::unordered_map<ObjectId, std::string> given_;
    std::uint64_t next_ = 1;
};

// For telling whether an entity changed: every handle alike.
class SameHandles : public HandleSource {
  public:
    std::string of(ObjectId) override { return "0"; }
    std::string endOf(ObjectId) override { return "0"; }
    std::string fresh() override { return "0"; }
};

// The layer table as written, for the layer primitives of proxy graphics.
class LayerIndex {
  public:
    void add(const std::string& name) { index_.emplace(FoldedName(name), count_++); }
    int operator()(const std::string& name) const {
        const auto it = index_.find(FoldedName(name));
        return it == index_.end() ? -1 : it->second;
    }

  private:
    std::unordered_map<std::string, int> index_;
    int count_ = 0;
};

void WriteLayer(DxfOut& out, const LayerTableRecord& layer, const std::string& handle,
                const std::string& owner) {
    out.raw(0, "LAYER");
    out.handle(5, handle);
    if (out.format().subclassMarkers()) {
        out.handle(330, owner);
        out.raw(100, "AcDbSymbolTableRecord");
        out.raw(100, "AcDbLayerTableRecord");
    }
    out.text(2, layer.getName());
    out.integer(70,
                (layer.isFrozen() ? 1 : 0) | (layer.VPDFLT() ? 2 : 0) | (layer.isLocked() ? 4 : 0));
    out.integer(62, layer.isOff() ? -7 : 7);
    out.raw(6, "Continuous");
}

// The $HANDSEED pair, put in its place once every new handle is known.
std::string HandSeedPair(const DxfFormat& format, std::uint64_t next, bool withName) {
    std::string text;
    DxfOut out(text, format);
    if (withName) out.raw(9, "$HANDSEED");
    out.raw(5, HandleText(next));
    return text;
}

class SourcedWriter {
  public:
    SourcedWriter(const SimDatabase& db, DxfSource& source)
        : db_(db), source_(source), out_(text_, source.format), handles_(source) {
        for (const std::string& name : source_.layerOrder) layers_.add(name);
        for (ObjectId id : db_.layerTable().recordIds()) {
            const auto* layer = db_.peekAs<LayerTableRecord>(id);
            if (layer != nullptr && source_.layersRead.count(id) == 0)
                layers_.add(layer->getName());
        }
    }

    std::string write() {
        text_.reserve(source_.bytes.size() + 4096);
        std::size_t seedAt = std::string::npos;
        const Segment* seed = nullptr;
        bool seedNamed = false;
        for (const Segment& segment : source_.segments) {
            switch (segment.kind) {
                case Segment::Kind::Raw:
                    text_.append(source_.bytes, segment.begin, segment.end - segment.begin);
                    break;
                case Segment::Kind::Entity:
                    entity(segment);
                    break;
                case Segment::Kind::NewEntities:
                    newEntities(segment.id);
                    break;
                case Segment::Kind::NewEntitiesSection:
                    newEntitiesSection(segment.id);
                    break;
                case Segment::Kind::NewLayers:
                    newLayers();
                    break;
                case Segment::Kind::HandSeed:
                    seedAt = text_.size();
                    seed = &segment;
                    break;
                case Segment::Kind::MissingHandSeed:
                    if (source_.format.handles) {
                        seedAt = text_.size();
                        seedNamed = true;
                    }
                    break;
                case Segment::Kind::Eof:
                    out_.endLine();  // after a last line that had no line end
                    out_.raw(0, "EOF");
                    break;
            }
        }
        // A drawing that needed no new handle keeps its $HANDSEED as it was, even a wrong one.
        if (source_.nextHandle != source_.nextHandleAsRead && seedAt != std::string::npos) {
            text_.insert(seedAt, HandSeedPair(source_.format, source_.nextHandle, seedNamed));
        } else if (seed != nullptr) {
            text_.insert(seedAt, source_.bytes, seed->begin, seed->end - seed->begin);
        }
        return std::move(text_);
    }

  private:
    std::string pairsOf(const Entity& entity, ObjectId id) const {
        std::string text;
        DxfOut out(text, source_.format);
        SameHandles same;
        EntityWriter(out, db_, same, std::cref(layers_)).write(entity, id, "", true);
        return text;
    }

    // Whether an entity differs from what the file said of it (only an entity opened for
    // write since can).
    bool changed(ObjectId id, const Entity& entity) const {
        const Entity* original = source_.original(id);
        if (original != nullptr && pairsOf(*original, id) != pairsOf(entity, id)) return true;
        const auto* reference = dynamic_cast<const BlockReference*>(&entity);
        if (reference == nullptr) return false;
        const auto* before = dynamic_cast<const BlockReference*>(original);
        if (before != nullptr && before->attributeIds() != reference->attributeIds()) return true;
        for (ObjectId attributeId : reference->attributeIds()) {
            const auto* attribute = db_.peekAs<Attribute>(attributeId);
            if (attribute == nullptr || attribute->isErased()) return true;
            const Entity* read = source_.original(attributeId);
            if (read != nullptr &&
                pairsOf(*read, attributeId) != pairsOf(*attribute, attributeId)) {
                return true;
            }
        }
        return false;
    }

    std::string ownerHandle(ObjectId record) const {
        const auto* block = db_.peekAs<SimBlockTableRecord>(record);
        if (block == nullptr) return {};
        const auto it = source_.blockRecordHandles.find(FoldedName(block->getName()));
        return it == source_.blockRecordHandles.end() ? std::string() : it->second;
    }

    void entity(const Segment& segment) {
        const auto* entity = db_.peekAs<Entity>(segment.id);
        if (entity == nullptr || entity->isErased()) return;
        if (!changed(segment.id, *entity)) {
            text_.append(source_.bytes, segment.begin, segment.end - segment.begin);
            return;
        }
        EntityWriter(out_, db_, handles_, std::cref(layers_))
            .write(*entity, segment.id, ownerHandle(segment.record));
    }

    // New entities go to the first place the file has for their record, and only there.
    void newEntities(ObjectId recordId) {
        const auto* record = db_.peekAs<SimBlockTableRecord>(recordId);
        if (record == nullptr || !recordsWritten_.insert(recordId).second) return;
        const std::string owner = ownerHandle(recordId);
        for (ObjectId id : record->allEntityIds()) {
            const auto* entity = db_.peekAs<Entity>(id);
            if (source_.fromFile(id) || entity == nullptr || entity->isErased()) continue;
            EntityWriter(out_, db_, handles_, std::cref(layers_)).write(*entity, id, owner);
        }
    }

    void newEntitiesSection(ObjectId modelSpace) {
        const std::size_t before = text_.size();
        out_.endLine();
        out_.raw(0, "SECTION");
        out_.raw(2, "ENTITIES");
        const std::size_t head = text_.size();
        newEntities(modelSpace);
        if (text_.size() == head) {
            text_.resize(before);  // nothing new: the file stays as it was
            return;
        }
        out_.raw(0, "ENDSEC");
    }

    void newLayers() {
        if (layersWritten_) return;
        layersWritten_ = true;
        for (ObjectId id : db_.layerTable().recordIds()) {
            const auto* layer = db_.peekAs<LayerTableRecord>(id);
            if (layer == nullptr || source_.layersRead.count(id) != 0) continue;
            WriteLayer(out_, *layer, handles_.of(id), source_.layerTableHandle);
        }
    }

    const SimDatabase& db_;
    DxfSource& source_;
    std::string text_;
    DxfOut out_;
    SourceHandles handles_;
    LayerIndex layers_;
    std::unordered_set<ObjectId> recordsWritten_;
    bool layersWritten_ = false;
};

// A new file: the header, the tables every reader expects, the blocks, model space, and the
// root dictionary.
class FreshWriter {
  public:
    explicit FreshWriter(const SimDatabase& db) : db_(db), out_(text_, format_) {
        for (ObjectId id : db_.layerTable().recordIds()) {
            if (const auto* layer = db_.peekAs<LayerTableRecord>(id)) layers_.add(layer->getName());
        }
        for (ObjectId id : db_.blockTable().recordIds()) {
            const auto* record = db_.peekAs<SimBlockTableRecord>(id);
            if (record == nullptr || id == db_.modelSpaceId()) continue;
            // The active layout's record is written as the paper-space block, with its entities.
            if (FoldedName(record->getName()) == "*PAPER_SPACE") {
                paperSpace_ = id;
                continue;
            }
            if (record->declared() || !record->allEntityIds().empty()) blocks_.push_back(record);
        }
    }

    std::string write() {
        section("HEADER");
        variable("$ACADVER", 1, format_.version);
        variable("$DWGCODEPAGE", 3, format_.codec.codePageName());
        const std::size_t seedAt = text_.size();
        out_.raw(0, "ENDSEC");
        section("CLASSES");
        out_.raw(0, "ENDSEC");
        tables();
        blocks();
        section("ENTITIES");
        entities(db_.modelSpaceId(), modelSpaceHandle_);
        out_.raw(0, "ENDSEC");
        objects();
        out_.raw(0, "EOF");
        text_.insert(seedAt, HandSeedPair(format_, handles_.next(), true));
        return std::move(text_);
    }

  private:
    void section(const char* name) {
        out_.raw(0, "SECTION");
        out_.raw(2, name);
    }

    void variable(const char* name, int code, const std::string& value) {
        out_.raw(9, name);
        out_.raw(code, value);
    }

    // A table's head; its entries follow, then ENDTAB.
    std::string table(const char* name, int entries) {
        const std::string handle = handles_.fresh();
        out_.raw(0, "TABLE");
        out_.raw(2, name);
        out_.raw(5, handle);
        out_.raw(330, "0");
        out_.raw(100, "AcDbSymbolTable");
        out_.integer(70, entries);
        return handle;
    }

    void entry(const char* type, const std::string& table, const char* subclass,
               const std::string& name, int handleCode = 5) {
        out_.raw(0, type);
        out_.raw(handleCode, handles_.fresh());
        out_.raw(330, table);
        out_.raw(100, "AcDbSymbolTableRecord");
        out_.raw(100, subclass);
        out_.text(2, name);
        out_.integer(70, 0);
    }

    void tables() {
        section("TABLES");
        table("VPORT", 0);
        out_.raw(0, "ENDTAB");

        std::string owner = table("LTYPE", 3);
        for (const char* name : {"ByBlock", "ByLayer", "Continuous"}) {
            entry("LTYPE", owner, "AcDbLinetypeTableRecord", name);
            out_.raw(3, std::string(name) == "Continuous" ? "Solid line" : "");
            out_.integer(72, 65);
            out_.integer(73, 0);
            out_.number(40, 0.0);
        }
        out_.raw(0, "ENDTAB");

        const auto& layerIds = db_.layerTable().recordIds();
        owner = table("LAYER", static_cast<int>(layerIds.size()));
        for (ObjectId id : layerIds) {
            if (const auto* layer = db_.peekAs<LayerTableRecord>(id)) {
                WriteLayer(out_, *layer, handles_.of(id), owner);
            }
        }
        out_.raw(0, "ENDTAB");

        owner = table("STYLE", 1);
        entry("STYLE", owner, "AcDbTextStyleTableRecord", "Standard");
        out_.number(40, 0.0);
        out_.number(41, 1.0);
        out_.number(50, 0.0);
        out_.integer(71, 0);
        out_.number(42, 2.5);
        out_.raw(3, "txt");
        out_.raw(4, "");
        out_.raw(0, "ENDTAB");

        for (const char* name : {"VIEW", "UCS"}) {
            table(name, 0);
            out_.raw(0, "ENDTAB");
        }

        owner = table("APPID", 1);
        entry("APPID", owner, "AcDbRegAppTableRecord", "ACAD");
        out_.raw(0, "ENDTAB");

        owner = table("DIMSTYLE", 1);
        out_.raw(100, "AcDbDimStyleTable");
        entry("DIMSTYLE", owner, "AcDbDimStyleTableRecord", "Standard", 105);
        out_.raw(0, "ENDTAB");

        owner = table("BLOCK_RECORD", static_cast<int>(blocks_.size() + 2));
        modelSpaceHandle_ = blockRecord(owner, "*Model_Space");
        paperSpaceHandle_ = blockRecord(owner, "*Paper_Space");
        for (const SimBlockTableRecord* block : blocks_) {
            blockHandles_.push_back(blockRecord(owner, block->getName()));
        }
        out_.raw(0, "ENDTAB");
        out_.raw(0, "ENDSEC");
    }

    std::string blockRecord(const std::string& table, const std::string& name) {
        const std::string handle = handles_.fresh();
        out_.raw(0, "BLOCK_RECORD");
        out_.raw(5, handle);
        out_.raw(330, table);
        out_.raw(100, "AcDbSymbolTableRecord");
        out_.raw(100, "AcDbBlockTableRecord");
        out_.text(2, name);
        return handle;
    }

    void blocks() {
        section("BLOCKS");
        block("*Model_Space", Point3{}, modelSpaceHandle_, false, kNullId);
        block("*Paper_Space", Point3{}, paperSpaceHandle_, true, paperSpace_);
        for (std::size_t k = 0; k < blocks_.size(); ++k) {
            block(blocks_[k]->getName(), blocks_[k]->origin(), blockHandles_[k], false,
                  blocks_[k]->objectId());
        }
        out_.raw(0, "ENDSEC");
    }

    void block(const std::string& name, const Point3& origin, const std::string& owner,
               bool paperSpace, ObjectId record) {
        out_.raw(0, "BLOCK");
        out_.raw(5, handles_.fresh());
        out_.raw(330, owner);
        out_.raw(100, "AcDbEntity");
        if (paperSpace) out_.integer(67, 1);
        out_.raw(8, "0");
        out_.raw(100, "AcDbBlockBegin");
        out_.text(2, name);
        out_.integer(70, 0);
        out_.point(10, origin);
        out_.text(3, name);
        out_.raw(1, "");
        if (record != kNullId) entities(record, owner);
        out_.raw(0, "ENDBLK");
        out_.raw(5, handles_.fresh());
        out_.raw(330, owner);
        out_.raw(100, "AcDbEntity");
        if (paperSpace) out_.integer(67, 1);
        out_.raw(8, "0");
        out_.raw(100, "AcDbBlockEnd");
    }

    void entities(ObjectId recordId, const std::string& owner) {
        const auto* record = db_.peekAs<SimBlockTableRecord>(recordId);
        if (record == nullptr) return;
        for (ObjectId id : record->allEntityIds()) {
            const auto* entity = db_.peekAs<Entity>(id);
            if (entity == nullptr || entity->isErased()) continue;
            EntityWriter(out_, db_, handles_, std::cref(layers_)).write(*entity, id, owner);
        }
    }

    void objects() {
        section("OBJECTS");
        const std::string root = handles_.fresh();
        const std::string groups = handles_.fresh();
        out_.raw(0, "DICTIONARY");
        out_.raw(5, root);
        out_.raw(330, "0");
        out_.raw(100, "AcDbDictionary");
        out_.integer(281, 1);
        out_.raw(3, "ACAD_GROUP");
        out_.raw(350, groups);
        out_.raw(0, "DICTIONARY");
        out_.raw(5, groups);
        out_.raw(330, root);
        out_.raw(100, "AcDbDictionary");
        out_.integer(281, 1);
        out_.raw(0, "ENDSEC");
    }

    const SimDatabase& db_;
    DxfFormat format_;
    std::string text_;
    DxfOut out_;
    CountingHandles handles_;
    LayerIndex layers_;
    std::vector<const SimBlockTableRecord*> blocks_;
    std::vector<std::string> blockHandles_;
    std::string modelSpaceHandle_;
    std::string paperSpaceHandle_;
    ObjectId paperSpace_ = kNullId;
};

}  // namespace
}  // namespace dxf

std::string WriteDxf(const SimDatabase& db) {
    if (auto* source = dynamic_cast<dxf::DxfSource*>(db.sourceFile())) {
        return dxf::SourcedWriter(db, *source).write();
    }
    return dxf::FreshWriter(db).write();
}

}  // namespace velmarin::host::sim
