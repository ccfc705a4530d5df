#include "platform/ui/ExtCtrls.h"

#include <algorithm>

#include "platform/core/Published.h"

namespace zb {

namespace {
const EnumNames kResizeStyleNames = {"rsNone", "rsLine", "rsUpdate", "rsPattern"};
const EnumNames kBevelShapeNames = {"bsBox", "bsFrame", "bsTopLine", "bsBottomLine", "bsLeftLine", "bsRightLine", "bsSpacer"};
const EnumNames kBevelStyleNames = {"bsLowered", "bsRaised"};
}  // namespace

ZB_PUBLISHED(TCustomPanel){};
ZB_PUBLISHED(TPanel){
    prop::String("Caption", &TPanel::Caption, &TPanel::SetCaption, "TCaption"),
    prop::Enum("Alignment", &TPanel::Alignment, &TPanel::SetAlignment, AlignmentNames, "TAlignment"),
    prop::Enum("BevelInner", &TPanel::BevelInner, &TPanel::SetBevelInner, BevelCutNames, "TPanelBevel"),
    prop::Enum("BevelOuter", &TPanel::BevelOuter, &TPanel::SetBevelOuter, BevelCutNames, "TPanelBevel"),
    prop::Integer("BevelWidth", &TPanel::BevelWidth, &TPanel::SetBevelWidth, "TBevelWidth"),
    prop::Integer("BorderWidth", &TPanel::BorderWidth, &TPanel::SetBorderWidth, "TBorderWidth"),
    prop::Enum("BorderStyle", &TPanel::BorderStyle, &TPanel::SetBorderStyle, BorderStyleNames, "TBorderStyle"),
};
ZB_PUBLISHED(TSplitter){
    prop::Integer("MinSize", &TSplitter::MinSize, &TSplitter::SetMinSize, "NaturalNumber"),
    prop::Bool("Beveled", &TSplitter::Beveled, &TSplitter::SetBeveled),
    prop::Enum("ResizeStyle", &TSplitter::ResizeStyle, &TSplitter::SetResizeStyle, kResizeStyleNames, "TResizeStyle"),
    prop::Event("OnMoved", &TSplitter::OnMoved),
};
ZB_PUBLISHED(TBevel){
    prop::Enum("Shape", &TBevel::Shape, &TBevel::SetShape, kBevelShapeNames, "TBevelShape"),
    prop::Enum("Style", &TBevel::Style, &TBevel::SetStyle, kBevelStyleNames, "TBevelStyle"),
};
ZB_PUBLISHED(TImage){
    prop::Class("Picture", &TImage::Picture, &TImage::SetPicture),
    prop::Bool("Stretch", &TImage::Stretch, &TImage::SetStretch),
    prop::Bool("Center", &TImage::Center, &TImage::SetCenter),
    prop::Bool("Transparent", &TImage::Transparent, &TImage::SetTransparent),
};

TCustomPanel::TCustomPanel(TComponent* owner) : TCustomControl(owner) { SetBounds(0, 0, 185, 41); }

void TCustomPanel::SetBevelWidth(int w) {
    bevelWidth_ = std::max(w, 1);
    Realign();
}

void TCustomPanel::SetBorderWidth(int w) {
    borderWidth_ = std::max(w, 0);
    Realign();
}

void TCustomPanel::AlignControls(TRect& r) {
    int inset = borderWidth_;
    if (bevelOuter_ != TBevelCut::bvNone) inset += bevelWidth_;
    if (bevelInner_ != TBevelCut::bvNone) inset += bevelWidth_;
    r.Left += inset;
    r.Top += inset;
    r.Right = std::max(r.Left, r.Right - inset);
    r.Bottom = std::max(r.Top, r.Bottom - inset);
    TCustomControl::AlignControls(r);
}

TSplitter::TSplitter(TComponent* owner) : TGraphicControl(owner) {
    SetBounds(0, 0, 3, 100);
    SetAlign(TAlign::alLeft);
    SetCursor(-14);  // the size cursor
}

TControl* TSplitter::FindControl() const {
    TWinControl* p = Parent();
    if (!p) return nullptr;
    for (TControl* c : p->ControlList()) {
        if (c == this || !c->Visible() || c->Align() != Align()) continue;
        switch (Align()) {
            case TAlign::alLeft: if (c->Left() + c->Width() == Left()) return c; break;
            case TAlign::alRight: if (c->Left() == Left() + Width()) return c; break;
            case TAlign::alTop: if (c->Top() + c->Height() == Top()) return c; break;
            case TAlign::alBottom: if (c->Top() == Top() + Height()) return c; break;
            default: break;
        }
    }
    return nullptr;
}

void TSplitter::MoveBy(int delta) {
    TControl* c = FindControl();
    if (!c || delta == 0) return;
    switch (Align()) {
        case TAlign::alLeft: c->SetWidth(std::max(minSize_, c->Width() + delta)); break;
        case TAlign::alRight: c->SetWidth(std::max(minSize_, c->Width() - delta)); break;
        case TAlign::alTop: c->SetHeight(std::max(minSize_, c->Height() + delta)); break;
        case TAlign::alBottom: c->SetHeight(std::max(minSize_, c->Height() - delta)); break;
        default: return;
    }
    OnMoved(this);
}

TBevel::TBevel(TComponent* owner) : TGraphicControl(owner) { SetBounds(0, 0, 50, 50); }

TImage::TImage(TComponent* owner) : TGraphicControl(owner), picture_(new TBitmap) { SetBounds(0, 0, 105, 105); }
TImage::~TImage() { picture_->Free(); }

}  // namespace zb
