// The translation library loaded by name: the suite's own through OpenCC, and
// fixtures that show which entries the translator requires.
#include "lang/TranslatorU.h"

#include "support/TestSupport.h"

#include <dlfcn.h>
#include <gtest/gtest.h>

#include <fstream>
#include <string>

namespace zb {
namespace {

bool IsLoaded(const std::string& file) {
    void* h = dlopen((test::BuildBinDir() / file).c_str(), RTLD_NOW | RTLD_NOLOAD);
    if (h) dlclose(h);
    return h != nullptr;
}

TEST(Translator, SuiteLibraryConvertsPhrasesBothWays) {
    TTranslator t;
    ASSERT_NE(t.Handle(), nullptr);
    EXPECT_TRUE(t.HasGetBIG5Data() && t.HasGetGBData() && t.HasSaveOrder());
    struct Case {
        std::string simplified, traditional;
    };
    // Phrases, not characters: the Taiwan words differ from the Mainland ones.
    const Case cases[] = {
        {"软件", "軟體"},
        {"鼠标", "滑鼠"},
        {"内存", "記憶體"},
        {"打印机", "印表機"},
        {"后台处理", "後臺處理"},
        {"数据库 Caption 123", "資料庫 Caption 123"},
        {"", ""},
    };
    for (const Case& c : cases) {
        const std::string traditional = t.GBToBig5(c.simplified);
        EXPECT_EQ(traditional, c.traditional) << c.simplified;
        EXPECT_EQ(t.Big5ToGB(traditional), c.simplified) << c.simplified;
    }
}

TEST(Translator, SuiteLibraryGrowsTheBufferForLongerResults) {
    // "U盘" (4 bytes) becomes "隨身碟" (9 bytes): more than twice the input.
    std::string text;
    for (int i = 0; i < 100; ++i) text += "U盘";
    std::string expected;
    for (int i = 0; i < 100; ++i) expected += "隨身碟";
    EXPECT_EQ(TTranslator().GBToBig5(text), expected);
}

TEST(Translator, BytesThatAreNotUtf8PassThrough) {
    TTranslator t;
    const std::string text("\xff软件\0鼠标\xe8\xbd", 16);
    EXPECT_EQ(t.GBToBig5(text), std::string("\xff軟體\0滑鼠\xe8\xbd", 16));
}

TEST(Translator, OptionalEntriesOfTheSuiteLibrary) {
    TTranslator t;
    auto* big5 = reinterpret_cast<ZbLoadDataProc>(GetProcAddress(t.Handle(), "GetBIG5Data"));
    auto* gb = reinterpret_cast<ZbLoadDataProc>(GetProcAddress(t.Handle(), "GetGBData"));
    auto* save = reinterpret_cast<ZbSaveOrderProc>(GetProcAddress(t.Handle(), "SaveOrder"));
    EXPECT_EQ(big5(), 1);
    EXPECT_EQ(gb(), 1);
    test::TempDir dir;
    const auto file = dir.Path() / "order.txt";
    ASSERT_EQ(save(file.c_str()), 1);
    EXPECT_EQ(test::ReadFile(file), "GBtoBIG5=s2twp.json\nBIG5toGB=tw2sp.json\n");
    EXPECT_EQ(save((dir.Path() / "missing" / "order.txt").c_str()), 0);
    EXPECT_EQ(save(nullptr), 0);
}

TEST(Translator, LibraryWithOnlyTheTwoConversionsIsAccepted) {
    TTranslator t("ZbLangTwoOnly.dll");
    EXPECT_FALSE(t.HasGetBIG5Data() || t.HasGetGBData() || t.HasSaveOrder());
    EXPECT_EQ(t.GBToBig5("软件"), "T:软件");
    EXPECT_EQ(t.Big5ToGB("軟體"), "S:軟體");
    // An empty text still goes to the library.
    EXPECT_EQ(t.GBToBig5(""), "T:");
}

TEST(Translator, LibraryLackingBig5ToGBIsRefusedAndUnloaded) {
    try {
        TTranslator t("ZbLangNoBig5.dll");
        FAIL() << "accepted";
    } catch (const Exception& e) {
        EXPECT_STREQ(e.what(), "Get Library Procedure Address Error!");
    }
    EXPECT_FALSE(IsLoaded("ZbLangNoBig5.so"));
}

TEST(Translator, MissingLibraryNamesItself) {
    try {
        TTranslator t("ZbNoSuchLanguageLib.dll");
        FAIL() << "loaded";
    } catch (const Exception& e) {
        EXPECT_STREQ(e.what(), "Load Library ZbNoSuchLanguageLib.dll Error!");
    }
}

TEST(Translator, FreesTheLibraryWhenDestroyed) {
    {
        TTranslator t("ZbLangTwoOnly.dll");
        EXPECT_TRUE(IsLoaded("ZbLangTwoOnly.so"));
    }
    EXPECT_FALSE(IsLoaded("ZbLangTwoOnly.so"));
}

}  // namespace
}  // namespace zb
