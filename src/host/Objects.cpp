#include "host/Objects.h"

#include <algorithm>

namespace velmarin::host {
namespace {

// Grows `box` to hold `p`; `empty` says whether `box` holds nothing yet.
void include(Extents& box, bool& empty, const Point3& p) {
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
Extents textBox(const Point3& position, std::size_t bytes, double height) {
    Extents box{position, position};
    box.maxPoint.x += static_cast<double>(bytes) * 0.7 * height;
    box.maxPoint.y += height;
    return box;
}

}  // namespace

ErrorStatus DbObject::close() {
    if (owner_ != nullptr) return owner_->closeObject(this);
    delete this;
    return eOk;
}

ErrorStatus Entity::getGeomExtents(Extents& out) const {
    if (extentsOverride_) {
        out = *extentsOverride_;
        return eOk;
    }
    return computeExtents(out);
}

ErrorStatus Entity::explode(std::vector<Entity*>&) const { return eNotApplicable; }

ErrorStatus Entity::getGripPoints(std::vector<Point3>&) const { return eNotApplicable; }

ErrorStatus Text::computeExtents(Extents& out) const {
    out = textBox(position_, text_.size(), height_);
    return eOk;
}

ErrorStatus Text::getGripPoints(std::vector<Point3>& points) const {
    points.push_back(position_);
    return eOk;
}

ErrorStatus MText::computeExtents(Extents& out) const {
    out = textBox(location_, contents_.size(), height_);
    return eOk;
}

ErrorStatus MText::getGripPoints(std::vector<Point3>& points) const {
    points.push_back(location_);
    return eOk;
}

ErrorStatus Polyline::computeExtents(Extents& out) const {
    bool empty = true;
    for (const Point3& p : points_) include(out, empty, p);
    return empty ? eInvalidInput : eOk;
}

ErrorStatus Polyline::getGripPoints(std::vector<Point3>& points) const {
    points.insert(points.end(), points_.begin(), points_.end());
    return eOk;
}

ErrorStatus Line::computeExtents(Extents& out) const {
    bool empty = true;
    include(out, empty, start_);
    include(out, empty, end_);
    return eOk;
}

ErrorStatus Line::getGripPoints(std::vector<Point3>& points) const {
    points.push_back(start_);
    points.push_back(end_);
    return eOk;
}

ErrorStatus BlockReference::computeExtents(Extents& out) const {
    if (owner() == nullptr) {
        out = {position_, position_};
        return eOk;
    }
    return owner()->blockExtents(block_, position_, out);
}

ProxyEntity::ProxyEntity(const ProxyEntity& other) : Entity(other), className_(other.className_) {
    for (const auto& part : other.parts_) parts_.push_back(part->clone());
}

ProxyEntity& ProxyEntity::operator=(const ProxyEntity& other) {
    if (this != &other) {
        ProxyEntity copy(other);
        Entity::operator=(copy);
        className_ = std::move(copy.className_);
        parts_ = std::move(copy.parts_);
    }
    return *this;
}

ErrorStatus ProxyEntity::explode(std::vector<Entity*>& parts) const {
    for (const auto& part : parts_) parts.push_back(part->clone().release());
    return eOk;
}

ErrorStatus ProxyEntity::computeExtents(Extents& out) const {
    bool empty = true;
    for (const auto& part : parts_) {
        Extents box;
        if (part->getGeomExtents(box) != eOk) continue;
        include(out, empty, box.minPoint);
        include(out, empty, box.maxPoint);
    }
    return empty ? eInvalidInput : eOk;
}

}  // namespace velmarin::host
