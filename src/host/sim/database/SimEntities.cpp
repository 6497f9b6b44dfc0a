#include "host/sim/database/SimEntities.h"

#include <algorithm>

#include "host/sim/database/SimDatabase.h"

namespace velmarin::host::sim {
namespace {

// Grows `box` to hold `p`; `empty` says whether `box` holds nothing yet.
void Include(Extents& box, bool& empty, const Point3& p) {
    if (empty) {
        box.minPoint = box.maxPoint = p;
        empty = false;
        return;
    }
    box.minPoint.x = std::min(box.minPoint.x, p.x);
    box.minPoint.y = std::min(box.minPoint.y, p.y);
    box.minPoint.z = std::min(box.minPoint.z, p.z);
    box.maxPoint.x = std::max(box.maxPoint.x, p.x);
    box.maxPoint.y = std::max(box.maxPoint.y, p.y);
    box.maxPoint.z = std::max(box.maxPoint.z, p.z);
}

// A text box: lower-left corner at the position, as wide as its bytes times 0.7 x height.
Extents TextBox(const Point3& position, std::size_t bytes, double height) {
    Extents box{position, position};
    box.maxPoint.x += static_cast<double>(bytes) * 0.7 * height;
    box.maxPoint.y += height;
    return box;
}

}  // namespace

const SimEntity* SimSideOf(const Entity& entity) { return dynamic_cast<const SimEntity*>(&entity); }

SimEntity* SimSideOf(Entity& entity) { return dynamic_cast<SimEntity*>(&entity); }

std::unique_ptr<Entity> Clone(const Entity& entity) {
    const SimEntity* sim = SimSideOf(entity);
    return sim != nullptr ? sim->clone() : nullptr;
}

ErrorStatus ComputedExtents(const Entity&, ObjectOwner*, Extents&) { return eInvalidInput; }

ErrorStatus ComputedExtents(const Text& text, ObjectOwner*, Extents& out) {
    out = TextBox(text.position(), text.textString().size(), text.height());
    return eOk;
}

ErrorStatus ComputedExtents(const MText& text, ObjectOwner*, Extents& out) {
    out = TextBox(text.location(), text.contents().size(), text.textHeight());
    return eOk;
}

ErrorStatus ComputedExtents(const Polyline& polyline, ObjectOwner*, Extents& out) {
    bool empty = true;
    for (const Point3& p : polyline.points()) Include(out, empty, p);
    return empty ? eInvalidInput : eOk;
}

ErrorStatus ComputedExtents(const Line& line, ObjectOwner*, Extents& out) {
    bool empty = true;
    Include(out, empty, line.startPoint());
    Include(out, empty, line.endPoint());
    return eOk;
}

ErrorStatus ComputedExtents(const BlockReference& reference, ObjectOwner* owner, Extents& out) {
    auto* db = dynamic_cast<SimDatabase*>(owner);
    if (db == nullptr) {
        out = {reference.position(), reference.position()};
        return eOk;
    }
    return db->blockExtents(reference.blockTableRecord(), reference.position(), out);
}

ErrorStatus GripPoints(const Entity&, std::vector<Point3>&) { return eNotApplicable; }

ErrorStatus GripPoints(const Text& text, std::vector<Point3>& points) {
    points.push_back(text.position());
    return eOk;
}

ErrorStatus GripPoints(const MText& text, std::vector<Point3>& points) {
    points.push_back(text.location());
    return eOk;
}

ErrorStatus GripPoints(const Polyline& polyline, std::vector<Point3>& points) {
    points.insert(points.end(), polyline.points().begin(), polyline.points().end());
    return eOk;
}

ErrorStatus GripPoints(const Line& line, std::vector<Point3>& points) {
    points.push_back(line.startPoint());
    points.push_back(line.endPoint());
    return eOk;
}

SimProxyEntity::SimProxyEntity(const SimProxyEntity& other) : ProxyEntity(other), SimEntity(other) {
    for (const auto& part : other.parts_) parts_.push_back(Clone(*part));
}

SimProxyEntity& SimProxyEntity::operator=(const SimProxyEntity& other) {
    if (this != &other) {
        SimProxyEntity copy(other);
        ProxyEntity::operator=(copy);
        SimEntity::operator=(copy);
        parts_ = std::move(copy.parts_);
    }
    return *this;
}

ErrorStatus SimProxyEntity::getGeomExtents(Extents& out) const {
    if (extentsOverride()) {
        out = *extentsOverride();
        return eOk;
    }
    bool empty = true;
    for (const auto& part : parts_) {
        Extents box;
        if (part->getGeomExtents(box) != eOk) continue;
        Include(out, empty, box.minPoint);
        Include(out, empty, box.maxPoint);
    }
    return empty ? eInvalidInput : eOk;
}

ErrorStatus SimProxyEntity::explode(std::vector<Entity*>& parts) const {
    for (const auto& part : parts_) parts.push_back(Clone(*part).release());
    return eOk;
}

}  // namespace velmarin::host::sim
