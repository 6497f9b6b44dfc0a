#pragma once
// Values read from the pairs of one entity where the reader is lenient or needs the entity's
// class, plane or box: what places an entity the emulator does not model, and what tells the
// entity's kind when the file has no subclass markers.

#include <algorithm>
#include <string>
#include <string_view>
#include <vector>

#include "host/HostTypes.h"
#include "host/sim/dxf/Ocs.h"
#include "host/sim/dxf/Pairs.h"

namespace velmarin::host::sim::dxf {

// The most derived subclass marker (group 100) of an entity, "" when it has none.
std::string MarkedClass(const std::vector<Pair>& pairs);
// The host class of an entity type in a file without subclass markers.
std::string ClassOfType(const std::string& type);
// The points of groups 10-18 / 20-28 / 30-38 in their order, read leniently: an entity the
// emulator does not model never stops a drawing from loading.
std::vector<Point3> LoosePoints(const std::vector<Pair>& pairs);
// The first value of `code` that is a number, 0 when there is none.
double LooseNumber(const std::vector<Pair>& pairs, int code);
// Appends the bytes of hexadecimal data (group 310) to `out`; false when it is none.
bool HexBytes(std::string_view hex, std::string& out);
// The plane of an entity's object coordinates, from its extrusion direction (groups 210, 220,
// 230; +Z when it has none). Read leniently, as the direction only places what was read.
ObjectCoordinates PlaneOf(const std::vector<Pair>& pairs);
// A value as an error message quotes it: at most 40 bytes.
std::string Shown(std::string_view value);

// The box around points and circles given one after the other.
class BoxBuilder {
  public:
    void add(const Point3& p) {
        if (empty_) {
            box_ = {p, p};
            empty_ = false;
            return;
        }
        box_.minPoint = {std::min(box_.minPoint.x, p.x), std::min(box_.minPoint.y, p.y),
                         std::min(box_.minPoint.z, p.z)};
        box_.maxPoint = {std::max(box_.maxPoint.x, p.x), std::max(box_.maxPoint.y, p.y),
                         std::max(box_.maxPoint.z, p.z)};
    }
    void addRound(const Point3& center, double radius) {
        add({center.x - radius, center.y - radius, center.z});
        add({center.x + radius, center.y + radius, center.z});
    }
    bool empty() const { return empty_; }
    const Extents& box() const { return box_; }

  private:
    Extents box_;
    bool empty_ = true;
};

}  // namespace velmarin::host::sim::dxf
