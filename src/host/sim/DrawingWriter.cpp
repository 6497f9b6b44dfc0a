// Writing a database as a drawing file: one entity per line, everything the reader accepts, so
// that reading the file again gives the same drawing.

#include "host/sim/DrawingFile.h"
#include "host/sim/Json.h"
#include "host/sim/database/SimDatabase.h"
#include "host/sim/database/SimEntities.h"
#include "platform/Encoding.h"

namespace velmarin::host::sim {
namespace {

class DrawingWriter {
  public:
    explicit DrawingWriter(const SimDatabase& db) : db_(db), w_(out_) {}

    std::string write() {
        out_ += "{\n  ";
        w_.key("layers");
        out_ += '[';
        bool first = true;
        for (ObjectId id : db_.layerTable().recordIds()) {
            const auto* layer = db_.peekAs<LayerTableRecord>(id);
            if (layer == nullptr) continue;
            if (!first) out_ += ", ";
            first = false;
            text(layer->getName());
        }
        out_ += "],\n  ";
        w_.key("entities");
        entityList(db_.modelSpaceId(), "  ");
        std::vector<const SimBlockTableRecord*> blocks;
        for (ObjectId id : db_.blockTable().recordIds()) {
            const auto* record = db_.peekAs<SimBlockTableRecord>(id);
            if (record == nullptr || id == db_.modelSpaceId()) continue;
            if (record->declared() || !record->allEntityIds().empty()) blocks.push_back(record);
        }
        if (!blocks.empty()) {
            out_ += ",\n  ";
            w_.key("blocks");
            out_ += "{\n";
            for (std::size_t i = 0; i < blocks.size(); ++i) {
                out_ += "    ";
                text(blocks[i]->getName());
                out_ += ": ";
                entityList(blocks[i]->objectId(), "    ");
                out_ += i + 1 < blocks.size() ? ",\n" : "\n";
            }
            out_ += "  }";
        }
        out_ += "\n}\n";
        return std::move(out_);
    }

  private:
    void text(const std::string& gbk) { w_.string(platform::GbkToUtf8(gbk)); }

    void point(const Point3& p) {
        out_ += '[';
        w_.number(p.x);
        out_ += ", ";
        w_.number(p.y);
        out_ += ", ";
        w_.number(p.z);
        out_ += ']';
    }

    void member(const char* name) {
        out_ += ", ";
        w_.key(name);
    }

    void entityList(ObjectId recordId, const char* indent) {
        const auto* record = db_.peekAs<SimBlockTableRecord>(recordId);
        std::vector<const Entity*> entities;
        for (ObjectId id : record->allEntityIds()) {
            const auto* entity = db_.peekAs<Entity>(id);
            if (entity != nullptr) entities.push_back(entity);
        }
        if (entities.empty()) {
            out_ += "[]";
            return;
        }
        out_ += "[\n";
        for (std::size_t i = 0; i < entities.size(); ++i) {
            out_ += indent;
            out_ += "  ";
            entity(*entities[i]);
            out_ += i + 1 < entities.size() ? ",\n" : "\n";
        }
        out_ += indent;
        out_ += ']';
    }

    void textMembers(const Text& t) {
        member("text");
        text(t.textString());
        member("position");
        point(t.position());
        member("height");
        w_.number(t.height());
        if (t.widthFactor()) {
            member("widthFactor");
            w_.number(*t.widthFactor());
        }
    }

    // The layer, erased flag and extents, written only when they differ from the defaults.
    void common(const Entity& e) {
        if (e.layer() != "0") {
            member("layer");
            text(e.layer());
        }
        if (e.isErased()) {
            member("erased");
            out_ += "true";
        }
        const SimEntity* sim = SimSideOf(e);
        if (const auto* box =
                sim != nullptr && sim->extentsOverride() ? &*sim->extentsOverride() : nullptr) {
            member("extents");
            out_ += '[';
            point(box->minPoint);
            out_ += ", ";
            point(box->maxPoint);
            out_ += ']';
        }
    }

    void type(const char* name) {
        out_ += '{';
        w_.key("type");
        w_.string(name);
    }

    void entity(const Entity& e) {
        if (const auto* definition = dynamic_cast<const AttributeDefinition*>(&e)) {
            type("attdef");
            member("tag");
            text(definition->tag());
            textMembers(*definition);
        } else if (const auto* t = dynamic_cast<const Text*>(&e)) {
            type("text");  // an attribute outside a block reference is kept as a text
            textMembers(*t);
        } else if (const auto* mtext = dynamic_cast<const MText*>(&e)) {
            type("mtext");
            member("contents");
            text(mtext->contents());
            member("position");
            point(mtext->location());
            member("height");
            w_.number(mtext->textHeight());
        } else if (const auto* polyline = dynamic_cast<const Polyline*>(&e)) {
            type("polyline");
            member("points");
            out_ += '[';
            for (std::size_t i = 0; i < polyline->points().size(); ++i) {
                if (i > 0) out_ += ", ";
                point(polyline->points()[i]);
            }
            out_ += ']';
        } else if (const auto* line = dynamic_cast<const Line*>(&e)) {
            type("line");
            member("start");
            point(line->startPoint());
            member("end");
            point(line->endPoint());
        } else if (const auto* reference = dynamic_cast<const BlockReference*>(&e)) {
            blockReference(*reference);
        } else if (const auto* proxy = dynamic_cast<const SimProxyEntity*>(&e)) {
            type("proxy");
            member("className");
            text(proxy->className());
            member("parts");
            out_ += '[';
            for (std::size_t i = 0; i < proxy->parts().size(); ++i) {
                if (i > 0) out_ += ", ";
                entity(*proxy->parts()[i]);
            }
            out_ += ']';
        } else {
            // A class the file format does not know keeps its place as an empty proxy.
            type("proxy");
            member("className");
            text(e.className());
        }
        common(e);
        out_ += '}';
    }

    void blockReference(const BlockReference& reference) {
        type("blockref");
        member("block");
        const auto* record = db_.peekAs<SimBlockTableRecord>(reference.blockTableRecord());
        // A reference to no record at all still needs a name the reader accepts.
        text(record != nullptr ? record->getName() : std::string("*U"));
        member("position");
        point(reference.position());
        std::vector<const Attribute*> attributes;
        for (ObjectId id : reference.attributeIds()) {
            if (const auto* attribute = db_.peekAs<Attribute>(id)) attributes.push_back(attribute);
        }
        if (attributes.empty()) return;
        member("attributes");
        out_ += '[';
        for (std::size_t i = 0; i < attributes.size(); ++i) {
            if (i > 0) out_ += ", ";
            out_ += '{';
            w_.key("tag");
            text(attributes[i]->tag());
            textMembers(*attributes[i]);
            common(*attributes[i]);
            out_ += '}';
        }
        out_ += ']';
    }

    const SimDatabase& db_;
    std::string out_;
    json::Writer w_;
};

}  // namespace

std::string WriteDrawing(const SimDatabase& db) { return DrawingWriter(db).write(); }

}  // namespace velmarin::host::sim
