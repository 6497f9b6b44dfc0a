// Proxy graphics: the primitives a BOM table's proxy leaves behind become the parts the host's
// explode gives; the emulator's parts written back read back the same; a damaged record is
// skipped and damaged framing keeps what came before the damage.

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>

#include "DxfSupport.h"
#include "host/sim/dxf/ProxyGraphics.h"
#include "host/sim/database/SimEntities.h"

namespace velmarin::dxftest {
namespace {

using host::Entity;
using host::MText;
using host::Point3;
using host::Polyline;
using host::sim::dxf::DecodeProxyGraphics;
using host::sim::dxf::EncodeProxyGraphics;
using host::sim::dxf::ProxyGraphicsContext;
using host::sim::dxf::TextCodec;

// Primitives as the graphics store them.
class Graphics {
  public:
    static std::string U32(std::uint32_t v) {
        std::string s;
        for (int k = 0; k < 4; ++k) s += static_cast<char>(v >> (8 * k));
        return s;
    }
    static std::string F64(double d) {
        std::uint64_t bits = 0;
        std::memcpy(&bits, &d, 8);
        std::string s;
        for (int k = 0; k < 8; ++k) s += static_cast<char>(bits >> (8 * k));
        return s;
    }
    static std::string Point(double x, double y, double z = 0.0) {
        return F64(x) + F64(y) + F64(z);
    }
    static std::string Padded(std::string s, std::size_t zeros) {
        s.append(zeros, '\0');
        while (s.size() % 4 != 0) s += '\0';
        return s;
    }

    Graphics& add(std::uint32_t type, const std::string& body) {
        return raw(U32(static_cast<std::uint32_t>(body.size() + 8)) + U32(type) + body);
    }
    // Bytes standing where a primitive belongs, whatever they say.
    Graphics& raw(const std::string& bytes) {
        body_ += bytes;
        ++count_;
        return *this;
    }
    std::string bytes() const {
        return U32(static_cast<std::uint32_t>(body_.size() + 8)) + U32(count_) + body_;
    }

  private:
    std::string body_;
    std::uint32_t count_ = 0;
};

// The bit stream of a lightweight polyline primitive, most significant bit first.
class Bits {
  public:
    Bits& put(std::uint64_t value, int count) {
        for (int k = count - 1; k >= 0; --k) bits_.push_back(((value >> k) & 1) != 0);
        return *this;
    }
    Bits& byte(unsigned value) { return put(value, 8); }
    Bits& raw(double d) {
        std::uint64_t v = 0;
        std::memcpy(&v, &d, 8);
        for (int k = 0; k < 8; ++k) byte(static_cast<unsigned>((v >> (8 * k)) & 0xFF));
        return *this;
    }
    std::string bytes() const {
        std::string out((bits_.size() + 7) / 8, '\0');
        for (std::size_t i = 0; i < bits_.size(); ++i) {
            if (bits_[i]) out[i / 8] = static_cast<char>(out[i / 8] | (0x80 >> (i % 8)));
        }
        return out;
    }

