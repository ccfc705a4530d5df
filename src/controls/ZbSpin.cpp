#include "controls/ZbSpin.h"

#include "platform/core/Published.h"
#include "platform/core/TextUtils.h"

namespace zb {

ZB_PUBLISHED(TZbSpinEdit){
    prop::Event("OnChange", &TZbSpinEdit::OnChange),
};

void TZbSpinEdit::Change() {
    if (filtering_) return;
    std::string text = TControl::Text();
    // A sign is only meaningful in front; one typed further on is taken out
    // where it stands, so the digits around it survive.
    std::string kept;
    kept.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i)
        if (i == 0 || (text[i] != '+' && text[i] != '-')) kept += text[i];
    if (kept != text) {
        filtering_ = true;
        int caret = SelStart();
        SetText(kept);
        SetSelStart(caret > 0 ? caret - 1 : 0);
        filtering_ = false;
        text = kept;
    }
    if (!Trim(text).empty()) TSpinEdit::Change();
}

}  // namespace zb
