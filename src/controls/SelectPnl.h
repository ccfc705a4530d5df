// The selection panel: the control in which a job form's user states a
// condition on one field, as a range (begin and end value), a list of chosen
// values, or either at the user's choice. The panel builds, lays out and
// watches all of its children and raises their events as its own.
#pragma once

#include <vector>

#include "controls/BtChkBox.h"
#include "controls/F2Button.h"
#include "platform/ui/ComCtrls.h"
#include "platform/ui/ExtCtrls.h"
#include "platform/ui/Mask.h"

namespace zb {

class TSelectPanel;

enum class TSelectStyle { sp_Range, sp_Discrete, sp_UserChoice };
enum class TCheckDuplicate { cd_None, cd_CheckCase, cd_CaseInsensitive };
enum class TValueType { vt_String, vt_Number, vt_Date, vt_Time, vt_Float, vt_OtherMask };
enum class TDateType { dt_NoneCare, dt_YYYYMMDD, dt_MMDDYYYY, dt_DDMMYYYY, dt_YYMMDD, dt_YYYMMDD };
extern const EnumNames SelectStyleNames;
extern const EnumNames CheckDuplicateNames;
extern const EnumNames ValueTypeNames;
extern const EnumNames DateTypeNames;

using TOpenWinClickEvent = TEvent<void(TObject* SenderParent, TObject* Sender)>;
using TDeleteClickEvent = TEvent<void(TObject* Sender, bool& Accept)>;
using TStyleChangingEvent = TEvent<void(TObject* Sender, TSelectStyle NowStyle, TSelectStyle& NewStyle, bool& Accept)>;
using TStyleChangeEvent = TEvent<void(TObject* Sender, TSelectStyle OldStyle, TSelectStyle NewStyle)>;
using TListViewSelectItemEvent = TEvent<void(TObject* Sender, TListItem* xItem, int xIndex, bool xIsSelect)>;
using TListViewDataChangeEvent = TEvent<void(TObject* Sender, TListItem* Item)>;
using TListViewDataChangingEvent = TEvent<void(TObject* Sender, TListItem* Item, bool& AllowChange)>;

class TYenCheckBox : public TBitCheckBox {
    ZB_CLASS(TYenCheckBox, TBitCheckBox)

public:
    explicit TYenCheckBox(TComponent* owner = nullptr) : TBitCheckBox(owner) {}
};

class TYenMaskEdit : public TMaskEdit {
    ZB_CLASS(TYenMaskEdit, TMaskEdit)

public:
    explicit TYenMaskEdit(TComponent* owner = nullptr) : TMaskEdit(owner) {}
    bool SuppressChange() const { return suppressChange_; }
    void SetSuppressChange(bool on) { suppressChange_ = on; }

protected:
    void Change() override {
        if (!suppressChange_) TMaskEdit::Change();
    }

private:
    bool suppressChange_ = false;
};

class TYenListView : public TListView {
    ZB_CLASS(TYenListView, TListView)

public:
    explicit TYenListView(TComponent* owner = nullptr) : TListView(owner) {}
    bool ColumnsAutoSize() const { return autoSize_; }
    void SetColumnsAutoSize(bool on) { autoSize_ = on; }
    // Appends one entry: Caption from values[0], sub-items from the rest;
    // columns "Data1".. are added as needed and every entry is padded to the
    // same number of sub-items. False for no values or on any failure.
    bool AddRow(const std::vector<std::string>& values);
    void ClearRows();
    void AutoSizeColumns();
    // The widest text of each column in bytes (a double-byte character counts two).
    static int ByteLength(std::string_view text);

    void WndProc(TMessage& message) override;

private:
    friend class TSelectPanel;
    // What AddRow keeps up to date between calls so it need not walk the
    // whole list for every row; `known` is the entry count it last saw.
    void Resync();
    void Track(const TListItem* item);
    TSelectPanel* Panel() const;

    bool autoSize_ = true;
    int known_ = -1;
    int maxSubItems_ = 0;
    std::vector<int> widest_;
};

class TSelectPanel : public TGroupBox {
    ZB_CLASS(TSelectPanel, TGroupBox)

public:
    explicit TSelectPanel(TComponent* owner = nullptr);
    ~TSelectPanel() override;

