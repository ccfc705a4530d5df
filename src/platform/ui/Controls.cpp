#include "platform/ui/Controls.h"

#include <algorithm>

#include "platform/core/Published.h"
#include "platform/core/TextUtils.h"
#include "platform/ui/Forms.h"
#include "platform/ui/Menus.h"

namespace zb {

const EnumNames AlignNames = {"alNone", "alTop", "alBottom", "alLeft", "alRight", "alClient", "alCustom"};
const EnumNames AlignmentNames = {"taLeftJustify", "taRightJustify", "taCenter"};
const EnumNames BevelCutNames = {"bvNone", "bvLowered", "bvRaised", "bvSpace"};
const EnumNames BorderStyleNames = {"bsNone", "bsSingle", "bsSizeable", "bsDialog", "bsToolWindow", "bsSizeToolWin"};

// Text and Caption are published by the classes that show them, not here:
// readers tell value controls from captioned ones by which of the two a
// class publishes.
ZB_PUBLISHED(TControl){
    prop::Integer("Left", &TControl::Left, &TControl::SetLeft),
    prop::Integer("Top", &TControl::Top, &TControl::SetTop),
    prop::Integer("Width", &TControl::Width, &TControl::SetWidth),
    prop::Integer("Height", &TControl::Height, &TControl::SetHeight),
    prop::Enum("Align", &TControl::Align, &TControl::SetAlign, AlignNames, "TAlign"),
    prop::Bool("Visible", &TControl::Visible, &TControl::SetVisible),
    prop::Bool("Enabled", &TControl::Enabled, &TControl::SetEnabled),
    prop::Integer("Color", &TControl::Color, &TControl::SetColor, "TColor"),
    prop::Bool("ParentColor", &TControl::ParentColor, &TControl::SetParentColor),
    prop::Class("Font", &TControl::Font, &TControl::SetFont),
    prop::Bool("ParentFont", &TControl::ParentFont, &TControl::SetParentFont),
    prop::String("Hint", &TControl::Hint, &TControl::SetHint),
    prop::Bool("ShowHint", &TControl::ShowHint, &TControl::SetShowHint),
    prop::Bool("ParentShowHint", &TControl::ParentShowHint, &TControl::SetParentShowHint),
    prop::Class("PopupMenu", &TControl::PopupMenu, &TControl::SetPopupMenu),
    prop::Integer("Cursor", &TControl::Cursor, &TControl::SetCursor, "TCursor"),
    prop::Event("OnClick", &TControl::OnClick),
    prop::Event("OnDblClick", &TControl::OnDblClick),
    prop::Event("OnResize", &TControl::OnResize),
    prop::Event("OnMouseDown", &TControl::OnMouseDown, "TMouseEvent"),
    prop::Event("OnMouseUp", &TControl::OnMouseUp, "TMouseEvent"),
    prop::Event("OnMouseMove", &TControl::OnMouseMove, "TMouseMoveEvent"),
};

ZB_PUBLISHED(TGraphicControl){};

ZB_PUBLISHED(TWinControl){
    prop::Integer("TabOrder", &TWinControl::TabOrder, &TWinControl::SetTabOrder, "TTabOrder"),
    prop::Bool("TabStop", &TWinControl::TabStop, &TWinControl::SetTabStop),
    prop::Event("OnEnter", &TWinControl::OnEnter),
    prop::Event("OnExit", &TWinControl::OnExit),
    prop::Event("OnKeyDown", &TWinControl::OnKeyDown, "TKeyEvent"),
    prop::Event("OnKeyPress", &TWinControl::OnKeyPress, "TKeyPressEvent"),
    prop::Event("OnKeyUp", &TWinControl::OnKeyUp, "TKeyEvent"),
};

// --- TControl --------------------------------------------------------------

TControl::TControl(TComponent* owner) : TComponent(owner), font_(new TFont) {
    font_->OnChange = Handler<&TControl::FontChangedThunk>(this);
}

TControl::~TControl() {
    // Free detached the control already; a control deleted directly still
    // leaves its parent's lists.
    if (parent_) parent_->RemoveChild(this);
    font_->Free();
}

void TControl::BeforeDestruction() {
    TComponent::BeforeDestruction();
    if (parent_) parent_->RemoveControl(this);
}

void TControl::Notification(TComponent* component, TOperation operation) {
    TComponent::Notification(component, operation);
    if (operation == TOperation::opRemove && component && component == popupMenu_) popupMenu_ = nullptr;
}

void TControl::SetParent(TWinControl* parent) {
    if (parent == parent_) return;
    if (parent == this) throw EInvalidOperation("A control cannot have itself as its parent");
    if (parent && IsWindowed() && static_cast<TWinControl*>(this)->ContainsControl(parent))
        throw EInvalidOperation("A control cannot be placed on its own child");
    if (parent_) parent_->RemoveControl(this);
    if (parent) parent->InsertControl(this);
}

TCustomForm* TControl::ParentForm() const {
    const TControl* c = this;
    while (c) {
        if (auto* f = dyn_cast<TCustomForm>(const_cast<TControl*>(c))) return f;
        c = c->parent_;
    }
    return nullptr;
}

TPoint TControl::ClientToParentForm(TPoint p) const {
    const TControl* c = this;
    while (c && !isa<TCustomForm>(c)) {
        p.X += c->left_;
        p.Y += c->top_;
        c = c->parent_;
    }
    return p;
}

void TControl::SetBounds(int left, int top, int width, int height) {
    width = std::max(width, 0);
    height = std::max(height, 0);
    bool moved = left != left_ || top != top_;
    bool sized = width != width_ || height != height_;
    if (!moved && !sized) return;
    left_ = left;
    top_ = top;
    width_ = width;
    height_ = height;
    BoundsChanged(sized);
    Changed("Bounds");
    if (parent_ && align_ != TAlign::alNone) parent_->Realign();
}

void TControl::BoundsChanged(bool sized) {
    if (sized) Resize();
}

void TControl::Resize() { OnResize(this); }

void TControl::SetAlign(TAlign align) {
    if (align == align_) return;
    align_ = align;
    Changed("Align");
    if (parent_) parent_->Realign();
}

bool TControl::Showing() const {
    if (!visible_) return false;
    return parent_ ? parent_->Showing() : false;
}

void TControl::SetVisible(bool visible) {
    if (visible == visible_) return;
    visible_ = visible;
    VisibleChanged();
    Changed("Visible");
    if (parent_ && align_ != TAlign::alNone) parent_->Realign();
}

void TControl::SetEnabled(bool enabled) {
    if (enabled == enabled_) return;
    enabled_ = enabled;
    EnabledChanged();
    if (!enabled && IsWindowed())
        if (TCustomForm* form = ParentForm(); form && form != this)
            form->DefocusControl(static_cast<TWinControl*>(this), false);
    Changed("Enabled");
}

void TControl::SetColor(TColor color) {
    parentColor_ = false;
    if (color == color_) return;
    color_ = color;
    Changed("Color");
    if (IsWindowed())
        for (TControl* c : static_cast<TWinControl*>(this)->controls_) c->ParentColorChanged();
}

void TControl::SetParentColor(bool on) {
    if (on == parentColor_) return;
    parentColor_ = on;
    if (on) ParentColorChanged();
}

void TControl::ParentColorChanged() {
    if (!parentColor_ || !parent_) return;
    SetColor(parent_->Color());
    parentColor_ = true;
}

void TControl::SetParentFont(bool on) {
    if (on == parentFont_) return;
    parentFont_ = on;
    if (on) ParentFontChanged();
}

void TControl::ParentFontChanged() {
    if (!parentFont_ || !parent_) return;
    applyingParentFont_ = true;
    try {
        font_->Assign(parent_->Font());
    } catch (...) {
        applyingParentFont_ = false;
        throw;
    }
    applyingParentFont_ = false;
}

void TControl::FontChanged() {
    if (!applyingParentFont_) parentFont_ = false;
    Changed("Font");
}

void TControl::SetText(const std::string& text) {
    if (text == text_) return;
    text_ = text;
    TextChanged();
    Changed("Text");
}

void TControl::SetHint(const std::string& hint) {
    if (hint == hint_) return;
    hint_ = hint;
    Changed("Hint");
}

void TControl::SetShowHint(bool on) {
    parentShowHint_ = false;
    if (on == showHint_) return;
    showHint_ = on;
    if (IsWindowed())
        for (TControl* c : static_cast<TWinControl*>(this)->controls_) c->ParentShowHintChanged();
}

void TControl::SetParentShowHint(bool on) {
    if (on == parentShowHint_) return;
    parentShowHint_ = on;
    if (on) ParentShowHintChanged();
}

void TControl::ParentShowHintChanged() {
    if (!parentShowHint_ || !parent_) return;
    SetShowHint(parent_->ShowHint());
    parentShowHint_ = true;
}

void TControl::SetPopupMenu(TPopupMenu* menu) {
    if (menu == popupMenu_) return;
    if (popupMenu_) RemoveFreeNotification(popupMenu_);
    popupMenu_ = menu;
    if (menu) FreeNotification(menu);
}

void TControl::Click() { OnClick(this); }
void TControl::DblClick() { OnDblClick(this); }

void TControl::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    OnMouseDown(this, button, shift, x, y);
}

