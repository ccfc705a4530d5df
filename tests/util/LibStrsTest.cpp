// Tests of the text, date and code-page helpers of LibStrs.
#include "util/LibStrs.h"

#include "platform/core/CodePage.h"
#include "platform/core/DateTime.h"
#include "platform/core/Exceptions.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace zb {
namespace {

const std::string kGbZhong = "\xD6\xD0";        // 中 in code page 936
const std::string kUtf8Zhong = "\xE4\xB8\xAD";  // 中

TEST(LibStrs, DelimitedFields)
{
    struct Case {
        std::string text, delimiter;
        int index;
        std::string field;
    } cases[] = {
        {"a;b;c", ";", 1, "a"},     {"a;b;c", ";", 2, "b"},   {"a;b;c", ";", 3, "c"}, {"a;b;c", ";", 4, ""},
        {"a;b;c", ";", 0, ""},      {"a;b;c", ";", -1, ""},   {"a;", ";", 1, "a"},    {"a;", ";", 2, ""},
        {"abc", ";", 1, "abc"},     {"", ";", 1, ""},         {";x", ";", 1, ""},     {";x", ";", 2, "x"},
        {"a\x03\x03" "c", "\x03", 3, "c"}, {"a<>b<>c", "<>", 2, "b"}, {"abc", "", 1, "abc"}, {"abc", "", 2, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text + " / " + c.delimiter + " / " + std::to_string(c.index));
        EXPECT_EQ(GetDelimitedField(c.text, c.delimiter, c.index), c.field);
    }

    struct Count {
        std::string text;
        int count;
    } counts[] = {{"", 0}, {"a", 1}, {"abc", 1}, {"a;b", 2}, {"a;", 2}, {";", 2}, {"a;b;c", 3}, {";;;", 4}};
    for (const Count& c : counts)
        EXPECT_EQ(CountDelimitedFields(c.text, ";"), c.count) << c.text;
    EXPECT_EQ(CountDelimitedFields("abc", ""), 1);
}

TEST(LibStrs, CutFirstFieldConsumesTheText)
{
    std::string text = "a;b;;c";
    std::vector<std::string> heads;
    while (!text.empty())
        heads.push_back(CutFirstField(text, ";"));
    EXPECT_EQ(heads, (std::vector<std::string>{"a", "b", "", "c"}));

    text = "whole";
    EXPECT_EQ(CutFirstField(text, ""), "whole");  // no delimiter: the loop above ends
    EXPECT_EQ(text, "");
}

TEST(LibStrs, ReplaceAllText)
{
    struct Case {
        std::string text, oldText, newText;
        bool trim;
        std::string result;
    } cases[] = {
        {"a-b-c", "-", "+", false, "a+b+c"},
        // Occurrences a replacement creates are replaced too.
        {"aabb", "ab", "a", false, "aa"},
        {"xaaaab", "aab", "b", false, "xb"},
        {"x;;;;y", ";;", ";", false, "x;y"},
        // A change of case alone is never made.
        {"abc abc", "abc", "ABC", false, "abc abc"},
        {"  a_b \r\n", "_", " ", true, "a b"},
        {"  keep  ", "abc", "ABC", true, "keep"},
        {"abc", "", "x", false, "abc"},
        {"", "a", "b", false, ""},
        // A new text holding the old one: each original occurrence once.
        {"a.b.c", ".", "..", false, "a..b..c"},
        {"ab", "ab", "xaby", false, "xaby"},
        {"%s%d", "%", "%%", false, "%%s%%d"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text + " : " + c.oldText + " -> " + c.newText);
        EXPECT_EQ(ReplaceAllText(c.text, c.oldText, c.newText, c.trim), c.result);
    }
}

TEST(LibStrs, ReplaceAllTextStaysLinearOnLongTexts)
{
    // Each replacement creates the next occurrence; the search from the start
    // must not make this quadratic.
    const std::string text = std::string(200000, 'a') + std::string(200000, 'b');
    EXPECT_EQ(ReplaceAllText(text, "ab", "", false), "");
}

TEST(LibStrs, JoinCountedArray)
{
    EXPECT_EQ(JoinCountedArray("P", VarArrayOf({2, "x", Variant::Wide("y")})), "P\x03" "2\x03x\x03y\x03");
    EXPECT_EQ(JoinCountedArray("", VarArrayOf({0})), "\x03" "0\x03");
    // Slots beyond the count are not read.
    EXPECT_EQ(JoinCountedArray("Q", VarArrayOf({1, "x", 5})), "Q\x03" "1\x03x\x03");
    EXPECT_THROW(JoinCountedArray("P", VarArrayOf({2, "x", 3})), EVariantError);
    EXPECT_THROW(JoinCountedArray("P", VarArrayOf({3, "x", "y"})), EVariantError);
    EXPECT_THROW(JoinCountedArray("P", Variant("x")), EVariantError);
}

TEST(LibStrs, SmallTextHelpers)
{
    EXPECT_TRUE(IsLoopbackAddress("127.0.0.1"));
    for (const char* other : {"localhost", "127.0.0.2", " 127.0.0.1", "127.0.0.1 ", ""})
        EXPECT_FALSE(IsLoopbackAddress(other)) << other;

    struct Case {
        std::string text;
        double value;
    } cases[] = {{"1.5", 1.5}, {"-2", -2}, {" 3.25 ", 3.25}, {"+4", 4}, {"1e3", 1000},  {"1,5", -1},
                 {"", -1},     {"1.5x", -1}, {"inf", -1},    {"nan", -1}, {"1.2.3", -1}, {"--1", -1}};
    for (const Case& c : cases)
        EXPECT_DOUBLE_EQ(TextToFloatDef(c.text, -1), c.value) << c.text;

    test::TempDir dir;
    std::filesystem::create_directory(dir.Path() / "real");
    std::filesystem::create_directory_symlink(dir.Path() / "real", dir.Path() / "link");
    {
        test::EnvGuard tmp("TMPDIR", (dir.Path() / "link").string());
        EXPECT_EQ(GetLongTempPath(), std::filesystem::canonical(dir.Path() / "real").string() + "/");
    }
    test::EnvGuard missing("TMPDIR", (dir.Path() / "missing").string());
    EXPECT_EQ(GetLongTempPath(), "");
}

TEST(LibStrs, DateToOrderTexts)
{
    const double march1 = EncodeDate(2024, 3, 1);
    const double old = EncodeDate(1920, 7, 9);
    struct Case {
        int code;
        std::string sep;
        double date;
        std::string full, yearMonth;
    } cases[] = {
        {1, "/", march1, "2024/03/01", "2024/03"}, {2, "-", march1, "03-01-2024", "03-2024"},
        {3, "/", march1, "01/03/2024", "03/2024"}, {4, "/", march1, "113/03/01", "113/03"},
        {5, ".", march1, "113.03.01", "113.03"},   {4, "/", old, "09/07/09", "09/07"},
        {5, "/", old, "009/07/09", "009/07"},      {1, "", march1, "20240301", "202403"},
        {1, "-/", march1, "2024-03-01", "2024-03"}, {1, "年", march1, "2024年03年01", "2024年03"},
        {0, "/", march1, "", ""},                  {6, "/", march1, "", ""},
        {1, "/", 0, "", ""},                       {1, "/", 1e9, "", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.code) + " " + c.sep + " " + std::to_string(c.date));
        EXPECT_EQ(DateToOrderText(c.code, c.sep, c.date), c.full);
        EXPECT_EQ(DateToOrderYearMonth(c.code, c.sep, c.date), c.yearMonth);
    }
}

