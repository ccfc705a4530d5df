#include "platform/ui/Menus.h"

#include <algorithm>

#include "platform/core/Published.h"
#include "platform/core/TextUtils.h"

namespace zb {

ZB_PUBLISHED(TMenuItem){
    prop::String("Caption", &TMenuItem::Caption, &TMenuItem::SetCaption, "TCaption"),
    prop::String("Hint", &TMenuItem::Hint, &TMenuItem::SetHint),
    prop::Bool("Checked", &TMenuItem::Checked, &TMenuItem::SetChecked),
    prop::Bool("RadioItem", &TMenuItem::RadioItem, &TMenuItem::SetRadioItem),
    prop::Integer("GroupIndex", &TMenuItem::GroupIndex, &TMenuItem::SetGroupIndex, "Byte"),
    prop::Bool("AutoCheck", &TMenuItem::AutoCheck, &TMenuItem::SetAutoCheck),
    prop::Bool("Enabled", &TMenuItem::Enabled, &TMenuItem::SetEnabled),
    prop::Bool("Visible", &TMenuItem::Visible, &TMenuItem::SetVisible),
    prop::Bool("Default", &TMenuItem::Default, &TMenuItem::SetDefault),
    prop::Integer("ShortCut", &TMenuItem::ShortCut, &TMenuItem::SetShortCut, "TShortCut"),
    prop::Integer("ImageIndex", &TMenuItem::ImageIndex, &TMenuItem::SetImageIndex, "TImageIndex"),
    prop::Event("OnClick", &TMenuItem::OnClick),
};
ZB_PUBLISHED(TMenu){
    prop::Bool("OwnerDraw", &TMenu::OwnerDraw, &TMenu::SetOwnerDraw),
};
ZB_PUBLISHED(TMainMenu){};
ZB_PUBLISHED(TPopupMenu){
    prop::Bool("AutoPopup", &TPopupMenu::AutoPopup, &TPopupMenu::SetAutoPopup),
    prop::Event("OnPopup", &TPopupMenu::OnPopup),
};

TMenuItem::TMenuItem(TComponent* owner) : TComponent(owner) {}

TMenuItem::~TMenuItem() {
    if (parent_) parent_->items_.erase(std::remove(parent_->items_.begin(), parent_->items_.end(), this), parent_->items_.end());
    for (TMenuItem* i : items_) i->parent_ = nullptr;
}

void TMenuItem::BeforeDestruction() {
    TComponent::BeforeDestruction();
    if (parent_) parent_->Remove(this);
    // Sub-items go with their item (their owner hears of it); one that is
    // being destroyed already is only let go.
    while (!items_.empty()) {
        TMenuItem* i = items_.back();
        Remove(i);
        if (!i->IsDestroying()) i->Free();
    }
}

void TMenuItem::SetChecked(bool on) {
    if (on == checked_) return;
    checked_ = on;
    if (on && radioItem_ && parent_)
        for (TMenuItem* i : parent_->items_)
            if (i != this && i->radioItem_ && i->groupIndex_ == groupIndex_) i->checked_ = false;
}

TMenuItem* TMenuItem::Items(int index) const {
    if (index < 0 || index >= Count()) throw EComponentError("Menu index out of range (" + std::to_string(index) + ")");
    return items_[static_cast<size_t>(index)];
}

int TMenuItem::MenuIndex() const { return parent_ ? parent_->IndexOf(this) : -1; }

int TMenuItem::IndexOf(const TMenuItem* item) const {
    auto it = std::find(items_.begin(), items_.end(), item);
    return it == items_.end() ? -1 : static_cast<int>(it - items_.begin());
}

void TMenuItem::Add(TMenuItem* item) { Insert(Count(), item); }

void TMenuItem::Insert(int index, TMenuItem* item) {
    if (!item) return;
    for (TMenuItem* p = this; p; p = p->parent_)
        if (p == item) throw EComponentError("A menu item cannot hold itself");
    if (item->parent_) item->parent_->Remove(item);
    index = std::clamp(index, 0, Count());
    items_.insert(items_.begin() + index, item);
    item->parent_ = this;
}

void TMenuItem::Remove(TMenuItem* item) {
    auto it = std::find(items_.begin(), items_.end(), item);
    if (it == items_.end()) return;
    items_.erase(it);
    item->parent_ = nullptr;
}

void TMenuItem::Delete(int index) {
    TMenuItem* i = Items(index);
    Remove(i);
    i->Free();
}

void TMenuItem::Clear() {
    while (!items_.empty()) Delete(Count() - 1);
}

TMenuItem* TMenuItem::Find(const std::string& caption) const {
    auto strip = [](std::string s) {
        s.erase(std::remove(s.begin(), s.end(), '&'), s.end());
        return s;
    };
    std::string wanted = strip(caption);
    for (TMenuItem* i : items_)
        if (SameText(strip(i->caption_), wanted)) return i;
    return nullptr;
}

void TMenuItem::Click() {
    if (!enabled_) return;
    if (autoCheck_) SetChecked(radioItem_ ? true : !checked_);
    OnClick(this);
}

// --- TMenu -----------------------------------------------------------------

TMenu::TMenu(TComponent* owner) : TComponent(owner), items_(new TMenuItem(nullptr)) {}

TMenu::~TMenu() {
    if (items_) items_->Free();
}

void TMenu::BeforeDestruction() {
    TComponent::BeforeDestruction();
    TMenuItem* root = items_;
    items_ = nullptr;
    root->Free();
}

void TMenu::SetImages(TComponent* images) {
    if (images == images_) return;
    if (images_) RemoveFreeNotification(images_);
    images_ = images;
    if (images) FreeNotification(images);
}

void TMenu::Notification(TComponent* component, TOperation operation) {
    TComponent::Notification(component, operation);
    if (operation == TOperation::opRemove && component == images_) images_ = nullptr;
}

// --- TPopupMenu ------------------------------------------------------------

void TPopupMenu::SetPopupComponent(TComponent* c) {
    if (c == popupComponent_) return;
    if (popupComponent_) RemoveFreeNotification(popupComponent_);
    popupComponent_ = c;
    if (c) FreeNotification(c);
}

void TPopupMenu::Popup(int x, int y) {
    popupX_ = x;
    popupY_ = y;
    ++popupCount_;
    OnPopup(this);
}

void TPopupMenu::Notification(TComponent* component, TOperation operation) {
    TMenu::Notification(component, operation);
    if (operation == TOperation::opRemove && component == popupComponent_) popupComponent_ = nullptr;
}

}  // namespace zb
