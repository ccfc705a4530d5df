#include "platform/ui/Graphics.h"

#include <array>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>

#include "platform/core/IntConsts.h"
#include "platform/core/Published.h"
#include "platform/core/TextUtils.h"

namespace zb {

// --- colours ---------------------------------------------------------------

namespace {

// Classic desktop colours, by system colour index.
const std::array<TColor, 25> kSystemPalette = {
    RGB(212, 208, 200), RGB(58, 110, 165), RGB(10, 36, 106),  RGB(128, 128, 128), RGB(212, 208, 200),
    RGB(255, 255, 255), RGB(0, 0, 0),      RGB(0, 0, 0),      RGB(0, 0, 0),       RGB(255, 255, 255),
    RGB(212, 208, 200), RGB(212, 208, 200), RGB(128, 128, 128), RGB(10, 36, 106), RGB(255, 255, 255),
    RGB(212, 208, 200), RGB(128, 128, 128), RGB(128, 128, 128), RGB(0, 0, 0),     RGB(212, 208, 200),
    RGB(255, 255, 255), RGB(64, 64, 64),   RGB(212, 208, 200), RGB(0, 0, 0),      RGB(255, 255, 225),
};

bool ParseNumber(std::string_view text, std::int64_t& value) {
    std::string t = Trim(text);
    if (t.empty()) return false;
    bool negative = false;
    size_t i = 0;
    if (t[0] == '-' || t[0] == '+') {
        negative = t[0] == '-';
        i = 1;
    }
    int base = 10;
    if (i < t.size() && t[i] == '$') {
        base = 16;
        ++i;
    } else if (i + 1 < t.size() && t[i] == '0' && (t[i + 1] == 'x' || t[i + 1] == 'X')) {
        base = 16;
        i += 2;
    }
    if (i >= t.size() || t.size() - i > 16) return false;
    std::uint64_t v = 0;
    for (; i < t.size(); ++i) {
        char c = t[i];
        int d;
        if (c >= '0' && c <= '9') d = c - '0';
        else if (base == 16 && c >= 'a' && c <= 'f') d = c - 'a' + 10;
        else if (base == 16 && c >= 'A' && c <= 'F') d = c - 'A' + 10;
        else return false;
        v = v * static_cast<std::uint64_t>(base) + static_cast<std::uint64_t>(d);
    }
    if (v > 0xFFFFFFFFull) return false;
    value = negative ? -static_cast<std::int64_t>(v) : static_cast<std::int64_t>(v);
    return true;
}

}  // namespace

TColor ColorToRGB(TColor color) {
    if ((color & clSystemColor) == clSystemColor) {
        int index = color & 0xFF;
        if (index < static_cast<int>(kSystemPalette.size())) return kSystemPalette[static_cast<size_t>(index)];
        return clBlack;
    }
    return color & 0x00FFFFFF;
}

// The names are those of the integer-constant table, so language files and
// the UI read the same ones.
bool ColorToIdent(TColor color, std::string& ident) {
    for (const auto& [name, value] : ColorIdents())
        if (value == color) {
            ident = name;
            return true;
        }
    return false;
}

bool IdentToColor(std::string_view ident, TColor& color) {
    for (const auto& [name, value] : ColorIdents())
        if (SameText(ident, name)) {
            color = static_cast<TColor>(value);
            return true;
        }
    return false;
}

std::string ColorToString(TColor color) {
    std::string ident;
    if (ColorToIdent(color, ident)) return ident;
    char buf[16];
    std::snprintf(buf, sizeof buf, "$%.8X", static_cast<std::uint32_t>(color));
    return buf;
}

TColor StringToColor(std::string_view text) {
    TColor color;
    if (IdentToColor(Trim(text), color)) return color;
    std::int64_t v;
    if (!ParseNumber(text, v) || v < INT32_MIN || v > 0xFFFFFFFFll)
        throw EConvertError("'" + std::string(text) + "' is not a valid colour");
    return static_cast<TColor>(static_cast<std::uint32_t>(v));
}

namespace {
struct CharsetName {
    int charset;
    const char* name;
};
const std::array<CharsetName, 8> kCharsetNames = {{
    {ANSI_CHARSET, "ANSI_CHARSET"},
    {DEFAULT_CHARSET, "DEFAULT_CHARSET"},
    {SYMBOL_CHARSET, "SYMBOL_CHARSET"},
    {SHIFTJIS_CHARSET, "SHIFTJIS_CHARSET"},
    {HANGEUL_CHARSET, "HANGEUL_CHARSET"},
    {GB2312_CHARSET, "GB2312_CHARSET"},
    {CHINESEBIG5_CHARSET, "CHINESEBIG5_CHARSET"},
    {OEM_CHARSET, "OEM_CHARSET"},
}};
}  // namespace

bool CharsetToIdent(int charset, std::string& ident) {
    for (const auto& c : kCharsetNames)
        if (c.charset == charset) {
            ident = c.name;
            return true;
        }
    return false;
}

bool IdentToCharset(std::string_view ident, int& charset) {
    for (const auto& c : kCharsetNames)
        if (SameText(ident, c.name)) {
            charset = c.charset;
            return true;
        }
    return false;
}

// --- fonts -----------------------------------------------------------------

const EnumNames FontStyleNames = {"fsBold", "fsItalic", "fsUnderline", "fsStrikeOut"};
namespace {
const EnumNames kFontPitchNames = {"fpDefault", "fpVariable", "fpFixed"};

// Rounds a*b/c half away from zero, as the desktop's size conversions do.
int MulDiv(int a, int b, int c) {
    if (c == 0) return -1;
    double r = static_cast<double>(a) * b / c;
    return static_cast<int>(r < 0 ? std::ceil(r - 0.5) : std::floor(r + 0.5));
}
}  // namespace

ZB_PUBLISHED(TFont){
    prop::Integer("Charset", &TFont::Charset, &TFont::SetCharset, "TFontCharset"),
    prop::Integer("Color", &TFont::Color, &TFont::SetColor, "TColor"),
    prop::Integer("Height", &TFont::Height, &TFont::SetHeight),
    prop::String("Name", &TFont::Name, &TFont::SetName, "TFontName"),
    prop::Enum("Pitch", &TFont::Pitch, &TFont::SetPitch, kFontPitchNames, "TFontPitch"),
    prop::Integer("Size", &TFont::Size, &TFont::SetSize),
    prop::Set("Style", &TFont::Style, &TFont::SetStyle, FontStyleNames, "TFontStyles"),
};

TFont::TFont() = default;

void TFont::Changed() { OnChange(this); }

void TFont::SetName(const std::string& name) {
    if (name == name_ || name.empty()) return;
    name_ = name;
    Changed();
}
void TFont::SetHeight(int height) {
    if (height == height_) return;
    height_ = height;
    Changed();
}
int TFont::Size() const { return -MulDiv(height_, 72, kPixelsPerInch); }
void TFont::SetSize(int size) { SetHeight(-MulDiv(size, kPixelsPerInch, 72)); }
void TFont::SetCharset(int charset) {
    charset &= 0xFF;
    if (charset == charset_) return;
    charset_ = charset;
    Changed();
}
void TFont::SetColor(TColor color) {
    if (color == color_) return;
    color_ = color;
    Changed();
}
void TFont::SetStyle(TFontStyles style) {
    style &= 0xF;
    if (style == style_) return;
    style_ = style;
    Changed();
}
void TFont::SetPitch(TFontPitch pitch) {
    if (pitch == pitch_) return;
    pitch_ = pitch;
    Changed();
}

bool TFont::Equals(const TFont& o) const {
    return name_ == o.name_ && height_ == o.height_ && charset_ == o.charset_ && color_ == o.color_ &&
           style_ == o.style_ && pitch_ == o.pitch_;
}

void TFont::Assign(const TPersistent* source) {
    if (auto* f = dyn_cast<TFont>(source)) {
        if (Equals(*f)) return;
        name_ = f->name_;
        height_ = f->height_;
        charset_ = f->charset_;
        color_ = f->color_;
        style_ = f->style_;
        pitch_ = f->pitch_;
        Changed();
        return;
    }
    TPersistent::Assign(source);
}

int TextWidth(const TFont& font, std::string_view text) {
    long h = std::labs(static_cast<long>(font.Height()));
    long singles = 0, doubles = 0;
    Utf8Iterator it(text);
    char32_t ch;
    while (it.Next(ch)) {
        if (ch == '\r' || ch == '\n') continue;
        (ch < 0x80 ? singles : doubles)++;
    }
    long w = singles * h / 2 + doubles * h;
    return w > INT32_MAX ? INT32_MAX : static_cast<int>(w);
}

int TextHeight(const TFont& font, std::string_view) { return std::abs(font.Height()); }

// --- canvas ----------------------------------------------------------------

ZB_PUBLISHED(TCanvas){
    prop::Class("Font", &TCanvas::Font, &TCanvas::SetFont),
};

TCanvas::TCanvas() : font_(new TFont) {}
TCanvas::~TCanvas() { font_->Free(); }
void TCanvas::SetFont(TFont* font) { font_->Assign(font); }

// --- bitmaps ---------------------------------------------------------------

ZB_PUBLISHED(TBitmap){
    prop::Integer("Height", &TBitmap::Height, &TBitmap::SetHeight),
    prop::Integer("Width", &TBitmap::Width, &TBitmap::SetWidth),
    prop::Bool("Transparent", &TBitmap::Transparent, &TBitmap::SetTransparent),
};

namespace {
// Pictures larger than this are refused rather than allocated.
constexpr std::int64_t kMaxPixels = 64ll * 1024 * 1024;

std::uint32_t Le32(std::string_view b, size_t at) {
    return static_cast<std::uint32_t>(static_cast<unsigned char>(b[at])) |
           (static_cast<std::uint32_t>(static_cast<unsigned char>(b[at + 1])) << 8) |
           (static_cast<std::uint32_t>(static_cast<unsigned char>(b[at + 2])) << 16) |
           (static_cast<std::uint32_t>(static_cast<unsigned char>(b[at + 3])) << 24);
}
std::uint16_t Le16(std::string_view b, size_t at) {
    return static_cast<std::uint16_t>(static_cast<unsigned char>(b[at]) |
                                      (static_cast<unsigned char>(b[at + 1]) << 8));
}
void Put32(std::string& s, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) s.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
}
void Put16(std::string& s, std::uint16_t v) {
    s.push_back(static_cast<char>(v & 0xFF));
    s.push_back(static_cast<char>(v >> 8));
}
}  // namespace

