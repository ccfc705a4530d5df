// A page control whose tabs are drawn by the control: the active tab in the
// active-caption colours and bold, the others in the inactive ones.
#pragma once

#include "platform/ui/ComCtrls.h"

namespace zb {

struct TTabPaint {
    TRect Fill;      // filled with Brush
    TRect TextRect;  // caption centred both ways
    TColor Brush = clInactiveCaption;
    TColor FontColor = clInactiveCaptionText;
    bool Bold = false;
    std::string Caption;
    bool ByHandler = false;  // OnDrawTab drew it; nothing else applies
};

class TExtPageControl : public TPageControl {
    ZB_CLASS(TExtPageControl, TPageControl)

public:
    explicit TExtPageControl(TComponent* owner = nullptr);
    bool FixedTabs() const { return true; }
    // Draws the tab at that visible index (hidden tabs are not counted).
    TTabPaint DrawTab(int tabIndex, const TRect& rect, bool active);
};

}  // namespace zb
