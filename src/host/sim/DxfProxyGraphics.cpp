#include "host/sim/DxfProxyGraphics.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>

#include "host/sim/DxfOcs.h"
#include "platform/Encoding.h"

namespace velmarin::host::sim::dxf {
namespace {

enum Primitive : std::uint32_t {
    kPolyline = 6,
    kPolygon = 7,
    kText = 10,
    kText2 = 11,
    kLayer = 16,
    kPushMatrix = 29,
    kPopMatrix = 31,
    kPolylineWithNormals = 32,
    kLwPolyline = 33,
    kUnicodeText = 36,
    kUnicodeText2 = 38,
};

// The flags of a lightweight polyline record.
enum LwFlag : int {
    kLwNormal = 1,
    kLwThickness = 2,
    kLwConstantWidth = 4,
    kLwElevation = 8,
    kLwBulges = 16,
    kLwWidths = 32,
    kLwVertexIds = 1024,
};

constexpr std::size_t kPointBytes = 24;

std::uint64_t LittleEndian(const unsigned char* bytes, std::size_t count) {
    std::uint64_t value = 0;
    for (std::size_t k = count; k > 0; --k) value = (value << 8) | bytes[k - 1];
    return value;
}

double DoubleOf(std::uint64_t bits) {
    double value = 0.0;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

std::uint64_t BitsOf(double value) {
    std::uint64_t bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
}

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

// The bit-coded numbers of a lightweight polyline primitive (the drawing format's bit stream:
// most significant bit first, multi-byte values little-endian).
class BitReader {
  public:
    explicit BitReader(std::string_view data) : data_(data) {}
    bool ok() const { return ok_; }
    std::size_t remainingBits() const { return ok_ ? data_.size() * 8 - bit_ : 0; }

    unsigned bits(int count) {
        unsigned value = 0;
        for (int k = 0; k < count; ++k) {
            if (bit_ >= data_.size() * 8) {
                ok_ = false;
                return 0;
            }
            const unsigned char byte = static_cast<unsigned char>(data_[bit_ >> 3]);
            value = (value << 1) | ((byte >> (7 - (bit_ & 7))) & 1u);
            ++bit_;
        }
        return value;
    }
    std::uint64_t raw(std::size_t bytes) {
        unsigned char buffer[8] = {};
        for (std::size_t k = 0; k < bytes; ++k) buffer[k] = static_cast<unsigned char>(bits(8));
        return LittleEndian(buffer, bytes);
    }
    double rawDouble() { return DoubleOf(raw(8)); }
    int bitShort() {
        switch (bits(2)) {
            case 0:
                return static_cast<std::int16_t>(raw(2));
            case 1:
                return static_cast<int>(raw(1));
            case 2:
                return 0;
            default:
                return 256;
        }
    }
    long bitLong() {
        switch (bits(2)) {
            case 0:
                return static_cast<std::int32_t>(raw(4));
            case 1:
                return static_cast<long>(raw(1));
            default:
                return 0;
        }
    }
    double bitDouble() {
        switch (bits(2)) {
            case 0:
                return rawDouble();
            case 1:
                return 1.0;
            default:
                return 0.0;
        }
    }
    // A double given as a change of `previous`: unchanged, low four bytes, six bytes, or whole.
    double bitDoubleDefault(double previous) {
        unsigned char bytes[8];
        std::uint64_t value = BitsOf(previous);
        for (int k = 0; k < 8; ++k) bytes[k] = static_cast<unsigned char>(value >> (8 * k));
        switch (bits(2)) {
            case 0:
                return previous;
            case 1:
                for (int k = 0; k < 4; ++k) bytes[k] = static_cast<unsigned char>(bits(8));
                break;
            case 2:
                bytes[4] = static_cast<unsigned char>(bits(8));
                bytes[5] = static_cast<unsigned char>(bits(8));
                for (int k = 0; k < 4; ++k) bytes[k] = static_cast<unsigned char>(bits(8));
                break;
            default:
                return rawDouble();
        }
        return DoubleOf(LittleEndian(bytes, 8));
    }

  private:
    std::string_view data_;
    std::size_t bit_ = 0;
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
        auto part = std::make_unique<Polyline>();
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
        auto part = std::make_unique<Polyline>();
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
        auto part = std::make_unique<MText>();
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

// The writing side of BitReader.
class BitWriter {
  public:
    void bits(unsigned value, int count) {
        for (int k = count - 1; k >= 0; --k) {
            if (used_ % 8 == 0) bytes_ += '\0';
            if ((value >> k) & 1u) bytes_.back() = static_cast<char>(bytes_.back() | (0x80 >> (used_ % 8)));
            ++used_;
        }
    }
    void raw(std::uint64_t value, std::size_t bytes) {
        for (std::size_t k = 0; k < bytes; ++k) bits(static_cast<unsigned>((value >> (8 * k)) & 0xFF), 8);
    }
    void rawDouble(double value) { raw(BitsOf(value), 8); }
    void bitShort(int value) { compressed(value, 2); }
    void bitLong(long value) { compressed(value, 4); }
    void bitDouble(double value) {
        if (value == 0.0 && !std::signbit(value)) return bits(2, 2);
        if (value == 1.0) return bits(1, 2);
        bits(0, 2);
        rawDouble(value);
    }
    // Unchanged from `previous`, or given whole.
    void bitDoubleDefault(double value, double previous) {
        if (BitsOf(value) == BitsOf(previous)) return bits(0, 2);
        bits(3, 2);
        rawDouble(value);
    }
    const std::string& bytes() const { return bytes_; }

  private:
    // A bit-coded short or long: zero, one byte, or the whole `size` bytes.
    void compressed(long value, std::size_t size) {
        if (value == 0) return bits(2, 2);
        if (value > 0 && value < 256) {
            bits(1, 2);
            return raw(static_cast<std::uint64_t>(value), 1);
        }
        bits(0, 2);
        raw(static_cast<std::uint64_t>(value) & (size == 2 ? 0xFFFFu : 0xFFFFFFFFu), size);
    }

    std::string bytes_;
    std::size_t used_ = 0;
};

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

std::vector<std::unique_ptr<Entity>> DecodeProxyGraphics(std::string_view data,
                                                         const ProxyGraphicsContext& context) {
    return Decoder(context).decode(data);
}

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
                              std::all_of(points.begin(), points.end(), [&](const Point3& p) {
                                  return p.z == points.front().z;
                              });
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
