// Decoding proxy graphics into the parts of a proxy entity (ProxyGraphics.h).

#include <cstdint>

#include "host/sim/database/SimEntities.h"
#include "host/sim/dxf/Ocs.h"
#include "host/sim/dxf/ProxyGraphics.h"
#include "host/sim/dxf/ProxyRecords.h"

namespace velmarin::host::sim::dxf {
namespace {

using namespace proxy;

// Aligned little-endian reads with bounds checks: a read past the end fails and stays failed.
class ByteReader {
  public:
    explicit ByteReader(std::string_view data) : data_(data) {}
    bool ok() const { return ok_; }
    std::size_t remaining() const { return ok_ ? data_.size() - pos_ : 0; }

    std::uint32_t u32() { return static_cast<std::uint32_t>(take(4)); }
    double f64() { return DoubleOf(take(8)); }
    Point3 point() {
        Point3 p;
        p.x = f64();
        p.y = f64();
        p.z = f64();
        return p;
    }
    // A zero-terminated string of `unit`-byte characters, then padding to 4 bytes.
    std::string_view padded(std::size_t unit) {
        if (!ok_) return {};
        for (std::size_t end = pos_; end + unit <= data_.size(); end += unit) {
            bool zero = true;
            for (std::size_t k = 0; k < unit; ++k) zero = zero && data_[end + k] == '\0';
            if (!zero) continue;
            const std::string_view text = data_.substr(pos_, end - pos_);
            pos_ = (end + unit + 3) / 4 * 4;
            if (pos_ > data_.size()) pos_ = data_.size();
            return text;
        }
        ok_ = false;
        return {};
    }

  private:
    std::uint64_t take(std::size_t count) {
        if (!ok_ || data_.size() - pos_ < count) {
            ok_ = false;
            return 0;
        }
        const auto* bytes = reinterpret_cast<const unsigned char*>(data_.data() + pos_);
        pos_ += count;
        return LittleEndian(bytes, count);
    }

    std::string_view data_;
    std::size_t pos_ = 0;
    bool ok_ = true;
};

class Decoder {
  public:
    explicit Decoder(const ProxyGraphicsContext& context) : context_(context) {}

    std::vector<std::unique_ptr<Entity>> decode(std::string_view data) {
        if (data.size() < 8) return {};
        ByteReader header(data);
        const std::uint32_t total = header.u32();
        // The graphics' own size and the data given for them may disagree: trust the smaller.
        std::size_t end = data.size();
        if (total >= 8 && total < end) end = total;
        std::size_t pos = 8;
        while (pos + 8 <= end) {
            ByteReader head(data.substr(pos, 8));
            const std::uint32_t size = head.u32();
            const std::uint32_t type = head.u32();
            if (size < 8 || size > end - pos) break;  // no way to the next record
            // A record that cannot be decoded is skipped by its size: the rest still counts.
            primitive(type, data.substr(pos + 8, size - 8));
            pos += size;
        }
        return std::move(parts_);
    }

  private:
    // False when the primitive is damaged.
    bool primitive(std::uint32_t type, std::string_view body) {
        switch (type) {
            case kPolyline:
            case kPolygon:
                return polyline(body, false);
            case kPolylineWithNormals:
                return polyline(body, true);
            case kLwPolyline:
                return lwPolyline(body);
            case kText:
            case kText2:
                return text(body, 1, type == kText);
            case kUnicodeText:
            case kUnicodeText2:
                return text(body, 2, type == kUnicodeText);
            case kLayer:
                return layer(body);
            case kPushMatrix:
                return pushMatrix(body);
            case kPopMatrix:
                if (!matrices_.empty()) matrices_.pop_back();
                return true;
            default:
                return true;
        }
    }

    Point3 transformed(const Point3& p) const {
        if (matrices_.empty()) return p;
        const auto& m = matrices_.back();
        return {m[0] * p.x + m[1] * p.y + m[2] * p.z + m[3],
                m[4] * p.x + m[5] * p.y + m[6] * p.z + m[7],
                m[8] * p.x + m[9] * p.y + m[10] * p.z + m[11]};
    }

    void add(std::unique_ptr<Entity> part) {
        part->setLayer(layer_);
        parts_.push_back(std::move(part));
    }

