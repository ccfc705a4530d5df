#include <gtest/gtest.h>

#include "ControlsTestSupport.h"
#include "controls/F2Button.h"
#include "controls/GSpdBtn.h"
#include "controls/ZeRudU5.h"
#include "platform/core/TypInfo.h"

namespace zb::test {

ZB_PUBLISHED(TfrmHost){};

namespace {

using ButtonsTest = ControlsFixture;

TEST_F(ButtonsTest, GlyphLibraryHoldsTheFormsPicturesAsSquareStrips) {
    ASSERT_GE(GlyphMaxBmpID(), 47);
    for (int id : {4, 8, 9, 39, 47}) {
        TBitmap b;
        ASSERT_TRUE(GlyphLoadBmp(&b, id)) << id;
        EXPECT_EQ(b.Height(), 20);
        EXPECT_EQ(b.Width() % b.Height(), 0);
    }
    TBitmap none;
    EXPECT_FALSE(GlyphLoadBmp(&none, GlyphMaxBmpID() + 1));
    // The C interface refuses a buffer that is too small without writing.
    TLibrary lib("ZeRudU5.dll");
    ASSERT_TRUE(lib.Loaded()) << LastLibraryError();
    auto* load = lib.Proc<int(int, unsigned char*, int)>("LoadBmp");
    ASSERT_NE(load, nullptr);
    unsigned char tiny[4] = {1, 2, 3, 4};
    int size = load(8, tiny, sizeof tiny);
    EXPECT_GT(size, 54);
    EXPECT_EQ(tiny[0], 1);
}

TEST_F(ButtonsTest, GlyphIndexLoadsPictureCountsImagesAndShowsNumberWithoutPicture) {
    auto* b = Make<TGSpeedButton>(form, form, "b", 0, 0, 23, 23);
    b->SetGlyphIndex(4);  // a 40 x 20 strip
    EXPECT_EQ(b->NumGlyphs(), 2);
    EXPECT_EQ(b->Caption(), "");
    b->SetGlyphIndex(8);  // 20 x 20
    EXPECT_EQ(b->NumGlyphs(), 1);
    int loads = b->GlyphLoads();
    b->SetGlyphIndex(8);
    EXPECT_EQ(b->GlyphLoads(), loads);
    b->SetGlyphIndex(GlyphMaxBmpID() + 1);
    EXPECT_EQ(b->Caption(), std::to_string(GlyphMaxBmpID() + 1));
    EXPECT_TRUE(b->Glyph()->Empty());
    b->SetGlyphIndex(0);
    EXPECT_EQ(b->Caption(), "0");
    EXPECT_TRUE(HeadlessDialogs().Requests().empty());
    ASSERT_NE(GetPropInfo(b, "GlyphIndex"), nullptr);
    EXPECT_EQ(GetOrdProp(*b, *GetPropInfo(b, "GlyphIndex")), 0);
}

TEST_F(ButtonsTest, F2ButtonAlignsBesideItsControl) {
    auto* ed = Make<TEdit>(form, form, "ed", 100, 8, 85, 21);
    auto* btn = Make<TF2Button>(form, form, "btn", 0, 0, 10, 10);
    EXPECT_EQ(btn->GlyphIndex(), 8);
    EXPECT_TRUE(btn->Flat());
    btn->SetF2Control(ed);
    EXPECT_EQ(btn->BoundsRect(), Bounds(187, 8, 21, 21));
    btn->SetGap(5);
    EXPECT_EQ(btn->Left(), 190);
    btn->SetAutoAlign(false);
    ed->SetLeft(0);
    btn->SetGap(2);
    EXPECT_EQ(btn->Left(), 190);
}

TEST_F(ButtonsTest, F2ButtonClickFocusesControlAndAsksTheForm) {
    auto* ed = Make<TEdit>(form, form, "ed", 100, 8, 85, 21);
    auto* btn = Make<TF2Button>(form, form, "btn", 0, 0, 10, 10);
    int clicks = 0;
    btn->OnClick = [&](TObject*) { ++clicks; };
    btn->SetF2Control(ed);
    btn->Click();
    EXPECT_EQ(clicks, 1);
    ASSERT_EQ(form->picks.size(), 1u);
    EXPECT_EQ(form->picks[0], ed);
    EXPECT_TRUE(ed->Focused());

    for (auto hide : {0, 1}) {
        if (hide) {
            ed->SetEnabled(true);
            ed->SetVisible(false);
        } else {
            ed->SetEnabled(false);
        }
        btn->Click();
    }
    EXPECT_EQ(clicks, 3);
    EXPECT_EQ(form->picks.size(), 1u);
}

TEST_F(ButtonsTest, SecondF2ButtonForTheSameControlIsRefused) {
    auto* ed = Make<TEdit>(form, form, "ed", 100, 8, 85, 21);
    auto* a = Make<TF2Button>(form, form, "a", 0, 0, 10, 10);
    auto* b = Make<TF2Button>(form, form, "b", 0, 0, 10, 10);
    a->SetF2Control(ed);
    a->SetF2Control(ed);  // already served by itself: silent
    EXPECT_TRUE(HeadlessDialogs().Requests().empty());
    b->SetF2Control(ed);
    EXPECT_EQ(b->F2Control(), nullptr);
    ASSERT_EQ(HeadlessDialogs().Requests().size(), 1u);
    EXPECT_EQ(HeadlessDialogs().Last().Text, "不能同时有两个 F2Button 指到同一个 Edit.");
    // A freed control leaves no dangling binding.
    ed->Free();
    EXPECT_EQ(a->F2Control(), nullptr);
    a->Click();
    EXPECT_TRUE(form->picks.empty());
}

}  // namespace
}  // namespace zb::test
