// Reading a drawing file into a database: every field is checked against its expected form,
// and the first problem ends the reading with the place where it was found.

#include <functional>
#include <initializer_list>
#include <map>
#include <memory>
#include <set>

#include "host/sim/DrawingFile.h"
#include "host/sim/Json.h"
#include "host/sim/database/ErrorText.h"
#include "host/sim/database/SimDatabase.h"
#include "host/sim/database/SymbolName.h"
#include "platform/Encoding.h"

namespace velmarin::host::sim {
namespace {

using json::Kind;
using json::Value;

// An entity read from the file, with the attributes of a block reference, before it is placed.
struct ReadEntity {
    std::unique_ptr<Entity> entity;
    std::vector<std::unique_ptr<Attribute>> attributes;
};

class Reader {
  public:
    Reader(const std::string& label, SimDatabase& db, std::string& error)
        : label_(label), db_(db), error_(error) {}

    bool read(const Value& root) {
        if (!root.is(Kind::Object)) return fail(root, "a drawing file holds one object");
        if (!allowMembers(root, {"layers", "entities", "blocks"}, "the drawing")) return false;
        if (const Value* layers = root.find("layers")) {
            if (!expect(*layers, Kind::Array, "\"layers\"")) return false;
            for (const Value& layer : layers->items) {
                std::string name;
                if (!text(layer, "a layer name", name)) return false;
                if (name.empty()) return fail(layer, "a layer name is empty");
                db_.ensureLayer(name);
            }
        }
        if (const Value* blocks = root.find("blocks")) {
            if (!readBlocks(*blocks)) return false;
        }
        if (const Value* entities = root.find("entities")) {
            if (!placeAll(*entities, db_.modelSpaceId(), "\"entities\"")) return false;
        }
        return true;
    }

  private:
    bool fail(const Value& at, const std::string& message) {
        return failAt(at.line, at.column, message);
    }

    // A problem with the name of a member rather than with its value.
    bool failAtKey(const Value& member, const std::string& message) {
        return failAt(member.keyLine, member.keyColumn, message);
    }

    bool failAt(int line, int column, const std::string& message) {
        error_ =
            label_ + ":" + std::to_string(line) + ":" + std::to_string(column) + ": " + message;
        return false;
    }

    bool expect(const Value& value, Kind kind, const std::string& what) {
        if (value.is(kind)) return true;
        return fail(value, what + " must be " + json::KindName(kind) + ", not " +
                               json::KindName(value.kind));
    }

    // Unknown members are refused: a misspelt name would otherwise be dropped without a word.
    bool allowMembers(const Value& object, std::initializer_list<const char*> allowed,
                      const std::string& what) {
        for (const auto& member : object.members) {
            bool known = false;
            for (const char* name : allowed) known = known || member.first == name;
            if (!known)
                return failAtKey(member.second, what + " has no member \"" + member.first + "\"");
        }
        return true;
    }

    bool gbk(const Value& at, const std::string& utf8, std::string& out) {
        if (!platform::Utf8ToGbk(utf8, out)) return fail(at, "a text is not valid UTF-8");
        return true;
    }

    bool text(const Value& value, const std::string& what, std::string& out) {
        return expect(value, Kind::String, what) && gbk(value, value.string, out);
    }

    bool optionalText(const Value& object, const char* key, std::string& out) {
        const Value* value = object.find(key);
        return value == nullptr || text(*value, std::string("\"") + key + "\"", out);
    }

    bool optionalNumber(const Value& object, const char* key, double& out,
                        bool* present = nullptr) {
        const Value* value = object.find(key);
        if (present != nullptr) *present = value != nullptr;
        if (value == nullptr) return true;
        if (!expect(*value, Kind::Number, std::string("\"") + key + "\"")) return false;
        out = value->number;
        return true;
    }

    bool point(const Value& value, const std::string& what, Point3& out) {
        if (!value.is(Kind::Array) || value.items.size() < 2 || value.items.size() > 3) {
            return fail(value, what + " must be a point: a list of 2 or 3 numbers");
        }
        double coordinates[3] = {0.0, 0.0, 0.0};
        for (std::size_t i = 0; i < value.items.size(); ++i) {
            if (!expect(value.items[i], Kind::Number, "a coordinate")) return false;
            coordinates[i] = value.items[i].number;
        }
        out = {coordinates[0], coordinates[1], coordinates[2]};
        return true;
    }

