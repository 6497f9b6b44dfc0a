#pragma once
// The emulator's drawing database: an object table of resident objects handed out through
// open/close with the host's discipline, a block table with model space and the block
// definitions, and a layer table. The drawing-file reader builds one; the writer reads one.

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "host/Host.h"
#include "host/sim/database/SimEntities.h"

namespace velmarin::host::sim {

class SimDatabase;

class SimBlockTableRecord : public BlockTableRecord {
  public:
    SimBlockTableRecord(SimDatabase& db, std::string name) : db_(db), name_(std::move(name)) {}
    std::string className() const override { return "AcDbBlockTableRecord"; }
    std::string getName() const override { return name_; }
    std::vector<ObjectId> entityIds() const override;
    ErrorStatus appendEntity(Entity* entity, ObjectId& id) override;

    // Every entity in storage order, erased ones included.
    const std::vector<ObjectId>& allEntityIds() const { return entities_; }
    // A definition written in the drawing file; a record made only because a block reference
    // names it is not declared, and is not written back while it stays empty.
    bool declared() const { return declared_; }
    void setDeclared(bool declared) { declared_ = declared; }
    // The base point: a reference places this point of the definition at its position.
    const Point3& origin() const { return origin_; }
    void setOrigin(const Point3& origin) { origin_ = origin; }

  private:
    friend class SimDatabase;
    SimDatabase& db_;
    std::string name_;
    std::vector<ObjectId> entities_;
    bool declared_ = false;
    Point3 origin_;
};

class SimBlockTable : public BlockTable {
  public:
    explicit SimBlockTable(SimDatabase& db) : db_(db) {}
    ErrorStatus getAt(const std::string& name, ObjectId& id) const override;  // ignoring case
    const std::vector<ObjectId>& recordIds() const { return records_; }

  private:
    friend class SimDatabase;
    SimDatabase& db_;
    std::vector<ObjectId> records_;
};

class SimLayerTable : public LayerTable {
  public:
    explicit SimLayerTable(SimDatabase& db) : db_(db) {}
    bool has(const std::string& name) const override;  // ignoring case
    ErrorStatus add(LayerTableRecord* record, ObjectId& id) override;
    const std::vector<ObjectId>& recordIds() const { return records_; }

  private:
    friend class SimDatabase;
    SimDatabase& db_;
    std::vector<ObjectId> records_;
};

// What a file format keeps of the file a database was read from beyond its objects, so that
// writing the drawing back gives everything back that the emulator does not model.
class SourceFile {
  public:
    virtual ~SourceFile() = default;
    // `object` is about to be opened for write: the last moment it is seen as it was read.
    virtual void beforeWrite(ObjectId id, const DbObject& object) = 0;
};

class SimDatabase : public Database, public ObjectOwner {
  public:
    // Writes the database to a path; installed by the host that owns the document.
    using SaveHandler =
        std::function<ErrorStatus(SimDatabase&, const std::string& path, bool as2004)>;

    // A new database holds model space and the layer "0".
    SimDatabase();
    ~SimDatabase() override;
    SimDatabase(const SimDatabase&) = delete;
    SimDatabase& operator=(const SimDatabase&) = delete;

    // --- Database
    ErrorStatus openObject(DbObject*& object, ObjectId id, OpenMode mode) override;
    ErrorStatus getBlockTable(BlockTable*& table, OpenMode mode) override;
    ErrorStatus getLayerTable(LayerTable*& table, OpenMode mode) override;
    ErrorStatus saveAs(const std::string& path) override;
    ErrorStatus saveAs2004(const std::string& path) override;

    // --- ObjectOwner
    ErrorStatus closeObject(DbObject* object) override;

    // The extents of a block definition's entities placed at `position`.
    ErrorStatus blockExtents(ObjectId blockId, const Point3& position, Extents& out);

    // --- Building a drawing; nothing is left open
    ObjectId modelSpaceId() const { return modelSpace_; }
    // The block table record of that name (ignoring case), kNullId when there is none.
    ObjectId findBlock(const std::string& name) const;
    ObjectId ensureBlock(const std::string& name);
    ObjectId ensureLayer(const std::string& name);
    // Makes `entity` resident at the end of the record `recordId`.
    ObjectId addEntity(ObjectId recordId, std::unique_ptr<Entity> entity);
    // A resident object outside every record (the attributes of a block reference).
    ObjectId addObject(std::unique_ptr<DbObject> object);

    // --- Reading without opening (the file writer, selection)
    const DbObject* peek(ObjectId id) const;
    template <typename T>
    const T* peekAs(ObjectId id) const {
        return dynamic_cast<const T*>(peek(id));
    }
    const SimBlockTable& blockTable() const;
    const SimLayerTable& layerTable() const;

    // Room for this many objects, for a reader that knows roughly how many will come.
    void reserveObjects(std::size_t count) { objects_.reserve(count); }

    // Opens not closed yet.
    int openObjectCount() const { return openCount_; }
    void setSaveHandler(SaveHandler handler) { saveHandler_ = std::move(handler); }
    // The file the drawing came from, when its format keeps one (DXF).
    SourceFile* sourceFile() const { return source_.get(); }
    void setSourceFile(std::unique_ptr<SourceFile> source) { source_ = std::move(source); }

  private:
    friend class SimBlockTableRecord;
    friend class SimLayerTable;

    struct Slot {
        std::unique_ptr<DbObject> object;
        int readers = 0;
        bool writer = false;
    };

    ObjectId adopt(std::unique_ptr<DbObject> object, bool openForWrite);
    SimBlockTable& blocks();
    SimLayerTable& layers();

    std::unordered_map<ObjectId, Slot> objects_;
    ObjectId blockTable_ = kNullId;
    ObjectId layerTable_ = kNullId;
    ObjectId modelSpace_ = kNullId;
    int openCount_ = 0;
    int extentsDepth_ = 0;
    // The box of each definition measured during one extents question, by the nesting depth it
    // was measured at (nothing for a definition without extents).
    std::map<std::pair<ObjectId, int>, std::optional<Extents>> blockBoxes_;
    SaveHandler saveHandler_;
    std::unique_ptr<SourceFile> source_;
};

}  // namespace velmarin::host::sim
