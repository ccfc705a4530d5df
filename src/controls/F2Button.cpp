#include "controls/F2Button.h"

#include "platform/core/Published.h"
#include "platform/ui/Dialogs.h"
#include "platform/ui/Forms.h"

namespace zb {

ZB_PUBLISHED(TF2Button){
    prop::Class("F2Control", &TF2Button::F2Control, &TF2Button::SetF2Control),
    prop::Bool("AutoAlign", &TF2Button::AutoAlign, &TF2Button::SetAutoAlign),
    prop::Integer("Gap", &TF2Button::Gap, &TF2Button::SetGap, "Byte"),
};

HWND QuickPickTarget(TControl* control) {
    if (!control) return 0;
    if (auto* owner = dynamic_cast<TWinControl*>(control->Owner())) return owner->Handle();
    if (auto* form = control->ParentForm()) return form->Handle();
    return 0;
}

bool SendQuickPick(TControl* control, TComponent* owner) {
    if (!control) return false;
    HWND wnd = 0;
    if (auto* w = dynamic_cast<TWinControl*>(owner))
        wnd = w->Handle();
    else
        wnd = QuickPickTarget(control);
    if (!wnd) return false;
    SendMessage(wnd, WM_QUICKPICK, 0, ControlParam(control));
    return true;
}

TF2Button::TF2Button(TComponent* owner) : TGSpeedButton(owner) {
    SetFlat(true);
    SetGlyphIndex(8);
}

void TF2Button::SetF2Control(TWinControl* control) {
    if (control) {
        if (TWinControl* parent = Parent()) {
            for (TComponent* c : parent->ComponentList()) {
                auto* other = dynamic_cast<TF2Button*>(c);
                if (other && other->f2Control_ == control) {
                    if (other != this) MessageDlg("不能同时有两个 F2Button 指到同一个 Edit.", TMsgDlgType::mtError, mbOKOnly);
                    return;
                }
            }
        }
    }
    if (f2Control_) RemoveFreeNotification(f2Control_);
    f2Control_ = control;
    if (f2Control_) FreeNotification(f2Control_);
    AlignToControl();
}

void TF2Button::SetAutoAlign(bool on) {
    autoAlign_ = on;
    AlignToControl();
}

void TF2Button::SetGap(int gap) {
    gap = gap < 0 ? 0 : gap > 255 ? 255 : gap;  // a Byte
    if (gap == gap_) return;
    gap_ = gap;
    AlignToControl();
}

void TF2Button::AlignToControl() {
    if (!f2Control_ || !autoAlign_) return;
    int h = f2Control_->Height();
    SetBounds(f2Control_->Left() + f2Control_->Width() + gap_, f2Control_->Top(), h, h);
}

void TF2Button::Click() {
    TGSpeedButton::Click();
    if (!f2Control_ || !f2Control_->Enabled()) return;
    if (f2Control_->CanFocus() && f2Control_->ParentForm()) f2Control_->SetFocus();
    if (f2Control_->Focused()) SendQuickPick(f2Control_);
}

void TF2Button::Notification(TComponent* component, TOperation operation) {
    TGSpeedButton::Notification(component, operation);
    if (operation == TOperation::opRemove && component == f2Control_) f2Control_ = nullptr;
}

}  // namespace zb
