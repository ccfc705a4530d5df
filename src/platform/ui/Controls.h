// Controls as a headless model: geometry and alignment, visibility and
// enabling, fonts and colours, window handles on demand, the tab order and
// the focus, keys and messages. Graphic controls (TControl) cannot take the
// focus; windowed controls (TWinControl) hold children and can.
//
// Messages are handled by overriding WndProc(TMessage&): handle the numbers
// you own and pass every other message to inherited::WndProc. Perform and
// SendMessage call it at once; PostMessage queues for ProcessMessages.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/core/Component.h"
#include "platform/core/Events.h"
#include "platform/ui/Graphics.h"
#include "platform/ui/Messages.h"

namespace zb {

class TWinControl;
class TCustomForm;
class TPopupMenu;

using TModalResult = int;
inline constexpr TModalResult mrNone = 0;
inline constexpr TModalResult mrOk = 1;
inline constexpr TModalResult mrCancel = 2;
inline constexpr TModalResult mrAbort = 3;
inline constexpr TModalResult mrRetry = 4;
inline constexpr TModalResult mrIgnore = 5;
inline constexpr TModalResult mrYes = 6;
inline constexpr TModalResult mrNo = 7;
inline constexpr TModalResult mrAll = 8;
inline constexpr TModalResult mrNoToAll = 9;
inline constexpr TModalResult mrYesToAll = 10;

enum class TAlign { alNone, alTop, alBottom, alLeft, alRight, alClient, alCustom };
enum class TAlignment { taLeftJustify, taRightJustify, taCenter };
enum class TMouseButton { mbLeft, mbRight, mbMiddle };
enum class TBevelCut { bvNone, bvLowered, bvRaised, bvSpace };
enum class TBorderStyle { bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin };
using TCursor = int;
inline constexpr TCursor crDefault = 0;
inline constexpr TCursor crHourGlass = -11;
inline constexpr TCursor crHandPoint = -21;

extern const EnumNames AlignNames;
extern const EnumNames AlignmentNames;
extern const EnumNames BevelCutNames;
extern const EnumNames BorderStyleNames;

using TKeyEvent = TEvent<void(TObject* Sender, Word& Key, TShiftState Shift)>;
using TKeyPressEvent = TEvent<void(TObject* Sender, char& Key)>;
using TMouseEvent = TEvent<void(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y)>;
using TMouseMoveEvent = TEvent<void(TObject* Sender, TShiftState Shift, int X, int Y)>;
// Told after a property of a control changed, with the property's name, so a
// view can follow the model.
using TModelChangeEvent = TEvent<void(TObject* Sender, const std::string& Property)>;

class TControl : public TComponent {
    ZB_CLASS(TControl, TComponent)

public:
    explicit TControl(TComponent* owner = nullptr);
    ~TControl() override;

    TWinControl* Parent() const { return parent_; }
    virtual void SetParent(TWinControl* parent);
    // The form this control sits on (itself for a form); null when none.
    TCustomForm* ParentForm() const;

    int Left() const { return left_; }
    int Top() const { return top_; }
    int Width() const { return width_; }
    int Height() const { return height_; }
    void SetLeft(int v) { SetBounds(v, top_, width_, height_); }
    void SetTop(int v) { SetBounds(left_, v, width_, height_); }
    void SetWidth(int v) { SetBounds(left_, top_, v, height_); }
    void SetHeight(int v) { SetBounds(left_, top_, width_, v); }
    // Moves and sizes in one step; the parent realigns once. Negative sizes
    // become 0.
    virtual void SetBounds(int left, int top, int width, int height);
    TRect BoundsRect() const { return Bounds(left_, top_, width_, height_); }
    void SetBoundsRect(const TRect& r) { SetBounds(r.Left, r.Top, r.Width(), r.Height()); }
    // The model draws no frames: the client area is the whole control.
    virtual int ClientWidth() const { return width_; }
    virtual int ClientHeight() const { return height_; }
    void SetClientWidth(int v) { SetWidth(v + (width_ - ClientWidth())); }
    void SetClientHeight(int v) { SetHeight(v + (height_ - ClientHeight())); }
    TRect ClientRect() const { return Rect(0, 0, ClientWidth(), ClientHeight()); }
    // The point in the form's client coordinates.
    TPoint ClientToParentForm(TPoint p) const;

    TAlign Align() const { return align_; }
    void SetAlign(TAlign align);

    bool Visible() const { return visible_; }
    virtual void SetVisible(bool visible);
    void Show() { SetVisible(true); }
    void Hide() { SetVisible(false); }
    // Visible itself and every parent up to a visible form.
    virtual bool Showing() const;

    bool Enabled() const { return enabled_; }
    virtual void SetEnabled(bool enabled);

