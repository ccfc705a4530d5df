#include "platform/core/Component.h"

#include <algorithm>
#include <unordered_map>

#include "platform/core/Published.h"
#include "platform/core/TextUtils.h"

namespace zb {

struct TComponent::NameIndex {
    std::unordered_map<std::string, TComponent*> byName;
};

ZB_PUBLISHED(TComponent){
    prop::String("Name", &TComponent::Name, &TComponent::SetName, "TComponentName"),
    prop::Integer("Tag", &TComponent::Tag, &TComponent::SetTag, "Longint"),
};

bool IsValidIdent(std::string_view name) {
    if (name.empty()) return false;
    auto alpha = [](unsigned char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_'; };
    if (!alpha(static_cast<unsigned char>(name[0]))) return false;
    return std::all_of(name.begin() + 1, name.end(), [&](char ch) {
        auto c = static_cast<unsigned char>(ch);
        return alpha(c) || (c >= '0' && c <= '9');
    });
}

TComponent::TComponent(TComponent* owner) : names_(std::make_unique<NameIndex>()) {
    if (owner) owner->InsertComponent(this);
}

TComponent::~TComponent() {
    // Normally done by Free while the whole object still exists; a component
    // deleted directly is torn down here, at this level.
    Teardown();
}

void TComponent::BeforeDestruction() { Teardown(); }

void TComponent::Teardown() {
    if (tornDown_) return;
    tornDown_ = true;
    Destroying();
    while (!freeNotifies_.empty()) {
        TComponent* other = freeNotifies_.back();
        freeNotifies_.pop_back();
        other->RemoveNotify(this);
        other->Notification(this, TOperation::opRemove);
    }
    DestroyComponents();
    if (owner_) owner_->RemoveComponent(this);
}

void TComponent::Destroying() {
    if (state_ & csDestroying) return;
    state_ |= csDestroying;
    for (TComponent* c : components_) c->Destroying();
}

TComponent* TComponent::Components(int index) const {
    if (index < 0 || index >= ComponentCount())
        throw EComponentError("List index out of bounds (" + std::to_string(index) + ")");
    return components_[static_cast<size_t>(index)];
}

int TComponent::ComponentIndex() const {
    if (!owner_) return -1;
    auto& list = owner_->components_;
    auto it = std::find(list.begin(), list.end(), this);
    return it == list.end() ? -1 : static_cast<int>(it - list.begin());
}

TComponent* TComponent::FindComponent(std::string_view name) const {
    if (name.empty()) return nullptr;
    auto it = names_->byName.find(LowerCase(name));
    return it == names_->byName.end() ? nullptr : it->second;
}

void TComponent::SetName(const std::string& name) {
    if (name == name_) return;
    if (!name.empty() && !IsValidIdent(name))
        throw EComponentError("'" + name + "' is not a valid component name");
    if (owner_)
        owner_->ValidateRename(this, name_, name);
    else
        ValidateRename(nullptr, name_, name);
    if (owner_) {
        auto& byName = owner_->names_->byName;
        auto it = byName.find(LowerCase(name_));
        if (it != byName.end() && it->second == this) byName.erase(it);
        if (!name.empty()) byName[LowerCase(name)] = this;
    }
    name_ = name;
}

void TComponent::ValidateRename(TComponent* component, std::string_view oldName, std::string_view newName) const {
    if (component && !SameText(oldName, newName) && !newName.empty() && FindComponent(newName))
        throw EComponentError("A component named " + std::string(newName) + " already exists");
}

void TComponent::InsertComponent(TComponent* component) {
    if (!component || component->owner_ == this) return;
    ValidateRename(component, "", component->name_);
    if (component->owner_) component->owner_->RemoveComponent(component);
    AddOwned(component);
    if (IsDesigning()) component->SetDesigning(true);
    Notification(component, TOperation::opInsert);
}

void TComponent::RemoveComponent(TComponent* component) {
    if (!component || component->owner_ != this) return;
    Notification(component, TOperation::opRemove);
    RemoveOwned(component);
}

void TComponent::AddOwned(TComponent* component) {
    components_.push_back(component);
    component->owner_ = this;
    if (!component->name_.empty()) names_->byName[LowerCase(component->name_)] = component;
}

void TComponent::RemoveOwned(TComponent* component) {
    auto it = std::find(components_.rbegin(), components_.rend(), component);
    if (it != components_.rend()) components_.erase(std::next(it).base());
    if (!component->name_.empty()) {
        auto n = names_->byName.find(LowerCase(component->name_));
        if (n != names_->byName.end() && n->second == component) names_->byName.erase(n);
    }
    component->owner_ = nullptr;
}

void TComponent::DestroyComponents() {
    while (!components_.empty()) {
        TComponent* last = components_.back();
        RemoveOwned(last);
        last->Free();
    }
}

void TComponent::SetDesigning(bool on) {
    state_ = on ? (state_ | csDesigning) : (state_ & ~csDesigning);
    for (TComponent* c : components_) c->SetDesigning(on);
}

void TComponent::SetLoading(bool on) { state_ = on ? (state_ | csLoading) : (state_ & ~csLoading); }

void TComponent::AddNotify(TComponent* component) {
    if (std::find(freeNotifies_.begin(), freeNotifies_.end(), component) == freeNotifies_.end())
        freeNotifies_.push_back(component);
}

void TComponent::RemoveNotify(TComponent* component) {
    freeNotifies_.erase(std::remove(freeNotifies_.begin(), freeNotifies_.end(), component), freeNotifies_.end());
}

void TComponent::FreeNotification(TComponent* component) {
    if (!component || component == this) return;
    AddNotify(component);
    component->AddNotify(this);
}

void TComponent::RemoveFreeNotification(TComponent* component) {
    if (!component) return;
    RemoveNotify(component);
    component->RemoveNotify(this);
}

void TComponent::Notification(TComponent* component, TOperation operation) {
    if (operation == TOperation::opRemove && component) RemoveFreeNotification(component);
    // An owned component's handler may free others: walk by index, from the end.
    for (size_t i = components_.size(); i-- > 0;) {
        if (i >= components_.size()) continue;
        components_[i]->Notification(component, operation);
    }
}

}  // namespace zb
