// TComponent: a named object with an owner that destroys it, the components
// it owns in turn, a Tag, and free notification so no reference to a
// destroyed component survives.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/core/Persistent.h"

namespace zb {

enum class TOperation { opInsert, opRemove };

// ComponentState flags.
enum : unsigned {
    csLoading = 1u << 0,
    csReading = 1u << 1,
    csWriting = 1u << 2,
    csDestroying = 1u << 3,
    csDesigning = 1u << 4,
};

// True for a name the class library accepts: a letter or "_", then letters,
// digits or "_" (ASCII).
bool IsValidIdent(std::string_view name);

class TComponent : public TPersistent {
    ZB_CLASS(TComponent, TPersistent)

public:
    explicit TComponent(TComponent* owner = nullptr);
    ~TComponent() override;

    const std::string& Name() const { return name_; }
    // Throws EComponentError for a name that is no identifier or that another
    // component of the same owner already has (compared without case).
    virtual void SetName(const std::string& name);

    TComponent* Owner() const { return owner_; }
    int ComponentCount() const { return static_cast<int>(components_.size()); }
    TComponent* Components(int index) const;  // throws EComponentError outside 0..Count-1
    const std::vector<TComponent*>& ComponentList() const { return components_; }
    // Place in the owner's list; -1 without owner.
    int ComponentIndex() const;
    // The owned component of that name, without regard to case; null when none.
    TComponent* FindComponent(std::string_view name) const;

    // Takes ownership (removing it from its previous owner).
    void InsertComponent(TComponent* component);
    // Gives up ownership without destroying it.
    void RemoveComponent(TComponent* component);
    // Destroys every owned component, the last first.
    void DestroyComponents();

    std::intptr_t Tag() const { return tag_; }
    void SetTag(std::intptr_t tag) { tag_ = tag; }

    unsigned ComponentState() const { return state_; }
    bool IsDestroying() const { return (state_ & csDestroying) != 0; }
    bool IsLoading() const { return (state_ & csLoading) != 0; }
    bool IsDesigning() const { return (state_ & csDesigning) != 0; }
    void SetDesigning(bool on);
    void SetLoading(bool on);

    // Asks to be told (Notification with opRemove) when `component` is
    // destroyed; the link goes both ways, so whichever goes first tells the other.
    void FreeNotification(TComponent* component);
    void RemoveFreeNotification(TComponent* component);

    // Told when a component is inserted into or removed from this one, or a
    // component asked for free notification goes away. The base passes it on
    // to every owned component, so fields of a form referring to its controls
    // are cleared by overriding this. Overrides call the inherited one.
    virtual void Notification(TComponent* component, TOperation operation);

protected:
    // Marks the component and everything it owns as being destroyed.
    virtual void Destroying();
    void BeforeDestruction() override;
    virtual void ValidateRename(TComponent* component, std::string_view oldName, std::string_view newName) const;

private:
    void Teardown();
    void AddOwned(TComponent* component);
    void RemoveOwned(TComponent* component);
    void AddNotify(TComponent* component);
    void RemoveNotify(TComponent* component);

    struct NameIndex;
    std::string name_;
    TComponent* owner_ = nullptr;
    std::vector<TComponent*> components_;
    std::unique_ptr<NameIndex> names_;  // owned components by lower-case name
    std::vector<TComponent*> freeNotifies_;
    std::intptr_t tag_ = 0;
    unsigned state_ = 0;
    bool tornDown_ = false;
};

}  // namespace zb