TBitmap::TBitmap(int width, int height) { SetSize(width, height); }

void TBitmap::Changed() { OnChange(this); }

void TBitmap::SetSize(int width, int height) {
    if (width < 0 || height < 0) throw EInvalidGraphic("Invalid bitmap size");
    if (static_cast<std::int64_t>(width) * height > kMaxPixels) throw EInvalidGraphic("Bitmap too large");
    if (width == width_ && height == height_) return;
    std::vector<TColor> pixels(static_cast<size_t>(width) * static_cast<size_t>(height), clWhite);
    for (int y = 0; y < std::min(height, height_); ++y)
        for (int x = 0; x < std::min(width, width_); ++x)
            pixels[static_cast<size_t>(y) * width + x] = pixels_[static_cast<size_t>(y) * width_ + x];
    pixels_ = std::move(pixels);
    width_ = width;
    height_ = height;
    Changed();
}

TColor TBitmap::Pixel(int x, int y) const {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return clNone;
    return pixels_[static_cast<size_t>(y) * width_ + x];
}

void TBitmap::SetPixel(int x, int y, TColor color) {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return;
    pixels_[static_cast<size_t>(y) * width_ + x] = ColorToRGB(color);
}

void TBitmap::Fill(TColor color) {
    std::fill(pixels_.begin(), pixels_.end(), ColorToRGB(color));
    Changed();
}

