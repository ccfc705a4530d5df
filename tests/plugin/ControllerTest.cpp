// The plug-in boundary as a host sees it: VTAJ52C.so and the test plug-in
// TSTJ01C.so loaded with dlopen, driven only through GetController and the
// controller's virtual operations and fields.
#include <gtest/gtest.h>

#include <dlfcn.h>

#include "platform/os/Library.h"
#include "platform/ui/Forms.h"
#include "platform/ui/UserAgent.h"
#include "plugin/DLLBaseCtrller.h"
#include "support/TestSupport.h"

namespace zb {
namespace {

struct Plugin {
    explicit Plugin(const char* file) : lib((test::BuildBinDir() / file).string()) {
        if (!lib) ADD_FAILURE() << LastLibraryError();
        get = lib.Proc<TDLLBaseController*()>("GetController");
    }
    std::unique_ptr<TDLLBaseController> New() const { return std::unique_ptr<TDLLBaseController>(get()); }
    TLibrary lib;
    GetControllerFunc get = nullptr;
};

const Plugin& Vtaj52() {
    static Plugin p("VTAJ52C.so");
    return p;
}
const Plugin& TestJob() {
    static Plugin p("TSTJ01C.so");
    return p;
}

std::string TakeJournal() {
    auto take = TestJob().lib.Proc<const char*()>("TSTJ01TakeJournal");
    return take ? take() : "(no journal)";
}

// Notifications as the host receives them.
struct Host {
    std::vector<std::int32_t> codes;
    std::vector<TObject*> senders;
    std::vector<std::int32_t> resultCodes;
    TDLLBaseController* controller = nullptr;
    void Attach(TDLLBaseController& c) {
        controller = &c;
        c.OnNotify = [this](std::int32_t code, TObject* sender) {
            codes.push_back(code);
            senders.push_back(sender);
            resultCodes.push_back(controller->ResultCode);
        };
    }
};

Variant Login() {
    return VarArrayOf({Variant("ADMIN"), Variant("01"), Variant("ZB01"), Variant(0), Variant("x")});
}

TEST(Controller, AnEmptyControllerGivesTheDocumentedAnswers) {
    ASSERT_TRUE(Vtaj52().get);
    auto a = Vtaj52().New();
    auto b = Vtaj52().New();
    ASSERT_NE(a.get(), b.get());
    EXPECT_EQ(a->ClassName(), "TDLLBTCtrller");
    EXPECT_EQ(a->ResultCode, 0);
    EXPECT_TRUE(a->ResultData.IsEmpty());
    EXPECT_TRUE(a->HostObject.IsEmpty());

    EXPECT_EQ(a->RunModal().ToInt(), 2);
    Variant values("untouched");
    EXPECT_EQ(a->GetResults(values), -1);
    EXPECT_EQ(values.ToString(), "untouched");
    EXPECT_TRUE(a->IsClosed());
    EXPECT_EQ(a->SetParam(4, Variant(1)), -1);
    EXPECT_EQ(a->SetParam(5, Variant(1)), -1);  // no form
    EXPECT_EQ(a->SetParams(VarArrayOf({Variant(0), Variant(1)})), -1);
    EXPECT_EQ(a->GetVisible(), WordFalse);
    EXPECT_EQ(a->GetHandle(), 0u);
    EXPECT_EQ(a->GetFormVersion(), "");
    a->SetVisible(WordTrue);
    a->CloseJob();

    a->DoExtra(nullptr);  // unassigned OnNotify: nothing happens
    Host host;
    host.Attach(*a);
    a->DoExtra(b.get());
    EXPECT_EQ(host.codes, (std::vector<std::int32_t>{320}));
    EXPECT_EQ(host.senders, (std::vector<TObject*>{a.get()}));
}

TEST(Controller, OpenJobWithoutAJobFormClassRaises) {
    auto c = Vtaj52().New();
    Host host;
    host.Attach(*c);
    try {
        c->OpenJob(Login());
        FAIL() << "no exception";
    } catch (const Exception& e) {
        EXPECT_EQ(e.Message(), "ZEB DLL Internal Error :\rNot Assign \"frmBaseBatchClass\" varible");
    }
    EXPECT_TRUE(c->IsClosed());
    EXPECT_TRUE(host.codes.empty());
}

class JobControllerTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(TestJob().get);
        controller = TestJob().New();
        host.Attach(*controller);
        TakeJournal();
    }
    Host host;  // declared first: the controller notifies it while it goes
    std::unique_ptr<TDLLBaseController> controller;
};

TEST_F(JobControllerTest, OpenJobCreatesHooksAndInitialises) {
    ASSERT_EQ(controller->OpenJob(Login()), 0);
    EXPECT_EQ(host.codes, (std::vector<std::int32_t>{256}));
    EXPECT_EQ(TakeJournal(), "LoadParams\n");
    EXPECT_FALSE(controller->IsClosed());
    EXPECT_EQ(controller->GetFormVersion(), "870401-0.00.00");

    Variant values;
    ASSERT_EQ(controller->GetResults(values), 0);
    EXPECT_EQ(VarArrayLowBound(values, 1), 0);
    EXPECT_EQ(VarArrayHighBound(values, 1), 3);
    EXPECT_EQ(values[0].ToString(), "ADMIN");
    EXPECT_EQ(values[1].ToString(), "01");
    EXPECT_EQ(values[2].ToString(), "TSTJ01");  // from the library's file name
    EXPECT_EQ(values[3].ToString(), "测试作业");

    // A second OpenJob initialises again but must not hook the controller's
    // own handlers as the form's: showing would then call itself forever.
    ASSERT_EQ(controller->OpenJob(Login()), 0);
    EXPECT_EQ(host.codes, (std::vector<std::int32_t>{256}));
    controller->SetVisible(WordTrue);
    EXPECT_EQ(TakeJournal(), "LoadParams\nform OnShow\n");
    EXPECT_EQ(host.codes, (std::vector<std::int32_t>{256, 272}));
}

