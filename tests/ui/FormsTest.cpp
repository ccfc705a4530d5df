// Focus order, keys, messages, closing with close actions and deferred
// destruction, and modal loops turned by the user agent.
#include <gtest/gtest.h>

#include <memory>

#include "platform/core/TypInfo.h"
#include "platform/ui/Dialogs.h"
#include "platform/ui/ExtCtrls.h"
#include "platform/ui/Forms.h"
#include "platform/ui/StdCtrls.h"
#include "platform/ui/UserAgent.h"

namespace zb {
namespace {

using Log = std::vector<std::string>;

// A small job-like form: two panels, edits in each, OK and Cancel.
class TfrmSample : public TForm {
    ZB_CLASS(TfrmSample, TForm)

public:
    explicit TfrmSample(TComponent* owner) : TForm(owner) {
        SetName("frmSample");
        SetBounds(0, 0, 400, 300);
        pnlTop = Make<TPanel>(this, this, "pnlTop", 0, 0, 400, 100);
        edA = Make<TEdit>(this, pnlTop, "edA", 8, 8, 100, 21);
        edB = Make<TEdit>(this, pnlTop, "edB", 8, 40, 100, 21);
        pnlBottom = Make<TPanel>(this, this, "pnlBottom", 0, 200, 400, 100);
        btnOk = Make<TButton>(this, pnlBottom, "btnOk", 8, 8, 75, 25, "OK");
        btnCancel = Make<TButton>(this, pnlBottom, "btnCancel", 90, 8, 75, 25, "Cancel");
        btnOk->SetModalResult(mrOk);
        btnCancel->SetModalResult(mrCancel);
        for (TWinControl* c : std::initializer_list<TWinControl*>{pnlTop, edA, edB, pnlBottom, btnOk, btnCancel}) {
            c->OnEnter = [this, c](TObject*) { Note("enter " + c->Name()); };
            c->OnExit = [this, c](TObject*) { Note("exit " + c->Name()); };
        }
    }
    void Note(const std::string& what) {
        if (log) log->push_back(what);
    }
    void WndProc(TMessage& m) override {
        if (m.Msg == WM_QUICKPICK) {
            auto* target = reinterpret_cast<TControl*>(m.LParam);
            Note("quickpick " + (target ? target->Name() : std::string("-")));
            m.Result = 42;
            return;
        }
        if (m.Msg == CM_FOCUSCHANGED) Note("focus changed to " + reinterpret_cast<TControl*>(m.LParam)->Name());
        inherited::WndProc(m);
    }