    bool polyline(std::string_view body, bool withNormal) {
        ByteReader reader(body);
        const std::uint32_t count = reader.u32();
        const std::size_t stored = std::size_t{count} + (withNormal ? 1 : 0);
        if (!reader.ok() || count > reader.remaining() / kPointBytes ||
            stored > reader.remaining() / kPointBytes) {
            return false;
        }
        std::vector<Point3> points;
        points.reserve(count);
        for (std::uint32_t k = 0; k < count; ++k) points.push_back(transformed(reader.point()));
        auto part = std::make_unique<SimPolyline>();
        part->setPoints(std::move(points));
        add(std::move(part));
        return true;
    }

    // The record: the byte count of the bit-coded fields, then the fields as the drawing
    // format stores the entity (flags; width, elevation, thickness and normal as the flags say;
    // the counts of points, bulges, vertex ids (2010 format on, when flagged) and widths; the
    // points). What follows the points (bulges, ids, widths) is not needed.
    bool lwPolyline(std::string_view body) {
        ByteReader head(body);
        const std::uint32_t bytes = head.u32();
        if (!head.ok() || bytes > head.remaining()) return false;
        BitReader bits(body.substr(4, bytes));
        const int flags = bits.bitShort();
        double elevation = 0.0;
        Point3 normal{0.0, 0.0, 1.0};
        if (flags & kLwConstantWidth) bits.bitDouble();
        if (flags & kLwElevation) elevation = bits.bitDouble();
        if (flags & kLwThickness) bits.bitDouble();
        if (flags & kLwNormal) {
            normal.x = bits.bitDouble();
            normal.y = bits.bitDouble();
            normal.z = bits.bitDouble();
        }
        const long count = bits.bitLong();
        if (flags & kLwBulges) bits.bitLong();
        if (context_.format2010 && (flags & kLwVertexIds)) bits.bitLong();
        if (flags & kLwWidths) bits.bitLong();
        // Every point after the first takes at least four bits: a larger count is damage.
        if (!bits.ok() || count < 1 || static_cast<std::size_t>(count) > bits.remainingBits() / 4) {
            return false;
        }
        const ObjectCoordinates plane(normal);
        std::vector<Point3> points;
        double x = bits.rawDouble();
        double y = bits.rawDouble();
        points.push_back(transformed(plane.toWorld({x, y, elevation})));
        for (long k = 1; k < count && bits.ok(); ++k) {
            x = bits.bitDoubleDefault(x);
            y = bits.bitDoubleDefault(y);
            points.push_back(transformed(plane.toWorld({x, y, elevation})));
        }
        if (!bits.ok()) return false;
        auto part = std::make_unique<SimPolyline>();
        part->setPoints(std::move(points));
        add(std::move(part));
        return true;
    }

    // `unit`: bytes per character (1 for the code page, 2 for UTF-16). The first kind of text
    // primitive gives its height before the string, the second after it.
    bool text(std::string_view body, std::size_t unit, bool heightFirst) {
        ByteReader reader(body);
        const Point3 start = reader.point();
        reader.point();  // normal
        reader.point();  // direction
        double height = 0.0;
        if (heightFirst) {
            height = reader.f64();
            reader.f64();  // width factor
            reader.f64();  // oblique angle
        }
        const std::string_view stored = reader.padded(unit);
        if (!heightFirst) {
            reader.u32();  // length
            reader.u32();  // raw
            height = reader.f64();
        }
        if (!reader.ok()) return false;
        const std::string utf8 = unit == 2 ? Utf16ToUtf8(stored) : context_.codec.toUtf8(stored);
        auto part = std::make_unique<SimMText>();
        part->setContents(Utf8ToGbkKeepingEscapes(utf8));
        part->setLocation(transformed(start));
        if (height > 0.0) part->setTextHeight(height);
        add(std::move(part));
        return true;
    }

    bool layer(std::string_view body) {
        ByteReader reader(body);
        const std::uint32_t index = reader.u32();
        if (!reader.ok()) return false;
        if (context_.layers != nullptr && index < context_.layers->size()) {
            layer_ = (*context_.layers)[index];
        }
        return true;
    }

    bool pushMatrix(std::string_view body) {
        ByteReader reader(body);
        std::vector<double> m(16);
        for (double& value : m) value = reader.f64();
        if (!reader.ok()) return false;
        matrices_.push_back(std::move(m));
        return true;
    }

    const ProxyGraphicsContext& context_;
    std::vector<std::unique_ptr<Entity>> parts_;
    std::vector<std::vector<double>> matrices_;
    std::string layer_ = "0";
};

}  // namespace

std::vector<std::unique_ptr<Entity>> DecodeProxyGraphics(std::string_view data,
                                                         const ProxyGraphicsContext& context) {
    return Decoder(context).decode(data);
}

}  // namespace velmarin::host::sim::dxf