TColor TBitmap::TransparentColor() const { return Empty() ? clNone : Pixel(0, height_ - 1); }

void TBitmap::LoadFromBytes(std::string_view b) {
    auto fail = [](const char* why) { throw EInvalidGraphic(std::string("Bitmap image is not valid: ") + why); };
    if (b.size() < 26 || b[0] != 'B' || b[1] != 'M') fail("no bitmap header");
    std::uint32_t dataOffset = Le32(b, 10);
    std::uint32_t infoSize = Le32(b, 14);
    std::int64_t width, height;
    int bits;
    std::uint32_t compression = 0, colorsUsed = 0;
    size_t paletteAt = 14 + infoSize;
    int paletteEntry = 4;
    if (infoSize == 12) {
        width = Le16(b, 18);
        height = static_cast<std::int16_t>(Le16(b, 20));
        bits = Le16(b, 24);
        paletteEntry = 3;
    } else if (infoSize >= 40 && b.size() >= 54) {
        width = static_cast<std::int32_t>(Le32(b, 18));
        height = static_cast<std::int32_t>(Le32(b, 22));
        bits = Le16(b, 28);
        compression = Le32(b, 30);
        colorsUsed = Le32(b, 46);
    } else {
        fail("unknown header");
    }
    // Bit fields on 32 bits are read as plain BGRX, the layout every writer uses.
    if (compression != 0 && !(compression == 3 && bits == 32)) fail("compressed bitmaps are not read");
    bool topDown = height < 0;
    if (topDown) height = -height;
    if (width <= 0 || height <= 0 || width * height > kMaxPixels) fail("bad size");
    if (bits != 1 && bits != 4 && bits != 8 && bits != 24 && bits != 32) fail("unsupported colour depth");

    std::vector<TColor> palette;
    if (bits <= 8) {
        std::uint32_t count = colorsUsed ? colorsUsed : (1u << bits);
        if (count > 256) fail("bad palette");
        if (paletteAt > b.size() || (b.size() - paletteAt) / paletteEntry < count) fail("palette cut short");
        for (std::uint32_t i = 0; i < count; ++i) {
            size_t at = paletteAt + i * paletteEntry;
            palette.push_back(RGB(static_cast<unsigned char>(b[at + 2]), static_cast<unsigned char>(b[at + 1]),
                                  static_cast<unsigned char>(b[at])));
        }
    }
    std::uint64_t stride = ((static_cast<std::uint64_t>(width) * bits + 31) / 32) * 4;
    if (dataOffset > b.size() || (b.size() - dataOffset) / stride < static_cast<std::uint64_t>(height))
        fail("pixel data cut short");

    std::vector<TColor> pixels(static_cast<size_t>(width * height));
    for (std::int64_t row = 0; row < height; ++row) {
        std::int64_t y = topDown ? row : height - 1 - row;
        size_t at = dataOffset + static_cast<size_t>(row * stride);
        for (std::int64_t x = 0; x < width; ++x) {
            TColor c;
            if (bits == 24 || bits == 32) {
                size_t p = at + static_cast<size_t>(x * (bits / 8));
                c = RGB(static_cast<unsigned char>(b[p + 2]), static_cast<unsigned char>(b[p + 1]),
                        static_cast<unsigned char>(b[p]));
            } else {
                std::int64_t bit = x * bits;
                unsigned char byte = static_cast<unsigned char>(b[at + static_cast<size_t>(bit / 8)]);
                unsigned idx = (byte >> (8 - bits - bit % 8)) & ((1u << bits) - 1);
                if (idx >= palette.size()) fail("colour index outside the palette");
                c = palette[idx];
            }
            pixels[static_cast<size_t>(y * width + x)] = c;
        }
    }
    pixels_ = std::move(pixels);
    width_ = static_cast<int>(width);
    height_ = static_cast<int>(height);
    Changed();
}

