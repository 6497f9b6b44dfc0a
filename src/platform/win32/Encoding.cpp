#include "platform/Encoding.h"

#include <windows.h>

namespace velmarin::platform {
namespace {

constexpr UINT kGbk = 936;

std::wstring Widen(const std::string& text, UINT codePage, DWORD flags, bool& ok) {
    ok = true;
    if (text.empty()) return {};
    const int length = MultiByteToWideChar(codePage, flags, text.data(),
                                           static_cast<int>(text.size()), nullptr, 0);
    if (length <= 0) {
        ok = false;
        return {};
    }
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    MultiByteToWideChar(codePage, flags, text.data(), static_cast<int>(text.size()), wide.data(),
                        length);
    return wide;
}

std::string Narrow(const std::wstring& wide, UINT codePage) {
    if (wide.empty()) return {};
    const char* fallback = codePage == CP_UTF8 ? nullptr : "?";
    const int length = WideCharToMultiByte(codePage, 0, wide.data(), static_cast<int>(wide.size()),
                                           nullptr, 0, fallback, nullptr);
    std::string text(static_cast<std::size_t>(length > 0 ? length : 0), '\0');
    WideCharToMultiByte(codePage, 0, wide.data(), static_cast<int>(wide.size()), text.data(),
                        length, fallback, nullptr);
    return text;
}

}  // namespace

std::string GbkToUtf8(const std::string& gbk) {
    bool ok = false;
    return Narrow(Widen(gbk, kGbk, 0, ok), CP_UTF8);
}

bool IsValidUtf8(const std::string& text) {
    bool ok = false;
    Widen(text, CP_UTF8, MB_ERR_INVALID_CHARS, ok);
    return ok;
}

bool Utf8ToGbk(const std::string& utf8, std::string& gbk) {
    bool ok = false;
    const std::wstring wide = Widen(utf8, CP_UTF8, MB_ERR_INVALID_CHARS, ok);
    if (!ok) return false;
    gbk = Narrow(wide, kGbk);
    return true;
}

bool CodePageToUtf8(int codePage, const std::string& bytes, std::string& utf8) {
    const UINT page = static_cast<UINT>(codePage);
    if (codePage <= 0 || !IsValidCodePage(page)) return false;
    bool ok = false;
    utf8 = Narrow(Widen(bytes, page, 0, ok), CP_UTF8);  // undefined bytes become U+FFFD
    return true;
}

bool Utf8ToCodePage(int codePage, const std::string& utf8, std::string& bytes) {
    const UINT page = static_cast<UINT>(codePage);
    if (codePage <= 0 || !IsValidCodePage(page)) return false;
    bool ok = false;
    const std::wstring wide = Widen(utf8, CP_UTF8, MB_ERR_INVALID_CHARS, ok);
    if (!ok) return false;
    if (wide.empty()) {
        bytes.clear();
        return true;
    }
    BOOL usedDefault = FALSE;
    const int length =
        WideCharToMultiByte(page, WC_NO_BEST_FIT_CHARS, wide.data(), static_cast<int>(wide.size()),
                            nullptr, 0, nullptr, &usedDefault);
    if (length <= 0 || usedDefault) return false;
    std::string out(static_cast<std::size_t>(length), '\0');
    WideCharToMultiByte(page, WC_NO_BEST_FIT_CHARS, wide.data(), static_cast<int>(wide.size()),
                        out.data(), length, nullptr, &usedDefault);
    if (usedDefault) return false;
    bytes = std::move(out);
    return true;
}

}  // namespace velmarin::platform
