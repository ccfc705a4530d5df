#include "platform/ui/Buttons.h"

#include "platform/core/Published.h"
#include "platform/ui/Forms.h"

namespace zb {

const EnumNames BitBtnKindNames = {"bkCustom", "bkOK", "bkCancel", "bkHelp", "bkYes", "bkNo",
                                   "bkClose", "bkAbort", "bkRetry", "bkIgnore", "bkAll"};
const EnumNames ButtonLayoutNames = {"blGlyphLeft", "blGlyphRight", "blGlyphTop", "blGlyphBottom"};

ZB_PUBLISHED(TBitBtn){
    prop::Class("Glyph", &TBitBtn::Glyph, &TBitBtn::SetGlyph),
    prop::Integer("NumGlyphs", &TBitBtn::NumGlyphs, &TBitBtn::SetNumGlyphs, "TNumGlyphs"),
    prop::Enum("Kind", &TBitBtn::Kind, &TBitBtn::SetKind, BitBtnKindNames, "TBitBtnKind"),
    prop::Enum("Layout", &TBitBtn::Layout, &TBitBtn::SetLayout, ButtonLayoutNames, "TButtonLayout"),
    prop::Integer("Margin", &TBitBtn::Margin, &TBitBtn::SetMargin),
    prop::Integer("Spacing", &TBitBtn::Spacing, &TBitBtn::SetSpacing),
};

ZB_PUBLISHED(TSpeedButton){
    prop::String("Caption", &TSpeedButton::Caption, &TSpeedButton::SetCaption, "TCaption"),
    prop::Integer("GroupIndex", &TSpeedButton::GroupIndex, &TSpeedButton::SetGroupIndex),
    prop::Bool("AllowAllUp", &TSpeedButton::AllowAllUp, &TSpeedButton::SetAllowAllUp),
    prop::Bool("Down", &TSpeedButton::Down, &TSpeedButton::SetDown),
    prop::Bool("Flat", &TSpeedButton::Flat, &TSpeedButton::SetFlat),
    prop::Class("Glyph", &TSpeedButton::Glyph, &TSpeedButton::SetGlyph),
    prop::Integer("NumGlyphs", &TSpeedButton::NumGlyphs, &TSpeedButton::SetNumGlyphs, "TNumGlyphs"),
    prop::Enum("Layout", &TSpeedButton::Layout, &TSpeedButton::SetLayout, ButtonLayoutNames, "TButtonLayout"),
    prop::Integer("Margin", &TSpeedButton::Margin, &TSpeedButton::SetMargin),
    prop::Integer("Spacing", &TSpeedButton::Spacing, &TSpeedButton::SetSpacing),
    prop::Bool("Transparent", &TSpeedButton::Transparent, &TSpeedButton::SetTransparent),
};

namespace {
void CheckNumGlyphs(int n) {
    if (n < 1 || n > 4) throw EInvalidOperation("NumGlyphs must be 1 to 4, not " + std::to_string(n));
}
}  // namespace

TBitBtn::TBitBtn(TComponent* owner) : TButton(owner), glyph_(new TBitmap) {}
TBitBtn::~TBitBtn() { glyph_->Free(); }

void TBitBtn::SetNumGlyphs(TNumGlyphs n) {
    CheckNumGlyphs(n);
    numGlyphs_ = n;
}

void TBitBtn::SetKind(TBitBtnKind k) {
    kind_ = k;
    struct KindInfo {
        const char* caption;
        TModalResult result;
    };
    static const KindInfo kinds[] = {
        {"", mrNone},        {"OK", mrOk},          {"Cancel", mrCancel}, {"&Help", mrNone},
        {"&Yes", mrYes},     {"&No", mrNo},         {"&Close", mrNone},   {"Abort", mrAbort},
        {"&Retry", mrRetry}, {"&Ignore", mrIgnore}, {"&All", mrAll},
    };
    if (k == TBitBtnKind::bkCustom) return;
    const KindInfo& info = kinds[static_cast<int>(k)];
    SetCaption(info.caption);
    SetModalResult(info.result);
    if (k == TBitBtnKind::bkOK || k == TBitBtnKind::bkYes) SetDefault(true);
    if (k == TBitBtnKind::bkCancel || k == TBitBtnKind::bkNo) SetCancel(true);
}

void TBitBtn::Click() {
    if (!Enabled()) return;
    if (kind_ == TBitBtnKind::bkClose) {
        if (TCustomForm* form = ParentForm()) {
            TButtonControl::Click();
            form->Close();
            return;
        }
    }
    TButton::Click();
}

TSpeedButton::TSpeedButton(TComponent* owner) : TGraphicControl(owner), glyph_(new TBitmap) { SetBounds(0, 0, 23, 22); }
TSpeedButton::~TSpeedButton() { glyph_->Free(); }

void TSpeedButton::SetNumGlyphs(TNumGlyphs n) {
    CheckNumGlyphs(n);
    numGlyphs_ = n;
}

void TSpeedButton::SetGroupIndex(int g) {
    if (g == groupIndex_) return;
    groupIndex_ = g;
    if (g == 0) down_ = false;
    UpdateGroup();
}

void TSpeedButton::SetAllowAllUp(bool on) {
    allowAllUp_ = on;
    // The flag is shared by the whole group.
    if (!Parent() || groupIndex_ == 0) return;
    for (TControl* c : Parent()->ControlList())
        if (auto* b = dyn_cast<TSpeedButton>(c); b && b != this && b->groupIndex_ == groupIndex_) b->allowAllUp_ = on;
}

void TSpeedButton::SetDown(bool on) {
    if (groupIndex_ == 0) on = false;
    if (on == down_) return;
    if (down_ && !on && !allowAllUp_) return;  // the last one down of a group stays down
    down_ = on;
    Changed("Down");
    if (on) UpdateGroup();
}

void TSpeedButton::UpdateGroup() {
    if (!down_ || groupIndex_ == 0 || !Parent()) return;
    for (TControl* c : Parent()->ControlList())
        if (auto* b = dyn_cast<TSpeedButton>(c); b && b != this && b->groupIndex_ == groupIndex_ && b->down_) {
            b->down_ = false;
            b->Changed("Down");
        }
}

TButtonState TSpeedButton::State() const {
    if (!Enabled()) return TButtonState::bsDisabled;
    return down_ ? TButtonState::bsExclusive : TButtonState::bsUp;
}

void TSpeedButton::Click() {
    if (!Enabled()) return;
    if (groupIndex_ != 0) {
        if (down_) {
            if (allowAllUp_) SetDown(false);
        } else {
            SetDown(true);
        }
    }
    TGraphicControl::Click();
}

}  // namespace zb