    bool optionalPoint(const Value& object, const char* key, Point3& out) {
        const Value* value = object.find(key);
        return value == nullptr || point(*value, std::string("\"") + key + "\"", out);
    }

    // The members every entity may carry.
    bool common(const Value& object, Entity& entity) {
        std::string layer = "0";
        if (!optionalText(object, "layer", layer)) return false;
        if (layer.empty()) return fail(*object.find("layer"), "a layer name is empty");
        entity.setLayer(layer);
        db_.ensureLayer(layer);
        if (const Value* erased = object.find("erased")) {
            if (!expect(*erased, Kind::Bool, "\"erased\"")) return false;
            entity.setErased(erased->boolean);
        }
        if (const Value* extents = object.find("extents")) {
            Extents box;
            if (!extents->is(Kind::Array) || extents->items.size() != 2) {
                return fail(*extents, "\"extents\" must be a list of two points");
            }
            if (!point(extents->items[0], "the lower corner", box.minPoint) ||
                !point(extents->items[1], "the upper corner", box.maxPoint)) {
                return false;
            }
            SimSideOf(entity)->setExtentsOverride(box);
        }
        return true;
    }

    // The members of a single-line text and of the texts derived from it.
    bool textMembers(const Value& object, Text& text) {
        std::string string;
        Point3 position;
        double height = text.height();
        double widthFactor = 1.0;
        bool hasWidthFactor = false;
        if (!optionalText(object, "text", string) || !optionalPoint(object, "position", position) ||
            !optionalNumber(object, "height", height) ||
            !optionalNumber(object, "widthFactor", widthFactor, &hasWidthFactor)) {
            return false;
        }
        text.setTextString(string);
        text.setPosition(position);
        text.setHeight(height);
        if (hasWidthFactor) text.setWidthFactor(widthFactor);
        return true;
    }

    bool readText(const Value& object, ReadEntity& out) {
        if (!allowMembers(
                object,
                {"type", "layer", "erased", "extents", "text", "position", "height", "widthFactor"},
                "a text")) {
            return false;
        }
        auto text = std::make_unique<SimText>();
        if (!textMembers(object, *text)) return false;
        out.entity = std::move(text);
        return true;
    }

    bool readAttributeDefinition(const Value& object, ReadEntity& out) {
        if (!allowMembers(object,
                          {"type", "layer", "erased", "extents", "tag", "text", "position",
                           "height", "widthFactor"},
                          "an attribute definition")) {
            return false;
        }
        auto definition = std::make_unique<SimAttributeDefinition>();
        std::string tag;
        if (!optionalText(object, "tag", tag) || !textMembers(object, *definition)) return false;
        definition->setTag(tag);
        out.entity = std::move(definition);
        return true;
    }

    bool readMText(const Value& object, ReadEntity& out) {
        if (!allowMembers(object,
                          {"type", "layer", "erased", "extents", "contents", "position", "height"},
                          "a multiline text")) {
            return false;
        }
        auto mtext = std::make_unique<SimMText>();
        std::string contents;
        Point3 position;
        double height = mtext->textHeight();
        if (!optionalText(object, "contents", contents) ||
            !optionalPoint(object, "position", position) ||
            !optionalNumber(object, "height", height)) {
            return false;
        }
        mtext->setContents(contents);
        mtext->setLocation(position);
        mtext->setTextHeight(height);
        out.entity = std::move(mtext);
        return true;
    }

    bool readPolyline(const Value& object, ReadEntity& out) {
        if (!allowMembers(object, {"type", "layer", "erased", "extents", "points"}, "a polyline")) {
            return false;
        }
        std::vector<Point3> points;
        if (const Value* list = object.find("points")) {
            if (!expect(*list, Kind::Array, "\"points\"")) return false;
            for (const Value& item : list->items) {
                Point3 p;
                if (!point(item, "a polyline point", p)) return false;
                points.push_back(p);
            }
        }
        auto polyline = std::make_unique<SimPolyline>();
        polyline->setPoints(std::move(points));
        out.entity = std::move(polyline);
        return true;
    }

