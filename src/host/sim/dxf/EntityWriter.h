#pragma once
// Writing an entity of the emulator as DXF pairs, in the forms the file's version knows.

#include <functional>
#include <string>

#include "host/Objects.h"
#include "host/sim/database/SimEntities.h"
#include "host/sim/dxf/Out.h"

namespace velmarin::host::sim {
class SimDatabase;
}

namespace velmarin::host::sim::dxf {

// Where written pieces get their handles.
class HandleSource {
  public:
    virtual ~HandleSource() = default;
    // The handle of a database object (kNullId: a piece that is no object, such as a part).
    virtual std::string of(ObjectId id) = 0;
    // The handle of the SEQEND that ends an entity's attributes or vertices.
    virtual std::string endOf(ObjectId id) = 0;
    // A handle for a piece that has none of its own (a polyline vertex).
    virtual std::string fresh() = 0;
};

class EntityWriter {
  public:
    using LayerIndex = std::function<int(const std::string&)>;

    EntityWriter(DxfOut& out, const SimDatabase& db, HandleSource& handles, LayerIndex layerIndex)
        : out_(out), db_(db), handles_(handles), layerIndex_(std::move(layerIndex)) {}

    // Writes `entity`, the database object `id`, owned by the block record whose handle is
    // `owner`: a block reference with its attributes unless `withoutAttributes`. An entity of a
    // class no DXF form is written for (one the file kept as it was) writes nothing.
    void write(const Entity& entity, ObjectId id, const std::string& owner,
               bool withoutAttributes = false);

  private:
    bool markers() const { return out_.format().subclassMarkers(); }
    void marker(const char* name) {
        if (markers()) out_.raw(100, name);
    }
    void head(const char* type, const std::string& handle, const std::string& owner,
              const std::string& layer);
    void endOfSequence(const std::string& handle, const std::string& owner,
                       const std::string& layer);

    void text(const Text& text, const std::string& handle, const std::string& owner);
    void attribute(const Attribute& attribute, const std::string& handle, const std::string& owner);
    void mtext(const MText& mtext, const std::string& handle, const std::string& owner);
    void polyline(const Polyline& polyline, ObjectId id, const std::string& handle,
                  const std::string& owner);
    void reference(const BlockReference& reference, ObjectId id, const std::string& handle,
                   const std::string& owner, bool withoutAttributes);
    void proxy(const SimProxyEntity& proxy, const std::string& handle, const std::string& owner);

    DxfOut& out_;
    const SimDatabase& db_;
    HandleSource& handles_;
    LayerIndex layerIndex_;
};

}  // namespace velmarin::host::sim::dxf
