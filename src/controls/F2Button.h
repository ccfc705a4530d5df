// A glyph button bound to one entry control: a click asks the form for the
// control's quick-pick window, as F2 in the control does.
#pragma once

#include "controls/GSpdBtn.h"

namespace zb {

class TF2Button : public TGSpeedButton {
    ZB_CLASS(TF2Button, TGSpeedButton)

public:
    explicit TF2Button(TComponent* owner = nullptr);

    TWinControl* F2Control() const { return f2Control_; }
    // Refused, with "不能同时有两个 F2Button 指到同一个 Edit." for another
    // button, when a button owned by this button's parent already serves it.
    void SetF2Control(TWinControl* control);
    bool AutoAlign() const { return autoAlign_; }
    void SetAutoAlign(bool on);
    int Gap() const { return gap_; }
    void SetGap(int gap);

    // OnClick first; then, when the control is enabled and takes the focus,
    // WM_QUICKPICK to its form.
    void Click() override;
    // Square, as high as the control and `Gap` pixels to its right.
    void AlignToControl();

    void Notification(TComponent* component, TOperation operation) override;

private:
    TWinControl* f2Control_ = nullptr;
    bool autoAlign_ = true;
    int gap_ = 2;
};

// The window a quick-pick request for `control` goes to: its owner when that
// is a windowed control (the form), else the form it sits on; 0 when none.
HWND QuickPickTarget(TControl* control);
// Sends WM_QUICKPICK for `control` to the window of `owner` (by default the
// control's own owner); false when there was no window to ask.
bool SendQuickPick(TControl* control, TComponent* owner = nullptr);

}  // namespace zb
