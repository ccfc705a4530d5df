#include "controls/ZbRadioButton.h"

#include <algorithm>
#include <cctype>

#include "platform/core/Published.h"
#include "platform/ui/Forms.h"

namespace zb {

namespace {
const EnumNames kLeftRight{"taLeftJustify", "taRightJustify"};
}

int RadioCaptionOffset(int points) {
    if (points >= 1 && points <= 8) return 17;
    if (points >= 9 && points <= 15) return 19;
    if (points >= 16 && points <= 17) return 20;
    if (points >= 18 && points <= 23) return 21;
    if (points >= 24 && points <= 29) return 23;
    if (points >= 30 && points <= 35) return 25;
    if (points >= 36 && points <= 41) return 27;
    if (points >= 42 && points <= 43) return 29;
    if (points >= 44 && points <= 60) return 31;
    if (points >= 61 && points <= 80) return 39;
    return 44;
}

ZB_PUBLISHED(TZbRadioButton){
    prop::String("Caption", &TZbRadioButton::Caption, &TZbRadioButton::SetCaption, "TCaption"),
    prop::Bool("Checked", &TZbRadioButton::Checked, &TZbRadioButton::SetChecked),
    prop::Enum("Alignment", &TZbRadioButton::Alignment, &TZbRadioButton::SetAlignment, kLeftRight, "TLeftRight"),
    prop::Bool("Ctl3D", &TZbRadioButton::Ctl3D, &TZbRadioButton::SetCtl3D),
    prop::Event("OnClick", &TZbRadioButton::OnClick),
    prop::Event("OnDblClick", &TZbRadioButton::OnDblClick),
    prop::Event("OnEnter", &TZbRadioButton::OnEnter),
    prop::Event("OnExit", &TZbRadioButton::OnExit),
    prop::Event("OnKeyDown", &TZbRadioButton::OnKeyDown, "TKeyEvent"),
    prop::Event("OnKeyPress", &TZbRadioButton::OnKeyPress, "TKeyPressEvent"),
    prop::Event("OnKeyUp", &TZbRadioButton::OnKeyUp, "TKeyEvent"),
    prop::Event("OnMouseDown", &TZbRadioButton::OnMouseDown, "TMouseEvent"),
    prop::Event("OnMouseMove", &TZbRadioButton::OnMouseMove, "TMouseMoveEvent"),
    prop::Event("OnMouseUp", &TZbRadioButton::OnMouseUp, "TMouseEvent"),
};

TZbRadioButton::TZbRadioButton(TComponent* owner) : TButtonControl(owner), canvas_(new TCanvas) {
    SetBounds(Left(), Top(), 113, 17);
    canvas_->SetFont(Font());
}

TZbRadioButton::~TZbRadioButton() { delete canvas_; }

void TZbRadioButton::SetChecked(bool on) {
    if (on == checked_) return;
    checked_ = on;
    SetTabStop(on);
    if (HandleAllocated()) windowChecked_ = on;
    Changed("Checked");
    if (!on) return;
    if (TWinControl* p = Parent())
        for (TControl* c : p->ControlList())
            if (c != this)
                if (auto* rb = dynamic_cast<TZbRadioButton*>(c)) rb->SetChecked(false);
    if (!clicksDisabled_) TButtonControl::Click();
}

void TZbRadioButton::SetAlignment(TLeftRight a) {
    if (a == alignment_) return;
    alignment_ = a;
    ++paintCount_;
}

void TZbRadioButton::SetCtl3D(bool on) {
    if (on == ctl3D_) return;
    ctl3D_ = on;
    // The window is made again with the new look; the model keeps its state.
    DestroyHandle();
    ++paintCount_;
}

void TZbRadioButton::Click() {
    if (!Enabled()) return;
    SetChecked(true);
}

bool TZbRadioButton::HandleDialogKey(Word key, TShiftState shift) {
    const std::string& cap = Caption();
    auto amp = cap.find('&');
    if (amp == std::string::npos || amp + 1 >= cap.size() || !(shift & ssAlt)) return false;
    if (key != static_cast<unsigned char>(std::toupper(static_cast<unsigned char>(cap[amp + 1])))) return false;
    if (CanFocus() && ParentForm()) SetFocus();
    return true;
}

TRadioCaptionPaint TZbRadioButton::Paint() const {
    TRadioCaptionPaint p;
    int x = RadioCaptionOffset(Font()->Size());
    TRect r = ClientRect();
    p.Cover = Rect(r.Left + x - 4, r.Top - 4, r.Right + 4, r.Bottom + 4);
    p.CoverColor = Color();
    p.TextRect = Rect(r.Left + x, r.Top, r.Right, r.Bottom);
    p.Text = Caption();
    return p;
}

}  // namespace zb
