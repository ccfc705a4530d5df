#include "platform/ui/Mask.h"

#include <algorithm>

#include "platform/core/Published.h"
#include "platform/core/TextUtils.h"

namespace zb {

namespace {

// One entry per character. A byte that is not UTF-8 stands as U+FFFD, so
// stray bytes of neighbouring positions can never join into one character.
std::vector<std::string> SplitChars(std::string_view text) {
    std::vector<std::string> out;
    size_t pos = 0;
    while (pos < text.size()) {
        size_t len = 0;
        if (IsWellFormedUtf8At(text, pos, len)) {
            out.emplace_back(text.substr(pos, len));
        } else {
            std::string replacement;
            AppendUtf8(replacement, kReplacementChar);
            out.push_back(replacement);
        }
        pos += len ? len : 1;
    }
    return out;
}

std::string Join(const std::vector<std::string>& cells) {
    std::string s;
    for (const auto& c : cells) s += c;
    return s;
}

bool IsDigit(std::string_view ch) { return ch.size() == 1 && ch[0] >= '0' && ch[0] <= '9'; }
bool IsLetter(std::string_view ch) {
    if (ch.size() != 1) return !ch.empty();  // beyond ASCII: Chinese characters are letters
    char c = ch[0];
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

}  // namespace

TEditMask::TEditMask(std::string_view text) {
    // The mask ends at the first ";" that is not escaped.
    size_t end = text.size();
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\\') {
            ++i;
            continue;
        }
        if (text[i] == ';') {
            end = i;
            break;
        }
    }
    if (end < text.size()) {
        std::string_view rest = text.substr(end + 1);
        size_t semi = rest.find(';');
        std::string_view save = rest.substr(0, semi);
        if (!save.empty() && save[0] == '0') saveLiterals_ = false;
        // The blank is one printable ASCII character; anything else keeps "_".
        if (semi != std::string_view::npos && semi + 1 < rest.size() && rest[semi + 1] >= ' ' && rest[semi + 1] < 0x7F)
            blank_ = rest[semi + 1];
    }
    std::vector<std::string> chars = SplitChars(text.substr(0, end));
    int charCase = 0;
    for (size_t i = 0; i < chars.size(); ++i) {
        const std::string& c = chars[i];
        Cell cell;
        if (c == "\\") {
            if (i + 1 >= chars.size()) break;
            cell.literal = chars[++i];
            cells_.push_back(cell);
            continue;
        }
        if (c == "!") {
            leadingBlanks_ = true;
            continue;
        }
        if (c == "<" && i + 1 < chars.size() && chars[i + 1] == ">") {
            charCase = 0;
            ++i;
            continue;
        }
        if (c == ">") {
            charCase = 1;
            continue;
        }
        if (c == "<") {
            charCase = -1;
            continue;
        }
        cell.charCase = charCase;
        if (c.size() == 1) {
            switch (c[0]) {
                case '0': cell.kind = CellKind::Digit; cell.required = true; break;
                case '9': cell.kind = CellKind::Digit; break;
                case '#': cell.kind = CellKind::DigitOrSign; break;
                case 'L': cell.kind = CellKind::Letter; cell.required = true; break;
                case 'l': cell.kind = CellKind::Letter; break;
                case 'A': cell.kind = CellKind::AlphaNum; cell.required = true; break;
                case 'a': cell.kind = CellKind::AlphaNum; break;
                case 'C': cell.kind = CellKind::AnyChar; cell.required = true; break;
                case 'c': cell.kind = CellKind::AnyChar; break;
                case '_': cell.literal = " "; break;
                default: cell.literal = c;
            }
        } else {
            cell.literal = c;
        }
        cells_.push_back(cell);
    }
}

bool TEditMask::Accepts(size_t index, std::string_view ch, std::string* stored) const {
    if (index >= cells_.size() || ch.empty()) return false;
    const Cell& cell = cells_[index];
    bool ok = false;
    switch (cell.kind) {
        case CellKind::Literal: return false;
        case CellKind::Digit: ok = IsDigit(ch); break;
        case CellKind::DigitOrSign: ok = IsDigit(ch) || ch == "+" || ch == "-"; break;
        case CellKind::Letter: ok = IsLetter(ch); break;
        case CellKind::AlphaNum: ok = IsLetter(ch) || IsDigit(ch); break;
        case CellKind::AnyChar: ok = static_cast<unsigned char>(ch[0]) >= ' '; break;
    }
    if (ok && stored) {
        if (cell.charCase > 0) *stored = UpperCase(ch);
        else if (cell.charCase < 0) *stored = LowerCase(ch);
        else *stored = std::string(ch);
    }
    return ok;
}

