#include <gtest/gtest.h>

#include "ControlsTestSupport.h"
#include "controls/SelectPnl.h"
#include "platform/core/TypInfo.h"

namespace zb::test {
namespace {

class SelectPanelTest : public ControlsFixture {
protected:
    void SetUp() override {
        ControlsFixture::SetUp();
        sp = Make<TSelectPanel>(form, form, "sp01", 8, 8, 292, 49, "撷取数据日期");
    }
    void SetRange(const std::string& b, const std::string& f) {
        sp->BeginEdit->SetText(b);
        sp->FinalEdit->SetText(f);
        sp->CheckExit();
    }
    std::vector<std::string> Captions() const {
        std::vector<std::string> out;
        for (TListItem* i : sp->Items()->List()) out.push_back(i->Caption());
        return out;
    }
    TSelectPanel* sp = nullptr;
};

TEST_F(SelectPanelTest, ExitCheckOrdersTheRangeByValueType) {
    struct Case {
        TValueType type;
        TDateType date;
        const char *b, *f, *wantB, *wantF;
    };
    const Case cases[] = {
        {TValueType::vt_String, TDateType::dt_NoneCare, "B", "A", "A", "B"},
        {TValueType::vt_String, TDateType::dt_NoneCare, " A ", "", "A", ""},
        {TValueType::vt_String, TDateType::dt_NoneCare, "10", "9", "10", "9"},
        {TValueType::vt_Time, TDateType::dt_NoneCare, "12:00", "08:00", "08:00", "12:00"},
        {TValueType::vt_Number, TDateType::dt_NoneCare, "10", "9", "9", "10"},
        {TValueType::vt_Number, TDateType::dt_NoneCare, "x", "-1", "-1", "x"},
        {TValueType::vt_Date, TDateType::dt_NoneCare, "2004/03/01", "2004/02/01", "2004/02/01", "2004/03/01"},
        {TValueType::vt_Date, TDateType::dt_YYYYMMDD, "2004/03", "2004/02/15", "2004/02/15", "2004/03"},
        {TValueType::vt_Date, TDateType::dt_YYMMDD, "093/01/05", "092/12/31", "092/12/31", "093/01/05"},
        {TValueType::vt_Date, TDateType::dt_YYYMMDD, "092/12/31", "093/01/05", "092/12/31", "093/01/05"},
        {TValueType::vt_Date, TDateType::dt_MMDDYYYY, "03/2004", "02/15/2004", "02/15/2004", "03/2004"},
        {TValueType::vt_Date, TDateType::dt_DDMMYYYY, "15/03/2004", "01/02/2004", "01/02/2004", "15/03/2004"},
        // An unreadable end counts as the earliest date.
        {TValueType::vt_Date, TDateType::dt_YYYYMMDD, "2004/01/01", "2004/13/01", "2004/13/01", "2004/01/01"},
        {TValueType::vt_Float, TDateType::dt_NoneCare, "10. 5", "9.75", "9.75", "10.5"},
        {TValueType::vt_Float, TDateType::dt_NoneCare, "2", "10", "2", "10"},
        {TValueType::vt_OtherMask, TDateType::dt_NoneCare, "B", "A", "B", "A"},
    };
    for (const Case& c : cases) {
        sp->SetValueType(c.type);
        sp->SetDateType(c.date);
        SetRange(c.b, c.f);
        EXPECT_EQ(sp->BeginEdit->Text(), c.wantB) << c.b << " / " << c.f;
        EXPECT_EQ(sp->FinalEdit->Text(), c.wantF) << c.b << " / " << c.f;
    }
}

TEST_F(SelectPanelTest, ExitCheckExclusionsAndExitEvent) {
    int exits = 0;
    sp->OnExit = [&](TObject* s) {
        EXPECT_EQ(s, sp);
        ++exits;
    };
    sp->SetValueType(TValueType::vt_Date);
    sp->SetDateType(TDateType::dt_YYYYMMDD);
    sp->SetAutoChangeDateSite(false);
    SetRange("2005/01/01", "2004/01/01");
    EXPECT_EQ(sp->BeginEdit->Text(), "2005/01/01");
    sp->SetValueType(TValueType::vt_String);
    sp->SetUseDiscard(true);
    sp->SetDiscard("*");
    SetRange("*", "A");
    EXPECT_EQ(sp->BeginEdit->Text(), "*");
    EXPECT_EQ(exits, 2);
}

TEST_F(SelectPanelTest, LeavingThePanelRunsTheExitCheckOnce) {
    auto* other = Make<TEdit>(form, form, "edOther", 8, 200, 80, 21);
    int exits = 0;
    sp->OnExit = [&](TObject*) { ++exits; };
    sp->BeginEdit->SetFocus();
    sp->BeginEdit->SetText("B");
    sp->FinalEdit->SetFocus();  // inside the panel: no check yet
    sp->FinalEdit->SetText("A");
    EXPECT_EQ(exits, 0);
    other->SetFocus();
    EXPECT_EQ(exits, 1);
    EXPECT_EQ(sp->BeginEdit->Text(), "A");
    EXPECT_EQ(sp->FinalEdit->Text(), "B");
}

TEST_F(SelectPanelTest, StyleChangeSwapsSizeAndCanBeRefused) {
    sp->SetStyle(TSelectStyle::sp_Discrete);
    EXPECT_EQ(sp->Width(), 200);
    EXPECT_EQ(sp->Height(), 105);
    EXPECT_EQ(sp->OtherWidth(), 292);
    EXPECT_EQ(sp->OtherHeight(), 49);
    EXPECT_TRUE(sp->ListPanel->Visible());
    EXPECT_FALSE(sp->RangePanel->Visible());
    EXPECT_FALSE(sp->IsRangeActive());
    sp->SetStyle(TSelectStyle::sp_Range);
    EXPECT_EQ(sp->BoundsRect(), Bounds(8, 8, 292, 49));

    std::vector<std::string> log;
    sp->OnStyleChanging = [&](TObject*, TSelectStyle now, TSelectStyle&, bool& accept) {
        log.push_back("changing");
        EXPECT_EQ(now, TSelectStyle::sp_Range);
        accept = false;
    };
    sp->OnStyleChange = [&](TObject*, TSelectStyle, TSelectStyle) { log.push_back("change"); };
    TRect before = sp->RangePanel->BoundsRect();
    sp->SetStyle(TSelectStyle::sp_Discrete);
    EXPECT_EQ(sp->Style(), TSelectStyle::sp_Range);
    EXPECT_EQ(sp->BoundsRect(), Bounds(8, 8, 292, 49));
    EXPECT_EQ(sp->RangePanel->BoundsRect(), before);
    EXPECT_TRUE(sp->RangePanel->Visible());
    EXPECT_EQ(log, (std::vector<std::string>{"changing"}));
    // A handler may redirect the new style.
    sp->OnStyleChanging = [](TObject*, TSelectStyle, TSelectStyle& next, bool&) { next = TSelectStyle::sp_UserChoice; };
    sp->SetStyle(TSelectStyle::sp_Discrete);
    EXPECT_EQ(sp->Style(), TSelectStyle::sp_UserChoice);
    EXPECT_EQ(log.back(), "change");
}

TEST_F(SelectPanelTest, UserChoiceSwitchesBetweenRangeAndList) {
    sp->SetStyle(TSelectStyle::sp_UserChoice);
    int typeClicks = 0;
    sp->OnTypeClick = [&](TObject*) { ++typeClicks; };
    EXPECT_TRUE(sp->ChoiceBox->Visible());
    sp->SetUserChoice(true);
    EXPECT_TRUE(sp->IsRangeActive());
    EXPECT_TRUE(sp->RangePanel->Visible());
    sp->ChoiceBox->Click();
    EXPECT_FALSE(sp->UserChoice());
    EXPECT_TRUE(sp->ListPanel->Visible());
    EXPECT_EQ(typeClicks, 2);
    // Outside sp_UserChoice, UserChoice is ignored.
    sp->SetStyle(TSelectStyle::sp_Discrete);
    sp->SetUserChoice(true);
    EXPECT_FALSE(sp->UserChoice());
}

TEST_F(SelectPanelTest, AddRowBuildsColumnsAndPadsEntries) {
    sp->SetStyle(TSelectStyle::sp_Discrete);
    EXPECT_FALSE(sp->ListView->AddRow({}));
    ASSERT_TRUE(sp->ListView->AddRow({"a", "b", "c"}));
    ASSERT_EQ(sp->Columns()->Count(), 3);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(sp->Columns()->Items(i)->Caption(), "Data" + std::to_string(i + 1));
    ASSERT_TRUE(sp->ListView->AddRow({"x"}));
    EXPECT_EQ(sp->Items()->Item(1)->SubItems()->Count(), 2);
    ASSERT_TRUE(sp->ListView->AddRow({"y", "1", "2", "3"}));
    for (TListItem* i : sp->Items()->List()) EXPECT_EQ(i->SubItems()->Count(), 3);
    // Widths: longest bytes of each column (header included) times "W"; Chinese counts two.
    ASSERT_TRUE(sp->ListView->AddRow({"中文中文中文"}));
    int w = TextWidth(*sp->ListView->Font(), "W");
    EXPECT_EQ(sp->Columns()->Items(0)->Width(), 12 * w);
    EXPECT_EQ(sp->Columns()->Items(1)->Width(), 5 * w);
    std::unique_ptr<TStrings> caps(sp->ColumnCaptions());
    EXPECT_EQ(caps->Count(), 4);
}

TEST_F(SelectPanelTest, DuplicatesAndSorting) {
    sp->SetStyle(TSelectStyle::sp_Discrete);
    sp->SetCheckDuplicate(TCheckDuplicate::cd_CaseInsensitive);
    EXPECT_TRUE(sp->SortListBox());
    sp->ListView->AddRow({"ABC"});
    sp->ListView->AddRow({"abc"});
    sp->ListView->AddRow({"b"});
    sp->ListView->AddRow({"A"});
    EXPECT_EQ(Captions(), (std::vector<std::string>{"A", "ABC", "b"}));
    sp->ListView->ClearRows();
    sp->SetCheckDuplicate(TCheckDuplicate::cd_CheckCase);
    sp->ListView->AddRow({"ABC"});
    sp->ListView->AddRow({"abc"});
    sp->ListView->AddRow({"abc"});
    EXPECT_EQ(Captions(), (std::vector<std::string>{"ABC", "abc"}));
    // Entries added behind AddRow's back are put right by the next AddRow.
    sp->Items()->Insert(0)->SetCaption("zz");
    sp->Items()->Add()->SetCaption("abc");
    sp->ListView->AddRow({"m"});
    EXPECT_EQ(Captions(), (std::vector<std::string>{"ABC", "abc", "m", "zz"}));

    sp->ListView->ClearRows();
    sp->SetCheckDuplicate(TCheckDuplicate::cd_None);
    sp->SetShowColumnHeader(true);
    sp->ListView->AddRow({"b", "2"});
    sp->ListView->AddRow({"a", "3"});
    sp->ListView->AddRow({"c", "1"});
    sp->ListView->ColumnClick(0);  // same column: descending
    EXPECT_EQ(Captions(), (std::vector<std::string>{"c", "b", "a"}));
    sp->ListView->ColumnClick(1);
    EXPECT_EQ(Captions(), (std::vector<std::string>{"c", "b", "a"}));
    EXPECT_TRUE(sp->SortAscending());
    sp->ListView->ColumnClick(1);
    EXPECT_EQ(Captions(), (std::vector<std::string>{"a", "b", "c"}));
}

TEST_F(SelectPanelTest, DeleteRemovesSelectedAndClearEmpties) {
    sp->SetStyle(TSelectStyle::sp_Discrete);
    for (const char* s : {"1", "2", "3"}) sp->ListView->AddRow({s});
    sp->Items()->Item(0)->SetSelected(true);
    sp->Items()->Item(1)->SetSelected(true);
    bool accept = false;
    sp->OnDeleteClick = [&](TObject* s, bool& a) {
        EXPECT_EQ(s, sp->DeleteButton);
        a = accept;
    };
    sp->DeleteButton->Click();
    EXPECT_EQ(Captions().size(), 3u);
    accept = true;
    sp->DeleteButton->Click();
    EXPECT_EQ(Captions(), (std::vector<std::string>{"3"}));
    TObject* cleared = nullptr;
    sp->OnClearClick = [&](TObject* s) { cleared = s; };
    sp->ClearButton->Click();
    EXPECT_EQ(sp->Items()->Count(), 0);
    EXPECT_EQ(cleared, sp->ClearButton);
    EXPECT_TRUE(sp->ListView->Focused());
}

TEST_F(SelectPanelTest, HorizontalRangeLayoutWithAndWithoutQuickPick) {
    EXPECT_EQ(sp->BeginLabel->Caption(), "起");
    const int t = (sp->RangePanel->Height() - 24) / 2;
    EXPECT_EQ(sp->BeginLabel->Left(), 2);
    EXPECT_EQ(sp->BeginEdit->Top(), t);
    EXPECT_EQ(sp->BeginEdit->Left(), sp->BeginLabel->Left() + sp->BeginLabel->Width() + 1);
    EXPECT_EQ(sp->BeginButton->Left(), sp->BeginEdit->Left() + sp->BeginEdit->Width() + 2);
    EXPECT_EQ(sp->FinalLabel->Left(), sp->BeginButton->Left() + sp->BeginButton->Width() + 2);
    EXPECT_EQ(sp->FinalButton->Left(), sp->FinalEdit->Left() + sp->FinalEdit->Width() + 2);
    EXPECT_EQ(sp->BeginEdit->Width(), sp->FinalEdit->Width());
    const int withButtons = sp->BeginEdit->Width();
    TRect listButtons = sp->DeleteButton->BoundsRect();
    sp->SetCanOpenWin(false);
    EXPECT_FALSE(sp->BeginButton->Visible());
    EXPECT_FALSE(sp->ListButton->Visible());
    EXPECT_GT(sp->BeginEdit->Width(), withButtons);
    EXPECT_EQ(sp->FinalLabel->Left(), sp->BeginEdit->Left() + sp->BeginEdit->Width() + 4);
    EXPECT_EQ(sp->DeleteButton->BoundsRect(), listButtons);
}

TEST_F(SelectPanelTest, VerticalLayoutsAndFrames) {
    sp->SetUseVertical(true);
    EXPECT_EQ(sp->Width(), 200);  // swapped with the other size
    EXPECT_GT(sp->FinalEdit->Top(), sp->BeginEdit->Top());
    EXPECT_EQ(sp->FinalEdit->Left(), sp->BeginEdit->Left());
    EXPECT_EQ(sp->FinalButton->Left(), sp->BeginButton->Left());
    EXPECT_EQ(sp->BeginButton->Left(), sp->BeginEdit->Left() + sp->BeginEdit->Width() + 1);
    sp->SetUseVertical(false);
    sp->SetStyle(TSelectStyle::sp_UserChoice);
    EXPECT_GT(sp->FinalEdit->Top(), sp->BeginEdit->Top());  // always vertical here
    int th = TextHeight(*sp->Font(), sp->Caption());
    EXPECT_EQ(sp->ChoiceBox->Top(), th + 1);
    EXPECT_EQ(sp->RangePanel->Top(), TextHeight(*sp->Font(), sp->ChoiceBox->Caption()) + sp->ChoiceBox->Top() + 2);
    EXPECT_EQ(sp->ListView->Width(), sp->ListPanel->Width() - sp->ListButton->Width() - 3);
    EXPECT_EQ(sp->ListButton->Left(), sp->ListView->Width() + 2);
    EXPECT_EQ(sp->ClearButton->Top(), sp->DeleteButton->Top() + sp->DeleteButton->Height());
}

TEST_F(SelectPanelTest, QuickPickAndClicksReachTheForm) {
    TObject* picked = nullptr;
    sp->OnOpenWinClick = [&](TObject* parent, TObject* s) {
        EXPECT_EQ(parent, sp);
        picked = s;
    };
    sp->BeginButton->Click();
    ASSERT_EQ(form->picks.size(), 1u);
    EXPECT_EQ(form->picks[0], sp->BeginEdit);
    EXPECT_EQ(picked, sp->BeginEdit);
    EXPECT_TRUE(sp->BeginEdit->Focused());
    std::vector<TObject*> senders;
    sp->OnClick = [&](TObject* s) { senders.push_back(s); };
    sp->RangePanel->Click();
    sp->BeginEdit->Click();
    EXPECT_EQ(senders, (std::vector<TObject*>{sp, sp->BeginEdit}));
    std::vector<TObject*> keys;
    sp->OnKeyDown = [&](TObject* s, Word&, TShiftState) { keys.push_back(s); };
    Word k = 'A';
    sp->FinalEdit->KeyDown(k, 0);
    EXPECT_EQ(keys, (std::vector<TObject*>{sp->FinalEdit}));
}

TEST_F(SelectPanelTest, CompanionsSuppressChangesAndTakeFocusBeforeAClick) {
    int changes = 0;
    sp->BeginEdit->OnChange = [&](TObject*) { ++changes; };
    sp->BeginEdit->SetSuppressChange(true);
    sp->BeginEdit->SetText("x");
    EXPECT_EQ(changes, 0);
    sp->BeginEdit->SetSuppressChange(false);
    sp->BeginEdit->SetText("y");
    EXPECT_EQ(changes, 1);
    // A mask change keeps the edit silent.
    sp->SetEditMask("999;1;_");
    EXPECT_EQ(changes, 1);

    sp->SetStyle(TSelectStyle::sp_Discrete);
    sp->ListView->Perform(WM_LBUTTONDOWN);
    EXPECT_TRUE(sp->ListView->Focused());
    sp->SetStyle(TSelectStyle::sp_Range);
    sp->ListView->Perform(WM_LBUTTONDOWN);  // hidden: cannot take the focus, the click goes nowhere
    EXPECT_FALSE(sp->ListView->Focused());
}

TEST_F(SelectPanelTest, PropertiesByNameWordsHintsMaskAndEnabled) {
    ASSERT_NE(GetPropInfo(sp, "CheckDuplicate"), nullptr);
    SetPropValue(*sp, "Style", Variant("sp_Discrete"));
    EXPECT_EQ(sp->Style(), TSelectStyle::sp_Discrete);
    sp->ChildHints()->SetStrings(1, "[F2]日期快手");
    EXPECT_EQ(sp->BeginEdit->Hint(), "[F2]日期快手");
    EXPECT_EQ(sp->ClearButton->Hint(), "多选-删除己选信息");

    TStringList one;
    one.Add("从");
    sp->SetBeginWords(&one);
    EXPECT_EQ(sp->BeginWords()->Count(), 1);
    EXPECT_EQ(sp->BeginLabel->Caption(), "从");
    sp->SetStyle(TSelectStyle::sp_UserChoice);  // reads entry [1]: falls back, no failure
    EXPECT_EQ(sp->BeginLabel->Caption(), "从");

    sp->BeginEdit->SetText("2004/01/02");
    sp->SetEditMask("9999/99/99;1;_");
    EXPECT_EQ(sp->EmptyMaskText(), "    /  /  ");
    EXPECT_EQ(sp->BeginEdit->Text(), "2004/01/02");

    sp->SetGlyphIndex(9);
    EXPECT_EQ(sp->FinalButton->GlyphIndex(), 9);
    EXPECT_EQ(sp->ListButton->GlyphIndex(), 9);

    sp->SetEnabled(false);
    EXPECT_FALSE(sp->BeginEdit->Enabled());
    EXPECT_FALSE(sp->ClearButton->Enabled());
    sp->SetEnabled(true);
    EXPECT_TRUE(sp->ListView->Enabled());
}

}  // namespace
}  // namespace zb::test
