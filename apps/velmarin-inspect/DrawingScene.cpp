#include "DrawingScene.h"

#include <algorithm>
#include <cmath>
#include <map>

#include "Shown.h"
#include "host/sim/database/SimEntities.h"
#include "platform/DoubleByte.h"

namespace velmarin::inspect {
namespace {

constexpr int kDeepestNesting = 16;
constexpr int kMostLayouts = 64;
constexpr const char kPaperSpace[] = "*Paper_Space";

Point At(const host::Point3& p, const Point& offset) { return {p.x + offset.x, p.y + offset.y}; }

Box BoxOf(const host::Extents& e) {
    Box box;
    box.add(Point{e.minPoint.x, e.minPoint.y});
    box.add(Point{e.maxPoint.x, e.maxPoint.y});
    return box;
}

bool SameSize(const Box& a, const Box& b) {
    const double tolerance = 1e-6 * std::max({1.0, a.max.x - a.min.x, a.max.y - a.min.y});
    return std::fabs((a.max.x - a.min.x) - (b.max.x - b.min.x)) <= tolerance &&
           std::fabs((a.max.y - a.min.y) - (b.max.y - b.min.y)) <= tolerance;
}

std::string BlockName(host::Database& db, host::ObjectId record) {
    host::Opened<host::BlockTableRecord> definition(
        host::openAs<host::BlockTableRecord>(db, record, host::OpenMode::ForRead));
    return definition ? definition->getName() : std::string();
}

class Walker {
  public:
    Walker(host::Database& db, Scene& scene) : db_(db), scene_(scene) {}

    void space(const host::BlockTableRecord& record, bool modelSpace, const std::string& name) {
        for (const host::ObjectId id : record.entityIds()) {
            host::Opened<host::Entity> entity(
                host::openAs<host::Entity>(db_, id, host::OpenMode::ForRead));
            if (!entity) continue;
            if (auto* reference = dynamic_cast<const host::BlockReference*>(entity.get())) {
                BlockReferenceFact fact = facts(*reference);
                if (modelSpace) {
                    scene_.modelSpaceReferences.push_back(std::move(fact));
                } else {
                    scene_.layoutReferences.emplace_back(name, std::move(fact));
                }
            }
            if (!modelSpace) continue;
            ++scene_.entityCount;
            if (dynamic_cast<const host::ProxyEntity*>(entity.get()) != nullptr) {
                scene_.modelSpaceProxies.push_back(entity->className());
            }
            host::Extents extents;
            if (entity->getGeomExtents(extents) == host::eOk) scene_.extents.add(BoxOf(extents));
            draw(*entity, Point{}, 0);
        }
    }

    void finish() {
        if (transformedReferences_ > 0) {
            scene_.notes.push_back(std::to_string(transformedReferences_) +
                                   " block reference(s) drawn once at their definition's size: "
                                   "the host does not tell their scale, rotation or repetition");
        }
        for (const auto& [className, count] : boxedClasses_) {
            scene_.notes.push_back(std::to_string(count) + " " + Shown(className) +
                                   " drawn as a dashed outline: the host gives its box only");
        }
    }

  private:
    BlockReferenceFact facts(const host::BlockReference& reference) {
        BlockReferenceFact fact;
        fact.blockName = BlockName(db_, reference.blockTableRecord());
        fact.position = At(reference.position(), Point{});
        for (const host::ObjectId id : reference.attributeIds()) {
            host::Opened<host::Attribute> attribute(
                host::openAs<host::Attribute>(db_, id, host::OpenMode::ForRead));
            if (attribute && !attribute->isErased()) {
                fact.attributes.emplace_back(attribute->tag(), attribute->textString());
            }
        }
        return fact;
    }