std::string TEditMask::EmptyEditText() const {
    std::string s;
    for (const Cell& c : cells_) s += c.kind == CellKind::Literal ? c.literal : std::string(1, blank_);
    return s;
}

std::string TEditMask::Place(std::string_view text, bool formatted) const {
    std::vector<std::string> chars = SplitChars(text);
    std::string out;
    size_t next = 0;
    for (size_t i = 0; i < cells_.size(); ++i) {
        const Cell& c = cells_[i];
        if (formatted) next = i;
        if (c.kind == CellKind::Literal) {
            out += c.literal;
            continue;
        }
        std::string stored;
        if (next < chars.size() && Accepts(i, chars[next], &stored)) out += stored;
        else out += blank_;
        ++next;
    }
    return out;
}

std::string TEditMask::TextOf(std::string_view editText) const {
    std::vector<std::string> chars = SplitChars(editText);
    std::string out;
    for (size_t i = 0; i < cells_.size(); ++i) {
        const Cell& c = cells_[i];
        std::string ch = i < chars.size() ? chars[i] : std::string(1, blank_);
        bool blank = ch.size() == 1 && ch[0] == blank_ && c.kind != CellKind::Literal;
        if (c.kind == CellKind::Literal) {
            if (saveLiterals_) out += ch;
            continue;
        }
        out += blank ? std::string(" ") : ch;
    }
    if (!saveLiterals_) {
        size_t last = out.find_last_not_of(' ');
        out.erase(last == std::string::npos ? 0 : last + 1);
    }
    return out;
}

bool TEditMask::Complete(std::string_view editText) const {
    std::vector<std::string> chars = SplitChars(editText);
    bool anyFilled = false, missing = false;
    for (size_t i = 0; i < cells_.size(); ++i) {
        if (cells_[i].kind == CellKind::Literal) continue;
        bool filled = i < chars.size() && !(chars[i].size() == 1 && (chars[i][0] == blank_ || chars[i][0] == ' '));
        anyFilled |= filled;
        if (cells_[i].required && !filled) missing = true;
    }
    return !anyFilled || !missing;
}

std::string FormatMaskText(std::string_view editMask, std::string_view value) {
    TEditMask mask(editMask);
    if (mask.Empty()) return std::string(value);
    return mask.TextOf(mask.Place(value, false));
}

// --- TCustomMaskEdit -------------------------------------------------------

ZB_PUBLISHED(TCustomMaskEdit){
    prop::String("EditMask", &TCustomMaskEdit::EditMask, &TCustomMaskEdit::SetEditMask, "TEditMask"),
};
ZB_PUBLISHED(TMaskEdit){};

TCustomMaskEdit::TCustomMaskEdit(TComponent* owner) : TCustomEdit(owner) {}

void TCustomMaskEdit::SetEditMask(const std::string& mask) {
    if (mask == editMask_) return;
    bool wasMasked = IsMasked();
    std::string text = Text();
    std::string editText = EditText();
    editMask_ = mask;
    mask_ = TEditMask(mask);
    if (mask_.Empty()) {
        TControl::SetText(text);
        return;
    }
    SetMaxLength(0);
    // Characters keep their positions from one mask to the next; a plain
    // text is read the way the new mask reads texts.
    TControl::SetText(wasMasked ? mask_.Place(editText, true) : mask_.Place(text, mask_.LiteralsStored()));
}

std::string TCustomMaskEdit::Text() const {
    if (!IsMasked()) return TControl::Text();
    return mask_.TextOf(TControl::Text());
}

void TCustomMaskEdit::SetText(const std::string& text) {
    if (!IsMasked()) {
        TCustomEdit::SetText(text);
        return;
    }
    TControl::SetText(mask_.Place(text, mask_.LiteralsStored()));
}

void TCustomMaskEdit::SetEditText(const std::string& text) {
    if (!IsMasked()) {
        TCustomEdit::SetText(text);
        return;
    }
    TControl::SetText(mask_.Place(text, true));
}

void TCustomMaskEdit::ValidateEdit() {
    if (!IsMasked() || mask_.Complete(TControl::Text())) return;
    throw EDBEditError("Invalid input value.  Use escape key to abandon changes");
}

void TCustomMaskEdit::DoExit() {
    try {
        ValidateEdit();
    } catch (const EDBEditError&) {
        // Back into the field as it was: no enter handlers, no selection.
        reEnter_ = true;
        if (CanFocus()) SetFocus();
        reEnter_ = false;
        throw;
    }
    TCustomEdit::DoExit();
}