    // --- children
    TYenCheckBox* ChoiceBox = nullptr;
    TPanel* RangePanel = nullptr;
    TLabel* BeginLabel = nullptr;
    TYenMaskEdit* BeginEdit = nullptr;
    TF2Button* BeginButton = nullptr;
    TLabel* FinalLabel = nullptr;
    TYenMaskEdit* FinalEdit = nullptr;
    TF2Button* FinalButton = nullptr;
    TPanel* ListPanel = nullptr;
    TF2Button* ListButton = nullptr;
    TGSpeedButton* DeleteButton = nullptr;
    TGSpeedButton* ClearButton = nullptr;
    TYenListView* ListView = nullptr;

    // --- properties
    bool AutoChangeDateSite() const { return autoChangeDateSite_; }
    void SetAutoChangeDateSite(bool on) { autoChangeDateSite_ = on; }
    TStrings* BeginWords() const { return beginWords_; }
    void SetBeginWords(TStrings* s) { SetWords(beginWords_, BeginLabel, s); }
    TStrings* FinalWords() const { return finalWords_; }
    void SetFinalWords(TStrings* s) { SetWords(finalWords_, FinalLabel, s); }
    bool ColumnsAutoSize() const { return ListView->ColumnsAutoSize(); }
    void SetColumnsAutoSize(bool on) { ListView->SetColumnsAutoSize(on); }
    bool CanOpenWin() const { return canOpenWin_; }
    void SetCanOpenWin(bool on);
    TCheckDuplicate CheckDuplicate() const { return checkDuplicate_; }
    void SetCheckDuplicate(TCheckDuplicate c);
    TStrings* ChildHints() const { return childHints_; }
    void SetChildHints(TStrings* s) { childHints_->Assign(s); }
    // A fresh list each read; the caller owns it.
    TStrings* ColumnCaptions() const;
    void SetColumnCaptions(TStrings* s);
    TListColumns* Columns() const { return ListView->Columns(); }
    TDateType DateType() const { return dateType_; }
    void SetDateType(TDateType t) { dateType_ = t; }
    const std::string& DateSign() const { return dateSign_; }
    void SetDateSign(const std::string& s) { dateSign_ = s; }
    const std::string& Discard() const { return discard_; }
    void SetDiscard(const std::string& s) { discard_ = s; }
    const std::string& EditMask() const { return editMask_; }
    void SetEditMask(const std::string& mask);
    int GlyphIndex() const { return glyphIndex_; }
    void SetGlyphIndex(int n);
    const std::string& HintWord() const { return hintWord_; }
    void SetHintWord(const std::string& w);
    bool HideSelection() const { return ListView->HideSelection(); }
    void SetHideSelection(bool on) { ListView->SetHideSelection(on); }
    TListItems* Items() const { return ListView->Items(); }
    int OtherHeight() const { return otherHeight_; }
    void SetOtherHeight(int h) { otherHeight_ = h; }
    int OtherWidth() const { return otherWidth_; }
    void SetOtherWidth(int w) { otherWidth_ = w; }
    bool ShowColumnHeader() const { return showColumnHeader_; }
    void SetShowColumnHeader(bool on) { showColumnHeader_ = on; }
    bool SortListBox() const { return sortListBox_; }
    void SetSortListBox(bool on);
    TSelectStyle Style() const { return style_; }
    void SetStyle(TSelectStyle s);
    bool UseDiscard() const { return useDiscard_; }
    void SetUseDiscard(bool on) { useDiscard_ = on; }
    bool UserChoice() const { return userChoice_; }
    void SetUserChoice(bool on);
    bool UseVertical() const { return useVertical_; }
    void SetUseVertical(bool on);
    TValueType ValueType() const { return valueType_; }
    void SetValueType(TValueType v) { valueType_ = v; }

    const std::string& EmptyMaskText() const { return emptyMaskText_; }
    int SortColumn() const { return sortColumn_; }
    bool SortAscending() const { return sortAscending_; }

