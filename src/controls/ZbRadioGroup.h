// A radio group whose buttons are TZbRadioButtons, one per item, arranged
// in columns inside the frame.
#pragma once

#include <vector>

#include "controls/ZbRadioButton.h"
#include "platform/core/StringList.h"

namespace zb {

class TZbRadioGroup;

class TZbGroupButton : public TZbRadioButton {
    ZB_CLASS(TZbGroupButton, TZbRadioButton)

public:
    explicit TZbGroupButton(TZbRadioGroup* group);
    ~TZbGroupButton() override;
    TZbRadioGroup* Group() const { return group_; }
    void Click() override;

protected:
    void DoKeyPress(char& key) override;
    void DoKeyDown(Word& key, TShiftState shift) override;

private:
    friend class TZbRadioGroup;
    TZbRadioGroup* group_;
    bool inClick_ = false;
};

class TZbRadioGroup : public TGroupBox {
    ZB_CLASS(TZbRadioGroup, TGroupBox)

public:
    explicit TZbRadioGroup(TComponent* owner = nullptr);
    ~TZbRadioGroup() override;

    TStrings* Items() const { return items_; }
    void SetItems(TStrings* s) { items_->Assign(s); }
    int ItemIndex() const { return itemIndex_; }
    void SetItemIndex(int i);
    int Columns() const { return columns_; }
    void SetColumns(int n);
    int ButtonCount() const { return static_cast<int>(buttons_.size()); }
    TZbGroupButton* Buttons(int i) const { return buttons_.at(static_cast<size_t>(i)); }
    // Always true here; kept so key handling reads as the class library's.
    bool CanModify() const { return true; }
    void ArrangeButtons();
    // After a form file has been read: the items wait until then.
    void Loaded();

protected:
    void BoundsChanged(bool sized) override;
    void FontChanged() override;
    void EnabledChanged() override;

private:
    friend class TZbGroupButton;
    void ItemsChanged(TObject*);
    void UpdateButtons();
    void ButtonClicked(TZbGroupButton* b);
    void Forget(TZbGroupButton* b);

    TStringList* items_;
    std::vector<TZbGroupButton*> buttons_;
    int itemIndex_ = -1;
    int columns_ = 1;
    bool updating_ = false;
    bool reading_ = false;
};

}  // namespace zb
