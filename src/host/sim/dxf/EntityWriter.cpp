#include "host/sim/dxf/EntityWriter.h"

#include <algorithm>
#include <vector>

#include "host/sim/database/SimDatabase.h"
#include "host/sim/dxf/Entities.h"
#include "host/sim/dxf/Ocs.h"
#include "host/sim/dxf/ProxyGraphics.h"

namespace velmarin::host::sim::dxf {
namespace {

constexpr std::size_t kChunkBytes = 250;  // the longest text value a reader must accept

// Bytes of the character at text[i] in the stored encoding; a caret escape counts as one
// character, so that a chunk never ends between the caret and its letter.
std::size_t CharacterBytes(std::string_view text, std::size_t i, const TextCodec& codec) {
    const unsigned char c = static_cast<unsigned char>(text[i]);
    std::size_t length = 1;
    if (c == '^') {
        length = 2;
    } else if (codec.encoding() == TextEncoding::Utf8) {
        length = c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : c >= 0xC0 ? 2 : 1;
    } else {
        const int page = codec.codePage();
        const bool doubleByte =
            page == 932 || page == 936 || page == 949 || page == 950 || page == 1361;
        length = doubleByte && c >= 0x81 ? 2 : 1;
    }
    return std::min(length, text.size() - i);
}

// Multiline-text contents cut into chunks of at most 250 bytes at character boundaries.
std::vector<std::string_view> Chunks(std::string_view text, const TextCodec& codec) {
    std::vector<std::string_view> chunks;
    std::size_t at = 0;
    while (text.size() - at > kChunkBytes) {
        std::size_t i = at;
        while (i < text.size()) {
            const std::size_t length = CharacterBytes(text, i, codec);
            if (i + length - at > kChunkBytes) break;
            i += length;
        }
        chunks.push_back(text.substr(at, i - at));
        at = i;
    }
    chunks.push_back(text.substr(at));
    return chunks;
}

}  // namespace

void EntityWriter::head(const char* type, const std::string& handle, const std::string& owner,
                        const std::string& layer) {
    out_.raw(0, type);
    out_.handle(5, handle);
    if (markers()) {
        out_.handle(330, owner);
        out_.raw(100, "AcDbEntity");
    }
    out_.text(8, layer);
}

void EntityWriter::endOfSequence(const std::string& handle, const std::string& owner,
                                 const std::string& layer) {
    head("SEQEND", handle, owner, layer);
}

void EntityWriter::write(const Entity& entity, ObjectId id, const std::string& owner,
                         bool withoutAttributes) {
    const std::string handle = handles_.of(id);
    if (const auto* definition = dynamic_cast<const AttributeDefinition*>(&entity)) {
        head("ATTDEF", handle, owner, entity.layer());
        marker("AcDbText");
        out_.point(10, definition->position());
        out_.number(40, definition->height());
        out_.text(1, definition->textString());
        if (definition->widthFactor()) out_.number(41, *definition->widthFactor());
        marker("AcDbAttributeDefinition");
        if (out_.format().format2010()) out_.integer(280, 0);
        out_.text(3, definition->tag());  // the prompt: the emulator keeps none of its own
        out_.text(2, definition->tag());
        out_.integer(70, 0);
    } else if (const auto* attribute = dynamic_cast<const Attribute*>(&entity)) {
        this->attribute(*attribute, handle, owner);
    } else if (const auto* single = dynamic_cast<const Text*>(&entity)) {
        text(*single, handle, owner);
    } else if (const auto* multiline = dynamic_cast<const MText*>(&entity)) {
        mtext(*multiline, handle, owner);
    } else if (const auto* line = dynamic_cast<const Line*>(&entity)) {
        head("LINE", handle, owner, entity.layer());
        marker("AcDbLine");
        out_.point(10, line->startPoint());
        out_.point(11, line->endPoint());
    } else if (const auto* lines = dynamic_cast<const Polyline*>(&entity)) {
        polyline(*lines, id, handle, owner);
    } else if (const auto* blockReference = dynamic_cast<const BlockReference*>(&entity)) {
        reference(*blockReference, id, handle, owner, withoutAttributes);
    } else if (const auto* proxyEntity = dynamic_cast<const SimProxyEntity*>(&entity)) {
        proxy(*proxyEntity, handle, owner);
    }
}

void EntityWriter::text(const Text& text, const std::string& handle, const std::string& owner) {
    head("TEXT", handle, owner, text.layer());
    marker("AcDbText");
    out_.point(10, text.position());
    out_.number(40, text.height());
    out_.text(1, text.textString());
    if (text.widthFactor()) out_.number(41, *text.widthFactor());
    marker("AcDbText");
}

void EntityWriter::attribute(const Attribute& attribute, const std::string& handle,
                             const std::string& owner) {
    head("ATTRIB", handle, owner, attribute.layer());
    marker("AcDbText");
    out_.point(10, attribute.position());
    out_.number(40, attribute.height());
    out_.text(1, attribute.textString());
    if (attribute.widthFactor()) out_.number(41, *attribute.widthFactor());
    marker("AcDbAttribute");
    if (out_.format().format2010()) out_.integer(280, 0);
    out_.text(2, attribute.tag());
    out_.integer(70, 0);
}

void EntityWriter::mtext(const MText& mtext, const std::string& handle, const std::string& owner) {
    if (!markers()) {  // release 12 knows no multiline text: its contents become a text
        SimText text;
        text.setLayer(mtext.layer());
        text.setTextString(mtext.contents());
        text.setPosition(mtext.location());
        text.setHeight(mtext.textHeight());
        this->text(text, handle, owner);
        return;
    }
    head("MTEXT", handle, owner, mtext.layer());
    marker("AcDbMText");
    out_.point(10, mtext.location());
    out_.number(40, mtext.textHeight());
    out_.integer(71, 7);  // attached at its lower-left corner, where the emulator places it
    const std::string stored = out_.format().codec.fromGbk(mtext.contents());
    const std::vector<std::string_view> chunks = Chunks(stored, out_.format().codec);
    for (std::size_t k = 0; k + 1 < chunks.size(); ++k) out_.raw(3, chunks[k]);
    out_.raw(1, chunks.back());
}

void EntityWriter::polyline(const Polyline& polyline, ObjectId id, const std::string& handle,
                            const std::string& owner) {
    const auto* heavy = dynamic_cast<const DxfHeavyPolyline*>(&polyline);
    const std::vector<Point3>& points = polyline.points();
    const double elevation = points.empty() ? 0.0 : points.front().z;
    if (heavy == nullptr && out_.format().lightweightPolylines()) {
        head("LWPOLYLINE", handle, owner, polyline.layer());
        marker("AcDbPolyline");
        out_.integer(90, static_cast<std::int64_t>(points.size()));
        out_.integer(70, 0);
        if (elevation != 0.0) out_.number(38, elevation);
        for (const Point3& p : points) {
            out_.number(10, p.x);
            out_.number(20, p.y);
        }
        return;
    }
    const bool is3d = heavy != nullptr && heavy->is3d();
    head("POLYLINE", handle, owner, polyline.layer());
    marker(is3d ? "AcDb3dPolyline" : "AcDb2dPolyline");
    out_.integer(66, 1);
    out_.point(10, {0.0, 0.0, is3d ? 0.0 : elevation});
    out_.integer(70, is3d ? 8 : 0);
    for (const Point3& p : points) {
        head("VERTEX", handles_.fresh(), handle, polyline.layer());
        marker("AcDbVertex");
        marker(is3d ? "AcDb3dPolylineVertex" : "AcDb2dVertex");
        out_.point(10, is3d ? p : Point3{p.x, p.y, 0.0});
        out_.integer(70, is3d ? 32 : 0);
    }
    endOfSequence(handles_.endOf(id), handle, polyline.layer());
}

void EntityWriter::reference(const BlockReference& reference, ObjectId id,
                             const std::string& handle, const std::string& owner,
                             bool withoutAttributes) {
    const auto* record = db_.peekAs<SimBlockTableRecord>(reference.blockTableRecord());
    if (record == nullptr) return;  // a reference to nothing has no form in a file
    std::vector<std::pair<ObjectId, const Attribute*>> attributes;
    if (!withoutAttributes) {
        for (ObjectId attributeId : reference.attributeIds()) {
            const auto* attribute = db_.peekAs<Attribute>(attributeId);
            if (attribute != nullptr && !attribute->isErased()) {
                attributes.emplace_back(attributeId, attribute);
            }
        }
    }
    const auto* placed = dynamic_cast<const DxfBlockReference*>(&reference);
    const bool array = placed != nullptr && (placed->columns > 1 || placed->rows > 1);
    head("INSERT", handle, owner, reference.layer());
    marker(array ? "AcDbMInsertBlock" : "AcDbBlockReference");
    if (!attributes.empty()) out_.integer(66, 1);
    out_.text(2, record->getName());
    // A reference in another plane than the world's XY plane is stored in its own coordinates.
    const ObjectCoordinates plane(placed != nullptr ? placed->normal : Point3{0.0, 0.0, 1.0});
    out_.point(10, plane.fromWorld(reference.position()));
    if (placed != nullptr) {
        if (placed->scale.x != 1.0) out_.number(41, placed->scale.x);
        if (placed->scale.y != 1.0) out_.number(42, placed->scale.y);
        if (placed->scale.z != 1.0) out_.number(43, placed->scale.z);
        if (placed->rotationDegrees != 0.0) out_.number(50, placed->rotationDegrees);
        if (array) {
            out_.integer(70, placed->columns);
            out_.integer(71, placed->rows);
            out_.number(44, placed->columnSpacing);
            out_.number(45, placed->rowSpacing);
        }
    }
    if (!plane.isWorld()) {
        out_.number(210, plane.normal().x);
        out_.number(220, plane.normal().y);
        out_.number(230, plane.normal().z);
    }
    for (const auto& [attributeId, attribute] : attributes) {
        this->attribute(*attribute, handles_.of(attributeId), handle);
    }
    if (!attributes.empty()) endOfSequence(handles_.endOf(id), handle, reference.layer());
}

void EntityWriter::proxy(const SimProxyEntity& proxy, const std::string& handle,
                         const std::string& owner) {
    if (!out_.format().proxyEntities()) {
        // Release 12 knows no proxies: the parts stand in the proxy's place.
        for (const auto& part : proxy.parts()) write(*part, kNullId, owner);
        return;
    }
    head("ACAD_PROXY_ENTITY", handle, owner, proxy.layer());
    marker("AcDbProxyEntity");
    out_.integer(90, 498);  // the proxy entity class
    out_.integer(91, 500);  // the application class: the first one of the CLASSES section
    const std::string graphics = EncodeProxyGraphics(proxy.parts(), layerIndex_);
    const bool format2013 = out_.format().format2013();
    out_.integer(format2013 ? 160 : 92, static_cast<std::int64_t>(graphics.size()));
    out_.binary(310, graphics);
    out_.integer(format2013 ? 161 : 93, 0);  // no entity data
    out_.integer(94, 0);                     // no object ids
    out_.integer(95, 0);
    out_.integer(70, 0);
}

}  // namespace velmarin::host::sim::dxf