void TControl::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
    OnMouseUp(this, button, shift, x, y);
    if (button == TMouseButton::mbRight && popupMenu_ && popupMenu_->AutoPopup()) {
        TPoint p = ClientToParentForm({x, y});
        popupMenu_->SetPopupComponent(this);
        popupMenu_->Popup(p.X, p.Y);
    }
}

LRESULT TControl::Perform(Cardinal msg, WPARAM wParam, LPARAM lParam) {
    TMessage m{msg, wParam, lParam, 0};
    WndProc(m);
    return m.Result;
}

void TControl::WndProc(TMessage& message) { DefaultHandler(message); }

void TControl::DefaultHandler(TMessage& message) {
    switch (message.Msg) {
        case WM_LBUTTONUP:
            MouseUp(TMouseButton::mbLeft, 0, static_cast<std::int16_t>(message.LParam & 0xFFFF),
                    static_cast<std::int16_t>((message.LParam >> 16) & 0xFFFF));
            break;
        default:
            break;
    }
}

void TControl::BringToFront() {
    if (!parent_) return;
    auto& list = parent_->controls_;
    list.erase(std::remove(list.begin(), list.end(), this), list.end());
    list.push_back(this);
}

void TControl::SendToBack() {
    if (!parent_) return;
    auto& list = parent_->controls_;
    list.erase(std::remove(list.begin(), list.end(), this), list.end());
    list.insert(list.begin(), this);
}

