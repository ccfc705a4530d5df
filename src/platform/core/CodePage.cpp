// Code-page conversion through iconv, with descriptors kept per thread.
#include "platform/core/CodePage.h"

#include "platform/core/TextUtils.h"

#include <cerrno>
#include <charconv>
#include <cstdlib>
#include <iconv.h>
#include <map>
#include <utility>

namespace zb {

namespace {

const iconv_t kNoConverter = reinterpret_cast<iconv_t>(-1);

enum class Direction { Encode, Decode };

std::string CharsetOf(int codePage) { return "CP" + std::to_string(codePage); }

// Opening a descriptor costs far more than a conversion of a short text, and
// the forms convert many short texts; a thread's descriptors are its own, so
// no locking is needed. Failed opens are remembered too.
class ConverterCache {
public:
    ConverterCache() = default;
    ConverterCache(const ConverterCache&) = delete;
    ConverterCache& operator=(const ConverterCache&) = delete;
    ~ConverterCache() {
        for (auto& [key, cd] : converters_)
            if (cd != kNoConverter) iconv_close(cd);
    }

    iconv_t Get(int codePage, Direction dir) {
        auto key = std::make_pair(codePage, dir);
        if (auto it = converters_.find(key); it != converters_.end()) return it->second;
        std::string charset = CharsetOf(codePage);
        iconv_t cd = dir == Direction::Encode ? iconv_open(charset.c_str(), "UTF-8")
                                              : iconv_open("UTF-8", charset.c_str());
        converters_.emplace(key, cd);
        return cd;
    }

private:
    std::map<std::pair<int, Direction>, iconv_t> converters_;
};

iconv_t Converter(int codePage, Direction dir) {
    thread_local ConverterCache cache;
    return cache.Get(codePage, dir);
}

bool CanConvert(int codePage) {
    if (codePage == CP_UTF8) return true;
    if (codePage <= 0 || codePage > 65535) return false;  // code page numbers are 16-bit
    return Converter(codePage, Direction::Encode) != kNoConverter &&
           Converter(codePage, Direction::Decode) != kNoConverter;
}

// How many input bytes an unconvertible spot takes, so the conversion can
// put one "?" in their place and go on.
size_t EncodeSkip(std::string_view rest, int) {
    size_t n = 0;
    IsWellFormedUtf8At(rest, 0, n);
    return n == 0 ? 1 : n;
}

size_t DecodeSkip(std::string_view rest, int codePage) {
    // A lead byte followed by a byte that cannot be a trail byte goes alone,
    // so the ASCII character after it survives.
    if (rest.size() >= 2 && IsLeadByte(rest[0], codePage) && static_cast<unsigned char>(rest[1]) >= 0x40)
        return 2;
    return 1;
}

std::string Convert(iconv_t cd, std::string_view in, int codePage, size_t (*skip)(std::string_view, int)) {
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    std::string out(in.size() * 3 + 16, '\0');
    size_t used = 0;
    size_t pos = 0;
    while (pos < in.size()) {
        char* inp = const_cast<char*>(in.data() + pos);
        size_t inLeft = in.size() - pos;
        char* outp = out.data() + used;
        size_t outLeft = out.size() - used;
        size_t r = iconv(cd, &inp, &inLeft, &outp, &outLeft);
        int err = errno;
        pos = in.size() - inLeft;
        used = out.size() - outLeft;
        if (r != static_cast<size_t>(-1)) break;
        if (err == E2BIG || outLeft == 0) {
            out.resize(out.size() * 2);
            if (err == E2BIG) continue;
        }
        if (err != EILSEQ && err != EINVAL) break;  // nothing else can be recovered from
        out[used++] = '?';
        pos += std::min(skip(in.substr(pos), codePage), in.size() - pos);
        iconv(cd, nullptr, nullptr, nullptr, nullptr);
    }
    out.resize(used);
    return out;
}

// UTF-8 to UTF-8 still replaces malformed bytes: text read from outside
// must be well-formed once it is inside.
std::string SanitizeUtf8(std::string_view text) {
    if (IsValidUtf8(text)) return std::string(text);
    std::string out;
    out.reserve(text.size());
    for (size_t pos = 0, n = 0; pos < text.size(); pos += n) {
        if (IsWellFormedUtf8At(text, pos, n)) out.append(text.substr(pos, n));
        else out += '?';
    }
    return out;
}

// Code pages in which every ASCII character is its own single byte, so
// ASCII text needs no conversion at all.
bool KeepsAscii(int codePage) {
    switch (codePage) {
    case 437: case 932: case 936: case 949: case 950: case CP_UTF8: return true;
    default: return codePage >= 1250 && codePage <= 1258;
    }
}

bool IsAscii(std::string_view text) {
    for (char c : text)
        if (static_cast<unsigned char>(c) >= 0x80) return false;
    return true;
}

std::string_view LocaleFromEnvironment() {
    for (const char* name : {"LC_ALL", "LC_CTYPE", "LANG"}) {
        const char* value = std::getenv(name);
        if (value && *value) return value;
    }
    return {};
}

}  // namespace

int CodePageOfLocale(std::string_view locale) {
    // "zh_CN.UTF-8", "zh_TW.Big5@euro": only language and territory count.
    std::string_view name = locale.substr(0, locale.find_first_of(".@"));
    if (SameText(name, "zh_CN") || SameText(name, "zh-CN")) return CP_GBK;
    if (SameText(name, "zh_TW") || SameText(name, "zh-TW") || SameText(name, "zh_HK") || SameText(name, "zh-HK"))
        return CP_BIG5;
    return CP_OEM_US;
}

int SystemCodePage() {
    if (const char* forced = std::getenv("ZB_SYSTEM_CODEPAGE")) {
        std::string text = Trim(forced);
        int value = 0;
        auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
        if (ec == std::errc() && end == text.data() + text.size() && value > 0) return value;
    }
    return CodePageOfLocale(LocaleFromEnvironment());
}

int ResolveCodePage(int codePage) {
    if (CanConvert(codePage)) return codePage;
    int system = SystemCodePage();
    return CanConvert(system) ? system : CP_OEM_US;
}

std::string EncodeToCodePage(std::string_view utf8, int codePage) {
    int cp = ResolveCodePage(codePage);
    if (cp == CP_UTF8) return SanitizeUtf8(utf8);
    if (KeepsAscii(cp) && IsAscii(utf8)) return std::string(utf8);
    return Convert(Converter(cp, Direction::Encode), utf8, cp, EncodeSkip);
}

std::string DecodeFromCodePage(std::string_view bytes, int codePage) {
    int cp = ResolveCodePage(codePage);
    if (cp == CP_UTF8 || (KeepsAscii(cp) && IsAscii(bytes))) return SanitizeUtf8(bytes);
    return Convert(Converter(cp, Direction::Decode), bytes, cp, DecodeSkip);
}

size_t ByteLength(std::string_view utf8, int codePage) {
    if (IsAscii(utf8) && KeepsAscii(ResolveCodePage(codePage))) return utf8.size();
    return EncodeToCodePage(utf8, codePage).size();
}

bool IsLeadByte(char c, int codePage) {
    auto b = static_cast<unsigned char>(c);
    switch (codePage == CP_ACP ? SystemCodePage() : codePage) {
    case 936:
    case 949:
    case 950: return b >= 0x81 && b <= 0xFE;
    case 932: return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
    default: return false;
    }
}

}  // namespace zb
