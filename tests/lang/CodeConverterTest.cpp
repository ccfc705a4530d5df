// The code converter on forms of the UI model (modes 0-4, combo styles and
// selection, list views, trees and grids), on values (nested and
// two-dimensional arrays, null cells, the inverse directions) and in its
// message dialog. The translation library is the suite's own.
#include "lang/CodeConverter.h"

#include <gtest/gtest.h>

#include "platform/ui/ComCtrls.h"
#include "platform/ui/Forms.h"
#include "platform/ui/Graphics.h"
#include "platform/ui/Grids.h"
#include "platform/ui/Menus.h"
#include "platform/ui/StdCtrls.h"

namespace zb {
namespace {

class TfrmConvert : public TForm {
    ZB_CLASS(TfrmConvert, TForm)

public:
    explicit TfrmConvert(TComponent* owner) : TForm(owner) {
        SetName("frmConvert");
        SetCaption("作业");
        SetBounds(0, 0, 400, 300);
        lblGB = Make<TLabel>(this, this, "lblGB", 8, 8, 80, 16, "软件");
        lblBig5 = Make<TLabel>(this, this, "lblBig5", 8, 28, 80, 16, "軟體");
        lblEmpty = Make<TLabel>(this, this, "lblEmpty", 8, 48, 80, 16);
        lblEmpty->SetCaption("");
        cbDropDown = Make<TComboBox>(this, this, "cbDropDown", 100, 8, 100, 21);
        cbDropDown->Items()->SetText("鼠标\n内存\n");
        cbList = Make<TComboBox>(this, this, "cbList", 100, 40, 100, 21);
        cbList->SetStyle(TComboBoxStyle::csDropDownList);
        cbList->Items()->SetText("鼠标\n内存\n打印机\n");
        cbList->SetItemIndex(2);
        cbSimple = Make<TComboBox>(this, this, "cbSimple", 100, 72, 100, 21);
        cbSimple->SetStyle(TComboBoxStyle::csSimple);
        cbSimple->Items()->SetText("软件\n");
        cbEmpty = Make<TComboBox>(this, this, "cbEmpty", 100, 104, 100, 21);
        memo = Make<TMemo>(this, this, "memo", 8, 140, 100, 60);
        memo->Lines()->SetText("数据库\n网络\n");
        btn = Make<TButton>(this, this, "btn", 220, 8, 75, 25, "打印机");
        btn->SetHint("内存");
        popup = new TPopupMenu(this);
        popup->SetName("popup");
        mainMenu = new TMainMenu(this);
        mainMenu->SetName("mainMenu");

        view = Make<TListView>(this, this, "view", 8, 210, 200, 80);
        view->Columns()->Add()->SetCaption("软件");
        view->Columns()->Add()->SetCaption("内存");
        TListItem* item = view->Items()->Add();
        item->SetCaption("鼠标");
        item->SubItems()->Add("打印机");
        item->SubItems()->Add("网络");  // beyond the columns: not a cell

        tree = Make<TTreeView>(this, this, "tree", 220, 40, 100, 80);
        tree->Items()->AddChild(tree->Items()->Add(nullptr, "软件"), "鼠标");
        grid = Make<TStringAlignGrid>(this, this, "grid", 220, 130, 150, 80);
        grid->SetColCount(2);
        grid->SetRowCount(2);
        grid->SetCells(1, 1, "内存");
        grid->SetCellHint(0, 1, "数据库");
        TFont f;
        f.SetName("Arial");
        grid->SetCellFont(1, 0, &f);
        grid->SetRowFont(1, &f);
        grid->SetColFont(1, &f);
        TColumnEditor pick;
        pick.Kind = TCellEditorKind::cePickList;
        pick.PickItems = {"软件", "网络"};
        grid->SetColumnEditor(0, pick);
    }
    TLabel *lblGB, *lblBig5, *lblEmpty;
    TComboBox *cbDropDown, *cbList, *cbSimple, *cbEmpty;
    TMemo* memo;
    TButton* btn;
    TPopupMenu* popup;
    TMainMenu* mainMenu;
    TListView* view;
    TTreeView* tree;
    TStringAlignGrid* grid;
};
ZB_PUBLISHED(TfrmConvert){};

TConverterProfile Profile(int uiMode, std::string sys = "936", std::string ui = "936", int dbMode = 0) {
    TConverterProfile p;
    p.SysCodePage = std::move(sys);
    p.UICodePage = std::move(ui);
    p.UIConvertMode = uiMode;
    p.DBConvertMode = dbMode;
    return p;
}

class CodeConverterTest : public ::testing::Test {
protected:
    void SetUp() override {
        HeadlessDialogs().Clear();
        form = TCustomForm::Create<TfrmConvert>(nullptr);
    }
    void TearDown() override {
        form->Free();
        Application().ProcessMessages();
        HeadlessDialogs().Clear();
    }
    TfrmConvert* form = nullptr;
};

TEST_F(CodeConverterTest, FormsByMode) {
    struct Case {
        int mode;
        const char *gb, *big5;   // the two labels afterwards
        int charset;             // 0: fonts untouched
        TComboBoxStyle dropDown;
        int dropDownIndex;
        bool ownerDrawMenus;
    } cases[] = {
        {1, "软件", "软件", 134, TComboBoxStyle::csOwnerDrawFixed, 0, true},
        {2, "軟體", "軟體", 136, TComboBoxStyle::csOwnerDrawFixed, 0, true},
        {3, "软件", "軟體", 136, TComboBoxStyle::csOwnerDrawVariable, -1, true},
        {4, "软件", "軟體", 134, TComboBoxStyle::csOwnerDrawVariable, -1, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.mode);
        TearDown();
        SetUp();
        TCodeConverter converter(form, Profile(c.mode));
        ASSERT_NE(converter.Translator(), nullptr);
        converter.ConvertForm(form, true);
        EXPECT_EQ(form->lblGB->Caption(), c.gb);
        EXPECT_EQ(form->lblBig5->Caption(), c.big5);
        EXPECT_EQ(form->lblGB->Font()->Name(), "SimSun");
        EXPECT_EQ(form->lblGB->Font()->Charset(), c.charset);
        EXPECT_EQ(Screen().HintFont()->Charset(), c.charset);
        EXPECT_EQ(form->cbDropDown->Style(), c.dropDown);
        EXPECT_EQ(form->cbDropDown->ItemIndex(), c.dropDownIndex);
        EXPECT_EQ(form->cbSimple->Style(), TComboBoxStyle::csSimple);
        EXPECT_EQ(form->popup->OwnerDraw(), c.ownerDrawMenus);
        EXPECT_EQ(form->mainMenu->OwnerDraw(), c.ownerDrawMenus);
        EXPECT_EQ(form->Caption(), "作业");  // the system code page is GB
    }
}

TEST_F(CodeConverterTest, ModeZeroLeavesTheFormAlone) {
    const std::string font = form->lblGB->Font()->Name();
    const int charset = form->lblGB->Font()->Charset();
    TCodeConverter converter(form, Profile(0, "950", "936"));
    EXPECT_EQ(converter.Translator(), nullptr);
    converter.ConvertForm(form, true);
    EXPECT_EQ(form->Caption(), "作业");
    EXPECT_EQ(form->lblGB->Caption(), "软件");
    EXPECT_EQ(form->lblGB->Font()->Name(), font);
    EXPECT_EQ(form->lblGB->Font()->Charset(), charset);
    EXPECT_EQ(form->cbDropDown->Style(), TComboBoxStyle::csDropDown);
    EXPECT_EQ(form->cbDropDown->ItemIndex(), -1);
    EXPECT_FALSE(form->popup->OwnerDraw());
}

TEST_F(CodeConverterTest, TextsListsAndSelectionUnderGBToBig5) {
    TCodeConverter converter(form, Profile(2, "950", "950"));
    converter.ConvertForm(form, true);
    EXPECT_EQ(form->Caption(), "作業");  // title bar in the system's BIG5
    EXPECT_EQ(form->btn->Caption(), "印表機");
    EXPECT_EQ(form->btn->Hint(), "記憶體");
    EXPECT_EQ(form->lblEmpty->Caption(), "");
    EXPECT_EQ(form->memo->Lines()->Text(), "資料庫\r\n網路\r\n");
    EXPECT_EQ(form->cbDropDown->Items()->Strings(0), "滑鼠");
    EXPECT_EQ(form->cbList->Style(), TComboBoxStyle::csOwnerDrawFixed);
    EXPECT_EQ(form->cbList->ItemIndex(), 2);  // kept through the new items and the new style
    EXPECT_EQ(form->cbList->Text(), "印表機");
    EXPECT_EQ(form->cbSimple->Items()->Strings(0), "軟體");
    EXPECT_EQ(form->cbEmpty->ItemIndex(), -1);  // nothing to select

    EXPECT_EQ(form->view->Columns()->Items(0)->Caption(), "軟體");
    EXPECT_EQ(form->view->Columns()->Items(1)->Caption(), "記憶體");
    TListItem* item = form->view->Items()->Item(0);
    EXPECT_EQ(item->Caption(), "滑鼠");
    EXPECT_EQ(item->SubItems()->Strings(0), "印表機");
    EXPECT_EQ(item->SubItems()->Strings(1), "网络");  // no column shows it

    EXPECT_EQ(form->tree->Items()->Item(0)->Text(), "軟體");
    EXPECT_EQ(form->tree->Items()->Item(1)->Text(), "滑鼠");
    EXPECT_EQ(form->grid->Cells(1, 1), "記憶體");
    EXPECT_EQ(form->grid->CellHint(0, 1), "資料庫");
    EXPECT_EQ(form->grid->CellFont(1, 0)->Charset(), 136);
    EXPECT_EQ(form->grid->RowFont(1)->Charset(), 136);
    EXPECT_EQ(form->grid->ColFont(1)->Name(), "SimSun");
    EXPECT_EQ(form->grid->ColumnEditor(0).PickItems, (std::vector<std::string>{"軟體", "網路"}));
}

TEST_F(CodeConverterTest, TreesAndGridsOnlyWhenDeep) {
    TCodeConverter converter(form, Profile(2));
    converter.ConvertForm(form, false);
    EXPECT_EQ(form->lblGB->Caption(), "軟體");
    EXPECT_EQ(form->view->Items()->Item(0)->Caption(), "滑鼠");
    EXPECT_EQ(form->tree->Items()->Item(0)->Text(), "软件");
    EXPECT_EQ(form->grid->Cells(1, 1), "内存");
}

TEST_F(CodeConverterTest, RegisteredControlsConvertTheirOwnTexts) {
    TCodeConverter::RegisterControlConversion(TfrmConvert::StaticClassInfo(), [](TComponent&, auto&) {});
    int seen = 0;
    TCodeConverter::RegisterControlConversion(TMemo::StaticClassInfo(), [&](TComponent& c, auto& convert) {
        auto& memo = dynamic_cast<TMemo&>(c);
        memo.SetHint(convert("软件"));
        ++seen;
    });
    TCodeConverter converter(form, Profile(2));
    converter.ConvertForm(form, true);
    EXPECT_EQ(form->memo->Hint(), "軟體");
    TCodeConverter(form, Profile(4)).ConvertForm(form, true);  // fonts only: no texts
    EXPECT_EQ(seen, 1);
}

TEST(CodeConverterValues, ArraysNestedAndTwoDimensional) {
    TCodeConverter converter(nullptr, Profile(2));
    Variant nested = VarArrayOf({Variant("软件"), VarArrayOf({Variant("鼠标"), Variant::Wide("内存")}), Variant(12)});
    Variant out = converter.ToUI(nested);
    EXPECT_EQ(out[0].ToString(), "軟體");
    EXPECT_EQ(out[1][0].ToString(), "滑鼠");
    EXPECT_EQ(out[1][1].Type(), VarType::WideString);
    EXPECT_EQ(out[1][1].ToString(), "記憶體");
    EXPECT_EQ(out[2].Type(), VarType::String);  // a number comes back as its text
    EXPECT_EQ(nested[0].ToString(), "软件");     // the input is a value, untouched

    Variant withNull = VarArrayOf({Variant("软件"), Variant(Null)});
    EXPECT_THROW(converter.ToUI(withNull), EVariantError);

    Variant grid = VarArrayCreate({0, 1, 1, 2});
    grid.At({0, 1}) = Variant("打印机");
    grid.At({1, 1}) = Variant(Null);
    grid.At({0, 2}) = VarArrayOf({Variant("网络")});
    Variant g = converter.ToUI(grid);
    EXPECT_EQ(g.At({0, 1}).ToString(), "印表機");
    EXPECT_TRUE(g.At({1, 1}).IsNull());
    EXPECT_TRUE(g.At({1, 2}).IsEmpty() || g.At({1, 2}) == Variant(0));
    EXPECT_EQ(g.At({0, 2})[0].ToString(), "網路");

    Variant cube = VarArrayCreate({0, 0, 0, 0, 0, 0});
    cube.At({0, 0, 0}) = Variant("软件");
    EXPECT_EQ(converter.ToUI(cube).At({0, 0, 0}).ToString(), "软件");  // more dimensions are copied

    EXPECT_TRUE(converter.ToUI(Variant(Null)).IsNull());
    EXPECT_EQ(converter.ConvertVariant(3, Variant("软件")).ToString(), "软件");
    EXPECT_EQ(converter.ConvertVariant(1, Variant("軟體")).ToString(), "软件");
}

TEST(CodeConverterValues, InverseDirectionsNeverFail) {
    TCodeConverter db(nullptr, Profile(2, "936", "950", 2));
    EXPECT_EQ(db.UIToData(Variant("軟體")).ToString(), "软件");  // screen BIG5 -> database GB
    EXPECT_EQ(db.DataToUI(Variant("软件")).ToString(), "軟體");
    EXPECT_EQ(db.FromUI(Variant("滑鼠")).ToString(), "鼠标");
    Variant withNull = VarArrayOf({Variant("軟體"), Variant(Null)});
    EXPECT_EQ(db.UIToData(withNull), withNull);
    EXPECT_EQ(db.FromUI(withNull), withNull);

    TCodeConverter none(nullptr, Profile(2, "936", "950", 0));
    EXPECT_EQ(none.UIToData(Variant("軟體")).ToString(), "軟體");
    TCodeConverter fontsOnly(nullptr, Profile(4, "950"));
    EXPECT_EQ(fontsOnly.FromUI(Variant("軟體")).ToString(), "軟體");
}

TEST(CodeConverterValues, MissingLibraryStopsCreation) {
    TConverterProfile p = Profile(2);
    p.TranslatorLibrary = "ZbNoSuchLanguage.dll";
    try {
        TCodeConverter converter(nullptr, p);
        FAIL() << "created without its library";
    } catch (const Exception& e) {
        EXPECT_EQ(e.Message(), "Load Library ZbNoSuchLanguage.dll Error!");
    }
    p.UIConvertMode = 0;  // not needed, not loaded
    EXPECT_NO_THROW(TCodeConverter(nullptr, p));
}

TEST_F(CodeConverterTest, MessageDialogs) {
    struct Case {
        const char *sys, *ui;
        int mode;
        const char* text;
        int charset;
    } cases[] = {
        {"936", "936", 0, "作业完成      ", 134},
        {"950", "936", 4, "作业完成      ", 134},
        {"950", "950", 2, "作业完成", 136},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.ui);
        TCodeConverter converter(form, Profile(c.mode, c.sys, c.ui));
        form->SetWindowState(TWindowState::wsMinimized);
        EXPECT_EQ(converter.MessageDialog("作业完成", TMsgDlgType::mtInformation, mbOKCancel), mrOk);
        const TDialogRequest& d = HeadlessDialogs().Last();
        EXPECT_EQ(d.Text, c.text);
        EXPECT_EQ(d.Caption, "作业");
        EXPECT_EQ(d.FontName, "SimSun");
        EXPECT_EQ(d.FontCharset, c.charset);
        EXPECT_EQ(form->WindowState(), TWindowState::wsNormal);
    }
    HeadlessDialogs().Clear();
    EXPECT_EQ(TCodeConverter(form, Profile(0)).MessageDialog("", TMsgDlgType::mtError, mbOKOnly), 0);
    EXPECT_TRUE(HeadlessDialogs().Requests().empty());
}

}  // namespace
}  // namespace zb
