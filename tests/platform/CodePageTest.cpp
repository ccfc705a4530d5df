// Code-page conversion and the system code page.
#include "platform/core/CodePage.h"

#include "support/TestSupport.h"

#include <gtest/gtest.h>

namespace zb {
namespace {

struct RoundTrip {
    const char* text;
    int codePage;
    const char* bytes;  // the encoded form
};

TEST(CodePage, ChineseTextRoundTripsThroughGbkAndBig5) {
    const RoundTrip cases[] = {
        {"海关数据采集", 936, "\xBA\xA3\xB9\xD8\xCA\xFD\xBE\xDD\xB2\xC9\xBC\xAF"},
        {"海關資料", 950, "\xAE\xFC\xC3\xF6\xB8\xEA\xAE\xC6"},
        {"VTAJ52 海关 2024", 936, "VTAJ52 \xBA\xA3\xB9\xD8 2024"},
        {"caf\xC3\xA9", 437, "caf\x82"},
        {"plain ASCII", 950, "plain ASCII"},
        {"", 936, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        std::string encoded = EncodeToCodePage(c.text, c.codePage);
        EXPECT_EQ(encoded, c.bytes);
        EXPECT_EQ(DecodeFromCodePage(encoded, c.codePage), c.text);
        EXPECT_EQ(ByteLength(c.text, c.codePage), std::string(c.bytes).size());
    }
}

TEST(CodePage, CharactersTheCodePageCannotHoldBecomeQuestionMarks) {
    EXPECT_EQ(EncodeToCodePage("a关b", 950), "a?b");        // simplified form missing from BIG5
    EXPECT_EQ(EncodeToCodePage("x😀y", 936), "x?y");          // one mark per character, not per byte
    EXPECT_EQ(EncodeToCodePage("海关", 437), "??");
    EXPECT_EQ(ByteLength("海关", 437), 2u);
}

TEST(CodePage, MalformedInputNeverThrowsAndGivesMarks) {
    // Stray continuation byte, a lead byte cut short at the end, an overlong
    // "/" and an encoded surrogate.
    EXPECT_EQ(EncodeToCodePage("a\x80" "b", 936), "a?b");
    EXPECT_EQ(EncodeToCodePage("海\xE5", 936), "\xBA\xA3?");
    EXPECT_EQ(EncodeToCodePage("\xC0\xAF" "x", 936), "??x");
    EXPECT_EQ(EncodeToCodePage("\xED\xA0\x80", 65001), "???");
    // GBK: a lead byte before a digit (no trail byte) leaves the digit, a
    // byte that starts nothing becomes one mark, a lead byte at the end too.
    EXPECT_EQ(DecodeFromCodePage("\xBA" "0", 936), "?0");
    EXPECT_EQ(DecodeFromCodePage("a\xFF", 936), "a?");
    EXPECT_EQ(DecodeFromCodePage("\xA2\xA0" "x", 936), "?x");  // an unmapped pair is one character
    EXPECT_EQ(DecodeFromCodePage("\xA3\xC0" "x", 950), "?x");
    EXPECT_EQ(DecodeFromCodePage("x\xBA", 936), "x?");
    EXPECT_EQ(DecodeFromCodePage("ok\xE5", 65001), "ok?");
}

TEST(CodePage, EmbeddedNulsAndLongTextSurvive) {
    std::string text("a\0海", 5);
    EXPECT_EQ(DecodeFromCodePage(EncodeToCodePage(text, 936), 936), text);
    std::string many;
    for (int i = 0; i < 5000; ++i) many += "关x";
    EXPECT_EQ(ByteLength(many, 936), 15000u);
    EXPECT_EQ(DecodeFromCodePage(EncodeToCodePage(many, 936), 936), many);
}

TEST(CodePage, UnknownCodePagesUseTheSystemCodePage) {
    test::EnvGuard forced("ZB_SYSTEM_CODEPAGE", "950");
    EXPECT_EQ(ResolveCodePage(0), 950);
    EXPECT_EQ(ResolveCodePage(-7), 950);
    EXPECT_EQ(ResolveCodePage(123456), 950);
    EXPECT_EQ(ResolveCodePage(936), 936);
    EXPECT_EQ(EncodeToCodePage("海關", 0), "\xAE\xFC\xC3\xF6");
    EXPECT_EQ(ByteLength("海關", 0), 4u);
    EXPECT_EQ(EncodeToCodePage("海關", 65001), "海關");
}

TEST(CodePage, SystemCodePageFollowsTheLocaleUnlessOverridden) {
    struct Case {
        const char* lcAll;
        const char* lcCtype;
        const char* lang;
        const char* forced;
        int expected;
    };
    const Case cases[] = {
        {nullptr, nullptr, "zh_CN.UTF-8", nullptr, 936},
        {nullptr, nullptr, "zh_TW.Big5", nullptr, 950},
        {nullptr, nullptr, "zh_HK.UTF-8@stroke", nullptr, 950},
        {nullptr, nullptr, "en_US.UTF-8", nullptr, 437},
        {nullptr, nullptr, "zh", nullptr, 437},
        {nullptr, nullptr, nullptr, nullptr, 437},
        {"zh_TW.UTF-8", "zh_CN.UTF-8", "en_US", nullptr, 950},  // LC_ALL first
        {"", "zh_CN.GBK", "zh_TW", nullptr, 936},               // an empty one does not count
        {nullptr, nullptr, "zh_CN.UTF-8", "950", 950},
        {nullptr, nullptr, "zh_CN.UTF-8", " 1252 ", 1252},
        {nullptr, nullptr, "zh_CN.UTF-8", "abc", 936},          // a non-number is ignored
        {nullptr, nullptr, "zh_CN.UTF-8", "-5", 936},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.lang ? c.lang : "-") + " / " + (c.forced ? c.forced : "-"));
        auto opt = [](const char* v) { return v ? std::optional<std::string>(v) : std::nullopt; };
        test::EnvGuard all("LC_ALL", opt(c.lcAll));
        test::EnvGuard ctype("LC_CTYPE", opt(c.lcCtype));
        test::EnvGuard lang("LANG", opt(c.lang));
        test::EnvGuard forced("ZB_SYSTEM_CODEPAGE", opt(c.forced));
        EXPECT_EQ(SystemCodePage(), c.expected);
    }
}

TEST(CodePage, LeadBytesOfDoubleByteCodePages) {
    EXPECT_TRUE(IsLeadByte('\xBA', 936));
    EXPECT_TRUE(IsLeadByte('\xAE', 950));
    EXPECT_FALSE(IsLeadByte('A', 936));
    EXPECT_FALSE(IsLeadByte('\x80', 936));
    EXPECT_FALSE(IsLeadByte('\xBA', 437));
    EXPECT_FALSE(IsLeadByte('\xE5', 65001));
}

}  // namespace
}  // namespace zb
