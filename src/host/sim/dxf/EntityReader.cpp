#include "host/sim/dxf/EntityReader.h"

#include <algorithm>
#include <cmath>

#include "host/sim/database/SimDatabase.h"
#include "host/sim/database/SymbolName.h"
#include "host/sim/dxf/Entities.h"
#include "host/sim/dxf/EntityPairs.h"
#include "host/sim/dxf/Ocs.h"
#include "host/sim/dxf/ProxyGraphics.h"

namespace velmarin::host::sim::dxf {
bool EntityReader::number(const Pair& pair, const char* type, double& out) {
    if (ParseDouble(pair.value, out)) return true;
    return problems_.at(pair.line + 1, "group " + std::to_string(pair.code) + " of " + type +
                                           " must be a number, not \"" + Shown(pair.value) + "\"");
}

bool EntityReader::integer(const Pair& pair, const char* type, std::int64_t& out) {
    if (ParseInteger(pair.value, out)) return true;
    return problems_.at(pair.line + 1, "group " + std::to_string(pair.code) + " of " + type +
                                           " must be a whole number, not \"" + Shown(pair.value) +
                                           "\"");
}

bool EntityReader::point(const Pair& pair, const char* type, int base, Point3& p) {
    if (pair.code == base) return number(pair, type, p.x);
    if (pair.code == base + 10) return number(pair, type, p.y);
    if (pair.code == base + 20) return number(pair, type, p.z);
    return true;
}

const std::string& EntityReader::layer(std::string_view stored) {
    const std::string key(stored);
    auto it = layerNames_.find(key);
    if (it == layerNames_.end()) {
        std::string layerName = name(Trimmed(stored));
        if (layerName.empty()) layerName = "0";
        db_.ensureLayer(layerName);
        it = layerNames_.emplace(key, std::move(layerName)).first;
    }
    return it->second;
}

void EntityReader::common(const std::vector<Pair>& pairs, Entity& entity, std::string* handle,
                          bool* paperSpace) {
    bool layerSeen = false;
    bool handleSeen = false;
    for (const Pair& pair : pairs) {
        if (pair.code == 101) break;
        if (pair.code == 8 && !layerSeen) {
            entity.setLayer(layer(pair.value));
            layerSeen = true;
        } else if (pair.code == 5 && !handleSeen && handle != nullptr) {
            *handle = std::string(Trimmed(pair.value));
            handleSeen = true;
        } else if (pair.code == 67 && paperSpace != nullptr) {
            std::int64_t space = 0;
            *paperSpace = ParseInteger(pair.value, space) && space == 1;
        }
    }
    if (!layerSeen) layer("0");
}

bool EntityReader::text(const std::vector<Pair>& pairs, const char* type, Text& text,
                        std::string* tag) {
    Point3 position;
    double height = text.height();
    double widthFactor = 1.0;
    bool hasWidthFactor = false;
    for (std::size_t i = 1; i < pairs.size(); ++i) {
        const Pair& pair = pairs[i];
        if (pair.code == 101) break;  // a multiline text embedded in an attribute
        switch (pair.code) {
            case 1:
                text.setTextString(codec_.toGbk(pair.value));
                break;
            case 2:
                if (tag != nullptr) *tag = name(pair.value);
                break;
            case 10:
            case 20:
            case 30:
                if (!point(pair, type, 10, position)) return false;
                break;
            case 40:
                if (!number(pair, type, height)) return false;
                break;
            case 41:
                if (!number(pair, type, widthFactor)) return false;
                hasWidthFactor = true;
                break;
            default:
                break;
        }
    }
    text.setPosition(PlaneOf(pairs).toWorld(position));
    text.setHeight(height);
    if (hasWidthFactor) text.setWidthFactor(widthFactor);
    return true;
}

bool EntityReader::mtext(const std::vector<Pair>& pairs, ReadEntity& out) {
    auto mtext = std::make_unique<SimMText>();
    std::string stored;  // chunks joined before decoding: a chunk may end inside a character
    Point3 position;
    double height = mtext->textHeight();
    for (std::size_t i = 1; i < pairs.size(); ++i) {
        const Pair& pair = pairs[i];
        if (pair.code == 101) break;  // columns of the 2018 format
        switch (pair.code) {
            case 1:
            case 3:
                stored.append(pair.value);
                break;
            case 10:
            case 20:
            case 30:
                if (!point(pair, "MTEXT", 10, position)) return false;
                break;
            case 40:
                if (!number(pair, "MTEXT", height)) return false;
                break;
            default:
                break;
        }
    }
    mtext->setContents(codec_.toGbk(stored, true));
    mtext->setLocation(position);
    mtext->setTextHeight(height);
    out.entity = std::move(mtext);
    return true;
}

bool EntityReader::line(const std::vector<Pair>& pairs, ReadEntity& out) {
    Point3 start;
    Point3 end;
    for (const Pair& pair : pairs) {
        if (!point(pair, "LINE", 10, start) || !point(pair, "LINE", 11, end)) return false;
    }
    auto line = std::make_unique<SimLine>();
    line->setPoints(start, end);
    out.entity = std::move(line);
    return true;
}

bool EntityReader::lwPolyline(const std::vector<Pair>& pairs, ReadEntity& out) {
    std::vector<Point3> points;
    double elevation = 0.0;
    for (const Pair& pair : pairs) {
        double value = 0.0;
        if (pair.code == 38) {
            if (!number(pair, "LWPOLYLINE", elevation)) return false;
        } else if (pair.code == 10) {
            if (!number(pair, "LWPOLYLINE", value)) return false;
            points.push_back({value, 0.0, 0.0});
        } else if (pair.code == 20 && !points.empty()) {
            if (!number(pair, "LWPOLYLINE", points.back().y)) return false;
        }
    }
    const ObjectCoordinates plane = PlaneOf(pairs);
    for (Point3& p : points) p = plane.toWorld({p.x, p.y, elevation});
    auto polyline = std::make_unique<SimPolyline>();
    polyline->setPoints(std::move(points));
    out.entity = std::move(polyline);
    return true;
}

bool EntityReader::polyline(const std::vector<Pair>& pairs,
                            const std::vector<std::vector<Pair>>& vertices, ReadEntity& out) {
    std::int64_t flags = 0;
    Point3 base;
    for (const Pair& pair : pairs) {
        if (pair.code == 70 && !integer(pair, "POLYLINE", flags)) return false;
        if (!point(pair, "POLYLINE", 10, base)) return false;
    }
    // Meshes are surfaces, not polylines: kept, with the box of their vertices.
    if (flags & (16 | 64)) {
        auto mesh = std::make_unique<DxfOtherEntity>(
            (flags & 64) ? "AcDbPolyFaceMesh" : "AcDbPolygonMesh", "POLYLINE");
        BoxBuilder box;
        for (const auto& vertex : vertices) {
            std::int64_t vertexFlags = 0;
            for (const Pair& pair : vertex) {
                if (pair.code == 70) ParseInteger(pair.value, vertexFlags);
            }
            if (vertexFlags == 128) continue;  // a face record, no point
            for (const Point3& p : LoosePoints(vertex)) box.add(p);
        }
        if (!box.empty()) mesh->setBox(box.box());
        out.entity = std::move(mesh);
        return true;
    }
    const bool is3d = (flags & 8) != 0;
    const ObjectCoordinates plane = PlaneOf(pairs);  // a 3D polyline's points are the world's
    std::vector<Point3> points;
    for (const auto& vertex : vertices) {
        Point3 p;
        std::int64_t vertexFlags = 0;
        for (const Pair& pair : vertex) {
            if (!point(pair, "VERTEX", 10, p)) return false;
            if (pair.code == 70 && !integer(pair, "VERTEX", vertexFlags)) return false;
        }
        if (vertexFlags & 16) continue;                    // a control point of a spline's frame
        if (!is3d) p = plane.toWorld({p.x, p.y, base.z});  // at the polyline's elevation
        points.push_back(p);
    }
    auto polyline = std::make_unique<DxfHeavyPolyline>(is3d);
    polyline->setPoints(std::move(points));
    out.entity = std::move(polyline);
    return true;
}

bool EntityReader::insert(const std::vector<Pair>& pairs,
                          const std::vector<std::vector<Pair>>& attributes, ReadEntity& out) {
    std::string blockName;
    Point3 position;
    Point3 scale{1.0, 1.0, 1.0};
    double rotation = 0.0;
    std::int64_t columns = 1;
    std::int64_t rows = 1;
    double columnSpacing = 0.0;
    double rowSpacing = 0.0;
    for (const Pair& pair : pairs) {
        bool ok = point(pair, "INSERT", 10, position);
        switch (pair.code) {
            case 2:
                blockName = name(Trimmed(pair.value));
                break;
            case 41:
                ok = number(pair, "INSERT", scale.x);
                break;
            case 42:
                ok = number(pair, "INSERT", scale.y);
                break;
            case 43:
                ok = number(pair, "INSERT", scale.z);
                break;
            case 50:
                ok = number(pair, "INSERT", rotation);
                break;
            case 70:
                ok = integer(pair, "INSERT", columns);
                break;
            case 71:
                ok = integer(pair, "INSERT", rows);
                break;
            case 44:
                ok = number(pair, "INSERT", columnSpacing);
                break;
            case 45:
                ok = number(pair, "INSERT", rowSpacing);
                break;
            default:
                break;
        }
        if (!ok) return false;
    }
    // A reference to no block, or to model space, refers to nothing the host could open.
    if (blockName.empty() || SameName(blockName, kModelSpace)) {
        other(pairs, "INSERT", out);
        return true;
    }
    std::string className = MarkedClass(pairs);
    if (className != "AcDbMInsertBlock") {
        className = (className.empty() && (columns > 1 || rows > 1)) ? "AcDbMInsertBlock"
                                                                     : "AcDbBlockReference";
    }
    auto reference = std::make_unique<DxfBlockReference>(className);
    reference->setBlockTableRecord(db_.ensureBlock(blockName));
    const ObjectCoordinates plane = PlaneOf(pairs);
    reference->setPosition(plane.toWorld(position));
    reference->normal = plane.normal();
    reference->scale = scale;
    reference->rotationDegrees = rotation;
    reference->columns = static_cast<int>(std::clamp<std::int64_t>(columns, 1, 1 << 20));
    reference->rows = static_cast<int>(std::clamp<std::int64_t>(rows, 1, 1 << 20));
    reference->columnSpacing = columnSpacing;
    reference->rowSpacing = rowSpacing;
    for (const auto& attributePairs : attributes) {
        auto attribute = std::make_unique<SimAttribute>();
        std::string tag;
        if (!text(attributePairs, "ATTRIB", *attribute, &tag)) return false;
        attribute->setTag(tag);
        std::string handle;
        common(attributePairs, *attribute, &handle, nullptr);
        out.attributes.push_back(std::move(attribute));
        out.attributeHandles.push_back(std::move(handle));
    }
    out.entity = std::move(reference);
    return true;
}

bool EntityReader::proxy(const std::vector<Pair>& pairs, ReadEntity& out) {
    // The graphics: the 310 chunks right after their size (92, or 160 from the 2013 format
    // on), in the proxy's own subclass when the file marks one.
    std::size_t i = 1;
    for (std::size_t k = 1; k < pairs.size(); ++k) {
        if (pairs[k].code == 100 && Trimmed(pairs[k].value) == "AcDbProxyEntity") {
            i = k + 1;
            break;
        }
    }
    while (i < pairs.size() && pairs[i].code != 92 && pairs[i].code != 160) ++i;
    std::string graphics;
    for (++i; i < pairs.size() && pairs[i].code == 310; ++i) {
        if (!HexBytes(pairs[i].value, graphics)) {
            return problems_.at(pairs[i].line + 1,
                                "group 310 of ACAD_PROXY_ENTITY must be hexadecimal data, not \"" +
                                    Shown(pairs[i].value) + "\"");
        }
    }
    auto proxy = std::make_unique<SimProxyEntity>("AcDbZombieEntity");
    ProxyGraphicsContext context;
    context.layers = &layers_;
    context.codec = codec_;
    context.format2010 = format2010_;
    for (auto& part : DecodeProxyGraphics(graphics, context)) {
        db_.ensureLayer(part->layer());
        proxy->addPart(std::move(part));
    }
    out.entity = std::move(proxy);
    return true;
}

void EntityReader::other(const std::vector<Pair>& pairs, const std::string& type, ReadEntity& out) {
    std::string className = MarkedClass(pairs);
    if (className.empty()) className = ClassOfType(type);
    auto entity = std::make_unique<DxfOtherEntity>(className, type);
    BoxBuilder box;
    std::vector<Point3> points = LoosePoints(pairs);
    // Circles, arcs, solids and traces lie in their object plane; the others' points are the
    // world's.
    if (type == "CIRCLE" || type == "ARC" || type == "SOLID" || type == "TRACE") {
        const ObjectCoordinates plane = PlaneOf(pairs);
        for (Point3& p : points) p = plane.toWorld(p);
    }
    if (type == "CIRCLE" || type == "ARC") {
        if (!points.empty()) box.addRound(points.front(), std::fabs(LooseNumber(pairs, 40)));
    } else if (type == "ELLIPSE") {
        if (points.size() >= 2) {
            const Point3& axis = points[1];
            box.addRound(points[0], std::sqrt(axis.x * axis.x + axis.y * axis.y + axis.z * axis.z));
        }
    } else if (type == "POINT" || type == "SOLID" || type == "TRACE" || type == "3DFACE" ||
               type == "SPLINE") {
        for (const Point3& p : points) box.add(p);
    }
    if (!box.empty()) entity->setBox(box.box());
    out.entity = std::move(entity);
}

bool EntityReader::read(const std::vector<Pair>& pairs,
                        const std::vector<std::vector<Pair>>& followers,
                        const std::vector<Pair>& end, ReadEntity& out) {
    const std::string type(Trimmed(pairs.front().value));
    bool ok = true;
    if (type == "TEXT") {
        auto single = std::make_unique<SimText>();
        ok = text(pairs, "TEXT", *single, nullptr);
        out.entity = std::move(single);
    } else if (type == "ATTDEF") {
        auto definition = std::make_unique<SimAttributeDefinition>();
        std::string tag;
        ok = text(pairs, "ATTDEF", *definition, &tag);
        definition->setTag(tag);
        out.entity = std::move(definition);
    } else if (type == "MTEXT") {
        ok = mtext(pairs, out);
    } else if (type == "LINE") {
        ok = line(pairs, out);
    } else if (type == "LWPOLYLINE") {
        ok = lwPolyline(pairs, out);
    } else if (type == "POLYLINE") {
        ok = polyline(pairs, followers, out);
    } else if (type == "INSERT") {
        ok = insert(pairs, followers, out);
    } else if (type == "ACAD_PROXY_ENTITY") {
        ok = proxy(pairs, out);
    } else {
        other(pairs, type, out);
    }
    if (!ok) return false;
    common(pairs, *out.entity, &out.handle, &out.paperSpace);
    for (const Pair& pair : end) {
        if (pair.code == 5) {
            out.endHandle = std::string(Trimmed(pair.value));
            break;
        }
    }
    return true;
}

}  // namespace velmarin::host::sim::dxf