TEST(LibStrs, OrderTextToDate)
{
    struct Case {
        std::string text;
        int code;
        std::string sep;
        double date;
    } cases[] = {
        {"2024/02/01", 1, "/", EncodeDate(2024, 2, 1)},
        {"02/01/2024", 2, "/", EncodeDate(2024, 2, 1)},
        {"01/02/2024", 3, "/", EncodeDate(2024, 2, 1)},
        {"113/02/01", 4, "/", EncodeDate(2024, 2, 1)},
        {"113.02.01", 5, ".", EncodeDate(2024, 2, 1)},
        {" 2024 / 2 / 1 ", 1, "/", EncodeDate(2024, 2, 1)},
        {"2024/02/30", 1, "/", EncodeDate(2024, 3, 1)},  // the day runs on past the month
        {"2024/02/01/junk", 1, "/", EncodeDate(2024, 2, 1)},
        {"2024//05", 1, "/", 0},
        {"2024/13/01", 1, "/", 0},
        {"2024/02", 1, "/", 0},
        {"2024/0x/01", 1, "/", 0},
        {"2024/02/01", 6, "/", 0},
        {"2024/02/01", 0, "/", 0},
        {"2024/-2/01", 1, "/", 0},
        {"99999/02/01", 1, "/", 0},  // beyond a 16-bit number
        {"", 1, "/", 0},
        {"20240201", 1, "", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text + " code " + std::to_string(c.code));
        EXPECT_DOUBLE_EQ(OrderTextToDate(c.text, c.code, c.sep), c.date);
    }
}