    bool readLine(const Value& object, ReadEntity& out) {
        if (!allowMembers(object, {"type", "layer", "erased", "extents", "start", "end"},
                          "a line")) {
            return false;
        }
        Point3 start;
        Point3 end;
        if (!optionalPoint(object, "start", start) || !optionalPoint(object, "end", end)) {
            return false;
        }
        auto line = std::make_unique<SimLine>();
        line->setPoints(start, end);
        out.entity = std::move(line);
        return true;
    }

    bool readBlockReference(const Value& object, bool inParts, ReadEntity& out) {
        if (!allowMembers(object,
                          {"type", "layer", "erased", "extents", "block", "position", "attributes"},
                          "a block reference")) {
            return false;
        }
        const Value* block = object.find("block");
        if (block == nullptr) return fail(object, "a block reference needs \"block\"");
        std::string name;
        if (!text(*block, "\"block\"", name)) return false;
        if (name.empty()) return fail(*block, "a block name is empty");
        if (SameName(name, kModelSpace)) return fail(*block, "model space cannot be referenced");
        auto reference = std::make_unique<SimBlockReference>();
        Point3 position;
        if (!optionalPoint(object, "position", position)) return false;
        reference->setPosition(position);
        reference->setBlockTableRecord(db_.ensureBlock(name));
        if (const Value* attributes = object.find("attributes")) {
            if (!expect(*attributes, Kind::Array, "\"attributes\"")) return false;
            // The parts of a proxy are no database objects, so they cannot own attributes.
            if (inParts && !attributes->items.empty()) {
                return fail(*attributes, "a block reference inside a proxy cannot have attributes");
            }
            for (const Value& item : attributes->items) {
                if (!readAttribute(item, position, out.attributes)) return false;
            }
        }
        out.entity = std::move(reference);
        return true;
    }

    bool readAttribute(const Value& object, const Point3& position,
                       std::vector<std::unique_ptr<Attribute>>& out) {
        if (!expect(object, Kind::Object, "an attribute")) return false;
        if (!allowMembers(
                object,
                {"tag", "text", "position", "height", "widthFactor", "layer", "erased", "extents"},
                "an attribute")) {
            return false;
        }
        auto attribute = std::make_unique<SimAttribute>();
        std::string tag;
        if (!optionalText(object, "tag", tag) || !textMembers(object, *attribute)) return false;
        // Without a position of its own an attribute sits at its block reference.
        if (object.find("position") == nullptr) attribute->setPosition(position);
        attribute->setTag(tag);
        if (!common(object, *attribute)) return false;
        out.push_back(std::move(attribute));
        return true;
    }

    bool readProxy(const Value& object, ReadEntity& out) {
        if (!allowMembers(object, {"type", "layer", "erased", "extents", "className", "parts"},
                          "a proxy")) {
            return false;
        }
        std::string className = "AcDbZombieEntity";
        if (!optionalText(object, "className", className)) return false;
        auto proxy = std::make_unique<SimProxyEntity>(className);
        if (const Value* parts = object.find("parts")) {
            if (!expect(*parts, Kind::Array, "\"parts\"")) return false;
            for (const Value& item : parts->items) {
                ReadEntity part;
                if (!entity(item, true, part)) return false;
                proxy->addPart(std::move(part.entity));
            }
        }
        out.entity = std::move(proxy);
        return true;
    }

    bool entity(const Value& object, bool inParts, ReadEntity& out) {
        if (!expect(object, Kind::Object, "an entity")) return false;
        const Value* type = object.find("type");
        if (type == nullptr) return fail(object, "an entity needs \"type\"");
        if (!expect(*type, Kind::String, "\"type\"")) return false;
        const std::string& kind = type->string;
        bool ok = false;
        if (kind == "text") {
            ok = readText(object, out);
        } else if (kind == "attdef") {
            ok = readAttributeDefinition(object, out);
        } else if (kind == "mtext") {
            ok = readMText(object, out);
        } else if (kind == "polyline") {
            ok = readPolyline(object, out);
        } else if (kind == "line") {
            ok = readLine(object, out);
        } else if (kind == "blockref") {
            ok = readBlockReference(object, inParts, out);
        } else if (kind == "proxy") {
            ok = readProxy(object, out);
        } else {
            return fail(*type, "unknown entity type \"" + kind +
                                   "\" (known: text, mtext, polyline, line, blockref, proxy, "
                                   "attdef)");
        }
        return ok && common(object, *out.entity);
    }

