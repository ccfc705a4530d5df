// Colours, fonts, bitmaps; mask-edit texts; the behaviour of the standard
// controls and buttons that forms rely on.
#include <gtest/gtest.h>

#include <memory>

#include "platform/core/TextUtils.h"
#include "platform/core/TypInfo.h"
#include "platform/ui/Buttons.h"
#include "platform/ui/ExtCtrls.h"
#include "platform/ui/Forms.h"
#include "platform/ui/Mask.h"
#include "support/TestSupport.h"

namespace zb {
namespace {

using FormPtr = std::unique_ptr<TForm, FreeObject>;
FormPtr NewForm() { return FormPtr(TCustomForm::Create<TForm>(nullptr)); }

TEST(GraphicsTest, ColourNamesAndNumbers) {
    struct Case {
        const char* text;
        TColor color;
        const char* back;
    };
    for (Case c : {Case{"clRed", clRed, "clRed"}, Case{"CLBTNFACE", clBtnFace, "clBtnFace"},
                   Case{"$00FF0000", clBlue, "clBlue"}, Case{"$00123456", 0x123456, "$00123456"},
                   Case{"255", clRed, "clRed"}, Case{"-16777201", clBtnFace, "clBtnFace"},
                   Case{"clLtGray", clSilver, "clSilver"}, Case{"clInfoBk", clInfoBk, "clInfoBk"}}) {
        EXPECT_EQ(StringToColor(c.text), c.color) << c.text;
        EXPECT_EQ(ColorToString(c.color), c.back) << c.text;
    }
    for (const char* bad : {"", "clNoSuch", "$", "12x", "$1FFFFFFFF"}) EXPECT_THROW(StringToColor(bad), EConvertError) << bad;
    EXPECT_EQ(ColorToRGB(clWindow), clWhite);
    EXPECT_EQ(ColorToRGB(clRed), clRed);
}

TEST(GraphicsTest, FontSizeHeightAndTextMetrics) {
    TFont font;
    int changes = 0;
    font.OnChange = [&](TObject*) { ++changes; };
    font.SetHeight(-13);
    EXPECT_EQ(font.Size(), 10);
    font.SetSize(9);
    EXPECT_EQ(font.Height(), -12);
    EXPECT_EQ(changes, 2);
    font.SetSize(9);
    EXPECT_EQ(changes, 2) << "no change, no notification";
    font.SetHeight(-13);
    EXPECT_EQ(TextWidth(font, "abcd"), 26);
    EXPECT_EQ(TextWidth(font, "abc"), 19) << "half widths add up before rounding";
    EXPECT_EQ(TextWidth(font, "后台处理"), 52);
    EXPECT_EQ(TextWidth(font, ""), 0);
    EXPECT_EQ(TextHeight(font, "x"), 13);
    TFont copy;
    copy.Assign(&font);
    EXPECT_TRUE(copy.Equals(font));
}

TEST(GraphicsTest, BitmapRoundTripAndTransparentColour) {
    TBitmap b(3, 2);
    b.SetPixel(0, 0, clRed);
    b.SetPixel(2, 0, clBlue);
    b.SetPixel(0, 1, clFuchsia);  // bottom left
    b.SetPixel(1, 1, RGB(1, 2, 3));
    EXPECT_EQ(b.TransparentColor(), clFuchsia);
    std::string bytes = b.SaveToBytes();
    EXPECT_EQ(bytes.size(), 54u + 2 * 12) << "rows padded to four bytes";
    TBitmap back;
    back.LoadFromBytes(bytes);
    EXPECT_TRUE(back.Equals(b));
    EXPECT_EQ(back.Pixel(1, 1), RGB(1, 2, 3));
    EXPECT_EQ(back.Pixel(3, 0), clNone);

    test::TempDir dir;
    b.SaveToFile(dir.Path() / "g.bmp");
    TBitmap fromFile;
    fromFile.LoadFromFile(dir.Path() / "g.bmp");
    EXPECT_TRUE(fromFile.Equals(b));
    EXPECT_THROW(fromFile.LoadFromFile(dir.Path() / "none.bmp"), EInvalidGraphic);
    EXPECT_EQ(TBitmap().TransparentColor(), clNone);
}

TEST(GraphicsTest, BitmapReadsPalettedAndTopDownAndRefusesBrokenFiles) {
    // A 2x2 top-down 8-bit picture with a two-colour palette.
    std::string bmp = "BM";
    auto put32 = [&](std::uint32_t v) { for (int i = 0; i < 4; ++i) bmp.push_back(static_cast<char>(v >> (8 * i))); };
    auto put16 = [&](std::uint16_t v) { bmp.push_back(static_cast<char>(v)); bmp.push_back(static_cast<char>(v >> 8)); };
    put32(0); put32(0); put32(54 + 8);
    put32(40); put32(2); put32(static_cast<std::uint32_t>(-2)); put16(1); put16(8); put32(0); put32(0);
    put32(0); put32(0); put32(2); put32(0);
    bmp += std::string("\x00\x00\xFF\x00", 4) + std::string("\x00\xFF\x00\x00", 4);  // red, green (BGRX)
    bmp += std::string("\x00\x01\x00\x00", 4) + std::string("\x01\x01\x00\x00", 4);
    TBitmap b;
    b.LoadFromBytes(bmp);
    EXPECT_EQ(b.Pixel(0, 0), clRed);
    EXPECT_EQ(b.Pixel(1, 0), clLime);
    EXPECT_EQ(b.Pixel(0, 1), clLime);
    EXPECT_EQ(b.TransparentColor(), clLime);

    std::string bad = bmp;
    bad[bad.size() - 4] = 7;  // a colour index beyond the palette
    std::string huge = bmp;
    huge[18] = '\xFF'; huge[19] = '\xFF'; huge[20] = '\xFF'; huge[21] = '\x7F';
    for (const std::string& broken : {std::string(), std::string("BM"), bmp.substr(0, 60), bad, huge,
                                      std::string("GIF89a") + std::string(60, '\0')})
        EXPECT_THROW(b.LoadFromBytes(broken), EInvalidGraphic);
    EXPECT_EQ(b.Width(), 2) << "a failed read leaves the picture as it was";
}

TEST(MaskTest, TextsOfDateMasks) {
    struct Case {
        const char* mask;
        const char* typed;  // characters typed into the empty field
        const char* editText;
        const char* text;
    };
    for (Case c : {
             Case{"9999/99/99;1; ", "", "    /  /  ", "    /  /  "},
             Case{"9999/99/99;1; ", "20240105", "2024/01/05", "2024/01/05"},
             Case{"9999/99/99;1; ", "2024", "2024/  /  ", "2024/  /  "},
             Case{"99/99/9999;1; ", "01052024", "01/05/2024", "01/05/2024"},
             Case{"999/99/99;1; ", "1130105", "113/01/05", "113/01/05"},
             Case{"99/99/99;1; ", "130105", "13/01/05", "13/01/05"},
             Case{"9999/99;1; ", "202401", "2024/01", "2024/01"},
             Case{"9999/99;1; ", "", "    /  ", "    /  "},
             Case{"9999/99/99;0; ", "20240105", "2024/01/05", "20240105"},
             Case{"9999/99/99;0; ", "2024", "2024/  /  ", "2024"},
             Case{"9999/99/99;0; ", "", "    /  /  ", ""},
             Case{"!9999/99/99;1;_", "", "____/__/__", "    /  /  "},
             Case{"!9999/99/99;1;_", "2024/01", "2024/01/__", "2024/01/  "},
             Case{"9999-99-99;1;_", "2x0a24", "2024-__-__", "2024-  -  "},
             Case{">LL-000;1;_", "ab123", "AB-123", "AB-123"},
             Case{"aaa;0;*", "a1", "a1*", "a1"},
         }) {
        auto form = NewForm();
        auto* e = Make<TMaskEdit>(form.get(), form.get(), "me", 0, 0, 80, 21);
        e->SetEditMask(c.mask);
        EXPECT_EQ(e->EditText(), TEditMask(c.mask).EmptyEditText()) << c.mask;
        e->TypeText(c.typed);
        EXPECT_EQ(e->EditText(), c.editText) << c.mask << " typed " << c.typed;
        EXPECT_EQ(e->Text(), c.text) << c.mask << " typed " << c.typed;
        EXPECT_EQ(GetPropValue(*e, "Text").ToString(), c.text);
    }
}

TEST(MaskTest, SettingTextsEditingAndChangingMasks) {
    auto form = NewForm();
    auto* e = Make<TMaskEdit>(form.get(), form.get(), "me", 0, 0, 80, 21);
    int changes = 0;
    e->OnChange = [&](TObject*) { ++changes; };
    e->SetEditMask("9999/99/99;1; ");
    e->SetText("2024/01/05");
    EXPECT_EQ(e->EditText(), "2024/01/05");
    e->SetText("");
    EXPECT_EQ(e->Text(), "    /  /  ") << "an emptied field shows the literals and blanks";
    e->SetText("20x4/1");
    EXPECT_EQ(e->EditText(), "20 4/1 /  ") << "what does not fit a position is a blank";
    EXPECT_GT(changes, 0);

    // Backspace and Delete blank positions and step over literals.
    e->SetText("2024/01/05");
    e->SetSelStart(5);
    char bs = 8;
    e->KeyPress(bs);
    EXPECT_EQ(e->EditText(), "202 /01/05");
    EXPECT_EQ(e->SelStart(), 3);
    Word del = VK_DELETE;
    e->KeyDown(del, 0);
    EXPECT_EQ(e->EditText(), "202 /01/05") << "the caret was on a blank already";
    e->SetSelStart(0);
    e->SetSelLength(10);
    e->TypeText("1999");
    EXPECT_EQ(e->EditText(), "1999/  /  ");

    // Literals not stored: Text is the typed characters, and setting it fills the positions.
    e->SetEditMask("9999/99/99;0; ");
    EXPECT_EQ(e->Text(), "1999");
    e->SetText("20240105");
    EXPECT_EQ(e->EditText(), "2024/01/05");
    e->SetEditMask("9999/99/99;1; ");
    EXPECT_EQ(e->Text(), "2024/01/05") << "the typed characters keep their places";
    e->SetEditMask("");
    EXPECT_FALSE(e->IsMasked());
    EXPECT_EQ(e->Text(), "2024/01/05");

    // The blank picture of a field with literals stored, found by switching
    // the literal flag off, emptying and switching it back on.
    e->SetText("2024/01/05");
    e->SetEditMask("9999/99/99;0; ");
    e->SetText("");
    e->SetEditMask("9999/99/99;1; ");
    EXPECT_EQ(e->Text(), "    /  /  ");
    e->SetEditMask("!9999/99/99;1;_");
    EXPECT_EQ(e->EditText(), "____/__/__");

    EXPECT_EQ(FormatMaskText("9999/99/99;0; ", "20240105"), "20240105");
    EXPECT_EQ(FormatMaskText("9999/99/99;1; ", "20240105"), "2024/01/05");
}

TEST(MaskTest, StrayBytesInMasksAndTextsStayOnePositionEach) {
    // Two stray bytes as literals, then two digits: four positions, and no
    // two positions ever join into one character.
    TEditMask mask("\xE4\xCD" "99;1;_");
    ASSERT_EQ(mask.Cells().size(), 4u);
    EXPECT_EQ(Utf8Length(mask.EmptyEditText()), 4u);
    EXPECT_TRUE(IsValidUtf8(mask.EmptyEditText()));
    TMaskEdit edit;
    edit.SetEditMask("cc;1;_");
    edit.TypeText("\xE6\x96x");
    EXPECT_TRUE(IsValidUtf8(edit.EditText()));
    EXPECT_EQ(Utf8Length(edit.EditText()), 2u);
}

TEST(MaskTest, RequiredPositionsAreCheckedWhenLeavingTheField) {
    auto form = NewForm();
    auto* e = Make<TMaskEdit>(form.get(), form.get(), "me", 0, 0, 80, 21);
    auto* other = Make<TEdit>(form.get(), form.get(), "other", 0, 30, 80, 21);
    e->SetEditMask("0000;1;_");
    form->Show();
    e->SetFocus();
    e->TypeText("12");
    EXPECT_THROW(other->SetFocus(), EDBEditError);
    EXPECT_TRUE(e->Focused());
    e->TypeText("34");
    other->SetFocus();
    EXPECT_TRUE(other->Focused());
    e->SetText("");
    EXPECT_NO_THROW(e->ValidateEdit()) << "an empty field passes";
}

TEST(StdCtrlsTest, EditTypingCaretMaxLengthAndReadOnly) {
    auto form = NewForm();
    auto* e = Make<TEdit>(form.get(), form.get(), "ed", 0, 0, 80, 21);
    std::vector<std::string> seen;
    e->OnChange = [&](TObject*) { seen.push_back(e->Text()); };
    e->TypeText("ab中c");
    EXPECT_EQ(e->Text(), "ab中c");
    EXPECT_EQ(e->SelStart(), 4);
    Word left = VK_LEFT;
    e->KeyDown(left, 0);
    char bs = 8;
    e->KeyPress(bs);
    EXPECT_EQ(e->Text(), "abc");
    EXPECT_EQ(seen.size(), 5u);
    e->SetMaxLength(4);
    e->SetSelStart(3);
    e->TypeText("xyz");
    EXPECT_EQ(e->Text(), "abcx");
    e->SetReadOnly(true);
    e->TypeText("q");
    EXPECT_EQ(e->Text(), "abcx");
    e->SetCharCase(TEditCharCase::ecUpperCase);
    EXPECT_EQ(e->Text(), "ABCX");
}

TEST(StdCtrlsTest, MemoLinesTextAndCaretLine) {
    auto form = NewForm();
    auto* m = Make<TMemo>(form.get(), form.get(), "memo", 0, 0, 80, 80);
    m->Lines()->Add("one");
    m->Lines()->Add("two");
    EXPECT_EQ(m->Text(), "one\r\ntwo");
    m->SetText("a\r\nb\r\nc");
    EXPECT_EQ(m->Lines()->Count(), 3);
    EXPECT_EQ(m->Lines()->Strings(2), "c");
    m->SetSelStart(4);
    EXPECT_EQ(m->CaretPos(), (TPoint{1, 1}));
    m->SetCaretPos({0, 2});
    EXPECT_EQ(m->LineFromChar(m->SelStart()), 2);
    // Enter stays in the memo and breaks the line.
    form->Show();
    m->SetFocus();
    m->SetSelStart(m->Length());
    m->PressKey(VK_RETURN);
    EXPECT_EQ(m->Lines()->Count(), 4);
    EXPECT_TRUE(m->Focused());
    auto* lines = dyn_cast<TStrings>(GetObjectProp(*m, *GetPropInfo(m, "Lines")));
    ASSERT_NE(lines, nullptr);
    EXPECT_EQ(lines->Strings(0), "a");
}

TEST(StdCtrlsTest, ComboBoxItemsIndexTextAndStyle) {
    auto form = NewForm();
    auto* cb = Make<TComboBox>(form.get(), form.get(), "cbo", 0, 0, 80, 21);
    cb->Items()->SetCommaText("甲,乙,丙");
    int changes = 0, selects = 0;
    cb->OnChange = [&](TObject*) { ++changes; };
    cb->OnSelect = [&](TObject*) { ++selects; };
    cb->SetItemIndex(1);
    EXPECT_EQ(cb->Text(), "乙");
    EXPECT_EQ(changes, 0) << "setting ItemIndex in code raises nothing";
    cb->Select(2);
    EXPECT_EQ(cb->Text(), "丙");
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(selects, 1);
    cb->SetItemIndex(7);
    EXPECT_EQ(cb->ItemIndex(), -1);
    EXPECT_EQ(cb->Text(), "");
    cb->SetText("free text");
    EXPECT_EQ(cb->Text(), "free text");
    cb->SetStyle(TComboBoxStyle::csDropDownList);
    EXPECT_EQ(cb->Text(), "") << "a drop-down list holds only items";
    cb->SetText("甲");
    EXPECT_EQ(cb->ItemIndex(), 0);
    cb->Items()->Clear();
    EXPECT_EQ(cb->ItemIndex(), -1);
    SetPropValue(*cb, "Style", Variant(std::string("csDropDown")));
    EXPECT_EQ(cb->Style(), TComboBoxStyle::csDropDown);
}

TEST(StdCtrlsTest, CheckAndRadioButtonsRaiseClickOnChangeOnly) {
    auto form = NewForm();
    auto* chk = Make<TCheckBox>(form.get(), form.get(), "chk", 0, 0, 80, 17);
    auto* panel = Make<TPanel>(form.get(), form.get(), "pnl", 0, 20, 200, 100);
    auto* r1 = Make<TRadioButton>(form.get(), panel, "r1", 0, 0, 80, 17);
    auto* r2 = Make<TRadioButton>(form.get(), panel, "r2", 0, 20, 80, 17);
    auto* outside = Make<TRadioButton>(form.get(), form.get(), "r3", 0, 0, 80, 17);
    int chkClicks = 0, r1Clicks = 0, r2Clicks = 0;
    chk->OnClick = [&](TObject*) { ++chkClicks; };
    r1->OnClick = [&](TObject*) { ++r1Clicks; };
    r2->OnClick = [&](TObject*) { ++r2Clicks; };
    chk->SetChecked(true);
    chk->SetChecked(true);
    EXPECT_EQ(chkClicks, 1);
    chk->Click();
    EXPECT_FALSE(chk->Checked());
    EXPECT_EQ(chkClicks, 2);
    SetPropValue(*chk, "Checked", Variant(true));
    EXPECT_TRUE(chk->Checked());

    outside->SetChecked(true);
    r1->SetChecked(true);
    r2->Click();
    EXPECT_FALSE(r1->Checked());
    EXPECT_TRUE(r2->Checked());
    EXPECT_TRUE(outside->Checked()) << "another parent, another group";
    EXPECT_EQ(r1Clicks, 1);
    EXPECT_EQ(r2Clicks, 1);
    r2->SetChecked(true);
    EXPECT_EQ(r2Clicks, 1);
}

TEST(ButtonsTest, BitButtonKindsAndGlyphs) {
    auto form = NewForm();
    auto* ok = Make<TBitBtn>(form.get(), form.get(), "btnOk", 0, 0, 75, 25);
    ok->SetKind(TBitBtnKind::bkOK);
    EXPECT_EQ(ok->ModalResult(), mrOk);
    EXPECT_TRUE(ok->Default());
    ok->Glyph()->SetSize(32, 16);
    ok->SetNumGlyphs(2);
    EXPECT_THROW(ok->SetNumGlyphs(5), EInvalidOperation);
    ok->Click();
    EXPECT_EQ(form->ModalResult(), mrOk);
    EXPECT_EQ(GetPropValue(*ok, "Kind").ToString(), "bkOK");
    auto* close = Make<TBitBtn>(form.get(), form.get(), "btnClose", 0, 30, 75, 25);
    close->SetKind(TBitBtnKind::bkClose);
    form->Show();
    close->Click();
    EXPECT_FALSE(form->Visible());
}

TEST(ButtonsTest, SpeedButtonGroupsLatch) {
    auto form = NewForm();
    auto* a = Make<TSpeedButton>(form.get(), form.get(), "a", 0, 0, 23, 22);
    auto* b = Make<TSpeedButton>(form.get(), form.get(), "b", 25, 0, 23, 22);
    auto* plain = Make<TSpeedButton>(form.get(), form.get(), "p", 50, 0, 23, 22);
    a->SetGroupIndex(1);
    b->SetGroupIndex(1);
    int clicks = 0;
    b->OnClick = [&](TObject*) { ++clicks; };
    a->Click();
    EXPECT_TRUE(a->Down());
    b->Click();
    EXPECT_FALSE(a->Down());
    EXPECT_TRUE(b->Down());
    b->Click();
    EXPECT_TRUE(b->Down()) << "the group keeps one down without AllowAllUp";
    EXPECT_EQ(clicks, 2);
    a->SetAllowAllUp(true);
    b->Click();
    EXPECT_FALSE(b->Down());
    plain->SetDown(true);
    EXPECT_FALSE(plain->Down()) << "no group, no latching";
    plain->SetFlat(true);
    EXPECT_TRUE(GetPropValue(*plain, "Flat").ToBool());
    b->SetEnabled(false);
    b->Click();
    EXPECT_EQ(clicks, 3 - 0) << "a disabled button ignores the press";
}

TEST(ExtCtrlsTest, SplitterResizesItsNeighbourNotBelowMinSize) {
    auto form = NewForm();
    form->SetBounds(0, 0, 400, 300);
    auto* left = Make<TPanel>(form.get(), form.get(), "left", 0, 0, 100, 10);
    left->SetAlign(TAlign::alLeft);
    auto* split = Make<TSplitter>(form.get(), form.get(), "split", 100, 0, 3, 10);
    auto* rest = Make<TPanel>(form.get(), form.get(), "rest", 0, 0, 10, 10);
    rest->SetAlign(TAlign::alClient);
    EXPECT_EQ(split->Left(), 100);
    EXPECT_EQ(split->FindControl(), left);
    split->MoveBy(50);
    EXPECT_EQ(left->Width(), 150);
    EXPECT_EQ(split->Left(), 150);
    EXPECT_EQ(rest->Left(), 153);
    split->MoveBy(-1000);
    EXPECT_EQ(left->Width(), split->MinSize());
}

}  // namespace
}  // namespace zb