TEST_F(JobControllerTest, AFailingInitialisationReturnsMinusOneAndKeepsTheForm) {
    EXPECT_EQ(controller->OpenJob(VarArrayOf({Variant("ADMIN")})), -1);
    EXPECT_FALSE(controller->IsClosed());
    controller->CloseJob();
    EXPECT_TRUE(controller->IsClosed());
    EXPECT_EQ(host.codes, (std::vector<std::int32_t>{256, 304}));
}

TEST_F(JobControllerTest, RunRequestsReachTheFormAndFailuresStayInside) {
    ASSERT_EQ(controller->OpenJob(Login()), 0);
    TakeJournal();
    EXPECT_EQ(controller->SetParam(5, VarArrayOf({Variant(0), Variant("values")})), 0);
    EXPECT_EQ(controller->SetParam(4, VarArrayOf({Variant(0)})), -1);
    EXPECT_EQ(controller->SetParams(VarArrayOf({Variant(true), VarArrayOf({Variant(2)})})), 0);
    EXPECT_EQ(controller->SetParams(Variant("not an array")), -1);
    EXPECT_EQ(controller->SetParams(Variant(Null)), -1);
    EXPECT_EQ(controller->SetParams(VarArrayOf({Variant(0), Variant("raise")})), -1);
    EXPECT_EQ(TakeJournal(), "ApplyRequest 0\nApplyRequest 2\n");
    // The form is still usable after the refused request.
    EXPECT_EQ(controller->SetParam(5, VarArrayOf({Variant(0)})), 0);
}

TEST_F(JobControllerTest, ShowingHidingAndTheMinimisedForm) {
    ASSERT_EQ(controller->OpenJob(Login()), 0);
    controller->SetVisible(WordTrue);
    EXPECT_EQ(controller->GetVisible(), WordTrue);
    std::uint32_t handle = controller->GetHandle();
    EXPECT_NE(handle, 0u);
    auto* form = dynamic_cast<TCustomForm*>(Application().FindWindow(handle));
    ASSERT_NE(form, nullptr);
    form->SetWindowState(TWindowState::wsMinimized);
    controller->SetVisible(WordTrue);
    EXPECT_EQ(form->WindowState(), TWindowState::wsNormal);
    EXPECT_EQ(Screen().ActiveForm(), form);
    controller->SetVisible(WordFalse);
    EXPECT_EQ(controller->GetVisible(), WordFalse);
    EXPECT_EQ(form->WindowState(), TWindowState::wsNormal);
    EXPECT_EQ(host.codes, (std::vector<std::int32_t>{256, 272, 288}));
    EXPECT_EQ(host.senders.back(), controller.get());
}

TEST_F(JobControllerTest, ASubmissionThatClosesTheModalFormReportsItsOutcome) {
    ASSERT_EQ(controller->OpenJob(Login()), 0);
    TScriptedAgent agent;
    agent.Click("frmTSTJ01", "btnOk");
    TUserAgentScope scope(&agent);
    Variant result = controller->RunModal();
    Application().ProcessMessages();  // the form frees itself by a posted message
    EXPECT_TRUE(controller->IsClosed());
    EXPECT_EQ(host.codes, (std::vector<std::int32_t>{256, 272, 288, 304}));
    EXPECT_EQ(host.resultCodes.back(), 1);  // filled before 304 arrives
    EXPECT_EQ(controller->ResultCode, 1);
    EXPECT_EQ(controller->ResultData.Type(), VarType::WideString);
    EXPECT_EQ(controller->ResultData.ToString(), "20261211 job 42");
    EXPECT_EQ(controller->RunModal().ToInt(), 2);
    Variant values;
    EXPECT_EQ(controller->GetResults(values), -1);
    EXPECT_EQ(controller->SetParam(5, VarArrayOf({Variant(0)})), -1);
    (void)result;
}

TEST_F(JobControllerTest, AModelessFormClosedByTheUserFreesItselfLater) {
    ASSERT_EQ(controller->OpenJob(Login()), 0);
    controller->SetVisible(WordTrue);
    auto* form = dynamic_cast<TCustomForm*>(Application().FindWindow(controller->GetHandle()));
    ASSERT_NE(form, nullptr);
    form->Close();  // the user closes: cancelled
    EXPECT_FALSE(controller->IsClosed());  // destruction is posted
    Application().ProcessMessages();
    EXPECT_TRUE(controller->IsClosed());
    EXPECT_EQ(controller->ResultCode, 2);
    EXPECT_TRUE(host.codes.back() == 304);
}

TEST_F(JobControllerTest, DestroyingTheControllerFreesTheFormAndNotifiesFirst) {
    ASSERT_EQ(controller->OpenJob(Login()), 0);
    TakeJournal();
    controller.reset();
    EXPECT_EQ(host.codes, (std::vector<std::int32_t>{256, 304}));
    EXPECT_EQ(TakeJournal(), "form OnDestroy\n");
}

TEST_F(JobControllerTest, CloseJobFromThe304HandlerDoesNotFreeTwice) {
    ASSERT_EQ(controller->OpenJob(Login()), 0);
    TDLLBaseController* c = controller.get();
    c->OnNotify = [&](std::int32_t code, TObject*) {
        host.codes.push_back(code);
        if (code == 304) c->CloseJob();
    };
    c->CloseJob();
    EXPECT_TRUE(c->IsClosed());
    EXPECT_EQ(host.codes, (std::vector<std::int32_t>{256, 304}));
}

}  // namespace
}  // namespace zb