void TControl::Changed(const std::string& property) { OnModelChange(this, property); }

// --- TGraphicControl -------------------------------------------------------

TGraphicControl::TGraphicControl(TComponent* owner) : TControl(owner), canvas_(new TCanvas) {}
TGraphicControl::~TGraphicControl() { canvas_->Free(); }

// --- TWinControl -----------------------------------------------------------

TWinControl::TWinControl(TComponent* owner) : TControl(owner) {}

TWinControl::~TWinControl() {
    for (TControl* c : controls_) c->parent_ = nullptr;
    controls_.clear();
    tabList_.clear();
    DestroyHandle();
}

void TWinControl::BeforeDestruction() {
    if (TCustomForm* form = Parent() ? ParentForm() : nullptr) form->DefocusControl(this, true);
    TControl::BeforeDestruction();
    // Child windows cannot outlive their parent window: whatever children are
    // left after the owned components went are destroyed too, the last
    // first. A child that is being destroyed already is only let go.
    while (!controls_.empty()) {
        TControl* c = controls_.back();
        RemoveChild(c);
        if (!c->IsDestroying()) c->Free();
    }
    DestroyHandle();
}

TControl* TWinControl::Controls(int index) const {
    if (index < 0 || index >= ControlCount())
        throw EComponentError("Control index out of bounds (" + std::to_string(index) + ")");
    return controls_[static_cast<size_t>(index)];
}

bool TWinControl::ContainsControl(const TControl* control) const {
    for (const TControl* c = control; c; c = c->parent_)
        if (c == this) return true;
    return false;
}