    Log* log = nullptr;
    TPanel *pnlTop, *pnlBottom;
    TEdit *edA, *edB;
    TButton *btnOk, *btnCancel;
};
ZB_PUBLISHED(TfrmSample){};

class FormsTest : public ::testing::Test {
protected:
    void SetUp() override {
        Application().ClearDiagnostics();
        Application().ResetTerminated();
        HeadlessDialogs().Clear();
        form = TCustomForm::Create<TfrmSample>(nullptr);
        form->log = &log;
    }
    void TearDown() override {
        if (form) form->Free();
        Application().ProcessMessages();
        Application().SetUserAgent(nullptr);
    }
    // Frees the form now and forgets it.
    TfrmSample* form = nullptr;
    Log log;
};

TEST_F(FormsTest, FocusMovesActiveControlFirstThenExitsInnermostAndEntersOutermost) {
    form->Show();
    EXPECT_EQ(form->ActiveControl(), form->edA) << "showing focuses the first control in tab order";
    EXPECT_TRUE(form->edA->Focused());
    log.clear();
    TWinControl* activeDuringExit = nullptr;
    form->edA->OnExit = [&](TObject*) {
        activeDuringExit = form->ActiveControl();
        log.push_back("exit edA");
    };
    form->btnCancel->SetFocus();
    EXPECT_EQ(activeDuringExit, form->btnCancel);
    EXPECT_EQ(log, (Log{"exit edA", "exit pnlTop", "enter pnlBottom", "enter btnCancel", "focus changed to btnCancel"}));
    EXPECT_TRUE(form->btnCancel->Focused());
    EXPECT_EQ(Screen().ActiveControl(), form->btnCancel);

    // Within one container only the controls themselves change.
    log.clear();
    form->btnOk->SetFocus();
    EXPECT_EQ(log, (Log{"exit btnCancel", "enter btnOk", "focus changed to btnOk"}));
}

TEST_F(FormsTest, ExitHandlerThatTakesTheFocusBackAbandonsTheMove) {
    form->Show();
    form->edA->OnExit = [&](TObject*) {
        log.push_back("exit edA (refocus)");
        form->edA->SetFocus();
    };
    log.clear();
    form->btnOk->SetFocus();
    EXPECT_TRUE(form->edA->Focused());
    EXPECT_EQ(form->ActiveControl(), form->edA);
    for (const auto& line : log) EXPECT_NE(line, "enter btnOk");
}

TEST_F(FormsTest, FocusRulesForHiddenDisabledAndRemovedControls) {
    // On a hidden form the control is kept for when it shows; no events yet.
    form->edB->SetFocus();
    EXPECT_TRUE(log.empty());
    EXPECT_FALSE(form->edB->Focused());
    form->Show();
    EXPECT_TRUE(form->edB->Focused());

    form->edA->SetEnabled(false);
    EXPECT_FALSE(form->edA->CanFocus());
    EXPECT_THROW(form->edA->SetFocus(), EInvalidOperation);
    form->pnlBottom->SetVisible(false);
    EXPECT_FALSE(form->btnOk->CanFocus()) << "a hidden parent hides its children";
    form->pnlBottom->SetVisible(true);

    // A control that goes leaves no dangling active control.
    form->edB->Free();
    form->edB = nullptr;
    EXPECT_EQ(form->ActiveControl(), nullptr);
    form->btnOk->SetFocus();
    EXPECT_TRUE(form->btnOk->Focused());

    TEdit orphan;
    EXPECT_FALSE(orphan.CanFocus());
    EXPECT_THROW(orphan.SetFocus(), EInvalidOperation);
}

TEST_F(FormsTest, TabOrderSelectNextAndKeys) {
    form->Show();
    form->edB->SetTabOrder(0);
    EXPECT_EQ(form->edA->TabOrder(), 1);
    std::vector<TWinControl*> order;
    form->GetTabOrderList(order);
    EXPECT_EQ(order, (std::vector<TWinControl*>{form->pnlTop, form->edB, form->edA, form->pnlBottom, form->btnOk,
                                                 form->btnCancel}));
    form->edB->SetFocus();
    form->edB->PressKey(VK_TAB);
    EXPECT_TRUE(form->edA->Focused());
    form->edA->PressKey(VK_TAB);
    EXPECT_TRUE(form->btnOk->Focused()) << "panels have no tab stop";
    form->btnOk->SetEnabled(false);
    form->SelectNext(form->btnCancel, true, true);
    EXPECT_TRUE(form->edB->Focused()) << "wraps around, skipping the disabled button";
    form->edB->PressKey(VK_TAB, ssShift);
    EXPECT_TRUE(form->btnCancel->Focused());

    // WM_NEXTDLGCTL, posted, moves when the queue is processed.
    form->edB->SetFocus();
    EXPECT_TRUE(PostMessage(form, WM_NEXTDLGCTL, 0, 0));
    EXPECT_TRUE(form->edB->Focused());
    Application().ProcessMessages();
    EXPECT_TRUE(form->edA->Focused());
}

TEST_F(FormsTest, KeyPreviewSeesKeysFirstAndCanConsumeThem) {
    form->Show();
    form->SetKeyPreview(true);
    form->OnKeyDown = [&](TObject* sender, Word& key, TShiftState) {
        log.push_back("form down " + std::to_string(key));
        if (key == VK_F2) key = 0;
    };
    form->OnKeyPress = [&](TObject*, char& key) {
        log.push_back(std::string("form press ") + key);
        if (key == 'x') key = 0;
    };
    form->edA->OnKeyDown = [&](TObject*, Word& key, TShiftState) { log.push_back("edit down " + std::to_string(key)); };
    form->edA->SetText("");
    log.clear();
    form->edA->PressKey(VK_F2);
    form->edA->PressKey('A', ssShift);
    form->edA->PressKey('X');
    EXPECT_EQ(log, (Log{"form down 113", "form down 65", "edit down 65", "form press A", "form down 88",
                        "edit down 88", "form press x"}));
    EXPECT_EQ(form->edA->Text(), "A");
}

TEST_F(FormsTest, EnterAndEscPressDefaultAndCancelButtons) {
    int ok = 0, cancel = 0;
    form->btnOk->SetDefault(true);
    form->btnCancel->SetCancel(true);
    form->btnOk->OnClick = [&](TObject*) { ++ok; };
    form->btnCancel->OnClick = [&](TObject*) { ++cancel; };
    form->Show();
    form->edA->PressKey(VK_RETURN);
    form->edA->PressKey(VK_ESCAPE);
    EXPECT_EQ(ok, 1);
    EXPECT_EQ(cancel, 1);
    form->btnOk->SetEnabled(false);
    form->edA->PressKey(VK_RETURN);
    EXPECT_EQ(ok, 1) << "a disabled default button hears nothing";
}

TEST_F(FormsTest, SendDispatchesAtOncePostWaitsAndGoneWindowsDropMessages) {
    HWND wnd = form->Handle();
    EXPECT_EQ(FindControl(wnd), form);
    EXPECT_EQ(SendMessage(wnd, WM_QUICKPICK, 0, ControlParam(form->edA)), 42);
    EXPECT_EQ(log, (Log{"quickpick edA"}));
    EXPECT_TRUE(PostMessage(wnd, WM_QUICKPICK, 0, ControlParam(form->edB)));
    EXPECT_EQ(log.size(), 1u);
    Application().ProcessMessages();
    EXPECT_EQ(log.back(), "quickpick edB");

    HWND edit = form->edA->Handle();
    EXPECT_NE(edit, wnd);
    EXPECT_TRUE(PostMessage(edit, WM_CHAR, 'q'));
    form->edA->Free();
    form->edA = nullptr;
    EXPECT_EQ(FindControl(edit), nullptr);
    Application().ProcessMessages();  // the queued message for the gone edit is dropped
    EXPECT_FALSE(PostMessage(edit, WM_CLOSE));
    EXPECT_EQ(SendMessage(edit, WM_CLOSE), 0);
    EXPECT_FALSE(PostMessage(HWND{0}, WM_CLOSE));
}

TEST_F(FormsTest, CloseActions) {
    struct Case {
        TCloseAction action;
        bool canClose;
        bool visibleAfter;
        bool existsAfterProcessing;
    };
    for (Case c : {Case{TCloseAction::caHide, true, false, true}, Case{TCloseAction::caNone, true, true, true},
                   Case{TCloseAction::caHide, false, true, true}, Case{TCloseAction::caMinimize, true, true, true},
                   Case{TCloseAction::caFree, true, true, false}}) {
        auto* f = TCustomForm::Create<TForm>(nullptr);
        bool destroyed = false;
        f->OnDestroy = [&](TObject*) { destroyed = true; };
        f->OnCloseQuery = [&](TObject*, bool& can) { can = c.canClose; };
        f->OnClose = [&](TObject*, TCloseAction& a) {
            EXPECT_EQ(a, TCloseAction::caHide);
            a = c.action;
        };
        f->Show();
        PostMessage(f, WM_CLOSE);
        Application().ProcessMessages();
        EXPECT_EQ(destroyed, !c.existsAfterProcessing) << static_cast<int>(c.action);
        if (!destroyed) {
            EXPECT_EQ(f->Visible(), c.visibleAfter) << static_cast<int>(c.action);
            if (c.action == TCloseAction::caMinimize) {
                EXPECT_EQ(f->WindowState(), TWindowState::wsMinimized);
            }
            f->Free();
        }
    }
}

TEST_F(FormsTest, FreeActionDestroysTheFormOnlyAfterTheClosingHandlerReturned) {
    bool destroyed = false;
    form->OnDestroy = [&](TObject*) { destroyed = true; };
    form->OnClose = [](TObject*, TCloseAction& a) { a = TCloseAction::caFree; };
    form->btnCancel->OnClick = [&](TObject*) {
        form->Close();
        EXPECT_FALSE(destroyed);
        form->edA->SetText("still whole");  // the form is usable until the handler ends
    };
    form->Show();
    form->btnCancel->Click();
    EXPECT_FALSE(destroyed);
    EXPECT_EQ(Screen().IndexOf(form), 0);
    Application().ProcessMessages();
    EXPECT_TRUE(destroyed);
    EXPECT_EQ(Screen().IndexOf(form), -1);
    form = nullptr;
}

TEST_F(FormsTest, ModalLoopEndsWithTheAgentsClick) {
    TScriptedAgent agent;
    agent.SetText("frmSample", "edA", "typed").Click("TfrmSample", "btnOk");
    TUserAgentScope scope(&agent);
    log.clear();
    EXPECT_EQ(form->ShowModal(), mrOk);
    EXPECT_EQ(form->edA->Text(), "typed");
    EXPECT_FALSE(form->Visible());
    EXPECT_EQ(agent.Pending(), 0u);
    EXPECT_EQ(agent.Log(), (Log{"frmSample: set text of edA", "frmSample: click btnOk"}));
    EXPECT_TRUE(Application().Diagnostics().empty());
}

TEST_F(FormsTest, IdleOrMismatchedAgentEndsTheLoopWithCancelAndADiagnostic) {
    EXPECT_EQ(form->ShowModal(), mrCancel);  // no agent at all
    ASSERT_EQ(Application().Diagnostics().size(), 1u);
    EXPECT_NE(Application().Diagnostics()[0].find("frmSample"), std::string::npos);

    TScriptedAgent agent;
    agent.Answer("frmOther", mrOk);
    TUserAgentScope scope(&agent);
    EXPECT_EQ(form->ShowModal(), mrCancel);
    EXPECT_EQ(agent.Pending(), 1u) << "a step for another form stays";
    EXPECT_EQ(Application().Diagnostics().size(), 2u);
}

TEST_F(FormsTest, ModalLoopRefusedCloseAndTurnLimit) {
    // CloseQuery refuses once: the loop goes on until the agent answers again.
    int asked = 0;
    form->OnCloseQuery = [&](TObject*, bool& can) { can = ++asked > 1; };
    TScriptedAgent agent;
    agent.Answer("", mrYes).Answer("", mrNo);
    TUserAgentScope scope(&agent);
    EXPECT_EQ(form->ShowModal(), mrNo);
    EXPECT_EQ(asked, 2);

    // An agent that keeps busy without ever answering is cut off.
    form->OnCloseQuery.Clear();
    struct Busy : TUserAgent {
        bool Turn(TCustomForm&) override { return true; }
    } busy;
    TUserAgentScope busyScope(&busy);
    Application().SetMaxModalTurns(50);
    EXPECT_EQ(form->ShowModal(), mrCancel);
    Application().SetMaxModalTurns(10000);
    EXPECT_NE(Application().Diagnostics().back().find("50 turns"), std::string::npos);
    EXPECT_THROW(
        {
            form->Show();
            form->ShowModal();
        },
        EInvalidOperation);
    form->Hide();
}

TEST_F(FormsTest, ModalFormFreedByItsCloseActionGoesAfterTheLoop) {
    bool destroyed = false;
    form->OnDestroy = [&](TObject*) { destroyed = true; };
    form->OnClose = [](TObject*, TCloseAction& a) { a = TCloseAction::caFree; };
    TScriptedAgent agent;
    agent.Click("", "btnOk");
    TUserAgentScope scope(&agent);
    EXPECT_EQ(form->ShowModal(), mrOk);
    EXPECT_FALSE(destroyed) << "the caller may still read the form";
    Application().ProcessMessages();
    EXPECT_TRUE(destroyed);
    form = nullptr;
}

TEST_F(FormsTest, NestedDialogInsideAModalLoop) {
    // The agent's click opens a confirmation; the dialog service answers it.
    form->btnOk->OnClick = [&](TObject*) {
        if (MessageDlg("Save?", TMsgDlgType::mtConfirmation, mbYesNo) != mrYes) form->SetModalResult(mrNone);
    };
    HeadlessDialogs().Script({mrNo, mrYes});
    TScriptedAgent agent;
    agent.Click("", "btnOk").Click("", "btnOk");
    TUserAgentScope scope(&agent);
    EXPECT_EQ(form->ShowModal(), mrOk);
    ASSERT_EQ(HeadlessDialogs().Requests().size(), 2u);
    const TDialogRequest& r = HeadlessDialogs().Last();
    EXPECT_EQ(r.Text, "Save?");
    EXPECT_EQ(r.Caption, "Confirm");
    ASSERT_EQ(r.Buttons.size(), 2u);
    EXPECT_EQ(r.Buttons[0].Caption, "&Yes");
    EXPECT_EQ(r.Buttons[1].Result, mrNo);
}

TEST_F(FormsTest, ExceptionsInPostedHandlersAndAgentStepsAreHandledNotPropagated) {
    form->btnOk->SetModalResult(mrNone);
    form->btnOk->OnClick = [](TObject*) { throw EConvertError("bad value"); };
    TScriptedAgent agent;
    agent.Click("", "btnOk").Click("", "nosuch");
    TUserAgentScope scope(&agent);
    EXPECT_EQ(form->ShowModal(), mrCancel);
    const auto& d = Application().Diagnostics();
    ASSERT_GE(d.size(), 3u);
    EXPECT_EQ(d[0], "Exception: bad value");
    EXPECT_NE(d[1].find("nosuch"), std::string::npos);
    EXPECT_EQ(HeadlessDialogs().Requests().size(), 2u);
    EXPECT_EQ(HeadlessDialogs().Requests()[0].Type, TMsgDlgType::mtError);
}

TEST_F(FormsTest, NestedModalFormsAreAnsweredByName) {
    auto* child = TCustomForm::Create<TfrmSample>(nullptr);
    child->SetName("frmChild");
    TModalResult childResult = mrNone;
    form->btnOk->SetModalResult(mrNone);
    form->btnOk->OnClick = [&](TObject*) { childResult = child->ShowModal(); };
    TScriptedAgent agent;
    agent.Click("frmSample", "btnOk").SetText("frmChild", "edB", "in child").Click("frmChild", "btnOk").Click("frmSample", "btnCancel");
    TUserAgentScope scope(&agent);
    EXPECT_EQ(form->ShowModal(), mrCancel);
    EXPECT_EQ(childResult, mrOk);
    EXPECT_EQ(child->edB->Text(), "in child");
    EXPECT_TRUE(form->Active() || !form->Visible());
    EXPECT_TRUE(Application().Diagnostics().empty());
    child->Free();
}

TEST_F(FormsTest, FormFreedOutrightInsideItsOwnModalLoop) {
    bool destroyed = false;
    form->OnDestroy = [&](TObject*) { destroyed = true; };
    TScriptedAgent agent;
    agent.Then("", [](TCustomForm& f) { f.Free(); }, "free");
    TUserAgentScope scope(&agent);
    EXPECT_EQ(form->ShowModal(), mrCancel);
    EXPECT_TRUE(destroyed);
    form = nullptr;
}

TEST_F(FormsTest, ApplicationRunEndsWhenTheMainFormCloses) {
    Application().SetMainForm(form);
    form->btnCancel->OnClick = [&](TObject*) { PostMessage(form, WM_CLOSE); };
    TScriptedAgent agent;
    agent.Click("", "btnCancel");
    TUserAgentScope scope(&agent);
    Application().Run();
    EXPECT_FALSE(form->Visible());
    EXPECT_TRUE(Application().Terminated());
    form->Free();
    form = nullptr;
    EXPECT_EQ(Application().MainForm(), nullptr) << "free notification clears the main form";
    Application().ResetTerminated();
}

TEST(DialogsTest, MessageDialogFormCarriesChangedCaptionsAndFontToTheService) {
    HeadlessDialogs().Clear();
    std::unique_ptr<TMessageForm, FreeObject> dlg(CreateMessageDialog("删除?", TMsgDlgType::mtWarning, mbYesNoCancel));
    ASSERT_EQ(dlg->Buttons().size(), 3u);
    auto* yes = dyn_cast<TButton>(dlg->FindComponent("Yes"));
    ASSERT_NE(yes, nullptr);
    yes->SetCaption("是(&Y)");
    dlg->Font()->SetName("宋体");
    dlg->Font()->SetCharset(GB2312_CHARSET);
    EXPECT_EQ(dlg->ShowModal(), mrYes) << "unscripted: the first button";
    const TDialogRequest& r = HeadlessDialogs().Last();
    EXPECT_EQ(r.Buttons[0].Caption, "是(&Y)");
    EXPECT_EQ(r.Buttons[2].Caption, "Cancel");
    EXPECT_EQ(r.FontName, "宋体");
    EXPECT_EQ(r.FontCharset, GB2312_CHARSET);
    EXPECT_EQ(r.Type, TMsgDlgType::mtWarning);

    HeadlessDialogs().Answer(IDNO);
    EXPECT_EQ(Application().MessageBox("text", "caption", MB_YESNO | MB_ICONQUESTION), IDNO);
    EXPECT_EQ(HeadlessDialogs().Last().Kind, "MessageBox");
    EXPECT_EQ(HeadlessDialogs().Last().Type, TMsgDlgType::mtConfirmation);
    HeadlessDialogs().Clear();
}

TEST(ControlsTest, DestroyingAContainerDestroysItsChildrenAndUpdatesTheOwner) {
    auto* f = TCustomForm::Create<TForm>(nullptr);
    auto* panel = Make<TPanel>(f, f, "panel", 0, 0, 100, 100);
    auto* inner = Make<TPanel>(f, panel, "inner", 0, 0, 50, 50);
    auto* edit = Make<TEdit>(f, inner, "edit", 0, 0, 40, 21);
    auto* unowned = Make<TEdit>(nullptr, panel, "", 0, 30, 40, 21);
    (void)unowned;
    f->Show();
    edit->SetFocus();
    EXPECT_EQ(f->ComponentCount(), 3);
    panel->Free();
    EXPECT_EQ(f->ComponentCount(), 0);
    EXPECT_EQ(f->ControlCount(), 0);
    EXPECT_EQ(f->ActiveControl(), nullptr);
    EXPECT_EQ(f->FindComponent("edit"), nullptr);
    f->Free();
}

TEST(ControlsTest, AlignmentLaysOutInTheClientArea) {
    auto* f = TCustomForm::Create<TForm>(nullptr);
    f->SetBounds(0, 0, 400, 300);
    auto* top = Make<TPanel>(f, f, "top", 0, 0, 10, 40);
    top->SetAlign(TAlign::alTop);
    auto* bottom = Make<TPanel>(f, f, "bottom", 0, 0, 10, 30);
    bottom->SetAlign(TAlign::alBottom);
    auto* left = Make<TPanel>(f, f, "left", 0, 0, 50, 10);
    left->SetAlign(TAlign::alLeft);
    auto* client = Make<TPanel>(f, f, "client", 0, 0, 1, 1);
    client->SetAlign(TAlign::alClient);
    EXPECT_EQ(top->BoundsRect(), Bounds(0, 0, 400, 40));
    EXPECT_EQ(bottom->BoundsRect(), Bounds(0, 270, 400, 30));
    EXPECT_EQ(left->BoundsRect(), Bounds(0, 40, 50, 230));
    EXPECT_EQ(client->BoundsRect(), Bounds(50, 40, 350, 230));
    int resized = 0;
    client->OnResize = [&](TObject*) { ++resized; };
    f->SetWidth(500);
    EXPECT_EQ(client->BoundsRect(), Bounds(50, 40, 450, 230));
    EXPECT_EQ(resized, 1);
    top->SetVisible(false);
    EXPECT_EQ(left->BoundsRect(), Bounds(0, 0, 50, 270));
    f->Free();
}

TEST(ControlsTest, ParentFontAndPublishedNames) {
    auto* f = TCustomForm::Create<TForm>(nullptr);
    f->Font()->SetName("宋体");
    f->Font()->SetHeight(-13);
    auto* label = Make<TLabel>(f, f, "lbl", 8, 8, 0, 0, "日期ab");
    EXPECT_EQ(label->Font()->Name(), "宋体");
    EXPECT_EQ(label->Width(), 13 + 13 + 13);  // two double-byte characters and two single-byte ones
    EXPECT_EQ(label->Height(), 13);
    label->Font()->SetSize(12);
    EXPECT_FALSE(label->ParentFont());
    f->Font()->SetName("Arial");
    EXPECT_EQ(label->Font()->Name(), "宋体") << "no longer follows the form";

    // Captioned controls publish Caption, value controls Text.
    auto* edit = Make<TEdit>(f, f, "ed", 0, 0, 10, 10);
    EXPECT_TRUE(IsPublishedProp(label, "Caption"));
    EXPECT_FALSE(IsPublishedProp(label, "Text"));
    EXPECT_TRUE(IsPublishedProp(edit, "Text"));
    EXPECT_FALSE(IsPublishedProp(edit, "Caption"));
    TObject* font = GetObjectProp(*edit, *GetPropInfo(edit, "Font"));
    SetPropValue(*font, "Name", Variant(std::string("Tahoma")));
    EXPECT_EQ(edit->Font()->Name(), "Tahoma");
    SetPropValue(*edit, "Text", Variant(std::string("x")));
    EXPECT_EQ(edit->Text(), "x");
    EXPECT_EQ(GetPropValue(*f, "KeyPreview").ToBool(), false);
    f->Free();
}

}  // namespace
}  // namespace zb