    // --- operations
    bool IsRangeActive() const;
    void RemoveDuplicates();
    // Compares two entries by SortColumn, then column 0, then column 1.
    int CompareItems(const TListItem* a, const TListItem* b) const;
    void SortItems();
    // A click on column header `index` (when headers are shown).
    void ColumnClick(int index);
    // The exit check: trims, then puts the two range values in order.
    void CheckExit();
    // The date a text reads as under DateType and DateSign; 0 (day zero)
    // when it cannot be read.
    double ReadDate(const std::string& text) const;
    void Relayout();

    void SetEnabled(bool enabled) override;
    void SetFocus() override;
    void WndProc(TMessage& message) override;
    void DoExit() override;

    // --- events (OnExit and the key events are the panel's own slots)
    TOpenWinClickEvent OnOpenWinClick;
    TNotifyEvent OnClearClick;
    TDeleteClickEvent OnDeleteClick;
    TNotifyEvent OnTypeClick;
    TStyleChangingEvent OnStyleChanging;
    TStyleChangeEvent OnStyleChange;
    TNotifyEvent OnExit;
    TListViewSelectItemEvent OnItemSelect;
    TListViewDataChangeEvent OnItemChange;
    TListViewDataChangingEvent OnItemChanging;
    TKeyEvent OnKeyDown;
    TKeyEvent OnKeyUp;
    TKeyPressEvent OnKeyPress;

protected:
    void BoundsChanged(bool sized) override;
    void FontChanged() override;

private:
    void SetWords(TStringList* list, TLabel* label, TStrings* given);
    void WordsChanged(TObject* sender);
    void ApplyChildHints(TObject* = nullptr);
    void ApplyVisibility(TSelectStyle s);
    void SwapSize();
    void ArrangeForStyle(TSelectStyle s);
    void RangeFrames();
    void DiscreteFrames();
    void UserChoiceFrames();
    void HorizontalRangeLayout();
    void VerticalRangeLayout();
    void ListLayout();
    std::string WordAt(const TStringList* list, int index) const;

    // child event handlers
    void ChoiceBoxClick(TObject*);
    void QuickPickClick(TObject* sender);
    void DeleteClick(TObject*);
    void ClearClick(TObject*);
    void ChildClick(TObject* sender);
    void ChildDblClick(TObject* sender);
    void ChildMouseDown(TObject* sender, TMouseButton b, TShiftState s, int x, int y);
    void ChildMouseUp(TObject* sender, TMouseButton b, TShiftState s, int x, int y);
    void ChildMouseMove(TObject* sender, TShiftState s, int x, int y);
    void ChildKeyDown(TObject* sender, Word& key, TShiftState s) { OnKeyDown(sender, key, s); }
    void ChildKeyUp(TObject* sender, Word& key, TShiftState s) { OnKeyUp(sender, key, s); }
    void ChildKeyPress(TObject* sender, char& key) { OnKeyPress(sender, key); }
    void ListSelectItem(TObject* sender, TListItem* item, bool selected);
    void ListChange(TObject* sender) { OnItemChange(sender, nullptr); }
    void ListColumnClick(TObject*, TListColumn* column);
    bool OwnSender(TObject* sender) const;
    TPoint ToPanel(TObject* sender, int x, int y) const;

    bool autoChangeDateSite_ = true;
    TStringList* beginWords_;
    TStringList* finalWords_;
    bool canOpenWin_ = true;
    TCheckDuplicate checkDuplicate_ = TCheckDuplicate::cd_None;
    TStringList* childHints_;
    TDateType dateType_ = TDateType::dt_NoneCare;
    std::string dateSign_ = "/";
    std::string discard_;
    std::string editMask_;
    int glyphIndex_ = 8;
    std::string hintWord_ = "区间选择";
    int otherHeight_ = 105;
    int otherWidth_ = 200;
    bool showColumnHeader_ = false;
    bool sortListBox_ = false;
    TSelectStyle style_ = TSelectStyle::sp_Range;
    bool useDiscard_ = false;
    bool userChoice_ = true;
    bool useVertical_ = false;
    TValueType valueType_ = TValueType::vt_String;
    std::string emptyMaskText_;
    int sortColumn_ = 0;
    bool sortAscending_ = true;
    bool enabledCopy_ = true;
    bool building_ = true;
};

}  // namespace zb