void TWinControl::InsertControl(TControl* control) {
    if (!control || control->parent_ == this) return;
    if (control->parent_) control->parent_->RemoveControl(control);
    AddChild(control);
    control->ParentFontChanged();
    control->ParentColorChanged();
    control->ParentShowHintChanged();
    if (control->Align() != TAlign::alNone) Realign();
    Changed("Controls");
}

void TWinControl::RemoveControl(TControl* control) {
    if (!control || control->parent_ != this) return;
    if (control->IsWindowed())
        if (TCustomForm* form = ParentForm()) form->DefocusControl(static_cast<TWinControl*>(control), true);
    RemoveChild(control);
    if (control->Align() != TAlign::alNone) Realign();
    Changed("Controls");
}

void TWinControl::AddChild(TControl* control) {
    controls_.push_back(control);
    control->parent_ = this;
    if (control->IsWindowed()) tabList_.push_back(static_cast<TWinControl*>(control));
}

void TWinControl::RemoveChild(TControl* control) {
    controls_.erase(std::remove(controls_.begin(), controls_.end(), control), controls_.end());
    if (control->IsWindowed())
        tabList_.erase(std::remove(tabList_.begin(), tabList_.end(), static_cast<TWinControl*>(control)), tabList_.end());
    control->parent_ = nullptr;
}

int TWinControl::TabOrder() const {
    if (!Parent()) return -1;
    auto& list = Parent()->tabList_;
    auto it = std::find(list.begin(), list.end(), this);
    return it == list.end() ? -1 : static_cast<int>(it - list.begin());
}

void TWinControl::SetTabOrder(int order) {
    if (!Parent()) return;
    auto& list = Parent()->tabList_;
    auto it = std::find(list.begin(), list.end(), this);
    if (it == list.end()) return;
    list.erase(it);
    if (order < 0 || order >= static_cast<int>(list.size() + 1)) order = static_cast<int>(list.size());
    list.insert(list.begin() + order, this);
}

void TWinControl::SetTabStop(bool on) {
    if (on == tabStop_) return;
    tabStop_ = on;
    Changed("TabStop");
}

void TWinControl::GetTabOrderList(std::vector<TWinControl*>& list) const {
    for (TWinControl* c : tabList_) {
        list.push_back(c);
        c->GetTabOrderList(list);
    }
}

TWinControl* TWinControl::FindNextControl(TWinControl* current, bool goForward, bool checkTabStop,
                                          bool checkParent) const {
    std::vector<TWinControl*> list;
    GetTabOrderList(list);
    if (list.empty()) return nullptr;
    int count = static_cast<int>(list.size());
    auto found = std::find(list.begin(), list.end(), current);
    int start = found == list.end() ? (goForward ? count - 1 : 0) : static_cast<int>(found - list.begin());
    int i = start;
    do {
        if (goForward) {
            i = (i + 1) % count;
        } else {
            i = (i == 0 ? count : i) - 1;
        }
        TWinControl* c = list[static_cast<size_t>(i)];
        if ((!checkTabStop || c->TabStop()) && (!checkParent || c->Parent() == this) && c->CanFocus()) return c;
    } while (i != start);
    return nullptr;
}

void TWinControl::SelectNext(TWinControl* current, bool goForward, bool checkTabStop) {
    if (TWinControl* next = FindNextControl(current, goForward, checkTabStop, !checkTabStop)) next->SetFocus();
}

void TWinControl::SelectFirst() {
    if (TWinControl* first = FindNextControl(nullptr, true, true, false)) first->SetFocus();
}

HWND TWinControl::Handle() {
    if (!handle_) handle_ = Application().AllocateHandle(this);
    return handle_;
}

void TWinControl::DestroyHandle() {
    if (!handle_) return;
    Application().ReleaseHandle(handle_);
    handle_ = 0;
}

bool TWinControl::CanFocus() const {
    TCustomForm* form = ParentForm();
    if (!form) return false;
    for (const TControl* c = this; c && c != form; c = c->Parent())
        if (!c->Visible() || !c->Enabled()) return false;
    return true;
}

