// The spin edit: an edit for a whole number with up and down steps, kept
// within MinValue..MaxValue when the two differ.
#pragma once

#include "platform/ui/StdCtrls.h"

namespace zb {

class TSpinEdit : public TCustomEdit {
    ZB_CLASS(TSpinEdit, TCustomEdit)

public:
    explicit TSpinEdit(TComponent* owner = nullptr);

    int MinValue() const { return minValue_; }
    void SetMinValue(int v) { minValue_ = v; }
    int MaxValue() const { return maxValue_; }
    void SetMaxValue(int v) { maxValue_ = v; }
    int Increment() const { return increment_; }
    void SetIncrement(int v) { increment_ = v; }
    bool EditorEnabled() const { return editorEnabled_; }
    void SetEditorEnabled(bool on) { editorEnabled_ = on; }
    // The text as a number within the range; MinValue for a text that is no number.
    int Value() const;
    void SetValue(int v);
    // The limits applied to `v` (none when MinValue equals MaxValue).
    int CheckValue(int v) const;
    // The spin buttons.
    void UpClick();
    void DownClick();

protected:
    void DoKeyDown(Word& key, TShiftState shift) override;
    void DoKeyPress(char& key) override;
    bool WantsKey(Word key, TShiftState shift) const override;
    void InsertTypedText(std::string_view text) override {}
    void DoExit() override;

private:
    int minValue_ = 0;
    int maxValue_ = 0;
    int increment_ = 1;
    bool editorEnabled_ = true;
};

}  // namespace zb
