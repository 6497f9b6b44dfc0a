#include "host/sim/dxf/EntityPairs.h"

namespace velmarin::host::sim::dxf {

// The most derived subclass marker (group 100) of an entity, "" when it has none.
std::string MarkedClass(const std::vector<Pair>& pairs) {
    std::string_view marked;
    for (const Pair& pair : pairs) {
        if (pair.code == 101) break;  // an embedded object's markers are not the entity's
        if (pair.code == 100) marked = Trimmed(pair.value);
    }
    return marked == "AcDbEntity" ? std::string() : std::string(marked);
}

// The host class of an entity type in a file without subclass markers.
std::string ClassOfType(const std::string& type) {
    static const std::pair<const char*, const char*> kClasses[] = {
        {"CIRCLE", "AcDbCircle"},        {"ARC", "AcDbArc"},
        {"POINT", "AcDbPoint"},          {"SOLID", "AcDbSolid"},
        {"TRACE", "AcDbTrace"},          {"3DFACE", "AcDbFace"},
        {"SHAPE", "AcDbShape"},          {"DIMENSION", "AcDbDimension"},
        {"VIEWPORT", "AcDbViewport"},    {"ELLIPSE", "AcDbEllipse"},
        {"SPLINE", "AcDbSpline"},        {"HATCH", "AcDbHatch"},
        {"INSERT", "AcDbBlockReference"}};
    for (const auto& [dxfType, className] : kClasses) {
        if (type == dxfType) return className;
    }
    return "AcDbEntity";
}

// The points of groups 10-18 / 20-28 / 30-38 in their order, read leniently: an entity the
// emulator does not model never stops a drawing from loading.
std::vector<Point3> LoosePoints(const std::vector<Pair>& pairs) {
    std::vector<Point3> points;
    for (const Pair& pair : pairs) {
        double value = 0.0;
        if (pair.code < 10 || pair.code > 38 || !ParseDouble(pair.value, value)) continue;
        if (pair.code <= 18) {
            points.push_back({value, 0.0, 0.0});
        } else if (!points.empty() && pair.code >= 20 && pair.code <= 28) {
            points.back().y = value;
        } else if (!points.empty() && pair.code >= 30) {
            points.back().z = value;
        }
    }
    return points;
}

double LooseNumber(const std::vector<Pair>& pairs, int code) {
    for (const Pair& pair : pairs) {
        double value = 0.0;
        if (pair.code == code && ParseDouble(pair.value, value)) return value;
    }
    return 0.0;
}

bool HexBytes(std::string_view hex, std::string& out) {
    hex = Trimmed(hex);
    if (hex.size() % 2 != 0) return false;
    const auto digit = [](char c) {
        if (c >= '0' && c <= '9') return c - '0';
        if (c >= 'A' && c <= 'F') return c - 'A' + 10;
        if (c >= 'a' && c <= 'f') return c - 'a' + 10;
        return -1;
    };
    for (std::size_t i = 0; i < hex.size(); i += 2) {
        const int high = digit(hex[i]);
        const int low = digit(hex[i + 1]);
        if (high < 0 || low < 0) return false;
        out += static_cast<char>(high * 16 + low);
    }
    return true;
}

// The plane of an entity's object coordinates, from its extrusion direction (groups 210, 220,
// 230; +Z when it has none). Read leniently, as the direction only places what was read.
ObjectCoordinates PlaneOf(const std::vector<Pair>& pairs) {
    Point3 normal{0.0, 0.0, 1.0};
    for (const Pair& pair : pairs) {
        if (pair.code == 101) break;
        double value = 0.0;
        if (pair.code < 210 || pair.code > 230 || pair.code % 10 != 0) continue;
        if (!ParseDouble(pair.value, value)) continue;
        (pair.code == 210 ? normal.x : pair.code == 220 ? normal.y : normal.z) = value;
    }
    return ObjectCoordinates(normal);
}

std::string Shown(std::string_view value) {
    return std::string(value.substr(0, 40)) + (value.size() > 40 ? "..." : "");
}

}  // namespace velmarin::host::sim::dxf
