#include <gtest/gtest.h>

#include "ControlsTestSupport.h"
#include "controls/BtChkBox.h"
#include "controls/DBLabel.h"
#include "controls/ExtPage.h"
#include "controls/ZbRadioGroup.h"
#include "controls/ZbSpin.h"
#include "controls/ZbcEdit.h"
#include "platform/core/Published.h"
#include "platform/core/TypInfo.h"
#include "platform/ui/ExtCtrls.h"

namespace zb::test {

// A data set that knows the display labels of its fields, and the data
// source that names it, as the data layer provides them.
class TFakeDataSet : public TComponent, public IFieldDisplayLabels {
    ZB_CLASS(TFakeDataSet, TComponent)

public:
    explicit TFakeDataSet(TComponent* owner) : TComponent(owner) {}
    bool FieldDisplayLabel(std::string_view field, std::string& label) const override {
        if (field != "PrintDate") return false;
        label = "制表日期";
        return true;
    }
};
ZB_PUBLISHED(TFakeDataSet){};

class TFakeDataSource : public TComponent {
    ZB_CLASS(TFakeDataSource, TComponent)

public:
    explicit TFakeDataSource(TComponent* owner) : TComponent(owner) {}
    TComponent* DataSet() const { return dataSet; }
    void SetDataSet(TComponent* d) { dataSet = d; }
    TComponent* dataSet = nullptr;
};
ZB_PUBLISHED(TFakeDataSource){
    prop::Class("DataSet", &TFakeDataSource::DataSet, &TFakeDataSource::SetDataSet),
};

namespace {

using CheckBoxTest = ControlsFixture;

TEST_F(CheckBoxTest, ClicksToggleAndRaiseOnClickWhileCodeDoesNot) {
    auto* cb = Make<TBitCheckBox>(form, form, "cb", 0, 0, 97, 17);
    int clicks = 0;
    cb->OnClick = [&](TObject*) { ++clicks; };
    cb->Click();
    EXPECT_TRUE(cb->Checked());
    EXPECT_TRUE(cb->Focused());
    cb->Click();
    EXPECT_EQ(cb->State(), TCheckBoxState::cbUnchecked);
    EXPECT_EQ(clicks, 2);
    cb->SetChecked(true);
    EXPECT_EQ(clicks, 2);

    cb->SetAllowGrayed(true);
    cb->SetChecked(false);
    std::vector<TCheckBoxState> seen;
    for (int i = 0; i < 3; ++i) {
        cb->Click();
        seen.push_back(cb->State());
    }
    EXPECT_EQ(seen, (std::vector<TCheckBoxState>{TCheckBoxState::cbGrayed, TCheckBoxState::cbChecked,
                                                   TCheckBoxState::cbUnchecked}));
    // The space bar clicks.
    Word space = VK_SPACE;
    cb->PressKey(space);
    EXPECT_EQ(cb->State(), TCheckBoxState::cbGrayed);
}

TEST_F(CheckBoxTest, GlyphStripsGiveImageCountsWithinOneToTwo) {
    auto* cb = Make<TBitCheckBox>(form, form, "cb", 0, 0, 97, 17);
    EXPECT_EQ(cb->CheckedGlyph()->Width(), 19);
    EXPECT_EQ(cb->CheckedGlyph()->Height(), 14);
    EXPECT_EQ(cb->CheckedGlyph()->TransparentColor(), clOlive);
    EXPECT_EQ(cb->CheckedNumGlyphs(), 1);
    EXPECT_FALSE(cb->CheckedGlyph()->Equals(*cb->UncheckedGlyph()));

    TBitmap strip(38, 14);
    strip.Fill(clOlive);
    strip.SetPixel(20, 0, clRed);  // marks the disabled half
    cb->SetCheckedGlyph(&strip);
    EXPECT_EQ(cb->CheckedNumGlyphs(), 2);
    cb->SetChecked(true);
    cb->SetEnabled(false);
    EXPECT_EQ(cb->Paint().GlyphSource, Bounds(19, 0, 19, 14));
    TBitmap shown;
    cb->RenderGlyph(shown);
    EXPECT_EQ(shown.Pixel(1, 0), clRed);
    EXPECT_EQ(shown.Pixel(0, 0), ColorToRGB(cb->Color()));

    for (auto [given, kept] : {std::pair{5, 2}, {0, 1}, {2, 2}, {-3, 1}}) {
        cb->SetGrayedNumGlyphs(given);
        EXPECT_EQ(cb->GrayedNumGlyphs(), kept) << given;
    }
    cb->SetCheckedGlyph(nullptr);
    EXPECT_EQ(cb->CheckedGlyph()->Width(), 19);
}

TEST_F(CheckBoxTest, PaintPlacesPictureAndCaptionByAlignmentAndState) {
    auto* cb = Make<TBitCheckBox>(form, form, "cb", 0, 0, 97, 17, "保税进口");
    TBitCheckBoxPaint p = cb->Paint();
    EXPECT_EQ(p.GlyphDest.Left, 0);
    EXPECT_EQ(p.CaptionRect.Left, 19 + 4);
    EXPECT_EQ(p.CaptionDraws, 1);
    cb->SetAlignment(TLeftRight::taLeftJustify);
    p = cb->Paint();
    EXPECT_EQ(p.GlyphDest.Left, 97 - 19);
    EXPECT_EQ(p.CaptionRect.Left, 1);
    cb->SetEnabled(false);
    p = cb->Paint();
    EXPECT_TRUE(p.CaptionShadow);
    EXPECT_EQ(p.CaptionDraws, 2);
    EXPECT_EQ(p.CaptionColor, clGrayText);
}

using EditsTest = ControlsFixture;

TEST_F(EditsTest, LabelFollowsEditPlaceVisibilityAndEnabled) {
    auto* ed = Make<TZbEdit>(form, form, "edEveryHour", 42, 4, 45, 21);
    ASSERT_NE(ed->EditLabel(), nullptr);
    EXPECT_EQ(ed->EditLabel()->Parent(), form);
    ed->EditLabel()->SetAutoSize(false);
    ed->EditLabel()->SetBounds(0, 0, 26, 13);
    ed->SetCaption("每隔");
    ed->EditLabel()->SetBounds(0, 0, 26, 13);
    ed->SetLabelSpacing(4);
    EXPECT_EQ(ed->EditLabel()->Left(), 12);
    EXPECT_EQ(ed->EditLabel()->Top(), 8);
    ed->SetLabelSpacing(-1);
    EXPECT_EQ(ed->LabelSpacing(), 4);
    struct Case {
        TLabelPosition pos;
        int left, top;
    };
    for (Case c : {Case{TLabelPosition::lpAbove, 42, 4 - 13 - 4}, Case{TLabelPosition::lpBelow, 42, 29},
                   Case{TLabelPosition::lpRight, 91, 8}}) {
        ed->SetLabelPosition(c.pos);
        EXPECT_EQ(ed->EditLabel()->Left(), c.left);
        EXPECT_EQ(ed->EditLabel()->Top(), c.top);
    }
    ed->SetVisible(false);
    EXPECT_FALSE(ed->EditLabel()->Visible());
    ed->SetEnabled(false);
    EXPECT_FALSE(ed->EditLabel()->Enabled());
    ed->EditLabel()->Free();
    EXPECT_EQ(ed->EditLabel(), nullptr);
    EXPECT_EQ(ed->Caption(), "");
}

TEST_F(EditsTest, ButtonEditPlacesButtonAndAsksForQuickPick) {
    auto* ed = Make<TZbBtnDBEdit>(form, form, "edCode", 10, 10, 80, 21);
    ASSERT_NE(ed->Button(), nullptr);
    EXPECT_EQ(ed->Button()->BoundsRect(), Bounds(92, 10, 21, 21));
    EXPECT_EQ(ed->Button()->GlyphIndex(), 8);
    ed->SetButtonSpacing(5);
    EXPECT_EQ(ed->Button()->Left(), 95);
    ed->Button()->Click();
    ASSERT_EQ(form->picks.size(), 1u);
    EXPECT_EQ(form->picks[0], ed);
    TObject* dialogFor = nullptr;
    ed->OnDialog = [&](TObject* s) { dialogFor = s; };
    ed->Button()->Click();
    EXPECT_EQ(dialogFor, ed);
    EXPECT_EQ(form->picks.size(), 1u);
}

using LabelTest = ControlsFixture;

TEST_F(LabelTest, AttachedLabelPlacesItselfAndNeverGoesNegative) {
    auto* ed = Make<TEdit>(form, form, "edPrintDate", 100, 20, 80, 21);
    auto* lbl = Make<TDBLabel>(form, form, "lblToday", 5, 5, 0, 0);
    lbl->SetAutoSize(false);
    lbl->SetBounds(5, 5, 48, 13);
    EXPECT_EQ(lbl->Caption(), "挂靠标签");
    lbl->SetFocusControl(ed);
    EXPECT_EQ(lbl->Left(), 100 - 48 - 4);
    EXPECT_EQ(lbl->Top(), 20 + 21 / 2 - 13 / 2);
    lbl->SetPos(TLabelPos::psTop);
    EXPECT_EQ(lbl->Top(), 3);
    ed->SetBounds(10, 5, 80, 21);
    lbl->SetPos(TLabelPos::psLeft);
    EXPECT_EQ(lbl->Left(), 0);
    lbl->SetPos(TLabelPos::psTop);
    EXPECT_EQ(lbl->Top(), 0);

    auto* loose = Make<TDBLabel>(form, form, "lblEveryHour", 7, 9, 30, 13);
    loose->SetGap(8);
    EXPECT_EQ(loose->Left(), 7);
    EXPECT_EQ(loose->Top(), 9);
    loose->SetFocusControl(ed);
    EXPECT_EQ(loose->FocusControl(), nullptr);
    ASSERT_EQ(HeadlessDialogs().Requests().size(), 1u);
    EXPECT_EQ(HeadlessDialogs().Last().Text, "不能同时有两个 DBLabel 指到同一个 Control.");
}

TEST_F(LabelTest, AutoCaptionTakesTheFieldsDisplayLabelAndKeepsCaptionOtherwise) {
    auto* ds = new TFakeDataSource(form);
    ds->SetDataSet(new TFakeDataSet(form));
    auto* ed = Make<TZbDBEdit>(form, form, "edPrintDate", 100, 20, 80, 21);
    ed->SetDataSource(ds);
    ed->SetDataField("NoSuchField");
    auto* lbl = Make<TDBLabel>(form, form, "lblToday", 5, 5, 0, 0);
    lbl->SetFocusControl(ed);
    EXPECT_EQ(lbl->Caption(), "挂靠标签");
    ed->SetDataField("PrintDate");
    lbl->SetAutoCaption(true);
    EXPECT_EQ(lbl->Caption(), "制表日期");
    EXPECT_EQ(lbl->Left(), 100 - lbl->Width() - 4);
    // A data source that goes away is forgotten by the edit.
    ds->Free();
    EXPECT_EQ(ed->DataSource(), nullptr);
}

using RadioTest = ControlsFixture;

TEST_F(RadioTest, CaptionOffsetFollowsFontSize) {
    for (auto [points, offset] : {std::pair{10, 19}, {9, 19}, {8, 17}, {16, 20}, {44, 31}, {81, 44}, {0, 44}})
        EXPECT_EQ(RadioCaptionOffset(points), offset) << points;
    auto* rb = Make<TZbRadioButton>(form, form, "rb", 0, 0, 113, 17, "每天");
    rb->Font()->SetSize(10);
    rb->SetParentFont(false);
    EXPECT_EQ(rb->Paint().TextRect.Left, 19);
    EXPECT_EQ(rb->Paint().Cover.Left, 15);
}

TEST_F(RadioTest, CheckingOneUnchecksItsOwnKindBesideIt) {
    auto* pnl = Make<TPanel>(form, form, "pnl", 0, 0, 300, 100);
    std::vector<TZbRadioButton*> rbs;
    int clicks = 0;
    for (int i = 0; i < 3; ++i) {
        rbs.push_back(Make<TZbRadioButton>(form, pnl, "rb" + std::to_string(i), 0, i * 20, 113, 17));
        rbs.back()->OnClick = [&](TObject*) { ++clicks; };
    }
    auto* plain = Make<TRadioButton>(form, pnl, "plain", 150, 0, 100, 17);
    plain->SetChecked(true);
    rbs[0]->SetChecked(true);
    rbs[2]->SetChecked(true);
    EXPECT_FALSE(rbs[0]->Checked());
    EXPECT_TRUE(rbs[2]->Checked());
    EXPECT_TRUE(plain->Checked());
    EXPECT_EQ(clicks, 2);
    rbs[2]->SetChecked(true);
    EXPECT_EQ(clicks, 2);
    rbs[1]->Click();
    EXPECT_TRUE(rbs[1]->Checked());
    EXPECT_EQ(clicks, 3);
}

TEST_F(RadioTest, GroupArrangesButtonsInColumnsAndTracksItemIndex) {
    auto* grp = Make<TZbRadioGroup>(form, form, "grp", 0, 0, 185, 105);
    grp->SetParentFont(false);
    grp->Font()->SetHeight(-13);
    grp->SetColumns(2);
    for (const char* s : {"a", "b", "c", "d", "e"}) grp->Items()->Add(s);
    ASSERT_EQ(grp->ButtonCount(), 5);
    EXPECT_EQ(grp->Buttons(0)->BoundsRect(), Bounds(8, 14, 87, 29));
    EXPECT_EQ(grp->Buttons(2)->Left(), 8);
    EXPECT_EQ(grp->Buttons(3)->Left(), 8 + 87);
    EXPECT_TRUE(grp->Buttons(4)->Visible());
    EXPECT_EQ(grp->Buttons(1)->Caption(), "b");

    int clicks = 0;
    grp->OnClick = [&](TObject*) { ++clicks; };
    grp->SetItemIndex(9);
    EXPECT_EQ(grp->ItemIndex(), 4);
    EXPECT_TRUE(grp->Buttons(4)->Checked());
    grp->SetItemIndex(-5);
    EXPECT_EQ(grp->ItemIndex(), -1);
    EXPECT_FALSE(grp->Buttons(4)->Checked());
    grp->Buttons(1)->Click();
    EXPECT_EQ(grp->ItemIndex(), 1);
    EXPECT_EQ(clicks, 1);
    grp->Items()->Delete(4);
    grp->Items()->Delete(3);
    EXPECT_EQ(grp->ButtonCount(), 3);
    EXPECT_TRUE(grp->Buttons(1)->Checked());
    grp->SetColumns(40);
    EXPECT_EQ(grp->Columns(), 16);
}

using SpinTest = ControlsFixture;

TEST_F(SpinTest, SignsAfterTheFirstCharacterAreDroppedAndEmptyTextIsSilent) {
    auto* sp = Make<TZbSpinEdit>(form, form, "meDay", 0, 0, 60, 21);
    int changes = 0;
    sp->OnChange = [&](TObject*) { ++changes; };
    struct Case {
        const char* typed;
        const char* kept;
    };
    for (Case c : {Case{"1+", "1"}, {"+1", "+1"}, {"-12", "-12"}, {"12-", "12"}, {"1-2", "12"}}) {
        sp->SetText(c.typed);
        EXPECT_EQ(sp->Text(), c.kept) << c.typed;
    }
    changes = 0;
    sp->SetText("");
    EXPECT_EQ(changes, 0);
    sp->SetText("7");
    EXPECT_EQ(changes, 1);
}

using PageTest = ControlsFixture;

TEST_F(PageTest, TabsCountVisibleTabsAndUseCaptionColours) {
    auto* pg = Make<TExtPageControl>(form, form, "pgOption", 0, 0, 300, 200);
    for (const char* c : {"A", "B", "C"}) {
        auto* t = new TTabSheet(form);
        t->SetCaption(c);
        t->SetPageControl(pg);
    }
    pg->Pages(1)->SetTabVisible(false);
    TTabPaint p = pg->DrawTab(1, Rect(0, 0, 60, 20), false);
    EXPECT_EQ(p.Caption, "C");
    EXPECT_EQ(p.TextRect.Top, 2);
    EXPECT_FALSE(p.Bold);
    p = pg->DrawTab(0, Rect(0, 0, 60, 20), true);
    EXPECT_EQ(p.Fill, Rect(2, 2, 58, 18));
    EXPECT_TRUE(p.Bold);
    EXPECT_EQ(p.Brush, clActiveCaption);
    int drawn = -1;
    pg->OnDrawTab = [&](TObject*, int i, const TRect&, bool) { drawn = i; };
    EXPECT_TRUE(pg->DrawTab(1, Rect(0, 0, 60, 20), false).ByHandler);
    EXPECT_EQ(drawn, 1);
    EXPECT_NE(GetPropInfo(pg, "OnDrawTab"), nullptr);
}

}  // namespace
}  // namespace zb::test
