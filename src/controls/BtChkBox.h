// The check box of every form: it paints a picture per state (unchecked,
// checked, grayed) and its caption itself, so it looks the same whatever the
// desktop's theme. Painting yields what a view draws (TBitCheckBoxPaint).
#pragma once

#include "platform/ui/StdCtrls.h"

namespace zb {

// One paint of the box: which picture part goes where, and how the caption is drawn.
struct TBitCheckBoxPaint {
    TColor Background = clBtnFace;
    TRect CaptionRect;
    // Disabled with Ctl3D: the caption first one pixel right and down in this colour.
    bool CaptionShadow = false;
    TColor ShadowColor = clBtnHighlight;
    TColor CaptionColor = clWindowText;
    bool FocusRect = false;
    TRect FocusRectBounds;
    const TBitmap* Picture = nullptr;
    TRect GlyphSource;  // in the picture
    TRect GlyphDest;    // in the client area
    int CaptionDraws = 1;
};

class TBitCheckBox : public TCustomControl {
    ZB_CLASS(TBitCheckBox, TCustomControl)

public:
    explicit TBitCheckBox(TComponent* owner = nullptr);
    ~TBitCheckBox() override;

    TCheckBoxState State() const { return state_; }
    void SetState(TCheckBoxState s);
    bool Checked() const { return state_ == TCheckBoxState::cbChecked; }
    void SetChecked(bool on) { SetState(on ? TCheckBoxState::cbChecked : TCheckBoxState::cbUnchecked); }
    bool AllowGrayed() const { return allowGrayed_; }
    void SetAllowGrayed(bool on) { allowGrayed_ = on; }
    TLeftRight Alignment() const { return alignment_; }
    void SetAlignment(TLeftRight a);
    bool Ctl3D() const { return ctl3D_; }
    void SetCtl3D(bool on);
    bool ParentCtl3D() const { return parentCtl3D_; }
    void SetParentCtl3D(bool on) { parentCtl3D_ = on; }

    // A bitmap is copied; null loads the state's resource picture. The
    // state's image count becomes width div height, limited to 1..2.
    TBitmap* CheckedGlyph() const { return glyphs_[1]; }
    void SetCheckedGlyph(TBitmap* b) { SetGlyph(TCheckBoxState::cbChecked, b); }
    TBitmap* GrayedGlyph() const { return glyphs_[2]; }
    void SetGrayedGlyph(TBitmap* b) { SetGlyph(TCheckBoxState::cbGrayed, b); }
    TBitmap* UncheckedGlyph() const { return glyphs_[0]; }
    void SetUncheckedGlyph(TBitmap* b) { SetGlyph(TCheckBoxState::cbUnchecked, b); }
    int CheckedNumGlyphs() const { return numGlyphs_[1]; }
    void SetCheckedNumGlyphs(int n) { SetNumGlyphs(TCheckBoxState::cbChecked, n); }
    int GrayedNumGlyphs() const { return numGlyphs_[2]; }
    void SetGrayedNumGlyphs(int n) { SetNumGlyphs(TCheckBoxState::cbGrayed, n); }
    int UncheckedNumGlyphs() const { return numGlyphs_[0]; }
    void SetUncheckedNumGlyphs(int n) { SetNumGlyphs(TCheckBoxState::cbUnchecked, n); }

    void SetGlyph(TCheckBoxState s, TBitmap* b);
    void SetNumGlyphs(TCheckBoxState s, int n);

    // Toggle, OnClick, then the focus when the box is showing and can take it.
    void Click() override;
    // The caption's accelerator: focuses and toggles without OnClick.
    bool HandleDialogKey(Word key, TShiftState shift) override;

    TBitCheckBoxPaint Paint() const;
    // The picture as painted: the state's image with its transparent colour
    // replaced by the box's Color.
    void RenderGlyph(TBitmap& out) const;
    int PaintCount() const { return paintCount_; }

    TNotifyEvent OnStartDrag;

protected:
    void DoKeyPress(char& key) override;
    void EnabledChanged() override { Invalidate(); }
    void TextChanged() override { Invalidate(); }
    void FontChanged() override;
    void DoEnter() override;
    void DoExit() override;

private:
    void Toggle();
    void Invalidate() { ++paintCount_; }

    TCheckBoxState state_ = TCheckBoxState::cbUnchecked;
    bool allowGrayed_ = false;
    TLeftRight alignment_ = TLeftRight::taRightJustify;
    bool ctl3D_ = true;
    bool parentCtl3D_ = true;
    TBitmap* glyphs_[3];
    int numGlyphs_[3] = {1, 1, 1};
    int paintCount_ = 0;
};

// The box's resource pictures ("UNCHECKED", "CHECKED", "GRAYED"): 19 x 14 on
// olive, which is transparent. Unknown names give an empty picture.
void LoadCheckBoxResource(TBitmap& b, std::string_view name);

}  // namespace zb
