// Colours, fonts, 24-bit bitmaps and the deterministic text metrics the
// headless UI model lays itself out with.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "platform/core/Events.h"
#include "platform/core/Persistent.h"

namespace zb {

// A colour as the class library keeps it: 0x00BBGGRR for a plain colour, the
// high byte 0xFF plus an index for a system colour, and two special values.
using TColor = std::int32_t;

inline constexpr TColor clSystemColor = static_cast<TColor>(0xFF000000u);
inline constexpr TColor SysColor(int index) { return clSystemColor | index; }

inline constexpr TColor clScrollBar = SysColor(0);
inline constexpr TColor clBackground = SysColor(1);
inline constexpr TColor clActiveCaption = SysColor(2);
inline constexpr TColor clInactiveCaption = SysColor(3);
inline constexpr TColor clMenu = SysColor(4);
inline constexpr TColor clWindow = SysColor(5);
inline constexpr TColor clWindowFrame = SysColor(6);
inline constexpr TColor clMenuText = SysColor(7);
inline constexpr TColor clWindowText = SysColor(8);
inline constexpr TColor clCaptionText = SysColor(9);
inline constexpr TColor clActiveBorder = SysColor(10);
inline constexpr TColor clInactiveBorder = SysColor(11);
inline constexpr TColor clAppWorkSpace = SysColor(12);
inline constexpr TColor clHighlight = SysColor(13);
inline constexpr TColor clHighlightText = SysColor(14);
inline constexpr TColor clBtnFace = SysColor(15);
inline constexpr TColor clBtnShadow = SysColor(16);
inline constexpr TColor clGrayText = SysColor(17);
inline constexpr TColor clBtnText = SysColor(18);
inline constexpr TColor clInactiveCaptionText = SysColor(19);
inline constexpr TColor clBtnHighlight = SysColor(20);
inline constexpr TColor cl3DDkShadow = SysColor(21);
inline constexpr TColor cl3DLight = SysColor(22);
inline constexpr TColor clInfoText = SysColor(23);
inline constexpr TColor clInfoBk = SysColor(24);

inline constexpr TColor clBlack = 0x000000;
inline constexpr TColor clMaroon = 0x000080;
inline constexpr TColor clGreen = 0x008000;
inline constexpr TColor clOlive = 0x008080;
inline constexpr TColor clNavy = 0x800000;
inline constexpr TColor clPurple = 0x800080;
inline constexpr TColor clTeal = 0x808000;
inline constexpr TColor clGray = 0x808080;
inline constexpr TColor clSilver = 0xC0C0C0;
inline constexpr TColor clRed = 0x0000FF;
inline constexpr TColor clLime = 0x00FF00;
inline constexpr TColor clYellow = 0x00FFFF;
inline constexpr TColor clBlue = 0xFF0000;
inline constexpr TColor clFuchsia = 0xFF00FF;
inline constexpr TColor clAqua = 0xFFFF00;
inline constexpr TColor clLtGray = 0xC0C0C0;
inline constexpr TColor clDkGray = 0x808080;
inline constexpr TColor clWhite = 0xFFFFFF;
inline constexpr TColor clMoneyGreen = 0xC0DCC0;
inline constexpr TColor clSkyBlue = 0xF0CAA6;
inline constexpr TColor clCream = 0xF0FBFF;
inline constexpr TColor clMedGray = 0xA4A0A0;
inline constexpr TColor clNone = 0x1FFFFFFF;
inline constexpr TColor clDefault = 0x20000000;

inline constexpr TColor RGB(int r, int g, int b) {
    return static_cast<TColor>((r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16));
}
// The plain colour a system colour stands for (a fixed classic palette, since
// there is no desktop to ask); plain colours pass unchanged.
TColor ColorToRGB(TColor color);

// "clRed" for a named colour, otherwise "$" and eight hex digits.
std::string ColorToString(TColor color);
// A colour name (without regard to case) or a number ("$00FF00", "255");
// EConvertError for anything else.
TColor StringToColor(std::string_view text);
bool IdentToColor(std::string_view ident, TColor& color);
bool ColorToIdent(TColor color, std::string& ident);

// Character sets of fonts.
using TFontCharset = std::uint8_t;
inline constexpr TFontCharset ANSI_CHARSET = 0;
inline constexpr TFontCharset DEFAULT_CHARSET = 1;
inline constexpr TFontCharset SYMBOL_CHARSET = 2;
inline constexpr TFontCharset SHIFTJIS_CHARSET = 128;
inline constexpr TFontCharset HANGEUL_CHARSET = 129;
inline constexpr TFontCharset GB2312_CHARSET = 134;
inline constexpr TFontCharset CHINESEBIG5_CHARSET = 136;
inline constexpr TFontCharset OEM_CHARSET = 255;
bool CharsetToIdent(int charset, std::string& ident);
bool IdentToCharset(std::string_view ident, int& charset);

// Font styles form a set: bit i stands for the i-th value.
enum TFontStyle : unsigned { fsBold = 1u << 0, fsItalic = 1u << 1, fsUnderline = 1u << 2, fsStrikeOut = 1u << 3 };
using TFontStyles = unsigned;

enum class TFontPitch { fpDefault, fpVariable, fpFixed };

// The screen's resolution the point sizes of fonts are counted in.
inline constexpr int kPixelsPerInch = 96;

class TFont : public TPersistent {
    ZB_CLASS(TFont, TPersistent)

public:
    TFont();

