// The framework's own language files as the suite ships them: every section
// and key the forms ask for has a text in each language, the files load, and
// the Traditional Chinese texts hold no Simplified characters.
#include <gtest/gtest.h>

#include <filesystem>

#include "lang/LanguageController.h"
#include "lang/TranslatorU.h"
#include "support/TestSupport.h"

namespace zb {
namespace {

struct Key {
    const char* section;
    const char* key;
};
const Key kKeys[] = {
    {"TfrmBaseGene", "sPublicVer"},       {"TfrmBaseGene", "sExeVer"},        {"TfrmBaseGene", "sProjectName"},
    {"TfrmBaseGene", "sCreateTime"},      {"TfrmBaseGene", "sDeleteProj"},    {"TfrmBaseGene", "sProjNameEmpty"},
    {"TfrmBaseGene", "sOption"},          {"TfrmBaseGene", "sDatePramError"}, {"TfrmBaseGene", "sBBM"},
    {"TfrmBaseBatch", "sReason"},         {"TfrmBaseBatch", "sOver"},         {"TfrmGeneCondition", "sEmptyProjName"},
    {"TfrmGeneCondition", "sReplaceProj"}, {"TfrmNotify", "Cells00"},         {"TfrmNotify", "Cells10"},
    {"TfrmNotify", "Cells20"},            {"TfrmNotify", "Cells30"},          {"TfrmNotify", "Cells40"},
    {"TfrmNotify", "Cells50"},            {"TfrmNotify", "Cells60"},          {"TfrmNotify", "Cells70"},
};

// The suite's folder in the source tree stands for an installation.
class SuiteLanguage {
public:
    explicit SuiteLanguage(std::string codePage) {
        const std::string base = (test::SourceDir() / "suite").string() + "/";
        previous_ = SetLangProfileSource([base, codePage](TDesignType) { return TLangProfile{base, codePage}; });
    }
    ~SuiteLanguage() { SetLangProfileSource(previous_); }

private:
    TLangProfileSource previous_;
};

TEST(LangFiles, EveryKeyHasATextInEachLanguage) {
    for (const char* codePage : {"950", "437"}) {
        SCOPED_TRACE(codePage);
        SuiteLanguage language(codePage);
        ASSERT_NE(LanguageFolder(TDesignType::dtClient), "");
        for (const Key& k : kKeys) {
            std::string text = ReadLangMsg(TDesignType::dtClient, k.section, k.key, "\x01missing");
            EXPECT_NE(text, "\x01missing") << k.section << "." << k.key;
            EXPECT_FALSE(text.empty()) << k.section << "." << k.key;
        }
    }
}

TEST(LangFiles, TraditionalTextsHoldNoSimplifiedCharacters) {
    SuiteLanguage language("950");
    TTranslator translator;
    for (const Key& k : kKeys) {
        std::string text = ReadLangMsg(TDesignType::dtClient, k.section, k.key, "");
        // A Traditional text is what the conversion to Traditional leaves alone.
        EXPECT_EQ(translator.GBToBig5(text), text) << k.section << "." << k.key;
    }
}

}  // namespace
}  // namespace zb
