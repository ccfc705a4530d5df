// Helpers for the program's UTF-8 text.
#include "platform/core/TextUtils.h"

#include <algorithm>

namespace zb {

namespace {

bool IsContinuation(unsigned char b) { return (b & 0xC0) == 0x80; }

// Allowed range of the second byte for a lead byte, per the well-formed
// table of Unicode: it rules out overlong forms, surrogates and values
// beyond U+10FFFF in one check.
bool SecondByteFits(unsigned char lead, unsigned char b) {
    switch (lead) {
    case 0xE0: return b >= 0xA0 && b <= 0xBF;
    case 0xED: return b >= 0x80 && b <= 0x9F;
    case 0xF0: return b >= 0x90 && b <= 0xBF;
    case 0xF4: return b >= 0x80 && b <= 0x8F;
    default: return IsContinuation(b);
    }
}

size_t SequenceLength(unsigned char lead) {
    if (lead < 0x80) return 1;
    if (lead >= 0xC2 && lead <= 0xDF) return 2;
    if (lead >= 0xE0 && lead <= 0xEF) return 3;
    if (lead >= 0xF0 && lead <= 0xF4) return 4;
    return 0;
}

bool IsBlankOrControl(char c) { return static_cast<unsigned char>(c) <= ' '; }

}  // namespace

bool IsWellFormedUtf8At(std::string_view text, size_t pos, size_t& length) {
    length = 0;
    if (pos >= text.size()) return false;
    auto lead = static_cast<unsigned char>(text[pos]);
    size_t n = SequenceLength(lead);
    length = 1;
    if (n == 0 || pos + n > text.size()) return false;
    if (n > 1 && !SecondByteFits(lead, static_cast<unsigned char>(text[pos + 1]))) return false;
    for (size_t i = 2; i < n; ++i)
        if (!IsContinuation(static_cast<unsigned char>(text[pos + i]))) return false;
    length = n;
    return true;
}

size_t DecodeUtf8Char(std::string_view text, size_t pos, char32_t& ch) {
    size_t n = 0;
    if (!IsWellFormedUtf8At(text, pos, n)) {
        ch = n == 0 ? 0 : kReplacementChar;
        return n;
    }
    auto b = [&](size_t i) { return static_cast<char32_t>(static_cast<unsigned char>(text[pos + i])); };
    switch (n) {
    case 1: ch = b(0); break;
    case 2: ch = ((b(0) & 0x1F) << 6) | (b(1) & 0x3F); break;
    case 3: ch = ((b(0) & 0x0F) << 12) | ((b(1) & 0x3F) << 6) | (b(2) & 0x3F); break;
    default: ch = ((b(0) & 0x07) << 18) | ((b(1) & 0x3F) << 12) | ((b(2) & 0x3F) << 6) | (b(3) & 0x3F); break;
    }
    return n;
}

bool IsValidUtf8(std::string_view text) {
    for (size_t pos = 0, n = 0; pos < text.size(); pos += n)
        if (!IsWellFormedUtf8At(text, pos, n)) return false;
    return true;
}

void AppendUtf8(std::string& out, char32_t ch) {
    if (ch > 0x10FFFF || (ch >= 0xD800 && ch <= 0xDFFF)) ch = kReplacementChar;
    if (ch < 0x80) {
        out += static_cast<char>(ch);
    } else if (ch < 0x800) {
        out += static_cast<char>(0xC0 | (ch >> 6));
        out += static_cast<char>(0x80 | (ch & 0x3F));
    } else if (ch < 0x10000) {
        out += static_cast<char>(0xE0 | (ch >> 12));
        out += static_cast<char>(0x80 | ((ch >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (ch & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (ch >> 18));
        out += static_cast<char>(0x80 | ((ch >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((ch >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (ch & 0x3F));
    }
}

bool Utf8Iterator::Next(char32_t& ch) {
    size_t n = DecodeUtf8Char(text_, pos_, ch);
    pos_ += n;
    return n != 0;
}

std::string_view Utf8Iterator::Current() const {
    size_t n = 0;
    IsWellFormedUtf8At(text_, pos_, n);
    return text_.substr(std::min(pos_, text_.size()), n);
}

size_t Utf8Length(std::string_view text) {
    size_t count = 0;
    for (size_t pos = 0, n = 0; pos < text.size(); pos += n, ++count)
        IsWellFormedUtf8At(text, pos, n);
    return count;
}

size_t Utf8Offset(std::string_view text, size_t index) {
    size_t pos = 0;
    for (size_t n = 0; index > 0 && pos < text.size(); pos += n, --index)
        IsWellFormedUtf8At(text, pos, n);
    return pos;
}

std::string Utf8Copy(std::string_view text, size_t start, size_t count) {
    size_t from = Utf8Offset(text, start);
    std::string_view rest = text.substr(from);
    if (count == std::string_view::npos) return std::string(rest);
    return std::string(rest.substr(0, Utf8Offset(rest, count)));
}

char UpCase(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }
char LoCase(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

std::string UpperCase(std::string_view text) {
    std::string out(text);
    for (char& c : out) c = UpCase(c);
    return out;
}

std::string LowerCase(std::string_view text) {
    std::string out(text);
    for (char& c : out) c = LoCase(c);
    return out;
}

int CompareText(std::string_view a, std::string_view b) {
    size_t n = std::min(a.size(), b.size());
    for (size_t i = 0; i < n; ++i) {
        auto x = static_cast<unsigned char>(UpCase(a[i]));
        auto y = static_cast<unsigned char>(UpCase(b[i]));
        if (x != y) return x < y ? -1 : 1;
    }
    if (a.size() == b.size()) return 0;
    return a.size() < b.size() ? -1 : 1;
}

bool SameText(std::string_view a, std::string_view b) {
    return a.size() == b.size() && CompareText(a, b) == 0;
}

bool StartsText(std::string_view prefix, std::string_view text) {
    return text.size() >= prefix.size() && SameText(prefix, text.substr(0, prefix.size()));
}

bool EndsText(std::string_view suffix, std::string_view text) {
    return text.size() >= suffix.size() && SameText(suffix, text.substr(text.size() - suffix.size()));
}

std::string TrimLeft(std::string_view text) {
    size_t from = 0;
    while (from < text.size() && IsBlankOrControl(text[from])) ++from;
    return std::string(text.substr(from));
}

std::string TrimRight(std::string_view text) {
    size_t to = text.size();
    while (to > 0 && IsBlankOrControl(text[to - 1])) --to;
    return std::string(text.substr(0, to));
}

std::string Trim(std::string_view text) {
    size_t from = 0, to = text.size();
    while (from < to && IsBlankOrControl(text[from])) ++from;
    while (to > from && IsBlankOrControl(text[to - 1])) --to;
    return std::string(text.substr(from, to - from));
}

}  // namespace zb
