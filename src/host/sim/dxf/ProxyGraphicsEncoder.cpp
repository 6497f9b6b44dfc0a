// Encoding the parts of a proxy entity as proxy graphics (ProxyGraphics.h).

#include <algorithm>
#include <cstdint>

#include "host/sim/dxf/ProxyGraphics.h"
#include "host/sim/dxf/ProxyRecords.h"
#include "platform/Encoding.h"

namespace velmarin::host::sim::dxf {
namespace {

using namespace proxy;

void PutU32(std::string& out, std::uint32_t value) {
    for (int k = 0; k < 4; ++k) out += static_cast<char>(value >> (8 * k));
}

void PutF64(std::string& out, double value) {
    const std::uint64_t bits = BitsOf(value);
    for (int k = 0; k < 8; ++k) out += static_cast<char>(bits >> (8 * k));
}

class Encoder {
  public:
    std::string result() const {
        std::string out;
        PutU32(out, static_cast<std::uint32_t>(graphics_.size() + 8));
        PutU32(out, count_);
        return out + graphics_;
    }

    void polyline(const std::vector<Point3>& points) {
        PutU32(body_, static_cast<std::uint32_t>(points.size()));
        for (const Point3& p : points) point(p);
        finish(kPolyline);
    }

    // A polyline in one plane parallel to the XY plane, as a lightweight polyline record.
    void lwPolyline(const std::vector<Point3>& points) {
        const double elevation = points.front().z;
        BitWriter bits;
        bits.bitShort(elevation != 0.0 ? kLwElevation : 0);
        if (elevation != 0.0) bits.bitDouble(elevation);
        bits.bitLong(static_cast<long>(points.size()));
        bits.rawDouble(points.front().x);
        bits.rawDouble(points.front().y);
        for (std::size_t k = 1; k < points.size(); ++k) {
            bits.bitDoubleDefault(points[k].x, points[k - 1].x);
            bits.bitDoubleDefault(points[k].y, points[k - 1].y);
        }
        PutU32(body_, static_cast<std::uint32_t>(bits.bytes().size()));
        body_ += bits.bytes();
        finish(kLwPolyline);
    }

    void text(const Point3& position, double height, const std::string& gbk) {
        point(position);
        point({0.0, 0.0, 1.0});
        point({1.0, 0.0, 0.0});
        PutF64(body_, height);
        PutF64(body_, 1.0);  // width factor
        PutF64(body_, 0.0);  // oblique angle
        body_ += Utf8ToUtf16(platform::GbkToUtf8(gbk));
        body_ += std::string(2, '\0');
        finish(kUnicodeText);
    }

    void layer(int index) {
        PutU32(body_, static_cast<std::uint32_t>(index));
        finish(kLayer);
    }

  private:
    void point(const Point3& p) {
        PutF64(body_, p.x);
        PutF64(body_, p.y);
        PutF64(body_, p.z);
    }

    // Ends the primitive being built: its size and type, then its body padded to 4 bytes.
    void finish(std::uint32_t type) {
        while (body_.size() % 4 != 0) body_ += '\0';
        PutU32(graphics_, static_cast<std::uint32_t>(body_.size() + 8));
        PutU32(graphics_, type);
        graphics_ += body_;
        body_.clear();
        ++count_;
    }

    std::string body_;
    std::string graphics_;
    std::uint32_t count_ = 0;
};

}  // namespace

std::string EncodeProxyGraphics(const std::vector<std::unique_ptr<Entity>>& parts,
                                const std::function<int(const std::string&)>& layerIndex) {
    Encoder encoder;
    std::string layer = "0";
    for (const auto& part : parts) {
        const bool drawable = dynamic_cast<const Polyline*>(part.get()) != nullptr ||
                              dynamic_cast<const Line*>(part.get()) != nullptr ||
                              dynamic_cast<const Text*>(part.get()) != nullptr ||
                              dynamic_cast<const MText*>(part.get()) != nullptr;
        if (!drawable) continue;
        if (part->layer() != layer) {
            const int index = layerIndex(part->layer());
            if (index >= 0) {
                encoder.layer(index);
                layer = part->layer();
            }
        }
        if (const auto* polyline = dynamic_cast<const Polyline*>(part.get())) {
            const std::vector<Point3>& points = polyline->points();
            const bool flat = !points.empty() &&
                              std::all_of(points.begin(), points.end(),
                                          [&](const Point3& p) { return p.z == points.front().z; });
            if (flat && polyline->className() == "AcDbPolyline") {
                encoder.lwPolyline(points);
            } else {
                encoder.polyline(points);
            }
        } else if (const auto* line = dynamic_cast<const Line*>(part.get())) {
            encoder.polyline({line->startPoint(), line->endPoint()});
        } else if (const auto* text = dynamic_cast<const Text*>(part.get())) {
            encoder.text(text->position(), text->height(), text->textString());
        } else if (const auto* mtext = dynamic_cast<const MText*>(part.get())) {
            encoder.text(mtext->location(), mtext->textHeight(), mtext->contents());
        }
    }
    return encoder.result();
}

}  // namespace velmarin::host::sim::dxf
