// Property access by name with the neutral results for absent objects and names.
#include <gtest/gtest.h>

#include "platform/core/Component.h"
#include "platform/core/Published.h"
#include "util/LibRTTI.h"

namespace zb {
namespace {

class TProbe : public TComponent {
    ZB_CLASS(TProbe, TComponent)

public:
    const std::string& Caption() const { return caption_; }
    void SetCaption(const std::string& c) { caption_ = c; }
    bool Checked() const { return checked_; }
    void SetChecked(bool c) { checked_ = c; }
    int ItemIndex() const { return index_; }
    void SetItemIndex(int i) { index_ = i; }
    TNotifyEvent OnExit;

private:
    std::string caption_;
    bool checked_ = false;
    int index_ = -1;
};
ZB_PUBLISHED(TProbe){
    prop::String("Caption", &TProbe::Caption, &TProbe::SetCaption),
    prop::Bool("Checked", &TProbe::Checked, &TProbe::SetChecked),
    prop::Integer("ItemIndex", &TProbe::ItemIndex, &TProbe::SetItemIndex),
    prop::Event("OnExit", &TProbe::OnExit),
};

TEST(LibRTTI, ReadsAndWritesByName) {
    TProbe p;
    SetStrPropByName(&p, "caption", "数据日期");
    EXPECT_EQ(p.Caption(), "数据日期");
    EXPECT_EQ(GetStrPropByName(&p, "CAPTION"), "数据日期");
    SetOrdPropByName(&p, "Checked", 1);
    EXPECT_TRUE(p.Checked());
    EXPECT_EQ(GetStrPropByName(&p, "Checked"), "True");
    SetOrdPropByName(&p, "ItemIndex", 3);
    EXPECT_EQ(GetOrdPropByName(&p, "itemindex"), 3);
    SetStrPropByName(&p, "ItemIndex", "2");
    EXPECT_EQ(p.ItemIndex(), 2);
    EXPECT_TRUE(HasPropByName(&p, "OnExit"));

    int calls = 0;
    TNotifyEvent e = [&](TObject*) { ++calls; };
    SetMethodPropByName(&p, "OnExit", e.ToMethod());
    EXPECT_TRUE(GetMethodPropByName(&p, "onexit") == e.ToMethod());
    p.OnExit(&p);
    EXPECT_EQ(calls, 1);
}

TEST(LibRTTI, AbsentObjectsNamesAndPropertiesAreNeutral) {
    TProbe p;
    EXPECT_EQ(GetStrPropByName(nullptr, "Caption"), "");
    EXPECT_EQ(GetStrPropByName(&p, ""), "");
    EXPECT_EQ(GetStrPropByName(&p, "Missing"), "");
    EXPECT_EQ(GetOrdPropByName(nullptr, "ItemIndex"), 0);
    EXPECT_EQ(GetOrdPropByName(&p, "Caption"), 0);  // not an ordinal
    EXPECT_FALSE(GetMethodPropByName(&p, "OnClick").Assigned());
    EXPECT_FALSE(GetMethodPropByName(nullptr, "OnExit").Assigned());
    EXPECT_FALSE(HasPropByName(nullptr, "Caption"));
    EXPECT_FALSE(HasPropByName(&p, ""));
    SetStrPropByName(nullptr, "Caption", "x");
    SetStrPropByName(&p, "Missing", "x");
    SetOrdPropByName(&p, "Missing", 1);
    SetMethodPropByName(&p, "Missing", TMethod{});
    EXPECT_EQ(p.Caption(), "");
}

TEST(LibRTTI, ValuesAPropertyCannotTakeRaise) {
    TProbe p;
    EXPECT_THROW(SetOrdPropByName(&p, "Checked", 5), EPropertyError);
    EXPECT_THROW(SetStrPropByName(&p, "ItemIndex", "many"), EVariantError);
    EXPECT_THROW(SetOrdPropByName(&p, "Caption", 1), EPropertyError);
    EXPECT_FALSE(p.Checked());
}

}  // namespace
}  // namespace zb
