#include "platform/ui/Spin.h"

#include <charconv>
#include <climits>

#include "platform/core/Published.h"
#include "platform/core/TextUtils.h"

namespace zb {

ZB_PUBLISHED(TSpinEdit){
    prop::Integer("MinValue", &TSpinEdit::MinValue, &TSpinEdit::SetMinValue, "Longint"),
    prop::Integer("MaxValue", &TSpinEdit::MaxValue, &TSpinEdit::SetMaxValue, "Longint"),
    prop::Integer("Increment", &TSpinEdit::Increment, &TSpinEdit::SetIncrement, "Longint"),
    prop::Integer("Value", &TSpinEdit::Value, &TSpinEdit::SetValue, "Longint"),
    prop::Bool("EditorEnabled", &TSpinEdit::EditorEnabled, &TSpinEdit::SetEditorEnabled),
};

TSpinEdit::TSpinEdit(TComponent* owner) : TCustomEdit(owner) { TControl::SetText("0"); }

int TSpinEdit::CheckValue(int v) const {
    if (maxValue_ == minValue_) return v;
    if (v < minValue_) return minValue_;
    if (v > maxValue_) return maxValue_;
    return v;
}

int TSpinEdit::Value() const {
    std::string t = Trim(Text());
    if (!t.empty() && t[0] == '+') t.erase(0, 1);
    int v = 0;
    auto [end, ec] = std::from_chars(t.data(), t.data() + t.size(), v);
    if (t.empty() || ec != std::errc() || end != t.data() + t.size()) return minValue_;
    return CheckValue(v);
}

void TSpinEdit::SetValue(int v) { SetText(std::to_string(CheckValue(v))); }

namespace {
int Step(int v, int by) {
    long long r = static_cast<long long>(v) + by;
    return static_cast<int>(std::clamp<long long>(r, INT_MIN, INT_MAX));
}
}  // namespace

void TSpinEdit::UpClick() {
    if (ReadOnly() || !Enabled()) return;
    SetValue(Step(Value(), increment_));
}

void TSpinEdit::DownClick() {
    if (ReadOnly() || !Enabled()) return;
    SetValue(Step(Value(), -increment_));
}

bool TSpinEdit::WantsKey(Word key, TShiftState shift) const {
    return key == VK_UP || key == VK_DOWN || TCustomEdit::WantsKey(key, shift);
}

void TSpinEdit::DoKeyDown(Word& key, TShiftState shift) {
    if (key == VK_UP) {
        UpClick();
        key = 0;
    } else if (key == VK_DOWN) {
        DownClick();
        key = 0;
    } else {
        TCustomEdit::DoKeyDown(key, shift);
    }
}

void TSpinEdit::DoKeyPress(char& key) {
    // Digits, signs and editing keys only, and only while the editor is enabled.
    bool editing = key == 8;
    bool valid = (key >= '0' && key <= '9') || key == '+' || key == '-' || editing;
    if (!editorEnabled_ || !valid) {
        key = 0;
        return;
    }
    TCustomEdit::DoKeyPress(key);
}

void TSpinEdit::DoExit() {
    if (std::to_string(Value()) != Text()) SetValue(Value());
    TCustomEdit::DoExit();
}

}  // namespace zb