void TCustomMaskEdit::DoEnter() {
    if (reEnter_) return;
    TCustomEdit::DoEnter();
}

std::vector<std::string> TCustomMaskEdit::EditCells() const {
    std::vector<std::string> cells = SplitChars(TControl::Text());
    cells.resize(mask_.Cells().size(), std::string(1, mask_.Blank()));
    return cells;
}

void TCustomMaskEdit::StoreCells(const std::vector<std::string>& cells, int caret) {
    TControl::SetText(Join(cells));
    SetSelStart(caret);
}

int TCustomMaskEdit::InputPos(int pos, bool back) const {
    const auto& cells = mask_.Cells();
    int n = static_cast<int>(cells.size());
    if (back) {
        for (int i = std::min(pos, n - 1); i >= 0; --i)
            if (cells[static_cast<size_t>(i)].kind != TEditMask::CellKind::Literal) return i;
        return -1;
    }
    for (int i = std::max(pos, 0); i < n; ++i)
        if (cells[static_cast<size_t>(i)].kind != TEditMask::CellKind::Literal) return i;
    return -1;
}

void TCustomMaskEdit::ClearSelection() {
    if (SelLength() == 0) return;
    auto cells = EditCells();
    for (int i = SelStart(); i < SelStart() + SelLength() && i < static_cast<int>(cells.size()); ++i)
        if (mask_.Cells()[static_cast<size_t>(i)].kind != TEditMask::CellKind::Literal)
            cells[static_cast<size_t>(i)] = std::string(1, mask_.Blank());
    StoreCells(cells, SelStart());
}

bool TCustomMaskEdit::TypeChar(std::string_view typed) {
    std::vector<std::string> one = SplitChars(typed);
    if (one.size() != 1) return false;
    std::string_view ch = one.front();
    // Typing a literal where it stands steps over it.
    int caret = SelStart();
    const auto& cells = mask_.Cells();
    if (caret < static_cast<int>(cells.size()) && cells[static_cast<size_t>(caret)].kind == TEditMask::CellKind::Literal &&
        cells[static_cast<size_t>(caret)].literal == ch) {
        ClearSelection();
        SetSelStart(caret + 1);
        return true;
    }
    int pos = InputPos(caret, false);
    std::string stored;
    if (pos < 0 || !mask_.Accepts(static_cast<size_t>(pos), ch, &stored)) return false;
    ClearSelection();
    auto edit = EditCells();
    edit[static_cast<size_t>(pos)] = stored;
    int next = InputPos(pos + 1, false);
    StoreCells(edit, next < 0 ? static_cast<int>(edit.size()) : next);
    return true;
}

void TCustomMaskEdit::DoKeyPress(char& key) {
    if (!IsMasked()) {
        TCustomEdit::DoKeyPress(key);
        return;
    }
    if (ReadOnly()) return;
    if (key == 8) {
        if (SelLength() > 0) {
            ClearSelection();
            return;
        }
        int pos = InputPos(SelStart() - 1, true);
        if (pos < 0) return;
        auto cells = EditCells();
        cells[static_cast<size_t>(pos)] = std::string(1, mask_.Blank());
        StoreCells(cells, pos);
        return;
    }
    if (static_cast<unsigned char>(key) < 32) return;
    TypeChar(std::string_view(&key, 1));
}

void TCustomMaskEdit::InsertTypedText(std::string_view text) {
    if (!IsMasked()) {
        TCustomEdit::InsertTypedText(text);
        return;
    }
    if (!ReadOnly()) TypeChar(text);
}

void TCustomMaskEdit::SetSelText(const std::string& text) {
    if (!IsMasked()) {
        TCustomEdit::SetSelText(text);
        return;
    }
    ClearSelection();
    for (const std::string& ch : SplitChars(text)) TypeChar(ch);
}

void TCustomMaskEdit::DoKeyDown(Word& key, TShiftState shift) {
    if (!IsMasked() || key != VK_DELETE) {
        TCustomEdit::DoKeyDown(key, shift);
        return;
    }
    if (ReadOnly()) return;
    if (SelLength() > 0) {
        ClearSelection();
        return;
    }
    int pos = InputPos(SelStart(), false);
    if (pos < 0) return;
    auto cells = EditCells();
    cells[static_cast<size_t>(pos)] = std::string(1, mask_.Blank());
    StoreCells(cells, SelStart());
}

}  // namespace zb