    TColor Color() const { return color_; }
    void SetColor(TColor color);
    bool ParentColor() const { return parentColor_; }
    void SetParentColor(bool on);

    TFont* Font() const { return font_; }
    void SetFont(TFont* font) { font_->Assign(font); }
    bool ParentFont() const { return parentFont_; }
    void SetParentFont(bool on);

    // Caption and Text are the same text, as the window text they stand for.
    const std::string& Caption() const { return text_; }
    void SetCaption(const std::string& caption) { SetText(caption); }
    virtual std::string Text() const { return text_; }
    virtual void SetText(const std::string& text);

    const std::string& Hint() const { return hint_; }
    void SetHint(const std::string& hint);
    bool ShowHint() const { return showHint_; }
    void SetShowHint(bool on);
    bool ParentShowHint() const { return parentShowHint_; }
    void SetParentShowHint(bool on);

    TPopupMenu* PopupMenu() const { return popupMenu_; }
    void SetPopupMenu(TPopupMenu* menu);
    TCursor Cursor() const { return cursor_; }
    void SetCursor(TCursor c) { cursor_ = c; }

    // The user's click (buttons, check boxes ... override to act before the
    // event) and double click.
    virtual void Click();
    virtual void DblClick();
    // A mouse button released over the control.
    virtual void MouseUp(TMouseButton button, TShiftState shift, int x, int y);
    virtual void MouseDown(TMouseButton button, TShiftState shift, int x, int y);

    // Handles a message at once.
    LRESULT Perform(Cardinal msg, WPARAM wParam = 0, LPARAM lParam = 0);
    virtual void WndProc(TMessage& message);

    void BringToFront();
    void SendToBack();

    // Enter, Esc and accelerators the form offers to every control when the
    // focused one did not take them (default and cancel buttons); true when taken.
    virtual bool HandleDialogKey(Word key, TShiftState shift) { return false; }

    // A single change notification for a view; see TModelChangeEvent.
    void Changed(const std::string& property);

    TNotifyEvent OnClick;
    TNotifyEvent OnDblClick;
    TNotifyEvent OnResize;
    TMouseEvent OnMouseDown;
    TMouseEvent OnMouseUp;
    TMouseMoveEvent OnMouseMove;
    TModelChangeEvent OnModelChange;

    void Notification(TComponent* component, TOperation operation) override;

    // The handles and hooks the parent needs of its children.
    virtual bool IsWindowed() const { return false; }
    virtual void ParentFontChanged();
    virtual void ParentColorChanged();
    virtual void ParentShowHintChanged();

protected:
    void BeforeDestruction() override;
    virtual void Resize();
    virtual void FontChanged();
    virtual void VisibleChanged() {}
    virtual void EnabledChanged() {}
    virtual void TextChanged() {}
    // Called when the bounds changed; windowed controls realign children here.
    virtual void BoundsChanged(bool sized);
    // The default handling of a message no override took.
    virtual void DefaultHandler(TMessage& message);
    // The flag alone, for forms, whose showing has its own order of events.
    void SetVisibleFlag(bool visible) { visible_ = visible; }
    // The text alone, without TextChanged (controls that keep their own
    // notifications, such as the mask edit).
    void StoreText(const std::string& text) { text_ = text; }

private:
    void FontChangedThunk(TObject*) { FontChanged(); }

    TWinControl* parent_ = nullptr;
    int left_ = 0, top_ = 0, width_ = 0, height_ = 0;
    TAlign align_ = TAlign::alNone;
    bool visible_ = true;
    bool enabled_ = true;
    TColor color_ = clBtnFace;
    bool parentColor_ = false;
    TFont* font_;
    bool parentFont_ = true;
    bool applyingParentFont_ = false;
    std::string text_;
    std::string hint_;
    bool showHint_ = false;
    bool parentShowHint_ = true;
    TPopupMenu* popupMenu_ = nullptr;
    TCursor cursor_ = crDefault;

    friend class TWinControl;
};

class TGraphicControl : public TControl {
    ZB_CLASS(TGraphicControl, TControl)

public:
    explicit TGraphicControl(TComponent* owner = nullptr);
    ~TGraphicControl() override;
    TCanvas* Canvas() const { return canvas_; }

private:
    TCanvas* canvas_;
};

class TWinControl : public TControl {
    ZB_CLASS(TWinControl, TControl)

public:
    explicit TWinControl(TComponent* owner = nullptr);
    ~TWinControl() override;

    bool IsWindowed() const override { return true; }

    // Children in their order (the order they were inserted, changed by
    // BringToFront and SendToBack).
    int ControlCount() const { return static_cast<int>(controls_.size()); }
    TControl* Controls(int index) const;  // EListError-style EComponentError outside the list
    const std::vector<TControl*>& ControlList() const { return controls_; }
    bool ContainsControl(const TControl* control) const;
    void InsertControl(TControl* control);
    void RemoveControl(TControl* control);