bool TWinControl::Focused() const {
    TCustomForm* form = ParentForm();
    return form && form->Active() && form->FocusedControl() == this;
}

void TWinControl::SetFocus() {
    TCustomForm* form = ParentForm();
    if (!form) throw EInvalidOperation("Control '" + Name() + "' has no parent window");
    form->FocusControl(this);
}

void TWinControl::DoEnter() { OnEnter(this); }
void TWinControl::DoExit() { OnExit(this); }

void TWinControl::KeyDown(Word& key, TShiftState shift) {
    TCustomForm* form = ParentForm();
    if (form && form != this && form->KeyPreview()) {
        form->OnKeyDown(form, key, shift);
        if (key == 0) return;
    }
    OnKeyDown(this, key, shift);
    if (key == 0) return;
    DoKeyDown(key, shift);
    if (key == 0 || !form || WantsKey(key, shift)) return;
    form->DialogKey(key, shift);
}

void TWinControl::KeyPress(char& key) {
    TCustomForm* form = ParentForm();
    if (form && form != this && form->KeyPreview()) {
        form->OnKeyPress(form, key);
        if (key == 0) return;
    }
    OnKeyPress(this, key);
    if (key == 0) return;
    DoKeyPress(key);
}

void TWinControl::KeyUp(Word& key, TShiftState shift) {
    TCustomForm* form = ParentForm();
    if (form && form != this && form->KeyPreview()) {
        form->OnKeyUp(form, key, shift);
        if (key == 0) return;
    }
    OnKeyUp(this, key, shift);
}

namespace {
// The character a key types, 0 for none.
char KeyChar(Word key, TShiftState shift) {
    if (shift & ssAlt) return 0;
    if (key >= 'A' && key <= 'Z') {
        if (shift & ssCtrl) return static_cast<char>(key - 'A' + 1);
        return static_cast<char>((shift & ssShift) ? key : key - 'A' + 'a');
    }
    if (shift & ssCtrl) return 0;
    if (key >= '0' && key <= '9') return static_cast<char>(key);
    switch (key) {
        case VK_SPACE: return ' ';
        case VK_RETURN: return '\r';
        case VK_TAB: return '\t';
        case VK_ESCAPE: return 27;
        case VK_BACK: return 8;
        default: return 0;
    }
}
}  // namespace

void TWinControl::PressKey(Word key, TShiftState shift) {
    Word down = key;
    KeyDown(down, shift);
    if (down != 0) {
        if (char ch = KeyChar(down, shift)) KeyPress(ch);
    }
    Word up = key;
    KeyUp(up, shift);
}

void TWinControl::TypeText(std::string_view text) {
    Utf8Iterator it(text);
    while (!it.AtEnd()) {
        std::string_view bytes = it.Current();
        char32_t ch;
        it.Next(ch);
        if (bytes.size() == 1) {
            char c = bytes[0];
            KeyPress(c);
        } else {
            InsertTypedText(bytes);
        }
    }
}

void TWinControl::WndProc(TMessage& message) {
    switch (message.Msg) {
        case CM_ENTER:
            DoEnter();
            return;
        case CM_EXIT:
            DoExit();
            return;
        case WM_SIZE:
            Realign();
            Resize();
            return;
        case WM_MOVE:
            return;
        case WM_KEYDOWN: {
            Word key = static_cast<Word>(message.WParam);
            KeyDown(key, static_cast<TShiftState>(message.LParam));
            message.Result = key == 0;
            return;
        }
        case WM_CHAR: {
            char key = static_cast<char>(message.WParam);
            KeyPress(key);
            return;
        }
        case WM_KEYUP: {
            Word key = static_cast<Word>(message.WParam);
            KeyUp(key, static_cast<TShiftState>(message.LParam));
            return;
        }
        default:
            TControl::WndProc(message);
    }
}

void TWinControl::BoundsChanged(bool sized) {
    Perform(WM_MOVE, 0, (static_cast<LPARAM>(Top() & 0xFFFF) << 16) | (Left() & 0xFFFF));
    if (sized) Perform(WM_SIZE, 0, (static_cast<LPARAM>(Height() & 0xFFFF) << 16) | (Width() & 0xFFFF));
}

