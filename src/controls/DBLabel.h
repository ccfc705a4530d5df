// A free-standing label that places itself beside the control it is attached
// to and can take its caption from the data field that control shows.
#pragma once

#include "platform/ui/StdCtrls.h"

namespace zb {

enum class TLabelPos { psTop, psLeft, psRight, psBottom };
extern const EnumNames LabelPosNames;

class TDBLabel : public TLabel {
    ZB_CLASS(TDBLabel, TLabel)

public:
    explicit TDBLabel(TComponent* owner = nullptr);

    TWinControl* FocusControl() const { return TLabel::FocusControl(); }
    // Refused, with "不能同时有两个 DBLabel 指到同一个 Control." for another
    // label, when a label owned by this label's parent is attached to it.
    void SetFocusControl(TWinControl* c);
    bool AutoAlign() const { return autoAlign_; }
    void SetAutoAlign(bool on);
    bool AutoCaption() const { return autoCaption_; }
    void SetAutoCaption(bool on);
    int Gap() const { return gap_; }
    void SetGap(int g);
    TLabelPos Pos() const { return pos_; }
    void SetPos(TLabelPos p);

    void Refresh();

private:
    void RefreshCaption();
    void RefreshPlace();

    bool autoAlign_ = true;
    bool autoCaption_ = true;
    int gap_ = 4;
    TLabelPos pos_ = TLabelPos::psLeft;
};

}  // namespace zb
