#include "controls/ZbRadioGroup.h"

#include <algorithm>

#include "platform/core/Published.h"
#include "platform/ui/Forms.h"

namespace zb {

// --- the group ------------------------------------------------------------

ZB_PUBLISHED(TZbGroupButton){};

TZbGroupButton::TZbGroupButton(TZbRadioGroup* group) : TZbRadioButton(group), group_(group) {
    group->buttons_.push_back(this);
    SetVisible(false);
    SetEnabled(group->Enabled());
    SetParentShowHint(false);
    SetParent(group);
}

TZbGroupButton::~TZbGroupButton() {
    if (group_) group_->Forget(this);
}

void TZbGroupButton::Click() {
    if (!group_ || !group_->CanModify() || inClick_) return;
    inClick_ = true;
    try {
        TZbRadioButton::Click();
        group_->ButtonClicked(this);
    } catch (const std::exception& e) {
        Application().HandleException(e);
    }
    inClick_ = false;
}

void TZbGroupButton::DoKeyPress(char& key) {
    TZbRadioButton::DoKeyPress(key);
    if (group_) {
        group_->OnKeyPress(group_, key);
        if ((key == ' ' || key == '\b') && !group_->CanModify()) key = 0;
    }
}

void TZbGroupButton::DoKeyDown(Word& key, TShiftState shift) {
    TZbRadioButton::DoKeyDown(key, shift);
    if (group_) group_->OnKeyDown(group_, key, shift);
}

ZB_PUBLISHED(TZbRadioGroup){
    prop::Class("Items", &TZbRadioGroup::Items, &TZbRadioGroup::SetItems),
    prop::Integer("ItemIndex", &TZbRadioGroup::ItemIndex, &TZbRadioGroup::SetItemIndex),
    prop::Integer("Columns", &TZbRadioGroup::Columns, &TZbRadioGroup::SetColumns),
    prop::Event("OnClick", &TZbRadioGroup::OnClick),
    prop::Event("OnEnter", &TZbRadioGroup::OnEnter),
    prop::Event("OnExit", &TZbRadioGroup::OnExit),
};

TZbRadioGroup::TZbRadioGroup(TComponent* owner) : TGroupBox(owner), items_(new TStringList) {
    SetBounds(Left(), Top(), 185, 105);
    items_->OnChange = Handler<&TZbRadioGroup::ItemsChanged>(this);
}

TZbRadioGroup::~TZbRadioGroup() {
    items_->OnChange = nullptr;
    for (auto* b : buttons_) b->group_ = nullptr;
    delete items_;
}

void TZbRadioGroup::Forget(TZbGroupButton* b) {
    buttons_.erase(std::remove(buttons_.begin(), buttons_.end(), b), buttons_.end());
}

void TZbRadioGroup::ItemsChanged(TObject*) {
    if (IsLoading()) {
        reading_ = true;
        return;
    }
    if (itemIndex_ >= items_->Count()) itemIndex_ = items_->Count() - 1;
    UpdateButtons();
}

void TZbRadioGroup::Loaded() {
    reading_ = false;
    UpdateButtons();
    ArrangeButtons();
}

void TZbRadioGroup::UpdateButtons() {
    updating_ = true;
    while (ButtonCount() < items_->Count()) new TZbGroupButton(this);
    while (ButtonCount() > items_->Count()) delete buttons_.back();
    for (int i = 0; i < ButtonCount(); ++i) {
        buttons_[i]->clicksDisabled_ = true;
        buttons_[i]->SetCaption(items_->Strings(i));
        buttons_[i]->SetChecked(false);
        buttons_[i]->clicksDisabled_ = false;
    }
    updating_ = false;
    int index = itemIndex_;
    itemIndex_ = -1;
    SetItemIndex(index);
    ArrangeButtons();
}

void TZbRadioGroup::SetItemIndex(int i) {
    if (reading_ || updating_) {
        itemIndex_ = i;
        return;
    }
    if (i < -1) i = -1;
    if (i >= ButtonCount()) i = ButtonCount() - 1;
    if (i == itemIndex_) return;
    if (itemIndex_ >= 0 && itemIndex_ < ButtonCount()) buttons_[itemIndex_]->SetChecked(false);
    itemIndex_ = i;
    if (i >= 0) {
        buttons_[i]->clicksDisabled_ = true;
        buttons_[i]->SetChecked(true);
        buttons_[i]->clicksDisabled_ = false;
    }
}

void TZbRadioGroup::SetColumns(int n) {
    n = std::clamp(n, 1, 16);
    if (n == columns_) return;
    columns_ = n;
    ArrangeButtons();
}

void TZbRadioGroup::ButtonClicked(TZbGroupButton* b) {
    if (updating_) return;
    auto it = std::find(buttons_.begin(), buttons_.end(), b);
    if (it == buttons_.end()) return;
    itemIndex_ = static_cast<int>(it - buttons_.begin());
    Changed("ItemIndex");
    TGroupBox::Click();
}

void TZbRadioGroup::ArrangeButtons() {
    if (buttons_.empty() || reading_) return;
    const int n = ButtonCount();
    const int t = TextHeight(*Font(), "0");
    const int rows = (n + columns_ - 1) / columns_;
    const int bw = (Width() - 10) / columns_;
    const int u = Height() - t - 5;
    const int bh = u / rows;
    const int m = (u % rows) / 2 + t + 1;
    DisableAlign();
    for (int i = 0; i < n; ++i) {
        int col = i / rows;
        int left = col * bw + 8;
        buttons_[i]->SetBounds(left, (i % rows) * bh + m, bw, bh);
        buttons_[i]->SetVisible(true);
    }
    EnableAlign();
}

void TZbRadioGroup::BoundsChanged(bool sized) {
    TGroupBox::BoundsChanged(sized);
    if (sized) ArrangeButtons();
}

void TZbRadioGroup::FontChanged() {
    TGroupBox::FontChanged();
    ArrangeButtons();
}

void TZbRadioGroup::EnabledChanged() {
    TGroupBox::EnabledChanged();
    for (auto* b : buttons_) b->SetEnabled(Enabled());
}

}  // namespace zb