  private:
    std::vector<bool> bits_;
};

std::vector<Point3> PointsOf(const Entity& entity) {
    const auto* polyline = dynamic_cast<const Polyline*>(&entity);
    return polyline != nullptr ? polyline->points() : std::vector<Point3>{};
}

void ExpectPoints(const Entity& entity, const std::vector<Point3>& expected) {
    const std::vector<Point3> points = PointsOf(entity);
    ASSERT_EQ(points.size(), expected.size()) << entity.className();
    for (std::size_t k = 0; k < points.size(); ++k) {
        EXPECT_DOUBLE_EQ(points[k].x, expected[k].x) << k;
        EXPECT_DOUBLE_EQ(points[k].y, expected[k].y) << k;
        EXPECT_DOUBLE_EQ(points[k].z, expected[k].z) << k;
    }
}

const MText& AsMText(const Entity& entity) {
    const auto* mtext = dynamic_cast<const MText*>(&entity);
    EXPECT_NE(mtext, nullptr) << entity.className();
    static const host::sim::SimMText none;
    return mtext != nullptr ? *mtext : none;
}

TEST(DxfProxyGraphics, PartsWrittenReadBackTheSame) {
    std::vector<std::unique_ptr<Entity>> parts;
    auto grid = std::make_unique<host::sim::SimPolyline>();
    grid->setPoints({{0, 0, 0}, {40, 0, 0}, {40, 24, 0}, {0, 24, 0}, {0, 0, 0}});
    parts.push_back(std::move(grid));
    auto title = std::make_unique<host::sim::SimMText>();
    title->setContents(G("\\P序号"));
    title->setLocation({1.5, 1, 0});
    title->setTextHeight(3.5);
    title->setLayer(G("明细层"));
    parts.push_back(std::move(title));
    auto rule = std::make_unique<host::sim::SimLine>();
    rule->setPoints({0, 8, 0}, {40, 8, 0});
    parts.push_back(std::move(rule));
    auto single = std::make_unique<host::sim::SimText>();
    single->setTextString("x");
    single->setPosition({32, 10, 0});
    parts.push_back(std::move(single));

    const std::vector<std::string> layers = {"0", "Frame", G("明细层")};
    const std::string data = EncodeProxyGraphics(parts, [&](const std::string& name) {
        for (std::size_t k = 0; k < layers.size(); ++k) {
            if (layers[k] == name) return static_cast<int>(k);
        }
        return -1;
    });
    ProxyGraphicsContext context;
    context.layers = &layers;
    const auto read = DecodeProxyGraphics(data, context);
    ASSERT_EQ(read.size(), 4u);
    ExpectPoints(*read[0], {{0, 0, 0}, {40, 0, 0}, {40, 24, 0}, {0, 24, 0}, {0, 0, 0}});
    EXPECT_EQ(read[0]->layer(), "0");
    EXPECT_EQ(AsMText(*read[1]).contents(), G("\\P序号"));
    EXPECT_DOUBLE_EQ(AsMText(*read[1]).location().x, 1.5);
    EXPECT_DOUBLE_EQ(AsMText(*read[1]).textHeight(), 3.5);
    EXPECT_EQ(read[1]->layer(), G("明细层"));
    // A line is drawn as a two-point polyline, a single-line text as a text primitive: they
    // come back as what the host's explode gives for such primitives.
    ExpectPoints(*read[2], {{0, 8, 0}, {40, 8, 0}});
    EXPECT_EQ(read[2]->className(), "AcDbPolyline");
    EXPECT_EQ(read[2]->layer(), "0");  // each part keeps its own layer
    EXPECT_EQ(AsMText(*read[3]).contents(), "x");
}

TEST(DxfProxyGraphics, EveryPolylineAndTextPrimitiveBecomesAPart) {
    const std::string gbkName = G("序号");
    Graphics graphics;
    graphics
        .add(2, Graphics::Point(5, 5) + Graphics::F64(1) + Graphics::Point(0, 0, 1))  // circle
        .add(7, Graphics::U32(3) + Graphics::Point(0, 0) + Graphics::Point(4, 0) +
                    Graphics::Point(4, 3))  // polygon
        .add(32, Graphics::U32(2) + Graphics::Point(1, 1, 2) + Graphics::Point(2, 2, 2) +
                     Graphics::Point(0, 0, 1))  // with its normal last
        .add(10, Graphics::Point(7, 8) + Graphics::Point(0, 0, 1) + Graphics::Point(1, 0) +
                     Graphics::F64(2.5) + Graphics::F64(1) + Graphics::F64(0) +
                     Graphics::Padded(gbkName, 1))
        .add(11, Graphics::Point(9, 10) + Graphics::Point(0, 0, 1) + Graphics::Point(1, 0) +
                     Graphics::Padded("AB", 1) + Graphics::U32(2) + Graphics::U32(0) +
                     Graphics::F64(4) + Graphics::F64(1) + Graphics::F64(0) + Graphics::F64(0))
        .add(38, Graphics::Point(11, 12) + Graphics::Point(0, 0, 1) + Graphics::Point(1, 0) +
                     Graphics::Padded(std::string("\x8F\x5E\xF7\x53", 4), 2) + Graphics::U32(2) +
                     Graphics::U32(0) + Graphics::F64(5));
    ProxyGraphicsContext context;  // GBK drawing
    const auto parts = DecodeProxyGraphics(graphics.bytes(), context);
    ASSERT_EQ(parts.size(), 5u);
    ExpectPoints(*parts[0], {{0, 0, 0}, {4, 0, 0}, {4, 3, 0}});
    ExpectPoints(*parts[1], {{1, 1, 2}, {2, 2, 2}});
    EXPECT_EQ(AsMText(*parts[2]).contents(), gbkName);
    EXPECT_DOUBLE_EQ(AsMText(*parts[2]).location().y, 8);
    EXPECT_EQ(AsMText(*parts[3]).contents(), "AB");
    EXPECT_DOUBLE_EQ(AsMText(*parts[3]).textHeight(), 4);
    EXPECT_EQ(AsMText(*parts[4]).contents(), G("序号"));  // U+5E8F U+53F7 in UTF-16
    EXPECT_DOUBLE_EQ(AsMText(*parts[4]).textHeight(), 5);
}

// A lightweight polyline record: the byte count of the bit-coded fields, then the fields.
std::string LwRecord(const Bits& bits) {
    const std::string fields = bits.bytes();
    return Graphics::Padded(Graphics::U32(static_cast<std::uint32_t>(fields.size())) + fields, 0);
}

TEST(DxfProxyGraphics, LightweightPolylineRecord) {
    // Flags 8 (elevation), elevation 2.5, three points: (10, 20), then x unchanged and y
    // given whole, then x changed in its low four bytes and y unchanged.
    const double x2 = 10.000000000000002;  // differs from 10 in the low bytes only
    std::uint64_t x2bits = 0;
    std::memcpy(&x2bits, &x2, 8);
    Bits elevated;
    elevated.put(1, 2).byte(8);            // BS flags, as one byte
    elevated.put(0, 2).raw(2.5);           // BD elevation
    elevated.put(1, 2).byte(3);            // BL point count
    elevated.raw(10).raw(20);              // first point
    elevated.put(0, 2).put(3, 2).raw(30);  // (10, 30)
    elevated.put(1, 2);                    // x: low four bytes follow
    for (int k = 0; k < 4; ++k) elevated.byte(static_cast<unsigned>((x2bits >> (8 * k)) & 0xFF));
    elevated.put(0, 2);  // y unchanged

    // Flags 1024 | 16 | 32 (vertex ids, bulges, widths) with their counts, in a 2010 file.
    Bits counted;
    counted.put(0, 2).byte(0x30).byte(0x04);  // BS flags as two bytes: 0x0430
    counted.put(1, 2).byte(2);                // two points
    counted.put(2, 2).put(2, 2).put(2, 2);    // no bulges, ids or widths after all
    counted.raw(1).raw(2).put(3, 2).raw(5).put(0, 2);
    // Flags 0 in a 2010 file: no vertex-id count.
    Bits plain;
    plain.put(2, 2).put(1, 2).byte(1).raw(1).raw(2);
    // Flag 1 (normal) with the normal of a mirrored polyline: the points are its own.
    Bits mirrored;
    mirrored.put(1, 2).byte(1).put(2, 2).put(2, 2).put(0, 2).raw(-1);
    mirrored.put(1, 2).byte(2).raw(3).raw(4).put(3, 2).raw(7).put(0, 2);

    struct Case {
        const char* what;
        const Bits& bits;
        bool format2010;
        std::vector<Point3> points;
    };
    const Case cases[] = {
        {"elevated", elevated, false, {{10, 20, 2.5}, {10, 30, 2.5}, {x2, 30, 2.5}}},
        {"counted", counted, true, {{1, 2, 0}, {5, 2, 0}}},
        {"plain", plain, true, {{1, 2, 0}}},
        {"mirrored", mirrored, false, {{-3, 4, 0}, {-7, 4, 0}}},
    };
    for (const Case& c : cases) {
        Graphics graphics;
        graphics.add(33, LwRecord(c.bits));
        ProxyGraphicsContext context;
        context.format2010 = c.format2010;
        const auto parts = DecodeProxyGraphics(graphics.bytes(), context);
        ASSERT_EQ(parts.size(), 1u) << c.what;
        ExpectPoints(*parts[0], c.points);
    }
}

TEST(DxfProxyGraphics, MatricesAndLayersApplyToWhatFollows) {
    std::string matrix;
    const double values[16] = {1, 0, 0, 100, 0, 1, 0, 200, 0, 0, 1, 0, 0, 0, 0, 1};
    for (double v : values) matrix += Graphics::F64(v);
    Graphics graphics;
    graphics.add(16, Graphics::U32(1))
        .add(29, matrix)
        .add(6, Graphics::U32(1) + Graphics::Point(1, 2))
        .add(31, "")
        .add(16, Graphics::U32(7))  // no such layer: the layer stays
        .add(6, Graphics::U32(1) + Graphics::Point(1, 2));
    const std::vector<std::string> layers = {"0", "Grid"};
    ProxyGraphicsContext context;
    context.layers = &layers;
    const auto parts = DecodeProxyGraphics(graphics.bytes(), context);
    ASSERT_EQ(parts.size(), 2u);
    ExpectPoints(*parts[0], {{101, 202, 0}});
    ExpectPoints(*parts[1], {{1, 2, 0}});
    EXPECT_EQ(parts[0]->layer(), "Grid");
    EXPECT_EQ(parts[1]->layer(), "Grid");
}

TEST(DxfProxyGraphics, DamagedDataKeepsThePartsBeforeTheDamage) {
    const std::string good = Graphics::U32(2) + Graphics::Point(0, 0) + Graphics::Point(1, 1);
    const auto withTail = [&](const std::string& tail) {
        Graphics graphics;
        graphics.add(6, good).raw(tail);
        return graphics.bytes();
    };
    struct Case {
        const char* what;
        std::string data;
        std::size_t parts;
    };
    const Case cases[] = {
        {"nothing", "", 0},
        {"a header only", Graphics::U32(8) + Graphics::U32(0), 0},
        {"a primitive larger than the data",
         withTail(Graphics::U32(4000) + Graphics::U32(6) + Graphics::U32(1)), 1},
        {"a primitive smaller than its head",
         withTail(Graphics::U32(4) + Graphics::U32(6) + Graphics::U32(1)), 1},
        {"a point count beyond the data",
         withTail(Graphics::U32(12) + Graphics::U32(6) + Graphics::U32(0x7FFFFFFF)), 1},
        {"a text without its terminating zero",
         withTail(Graphics::U32(8 + 96 + 4) + Graphics::U32(10) + std::string(96, '\0') + "abcd"),
         1},
        {"a lightweight polyline cut short",
         withTail(Graphics::U32(12) + Graphics::U32(33) + std::string("\x40\x01\x00\x00", 4)), 1},
        {"a truncated head", withTail(Graphics::U32(20)), 1},
        // A record that cannot be decoded is skipped by its size; the next one still counts.
        {"an undecodable record before a good one",
         withTail(Graphics::U32(12) + Graphics::U32(6) + Graphics::U32(0x7FFFFFFF) +
                  Graphics::U32(8 + static_cast<std::uint32_t>(good.size())) + Graphics::U32(6) +
                  good),
         2},
        {"a lightweight polyline with a byte count beyond its record",
         withTail(Graphics::U32(16) + Graphics::U32(33) + Graphics::U32(4000) +
                  Graphics::U32(0) + Graphics::U32(8 + static_cast<std::uint32_t>(good.size())) +
                  Graphics::U32(6) + good),
         2},
    };
    for (const Case& c : cases) {
        const auto parts = DecodeProxyGraphics(c.data, ProxyGraphicsContext{});
        EXPECT_EQ(parts.size(), c.parts) << c.what;
    }
    // The graphics' own size says less than the data holds: the rest is not read.
    Graphics two;
    two.add(6, good).add(6, good);
    std::string bytes = two.bytes();
    const std::string shorter = Graphics::U32(8 + 8 + static_cast<std::uint32_t>(good.size()));
    bytes.replace(0, 4, shorter);
    EXPECT_EQ(DecodeProxyGraphics(bytes, ProxyGraphicsContext{}).size(), 1u);
}

}  // namespace
}  // namespace velmarin::dxftest
