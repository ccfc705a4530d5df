// Edit masks: "mask;literalsStored;blank", e.g. "9999/99/99;1; ".
//
// Mask characters: 0 digit required, 9 digit optional, # digit or sign
// optional, L letter required, l letter optional, A letter or digit
// required, a optional, C any character required, c optional (a letter is
// an ASCII letter or any character beyond ASCII, so Chinese text counts);
// > upper-cases what follows, < lower-cases, <> ends both; \ takes the next
// character as a literal; _ stands for a blank literal; ! is accepted and
// only recorded (the text is filled from the left either way). Every other
// character is a literal shown as it is. The second field "0" means the
// literals are not part of Text (anything else, or none, means they are);
// the third field's first character is the blank (default "_").
//
// EditText shows the literals and, in every unfilled position, the blank.
// Text with literals stored is the edit text with blanks as spaces; without,
// it is the typed characters alone, trailing blanks dropped.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/ui/StdCtrls.h"

namespace zb {

ZB_DECLARE_EXCEPTION(EDBEditError, Exception);

// A parsed mask; a pure function of its text, so it can be checked alone.
class TEditMask {
public:
    enum class CellKind { Literal, Digit, DigitOrSign, Letter, AlphaNum, AnyChar };
    struct Cell {
        CellKind kind = CellKind::Literal;
        bool required = false;
        std::string literal;  // Literal cells
        int charCase = 0;     // 1 upper, -1 lower
    };

    TEditMask() = default;
    explicit TEditMask(std::string_view mask);

    bool Empty() const { return cells_.empty(); }
    const std::vector<Cell>& Cells() const { return cells_; }
    bool LiteralsStored() const { return saveLiterals_; }
    char Blank() const { return blank_; }
    bool LeadingBlanks() const { return leadingBlanks_; }

    // Whether `ch` (one UTF-8 character) may stand in the cell, and the form
    // it is stored in (case applied).
    bool Accepts(size_t cell, std::string_view ch, std::string* stored = nullptr) const;
    // The edit text of an empty field: literals and blanks.
    std::string EmptyEditText() const;
    // Places a text on the mask: with `formatted` the text is read position by
    // position (literal positions skipped over), otherwise its characters fill
    // the input positions in turn. What does not fit becomes a blank.
    std::string Place(std::string_view text, bool formatted) const;
    // The Text of an edit text.
    std::string TextOf(std::string_view editText) const;
    // True when every required position of the edit text is filled.
    bool Complete(std::string_view editText) const;

private:
    std::vector<Cell> cells_;
    bool saveLiterals_ = true;
    char blank_ = '_';
    bool leadingBlanks_ = false;
};

// The Text a mask edit under `editMask` shows after `value` was typed into it.
std::string FormatMaskText(std::string_view editMask, std::string_view value);

class TCustomMaskEdit : public TCustomEdit {
    ZB_CLASS(TCustomMaskEdit, TCustomEdit)

public:
    explicit TCustomMaskEdit(TComponent* owner = nullptr);

    const std::string& EditMask() const { return editMask_; }
    // Keeps the text: the current Text is placed on the new mask.
    void SetEditMask(const std::string& mask);
    bool IsMasked() const { return !mask_.Empty(); }

    std::string Text() const override;
    void SetText(const std::string& text) override;
    std::string EditText() const { return TControl::Text(); }
    void SetEditText(const std::string& text);

    // Throws EDBEditError when a required position is unfilled (leaving the
    // field does this and keeps the focus there). An entirely blank field passes.
    void ValidateEdit();
    void SetSelText(const std::string& text) override;

protected:
    void DoKeyDown(Word& key, TShiftState shift) override;
    void DoKeyPress(char& key) override;
    void InsertTypedText(std::string_view text) override;
    void DoExit() override;
    void DoEnter() override;

private:
    std::vector<std::string> EditCells() const;
    void StoreCells(const std::vector<std::string>& cells, int caret);
    // The first input position at or after (or before, with back) `pos`; -1 when none.
    int InputPos(int pos, bool back) const;
    bool TypeChar(std::string_view ch);
    void ClearSelection();

    std::string editMask_;
    TEditMask mask_;
    bool reEnter_ = false;
};

class TMaskEdit : public TCustomMaskEdit {
    ZB_CLASS(TMaskEdit, TCustomMaskEdit)

public:
    explicit TMaskEdit(TComponent* owner = nullptr) : TCustomMaskEdit(owner) {}
};

}  // namespace zb
