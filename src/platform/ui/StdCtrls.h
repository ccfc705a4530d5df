// The standard controls: label, edit, memo, combo box, list box, buttons,
// check box, radio button and group box.
#pragma once

#include <string>
#include <string_view>

#include "platform/core/StringList.h"
#include "platform/ui/Controls.h"

namespace zb {

enum class TTextLayout { tlTop, tlCenter, tlBottom };
enum class TEditCharCase { ecNormal, ecUpperCase, ecLowerCase };
enum class TScrollStyle { ssNone, ssHorizontal, ssVertical, ssBoth };
enum class TComboBoxStyle { csDropDown, csSimple, csDropDownList, csOwnerDrawFixed, csOwnerDrawVariable };
enum class TCheckBoxState { cbUnchecked, cbChecked, cbGrayed };
enum class TLeftRight { taLeftJustify, taRightJustify };

extern const EnumNames ComboBoxStyleNames;
extern const EnumNames CheckBoxStateNames;

// A caption on the form. With AutoSize it takes the size of its text.
class TLabel : public TGraphicControl {
    ZB_CLASS(TLabel, TGraphicControl)

public:
    explicit TLabel(TComponent* owner = nullptr);

    bool AutoSize() const { return autoSize_; }
    void SetAutoSize(bool on);
    TAlignment Alignment() const { return alignment_; }
    void SetAlignment(TAlignment a) { alignment_ = a; }
    TTextLayout Layout() const { return layout_; }
    void SetLayout(TTextLayout l) { layout_ = l; }
    bool WordWrap() const { return wordWrap_; }
    void SetWordWrap(bool on);
    bool Transparent() const { return transparent_; }
    void SetTransparent(bool on) { transparent_ = on; }
    bool ShowAccelChar() const { return showAccelChar_; }
    void SetShowAccelChar(bool on) { showAccelChar_ = on; }
    // The control an accelerator of the caption focuses (cleared when it goes).
    TWinControl* FocusControl() const { return focusControl_; }
    void SetFocusControl(TWinControl* c);
    // Sizes to the text: one line's width and height, or, with WordWrap,
    // the lines that fit the width.
    void AdjustBounds();

    void Notification(TComponent* component, TOperation operation) override;

protected:
    void TextChanged() override { AdjustBounds(); }
    void FontChanged() override;

private:
    bool autoSize_ = true;
    TAlignment alignment_ = TAlignment::taLeftJustify;
    TTextLayout layout_ = TTextLayout::tlTop;
    bool wordWrap_ = false;
    bool transparent_ = false;
    bool showAccelChar_ = true;
    TWinControl* focusControl_ = nullptr;
};

// The editing of a single text: caret and selection counted in characters,
// typing, deleting, MaxLength (characters), ReadOnly, CharCase, and OnChange
// on every change of the text.
class TCustomEdit : public TWinControl {
    ZB_CLASS(TCustomEdit, TWinControl)

public:
    explicit TCustomEdit(TComponent* owner = nullptr);

    void SetText(const std::string& text) override;
    int MaxLength() const { return maxLength_; }
    void SetMaxLength(int n) { maxLength_ = n < 0 ? 0 : n; }
    bool ReadOnly() const { return readOnly_; }
    void SetReadOnly(bool on) { readOnly_ = on; }
    TEditCharCase CharCase() const { return charCase_; }
    void SetCharCase(TEditCharCase c);
    char PasswordChar() const { return passwordChar_; }
    void SetPasswordChar(char c) { passwordChar_ = c; }
    bool AutoSelect() const { return autoSelect_; }
    void SetAutoSelect(bool on) { autoSelect_ = on; }
    bool AutoSize() const { return autoSize_; }
    void SetAutoSize(bool on) { autoSize_ = on; }
    TBorderStyle BorderStyle() const { return borderStyle_; }
    void SetBorderStyle(TBorderStyle b) { borderStyle_ = b; }
    bool Modified() const { return modified_; }
    void SetModified(bool on) { modified_ = on; }

    int SelStart() const { return selStart_; }
    void SetSelStart(int pos);
    int SelLength() const { return selLength_; }
    void SetSelLength(int len);
    std::string SelText() const;
    // Replaces the selection (inserts at the caret), as typing does.
    virtual void SetSelText(const std::string& text);
    void SelectAll();
    void Clear() { SetText(""); }
    int Length() const;

