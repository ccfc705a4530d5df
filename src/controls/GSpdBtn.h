// A flat speed button whose picture comes by number from the suite's glyph
// library, so every program of the suite shows the same pictures.
#pragma once

#include "platform/ui/Buttons.h"

namespace zb {

// The glyph library as the buttons see it ("ZeRudU5.dll", loaded once).
// 0 when the library cannot be loaded, so every number then shows as text.
int GlyphMaxBmpID();
// Loads picture `id` into `glyph`; false when the library does not hold it.
// EInvalidGraphic when the library hands over bytes that are no picture.
bool GlyphLoadBmp(TBitmap* glyph, int id);

class TGSpeedButton : public TSpeedButton {
    ZB_CLASS(TGSpeedButton, TSpeedButton)

public:
    explicit TGSpeedButton(TComponent* owner = nullptr);

    int GlyphIndex() const { return glyphIndex_; }
    // The number shows as the caption until its picture is loaded; a failure
    // while loading shows "读取 BMP 发生错误" and keeps the number.
    void SetGlyphIndex(int n);
    int HintIndex() const { return hintIndex_; }
    void SetHintIndex(int n) { hintIndex_ = n; }

    // How often a picture was read from the library (a set to the same
    // number reads nothing).
    int GlyphLoads() const { return glyphLoads_; }

private:
    int glyphIndex_ = 0;
    int hintIndex_ = 0;
    int glyphLoads_ = 0;
};

}  // namespace zb
