#include "controls/SelectPnl.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "platform/core/DateTime.h"
#include "platform/core/Published.h"
#include "platform/core/TextUtils.h"
#include "platform/ui/Forms.h"
#include "util/LibStrs.h"

namespace zb {

const EnumNames SelectStyleNames{"sp_Range", "sp_Discrete", "sp_UserChoice"};
const EnumNames CheckDuplicateNames{"cd_None", "cd_CheckCase", "cd_CaseInsensitive"};
const EnumNames ValueTypeNames{"vt_String", "vt_Number", "vt_Date", "vt_Time", "vt_Float", "vt_OtherMask"};
const EnumNames DateTypeNames{"dt_NoneCare", "dt_YYYYMMDD", "dt_MMDDYYYY", "dt_DDMMYYYY", "dt_YYMMDD", "dt_YYYMMDD"};

namespace {

std::string ColumnText(const TListItem* item, int column) {
    if (column == 0) return item->Caption();
    TStrings* sub = item->SubItems();
    return column - 1 < sub->Count() ? sub->Strings(column - 1) : std::string();
}

double ReadFloat(const std::string& text) {
    std::string t = Trim(text);
    if (t.empty()) return 0;
    char* end = nullptr;
    double v = std::strtod(t.c_str(), &end);
    if (end != t.c_str() + t.size() || !std::isfinite(v)) return 0;
    return v;
}

}  // namespace

// --- list view --------------------------------------------------------------

ZB_PUBLISHED(TYenCheckBox){};
ZB_PUBLISHED(TYenMaskEdit){
    prop::Bool("SuppressChange", &TYenMaskEdit::SuppressChange, &TYenMaskEdit::SetSuppressChange),
};
ZB_PUBLISHED(TYenListView){};

int TYenListView::ByteLength(std::string_view text) {
    int n = 0;
    for (size_t i = 0; i < text.size();) {
        unsigned char c = static_cast<unsigned char>(text[i]);
        size_t len = c < 0x80 ? 1 : c < 0xE0 ? 2 : c < 0xF0 ? 3 : 4;
        n += c < 0x80 ? 1 : 2;
        i += len;
    }
    return n;
}

TSelectPanel* TYenListView::Panel() const {
    for (TComponent* o = Owner(); o; o = o->Owner())
        if (auto* p = dynamic_cast<TSelectPanel*>(o)) return p;
    return nullptr;
}

void TYenListView::Track(const TListItem* item) {
    int cols = Columns()->Count();
    if (static_cast<int>(widest_.size()) < cols) {
        for (int c = static_cast<int>(widest_.size()); c < cols; ++c)
            widest_.push_back(ByteLength(Columns()->Items(c)->Caption()));
    }
    for (int c = 0; c < cols; ++c) widest_[c] = std::max(widest_[c], ByteLength(ColumnText(item, c)));
}

void TYenListView::Resync() {
    maxSubItems_ = 0;
    widest_.clear();
    for (TListItem* i : Items()->List()) maxSubItems_ = std::max(maxSubItems_, i->SubItems()->Count());
    for (int c = 0; c < Columns()->Count(); ++c) widest_.push_back(ByteLength(Columns()->Items(c)->Caption()));
    for (TListItem* i : Items()->List()) Track(i);
    known_ = Items()->Count();
}

bool TYenListView::AddRow(const std::vector<std::string>& values) {
    if (values.empty()) return false;
    try {
        TSelectPanel* panel = Panel();
        if (known_ != Items()->Count()) {
            // Entries came or went behind AddRow's back: put the whole list
            // right once, then go on row by row.
            if (panel && panel->SortListBox()) panel->SortItems();
            if (panel) panel->RemoveDuplicates();
            Resync();
        }
        const int n = static_cast<int>(values.size()) - 1;
        while (Columns()->Count() < n + 1) {
            TListColumn* col = Columns()->Add();
            col->SetCaption("Data" + std::to_string(Columns()->Count()));
            widest_.push_back(ByteLength(col->Caption()));
        }
        // Sorted lists take the row where a stable sort would put it: after
        // every entry that compares equal.
        int at = Items()->Count();
        auto* probe = new TListItem(nullptr);
        probe->SetCaption(values[0]);
        for (int i = 1; i <= n; ++i) probe->SubItems()->Add(values[i]);
        if (panel && panel->SortListBox()) {
            const auto& list = Items()->List();
            auto it = std::upper_bound(list.begin(), list.end(), probe, [panel](const TListItem* a, const TListItem* b) {
                return panel->CompareItems(a, b) < 0;
            });
            at = static_cast<int>(it - list.begin());
        }
        delete probe;
        TListItem* item = Items()->Insert(at);
        item->SetCaption(values[0]);
        for (int i = 1; i <= n; ++i) item->SubItems()->Add(values[i]);
        if (n > maxSubItems_) {
            maxSubItems_ = n;
            for (TListItem* i : Items()->List())
                while (i->SubItems()->Count() < maxSubItems_) i->SubItems()->Add("");
        } else {
            while (item->SubItems()->Count() < maxSubItems_) item->SubItems()->Add("");
        }
        known_ = Items()->Count();
        if (panel && panel->CheckDuplicate() != TCheckDuplicate::cd_None) {
            // The list held no adjacent duplicates before this row, so only
            // the pairs the row forms can be new ones.
            auto same = [panel](const TListItem* a, const TListItem* b) {
                if (panel->CheckDuplicate() == TCheckDuplicate::cd_CheckCase) return a->Caption() == b->Caption();
                return UpperCase(a->Caption()) == UpperCase(b->Caption());
            };
            int idx = at;
            if (idx + 1 < Items()->Count() && same(Items()->Item(idx + 1), item)) Items()->Delete(idx + 1);
            if (idx > 0 && same(Items()->Item(idx - 1), item)) {
                Items()->Delete(idx);
                item = nullptr;
            }
            known_ = Items()->Count();
        }
        if (item) Track(item);
        if (autoSize_) {
            int unit = TextWidth(*Font(), "W");
            for (int c = 0; c < Columns()->Count(); ++c) Columns()->Items(c)->SetWidth(widest_[c] * unit);
        }
        Changed("Items");
        return true;
    } catch (const std::exception&) {
        known_ = -1;
        return false;
    }
}

void TYenListView::ClearRows() {
    Items()->Clear();
    known_ = -1;
}

void TYenListView::AutoSizeColumns() {
    Resync();
    int unit = TextWidth(*Font(), "W");
    for (int c = 0; c < Columns()->Count(); ++c) Columns()->Items(c)->SetWidth(widest_[c] * unit);
}

void TYenListView::WndProc(TMessage& message) {
    if (message.Msg == WM_LBUTTONDOWN) {
        if (CanFocus() && ParentForm()) SetFocus();
        if (!Focused()) return;
    }
    TListView::WndProc(message);
}

// --- panel ------------------------------------------------------------------

ZB_PUBLISHED(TSelectPanel){
    prop::Bool("AutoChangeDateSite", &TSelectPanel::AutoChangeDateSite, &TSelectPanel::SetAutoChangeDateSite),
    prop::Class("BeginWords", &TSelectPanel::BeginWords, &TSelectPanel::SetBeginWords),
    prop::Bool("ColumnsAutoSize", &TSelectPanel::ColumnsAutoSize, &TSelectPanel::SetColumnsAutoSize),
    prop::Bool("CanOpenWin", &TSelectPanel::CanOpenWin, &TSelectPanel::SetCanOpenWin),
    prop::Enum("CheckDuplicate", &TSelectPanel::CheckDuplicate, &TSelectPanel::SetCheckDuplicate, CheckDuplicateNames,
               "TCheckDuplicate"),
    prop::Class("ChildHints", &TSelectPanel::ChildHints, &TSelectPanel::SetChildHints),
    prop::Class("Columns", &TSelectPanel::Columns),
    prop::Enum("DateType", &TSelectPanel::DateType, &TSelectPanel::SetDateType, DateTypeNames, "TDateType"),
    prop::String("DateSign", &TSelectPanel::DateSign, &TSelectPanel::SetDateSign),
    prop::String("Discard", &TSelectPanel::Discard, &TSelectPanel::SetDiscard),
    prop::String("EditMask", &TSelectPanel::EditMask, &TSelectPanel::SetEditMask),
    prop::Class("FinalWords", &TSelectPanel::FinalWords, &TSelectPanel::SetFinalWords),
    prop::Integer("GlyphIndex", &TSelectPanel::GlyphIndex, &TSelectPanel::SetGlyphIndex),
    prop::String("HintWord", &TSelectPanel::HintWord, &TSelectPanel::SetHintWord),
    prop::Bool("HideSelection", &TSelectPanel::HideSelection, &TSelectPanel::SetHideSelection),
    prop::Class("Items", &TSelectPanel::Items),
    prop::Integer("OtherHeight", &TSelectPanel::OtherHeight, &TSelectPanel::SetOtherHeight),
    prop::Integer("OtherWidth", &TSelectPanel::OtherWidth, &TSelectPanel::SetOtherWidth),
    prop::Bool("ShowColumnHeader", &TSelectPanel::ShowColumnHeader, &TSelectPanel::SetShowColumnHeader),
    prop::Bool("SortListBox", &TSelectPanel::SortListBox, &TSelectPanel::SetSortListBox),
    prop::Enum("Style", &TSelectPanel::Style, &TSelectPanel::SetStyle, SelectStyleNames, "TSelectStyle"),
    prop::Bool("UseDiscard", &TSelectPanel::UseDiscard, &TSelectPanel::SetUseDiscard),
    prop::Bool("UserChoice", &TSelectPanel::UserChoice, &TSelectPanel::SetUserChoice),
    prop::Bool("UseVertical", &TSelectPanel::UseVertical, &TSelectPanel::SetUseVertical),
    prop::Enum("ValueType", &TSelectPanel::ValueType, &TSelectPanel::SetValueType, ValueTypeNames, "TValueType"),
    prop::Event("OnOpenWinClick", &TSelectPanel::OnOpenWinClick, "TOpenWinClickEvent"),
    prop::Event("OnClearClick", &TSelectPanel::OnClearClick),
    prop::Event("OnDeleteClick", &TSelectPanel::OnDeleteClick, "TDeleteClickEvent"),
    prop::Event("OnTypeClick", &TSelectPanel::OnTypeClick),
    prop::Event("OnStyleChanging", &TSelectPanel::OnStyleChanging, "TStyleChangingEvent"),
    prop::Event("OnStyleChange", &TSelectPanel::OnStyleChange, "TStyleChangeEvent"),
    prop::Event("OnExit", &TSelectPanel::OnExit),
    prop::Event("OnItemSelect", &TSelectPanel::OnItemSelect, "TListViewSelectItemEvent"),
    prop::Event("OnItemChange", &TSelectPanel::OnItemChange, "TListViewDataChangeEvent"),
    prop::Event("OnItemChanging", &TSelectPanel::OnItemChanging, "TListViewDataChangingEvent"),
    prop::Event("OnKeyDown", &TSelectPanel::OnKeyDown, "TKeyEvent"),
    prop::Event("OnKeyUp", &TSelectPanel::OnKeyUp, "TKeyEvent"),
    prop::Event("OnKeyPress", &TSelectPanel::OnKeyPress, "TKeyPressEvent"),
    prop::Event("OnClick", &TSelectPanel::OnClick),
    prop::Event("OnDblClick", &TSelectPanel::OnDblClick),
    prop::Event("OnMouseDown", &TSelectPanel::OnMouseDown, "TMouseEvent"),
    prop::Event("OnMouseUp", &TSelectPanel::OnMouseUp, "TMouseEvent"),
    prop::Event("OnMouseMove", &TSelectPanel::OnMouseMove, "TMouseMoveEvent"),
};

TSelectPanel::TSelectPanel(TComponent* owner)
    : TGroupBox(owner), beginWords_(new TStringList), finalWords_(new TStringList), childHints_(new TStringList) {
    SetBounds(Left(), Top(), 353, 45);
    beginWords_->Add("起");
    beginWords_->Add("起");
    finalWords_->Add("止");
    finalWords_->Add("止");
    for (const char* h : {"用户自定输入方式", "区间选择-起始信息", "区间选择-起始信息开窗", "区间选择-截止信息",
                          "区间选择-截止信息开窗", "多选-己选择的信息", "多选-信息开窗", "多选-删除一笔信息",
                          "多选-删除己选信息"})
        childHints_->Add(h);

    auto child = [this](TControl* c) {
        c->SetParentFont(true);
        c->SetShowHint(ShowHint());
        c->OnMouseDown = Handler<&TSelectPanel::ChildMouseDown>(this);
        c->OnMouseUp = Handler<&TSelectPanel::ChildMouseUp>(this);
        c->OnMouseMove = Handler<&TSelectPanel::ChildMouseMove>(this);
    };
    auto clicks = [this](TControl* c) {
        c->OnClick = Handler<&TSelectPanel::ChildClick>(this);
        c->OnDblClick = Handler<&TSelectPanel::ChildDblClick>(this);
    };
    auto keys = [this](TWinControl* c) {
        c->OnKeyDown = Handler<&TSelectPanel::ChildKeyDown>(this);
        c->OnKeyUp = Handler<&TSelectPanel::ChildKeyUp>(this);
        c->OnKeyPress = Handler<&TSelectPanel::ChildKeyPress>(this);
    };
    auto frame = [this](TPanel* p) {
        p->SetBevelInner(TBevelCut::bvNone);
        p->SetBevelOuter(TBevelCut::bvNone);
        p->SetCaption(" ");
        p->SetParent(this);
        p->SetBounds(p->Left(), p->Top(), Width() - p->Left() - p->BevelWidth() - 2,
                     Height() - p->Top() - p->BevelWidth() - 2);
    };
    auto quickPick = [this](TF2Button* b, TWinControl* parent, bool autoAlign) {
        b->SetParent(parent);
        b->SetAutoAlign(autoAlign);
        b->SetFlat(true);
        b->SetGlyphIndex(glyphIndex_);
        b->SetBounds(b->Left(), b->Top(), 23, 23);
        b->SetNumGlyphs(1);
        b->OnClick = Handler<&TSelectPanel::QuickPickClick>(this);
    };

    ChoiceBox = new TYenCheckBox(this);
    ChoiceBox->SetParent(this);
    ChoiceBox->SetBounds(16, 17, ChoiceBox->Width(), ChoiceBox->Height());
    ChoiceBox->SetCaption(hintWord_);
    ChoiceBox->SetChecked(IsDesigning());
    child(ChoiceBox);
    keys(ChoiceBox);
    ChoiceBox->OnClick = Handler<&TSelectPanel::ChoiceBoxClick>(this);
    ChoiceBox->OnDblClick = Handler<&TSelectPanel::ChildDblClick>(this);

    RangePanel = new TPanel(this);
    frame(RangePanel);
    child(RangePanel);
    clicks(RangePanel);

    BeginLabel = new TLabel(this);
    BeginLabel->SetParent(RangePanel);
    BeginLabel->SetAutoSize(true);
    BeginLabel->SetCaption(beginWords_->Strings(1));
    child(BeginLabel);
    clicks(BeginLabel);

    BeginEdit = new TYenMaskEdit(this);
    BeginEdit->SetParent(RangePanel);
    BeginEdit->SetHeight(24);
    child(BeginEdit);
    clicks(BeginEdit);
    keys(BeginEdit);

    BeginButton = new TF2Button(this);
    quickPick(BeginButton, RangePanel, true);
    child(BeginButton);

    FinalLabel = new TLabel(this);
    FinalLabel->SetParent(RangePanel);
    FinalLabel->SetAutoSize(true);
    FinalLabel->SetCaption(finalWords_->Strings(1));
    child(FinalLabel);
    clicks(FinalLabel);

    FinalEdit = new TYenMaskEdit(this);
    FinalEdit->SetParent(RangePanel);
    FinalEdit->SetHeight(BeginEdit->Height());
    child(FinalEdit);
    clicks(FinalEdit);
    keys(FinalEdit);

    FinalButton = new TF2Button(this);
    quickPick(FinalButton, RangePanel, true);
    child(FinalButton);

    ListPanel = new TPanel(this);
    frame(ListPanel);
    child(ListPanel);
    clicks(ListPanel);

    ListButton = new TF2Button(this);
    quickPick(ListButton, ListPanel, false);
    child(ListButton);

    DeleteButton = new TGSpeedButton(this);
    DeleteButton->SetParent(ListPanel);
    DeleteButton->SetFlat(true);
    DeleteButton->SetGlyphIndex(47);
    DeleteButton->SetNumGlyphs(1);
    DeleteButton->SetBounds(0, 0, 23, 23);
    child(DeleteButton);
    DeleteButton->OnClick = Handler<&TSelectPanel::DeleteClick>(this);

    ClearButton = new TGSpeedButton(this);
    ClearButton->SetParent(ListPanel);
    ClearButton->SetFlat(true);
    ClearButton->SetGlyphIndex(4);
    ClearButton->SetNumGlyphs(2);
    ClearButton->SetBounds(0, 0, 23, 23);
    child(ClearButton);
    ClearButton->OnClick = Handler<&TSelectPanel::ClearClick>(this);

    ListView = new TYenListView(this);
    ListView->SetParent(ListPanel);
    ListView->SetHeight(ListPanel->Height());
    ListView->SetCursor(crHandPoint);
    ListView->SetMultiSelect(true);
    ListView->SetRowSelect(true);
    ListView->SetViewStyle(TViewStyle::vsReport);
    ListView->SetReadOnly(true);
    ListView->SetHideSelection(false);
    child(ListView);
    clicks(ListView);
    keys(ListView);
    ListView->OnSelectItem = Handler<&TSelectPanel::ListSelectItem>(this);
    ListView->OnChange = Handler<&TSelectPanel::ListChange>(this);
    ListView->OnColumnClick = Handler<&TSelectPanel::ListColumnClick>(this);

    beginWords_->OnChange = Handler<&TSelectPanel::WordsChanged>(this);
    finalWords_->OnChange = Handler<&TSelectPanel::WordsChanged>(this);
    childHints_->OnChange = Handler<&TSelectPanel::ApplyChildHints>(this);
    building_ = false;
    ApplyVisibility(style_);
    Relayout();
}

TSelectPanel::~TSelectPanel() {
    beginWords_->OnChange = nullptr;
    finalWords_->OnChange = nullptr;
    childHints_->OnChange = nullptr;
    DestroyComponents();
    delete beginWords_;
    delete finalWords_;
    delete childHints_;
}

bool TSelectPanel::IsRangeActive() const {
    return style_ == TSelectStyle::sp_Range || (style_ == TSelectStyle::sp_UserChoice && ChoiceBox->Checked());
}

// --- setters ------------------------------------------------------------------

void TSelectPanel::SetCanOpenWin(bool on) {
    if (on == canOpenWin_) return;
    canOpenWin_ = on;
    ListButton->SetVisible(on);
    BeginButton->SetVisible(on);
    FinalButton->SetVisible(on);
    Perform(WM_SIZE);
}

void TSelectPanel::SetCheckDuplicate(TCheckDuplicate c) {
    if (c != TCheckDuplicate::cd_None) SetSortListBox(true);
    checkDuplicate_ = c;
    if (!IsRangeActive()) RemoveDuplicates();
    ListView->known_ = -1;
}

void TSelectPanel::SetSortListBox(bool on) {
    sortListBox_ = on;
    if (on) SortItems();
    ListView->known_ = -1;
}

TStrings* TSelectPanel::ColumnCaptions() const {
    auto* list = new TStringList;
    for (int i = 0; i < ListView->Columns()->Count(); ++i) list->Add(ListView->Columns()->Items(i)->Caption());
    return list;
}

void TSelectPanel::SetColumnCaptions(TStrings* s) {
    ListView->Columns()->Clear();
    if (s)
        for (int i = 0; i < s->Count(); ++i) {
            TListColumn* c = ListView->Columns()->Add();
            c->SetCaption(s->Strings(i));
            c->SetWidth(-1);
        }
    ListView->known_ = -1;
}

void TSelectPanel::SetEditMask(const std::string& mask) {
    editMask_ = mask;
    std::string kept = BeginEdit->Text();
    BeginEdit->SetSuppressChange(true);
    BeginEdit->SetText("");
    BeginEdit->SetEditMask(mask);
    FinalEdit->SetEditMask(mask);
    emptyMaskText_ = BeginEdit->Text();
    BeginEdit->SetText(kept);
    BeginEdit->SetSuppressChange(false);
}

void TSelectPanel::SetGlyphIndex(int n) {
    if (n == glyphIndex_) return;
    try {
        BeginButton->SetGlyphIndex(n);
        FinalButton->SetGlyphIndex(BeginButton->GlyphIndex());
        ListButton->SetGlyphIndex(BeginButton->GlyphIndex());
        glyphIndex_ = n;
    } catch (const std::exception&) {
        BeginButton->SetGlyphIndex(0);
        FinalButton->SetGlyphIndex(0);
        ListButton->SetGlyphIndex(0);
    }
}

void TSelectPanel::SetHintWord(const std::string& w) {
    ChoiceBox->SetCaption(w);
    ChoiceBox->SetBounds(ChoiceBox->Left(), ChoiceBox->Top(), TextWidth(*Font(), w) + 24, TextHeight(*Font(), w) + 2);
    hintWord_ = w;
}

void TSelectPanel::SetWords(TStringList* list, TLabel* label, TStrings* given) {
    list->BeginUpdate();
    list->Clear();
    if (!given || given->Count() == 0) {
        list->EndUpdate();
        return;
    }
    if (given->Count() == 1) {
        list->Add(given->Strings(0));
        label->SetCaption(given->Strings(0));
    } else {
        list->Add(given->Strings(0));
        list->Add(given->Strings(1));
        label->SetCaption(style_ == TSelectStyle::sp_UserChoice ? given->Strings(1) : given->Strings(0));
    }
    list->EndUpdate();
    Perform(WM_SIZE);
}

void TSelectPanel::WordsChanged(TObject* sender) {
    auto* list = static_cast<TStrings*>(sender);
    if (list->Count() >= 2) Perform(WM_SIZE);
}

void TSelectPanel::ApplyChildHints(TObject*) {
    TControl* children[9] = {ChoiceBox, BeginEdit, BeginButton, FinalEdit, FinalButton,
                             ListView,  ListButton, DeleteButton, ClearButton};
    for (int i = 0; i < 9; ++i)
        if (childHints_->Count() > i && children[i]) children[i]->SetHint(childHints_->Strings(i));
}

void TSelectPanel::SetUserChoice(bool on) {
    if (style_ != TSelectStyle::sp_UserChoice) return;
    ChoiceBox->SetChecked(on);
    ChoiceBoxClick(ChoiceBox);
}

void TSelectPanel::SetUseVertical(bool on) {
    if (on == useVertical_ || style_ != TSelectStyle::sp_Range) return;
    useVertical_ = on;
    if (!IsLoading()) SwapSize();
    Relayout();
}

// --- style ----------------------------------------------------------------------

void TSelectPanel::ApplyVisibility(TSelectStyle s) {
    if (IsDesigning()) return;
    ChoiceBox->SetVisible(s == TSelectStyle::sp_UserChoice);
    RangePanel->SetVisible(s == TSelectStyle::sp_Range || (ChoiceBox->Visible() && ChoiceBox->Checked()));
    ListPanel->SetVisible(!RangePanel->Visible());
}

void TSelectPanel::SwapSize() {
    if (Parent() && Parent()->IsLoading()) return;
    int w = Width(), h = Height();
    int ow = otherWidth_, oh = otherHeight_;
    otherWidth_ = w;
    otherHeight_ = h;
    SetBounds(Left(), Top(), ow, oh);
}

void TSelectPanel::SetStyle(TSelectStyle s) {
    bool accept = true;
    TSelectStyle newStyle = s;
    if (!IsDesigning()) OnStyleChanging(this, style_, newStyle, accept);
    if (!accept) return;
    TSelectStyle old = style_;
    ApplyVisibility(newStyle);
    if (newStyle != old && (newStyle == TSelectStyle::sp_Range || old == TSelectStyle::sp_Range) && !useVertical_ &&
        !IsLoading()) {
        // The bounds change lays the children out for the old style; the
        // arrangement below puts them right for the new one.
        style_ = newStyle;
        SwapSize();
        style_ = old;
    }
    ArrangeForStyle(newStyle);
    if (!IsDesigning()) OnStyleChange(this, old, newStyle);
    style_ = newStyle;
}

void TSelectPanel::ChoiceBoxClick(TObject*) {
    if (style_ != TSelectStyle::sp_UserChoice) return;
    userChoice_ = ChoiceBox->Checked();
    UserChoiceFrames();
    ApplyVisibility(style_);
    if (!IsDesigning()) OnTypeClick(this);
}

// --- layout -----------------------------------------------------------------------

std::string TSelectPanel::WordAt(const TStringList* list, int index) const {
    // A list with fewer entries falls back to its last one, or no word at all.
    if (list->Count() == 0) return "";
    return list->Strings(std::min(index, list->Count() - 1));
}

void TSelectPanel::Relayout() {
    if (building_) return;
    ChoiceBox->SetBounds(ChoiceBox->Left(), ChoiceBox->Top(), TextWidth(*Font(), ChoiceBox->Caption()) + 24,
                         TextHeight(*Font(), ChoiceBox->Caption()) + 2);
    ArrangeForStyle(style_);
}

void TSelectPanel::ArrangeForStyle(TSelectStyle s) {
    if (building_) return;
    switch (s) {
        case TSelectStyle::sp_Range:
            ChoiceBox->SetVisible(IsDesigning() ? ChoiceBox->Visible() : false);
            RangeFrames();
            if (useVertical_)
                VerticalRangeLayout();
            else
                HorizontalRangeLayout();
            break;
        case TSelectStyle::sp_Discrete:
            ChoiceBox->SetVisible(IsDesigning() ? ChoiceBox->Visible() : false);
            DiscreteFrames();
            ListLayout();
            break;
        case TSelectStyle::sp_UserChoice:
            ChoiceBox->SetVisible(true);
            UserChoiceFrames();
            VerticalRangeLayout();
            ListLayout();
            break;
    }
}

void TSelectPanel::RangeFrames() {
    ChoiceBox->SendToBack();
    RangePanel->BringToFront();
    ListPanel->SendToBack();
    int top = TextHeight(*Font(), Caption()) + 3;
    int bw = RangePanel->BevelWidth();
    TRect r = Bounds(2, top, Width() - 2 - bw - 2, Height() - top - bw - 2);
    RangePanel->SetBoundsRect(r);
    ListPanel->SetBoundsRect(r);
}

void TSelectPanel::DiscreteFrames() {
    ChoiceBox->SendToBack();
    ListPanel->BringToFront();
    RangePanel->SendToBack();
    int top = TextHeight(*Font(), Caption()) + 3;
    int bw = ListPanel->BevelWidth();
    TRect r = Bounds(2, top, Width() - 2 - bw - 2, Height() - top - bw - 2);
    ListPanel->SetBoundsRect(r);
    RangePanel->SetBoundsRect(r);
}

void TSelectPanel::UserChoiceFrames() {
    ChoiceBox->BringToFront();
    ChoiceBox->SetBounds(16, TextHeight(*Font(), Caption()) + 1, ChoiceBox->Width(), ChoiceBox->Height());
    TPanel* front = userChoice_ ? RangePanel : ListPanel;
    TPanel* back = userChoice_ ? ListPanel : RangePanel;
    front->BringToFront();
    back->SendToBack();
    int top = TextHeight(*Font(), ChoiceBox->Caption()) + ChoiceBox->Top() + 2;
    TRect r = Bounds(2, top, Width() - 2 - 2, Height() - top - 2);
    front->SetBoundsRect(r);
    back->SetBoundsRect(r);
}

void TSelectPanel::HorizontalRangeLayout() {
    BeginLabel->SetCaption(WordAt(beginWords_, 0));
    FinalLabel->SetCaption(WordAt(finalWords_, 0));
    const int pw = RangePanel->Width(), ph = RangePanel->Height();
    const int t = (ph - BeginEdit->Height()) / 2;
    BeginLabel->SetBounds(2, t, BeginLabel->Width(), BeginLabel->Height());
    int a = canOpenWin_ ? pw - BeginLabel->Left() - BeginLabel->Width() - BeginButton->Width() - FinalLabel->Width() -
                              FinalButton->Width() - 8
                        : pw - BeginLabel->Left() - BeginLabel->Width() - FinalLabel->Width() - 4;
    int w = a / 2 - 1;
    BeginEdit->SetBounds(BeginLabel->Left() + BeginLabel->Width() + 1, t, w, BeginEdit->Height());
    int finalLeft;
    if (canOpenWin_) {
        BeginButton->SetBounds(BeginEdit->Left() + BeginEdit->Width() + 2, t, BeginButton->Width(), BeginButton->Height());
        finalLeft = BeginButton->Left() + BeginButton->Width() + 2;
    } else {
        finalLeft = BeginEdit->Left() + BeginEdit->Width() + 4;
    }
    FinalLabel->SetBounds(finalLeft, t, FinalLabel->Width(), FinalLabel->Height());
    FinalEdit->SetBounds(FinalLabel->Left() + FinalLabel->Width() + 2, t, w, FinalEdit->Height());
    if (canOpenWin_)
        FinalButton->SetBounds(FinalEdit->Left() + FinalEdit->Width() + 2, t, FinalButton->Width(), FinalButton->Height());
}

void TSelectPanel::VerticalRangeLayout() {
    BeginLabel->SetCaption(WordAt(beginWords_, 1));
    FinalLabel->SetCaption(WordAt(finalWords_, 1));
    const int pw = RangePanel->Width(), ph = RangePanel->Height();
    const int g = (ph - BeginEdit->Height() - FinalEdit->Height()) / 3;
    BeginLabel->SetBounds(2, g, BeginLabel->Width(), BeginLabel->Height());
    int left = BeginLabel->Left() + BeginLabel->Width() + 2;
    if (canOpenWin_) {
        int w = pw - BeginLabel->Left() - BeginLabel->Width() - BeginButton->Width() - 4;
        BeginEdit->SetBounds(left, g, w, BeginEdit->Height());
        BeginButton->SetBounds(BeginEdit->Left() + BeginEdit->Width() + 1, g, BeginButton->Width(), BeginButton->Height());
    } else {
        BeginEdit->SetBounds(left, g, pw - BeginLabel->Left() - BeginLabel->Width() - 2, BeginEdit->Height());
    }
    int top2 = g + BeginLabel->Top() + BeginEdit->Height();
    FinalLabel->SetBounds(BeginLabel->Left(), top2, FinalLabel->Width(), FinalLabel->Height());
    FinalEdit->SetBounds(BeginEdit->Left(), top2, BeginEdit->Width(), FinalEdit->Height());
    if (canOpenWin_) FinalButton->SetBounds(BeginButton->Left(), top2, FinalButton->Width(), FinalButton->Height());
}

void TSelectPanel::ListLayout() {
    ListView->SetBounds(ListView->Left(), 0, ListPanel->Width() - ListView->Left() - ListButton->Width() - 3,
                        ListPanel->Height());
    ListButton->SetBounds(ListView->Width() + 2, ListView->Top(), ListButton->Width(), ListButton->Height());
    DeleteButton->SetBounds(ListButton->Left(), ListButton->Top() + ListButton->Height(), DeleteButton->Width(),
                            DeleteButton->Height());
    ClearButton->SetBounds(ListButton->Left(), DeleteButton->Top() + DeleteButton->Height(), ClearButton->Width(),
                           ClearButton->Height());
}

void TSelectPanel::BoundsChanged(bool sized) {
    TGroupBox::BoundsChanged(sized);
    if (sized) Relayout();
}

void TSelectPanel::FontChanged() {
    TGroupBox::FontChanged();
    Relayout();
}

void TSelectPanel::WndProc(TMessage& message) {
    if (message.Msg == WM_SIZE) {
        Relayout();
        return;
    }
    TGroupBox::WndProc(message);
}

// --- list operations ----------------------------------------------------------------

int TSelectPanel::CompareItems(const TListItem* a, const TListItem* b) const {
    int keys[3] = {sortColumn_, 0, 1};
    int used[3];
    int n = 0;
    for (int k : keys)
        if (std::find(used, used + n, k) == used + n) used[n++] = k;
    int result = 0;
    for (int i = 0; i < n && result == 0; ++i) result = CompareText(ColumnText(a, used[i]), ColumnText(b, used[i]));
    return sortAscending_ ? result : -result;
}

void TSelectPanel::SortItems() {
    ListView->CustomSort([this](TListItem* a, TListItem* b) { return CompareItems(a, b); });
}

void TSelectPanel::ColumnClick(int index) {
    if (index == sortColumn_)
        sortAscending_ = !sortAscending_;
    else {
        sortColumn_ = index;
        sortAscending_ = true;
    }
    SortItems();
    ListView->known_ = -1;
}

void TSelectPanel::ListColumnClick(TObject*, TListColumn* column) {
    if (showColumnHeader_ && column) ColumnClick(column->Index());
}

void TSelectPanel::RemoveDuplicates() {
    if (checkDuplicate_ == TCheckDuplicate::cd_None) return;
    TListItems* items = ListView->Items();
    for (int i = items->Count() - 1; i >= 1; --i) {
        const std::string& a = items->Item(i)->Caption();
        const std::string& b = items->Item(i - 1)->Caption();
        bool same = checkDuplicate_ == TCheckDuplicate::cd_CheckCase ? a == b : UpperCase(a) == UpperCase(b);
        if (same) items->Delete(i);
    }
    ListView->known_ = -1;
}

// --- exit check -----------------------------------------------------------------------

double TSelectPanel::ReadDate(const std::string& raw) const {
    std::string text = Trim(raw);
    if (text.empty() || text == Trim(emptyMaskText_) || dateSign_.empty()) return 0;
    int signs = 0;
    for (size_t p = text.find(dateSign_); p != std::string::npos; p = text.find(dateSign_, p + dateSign_.size())) ++signs;
    if (signs == 1) {
        switch (dateType_) {
            case TDateType::dt_MMDDYYYY:
                text = text.substr(0, 2) + dateSign_ + "01" + (text.size() > 2 ? text.substr(2, 5) : std::string());
                break;
            case TDateType::dt_DDMMYYYY:
                text = "01" + dateSign_ + text;
                break;
            default:
                text += dateSign_ + "01";
                break;
        }
    } else if (signs != 2) {
        return 0;
    }
    int parts[3];
    size_t start = 0;
    for (int i = 0; i < 3; ++i) {
        size_t end = i < 2 ? text.find(dateSign_, start) : std::string::npos;
        if (i < 2 && end == std::string::npos) return 0;
        std::string part = Trim(text.substr(start, end == std::string::npos ? std::string::npos : end - start));
        if (!TryStrToInt(part, parts[i])) return 0;
        start = end == std::string::npos ? text.size() : end + dateSign_.size();
    }
    int y, m, d;
    switch (dateType_) {
        case TDateType::dt_MMDDYYYY: m = parts[0], d = parts[1], y = parts[2]; break;
        case TDateType::dt_DDMMYYYY: d = parts[0], m = parts[1], y = parts[2]; break;
        case TDateType::dt_YYMMDD:
        case TDateType::dt_YYYMMDD: y = parts[0] + 1911, m = parts[1], d = parts[2]; break;
        default: y = parts[0], m = parts[1], d = parts[2]; break;
    }
    double date = 0;
    if (!TryEncodeDate(y, m, d, date)) return 0;
    return date;
}

void TSelectPanel::CheckExit() {
    if (BeginEdit->EditMask().empty() || BeginEdit->EditMask()[0] != '!') {
        BeginEdit->SetText(Trim(BeginEdit->Text()));
        FinalEdit->SetText(Trim(FinalEdit->Text()));
    }
    std::string b = BeginEdit->Text(), f = FinalEdit->Text();
    bool swap = false;
    auto excluded = [&] {
        if (b == emptyMaskText_ || f == emptyMaskText_) return true;
        return useDiscard_ && (Trim(b) == discard_ || Trim(f) == discard_);
    };
    if (!b.empty() && !f.empty()) {
        switch (valueType_) {
            case TValueType::vt_String:
            case TValueType::vt_Time:
                swap = !excluded() && b > f;
                break;
            case TValueType::vt_Number:
                swap = StrToIntDef(Trim(b), 0) > StrToIntDef(Trim(f), 0);
                break;
            case TValueType::vt_Date:
                if (!autoChangeDateSite_ || excluded()) break;
                if (dateType_ == TDateType::dt_NoneCare) {
                    swap = b > f;
                } else if (ReadDate(b) > ReadDate(f)) {
                    BeginEdit->SetText(f);
                    FinalEdit->SetText(b);
                }
                break;
            case TValueType::vt_Float: {
                auto normalise = [](TYenMaskEdit* e) {
                    std::string t = e->Text();
                    auto dot = t.find('.');
                    if (dot == std::string::npos) return;
                    int whole = StrToIntDef(Trim(t.substr(0, dot)), 0);
                    int frac = StrToIntDef(Trim(t.substr(dot + 1)), 0);
                    e->SetText(std::to_string(whole) + "." + std::to_string(frac));
                };
                normalise(BeginEdit);
                normalise(FinalEdit);
                b = BeginEdit->Text();
                f = FinalEdit->Text();
                swap = ReadFloat(b) > ReadFloat(f);
                break;
            }
            case TValueType::vt_OtherMask:
                break;
        }
    }
    if (swap) {
        BeginEdit->SetText(f);
        FinalEdit->SetText(b);
    }
    OnExit(this);
}

void TSelectPanel::DoExit() {
    TGroupBox::DoExit();
    CheckExit();
}

// --- enabled and focus ------------------------------------------------------------------

void TSelectPanel::SetEnabled(bool enabled) {
    TGroupBox::SetEnabled(enabled);
    enabledCopy_ = enabled;
    std::vector<TWinControl*> stack{this};
    auto walk = [&](auto&& self, TWinControl* w) -> void {
        for (TControl* c : w->ControlList()) {
            c->SetEnabled(enabled);
            if (auto* wc = dynamic_cast<TWinControl*>(c)) self(self, wc);
        }
    };
    walk(walk, this);
}

void TSelectPanel::SetFocus() {
    TGroupBox::SetFocus();
    if (!IsRangeActive() && ListView->CanFocus()) ListView->SetFocus();
}

// --- child events --------------------------------------------------------------------------

void TSelectPanel::QuickPickClick(TObject* sender) {
    if (IsDesigning()) return;
    TWinControl* target = sender == BeginButton ? static_cast<TWinControl*>(BeginEdit)
                          : sender == FinalButton ? static_cast<TWinControl*>(FinalEdit)
                                                  : static_cast<TWinControl*>(ListView);
    if (target->CanFocus() && target->ParentForm()) target->SetFocus();
    SendQuickPick(target, Owner());
    OnOpenWinClick(this, target);
}

void TSelectPanel::DeleteClick(TObject*) {
    bool accept = true;
    if (IsDesigning()) return;
    OnDeleteClick(DeleteButton, accept);
    if (!accept) return;
    TListItems* items = ListView->Items();
    for (int i = 0; i < items->Count();) {
        if (items->Item(i)->Selected())
            items->Delete(i);
        else
            ++i;
    }
    ListView->known_ = -1;
}

void TSelectPanel::ClearClick(TObject*) {
    ListView->ClearRows();
    if (ListView->CanFocus() && ListView->ParentForm()) ListView->SetFocus();
    if (!IsDesigning()) OnClearClick(ClearButton);
}

bool TSelectPanel::OwnSender(TObject* sender) const {
    return sender == BeginEdit || sender == FinalEdit || sender == ListView;
}

TPoint TSelectPanel::ToPanel(TObject* sender, int x, int y) const {
    auto* c = static_cast<TControl*>(sender);
    TPoint p = c->ClientToParentForm({x, y});
    TPoint me = ClientToParentForm({0, 0});
    return {p.X - me.X, p.Y - me.Y};
}

void TSelectPanel::ChildClick(TObject* sender) { OnClick(OwnSender(sender) ? sender : this); }
void TSelectPanel::ChildDblClick(TObject* sender) { OnDblClick(OwnSender(sender) ? sender : this); }

void TSelectPanel::ChildMouseDown(TObject* sender, TMouseButton b, TShiftState s, int x, int y) {
    if (OwnSender(sender)) return OnMouseDown(sender, b, s, x, y);
    TPoint p = ToPanel(sender, x, y);
    OnMouseDown(this, b, s, p.X, p.Y);
}

void TSelectPanel::ChildMouseUp(TObject* sender, TMouseButton b, TShiftState s, int x, int y) {
    if (OwnSender(sender)) return OnMouseUp(sender, b, s, x, y);
    TPoint p = ToPanel(sender, x, y);
    OnMouseUp(this, b, s, p.X, p.Y);
}

void TSelectPanel::ChildMouseMove(TObject* sender, TShiftState s, int x, int y) {
    if (OwnSender(sender)) return OnMouseMove(sender, s, x, y);
    TPoint p = ToPanel(sender, x, y);
    OnMouseMove(this, s, p.X, p.Y);
}

void TSelectPanel::ListSelectItem(TObject* sender, TListItem* item, bool selected) {
    OnItemSelect(sender, item, item ? item->Index() : -1, selected);
}

}  // namespace zb