TEST(LibStrs, YmdTexts)
{
    EXPECT_DOUBLE_EQ(YmdToDate("20240115"), EncodeDate(2024, 1, 15));
    for (const char* bad : {"20240230", "2024011", "202401150", "2024-1-5", "00000101", "2024ab15", "", "99999999"})
        EXPECT_DOUBLE_EQ(YmdToDate(bad), 0) << bad;

    struct Case {
        std::string text;
        bool valid;
    } cases[] = {
        {"", true},          {"20240229", true},  {"20230229", false}, {"17521231", false}, {"17530101", true},
        {"99991231", true},  {"20241301", false}, {"2024ab01", false}, {"abcdefgh", false},
        // The length is not checked: the day is what characters 7 and 8 hold.
        {"2024011", true},   {"202401011", true}, {"202401", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(IsValidYmd(c.text), c.valid) << c.text;

    EXPECT_EQ(DaysInMonth(1900, 2), 28);
    EXPECT_EQ(DaysInMonth(2000, 2), 29);
    EXPECT_EQ(DaysInMonth(2024, 2), 29);
    EXPECT_EQ(DaysInMonth(2023, 4), 30);
    EXPECT_EQ(DaysInMonth(2023, 12), 31);
    EXPECT_EQ(DaysInMonth(2023, 13), 0);
    EXPECT_EQ(DaysInMonth(2023, 0), 0);
}

TEST(LibStrs, ShiftYmd)
{
    struct Case {
        Variant value;
        std::string unit;
        int n;
        std::string result;
    } cases[] = {
        {Variant("20240131"), "M", 1, "20240229"},
        {Variant("20230131"), "M", 1, "20230228"},
        {Variant("20240229"), "Y", 1, "20240229"},  // no 29 February in 2025: unshifted
        {Variant("20240229"), "Y", 4, "20280229"},
        {Variant("20240115"), "m", -13, "20221215"},
        {Variant("20241215"), "M", 1, "20250115"},
        {Variant("20240115"), "M", -1, "20231215"},
        {Variant("20240331"), "M", -1, "20240229"},
        {Variant("20240101"), "D", -1, "20231231"},
        {Variant("20240115"), "d", 0, "20240115"},
        {Variant::Wide("20240115"), "D", 20, "20240204"},
        {Variant::Date(EncodeDate(2024, 1, 15) + 0.75), "D", 1, "20240116"},
        {Variant("20240115"), "W", 1, ""},
        {Variant("2024011"), "D", 1, ""},
        {Variant(20240115), "D", 1, ""},
        {Variant(), "D", 1, ""},
        {Variant::Date(0), "D", 1, ""},
        {Variant("99991231"), "D", 1, ""},
        {Variant("00010115"), "M", -1, ""},  // before the calendar: no endless search for a day
        {Variant("20240115"), "M", 2000000000, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.value.ToJson() + " " + c.unit + " " + std::to_string(c.n));
        EXPECT_EQ(ShiftYmd(c.value, c.unit, c.n), c.result);
    }
}

TEST(LibStrs, VariantHelpers)
{
    EXPECT_EQ(IfThenValue(true, Variant(1), Variant("b")), Variant(1));
    EXPECT_EQ(IfThenValue(false, Variant(1), Variant("b")), Variant("b"));
    EXPECT_TRUE(IsEmptyOrNull(Variant()));
    EXPECT_TRUE(IsEmptyOrNull(Variant(Null)));
    EXPECT_FALSE(IsEmptyOrNull(Variant("")));
    EXPECT_FALSE(IsEmptyOrNull(Variant(0)));
}

TEST(LibStrs, TextsToAndFromCodePages)
{
    EXPECT_EQ(WideToCodePage(kUtf8Zhong + "A", 936), kGbZhong + "A");
    EXPECT_EQ(CodePageToWide(kGbZhong + "A", 936), kUtf8Zhong + "A");
    EXPECT_EQ(WideToCodePage(std::string("ab\0cd", 5), 936), "ab");
    EXPECT_EQ(CodePageToWide(std::string("ab\0cd", 5), 936), "ab");
    // A code page that cannot convert falls back to the system code page.
    test::EnvGuard sys("ZB_SYSTEM_CODEPAGE", "936");
    EXPECT_EQ(WideToCodePage(kUtf8Zhong, 12345), kGbZhong);
    EXPECT_EQ(CodePageToWide(kGbZhong, 12345), kUtf8Zhong);
}

TEST(LibStrs, VariantToCodePageWalksArrays)
{
    const Variant wide = Variant::Wide(kUtf8Zhong);
    // A parameter array: nested arrays of a one-dimensional array are walked.
    Variant params = VarArrayOf({VarArrayOf({wide, Variant(5), VarArrayOf({wide})}), wide, Variant(1.5), Variant(Null)});
    Variant out = VariantToCodePage(params, 936);
    EXPECT_EQ(out[0][0].Type(), VarType::String);
    EXPECT_EQ(out[0][0].Text(), kGbZhong);
    EXPECT_EQ(out[0][1], Variant(5));
    EXPECT_EQ(out[0][2][0].Text(), kGbZhong);
    EXPECT_EQ(out[1].Text(), kGbZhong);
    EXPECT_EQ(out[2], Variant(1.5));
    EXPECT_TRUE(out[3].IsNull());
    EXPECT_EQ(params[1].Type(), VarType::WideString) << "the input is a value and stays as it was";

    // Two dimensions with their own bounds: every cell, but nested arrays stay.
    Variant grid = VarArrayCreate({1, 2, 5, 6});
    grid.At({1, 5}) = wide;
    grid.At({2, 6}) = VarArrayOf({wide});
    grid.At({2, 5}) = Variant("8-bit stays");
    out = VariantToCodePage(grid, 936);
    EXPECT_EQ(VarArrayLowBound(out, 2), 5);
    EXPECT_EQ(out.At({1, 5}).Type(), VarType::String);
    EXPECT_EQ(out.At({1, 5}).Text(), kGbZhong);
    EXPECT_EQ(out.At({2, 6})[0].Type(), VarType::WideString);
    EXPECT_EQ(out.At({2, 5}).Text(), "8-bit stays");

    Variant cube = VarArrayCreate({0, 0, 0, 0, 0, 0});
    cube.At({0, 0, 0}) = wide;
    EXPECT_EQ(VariantToCodePage(cube, 936), cube);

    EXPECT_EQ(VariantToCodePage(wide, 936).Text(), kGbZhong);
    EXPECT_EQ(VariantToCodePage(Variant(kUtf8Zhong), 936).Text(), kGbZhong);
    EXPECT_EQ(VariantToCodePage(Variant(7), 936), Variant(7));
    EXPECT_TRUE(VariantToCodePage(Variant(), 936).IsEmpty());
}

TEST(LibStrs, VariantFromCodePageMirrors)
{
    test::EnvGuard sys("ZB_SYSTEM_CODEPAGE", "437");
    // Code-page bytes that arrived as an 8-bit scalar are read in the code page.
    Variant back = VariantFromCodePage(Variant(kGbZhong), 936);
    EXPECT_EQ(back.Type(), VarType::WideString);
    EXPECT_EQ(back.Text(), kUtf8Zhong);

    // Round trip of a nested array.
    Variant params = VarArrayOf({Variant::Wide("abc"), VarArrayOf({Variant::Wide("x")}), Variant(3)});
    EXPECT_EQ(VariantFromCodePage(VariantToCodePage(params, 936), 936)[2], Variant(3));
    Variant grid = VarArrayCreate({0, 1, 0, 0});
    grid.At({1, 0}) = Variant::Wide("plain");
    EXPECT_EQ(VariantFromCodePage(grid, 936).At({1, 0}), Variant::Wide("plain"));
    EXPECT_TRUE(VariantFromCodePage(Variant(Null), 936).IsNull());
}

}  // namespace
}  // namespace zb