void TWinControl::VisibleChanged() {
    if (!Visible())
        if (TCustomForm* form = ParentForm(); form && form != this) form->DefocusControl(this, false);
}

void TWinControl::FontChanged() {
    TControl::FontChanged();
    for (TControl* c : controls_) c->ParentFontChanged();
}

void TWinControl::ParentFontChanged() { TControl::ParentFontChanged(); }
void TWinControl::ParentColorChanged() { TControl::ParentColorChanged(); }
void TWinControl::ParentShowHintChanged() { TControl::ParentShowHintChanged(); }

void TWinControl::EnableAlign() {
    if (alignDisabled_ > 0 && --alignDisabled_ == 0 && alignPending_) Realign();
}

void TWinControl::Realign() {
    if (alignDisabled_ > 0) {
        alignPending_ = true;
        return;
    }
    if (aligning_) return;
    alignPending_ = false;
    aligning_ = true;
    try {
        TRect r = ClientRect();
        AlignControls(r);
    } catch (...) {
        aligning_ = false;
        throw;
    }
    aligning_ = false;
}

void TWinControl::AlignControls(TRect& r) {
    auto pick = [&](TAlign a) {
        std::vector<TControl*> list;
        for (TControl* c : controls_)
            if (c->Align() == a && c->Visible()) list.push_back(c);
        // Controls of one alignment keep the order of their positions.
        std::stable_sort(list.begin(), list.end(), [a](TControl* x, TControl* y) {
            switch (a) {
                case TAlign::alTop: return x->Top() < y->Top();
                case TAlign::alBottom: return x->Top() + x->Height() > y->Top() + y->Height();
                case TAlign::alLeft: return x->Left() < y->Left();
                case TAlign::alRight: return x->Left() + x->Width() > y->Left() + y->Width();
                default: return false;
            }
        });
        return list;
    };
    for (TControl* c : pick(TAlign::alTop)) {
        c->SetBounds(r.Left, r.Top, r.Width(), c->Height());
        r.Top += c->Height();
    }
    for (TControl* c : pick(TAlign::alBottom)) {
        c->SetBounds(r.Left, r.Bottom - c->Height(), r.Width(), c->Height());
        r.Bottom -= c->Height();
    }
    for (TControl* c : pick(TAlign::alLeft)) {
        c->SetBounds(r.Left, r.Top, c->Width(), std::max(r.Height(), 0));
        r.Left += c->Width();
    }
    for (TControl* c : pick(TAlign::alRight)) {
        c->SetBounds(r.Right - c->Width(), r.Top, c->Width(), std::max(r.Height(), 0));
        r.Right -= c->Width();
    }
    for (TControl* c : pick(TAlign::alClient)) c->SetBounds(r.Left, r.Top, std::max(r.Width(), 0), std::max(r.Height(), 0));
}

ZB_PUBLISHED(TCustomControl){};
TCustomControl::TCustomControl(TComponent* owner) : TWinControl(owner), canvas_(new TCanvas) {}
TCustomControl::~TCustomControl() { canvas_->Free(); }

TWinControl* FindControl(HWND wnd) { return Application().FindWindow(wnd); }

LRESULT SendMessage(HWND wnd, Cardinal msg, WPARAM wParam, LPARAM lParam) {
    TWinControl* c = FindControl(wnd);
    return c ? c->Perform(msg, wParam, lParam) : 0;
}

LRESULT SendMessage(TControl* control, Cardinal msg, WPARAM wParam, LPARAM lParam) {
    return control ? control->Perform(msg, wParam, lParam) : 0;
}

bool PostMessage(HWND wnd, Cardinal msg, WPARAM wParam, LPARAM lParam) {
    return Application().Post(wnd, TMessage{msg, wParam, lParam, 0});
}

bool PostMessage(TControl* control, Cardinal msg, WPARAM wParam, LPARAM lParam) {
    if (!control || !control->IsWindowed()) return false;
    return PostMessage(static_cast<TWinControl*>(control)->Handle(), msg, wParam, lParam);
}

}  // namespace zb
