// Page controls with hidden tabs, list views with sorting and editing, tree
// views, tool bars, grids, spin edits, image lists and menus.
#include <gtest/gtest.h>

#include <memory>

#include "platform/core/TextUtils.h"
#include "platform/core/TypInfo.h"
#include "platform/ui/ComCtrls.h"
#include "platform/ui/Forms.h"
#include "platform/ui/Grids.h"
#include "platform/ui/ImgList.h"
#include "platform/ui/Menus.h"
#include "platform/ui/Spin.h"
#include "platform/ui/StdCtrls.h"

namespace zb {
namespace {

using FormPtr = std::unique_ptr<TForm, FreeObject>;
FormPtr NewForm() { return FormPtr(TCustomForm::Create<TForm>(nullptr)); }

TTabSheet* AddPage(TForm* form, TPageControl* pc, const std::string& name) {
    auto* page = new TTabSheet(form);
    page->SetName(name);
    page->SetCaption(name);
    page->SetPageControl(pc);
    return page;
}

TEST(PageControlTest, TabIndexesCountVisibleTabsOnly) {
    auto form = NewForm();
    auto* pc = Make<TPageControl>(form.get(), form.get(), "pg", 0, 0, 300, 200);
    TTabSheet* a = AddPage(form.get(), pc, "A");
    TTabSheet* b = AddPage(form.get(), pc, "B");
    TTabSheet* c = AddPage(form.get(), pc, "C");
    EXPECT_EQ(pc->ActivePage(), a) << "the first page becomes active";
    EXPECT_TRUE(a->Visible());
    EXPECT_FALSE(b->Visible());
    b->SetTabVisible(false);
    EXPECT_EQ(pc->TabCount(), 2);
    EXPECT_EQ(pc->PageForTab(1), c);
    EXPECT_EQ(c->TabIndex(), 1);
    EXPECT_EQ(b->TabIndex(), -1);
    EXPECT_EQ(b->PageIndex(), 1);
    EXPECT_EQ(pc->PageForTab(2), nullptr);
    pc->SetActivePage(b);
    EXPECT_EQ(pc->ActivePage(), a) << "a page with a hidden tab is not shown";
    pc->SetTabIndex(1);
    EXPECT_EQ(pc->ActivePage(), c);
    EXPECT_EQ(pc->TabIndex(), 1);
    c->SetTabVisible(false);
    EXPECT_EQ(pc->ActivePage(), a) << "hiding the active tab moves to the next visible one";
    EXPECT_EQ(a->BoundsRect(), pc->DisplayRect());
}

TEST(PageControlTest, UserChangesAskOnChangingAndTellOnChange) {
    auto form = NewForm();
    auto* pc = Make<TPageControl>(form.get(), form.get(), "pg", 0, 0, 300, 200);
    TTabSheet* a = AddPage(form.get(), pc, "A");
    TTabSheet* b = AddPage(form.get(), pc, "B");
    AddPage(form.get(), pc, "C")->SetTabVisible(false);
    auto* edA = Make<TEdit>(form.get(), a, "edA", 8, 8, 80, 21);
    auto* edB = Make<TEdit>(form.get(), b, "edB", 8, 8, 80, 21);
    std::vector<std::string> log;
    bool allow = true;
    pc->OnChanging = [&](TObject*, bool& ok) {
        log.push_back("changing from " + pc->ActivePage()->Name());
        ok = allow;
    };
    pc->OnChange = [&](TObject*) { log.push_back("change to " + pc->ActivePage()->Name()); };
    b->OnShow = [&](TObject*) { log.push_back("show B"); };
    edA->OnExit = [&](TObject*) { log.push_back("exit edA"); };
    form->Show();
    edA->SetFocus();
    allow = false;
    EXPECT_FALSE(pc->SelectNextPage(true));
    EXPECT_EQ(pc->ActivePage(), a);
    allow = true;
    EXPECT_TRUE(pc->SelectNextPage(true));
    EXPECT_EQ(log, (std::vector<std::string>{"changing from A", "changing from A", "exit edA", "show B", "change to B"}));
    EXPECT_FALSE(edA->CanFocus());
    EXPECT_TRUE(pc->SelectNextPage(true)) << "wraps past the hidden tab back to A";
    EXPECT_EQ(pc->ActivePage(), a);
    log.clear();
    pc->SetActivePage(b);
    EXPECT_TRUE(log == std::vector<std::string>{"show B"}) << "no events from code";
    edB->SetFocus();
    b->Free();
    EXPECT_EQ(pc->PageCount(), 2);
    EXPECT_EQ(pc->ActivePage(), a);
    EXPECT_EQ(form->ActiveControl(), nullptr);
}

TEST(PageControlTest, DestroyingTheFormShowsNoPagesOnTheWay) {
    auto* form = TCustomForm::Create<TForm>(nullptr);
    auto* pc = Make<TPageControl>(form, form, "pg", 0, 0, 300, 200);
    int shows = 0;
    for (const char* n : {"A", "B", "C"}) AddPage(form, pc, n)->OnShow = [&](TObject*) { ++shows; };
    pc->SetActivePageIndex(2);
    shows = 0;
    form->Free();
    EXPECT_EQ(shows, 0);
}

TEST(ListViewTest, SortingWithAndWithoutComparisonAndSelection) {
    auto form = NewForm();
    auto* lv = Make<TListView>(form.get(), form.get(), "lst", 0, 0, 200, 100);
    lv->SetViewStyle(TViewStyle::vsReport);
    lv->Columns()->Add()->SetCaption("名称");
    lv->Columns()->Add()->SetCaption("Code");
    for (const char* c : {"beta", "Alpha", "gamma"}) {
        TListItem* item = lv->Items()->Add();
        item->SetCaption(c);
        item->SubItems()->Add(std::string("sub-") + c);
    }
    lv->SetSortType(TSortType::stText);
    auto captions = [&] {
        std::vector<std::string> out;
        for (TListItem* i : lv->Items()->List()) out.push_back(i->Caption());
        return out;
    };
    EXPECT_EQ(captions(), (std::vector<std::string>{"Alpha", "beta", "gamma"}));
    lv->Items()->Add()->SetCaption("delta");
    EXPECT_EQ(captions(), (std::vector<std::string>{"Alpha", "beta", "delta", "gamma"})) << "stays sorted";
    EXPECT_EQ(lv->Items()->Item(2)->SubItems()->Count(), 0);
    EXPECT_EQ(lv->Items()->Item(1)->SubItems()->Strings(0), "sub-beta");

    // A comparison of its own: descending.
    lv->OnCompare = [](TObject*, TListItem* a, TListItem* b, int, int& result) {
        result = -CompareText(a->Caption(), b->Caption());
    };
    lv->AlphaSort();
    EXPECT_EQ(captions(), (std::vector<std::string>{"gamma", "delta", "beta", "Alpha"}));

    std::vector<std::string> selections;
    lv->OnSelectItem = [&](TObject*, TListItem* item, bool on) { selections.push_back((on ? "+" : "-") + item->Caption()); };
    lv->Items()->Item(0)->SetSelected(true);
    lv->Items()->Item(1)->SetSelected(true);
    EXPECT_EQ(selections, (std::vector<std::string>{"+gamma", "-gamma", "+delta"}));
    EXPECT_EQ(lv->Selected()->Caption(), "delta");
    EXPECT_EQ(lv->ItemIndex(), 1);
    lv->Selected()->Delete();
    EXPECT_EQ(lv->Selected(), nullptr);
    EXPECT_EQ(lv->ItemFocused(), nullptr);
    EXPECT_EQ(lv->Items()->Count(), 3);
    EXPECT_THROW(lv->Items()->Item(3), EComponentError);
    EXPECT_TRUE(IsPublishedProp(lv, "Columns"));
}

TEST(ListViewTest, EditingGoesThroughOnEditingAndOnEdited) {
    auto form = NewForm();
    auto* lv = Make<TListView>(form.get(), form.get(), "lst", 0, 0, 200, 100);
    TListItem* item = lv->Items()->Add();
    item->SetCaption("old");
    lv->OnEdited = [](TObject*, TListItem*, std::string& s) { s = "[" + s + "]"; };
    EXPECT_TRUE(lv->EditCaption(item, "new"));
    EXPECT_EQ(item->Caption(), "[new]");
    lv->OnEditing = [](TObject*, TListItem*, bool& allow) { allow = false; };
    EXPECT_FALSE(lv->EditCaption(item, "again"));
    EXPECT_EQ(item->Caption(), "[new]");
}

TEST(TreeViewTest, NodesOrderSelectionAndDeletion) {
    auto form = NewForm();
    auto* tv = Make<TTreeView>(form.get(), form.get(), "tv", 0, 0, 100, 100);
    TTreeNode* root = tv->Items()->Add(nullptr, "root");
    TTreeNode* a = tv->Items()->AddChild(root, "a");
    TTreeNode* a1 = tv->Items()->AddChild(a, "a1");
    TTreeNode* b = tv->Items()->Add(a, "b");
    EXPECT_EQ(tv->Items()->Count(), 4);
    EXPECT_EQ(tv->Items()->Item(2), a1);
    EXPECT_EQ(tv->Items()->Item(3), b);
    EXPECT_EQ(a1->Level(), 2);
    EXPECT_EQ(b->Index(), 1);
    std::vector<std::string> changes;
    tv->OnChange = [&](TObject*, TTreeNode* n) { changes.push_back(n ? n->Text() : "-"); };
    a1->SetSelected(true);
    EXPECT_TRUE(a1->Selected());
    a->Delete();
    EXPECT_EQ(tv->Selected(), nullptr) << "deleting a selected node's parent clears the selection";
    EXPECT_EQ(tv->Items()->Count(), 2);
    EXPECT_EQ(changes, (std::vector<std::string>{"a1"}));
    tv->FullExpand();
    EXPECT_TRUE(root->Expanded());
}

TEST(ToolBarTest, ButtonsLineUpAndGroupedChecksActAsRadioButtons) {
    auto form = NewForm();
    auto* bar = Make<TToolBar>(form.get(), form.get(), "tb", 0, 0, 200, 29);
    std::vector<TToolButton*> b;
    for (int i = 0; i < 4; ++i) {
        auto* t = new TToolButton(form.get());
        t->SetParent(bar);
        b.push_back(t);
    }
    b[1]->SetStyle(TToolButtonStyle::tbsSeparator);
    EXPECT_EQ(b[2]->Left(), 23 + 8);
    EXPECT_EQ(bar->ButtonCount(), 4);
    EXPECT_EQ(b[3]->Index(), 3);
    b[2]->SetStyle(TToolButtonStyle::tbsCheck);
    b[3]->SetStyle(TToolButtonStyle::tbsCheck);
    b[2]->SetGrouped(true);
    b[3]->SetGrouped(true);
    b[2]->Click();
    b[3]->Click();
    EXPECT_FALSE(b[2]->Down());
    EXPECT_TRUE(b[3]->Down());
    b[3]->Click();
    EXPECT_TRUE(b[3]->Down()) << "one of the group stays down";
    b[0]->SetDown(true);
    EXPECT_FALSE(b[0]->Down()) << "a plain button does not latch";
    auto* menu = new TPopupMenu(form.get());
    b[0]->SetStyle(TToolButtonStyle::tbsDropDown);
    b[0]->SetDropdownMenu(menu);
    b[0]->Click();
    EXPECT_EQ(menu->PopupCount(), 1);
    menu->Free();
    EXPECT_EQ(b[0]->DropdownMenu(), nullptr);
}

TEST(GridTest, CellsCountsFixedCellsAndCurrentCell) {
    auto form = NewForm();
    auto* g = Make<TStringGrid>(form.get(), form.get(), "grd", 0, 0, 300, 100);
    g->SetColCount(3);
    g->SetRowCount(2);
    g->SetCells(0, 0, "名称");
    g->SetCells(2, 1, "x");
    g->SetRowCount(4);
    EXPECT_EQ(g->Cells(2, 1), "x") << "resizing keeps the cells";
    EXPECT_EQ(g->Cells(9, 9), "");
    EXPECT_THROW(g->SetCells(3, 0, "no"), EInvalidOperation);
    EXPECT_THROW(g->SetFixedRows(4), EInvalidOperation);
    EXPECT_FALSE(g->MoveTo(0, 1)) << "a fixed column is no current cell";
    bool refuse = false;
    g->OnSelectCell = [&](TObject*, int, int, bool& can) { can = !refuse; };
    EXPECT_TRUE(g->MoveTo(2, 3));
    refuse = true;
    EXPECT_FALSE(g->MoveTo(1, 1));
    refuse = false;
    EXPECT_EQ(g->Rows(0), (std::vector<std::string>{"名称", "", ""}));

    EXPECT_FALSE(g->EditCell("typed"));
    g->SetOptions(g->Options() | goEditing | goTabs);
    std::string set;
    g->OnSetEditText = [&](TObject*, int c, int r, const std::string& v) { set = std::to_string(c) + "," + std::to_string(r) + "=" + v; };
    EXPECT_TRUE(g->EditCell("typed"));
    EXPECT_EQ(set, "2,3=typed");
    form->Show();
    g->SetFocus();
    g->PressKey(VK_TAB);
    EXPECT_EQ(g->Col(), 1);
    EXPECT_TRUE(g->Focused()) << "with goTabs the grid keeps Tab";
    EXPECT_EQ(GetPropValue(*g, "Options").ToString(), "goFixedVertLine,goFixedHorzLine,goVertLine,goHorzLine,goRangeSelect,goEditing,goTabs");
}

TEST(GridTest, AlignedGridColumnEditorsHintsAndFonts) {
    auto form = NewForm();
    auto* g = Make<TStringAlignGrid>(form.get(), form.get(), "grReceive", 0, 0, 300, 100);
    g->SetColCount(3);
    g->SetRowCount(2);
    g->SetFixedCols(0);
    g->SetOptions(g->Options() | goEditing);
    TColumnEditor pick;
    pick.Kind = TCellEditorKind::cePickList;
    pick.ReadOnly = true;
    pick.PickItems = {"A", "B"};
    g->SetColumnEditor(1, pick);
    TColumnEditor check;
    check.Kind = TCellEditorKind::ceCheckBox;
    g->SetColumnEditor(2, check);
    TColumnEditor button;
    button.Kind = TCellEditorKind::ceEditButton;
    g->SetColumnEditor(0, button);
    int pressed = 0;
    g->OnEditButtonClick = [&](TObject*) { ++pressed; };

    ASSERT_TRUE(g->MoveTo(1, 1));
    EXPECT_FALSE(g->EditCell("C"));
    EXPECT_TRUE(g->EditCell("B"));
    EXPECT_FALSE(g->EditButtonClick());
    g->MoveTo(2, 1);
    EXPECT_TRUE(g->ToggleCheck());
    EXPECT_EQ(g->Cells(2, 1), "Y");
    EXPECT_TRUE(g->ToggleCheck());
    EXPECT_EQ(g->Cells(2, 1), "N");
    EXPECT_FALSE(g->EditCell("maybe"));
    g->MoveTo(0, 1);
    EXPECT_TRUE(g->EditButtonClick());
    EXPECT_EQ(pressed, 1);

    g->SetCellHint(0, 1, "[F2]系统用户开窗");
    EXPECT_EQ(g->CellHint(0, 1), "[F2]系统用户开窗");
    TFont bold;
    bold.SetStyle(fsBold);
    g->SetColFont(2, &bold);
    TFont big;
    big.SetSize(14);
    g->SetCellFont(2, 1, &big);
    EXPECT_EQ(g->EffectiveFont(2, 0)->Style(), static_cast<TFontStyles>(fsBold));
    EXPECT_EQ(g->EffectiveFont(2, 1)->Size(), 14);
    EXPECT_EQ(g->EffectiveFont(0, 0), g->Font());
    g->SetCellFont(2, 1, nullptr);
    EXPECT_EQ(g->CellFont(2, 1), nullptr);
}

TEST(SpinEditTest, ValueRangeStepsAndFilter) {
    auto form = NewForm();
    auto* sp = Make<TSpinEdit>(form.get(), form.get(), "meDay", 0, 0, 60, 21);
    sp->SetMinValue(1);
    sp->SetMaxValue(31);
    sp->SetValue(40);
    EXPECT_EQ(sp->Text(), "31");
    sp->UpClick();
    EXPECT_EQ(sp->Value(), 31);
    sp->DownClick();
    EXPECT_EQ(sp->Value(), 30);
    sp->SetText("abc");
    EXPECT_EQ(sp->Value(), 1) << "no number reads as MinValue";
    sp->SetText("");
    sp->TypeText("1x2");
    EXPECT_EQ(sp->Text(), "12");
    Word up = VK_UP;
    sp->KeyDown(up, 0);
    EXPECT_EQ(sp->Value(), 13);
    sp->SetMinValue(0);
    sp->SetMaxValue(0);
    sp->SetValue(2147483647);
    sp->UpClick();
    EXPECT_EQ(sp->Value(), 2147483647) << "no overflow at the top";
}

TEST(ImageListTest, WidePicturesAreCutIntoImages) {
    TImageList list;
    TBitmap strip(48, 16);
    strip.SetPixel(16, 0, clRed);
    strip.SetPixel(0, 15, clFuchsia);
    EXPECT_EQ(list.AddMasked(&strip, clFuchsia), 0);
    EXPECT_EQ(list.Count(), 3);
    TBitmap second;
    ASSERT_TRUE(list.GetBitmap(1, &second));
    EXPECT_EQ(second.Width(), 16);
    EXPECT_EQ(second.Pixel(0, 0), clRed);
    EXPECT_EQ(list.MaskColor(0), clFuchsia);
    EXPECT_FALSE(list.GetBitmap(3, &second));
    EXPECT_THROW(list.Delete(3), EComponentError);
    EXPECT_EQ(list.Add(nullptr), -1);
    list.SetWidth(32);
    EXPECT_EQ(list.Count(), 0);
}

TEST(MenuTest, RadioItemsChecksAndPopup) {
    auto form = NewForm();
    auto* menu = new TPopupMenu(form.get());
    std::vector<TMenuItem*> items;
    for (const char* c : {"&Icon", "&List", "&Report"}) {
        auto* item = new TMenuItem(form.get());
        item->SetCaption(c);
        item->SetRadioItem(true);
        item->SetAutoCheck(true);
        item->SetGroupIndex(1);
        menu->Items()->Add(item);
        items.push_back(item);
    }
    int clicks = 0;
    items[2]->OnClick = [&](TObject*) { ++clicks; };
    items[0]->SetChecked(true);
    items[2]->Click();
    EXPECT_FALSE(items[0]->Checked());
    EXPECT_TRUE(items[2]->Checked());
    EXPECT_EQ(clicks, 1);
    items[2]->SetEnabled(false);
    items[2]->Click();
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(menu->Items()->Find("list"), items[1]);

    auto* edit = Make<TEdit>(form.get(), form.get(), "ed", 10, 20, 80, 21);
    edit->SetPopupMenu(menu);
    edit->MouseUp(TMouseButton::mbRight, 0, 5, 6);
    EXPECT_EQ(menu->PopupCount(), 1);
    EXPECT_EQ(menu->PopupComponent(), edit);
    EXPECT_EQ(menu->PopupX(), 15);
    items[1]->Free();
    EXPECT_EQ(menu->Items()->Count(), 2);
    menu->Free();
    EXPECT_EQ(edit->PopupMenu(), nullptr);
    EXPECT_EQ(form->ComponentCount(), 1) << "the items went with their menu";
}

}  // namespace
}  // namespace zb
