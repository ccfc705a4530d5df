// A radio button that paints its own caption in its own font, beside the
// mark the system draws; and the radio group built of such buttons.
#pragma once

#include <vector>

#include "platform/core/StringList.h"
#include "platform/ui/StdCtrls.h"

namespace zb {

// What one paint of the caption covers and where the caption goes.
struct TRadioCaptionPaint {
    TRect Cover;       // filled and outlined in Color
    TColor CoverColor = clBtnFace;
    TRect TextRect;    // single line, vertically centred
    std::string Text;
};

// The caption offset from the left edge for a font of `points`.
int RadioCaptionOffset(int points);

class TZbRadioButton : public TButtonControl {
    ZB_CLASS(TZbRadioButton, TButtonControl)

public:
    explicit TZbRadioButton(TComponent* owner = nullptr);
    ~TZbRadioButton() override;

    bool Checked() const { return checked_; }
    // Checking unchecks the other TZbRadioButtons of the same parent and
    // raises OnClick (unless clicks are suppressed).
    void SetChecked(bool on);
    TLeftRight Alignment() const { return alignment_; }
    void SetAlignment(TLeftRight a);
    bool Ctl3D() const { return ctl3D_; }
    void SetCtl3D(bool on);
    TCanvas* Canvas() const { return canvas_; }

    // The system button's clicked notification.
    void Click() override;
    bool HandleDialogKey(Word key, TShiftState shift) override;
    TRadioCaptionPaint Paint() const;
    int PaintCount() const { return paintCount_; }
    // Whether the system button would show the mark checked (told on every change).
    bool WindowChecked() const { return windowChecked_; }

    TNotifyEvent OnEnterKey;  // reserved for forms that route Enter themselves

protected:
    void EnabledChanged() override { ++paintCount_; }
    friend class TZbRadioGroup;
    bool clicksDisabled_ = false;

private:
    bool checked_ = false;
    bool windowChecked_ = false;
    TLeftRight alignment_ = TLeftRight::taRightJustify;
    bool ctl3D_ = true;
    TCanvas* canvas_;
    int paintCount_ = 0;
};

}  // namespace zb
