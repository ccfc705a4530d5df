#include <gtest/gtest.h>

#include "controls/DBLabel.h"
#include "controls/ExtPage.h"
#include "forms/framework/BaseGene.h"
#include "platform/ui/Buttons.h"
#include "platform/ui/Mask.h"

namespace zb {
namespace {

TEST(BaseGeneResource, BuildsTheGeneralFormWithItsPagesAndButtons) {
    auto* form = TCustomForm::Create<TfrmBaseGene>(nullptr);
    EXPECT_EQ(form->Name(), "frmBaseGene");
    EXPECT_EQ(form->Width(), 509);
    EXPECT_EQ(form->IdentText, "870401-0.00.00");
    ASSERT_EQ(form->pgOption->PageCount(), 2);
    EXPECT_EQ(form->tsOption1->Caption(), "基本选项");
    EXPECT_EQ(form->tsOption2->Caption(), "系统选项");
    EXPECT_EQ(form->lblToday->FocusControl(), form->edPrintDate);
    EXPECT_TRUE(form->btnCancel->Cancel());
    EXPECT_EQ(form->FindComponent("btnOk"), form->btnOk);
    EXPECT_EQ(form->LastFocused, form);
    EXPECT_TRUE(form->OnDateFieldEnter());
    form->Free();
}

}  // namespace
}  // namespace zb