std::string TBitmap::SaveToBytes() const {
    std::uint32_t stride = ((static_cast<std::uint32_t>(width_) * 24 + 31) / 32) * 4;
    std::uint32_t dataSize = stride * static_cast<std::uint32_t>(height_);
    std::string s;
    s.reserve(54 + dataSize);
    s += "BM";
    Put32(s, 54 + dataSize);
    Put32(s, 0);
    Put32(s, 54);
    Put32(s, 40);
    Put32(s, static_cast<std::uint32_t>(width_));
    Put32(s, static_cast<std::uint32_t>(height_));
    Put16(s, 1);
    Put16(s, 24);
    Put32(s, 0);
    Put32(s, dataSize);
    Put32(s, 3780);  // 96 dots per inch
    Put32(s, 3780);
    Put32(s, 0);
    Put32(s, 0);
    for (int y = height_ - 1; y >= 0; --y) {
        size_t start = s.size();
        for (int x = 0; x < width_; ++x) {
            TColor c = pixels_[static_cast<size_t>(y) * width_ + x];
            s.push_back(static_cast<char>((c >> 16) & 0xFF));
            s.push_back(static_cast<char>((c >> 8) & 0xFF));
            s.push_back(static_cast<char>(c & 0xFF));
        }
        while (s.size() - start < stride) s.push_back('\0');
    }
    return s;
}

void TBitmap::LoadFromFile(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    if (!in) throw EInvalidGraphic("Cannot open bitmap file " + file.string());
    std::ostringstream ss;
    ss << in.rdbuf();
    LoadFromBytes(ss.str());
}

void TBitmap::SaveToFile(const std::filesystem::path& file) const {
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    std::string bytes = SaveToBytes();
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out) throw EInvalidGraphic("Cannot write bitmap file " + file.string());
}

void TBitmap::Assign(const TPersistent* source) {
    if (!source) {
        pixels_.clear();
        width_ = height_ = 0;
        Changed();
        return;
    }
    if (auto* b = dyn_cast<TBitmap>(source)) {
        if (b == this) return;
        pixels_ = b->pixels_;
        width_ = b->width_;
        height_ = b->height_;
        transparent_ = b->transparent_;
        Changed();
        return;
    }
    TPersistent::Assign(source);
}

bool TBitmap::Equals(const TBitmap& o) const {
    return width_ == o.width_ && height_ == o.height_ && pixels_ == o.pixels_;
}

}  // namespace zb