    const std::string& Name() const { return name_; }
    void SetName(const std::string& name);
    // Negative: the character height in pixels; positive: the cell height.
    int Height() const { return height_; }
    void SetHeight(int height);
    // Points, from the height at the screen's resolution.
    int Size() const;
    void SetSize(int size);
    int Charset() const { return charset_; }
    void SetCharset(int charset);
    TColor Color() const { return color_; }
    void SetColor(TColor color);
    TFontStyles Style() const { return style_; }
    void SetStyle(TFontStyles style);
    TFontPitch Pitch() const { return pitch_; }
    void SetPitch(TFontPitch pitch);

    bool Equals(const TFont& other) const;
    void Assign(const TPersistent* source) override;

    TNotifyEvent OnChange;

private:
    void Changed();

    std::string name_ = "MS Sans Serif";
    int height_ = -11;
    int charset_ = DEFAULT_CHARSET;
    TColor color_ = clWindowText;
    TFontStyles style_ = 0;
    TFontPitch pitch_ = TFontPitch::fpDefault;
};

extern const EnumNames FontStyleNames;  // fsBold, fsItalic, fsUnderline, fsStrikeOut

// Text metrics without a display: a single-byte character (below U+0080) is
// half the font height wide, any other character the full height; a line is
// the font height high. The height is the absolute value of TFont::Height.
int TextWidth(const TFont& font, std::string_view text);
int TextHeight(const TFont& font, std::string_view text = "Wg");

struct TPoint {
    int X = 0;
    int Y = 0;
    friend bool operator==(const TPoint&, const TPoint&) = default;
};
struct TSize {
    int cx = 0;
    int cy = 0;
    friend bool operator==(const TSize&, const TSize&) = default;
};
struct TRect {
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;
    int Width() const { return Right - Left; }
    int Height() const { return Bottom - Top; }
    friend bool operator==(const TRect&, const TRect&) = default;
};
inline TRect Rect(int left, int top, int right, int bottom) { return TRect{left, top, right, bottom}; }
inline TRect Bounds(int left, int top, int width, int height) { return TRect{left, top, left + width, top + height}; }

// A canvas measures text in its font; the model never draws, but layout and
// owner-drawn captions measure through it.
class TCanvas : public TPersistent {
    ZB_CLASS(TCanvas, TPersistent)

public:
    TCanvas();
    ~TCanvas() override;
    TFont* Font() const { return font_; }
    void SetFont(TFont* font);
    TColor BrushColor() const { return brushColor_; }
    void SetBrushColor(TColor color) { brushColor_ = color; }
    int TextWidth(std::string_view text) const { return zb::TextWidth(*font_, text); }
    int TextHeight(std::string_view text) const { return zb::TextHeight(*font_, text); }
    TSize TextExtent(std::string_view text) const { return {TextWidth(text), TextHeight(text)}; }

private:
    TFont* font_;
    TColor brushColor_ = clWhite;
};

ZB_DECLARE_EXCEPTION(EInvalidGraphic, Exception);

// A 24-bit picture held as pixels. Reads BMP files of 1, 4, 8, 24 and 32 bits
// per pixel (uncompressed, bottom-up or top-down); writes 24-bit BMP. The
// transparent colour is the bottom-left pixel, as glyphs expect.
class TBitmap : public TPersistent {
    ZB_CLASS(TBitmap, TPersistent)

public:
    TBitmap() = default;
    TBitmap(int width, int height);

    int Width() const { return width_; }
    int Height() const { return height_; }
    void SetWidth(int width) { SetSize(width, height_); }
    void SetHeight(int height) { SetSize(width_, height); }
    // Keeps the pixels that still fit; new ones are white. Negative sizes
    // are refused with EInvalidGraphic.
    void SetSize(int width, int height);
    bool Empty() const { return width_ == 0 || height_ == 0; }

    // clNone outside the picture.
    TColor Pixel(int x, int y) const;
    // Ignored outside the picture.
    void SetPixel(int x, int y, TColor color);
    void Fill(TColor color);

    bool Transparent() const { return transparent_; }
    void SetTransparent(bool on) { transparent_ = on; }
    // The bottom-left pixel; clNone for an empty picture.
    TColor TransparentColor() const;

    // EInvalidGraphic for anything that is not a BMP this class reads.
    void LoadFromBytes(std::string_view bytes);
    std::string SaveToBytes() const;
    void LoadFromFile(const std::filesystem::path& file);
    void SaveToFile(const std::filesystem::path& file) const;

    void Assign(const TPersistent* source) override;
    bool Equals(const TBitmap& other) const;

    TNotifyEvent OnChange;

private:
    void Changed();

    int width_ = 0;
    int height_ = 0;
    std::vector<TColor> pixels_;  // rows top to bottom
    bool transparent_ = false;
};

}  // namespace zb
