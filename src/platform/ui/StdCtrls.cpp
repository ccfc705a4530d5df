#include "platform/ui/StdCtrls.h"

#include <algorithm>

#include "platform/core/Published.h"
#include "platform/core/TextUtils.h"
#include "platform/ui/Forms.h"

namespace zb {

const EnumNames ComboBoxStyleNames = {"csDropDown", "csSimple", "csDropDownList", "csOwnerDrawFixed", "csOwnerDrawVariable"};
const EnumNames CheckBoxStateNames = {"cbUnchecked", "cbChecked", "cbGrayed"};
namespace {
const EnumNames kTextLayoutNames = {"tlTop", "tlCenter", "tlBottom"};
const EnumNames kCharCaseNames = {"ecNormal", "ecUpperCase", "ecLowerCase"};
const EnumNames kScrollStyleNames = {"ssNone", "ssHorizontal", "ssVertical", "ssBoth"};
const EnumNames kLeftRightNames = {"taLeftJustify", "taRightJustify"};

int CharCount(std::string_view s) { return static_cast<int>(Utf8Length(s)); }
}  // namespace

ZB_PUBLISHED(TLabel){
    prop::String("Caption", &TLabel::Caption, &TLabel::SetCaption, "TCaption"),
    prop::Bool("AutoSize", &TLabel::AutoSize, &TLabel::SetAutoSize),
    prop::Enum("Alignment", &TLabel::Alignment, &TLabel::SetAlignment, AlignmentNames, "TAlignment"),
    prop::Enum("Layout", &TLabel::Layout, &TLabel::SetLayout, kTextLayoutNames, "TTextLayout"),
    prop::Bool("WordWrap", &TLabel::WordWrap, &TLabel::SetWordWrap),
    prop::Bool("Transparent", &TLabel::Transparent, &TLabel::SetTransparent),
    prop::Bool("ShowAccelChar", &TLabel::ShowAccelChar, &TLabel::SetShowAccelChar),
    prop::Class("FocusControl", &TLabel::FocusControl, &TLabel::SetFocusControl),
};

ZB_PUBLISHED(TCustomEdit){
    prop::String("Text", &TCustomEdit::Text, &TCustomEdit::SetText, "TCaption"),
    prop::Integer("MaxLength", &TCustomEdit::MaxLength, &TCustomEdit::SetMaxLength),
    prop::Bool("ReadOnly", &TCustomEdit::ReadOnly, &TCustomEdit::SetReadOnly),
    prop::Enum("CharCase", &TCustomEdit::CharCase, &TCustomEdit::SetCharCase, kCharCaseNames, "TEditCharCase"),
    prop::Char("PasswordChar", &TCustomEdit::PasswordChar, &TCustomEdit::SetPasswordChar),
    prop::Bool("AutoSelect", &TCustomEdit::AutoSelect, &TCustomEdit::SetAutoSelect),
    prop::Bool("AutoSize", &TCustomEdit::AutoSize, &TCustomEdit::SetAutoSize),
    prop::Enum("BorderStyle", &TCustomEdit::BorderStyle, &TCustomEdit::SetBorderStyle, BorderStyleNames, "TBorderStyle"),
    prop::Event("OnChange", &TCustomEdit::OnChange),
};
ZB_PUBLISHED(TEdit){};

ZB_PUBLISHED(TMemo){
    prop::Class("Lines", &TMemo::Lines, &TMemo::SetLines),
    prop::Bool("WantReturns", &TMemo::WantReturns, &TMemo::SetWantReturns),
    prop::Bool("WantTabs", &TMemo::WantTabs, &TMemo::SetWantTabs),
    prop::Bool("WordWrap", &TMemo::WordWrap, &TMemo::SetWordWrap),
    prop::Enum("ScrollBars", &TMemo::ScrollBars, &TMemo::SetScrollBars, kScrollStyleNames, "TScrollStyle"),
    prop::Enum("Alignment", &TMemo::Alignment, &TMemo::SetAlignment, AlignmentNames, "TAlignment"),
};

ZB_PUBLISHED(TCustomComboBox){
    prop::String("Text", &TCustomComboBox::Text, &TCustomComboBox::SetText, "TCaption"),
    prop::Class("Items", &TCustomComboBox::Items, &TCustomComboBox::SetItems),
    prop::Integer("ItemIndex", &TCustomComboBox::ItemIndex, &TCustomComboBox::SetItemIndex),
    prop::Enum("Style", &TCustomComboBox::Style, &TCustomComboBox::SetStyle, ComboBoxStyleNames, "TComboBoxStyle"),
    prop::Bool("Sorted", &TCustomComboBox::Sorted, &TCustomComboBox::SetSorted),
    prop::Integer("DropDownCount", &TCustomComboBox::DropDownCount, &TCustomComboBox::SetDropDownCount),
    prop::Integer("MaxLength", &TCustomComboBox::MaxLength, &TCustomComboBox::SetMaxLength),
    prop::Event("OnChange", &TCustomComboBox::OnChange),
    prop::Event("OnSelect", &TCustomComboBox::OnSelect),
    prop::Event("OnDropDown", &TCustomComboBox::OnDropDown),
    prop::Event("OnCloseUp", &TCustomComboBox::OnCloseUp),
};
ZB_PUBLISHED(TComboBox){};

ZB_PUBLISHED(TListBox){
    prop::Class("Items", &TListBox::Items, &TListBox::SetItems),
    prop::Integer("ItemIndex", &TListBox::ItemIndex, &TListBox::SetItemIndex),
    prop::Bool("MultiSelect", &TListBox::MultiSelect, &TListBox::SetMultiSelect),
    prop::Bool("Sorted", &TListBox::Sorted, &TListBox::SetSorted),
};

ZB_PUBLISHED(TButtonControl){
    prop::Bool("WordWrap", &TButtonControl::WordWrap, &TButtonControl::SetWordWrap),
};
ZB_PUBLISHED(TButton){
    prop::String("Caption", &TButton::Caption, &TButton::SetCaption, "TCaption"),
    prop::Bool("Default", &TButton::Default, &TButton::SetDefault),
    prop::Bool("Cancel", &TButton::Cancel, &TButton::SetCancel),
    prop::Integer("ModalResult", &TButton::ModalResult, &TButton::SetModalResult, "TModalResult"),
};
ZB_PUBLISHED(TCheckBox){
    prop::String("Caption", &TCheckBox::Caption, &TCheckBox::SetCaption, "TCaption"),
    prop::Bool("Checked", &TCheckBox::Checked, &TCheckBox::SetChecked),
    prop::Enum("State", &TCheckBox::State, &TCheckBox::SetState, CheckBoxStateNames, "TCheckBoxState"),
    prop::Bool("AllowGrayed", &TCheckBox::AllowGrayed, &TCheckBox::SetAllowGrayed),
    prop::Enum("Alignment", &TCheckBox::Alignment, &TCheckBox::SetAlignment, kLeftRightNames, "TLeftRight"),
};
ZB_PUBLISHED(TRadioButton){
    prop::String("Caption", &TRadioButton::Caption, &TRadioButton::SetCaption, "TCaption"),
    prop::Bool("Checked", &TRadioButton::Checked, &TRadioButton::SetChecked),
    prop::Enum("Alignment", &TRadioButton::Alignment, &TRadioButton::SetAlignment, kLeftRightNames, "TLeftRight"),
};
ZB_PUBLISHED(TGroupBox){
    prop::String("Caption", &TGroupBox::Caption, &TGroupBox::SetCaption, "TCaption"),
};

// --- TLabel ----------------------------------------------------------------

TLabel::TLabel(TComponent* owner) : TGraphicControl(owner) { SetBounds(0, 0, 65, 17); }

void TLabel::SetAutoSize(bool on) {
    if (on == autoSize_) return;
    autoSize_ = on;
    AdjustBounds();
}

void TLabel::SetWordWrap(bool on) {
    if (on == wordWrap_) return;
    wordWrap_ = on;
    AdjustBounds();
}

void TLabel::FontChanged() {
    TGraphicControl::FontChanged();
    AdjustBounds();
}

void TLabel::AdjustBounds() {
    if (!autoSize_) return;
    std::string text = Caption();
    if (showAccelChar_) {
        std::string shown;
        for (size_t i = 0; i < text.size(); ++i) {
            if (text[i] == '&' && i + 1 < text.size()) ++i;
            shown += text[i];
        }
        text = shown;
    }
    int lineHeight = TextHeight(*Font());
    if (!wordWrap_) {
        SetBounds(Left(), Top(), TextWidth(*Font(), text), lineHeight);
        return;
    }
    // Wrapped: the width stays, the lines that fit it give the height.
    int width = std::max(Width(), 1);
    int lines = 1, lineWidth = 0;
    Utf8Iterator it(text);
    while (!it.AtEnd()) {
        std::string ch(it.Current());
        char32_t c;
        it.Next(c);
        if (c == '\n') {
            ++lines;
            lineWidth = 0;
            continue;
        }
        int w = TextWidth(*Font(), ch);
        if (lineWidth > 0 && lineWidth + w > width) {
            ++lines;
            lineWidth = 0;
        }
        lineWidth += w;
    }
    SetBounds(Left(), Top(), width, lines * lineHeight);
}

void TLabel::SetFocusControl(TWinControl* c) {
    if (c == focusControl_) return;
    if (focusControl_) RemoveFreeNotification(focusControl_);
    focusControl_ = c;
    if (c) FreeNotification(c);
}

void TLabel::Notification(TComponent* component, TOperation operation) {
    TGraphicControl::Notification(component, operation);
    if (operation == TOperation::opRemove && component == focusControl_) focusControl_ = nullptr;
}

// --- TCustomEdit -----------------------------------------------------------

TCustomEdit::TCustomEdit(TComponent* owner) : TWinControl(owner) {
    SetBounds(0, 0, 121, 21);
    SetColor(clWindow);
    SetTabStop(true);
}

std::string TCustomEdit::ApplyCase(std::string_view text) const {
    switch (charCase_) {
        case TEditCharCase::ecUpperCase: return UpperCase(text);
        case TEditCharCase::ecLowerCase: return LowerCase(text);
        default: return std::string(text);
    }
}

void TCustomEdit::SetCharCase(TEditCharCase c) {
    charCase_ = c;
    SetText(ApplyCase(TControl::Text()));
}

void TCustomEdit::SetText(const std::string& text) { TWinControl::SetText(ApplyCase(text)); }

void TCustomEdit::SetTextSilently(const std::string& text) {
    StoreText(text);
    selStart_ = std::min(selStart_, CharCount(text));
    selLength_ = std::min(selLength_, CharCount(text) - selStart_);
    Changed("Text");
}

void TCustomEdit::TextChanged() {
    int len = CharCount(TControl::Text());
    selStart_ = std::min(selStart_, len);
    selLength_ = std::clamp(selLength_, 0, len - selStart_);
    modified_ = true;
    Change();
}

void TCustomEdit::Change() { OnChange(this); }

int TCustomEdit::Length() const { return CharCount(TControl::Text()); }

void TCustomEdit::SetSelStart(int pos) {
    selStart_ = std::clamp(pos, 0, Length());
    selLength_ = 0;
}

void TCustomEdit::SetSelLength(int len) { selLength_ = std::clamp(len, 0, Length() - selStart_); }

std::string TCustomEdit::SelText() const {
    return Utf8Copy(TControl::Text(), static_cast<size_t>(selStart_), static_cast<size_t>(selLength_));
}

void TCustomEdit::SelectAll() {
    selStart_ = 0;
    selLength_ = Length();
}

void TCustomEdit::SetSelText(const std::string& inserted) {
    std::string text = TControl::Text();
    std::string add = ApplyCase(inserted);
    int room = maxLength_ > 0 ? maxLength_ - (Length() - selLength_) : INT32_MAX;
    if (room <= 0 && !add.empty() && selLength_ == 0) return;
    if (CharCount(add) > room) add = Utf8Copy(add, 0, static_cast<size_t>(std::max(room, 0)));
    size_t from = Utf8Offset(text, static_cast<size_t>(selStart_));
    size_t to = Utf8Offset(text, static_cast<size_t>(selStart_ + selLength_));
    std::string result = text.substr(0, from) + add + text.substr(to);
    int caret = selStart_ + CharCount(add);
    selLength_ = 0;
    TWinControl::SetText(result);
    selStart_ = std::min(caret, Length());
    selLength_ = 0;
}

void TCustomEdit::DoEnter() {
    if (autoSelect_) SelectAll();
    TWinControl::DoEnter();
}

bool TCustomEdit::WantsKey(Word key, TShiftState) const {
    return key == VK_LEFT || key == VK_RIGHT || key == VK_HOME || key == VK_END || key == VK_DELETE;
}

void TCustomEdit::DoKeyDown(Word& key, TShiftState shift) {
    int len = Length();
    switch (key) {
        case VK_LEFT: SetSelStart(selStart_ - 1); break;
        case VK_RIGHT: SetSelStart(selStart_ + selLength_ + (selLength_ ? 0 : 1)); break;
        case VK_HOME: SetSelStart(0); break;
        case VK_END: SetSelStart(len); break;
        case VK_DELETE:
            if (readOnly_) break;
            if (selLength_ == 0 && selStart_ < len) selLength_ = 1;
            SetSelText("");
            break;
        default: return;
    }
}

void TCustomEdit::DoKeyPress(char& key) {
    if (readOnly_) return;
    if (key == 8) {
        if (selLength_ == 0 && selStart_ > 0) {
            --selStart_;
            selLength_ = 1;
        }
        SetSelText("");
        return;
    }
    if (static_cast<unsigned char>(key) < 32) return;
    SetSelText(std::string(1, key));
}

void TCustomEdit::InsertTypedText(std::string_view text) {
    if (!readOnly_) SetSelText(std::string(text));
}

// --- TMemo -----------------------------------------------------------------

TMemo::TMemo(TComponent* owner) : TCustomEdit(owner), lines_(new TStringList) {
    SetBounds(0, 0, 185, 89);
    lines_->OnChange = Handler<&TMemo::LinesChanged>(this);
}

TMemo::~TMemo() { lines_->Free(); }

void TMemo::LinesChanged(TObject*) {
    if (syncing_) return;
    std::string joined;
    for (int i = 0; i < lines_->Count(); ++i) {
        if (i) joined += "\r\n";
        joined += lines_->Get(i);
    }
    syncing_ = true;
    try {
        TCustomEdit::SetText(joined);
    } catch (...) {
        syncing_ = false;
        throw;
    }
    syncing_ = false;
}

void TMemo::TextChanged() {
    if (!syncing_) {
        syncing_ = true;
        try {
            // A break at the end starts a last, empty line, where the caret goes.
            std::string text = Text();
            lines_->BeginUpdate();
            lines_->Clear();
            size_t start = 0;
            while (!text.empty()) {
                size_t br = text.find_first_of("\r\n", start);
                if (br == std::string::npos) {
                    lines_->Add(text.substr(start));
                    break;
                }
                lines_->Add(text.substr(start, br - start));
                start = br + ((text[br] == '\r' && br + 1 < text.size() && text[br + 1] == '\n') ? 2 : 1);
                if (start >= text.size()) {
                    lines_->Add("");
                    break;
                }
            }
            lines_->EndUpdate();
        } catch (...) {
            syncing_ = false;
            throw;
        }
        syncing_ = false;
    }
    TCustomEdit::TextChanged();
}

int TMemo::LineFromChar(int charIndex) const {
    std::string text = Text();
    size_t end = Utf8Offset(text, static_cast<size_t>(std::max(charIndex, 0)));
    int line = 0;
    for (size_t i = 0; i < end && i < text.size(); ++i) {
        if (text[i] == '\n') ++line;
        else if (text[i] == '\r' && (i + 1 >= text.size() || text[i + 1] != '\n')) ++line;
    }
    return line;
}

TPoint TMemo::CaretPos() const {
    int line = LineFromChar(SelStart());
    std::string text = Text();
    size_t caret = Utf8Offset(text, static_cast<size_t>(SelStart()));
    size_t lineStart = text.find_last_of("\r\n", caret == 0 ? std::string::npos : caret - 1);
    lineStart = (caret == 0 || lineStart == std::string::npos) ? 0 : lineStart + 1;
    return {CharCount(std::string_view(text).substr(lineStart, caret - lineStart)), line};
}

void TMemo::SetCaretPos(TPoint p) {
    int index = 0;
    for (int i = 0; i < std::min(p.Y, lines_->Count()); ++i) index += CharCount(lines_->Get(i)) + 2;
    if (p.Y < lines_->Count()) index += std::clamp(p.X, 0, CharCount(lines_->Get(p.Y)));
    SetSelStart(index);
}

bool TMemo::WantsKey(Word key, TShiftState shift) const {
    if (key == VK_RETURN) return wantReturns_;
    if (key == VK_TAB) return wantTabs_;
    return key == VK_UP || key == VK_DOWN || key == VK_PRIOR || key == VK_NEXT || TCustomEdit::WantsKey(key, shift);
}

void TMemo::DoKeyPress(char& key) {
    if (key == '\r') {
        if (wantReturns_ && !ReadOnly()) SetSelText("\r\n");
        return;
    }
    if (key == '\t') {
        if (wantTabs_ && !ReadOnly()) SetSelText("\t");
        return;
    }
    TCustomEdit::DoKeyPress(key);
}

// --- TCustomComboBox -------------------------------------------------------

TCustomComboBox::TCustomComboBox(TComponent* owner) : TWinControl(owner), items_(new TStringList) {
    SetBounds(0, 0, 145, 21);
    SetColor(clWindow);
    SetTabStop(true);
    items_->OnChange = Handler<&TCustomComboBox::ItemsChanged>(this);
}

TCustomComboBox::~TCustomComboBox() { items_->Free(); }

void TCustomComboBox::ItemsChanged(TObject*) {
    if (itemIndex_ >= items_->Count()) itemIndex_ = -1;
    if (style_ == TComboBoxStyle::csDropDownList && itemIndex_ < 0 && !Text().empty()) TWinControl::SetText("");
}

void TCustomComboBox::SetItemIndex(int index) {
    if (index < -1 || index >= items_->Count()) index = -1;
    itemIndex_ = index;
    TWinControl::SetText(index >= 0 ? items_->Get(index) : std::string());
    Changed("ItemIndex");
}

void TCustomComboBox::SetText(const std::string& text) {
    int found = -1;
    for (int i = 0; i < items_->Count(); ++i)
        if (items_->Get(i) == text) {
            found = i;
            break;
        }
    if (style_ == TComboBoxStyle::csDropDownList) {
        SetItemIndex(found);
        return;
    }
    itemIndex_ = found;
    TWinControl::SetText(text);
}

void TCustomComboBox::SetStyle(TComboBoxStyle s) {
    style_ = s;
    if (s == TComboBoxStyle::csDropDownList) SetText(Text());
}

void TCustomComboBox::SetDroppedDown(bool on) {
    if (on == droppedDown_) return;
    droppedDown_ = on;
    if (on) OnDropDown(this);
    else OnCloseUp(this);
}

void TCustomComboBox::Clear() {
    items_->Clear();
    itemIndex_ = -1;
    TWinControl::SetText("");
}

void TCustomComboBox::Select(int index) {
    if (!Enabled() || index < 0 || index >= items_->Count()) return;
    SetItemIndex(index);
    OnChange(this);
    OnSelect(this);
    Click();
}

bool TCustomComboBox::WantsKey(Word key, TShiftState) const {
    return key == VK_UP || key == VK_DOWN || (droppedDown_ && (key == VK_RETURN || key == VK_ESCAPE));
}

void TCustomComboBox::DoKeyDown(Word& key, TShiftState shift) {
    if (key == VK_DOWN && (shift & ssAlt)) {
        SetDroppedDown(!droppedDown_);
        return;
    }
    if ((key == VK_RETURN || key == VK_ESCAPE) && droppedDown_) {
        SetDroppedDown(false);
        key = 0;
        return;
    }
    if (key == VK_DOWN && itemIndex_ + 1 < items_->Count()) Select(itemIndex_ + 1);
    else if (key == VK_UP && itemIndex_ > 0) Select(itemIndex_ - 1);
}

void TCustomComboBox::DoKeyPress(char& key) {
    if (style_ == TComboBoxStyle::csDropDownList) {
        // Typing picks the next item that starts with the character.
        if (static_cast<unsigned char>(key) < 32) return;
        int n = items_->Count();
        for (int step = 1; step <= n; ++step) {
            int i = (itemIndex_ + step + n) % n;
            if (StartsText(std::string(1, key), items_->Get(i))) {
                Select(i);
                return;
            }
        }
        return;
    }
    std::string text = Text();
    if (key == 8) {
        if (!text.empty()) text = Utf8Copy(text, 0, Utf8Length(text) - 1);
    } else if (static_cast<unsigned char>(key) >= 32) {
        if (maxLength_ > 0 && CharCount(text) >= maxLength_) return;
        text += key;
    } else {
        return;
    }
    SetText(text);
    OnChange(this);
}

// --- TListBox --------------------------------------------------------------

TListBox::TListBox(TComponent* owner) : TWinControl(owner), items_(new TStringList) {
    SetBounds(0, 0, 121, 97);
    SetColor(clWindow);
    SetTabStop(true);
    items_->OnChange = Handler<&TListBox::ItemsChanged>(this);
}

TListBox::~TListBox() { items_->Free(); }

void TListBox::ItemsChanged(TObject*) {
    selected_.assign(static_cast<size_t>(items_->Count()), false);
    if (itemIndex_ >= items_->Count()) itemIndex_ = -1;
    if (itemIndex_ >= 0) selected_[static_cast<size_t>(itemIndex_)] = true;
}

void TListBox::SetItemIndex(int index) {
    if (index < -1 || index >= items_->Count()) index = -1;
    if (!multiSelect_) selected_.assign(static_cast<size_t>(items_->Count()), false);
    itemIndex_ = index;
    if (index >= 0) selected_[static_cast<size_t>(index)] = true;
    Changed("ItemIndex");
}

bool TListBox::Selected(int index) const {
    if (index < 0 || index >= items_->Count()) throw EStringListError("List index out of bounds (" + std::to_string(index) + ")");
    return selected_[static_cast<size_t>(index)];
}

void TListBox::SetSelected(int index, bool on) {
    if (index < 0 || index >= items_->Count()) throw EStringListError("List index out of bounds (" + std::to_string(index) + ")");
    if (!multiSelect_) {
        SetItemIndex(on ? index : (itemIndex_ == index ? -1 : itemIndex_));
        return;
    }
    selected_[static_cast<size_t>(index)] = on;
}

int TListBox::SelCount() const {
    if (!multiSelect_) return -1;
    return static_cast<int>(std::count(selected_.begin(), selected_.end(), true));
}

void TListBox::Clear() {
    items_->Clear();
    itemIndex_ = -1;
}

void TListBox::Select(int index) {
    if (!Enabled() || index < 0 || index >= items_->Count()) return;
    SetItemIndex(index);
    Click();
}

// --- buttons ---------------------------------------------------------------

TButtonControl::TButtonControl(TComponent* owner) : TWinControl(owner) { SetTabStop(true); }

void TButtonControl::DoKeyPress(char& key) {
    if (key == ' ') {
        Click();
        key = 0;
    }
}

TButton::TButton(TComponent* owner) : TButtonControl(owner) { SetBounds(0, 0, 75, 25); }

void TButton::Click() {
    if (!Enabled()) return;
    if (TCustomForm* form = ParentForm()) form->SetModalResult(modalResult_);
    TButtonControl::Click();
}

bool TButton::HandleDialogKey(Word key, TShiftState shift) {
    if (shift & (ssCtrl | ssAlt)) return false;
    if (key == VK_ESCAPE && cancel_) {
        Click();
        return true;
    }
    if (key == VK_RETURN && default_) {
        // Another button with the focus takes Enter itself.
        TCustomForm* form = ParentForm();
        TWinControl* focused = form ? form->ActiveControl() : nullptr;
        if (focused && focused != this && isa<TButton>(focused)) {
            static_cast<TButton*>(focused)->Click();
            return true;
        }
        Click();
        return true;
    }
    return false;
}

TCheckBox::TCheckBox(TComponent* owner) : TButtonControl(owner) { SetBounds(0, 0, 97, 17); }

void TCheckBox::SetState(TCheckBoxState state) {
    if (state == state_) return;
    state_ = state;
    Changed("Checked");
    TButtonControl::Click();
}

void TCheckBox::Click() {
    if (!Enabled()) return;
    switch (state_) {
        case TCheckBoxState::cbUnchecked: SetState(allowGrayed_ ? TCheckBoxState::cbGrayed : TCheckBoxState::cbChecked); break;
        case TCheckBoxState::cbGrayed: SetState(TCheckBoxState::cbChecked); break;
        case TCheckBoxState::cbChecked: SetState(TCheckBoxState::cbUnchecked); break;
    }
}

TRadioButton::TRadioButton(TComponent* owner) : TButtonControl(owner) {
    SetBounds(0, 0, 113, 17);
    SetTabStop(false);
}

void TRadioButton::SetChecked(bool on) {
    if (on == checked_) return;
    checked_ = on;
    SetTabStop(on);
    Changed("Checked");
    if (!on) return;
    if (TWinControl* p = Parent())
        for (TControl* c : p->ControlList())
            if (c != this && isa<TRadioButton>(c)) static_cast<TRadioButton*>(c)->SetChecked(false);
    TButtonControl::Click();
}

void TRadioButton::Click() {
    if (!Enabled()) return;
    SetChecked(true);
}

TGroupBox::TGroupBox(TComponent* owner) : TCustomControl(owner) { SetBounds(0, 0, 185, 105); }

}  // namespace zb
