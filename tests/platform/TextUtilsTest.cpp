// UTF-8 walking and cutting, ASCII case rules and trimming.
#include "platform/core/TextUtils.h"

#include <gtest/gtest.h>

#include <vector>

namespace zb {
namespace {

TEST(TextUtils, CountsAndCutsByCharacters) {
    EXPECT_EQ(Utf8Length("海关ab😀"), 5u);
    EXPECT_EQ(Utf8Length(""), 0u);
    EXPECT_EQ(Utf8Length("a\xE6\xB5"), 3u);  // each byte of a cut-short sequence counts
    EXPECT_EQ(Utf8Copy("海关数据采集", 2, 2), "数据");
    EXPECT_EQ(Utf8Copy("海关数据采集", 4), "采集");
    EXPECT_EQ(Utf8Copy("海关", 1, 99), "关");
    EXPECT_EQ(Utf8Copy("海关", 5, 1), "");
    EXPECT_EQ(Utf8Offset("a海b", 2), 4u);
}

TEST(TextUtils, IteratorYieldsCodePointsAndReplacesBadBytes) {
    std::string text = "a海\xFF😀";
    Utf8Iterator it(text);
    std::vector<char32_t> seen;
    std::vector<std::string> bytes;
    char32_t ch = 0;
    while (!it.AtEnd()) {
        bytes.emplace_back(it.Current());
        ASSERT_TRUE(it.Next(ch));
        seen.push_back(ch);
    }
    EXPECT_FALSE(it.Next(ch));
    EXPECT_EQ(seen, (std::vector<char32_t>{U'a', U'海', kReplacementChar, U'😀'}));
    EXPECT_EQ(bytes[1], "海");
    EXPECT_EQ(bytes[2], "\xFF");
}

TEST(TextUtils, WellFormedCheckRejectsWhatUnicodeForbids) {
    EXPECT_TRUE(IsValidUtf8("海关 ok \xF4\x8F\xBF\xBF"));
    for (const char* bad : {"\xC0\x80", "\xE0\x80\x80", "\xED\xA0\x80", "\xF4\x90\x80\x80", "\xF5", "\xE6\xB5"})
        EXPECT_FALSE(IsValidUtf8(bad)) << bad;
    std::string out;
    for (char32_t c : {U'A', U'é', U'海', U'😀', char32_t(0xD800), char32_t(0x110000)}) AppendUtf8(out, c);
    EXPECT_EQ(out, "Aé海😀\xEF\xBF\xBD\xEF\xBF\xBD");
}

TEST(TextUtils, CaseRulesTouchAsciiLettersOnly) {
    EXPECT_EQ(UpperCase("vtaj52c.so 海é"), "VTAJ52C.SO 海é");
    EXPECT_EQ(LowerCase("VTAJ52S.DLL"), "vtaj52s.dll");
    EXPECT_TRUE(SameText("Software\\ZEB", "SOFTWARE\\zeb"));
    EXPECT_FALSE(SameText("abc", "abcd"));
    EXPECT_LT(CompareText("abc", "ABD"), 0);
    EXPECT_GT(CompareText("b", "A"), 0);
    EXPECT_LT(CompareText("ab", "AB_"), 0);
    EXPECT_GT(CompareText("海", "z"), 0);  // bytes above ASCII compare unsigned
    EXPECT_TRUE(StartsText("hkey_", "HKEY_LOCAL_MACHINE"));
    EXPECT_TRUE(EndsText(".DLL", "x.dll"));
    EXPECT_FALSE(EndsText(".dll", "dll"));
}

TEST(TextUtils, TrimRemovesBlanksAndControlCharacters) {
    EXPECT_EQ(Trim(" \t\r\n 海 关\x01\x03 "), "海 关");
    EXPECT_EQ(TrimLeft("  a "), "a ");
    EXPECT_EQ(TrimRight("  a \x04"), "  a");
    EXPECT_EQ(Trim(" \x1F "), "");
}

}  // namespace
}  // namespace zb
