// Ownership: owners destroy what they own in reverse order, free notification
// clears references, names are unique per owner.
#include <gtest/gtest.h>

#include "platform/core/Component.h"
#include "platform/core/Published.h"
#include "platform/core/TypInfo.h"

namespace zb {
namespace {

std::vector<std::string>* gLog = nullptr;

class TLogged : public TComponent {
    ZB_CLASS(TLogged, TComponent)

public:
    TLogged(TComponent* owner, const std::string& name) : TComponent(owner) { SetName(name); }
    ~TLogged() override {
        if (gLog) gLog->push_back("~" + Name());
    }
    TComponent* watched = nullptr;
    void Notification(TComponent* c, TOperation op) override {
        TComponent::Notification(c, op);
        if (op == TOperation::opRemove && c == watched) {
            if (gLog) gLog->push_back(Name() + " lost " + c->Name());
            watched = nullptr;
        }
    }
};
ZB_PUBLISHED(TLogged){};

class ComponentTest : public ::testing::Test {
protected:
    void SetUp() override { gLog = &log; }
    void TearDown() override { gLog = nullptr; }
    std::vector<std::string> log;
};

TEST_F(ComponentTest, OwnerDestroysOwnedInReverseOrder) {
    auto* form = new TLogged(nullptr, "form");
    auto* a = new TLogged(form, "a");
    new TLogged(a, "a1");
    new TLogged(form, "b");
    new TLogged(form, "c");
    EXPECT_EQ(form->ComponentCount(), 3);
    EXPECT_EQ(form->Components(1)->Name(), "b");
    EXPECT_EQ(a->ComponentIndex(), 0);
    EXPECT_THROW(form->Components(3), EComponentError);
    form->Free();
    EXPECT_EQ(log, (std::vector<std::string>{"~c", "~b", "~a1", "~a", "~form"}));
}

TEST_F(ComponentTest, FreeNotificationClearsReferencesBothWays) {
    auto* form = new TLogged(nullptr, "form");
    auto* outside = new TLogged(nullptr, "outside");
    auto* edit = new TLogged(form, "edit");
    outside->watched = edit;
    outside->FreeNotification(edit);
    edit->Free();
    EXPECT_EQ(outside->watched, nullptr);
    EXPECT_EQ(form->ComponentCount(), 0);
    EXPECT_EQ(form->FindComponent("edit"), nullptr);

    // The link goes both ways: the watcher going first leaves nothing dangling.
    auto* label = new TLogged(form, "label");
    outside->watched = label;
    outside->FreeNotification(label);
    outside->Free();
    label->watched = nullptr;
    form->Free();
    EXPECT_EQ(log, (std::vector<std::string>{"outside lost edit", "~edit", "~outside", "~label", "~form"}));
}

TEST_F(ComponentTest, OwnerNotificationReachesOwnedComponentsWhenASiblingGoes) {
    auto* form = new TLogged(nullptr, "form");
    auto* btn = new TLogged(form, "btnOk");
    auto* panel = new TLogged(form, "panel");
    panel->watched = btn;
    btn->Free();
    EXPECT_EQ(panel->watched, nullptr);
    form->Free();
}

TEST_F(ComponentTest, NamesAreIdentifiersUniquePerOwnerIgnoringCase) {
    TLogged form(nullptr, "form");
    auto* a = new TLogged(&form, "btnOk");
    EXPECT_EQ(form.FindComponent("BTNOK"), a);
    EXPECT_THROW(new TLogged(&form, "BtnOk"), EComponentError);
    EXPECT_EQ(form.ComponentCount(), 1);  // the refused one left no trace in the list
    EXPECT_THROW(a->SetName("1abc"), EComponentError);
    EXPECT_THROW(a->SetName("btn ok"), EComponentError);
    a->SetName("BTNOK");  // a change of case is no clash with itself
    a->SetName("btnCancel");
    EXPECT_EQ(form.FindComponent("btnok"), nullptr);
    EXPECT_EQ(form.FindComponent("btnCancel"), a);
    EXPECT_EQ(GetPropValue(*a, "Name").ToString(), "btnCancel");
    a->SetName("");
    EXPECT_EQ(form.FindComponent("btnCancel"), nullptr);
    EXPECT_TRUE(IsValidIdent("_x1"));
    EXPECT_FALSE(IsValidIdent(""));
}

TEST_F(ComponentTest, InsertAndRemoveMoveOwnership) {
    TLogged one(nullptr, "one"), two(nullptr, "two");
    auto* c = new TLogged(&one, "c");
    two.InsertComponent(c);
    EXPECT_EQ(c->Owner(), &two);
    EXPECT_EQ(one.ComponentCount(), 0);
    EXPECT_EQ(two.FindComponent("c"), c);
    two.RemoveComponent(c);
    EXPECT_EQ(c->Owner(), nullptr);
    c->Free();
}

TEST_F(ComponentTest, DeletedDirectlyStillLeavesItsOwner) {
    TLogged form(nullptr, "form");
    auto* c = new TLogged(&form, "c");
    delete c;
    EXPECT_EQ(form.ComponentCount(), 0);
}

}  // namespace
}  // namespace zb