    // The place among the parent's windowed children; -1 without parent.
    int TabOrder() const;
    void SetTabOrder(int order);
    bool TabStop() const { return tabStop_; }
    void SetTabStop(bool on);
    // The windowed children in tab order, descending into containers.
    void GetTabOrderList(std::vector<TWinControl*>& list) const;
    // The next (or previous) control after `current` in the tab order of
    // this container that can take the focus (and has TabStop when asked);
    // wraps around. Null when there is none.
    TWinControl* FindNextControl(TWinControl* current, bool goForward, bool checkTabStop, bool checkParent) const;
    void SelectNext(TWinControl* current, bool goForward, bool checkTabStop);
    void SelectFirst();

    // A handle number, made on first use and unique for the process's life,
    // so a stale handle never reaches another window.
    HWND Handle();
    bool HandleAllocated() const { return handle_ != 0; }
    void HandleNeeded() { Handle(); }

    // Visible and enabled itself and up to the form (whatever the form's own state).
    virtual bool CanFocus() const;
    bool Focused() const;
    // EInvalidOperation when the control cannot take the focus or sits on no form.
    virtual void SetFocus();

    // The key input path a view (or a test) drives. A key down goes to the
    // form first when it previews keys, then to the control's OnKeyDown, then
    // to dialog handling (Tab moves along the tab order, Enter and Esc press
    // the default and cancel buttons) unless a handler cleared the key.
    void KeyDown(Word& key, TShiftState shift);
    void KeyPress(char& key);
    void KeyUp(Word& key, TShiftState shift);
    // Down, the character it types (letters, digits, space, Enter, Tab, Esc,
    // Backspace), up.
    void PressKey(Word key, TShiftState shift = 0);
    // Types each character: single-byte ones as key presses, any other
    // character inserted as it is (the way an input method delivers it).
    void TypeText(std::string_view text);

    // Lays out the aligned children in the client area.
    void Realign();
    void DisableAlign() { ++alignDisabled_; }
    void EnableAlign();

    TNotifyEvent OnEnter;
    TNotifyEvent OnExit;
    TKeyEvent OnKeyDown;
    TKeyPressEvent OnKeyPress;
    TKeyEvent OnKeyUp;

    void WndProc(TMessage& message) override;

    // Called by the form as the focus moves.
    virtual void DoEnter();
    virtual void DoExit();

    void ParentFontChanged() override;
    void ParentColorChanged() override;
    void ParentShowHintChanged() override;

protected:
    void BeforeDestruction() override;
    void BoundsChanged(bool sized) override;
    void VisibleChanged() override;
    void FontChanged() override;

    // Key handling of the control itself, after the events; a control clears
    // the key when it consumed it.
    virtual void DoKeyDown(Word& key, TShiftState shift) {}
    virtual void DoKeyPress(char& key) {}
    // Whether the control keeps a key the form would otherwise take (Tab,
    // Enter, Esc, arrows).
    virtual bool WantsKey(Word key, TShiftState shift) const { return false; }
    // Text typed that is not a single byte: an edit inserts it.
    virtual void InsertTypedText(std::string_view text) {}
    virtual void AlignControls(TRect& rect);
    virtual void DestroyHandle();

private:
    friend class TControl;
    void AddChild(TControl* control);
    void RemoveChild(TControl* control);
    void AlignChildren();

    std::vector<TControl*> controls_;
    std::vector<TWinControl*> tabList_;
    bool tabStop_ = false;
    HWND handle_ = 0;
    int alignDisabled_ = 0;
    bool aligning_ = false;
    bool alignPending_ = false;
};

// A windowed control with a canvas of its own (panels, group boxes).
class TCustomControl : public TWinControl {
    ZB_CLASS(TCustomControl, TWinControl)

public:
    explicit TCustomControl(TComponent* owner = nullptr);
    ~TCustomControl() override;
    TCanvas* Canvas() const { return canvas_; }

private:
    TCanvas* canvas_;
};

// Parent, bounds and caption in one call, for forms built in code:
//   btnOk = Make<TButton>(this, pnlBottom, "btnOk", 8, 8, 75, 25, "确定");
template <class T>
T* Make(TComponent* owner, TWinControl* parent, const std::string& name, int left, int top, int width,
        int height, const std::string& caption = "") {
    T* c = new T(owner);
    if (!name.empty()) c->SetName(name);
    c->SetBounds(left, top, width, height);
    if (!caption.empty()) c->SetCaption(caption);
    if (parent) c->SetParent(parent);
    return c;
}

// The control a handle names; null when none (or it is gone).
TWinControl* FindControl(HWND wnd);

}  // namespace zb
