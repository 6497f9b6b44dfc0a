#include "platform/Encoding.h"

#include <iconv.h>

#include <cerrno>
#include <cstddef>
#include <map>
#include <memory>

namespace velmarin::platform {
namespace {

constexpr char kReplacement[] = "\xEF\xBF\xBD";  // U+FFFD in UTF-8

// One conversion descriptor per direction and thread, opened on first use: opening one costs
// far more than converting a short text.
class Converter {
  public:
    Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
    ~Converter() {
        if (ok()) iconv_close(cd_);
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    bool ok() const { return cd_ != reinterpret_cast<iconv_t>(-1); }

    // Converts as much of [in, in + size) as it can, appending to `out`. Returns 0 when all of
    // it was converted, else the errno that stopped it (EILSEQ, EINVAL) with `in`/`size` left
    // at the offending byte.
    int convert(const char*& in, std::size_t& size, std::string& out) {
        char buffer[1024];
        iconv(cd_, nullptr, nullptr, nullptr, nullptr);  // back to the initial state
        while (size > 0) {
            char* source = const_cast<char*>(in);
            char* target = buffer;
            std::size_t room = sizeof buffer;
            const std::size_t result = iconv(cd_, &source, &size, &target, &room);
            const int error = result == static_cast<std::size_t>(-1) ? errno : 0;
            out.append(buffer, static_cast<std::size_t>(target - buffer));
            in = source;
            if (error == E2BIG) continue;
            if (error != 0) return error;
        }
        return 0;
    }

  private:
    iconv_t cd_;
};

Converter& gbkToUtf8() {
    thread_local Converter converter("UTF-8", "GBK");
    return converter;
}

Converter& utf8ToGbk() {
    thread_local Converter converter("GBK", "UTF-8");
    return converter;
}

// Length of the UTF-8 sequence at `text[i]` when it is well formed (no overlong forms, no
// surrogates, nothing above U+10FFFF), else 0.
std::size_t Utf8SequenceLength(const std::string& text, std::size_t i) {
    const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[k]); };
    const unsigned char lead = byte(i);
    if (lead < 0x80) return 1;
    std::size_t length = 0;
    unsigned char low = 0x80;
    unsigned char high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        if (lead == 0xE0) low = 0xA0;   // overlong
        if (lead == 0xED) high = 0x9F;  // surrogates
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        if (lead == 0xF0) low = 0x90;   // overlong
        if (lead == 0xF4) high = 0x8F;  // above U+10FFFF
    } else {
        return 0;
    }
    if (i + length > text.size()) return 0;
    if (byte(i + 1) < low || byte(i + 1) > high) return 0;
    for (std::size_t k = 2; k < length; ++k) {
        if (byte(i + k) < 0x80 || byte(i + k) > 0xBF) return 0;
    }
    return length;
}

}  // namespace

bool IsValidUtf8(const std::string& text) {
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t length = Utf8SequenceLength(text, i);
        if (length == 0) return false;
        i += length;
    }
    return true;
}

std::string GbkToUtf8(const std::string& gbk) {
    std::string out;
    out.reserve(gbk.size() + gbk.size() / 2);
    Converter& converter = gbkToUtf8();
    if (!converter.ok()) {
        // Without a converter only ASCII survives; everything else is marked as unreadable.
        for (unsigned char c : gbk)
            out += c < 0x80 ? std::string(1, static_cast<char>(c)) : kReplacement;
        return out;
    }
    const char* in = gbk.data();
    std::size_t size = gbk.size();
    while (size > 0) {
        const int error = converter.convert(in, size, out);
        if (error == 0) break;
        out += kReplacement;
        if (error == EINVAL) break;  // a lead byte cut off at the end
        // Skip only the offending byte: a lead byte followed by an ASCII byte keeps that byte.
        ++in;
        --size;
    }
    return out;
}

bool Utf8ToGbk(const std::string& utf8, std::string& gbk) {
    if (!IsValidUtf8(utf8)) return false;
    std::string out;
    out.reserve(utf8.size());
    Converter& converter = utf8ToGbk();
    const char* in = utf8.data();
    std::size_t size = utf8.size();
    while (size > 0) {
        const int error = converter.ok() ? converter.convert(in, size, out) : EILSEQ;
        if (error == 0) break;
        // The input is well formed, so this is a character GBK lacks: one '?' for all of it.
        const std::size_t offset = static_cast<std::size_t>(in - utf8.data());
        std::size_t length = Utf8SequenceLength(utf8, offset);
        if (length == 0) length = 1;
        if (!converter.ok() && static_cast<unsigned char>(*in) < 0x80) {
            out += *in;
        } else {
            out += '?';
        }
        in += length;
        size -= length;
    }
    gbk = std::move(out);
    return true;
}

namespace {

// iconv's name of a Windows code page.
std::string IconvName(int codePage) {
    if (codePage == 1361) return "JOHAB";
    if (codePage == 20127) return "ASCII";
    return "CP" + std::to_string(codePage);
}

// Converters to and from the code pages met so far, per thread; null where iconv lacks one.
Converter* CodePageConverter(int codePage, bool toUtf8) {
    thread_local std::map<std::pair<int, bool>, std::unique_ptr<Converter>> converters;
    auto& slot = converters[{codePage, toUtf8}];
    if (!slot) {
        const std::string name = IconvName(codePage);
        slot = toUtf8 ? std::make_unique<Converter>("UTF-8", name.c_str())
                      : std::make_unique<Converter>(name.c_str(), "UTF-8");
    }
    return slot->ok() ? slot.get() : nullptr;
}

}  // namespace

bool CodePageToUtf8(int codePage, const std::string& bytes, std::string& utf8) {
    Converter* converter = CodePageConverter(codePage, true);
    if (converter == nullptr) return false;
    std::string out;
    out.reserve(bytes.size() + bytes.size() / 2);
    const char* in = bytes.data();
    std::size_t size = bytes.size();
    while (size > 0) {
        const int error = converter->convert(in, size, out);
        if (error == 0) break;
        out += kReplacement;
        if (error == EINVAL) break;
        ++in;
        --size;
    }
    utf8 = std::move(out);
    return true;
}

bool Utf8ToCodePage(int codePage, const std::string& utf8, std::string& bytes) {
    if (!IsValidUtf8(utf8)) return false;
    Converter* converter = CodePageConverter(codePage, false);
    if (converter == nullptr) return false;
    std::string out;
    const char* in = utf8.data();
    std::size_t size = utf8.size();
    if (converter->convert(in, size, out) != 0) return false;
    bytes = std::move(out);
    return true;
}

}  // namespace velmarin::platform
