#include "controls/ExtPage.h"

#include "platform/core/Published.h"

namespace zb {

ZB_PUBLISHED(TExtPageControl){
    prop::Event("OnDrawTab", &TExtPageControl::OnDrawTab, "TDrawTabEvent"),
};

TExtPageControl::TExtPageControl(TComponent* owner) : TPageControl(owner) { SetOwnerDraw(true); }

TTabPaint TExtPageControl::DrawTab(int tabIndex, const TRect& rect, bool active) {
    TTabPaint p;
    if (OnDrawTab) {
        OnDrawTab(this, tabIndex, rect, active);
        p.ByHandler = true;
        return p;
    }
    TRect r = rect;
    if (active) {
        r = Rect(r.Left + 2, r.Top + 2, r.Right - 2, r.Bottom - 2);
        p.FontColor = clCaptionText;
        p.Bold = true;
        p.Brush = clActiveCaption;
    }
    p.Fill = r;
    if (!active) r.Top += 2;
    p.TextRect = r;
    if (TTabSheet* page = PageForTab(tabIndex)) p.Caption = page->Caption();
    return p;
}

}  // namespace zb
