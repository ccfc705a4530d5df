// Names of integer values per type: the standard colours and cursors, and
// tables registered for a type of one's own.
#include "platform/core/IntConsts.h"

#include <gtest/gtest.h>

namespace zb {
namespace {

TEST(IntConsts, StandardColoursAndCursorsWithoutCase) {
    std::int64_t v = 0;
    ASSERT_TRUE(IdentToInt("tcolor", "CLRED", v));
    EXPECT_EQ(v, 0x0000FF);
    ASSERT_TRUE(IdentToInt("TColor", "clBtnFace", v));
    EXPECT_EQ(v, static_cast<std::int32_t>(0xFF00000F));
    ASSERT_TRUE(IdentToInt("TCursor", "crHourGlass", v));
    EXPECT_EQ(v, -11);
    EXPECT_FALSE(IdentToInt("TColor", "clNoSuchColour", v));
    EXPECT_FALSE(IdentToInt("Integer", "clRed", v));
    std::string name;
    ASSERT_TRUE(IntToIdent("TColor", 0xFFFFFF, name));
    EXPECT_EQ(name, "clWhite");
    EXPECT_FALSE(IntToIdent("TColor", 0x123456, name));
}

TEST(IntConsts, OwnTablesReplaceAndGo) {
    static const IntIdents first = {{"bsNone", 0}, {"bsSingle", 1}};
    static const IntIdents second = {{"bsThick", 2}};
    RegisterIntegerConsts("TTestBorder", first);
    std::int64_t v = -1;
    EXPECT_TRUE(IdentToInt("TTestBorder", "bsSingle", v) && v == 1);
    RegisterIntegerConsts("TTESTBORDER", second);
    EXPECT_FALSE(IdentToInt("TTestBorder", "bsSingle", v));
    EXPECT_TRUE(IdentToInt("TTestBorder", "bsThick", v) && v == 2);
    UnregisterIntegerConsts("TTestBorder");
    EXPECT_FALSE(HasIntegerConsts("TTestBorder"));
}

}  // namespace
}  // namespace zb