    void draw(const host::Entity& entity, const Point& offset, int depth) {
        if (entity.isErased()) return;
        SceneItem item;
        item.layer = entity.layer();
        if (auto* line = dynamic_cast<const host::Line*>(&entity)) {
            item.points = {At(line->startPoint(), offset), At(line->endPoint(), offset)};
        } else if (auto* polyline = dynamic_cast<const host::Polyline*>(&entity)) {
            for (const host::Point3& p : polyline->points()) item.points.push_back(At(p, offset));
        } else if (dynamic_cast<const host::AttributeDefinition*>(&entity) != nullptr) {
            return;  // a reference shows its attributes instead
        } else if (auto* text = dynamic_cast<const host::Text*>(&entity)) {
            item.kind = SceneItem::Kind::Text;
            item.lines = {Shown(text->textString())};
            item.position = At(text->position(), offset);
            item.height = text->height();
            item.widthFactor = text->widthFactor().value_or(1.0);
        } else if (auto* mtext = dynamic_cast<const host::MText*>(&entity)) {
            item.kind = SceneItem::Kind::Text;
            for (const std::string& plain : PlainMTextLines(mtext->contents())) {
                item.lines.push_back(Shown(plain));
            }
            item.position = At(mtext->location(), offset);
            item.height = mtext->textHeight();
        } else if (auto* reference = dynamic_cast<const host::BlockReference*>(&entity)) {
            expand(*reference, offset, depth);
            return;
        } else if (auto* proxy = dynamic_cast<const host::sim::SimProxyEntity*>(&entity)) {
            for (const auto& part : proxy->parts()) draw(*part, offset, depth + 1);
            return;
        } else if (!outline(entity, offset, item)) {
            return;
        }
        scene_.items.push_back(std::move(item));
    }

    // An entity the seam gives no geometry for: a circle fills its box; anything else (an arc
    // among them) is its dashed box.
    bool outline(const host::Entity& entity, const Point& offset, SceneItem& item) {
        host::Extents extents;
        if (entity.getGeomExtents(extents) != host::eOk) return false;
        const Box box = BoxOf(extents);
        const double width = box.max.x - box.min.x;
        const double height = box.max.y - box.min.y;
        if (entity.className() == "AcDbCircle" && std::fabs(width - height) <= 1e-9 * width) {
            item.kind = SceneItem::Kind::Circle;
            item.center = {(box.min.x + box.max.x) / 2 + offset.x,
                           (box.min.y + box.max.y) / 2 + offset.y};
            item.radius = width / 2;
            return true;
        }
        ++boxedClasses_[entity.className()];
        item.dashed = true;
        item.points = {{box.min.x + offset.x, box.min.y + offset.y},
                       {box.max.x + offset.x, box.min.y + offset.y},
                       {box.max.x + offset.x, box.max.y + offset.y},
                       {box.min.x + offset.x, box.max.y + offset.y},
                       {box.min.x + offset.x, box.min.y + offset.y}};
        return true;
    }

    // The definition's entities where the reference places them. The seam tells a reference's
    // position but not the definition's base point, so the shift is the one that carries the
    // definition's box onto the reference's box.
    void expand(const host::BlockReference& reference, const Point& offset, int depth) {
        if (depth < kDeepestNesting) {
            host::Opened<host::BlockTableRecord> definition(host::openAs<host::BlockTableRecord>(
                db_, reference.blockTableRecord(), host::OpenMode::ForRead));
            if (definition) {
                std::vector<host::Opened<host::Entity>> entities;
                Box definitionBox;
                for (const host::ObjectId id : definition->entityIds()) {
                    host::Opened<host::Entity> entity(
                        host::openAs<host::Entity>(db_, id, host::OpenMode::ForRead));
                    if (!entity) continue;
                    host::Extents extents;
                    if (entity->getGeomExtents(extents) == host::eOk) {
                        definitionBox.add(BoxOf(extents));
                    }
                    entities.push_back(std::move(entity));
                }
                host::Extents placed;
                Point shift = At(reference.position(), offset);
                if (!definitionBox.empty() && reference.getGeomExtents(placed) == host::eOk) {
                    shift = {offset.x + placed.minPoint.x - definitionBox.min.x,
                             offset.y + placed.minPoint.y - definitionBox.min.y};
                    // A scaled, rotated or repeated reference covers another box than its
                    // definition; the seam does not say how, so it is drawn once, unscaled.
                    const Box placedBox = BoxOf(placed);
                    if (!SameSize(placedBox, definitionBox)) ++transformedReferences_;
                }
                for (const auto& entity : entities) draw(*entity, shift, depth + 1);
            }
        }
        for (const host::ObjectId id : reference.attributeIds()) {
            host::Opened<host::Attribute> attribute(
                host::openAs<host::Attribute>(db_, id, host::OpenMode::ForRead));
            if (attribute) draw(*attribute, offset, depth + 1);
        }
    }

