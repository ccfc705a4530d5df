// The language layer wired to the rest: the language folder from the client
// profile, language files applied to the UI model's own controls (combo boxes
// through their reader, colours by name), and a form that shows Traditional
// Chinese texts from its file after the code converter has run.
#include <gtest/gtest.h>

#include "lang/CodeConverter.h"
#include "lang/LanguageController.h"
#include "platform/core/IntConsts.h"
#include "platform/ui/Forms.h"
#include "platform/ui/Graphics.h"
#include "platform/ui/StdCtrls.h"
#include "support/TestSupport.h"

namespace zb {
namespace {

class TfrmWired : public TForm {
    ZB_CLASS(TfrmWired, TForm)

public:
    explicit TfrmWired(TComponent* owner) : TForm(owner) {
        SetName("frmWired");
        lbl = Make<TLabel>(this, this, "lblTitle", 8, 8, 80, 16, "标题");
        cbo = Make<TComboBox>(this, this, "cboKind", 8, 30, 100, 21);
        cbo->SetStyle(TComboBoxStyle::csDropDownList);
        cbo->Items()->SetText("一\n二\n三\n");
        cbo->SetItemIndex(1);
    }
    TLabel* lbl;
    TComboBox* cbo;
};
ZB_PUBLISHED(TfrmWired){};

// An installation named in the registry, its screen in `codePage`.
class Installation {
public:
    explicit Installation(const std::string& codePage) : cp_("ZB_SYSTEM_CODEPAGE", codePage) {
        reg_.Write("[HKEY_LOCAL_MACHINE\\Software\\ZEB\\Orkel]\nClientPath=" + Path() + "\n");
        std::filesystem::create_directories(Path());
    }
    std::string Path() const { return (reg_.Dir().Path() / "inst").string(); }
    void Write(const std::string& relative, const std::string& text) const { reg_.Dir().Write("inst/" + relative, text); }

private:
    test::TempRegistry reg_;
    test::EnvGuard cp_;
};

TEST(LangWiring, FolderComesFromTheClientProfile) {
    Installation inst("950");
    EXPECT_EQ(LanguageFolder(TDesignType::dtClient), "");  // no folder yet
    inst.Write("MultiLanguage/CHT/x.Lng", "<x/>");
    EXPECT_EQ(LanguageFolder(TDesignType::dtClient), inst.Path() + "/MultiLanguage/CHT/");
}

TEST(LangWiring, FileReachesTheUIModelsControls) {
    Installation inst("950");
    inst.Write("MultiLanguage/CHT/TfrmWired.Lng", R"(<?xml version="1.0" encoding="UTF-8"?>
<TfrmWired Caption="作業">
  <lblTitle Caption="標題" Color="clInfoBk"/>
  <cboKind Items_0="壹" Items_1="貳" Items_2="參"/>
</TfrmWired>)");
    std::unique_ptr<TfrmWired, FreeObject> form(TCustomForm::Create<TfrmWired>(nullptr));
    auto* controller = new TZbLangController(form.get());
    controller->SetName("LangController");
    ApplyLanguageFiles(*controller, *form);
    EXPECT_EQ(form->Caption(), "作業");
    EXPECT_EQ(form->lbl->Caption(), "標題");
    EXPECT_EQ(form->lbl->Color(), clInfoBk);
    EXPECT_EQ(form->cbo->Items()->Strings(1), "貳");
    EXPECT_EQ(form->cbo->ItemIndex(), 1);  // the combo reader keeps the selection

    // The converter then turns what the file did not cover into BIG5.
    form->cbo->Items()->Add("软件");
    TCodeConverter converter(form.get());
    EXPECT_EQ(converter.UIConvertMode, 2);
    converter.ConvertForm(form.get(), true);
    EXPECT_EQ(form->cbo->Items()->Strings(3), "軟體");
    EXPECT_EQ(form->lbl->Caption(), "標題");
    EXPECT_EQ(form->cbo->ItemIndex(), 1);
}

TEST(LangWiring, ColourNamesAreOneTable) {
    TColor c = 0;
    ASSERT_TRUE(IdentToColor("clbtnface", c));
    EXPECT_EQ(c, clBtnFace);
    std::int64_t v = 0;
    ASSERT_TRUE(IdentToInt("TColor", "clLtGray", v));
    EXPECT_EQ(ColorToString(static_cast<TColor>(v)), "clSilver");
}

}  // namespace
}  // namespace zb
