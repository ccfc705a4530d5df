// Buttons with glyphs: the bit button (a push button with a picture and a
// kind) and the speed button (a graphic button that can latch down in a group).
#pragma once

#include "platform/ui/StdCtrls.h"

namespace zb {

enum class TBitBtnKind { bkCustom, bkOK, bkCancel, bkHelp, bkYes, bkNo, bkClose, bkAbort, bkRetry, bkIgnore, bkAll };
enum class TButtonLayout { blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom };
enum class TButtonState { bsUp, bsDisabled, bsDown, bsExclusive };
using TNumGlyphs = int;  // 1..4 images side by side in the glyph

extern const EnumNames BitBtnKindNames;
extern const EnumNames ButtonLayoutNames;

class TBitBtn : public TButton {
    ZB_CLASS(TBitBtn, TButton)

public:
    explicit TBitBtn(TComponent* owner = nullptr);
    ~TBitBtn() override;

    TBitmap* Glyph() const { return glyph_; }
    void SetGlyph(TBitmap* b) { glyph_->Assign(b); }
    // 1..4; other values are refused with EInvalidOperation.
    TNumGlyphs NumGlyphs() const { return numGlyphs_; }
    void SetNumGlyphs(TNumGlyphs n);
    // A kind other than custom brings its caption, modal result and the
    // Default or Cancel flag.
    TBitBtnKind Kind() const { return kind_; }
    void SetKind(TBitBtnKind k);
    TButtonLayout Layout() const { return layout_; }
    void SetLayout(TButtonLayout l) { layout_ = l; }
    int Margin() const { return margin_; }
    void SetMargin(int m) { margin_ = m; }
    int Spacing() const { return spacing_; }
    void SetSpacing(int s) { spacing_ = s; }
    // The close kind closes the form when clicked.
    void Click() override;

private:
    TBitmap* glyph_;
    TNumGlyphs numGlyphs_ = 1;
    TBitBtnKind kind_ = TBitBtnKind::bkCustom;
    TButtonLayout layout_ = TButtonLayout::blGlyphLeft;
    int margin_ = -1;
    int spacing_ = 4;
};

// A graphic button: it cannot take the focus. With a GroupIndex it latches:
// pressing it makes it Down and lifts the others of its group beside it;
// pressing a Down one lifts it only when AllowAllUp.
class TSpeedButton : public TGraphicControl {
    ZB_CLASS(TSpeedButton, TGraphicControl)

public:
    explicit TSpeedButton(TComponent* owner = nullptr);
    ~TSpeedButton() override;

    int GroupIndex() const { return groupIndex_; }
    void SetGroupIndex(int g);
    bool AllowAllUp() const { return allowAllUp_; }
    void SetAllowAllUp(bool on);
    bool Down() const { return down_; }
    // Down only holds in a group (GroupIndex not 0).
    void SetDown(bool on);
    bool Flat() const { return flat_; }
    void SetFlat(bool on) { flat_ = on; }
    TBitmap* Glyph() const { return glyph_; }
    void SetGlyph(TBitmap* b) { glyph_->Assign(b); }
    TNumGlyphs NumGlyphs() const { return numGlyphs_; }
    void SetNumGlyphs(TNumGlyphs n);
    TButtonLayout Layout() const { return layout_; }
    void SetLayout(TButtonLayout l) { layout_ = l; }
    int Margin() const { return margin_; }
    void SetMargin(int m) { margin_ = m; }
    int Spacing() const { return spacing_; }
    void SetSpacing(int s) { spacing_ = s; }
    bool Transparent() const { return transparent_; }
    void SetTransparent(bool on) { transparent_ = on; }
    TButtonState State() const;

    // The user's press; nothing while disabled.
    void Click() override;

private:
    void UpdateGroup();

    int groupIndex_ = 0;
    bool allowAllUp_ = false;
    bool down_ = false;
    bool flat_ = false;
    TBitmap* glyph_;
    TNumGlyphs numGlyphs_ = 1;
    TButtonLayout layout_ = TButtonLayout::blGlyphLeft;
    int margin_ = -1;
    int spacing_ = 4;
    bool transparent_ = true;
};

}  // namespace zb
