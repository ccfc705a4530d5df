// The translation library: Simplified <-> Traditional Chinese on UTF-8 text,
// phrase by phrase in the Taiwan standard (OpenCC's s2twp and tw2sp). The
// converters are built once and shared by every call, since building one
// reads its dictionaries from disk.
#include "lang/ZblanguageApi.h"

#include <opencc/opencc.h>

#include <cstdio>
#include <cstring>
#include <memory>
#include <string>

namespace {

constexpr const char* kToTraditional = "s2twp.json";
constexpr const char* kToSimplified = "tw2sp.json";

std::unique_ptr<opencc::SimpleConverter> Make(const char* config) {
    try {
        return std::make_unique<opencc::SimpleConverter>(config);
    } catch (const std::exception&) {
        // Missing or damaged conversion data: every conversion then reports
        // failure instead of handing back the text as if it were converted.
        return nullptr;
    }
}

const opencc::SimpleConverter* ToTraditional() {
    static const std::unique_ptr<opencc::SimpleConverter> c = Make(kToTraditional);
    return c.get();
}

const opencc::SimpleConverter* ToSimplified() {
    static const std::unique_ptr<opencc::SimpleConverter> c = Make(kToSimplified);
    return c.get();
}

// Length of the well-formed UTF-8 character at p (no overlong forms, no
// surrogates, nothing above U+10FFFF), 0 when there is none. NUL counts as
// none: the converter reads its input as C text in places.
size_t CharLength(const unsigned char* p, size_t left) {
    const unsigned char c = p[0];
    if (c == 0) return 0;
    if (c < 0x80) return 1;
    size_t n;
    unsigned char lo = 0x80, hi = 0xBF;
    if (c >= 0xC2 && c <= 0xDF) n = 2;
    else if (c >= 0xE0 && c <= 0xEF) {
        n = 3;
        if (c == 0xE0) lo = 0xA0;
        if (c == 0xED) hi = 0x9F;
    } else if (c >= 0xF0 && c <= 0xF4) {
        n = 4;
        if (c == 0xF0) lo = 0x90;
        if (c == 0xF4) hi = 0x8F;
    } else
        return 0;
    if (left < n) return 0;
    if (p[1] < lo || p[1] > hi) return 0;
    for (size_t i = 2; i < n; ++i)
        if (p[i] < 0x80 || p[i] > 0xBF) return 0;
    return n;
}

// The converter walks its input by the lengths the lead bytes announce, so it
// only ever sees well-formed runs; anything else is copied as it is.
std::string ConvertText(const opencc::SimpleConverter& converter, const char* text, size_t length) {
    std::string out;
    out.reserve(length + length / 4);
    const auto* p = reinterpret_cast<const unsigned char*>(text);
    size_t i = 0;
    while (i < length) {
        size_t end = i;
        while (end < length) {
            size_t n = CharLength(p + end, length - end);
            if (n == 0) break;
            end += n;
        }
        if (end > i) {
            out += converter.Convert(text + i, end - i);
            i = end;
        } else {
            out += text[i++];
        }
    }
    return out;
}

size_t Convert(const opencc::SimpleConverter* converter, const char* text, size_t length, char* out, size_t capacity) {
    if (!converter || (!text && length)) return ZB_CONVERT_FAILED;
    try {
        const std::string result = length ? ConvertText(*converter, text, length) : std::string();
        if (result.size() == ZB_CONVERT_FAILED) return ZB_CONVERT_FAILED;
        if (out && result.size() <= capacity) std::memcpy(out, result.data(), result.size());
        return result.size();
    } catch (const std::exception&) {
        // No exception may cross into a caller that is not C++.
        return ZB_CONVERT_FAILED;
    }
}

}  // namespace

extern "C" {

__attribute__((visibility("default"))) size_t GBtoBIG5(const char* text, size_t length, char* out, size_t capacity) {
    return Convert(ToTraditional(), text, length, out, capacity);
}

__attribute__((visibility("default"))) size_t BIG5toGB(const char* text, size_t length, char* out, size_t capacity) {
    return Convert(ToSimplified(), text, length, out, capacity);
}

__attribute__((visibility("default"))) int GetBIG5Data(void) { return ToTraditional() ? 1 : 0; }

__attribute__((visibility("default"))) int GetGBData(void) { return ToSimplified() ? 1 : 0; }

__attribute__((visibility("default"))) int SaveOrder(const char* fileName) {
    if (!fileName || !*fileName) return 0;
    std::FILE* f = std::fopen(fileName, "wb");
    if (!f) return 0;
    const bool ok = std::fprintf(f, "GBtoBIG5=%s\nBIG5toGB=%s\n", kToTraditional, kToSimplified) > 0;
    return std::fclose(f) == 0 && ok ? 1 : 0;
}

}  // extern "C"
