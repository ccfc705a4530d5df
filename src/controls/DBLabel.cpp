#include "controls/DBLabel.h"

#include "controls/ZbcEdit.h"
#include "platform/core/Published.h"
#include "platform/ui/Dialogs.h"

namespace zb {

const EnumNames LabelPosNames{"psTop", "psLeft", "psRight", "psBottom"};

ZB_PUBLISHED(TDBLabel){
    prop::Class("FocusControl", &TDBLabel::FocusControl, &TDBLabel::SetFocusControl),
    prop::Bool("AutoAlign", &TDBLabel::AutoAlign, &TDBLabel::SetAutoAlign),
    prop::Bool("AutoCaption", &TDBLabel::AutoCaption, &TDBLabel::SetAutoCaption),
    prop::Integer("Gap", &TDBLabel::Gap, &TDBLabel::SetGap, "Byte"),
    prop::Enum("Pos", &TDBLabel::Pos, &TDBLabel::SetPos, LabelPosNames, "TLabelPos"),
};

TDBLabel::TDBLabel(TComponent* owner) : TLabel(owner) { SetCaption("挂靠标签"); }

void TDBLabel::SetFocusControl(TWinControl* c) {
    if (c) {
        if (TWinControl* parent = Parent()) {
            for (TComponent* comp : parent->ComponentList()) {
                auto* other = dynamic_cast<TDBLabel*>(comp);
                if (other && other->FocusControl() == c) {
                    if (other != this)
                        MessageDlg("不能同时有两个 DBLabel 指到同一个 Control.", TMsgDlgType::mtError, mbOKOnly);
                    return;
                }
            }
        }
        if (c == FocusControl()) return;
    }
    TLabel::SetFocusControl(c);
    Refresh();
}

void TDBLabel::SetAutoAlign(bool on) {
    autoAlign_ = on;
    Refresh();
}

void TDBLabel::SetAutoCaption(bool on) {
    autoCaption_ = on;
    Refresh();
}

void TDBLabel::SetGap(int g) {
    g = g < 0 ? 0 : g > 255 ? 255 : g;
    if (g == gap_) return;
    gap_ = g;
    Refresh();
}

void TDBLabel::SetPos(TLabelPos p) {
    if (p == pos_) return;
    pos_ = p;
    Refresh();
}

void TDBLabel::Refresh() {
    RefreshCaption();
    RefreshPlace();
}

void TDBLabel::RefreshCaption() {
    if (!autoCaption_ || !FocusControl()) return;
    std::string label;
    if (ControlFieldDisplayLabel(FocusControl(), label)) SetCaption(label);
}

void TDBLabel::RefreshPlace() {
    TWinControl* c = FocusControl();
    if (!c || !autoAlign_) return;
    const int w = Width(), h = Height();
    const int side = h == c->Height() ? c->Top() : c->Top() + c->Height() / 2 - h / 2;
    int left = 0, top = 0;
    switch (pos_) {
        case TLabelPos::psTop:
            left = c->Left();
            top = c->Top() - h - gap_;
            break;
        case TLabelPos::psLeft:
            left = c->Left() - w - gap_;
            top = side;
            if (left < 0) left = 0;
            break;
        case TLabelPos::psRight:
            left = c->Left() + c->Width() + gap_;
            top = side;
            if (left < 0) left = 0;
            break;
        case TLabelPos::psBottom:
            left = c->Left();
            top = c->Top() + c->Height() + gap_;
            break;
    }
    if (top < 0) top = 0;
    SetBounds(left, top, w, h);
}

}  // namespace zb
