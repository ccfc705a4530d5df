// Message codes, texts from the host's table, the two run logs, the kind
// table, and the message dialog with its captions, font and form switches.
#include <gtest/gtest.h>

#include <map>
#include <memory>

#include "env/MessageText.h"
#include "platform/core/Format.h"
#include "platform/remote/AutoObject.h"
#include "platform/ui/Forms.h"
#include "platform/ui/Graphics.h"
#include "platform/ui/Messages.h"
#include "platform/ui/StdCtrls.h"

namespace zb {
namespace {

// An edit that notes the button-up messages it is sent.
class TNotingEdit : public TEdit {
    ZB_CLASS(TNotingEdit, TEdit)

public:
    using TEdit::TEdit;
    void WndProc(TMessage& m) override {
        if (m.Msg == WM_LBUTTONUP) ++buttonUps;
        inherited::WndProc(m);
    }
    int buttonUps = 0;
};
ZB_PUBLISHED(TNotingEdit){};

class TfrmMsgHost : public TForm {
    ZB_CLASS(TfrmMsgHost, TForm)

public:
    explicit TfrmMsgHost(TComponent* owner) : TForm(owner) {
        SetName("frmMsgHost");
        SetCaption("采集作业");
        SetBounds(0, 0, 300, 200);
        edA = Make<TNotingEdit>(this, this, "edA", 8, 8, 100, 21);
        edB = Make<TNotingEdit>(this, this, "edB", 8, 40, 100, 21);
    }
    TNotingEdit *edA, *edB;
};
ZB_PUBLISHED(TfrmMsgHost){};

class MessageTextTest : public ::testing::Test {
protected:
    void SetUp() override {
        HeadlessDialogs().Clear();
        host = std::make_shared<TAutoObject>("THost");
        host->Method(
            "GetMessage",
            [this](TAutoObject::Args& a) -> Variant {
                lookups.push_back(a[0].ToString() + "/" + a[1].ToString());
                auto it = table.find(a[1].ToString());
                if (it == table.end()) throw EOleError("no message " + a[1].ToString());
                return Variant::Wide(it->second);
            },
            2);
        table = {{"000013", "作业已提交"},  {"000004", "完成 %s"},     {"000030", "单据 %s"},
                 {"000014", "记录 %d 笔"},  {"100082", "%s/%s/%s/%s/%s/%s/%s/%s/%s/%s"}};
        texts.Site().HostObject = [this] { return Variant(std::static_pointer_cast<IDispatch>(host)); };
    }
    void TearDown() override {
        if (form) form->Free();
        Application().ProcessMessages();
        HeadlessDialogs().Clear();
    }
    const std::vector<TDialogRequest>& Dialogs() { return HeadlessDialogs().Requests(); }