    TNotifyEvent OnChange;

protected:
    virtual void Change();
    void TextChanged() override;
    void DoEnter() override;
    void DoKeyDown(Word& key, TShiftState shift) override;
    void DoKeyPress(char& key) override;
    void InsertTypedText(std::string_view text) override;
    bool WantsKey(Word key, TShiftState shift) const override;
    std::string ApplyCase(std::string_view text) const;
    void SetTextSilently(const std::string& text);  // no OnChange: text and caret only

private:
    int maxLength_ = 0;
    bool readOnly_ = false;
    TEditCharCase charCase_ = TEditCharCase::ecNormal;
    char passwordChar_ = 0;
    bool autoSelect_ = true;
    bool autoSize_ = true;
    TBorderStyle borderStyle_ = TBorderStyle::bsSingle;
    bool modified_ = false;
    int selStart_ = 0;
    int selLength_ = 0;
};

class TEdit : public TCustomEdit {
    ZB_CLASS(TEdit, TCustomEdit)

public:
    explicit TEdit(TComponent* owner = nullptr) : TCustomEdit(owner) {}
};

// Lines of text. Text is the lines joined with CR LF (no break after the
// last line); the caret's line comes from SelStart.
class TMemo : public TCustomEdit {
    ZB_CLASS(TMemo, TCustomEdit)

public:
    explicit TMemo(TComponent* owner = nullptr);
    ~TMemo() override;

    TStrings* Lines() const { return lines_; }
    void SetLines(TStrings* lines) { lines_->Assign(lines); }
    bool WantReturns() const { return wantReturns_; }
    void SetWantReturns(bool on) { wantReturns_ = on; }
    bool WantTabs() const { return wantTabs_; }
    void SetWantTabs(bool on) { wantTabs_ = on; }
    bool WordWrap() const { return wordWrap_; }
    void SetWordWrap(bool on) { wordWrap_ = on; }
    TScrollStyle ScrollBars() const { return scrollBars_; }
    void SetScrollBars(TScrollStyle s) { scrollBars_ = s; }
    TAlignment Alignment() const { return alignment_; }
    void SetAlignment(TAlignment a) { alignment_ = a; }
    // The zero-based line and column (characters) of the caret.
    TPoint CaretPos() const;
    void SetCaretPos(TPoint p);
    // The line holding the character at that index (the line-from-character query).
    int LineFromChar(int charIndex) const;

protected:
    void TextChanged() override;
    void DoKeyPress(char& key) override;
    bool WantsKey(Word key, TShiftState shift) const override;

private:
    void LinesChanged(TObject*);

    TStringList* lines_;
    bool syncing_ = false;
    bool wantReturns_ = true;
    bool wantTabs_ = false;
    bool wordWrap_ = true;
    TScrollStyle scrollBars_ = TScrollStyle::ssNone;
    TAlignment alignment_ = TAlignment::taLeftJustify;
};

// Items to choose from. Style csDropDownList takes only an item's text;
// csDropDown also takes typed text. Select is the user's choice of an item.
class TCustomComboBox : public TWinControl {
    ZB_CLASS(TCustomComboBox, TWinControl)

public:
    explicit TCustomComboBox(TComponent* owner = nullptr);
    ~TCustomComboBox() override;

    TStrings* Items() const { return items_; }
    void SetItems(TStrings* items) { items_->Assign(items); }
    int ItemIndex() const { return itemIndex_; }
    // Outside -1..Count-1 means no item; the text follows the item.
    void SetItemIndex(int index);
    TComboBoxStyle Style() const { return style_; }
    void SetStyle(TComboBoxStyle s);
    void SetText(const std::string& text) override;
    bool Sorted() const { return items_->Sorted(); }
    void SetSorted(bool on) { items_->SetSorted(on); }
    int DropDownCount() const { return dropDownCount_; }
    void SetDropDownCount(int n) { dropDownCount_ = n; }
    int MaxLength() const { return maxLength_; }
    void SetMaxLength(int n) { maxLength_ = n < 0 ? 0 : n; }
    bool DroppedDown() const { return droppedDown_; }
    void SetDroppedDown(bool on);
    void Clear();

    // The user picks an item: ItemIndex, then OnChange, OnSelect and OnClick.
    void Select(int index);

    TNotifyEvent OnChange;
    TNotifyEvent OnSelect;
    TNotifyEvent OnDropDown;
    TNotifyEvent OnCloseUp;

protected:
    void DoKeyPress(char& key) override;
    void DoKeyDown(Word& key, TShiftState shift) override;
    bool WantsKey(Word key, TShiftState shift) const override;

private:
    void ItemsChanged(TObject*);

