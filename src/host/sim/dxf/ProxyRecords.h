#pragma once
// The record layout of proxy graphics shared by the decoder and the encoder: the primitive types,
// the flags of a lightweight polyline record, and the bit stream in which that record's fields
// are coded as the drawing format stores the entity (most significant bit first, multi-byte
// values little-endian).

#include <cmath>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

namespace velmarin::host::sim::dxf::proxy {

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

inline std::uint64_t LittleEndian(const unsigned char* bytes, std::size_t count) {
    std::uint64_t value = 0;
    for (std::size_t k = count; k > 0; --k) value = (value << 8) | bytes[k - 1];
    return value;
}

inline double DoubleOf(std::uint64_t bits) {
    double value = 0.0;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

inline std::uint64_t BitsOf(double value) {
    std::uint64_t bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
}

// The bit-coded numbers of a lightweight polyline record.
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

// The writing side of BitReader.
class BitWriter {
  public:
    void bits(unsigned value, int count) {
        for (int k = count - 1; k >= 0; --k) {
            if (used_ % 8 == 0) bytes_ += '\0';
            if ((value >> k) & 1u)
                bytes_.back() = static_cast<char>(bytes_.back() | (0x80 >> (used_ % 8)));
            ++used_;
        }
    }
    void raw(std::uint64_t value, std::size_t bytes) {
        for (std::size_t k = 0; k < bytes; ++k)
            bits(static_cast<unsigned>((value >> (8 * k)) & 0xFF), 8);
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

}  // namespace velmarin::host::sim::dxf::proxy
