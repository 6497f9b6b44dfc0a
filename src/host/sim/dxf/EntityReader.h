#pragma once
// Turning the pairs of one DXF entity (with the attributes or vertices that follow it) into an
// entity of the emulator.

#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "host/Objects.h"
#include "host/sim/database/ErrorText.h"
#include "host/sim/dxf/Pairs.h"
#include "host/sim/dxf/Text.h"

namespace velmarin::host::sim {
class SimDatabase;
}

namespace velmarin::host::sim::dxf {

// Where a problem is reported: "label:line: message".
struct Problems {
    const std::string& label;
    std::string& error;
    bool at(int line, const std::string& message) {
        error = label + ":" + std::to_string(line) + ": " + OneLine(message);
        return false;
    }
};

struct ReadEntity {
    std::unique_ptr<Entity> entity;
    std::vector<std::unique_ptr<Attribute>> attributes;  // of a block reference, in order
    std::vector<std::string> attributeHandles;
    std::string handle;
    std::string endHandle;  // of the SEQEND after attributes or vertices
    bool paperSpace = false;
};

class EntityReader {
  public:
    EntityReader(SimDatabase& db, Problems& problems, const std::vector<std::string>& layers)
        : db_(db), problems_(problems), layers_(layers) {}

    void setCodec(const TextCodec& codec, bool format2010) {
        codec_ = codec;
        format2010_ = format2010;
    }
    const TextCodec& codec() const { return codec_; }

    // `pairs`: the entity's own pairs, its type first; `followers`: the ATTRIB or VERTEX
    // entities after it; `end`: its SEQEND (empty when there is none). False on a value that
    // cannot be read (a text where a number belongs, hex data that is none).
    bool read(const std::vector<Pair>& pairs, const std::vector<std::vector<Pair>>& followers,
              const std::vector<Pair>& end, ReadEntity& out);

    // A name (layer, block) in GBK.
    std::string name(std::string_view stored) const { return codec_.toGbk(stored); }

  private:
    bool number(const Pair& pair, const char* type, double& out);
    bool integer(const Pair& pair, const char* type, std::int64_t& out);
    bool point(const Pair& pair, const char* type, int base, Point3& p);
    // The layer named by a stored layer value, created in the database on first sight.
    const std::string& layer(std::string_view stored);
    void common(const std::vector<Pair>& pairs, Entity& entity, std::string* handle,
                bool* paperSpace);

    bool text(const std::vector<Pair>& pairs, const char* type, Text& text, std::string* tag);
    bool mtext(const std::vector<Pair>& pairs, ReadEntity& out);
    bool line(const std::vector<Pair>& pairs, ReadEntity& out);
    bool lwPolyline(const std::vector<Pair>& pairs, ReadEntity& out);
    bool polyline(const std::vector<Pair>& pairs, const std::vector<std::vector<Pair>>& vertices,
                  ReadEntity& out);
    bool insert(const std::vector<Pair>& pairs, const std::vector<std::vector<Pair>>& attributes,
                ReadEntity& out);
    bool proxy(const std::vector<Pair>& pairs, ReadEntity& out);
    void other(const std::vector<Pair>& pairs, const std::string& type, ReadEntity& out);

    SimDatabase& db_;
    Problems& problems_;
    const std::vector<std::string>& layers_;
    TextCodec codec_;
    bool format2010_ = false;
    std::unordered_map<std::string, std::string> layerNames_;  // stored value -> GBK name
};

}  // namespace velmarin::host::sim::dxf