    TStringList* items_;
    int itemIndex_ = -1;
    TComboBoxStyle style_ = TComboBoxStyle::csDropDown;
    int dropDownCount_ = 8;
    int maxLength_ = 0;
    bool droppedDown_ = false;
};

// The combo box forms place; readers of combo boxes in general go by
// TCustomComboBox.
class TComboBox : public TCustomComboBox {
    ZB_CLASS(TComboBox, TCustomComboBox)

public:
    using TCustomComboBox::TCustomComboBox;
};

class TListBox : public TWinControl {
    ZB_CLASS(TListBox, TWinControl)

public:
    explicit TListBox(TComponent* owner = nullptr);
    ~TListBox() override;

    TStrings* Items() const { return items_; }
    void SetItems(TStrings* items) { items_->Assign(items); }
    int ItemIndex() const { return itemIndex_; }
    void SetItemIndex(int index);
    bool MultiSelect() const { return multiSelect_; }
    void SetMultiSelect(bool on) { multiSelect_ = on; }
    bool Selected(int index) const;
    void SetSelected(int index, bool on);
    int SelCount() const;
    bool Sorted() const { return items_->Sorted(); }
    void SetSorted(bool on) { items_->SetSorted(on); }
    void Clear();
    // The user clicks an item.
    void Select(int index);

private:
    void ItemsChanged(TObject*);

    TStringList* items_;
    int itemIndex_ = -1;
    bool multiSelect_ = false;
    std::vector<bool> selected_;
};

class TButtonControl : public TWinControl {
    ZB_CLASS(TButtonControl, TWinControl)

public:
    explicit TButtonControl(TComponent* owner = nullptr);
    bool WordWrap() const { return wordWrap_; }
    void SetWordWrap(bool on) { wordWrap_ = on; }

protected:
    void DoKeyPress(char& key) override;

private:
    bool wordWrap_ = false;
};

// A push button. Clicking sets the form's ModalResult to the button's;
// Enter clicks the Default button, Esc the Cancel button.
class TButton : public TButtonControl {
    ZB_CLASS(TButton, TButtonControl)

public:
    explicit TButton(TComponent* owner = nullptr);

    bool Default() const { return default_; }
    void SetDefault(bool on) { default_ = on; }
    bool Cancel() const { return cancel_; }
    void SetCancel(bool on) { cancel_ = on; }
    TModalResult ModalResult() const { return modalResult_; }
    void SetModalResult(TModalResult r) { modalResult_ = r; }

    // The user's click; nothing while disabled.
    void Click() override;
    bool HandleDialogKey(Word key, TShiftState shift) override;

private:
    bool default_ = false;
    bool cancel_ = false;
    TModalResult modalResult_ = mrNone;
};

// Setting Checked or State raises OnClick when the state changes, as a
// user's click does; the user's click (Click) moves to the next state.
class TCheckBox : public TButtonControl {
    ZB_CLASS(TCheckBox, TButtonControl)

public:
    explicit TCheckBox(TComponent* owner = nullptr);

    bool Checked() const { return state_ == TCheckBoxState::cbChecked; }
    void SetChecked(bool on) { SetState(on ? TCheckBoxState::cbChecked : TCheckBoxState::cbUnchecked); }
    TCheckBoxState State() const { return state_; }
    virtual void SetState(TCheckBoxState state);
    bool AllowGrayed() const { return allowGrayed_; }
    void SetAllowGrayed(bool on) { allowGrayed_ = on; }
    TLeftRight Alignment() const { return alignment_; }
    void SetAlignment(TLeftRight a) { alignment_ = a; }
    void Click() override;

private:
    TCheckBoxState state_ = TCheckBoxState::cbUnchecked;
    bool allowGrayed_ = false;
    TLeftRight alignment_ = TLeftRight::taRightJustify;
};

// Checking a radio button unchecks the radio buttons beside it (same
// parent) and raises OnClick; unchecking raises nothing.
class TRadioButton : public TButtonControl {
    ZB_CLASS(TRadioButton, TButtonControl)

public:
    explicit TRadioButton(TComponent* owner = nullptr);

    bool Checked() const { return checked_; }
    virtual void SetChecked(bool on);
    TLeftRight Alignment() const { return alignment_; }
    void SetAlignment(TLeftRight a) { alignment_ = a; }
    void Click() override;

private:
    bool checked_ = false;
    TLeftRight alignment_ = TLeftRight::taRightJustify;
};

class TGroupBox : public TCustomControl {
    ZB_CLASS(TGroupBox, TCustomControl)

public:
    explicit TGroupBox(TComponent* owner = nullptr);
};

}  // namespace zb