    // Reads a list of entities and makes them resident at the end of `recordId`.
    bool placeAll(const Value& list, ObjectId recordId, const std::string& what) {
        if (!expect(list, Kind::Array, what)) return false;
        for (const Value& item : list.items) {
            ReadEntity read;
            if (!entity(item, false, read)) return false;
            auto* reference = dynamic_cast<SimBlockReference*>(read.entity.get());
            db_.addEntity(recordId, std::move(read.entity));
            if (reference == nullptr) continue;
            std::vector<ObjectId> attributeIds;
            for (auto& attribute : read.attributes) {
                attributeIds.push_back(db_.addObject(std::move(attribute)));
            }
            reference->setAttributeIds(std::move(attributeIds));
        }
        return true;
    }

    bool readBlocks(const Value& blocks) {
        if (!expect(blocks, Kind::Object, "\"blocks\"")) return false;
        std::vector<ObjectId> records;
        std::set<std::string> seen;
        for (const auto& [utf8Name, list] : blocks.members) {
            std::string name;
            if (!platform::Utf8ToGbk(utf8Name, name))
                return failAtKey(list, "a text is not valid UTF-8");
            if (name.empty()) return failAtKey(list, "a block name is empty");
            if (SameName(name, kModelSpace))
                return failAtKey(list, "model space is no block definition");
            if (!seen.insert(FoldedName(name)).second) {
                return failAtKey(list, "the block \"" + utf8Name + "\" is defined twice");
            }
            const ObjectId id = db_.ensureBlock(name);
            const_cast<SimBlockTableRecord*>(db_.peekAs<SimBlockTableRecord>(id))
                ->setDeclared(true);
            records.push_back(id);
        }
        std::size_t index = 0;
        for (const auto& [utf8Name, list] : blocks.members) {
            if (!placeAll(list, records[index++], "the block \"" + utf8Name + "\"")) return false;
        }
        return checkNoCycles(blocks);
    }

    // A definition that contains itself, directly or through others, has no extents and no end.
    bool checkNoCycles(const Value& blocks) {
        struct Edge {
            std::string target;
            const Value* at;
        };
        std::map<std::string, std::vector<Edge>> edges;
        for (const auto& [utf8Name, list] : blocks.members) {
            std::string name;
            gbk(list, utf8Name, name);
            auto& out = edges[FoldedName(name)];
            for (const Value& item : list.items) {
                const Value* type = item.find("type");
                const Value* block = item.find("block");
                if (type == nullptr || type->string != "blockref" || block == nullptr) continue;
                std::string target;
                gbk(*block, block->string, target);
                out.push_back({FoldedName(target), block});
            }
        }
        std::map<std::string, int> state;  // 1 while being visited, 2 when done
        std::function<bool(const std::string&)> visit = [&](const std::string& name) {
            state[name] = 1;
            for (const Edge& edge : edges[name]) {
                if (state[edge.target] == 1) {
                    return fail(*edge.at, "the block \"" + edge.at->string + "\" contains itself");
                }
                if (state[edge.target] == 0 && edges.count(edge.target) != 0 &&
                    !visit(edge.target)) {
                    return false;
                }
            }
            state[name] = 2;
            return true;
        };
        for (const auto& entry : edges) {
            if (state[entry.first] == 0 && !visit(entry.first)) return false;
        }
        return true;
    }

    const std::string& label_;
    SimDatabase& db_;
    std::string& error_;
};

}  // namespace

bool ReadDrawing(const std::string& bytes, const std::string& label, SimDatabase& db,
                 std::string& error) {
    json::Value root;
    json::ParseError parseError;
    if (!json::Parse(bytes, root, parseError)) {
        error = OneLine(label + ":" + std::to_string(parseError.line) + ":" +
                        std::to_string(parseError.column) + ": " + parseError.message);
        return false;
    }
    Reader reader(label, db, error);
    if (reader.read(root)) return true;
    error = OneLine(error);
    return false;
}

}  // namespace velmarin::host::sim
