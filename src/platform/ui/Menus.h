// Menus: items in a tree with captions, checks and radio groups, and the
// popup menu a control shows on a right click. Headless, a popup only
// remembers where it was asked to appear; the user agent clicks its items.
#pragma once

#include <string>
#include <vector>

#include "platform/core/Component.h"
#include "platform/core/Events.h"

namespace zb {

using TShortCut = int;

class TMenuItem : public TComponent {
    ZB_CLASS(TMenuItem, TComponent)

public:
    explicit TMenuItem(TComponent* owner = nullptr);
    ~TMenuItem() override;

    const std::string& Caption() const { return caption_; }
    void SetCaption(const std::string& c) { caption_ = c; }
    const std::string& Hint() const { return hint_; }
    void SetHint(const std::string& h) { hint_ = h; }
    // Checking a radio item unchecks the radio items of its group beside it.
    bool Checked() const { return checked_; }
    void SetChecked(bool on);
    bool RadioItem() const { return radioItem_; }
    void SetRadioItem(bool on) { radioItem_ = on; }
    int GroupIndex() const { return groupIndex_; }
    void SetGroupIndex(int g) { groupIndex_ = g; }
    bool AutoCheck() const { return autoCheck_; }
    void SetAutoCheck(bool on) { autoCheck_ = on; }
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool on) { enabled_ = on; }
    bool Visible() const { return visible_; }
    void SetVisible(bool on) { visible_ = on; }
    bool Default() const { return default_; }
    void SetDefault(bool on) { default_ = on; }
    TShortCut ShortCut() const { return shortCut_; }
    void SetShortCut(TShortCut s) { shortCut_ = s; }
    int ImageIndex() const { return imageIndex_; }
    void SetImageIndex(int i) { imageIndex_ = i; }
    // A separator is an item captioned "-".
    bool IsLine() const { return caption_ == "-"; }

    int Count() const { return static_cast<int>(items_.size()); }
    TMenuItem* Items(int index) const;  // EComponentError outside the list
    TMenuItem* Parent() const { return parent_; }
    int MenuIndex() const;
    void Add(TMenuItem* item);
    void Insert(int index, TMenuItem* item);
    // Takes the item out without destroying it.
    void Remove(TMenuItem* item);
    // Destroys the item at index.
    void Delete(int index);
    void Clear();
    int IndexOf(const TMenuItem* item) const;
    // The sub-item captioned so, without regard to case and "&"; null when none.
    TMenuItem* Find(const std::string& caption) const;

    // The user's choice: a disabled item does nothing; an auto-check item
    // toggles (a radio item only checks); then OnClick.
    virtual void Click();

    TNotifyEvent OnClick;

protected:
    void BeforeDestruction() override;

private:
    std::string caption_;
    std::string hint_;
    bool checked_ = false;
    bool radioItem_ = false;
    int groupIndex_ = 0;
    bool autoCheck_ = false;
    bool enabled_ = true;
    bool visible_ = true;
    bool default_ = false;
    TShortCut shortCut_ = 0;
    int imageIndex_ = -1;
    TMenuItem* parent_ = nullptr;
    std::vector<TMenuItem*> items_;
};

class TMenu : public TComponent {
    ZB_CLASS(TMenu, TComponent)

public:
    explicit TMenu(TComponent* owner = nullptr);
    ~TMenu() override;
    TMenuItem* Items() const { return items_; }
    TComponent* Images() const { return images_; }
    void SetImages(TComponent* images);
    // Items painted by the program rather than the system, so that they can
    // use a font of the menu's character set.
    bool OwnerDraw() const { return ownerDraw_; }
    void SetOwnerDraw(bool on) { ownerDraw_ = on; }
    void Notification(TComponent* component, TOperation operation) override;

protected:
    void BeforeDestruction() override;

private:
    TMenuItem* items_;
    TComponent* images_ = nullptr;
    bool ownerDraw_ = false;
};

class TMainMenu : public TMenu {
    ZB_CLASS(TMainMenu, TMenu)

public:
    explicit TMainMenu(TComponent* owner = nullptr) : TMenu(owner) {}
};

class TPopupMenu : public TMenu {
    ZB_CLASS(TPopupMenu, TMenu)

public:
    explicit TPopupMenu(TComponent* owner = nullptr) : TMenu(owner) {}

    bool AutoPopup() const { return autoPopup_; }
    void SetAutoPopup(bool on) { autoPopup_ = on; }
    // The control the menu was last shown for (cleared when it goes).
    TComponent* PopupComponent() const { return popupComponent_; }
    void SetPopupComponent(TComponent* c);
    // Runs OnPopup and remembers the point; the menu stays "open" for the
    // user agent, which picks an item with its Click.
    virtual void Popup(int x, int y);
    int PopupCount() const { return popupCount_; }
    int PopupX() const { return popupX_; }
    int PopupY() const { return popupY_; }

    void Notification(TComponent* component, TOperation operation) override;

    TNotifyEvent OnPopup;

private:
    bool autoPopup_ = true;
    TComponent* popupComponent_ = nullptr;
    int popupCount_ = 0;
    int popupX_ = 0;
    int popupY_ = 0;
};

}  // namespace zb