    std::shared_ptr<TAutoObject> host;
    std::map<std::string, std::string> table;
    std::vector<std::string> lookups;
    TMessageTexts texts;
    TfrmMsgHost* form = nullptr;
};

TEST(MessageCode, Grammar) {
    struct Case {
        const char* code;
        const char* kind;
        const char* number;
        bool shown;
        int argCount;
        const char* arg0;
        const char* arg1;
    } cases[] = {
        {"E;000013", "E", "000013", true, 1, "", ""},
        {"E;000030;", "E", "000030", true, 1, "", ""},
        {"I;-000004;", "I", "000004", false, 1, "", ""},
        {"I;000000", "I", "00000", false, 1, "", ""},
        {"W;000014;a;b", "W", "000014", true, 2, "a", "b"},
        {"E;100082;;x", "E", "100082", true, 2, "", "x"},
        {"E;12ab;x;", "E", "2ab", false, 1, "x", ""},
        {"", "", "", false, 1, "", ""},
        {"Q", "Q", "", false, 1, "", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.code);
        TMessageCode m = ParseMessageCode(c.code);
        EXPECT_EQ(m.Kind, c.kind);
        EXPECT_EQ(m.Number, c.number);
        EXPECT_EQ(m.Shown, c.shown);
        EXPECT_EQ(m.ArgCount, c.argCount);
        EXPECT_EQ(m.Args[0], c.arg0);
        EXPECT_EQ(m.Args[1], c.arg1);
    }
}

TEST(MessageCode, TenArgumentsAndNoMore) {
    TMessageCode m = ParseMessageCode("E;100082;0;1;2;3;4;5;6;7;8;9");
    EXPECT_EQ(m.ArgCount, 10);
    EXPECT_EQ(m.Args[9], "9");
    EXPECT_THROW(ParseMessageCode("E;100082;0;1;2;3;4;5;6;7;8;9;10"), EMessageCodeError);
    // A trailing separator after the tenth is no eleventh argument.
    EXPECT_EQ(ParseMessageCode("E;100082;0;1;2;3;4;5;6;7;8;9;").ArgCount, 10);
}

TEST(MessageFormat, FillsAndRefuses) {
    EXPECT_EQ(Format("a %s b %d c %%", {Variant("x"), Variant(-12)}), "a x b -12 c %");
    EXPECT_EQ(Format("%1:s-%0:s-%s", {Variant("a"), Variant("b")}), "b-a-b");
    EXPECT_EQ(Format("[%5s][%-4d][%.3d][%*d]", {Variant("ab"), Variant(7), Variant(5), Variant(3), Variant(1)}),
              "[   ab][7   ][005][  1]");
    EXPECT_EQ(Format("%.2f %n %x", {Variant(3.14159), Variant(1234567.5), Variant(255)}), "3.14 1,234,567.50 FF");
    EXPECT_EQ(Format("%.1s", {Variant("中文")}), "");  // a character is never cut in two
    EXPECT_EQ(Format("only", {Variant("surplus")}), "only");
    for (const char* bad : {"%d", "%s %s", "%q", "100%", "%f"}) {
        SCOPED_TRACE(bad);
        EXPECT_THROW(Format(bad, {Variant("text")}), EConvertError);
    }
}

TEST(MessageKindTable, DialogsAndButtons) {
    struct Case {
        const char* kind;
        TMsgDlgType type;
        TMsgDlgButtons buttons;
    } cases[] = {
        {"C", TMsgDlgType::mtWarning, mbOKCancel},         {"D", TMsgDlgType::mtWarning, mbYesNoCancel},
        {"W", TMsgDlgType::mtWarning, mbOKCancel},         {"E", TMsgDlgType::mtError, mbOKOnly},
        {"I", TMsgDlgType::mtInformation, mbOKOnly},       {"Q", TMsgDlgType::mtConfirmation, mbOKCancel},
        {"X", TMsgDlgType::mtCustom, mbOKOnly},            {"e", TMsgDlgType::mtCustom, mbOKOnly},
        {"", TMsgDlgType::mtCustom, mbOKOnly},             {"EE", TMsgDlgType::mtCustom, mbOKOnly},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.kind);
        EXPECT_EQ(MessageKind(c.kind).Type, c.type);
        EXPECT_EQ(MessageKind(c.kind).Buttons, c.buttons);
    }
}

TEST(MessageButtons, Captions) {
    EXPECT_EQ(LocalizeButtonCaption("Yes"), "是(&Y)");
    EXPECT_EQ(LocalizeButtonCaption("NoToAll"), "全否(&o)");
    EXPECT_EQ(LocalizeButtonCaption("Help"), "帮助(&H)");
    EXPECT_EQ(LocalizeButtonCaption("Close"), "Close");
    EXPECT_EQ(LocalizeButtonCaption("ok"), "ok");
}

TEST_F(MessageTextTest, TextsFromTheHostConvertedForDisplay) {
    texts.Site().ToDisplay = [](const std::string& s) { return "<" + s + ">"; };
    EXPECT_EQ(texts.GetMessageText("E", "000013"), "<作业已提交>");
    EXPECT_EQ(lookups, std::vector<std::string>{"E/000013"});
    EXPECT_THROW(texts.GetMessageText("E", "999999"), EOleError);

    texts.Site().HostObject = nullptr;
    EXPECT_EQ(texts.GetMessageText("E", "000013"), "<Can not Get Message\rType= E, ID= 000013 >");
}

TEST_F(MessageTextTest, HiddenCodeIsLookedUpAndLoggedButNotShown) {
    texts.ReportMessage("I;-000004;");
    EXPECT_EQ(lookups, std::vector<std::string>{"I/000004"});
    EXPECT_EQ(texts.MessageLog(), "I;-000004;; ");
    EXPECT_EQ(texts.MessageTextLog(), "完成 ; ");
    EXPECT_TRUE(Dialogs().empty());
}

TEST_F(MessageTextTest, LogsKeepEveryCodeButEachTextOnce) {
    texts.ReportMessage("E;000013");
    texts.ReportMessage("E;000013");
    texts.RecordError("  磁盘已满 ");
    texts.RecordError("磁盘已满");
    EXPECT_EQ(texts.MessageLog(), "E;000013; E;000013; E;-1; E;-1; ");
    EXPECT_EQ(texts.MessageTextLog(), "作业已提交; 磁盘已满; ");
    ASSERT_EQ(Dialogs().size(), 2u);  // RecordError never shows

    texts.RecordError("   ");
    EXPECT_EQ(texts.MessageLog(), "");
    EXPECT_EQ(texts.MessageTextLog(), "");
    texts.ReportMessage("E;000013");
    texts.ReportMessage("");
    EXPECT_EQ(texts.MessageLog(), "");
    EXPECT_EQ(texts.MessageTextLog(), "");
}

TEST_F(MessageTextTest, ArgumentsFillTheTemplate) {
    texts.ReportMessage("E;000030;A01;B02");  // one "%s", two arguments
    EXPECT_EQ(Dialogs().back().Text, "单据 A01");
    texts.ReportMessage("E;100082;0;1;2;3;4;5;6;7;8;9");
    EXPECT_EQ(Dialogs().back().Text, "0/1/2/3/4/5/6/7/8/9");
    texts.ReportMessage("E;000030");  // no argument: slot 0 is an empty text
    EXPECT_EQ(Dialogs().back().Text, "单据 ");
}

TEST_F(MessageTextTest, FormatAndLookupFailuresShowTheArguments) {
    texts.ReportMessage("W;000014;abc");  // "%d" with a text
    EXPECT_EQ(Dialogs().back().Text, "记录 %d 笔\rabc;;;;;;;;;;");
    texts.ReportMessage("E;999999;x;y");  // the lookup fails: nothing of a template
    EXPECT_EQ(Dialogs().back().Text, "\rx;y;;;;;;;;;");
    EXPECT_EQ(texts.MessageTextLog(), "记录 %d 笔\rabc;;;;;;;;;;; \rx;y;;;;;;;;;; ");
}

TEST_F(MessageTextTest, EleventhArgumentIsRaisedAfterLogging) {
    EXPECT_THROW(texts.ReportMessage("E;100082;0;1;2;3;4;5;6;7;8;9;10"), EMessageCodeError);
    EXPECT_EQ(texts.MessageLog(), "E;100082;0;1;2;3;4;5;6;7;8;9;10; ");
    EXPECT_TRUE(lookups.empty());
    EXPECT_TRUE(Dialogs().empty());
}

TEST_F(MessageTextTest, ReportedMessagesHaveOnlyOk) {
    for (const char* code : {"D;000013", "Q;000013", "I;000013", "E;000013", "Z;000013"}) {
        SCOPED_TRACE(code);
        texts.ReportMessage(code);
        ASSERT_EQ(Dialogs().back().Buttons.size(), 1u);
        EXPECT_EQ(Dialogs().back().Buttons[0].Kind, mbOK);
        EXPECT_EQ(Dialogs().back().Type, MessageKind(std::string(1, code[0])).Type);
    }
}

TEST_F(MessageTextTest, WithoutHostTheFallbackTextIsShownWithTheKindsIcon) {
    texts.Site().HostObject = nullptr;
    texts.ReportMessage("E;000013;x");
    EXPECT_EQ(Dialogs().back().Text, "Can not Get Message\rType= E, ID= 000013 ");
    EXPECT_EQ(Dialogs().back().Type, TMsgDlgType::mtError);
}

TEST_F(MessageTextTest, ReportsAreIgnoredWhileCancelIsActive) {
    bool cancel = true;
    texts.Site().CancelIsActive = [&] { return cancel; };
    texts.ReportMessage("E;000013");
    texts.RecordError("still logged");  // only reports are ignored
    EXPECT_EQ(texts.MessageLog(), "E;-1; ");
    EXPECT_TRUE(Dialogs().empty());
    cancel = false;
    texts.ReportMessage("E;000013");
    EXPECT_EQ(Dialogs().size(), 1u);
}

TEST_F(MessageTextTest, ShowMessageCodeUsesTheKindTableAndReturnsTheAnswer) {
    HeadlessDialogs().Script({mrYes, mrNo, mrCancel});
    std::vector<int> answers;
    for (int i = 0; i < 3; ++i) answers.push_back(texts.ShowMessageCode("D", "000004", {Variant("x")}));
    EXPECT_EQ(answers, (std::vector<int>{6, 7, 2}));
    const TDialogRequest& d = Dialogs().back();
    EXPECT_EQ(d.Text, "完成 x");
    EXPECT_EQ(d.Type, TMsgDlgType::mtWarning);
    ASSERT_EQ(d.Buttons.size(), 3u);
    EXPECT_EQ(d.Buttons[0].Kind, mbYes);
    EXPECT_EQ(d.Buttons[2].Kind, mbCancel);

    EXPECT_EQ(texts.ShowMessageCode("D", "000004", {Variant("x")}, mbAbortRetryIgnore), mrAbort);
    EXPECT_EQ(Dialogs().back().Buttons.size(), 3u);
    EXPECT_EQ(Dialogs().back().Buttons[1].Kind, mbRetry);
    EXPECT_EQ(texts.MessageLog(), "");  // nothing is logged

    // Its failures reach the caller.
    EXPECT_THROW(texts.ShowMessageCode("I", "000014", {Variant("x")}), EConvertError);
    EXPECT_THROW(texts.ShowMessageCode("I", "999999", {}), EOleError);
}

TEST_F(MessageTextTest, ButtonCaptionsByCodePage) {
    std::string codePage = "936";
    texts.Site().UICodePage = [&] { return codePage; };
    texts.Site().ToDisplay = [&](const std::string& s) {
        return codePage == "950" && s == "确定" ? std::string("確定") : s;
    };
    texts.MessageDlg("t", TMsgDlgType::mtConfirmation, mbYesNoCancel | mbOKOnly);
    std::vector<std::string> captions;
    for (const auto& b : Dialogs().back().Buttons) captions.push_back(b.Caption);
    EXPECT_EQ(captions, (std::vector<std::string>{"是(&Y)", "否(&N)", "确定", "取消"}));

    codePage = "950";
    texts.MessageDlg("t", TMsgDlgType::mtConfirmation, mbOKOnly);
    EXPECT_EQ(Dialogs().back().Buttons[0].Caption, "確定");

    codePage = "437";
    texts.MessageDlg("t", TMsgDlgType::mtConfirmation, mbYesNo);
    EXPECT_EQ(Dialogs().back().Buttons[0].Caption, DefaultButtonCaption(mbYes));
    EXPECT_EQ(Dialogs().back().Buttons[1].Caption, DefaultButtonCaption(mbNo));
}

TEST_F(MessageTextTest, DialogTakesTheFormsCaptionAndTheConvertersFont) {
    form = TCustomForm::Create<TfrmMsgHost>(nullptr);
    texts.Site().Form = [this] { return static_cast<TCustomForm*>(form); };
    texts.Site().DialogFont = [](TFont& f) {
        f.SetName("SimSun");
        f.SetCharset(136);
    };
    texts.MessageDlg("t", TMsgDlgType::mtInformation, mbOKOnly);
    EXPECT_EQ(Dialogs().back().Caption, "采集作业");
    EXPECT_EQ(Dialogs().back().FontName, "SimSun");
    EXPECT_EQ(Dialogs().back().FontCharset, 136);
}

TEST_F(MessageTextTest, DuringAPageChangeOnlyErrorsAreShown) {
    texts.Site().InPageChange = [] { return true; };
    texts.ReportMessage("I;000013");
    EXPECT_TRUE(Dialogs().empty());
    EXPECT_EQ(texts.ShowMessageCode("Q", "000013", {}), 0);
    EXPECT_TRUE(Dialogs().empty());
    texts.ReportMessage("E;000013");
    ASSERT_EQ(Dialogs().size(), 1u);
    EXPECT_EQ(Dialogs().back().Type, TMsgDlgType::mtError);
    EXPECT_EQ(texts.MessageLog(), "I;000013; E;000013; ");  // both logged
}

TEST_F(MessageTextTest, AfterAnErrorTheLastFocusedControlGetsTheFocusBack) {
    form = TCustomForm::Create<TfrmMsgHost>(nullptr);
    form->Show();
    form->edB->SetFocus();
    texts.Site().Form = [this] { return static_cast<TCustomForm*>(form); };
    texts.Site().LastFocused = [this] { return static_cast<TWinControl*>(form->edA); };

    texts.MessageDlg("i", TMsgDlgType::mtInformation, mbOKOnly);
    EXPECT_EQ(form->ActiveControl(), form->edB);
    texts.MessageDlg("e", TMsgDlgType::mtError, mbOKOnly);
    EXPECT_EQ(form->ActiveControl(), form->edA);
    Application().ProcessMessages();
    EXPECT_EQ(form->edB->buttonUps, 2);  // the control active when each dialog closed

    form->edA->SetEnabled(false);
    form->edB->SetFocus();
    texts.MessageDlg("e", TMsgDlgType::mtError, mbOKOnly);
    EXPECT_EQ(form->ActiveControl(), form->edB);
}

TEST_F(MessageTextTest, SystemSettings) {
    struct Case {
        Variant order, sep;
        int format;
        const char* separator;
    } cases[] = {
        {Variant("3"), Variant("-"), 3, "-"},
        {Variant(), Variant(), 1, "/"},
        {Variant("abc"), Variant(""), 1, "/"},
        {Variant(5), Variant("."), 5, "."},
        {Variant(Null), Variant(Null), 1, "/"},
    };
    for (const auto& c : cases) {
        texts.Site().SystemSetting = [&](std::string_view name) { return name == "Sys001" ? c.order : c.sep; };
        EXPECT_EQ(texts.DateFormat(), c.format);
        EXPECT_EQ(texts.DateSep(), c.separator);
    }
    texts.Site().SystemSetting = nullptr;
    EXPECT_EQ(texts.DateFormat(), 1);
    EXPECT_EQ(texts.DateSep(), "/");
}

}  // namespace
}  // namespace zb
