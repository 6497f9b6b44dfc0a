#pragma once
// What the emulator keeps of a DXF file it read: the file's bytes, cut into stretches that are
// given back as they were and places where the drawing's own objects stand; the handles the
// file gave them; and each object as it was read once it is opened for write, so that only an
// object that really changed is written anew.

#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "host/sim/database/SimDatabase.h"
#include "host/sim/dxf/Out.h"
#include "host/sim/dxf/Pairs.h"

namespace velmarin::host::sim::dxf {

struct Segment {
    enum class Kind {
        Raw,                 // bytes [begin, end) as read
        Entity,              // the database object `id`, read from [begin, end)
        NewEntities,         // where entities added to the block record `id` go
        NewEntitiesSection,  // an entities section for model space `id`, when the file had none
        NewLayers,           // where layers added to the drawing go: the end of the layer table
        HandSeed,            // the $HANDSEED pair [begin, end): the next free handle
        MissingHandSeed,     // the end of a header that has no $HANDSEED
        Eof,                 // the end-of-file marker the file lacked
    };
    Kind kind = Kind::Raw;
    std::size_t begin = 0;
    std::size_t end = 0;
    ObjectId id = kNullId;
    ObjectId record = kNullId;  // the block record of an entity
};

class DxfSource : public SourceFile {
  public:
    std::string bytes;
    DxfFormat format;
    std::vector<Segment> segments;
    // Every object read from the file, with the handle it had there ("" when it had none).
    std::unordered_map<ObjectId, std::string> handles;
    // The handle of the SEQEND after a block reference's attributes or a polyline's vertices.
    std::unordered_map<ObjectId, std::string> endHandles;
    // Handles given to objects added after reading, kept so that each save gives the same.
    std::unordered_map<ObjectId, std::string> assignedHandles;
    // The layers the database held once the file was read; the others are new.
    std::unordered_set<ObjectId> layersRead;
    std::vector<std::string> layerOrder;  // the layer table's names in file order (GBK)
    std::string layerTableHandle;
    // Block record handles by folded block name, the owners of new entities.
    std::unordered_map<std::string, std::string> blockRecordHandles;
    std::uint64_t nextHandle = 1;
    // nextHandle when the file was read: while it is unchanged, $HANDSEED stays as it was.
    std::uint64_t nextHandleAsRead = 1;

    void beforeWrite(ObjectId id, const DbObject& object) override;
    bool fromFile(ObjectId id) const { return handles.count(id) != 0; }
    // The entity as it was read, once it has been opened for write; null before.
    const Entity* original(ObjectId id) const;
    std::string newHandle() { return HandleText(nextHandle++); }

  private:
    std::unordered_map<ObjectId, std::unique_ptr<Entity>> originals_;
};

}  // namespace velmarin::host::sim::dxf