    host::Database& db_;
    Scene& scene_;
    std::map<std::string, int> boxedClasses_;
    int transformedReferences_ = 0;
};

host::ObjectId FindRecord(host::Database& db, const std::string& name) {
    host::BlockTable* raw = nullptr;
    if (db.getBlockTable(raw, host::OpenMode::ForRead) != host::eOk || raw == nullptr) {
        return host::kNullId;
    }
    host::Opened<host::BlockTable> table(raw);
    host::ObjectId id = host::kNullId;
    return table->getAt(name, id) == host::eOk ? id : host::kNullId;
}

}  // namespace

void Box::add(const Point& p) {
    if (!set) {
        min = max = p;
        set = true;
        return;
    }
    min = {std::min(min.x, p.x), std::min(min.y, p.y)};
    max = {std::max(max.x, p.x), std::max(max.y, p.y)};
}

void Box::add(const Box& other) {
    if (other.empty()) return;
    add(other.min);
    add(other.max);
}

Scene ReadScene(host::Database& db) {
    Scene scene;
    Walker walker(db, scene);
    if (const host::ObjectId model = FindRecord(db, host::kModelSpace); model != host::kNullId) {
        host::Opened<host::BlockTableRecord> record(
            host::openAs<host::BlockTableRecord>(db, model, host::OpenMode::ForRead));
        if (record) walker.space(*record, true, host::kModelSpace);
    }
    // Layouts hold their entities in "*Paper_Space", "*Paper_Space0", "*Paper_Space1", ...
    for (int i = -1; i < kMostLayouts; ++i) {
        const std::string name = kPaperSpace + (i < 0 ? std::string() : std::to_string(i));
        const host::ObjectId id = FindRecord(db, name);
        if (id == host::kNullId) {
            if (i < 0) continue;
            break;
        }
        host::Opened<host::BlockTableRecord> record(
            host::openAs<host::BlockTableRecord>(db, id, host::OpenMode::ForRead));
        if (!record) continue;
        scene.layoutsVisible = true;
        walker.space(*record, false, record->getName());
    }
    walker.finish();
    return scene;
}

std::vector<std::string> PlainMTextLines(const std::string& contents) {
    std::vector<std::string> lines(1);
    const std::string argumentCodes = "fFcCHhWwQqTtAapS";
    for (std::size_t i = 0; i < contents.size();) {
        const char c = contents[i];
        if (platform::CharWidth(contents, i) == 2) {
            lines.back() += contents.substr(i, 2);
            i += 2;
        } else if (c == '{' || c == '}') {
            ++i;
        } else if (c != '\\' || i + 1 >= contents.size()) {
            lines.back() += c;
            ++i;
        } else {
            const char code = contents[i + 1];
            i += 2;
            if (code == 'P') {
                lines.emplace_back();
            } else if (code == '~') {
                lines.back() += ' ';
            } else if (argumentCodes.find(code) != std::string::npos) {
                // Format codes run to their semicolon; a stacked fraction keeps its digits.
                std::string argument;
                while (i < contents.size() && contents[i] != ';') {
                    const std::size_t width = platform::CharWidth(contents, i);
                    argument += contents.substr(i, width);
                    i += width;
                }
                ++i;
                if (code == 'S') {
                    std::replace(argument.begin(), argument.end(), '^', '/');
                    std::replace(argument.begin(), argument.end(), '#', '/');
                    lines.back() += argument;
                }
            } else if (std::string("LlOoKk").find(code) == std::string::npos) {
                lines.back() += code;  // an escaped character: \\ \{ \}
            }
        }
    }
    return lines;
}

}  // namespace velmarin::inspect
