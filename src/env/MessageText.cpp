#include "env/MessageText.h"

#include <memory>

#include "platform/core/Format.h"
#include "platform/core/TextUtils.h"
#include "platform/ui/Controls.h"
#include "platform/ui/Forms.h"
#include "platform/ui/Messages.h"
#include "platform/ui/StdCtrls.h"
#include "util/LibStrs.h"

namespace zb {

TMessageCode ParseMessageCode(std::string_view code) {
    TMessageCode parsed;
    std::string rest(code);
    parsed.Kind = CutFirstField(rest, ";");
    parsed.Number = CutFirstField(rest, ";");
    parsed.Shown = StrToIntDef(parsed.Number, 0) > 0;
    if (!parsed.Shown && !parsed.Number.empty()) parsed.Number.erase(0, 1);
    // Slot 0 is written even when nothing follows the number.
    do {
        if (parsed.ArgCount == MaxMessageArgs)
            throw EMessageCodeError("Message code with more than " + std::to_string(MaxMessageArgs) +
                                    " arguments: " + std::string(code));
        parsed.Args[static_cast<std::size_t>(parsed.ArgCount++)] = CutFirstField(rest, ";");
    } while (!rest.empty());
    return parsed;
}

TMessageKind MessageKind(std::string_view kind) {
    char letter = kind.size() == 1 ? kind[0] : '\0';
    switch (letter) {
        case 'C':
        case 'W': return {TMsgDlgType::mtWarning, mbOKCancel};
        case 'D': return {TMsgDlgType::mtWarning, mbYesNoCancel};
        case 'E': return {TMsgDlgType::mtError, mbOKOnly};
        case 'I': return {TMsgDlgType::mtInformation, mbOKOnly};
        case 'Q': return {TMsgDlgType::mtConfirmation, mbOKCancel};
        default: return {TMsgDlgType::mtCustom, mbOKOnly};
    }
}

std::string LocalizeButtonCaption(std::string_view name) {
    static const struct {
        const char* name;
        const char* caption;
    } kCaptions[] = {
        {"Yes", "是(&Y)"},      {"No", "否(&N)"},       {"OK", "确定"},          {"Cancel", "取消"},
        {"Abort", "中断(&A)"},  {"Retry", "重试(&R)"},  {"Ignore", "忽略(&I)"},  {"All", "全部(&A)"},
        {"NoToAll", "全否(&o)"}, {"YesToAll", "全是(&A)"}, {"Help", "帮助(&H)"},
    };
    for (const auto& c : kCaptions)
        if (name == c.name) return c.caption;
    return std::string(name);
}

std::string TMessageTexts::Display(const std::string& text) const {
    return site_.ToDisplay ? site_.ToDisplay(text) : text;
}

std::string TMessageTexts::GetMessageText(std::string_view kind, std::string_view number) {
    Variant host = site_.HostObject ? site_.HostObject() : Variant();
    std::string text;
    if (host.IsEmpty() || host.IsNull())
        text = Format("Can not Get Message\rType= %s, ID= %s ", {Variant(kind), Variant(number)});
    else
        text = VarToStr(host.Call("GetMessage", {Variant(kind), Variant(number)}));
    return Display(text);
}

void TMessageTexts::AddText(const std::string& text) {
    // A substring test, as the log is read by people: a text already within a
    // longer one is not repeated. An empty text is never "contained".
    if (text.empty() || messageTextLog_.find(text) == std::string::npos) messageTextLog_ += text + "; ";
}

void TMessageTexts::ReportMessage(std::string_view code) {
    if (site_.CancelIsActive && site_.CancelIsActive()) return;
    if (code.empty()) {
        ClearLogs();
        return;
    }
    messageLog_ += std::string(code) + "; ";
    TMessageCode parsed = ParseMessageCode(code);
    std::vector<Variant> slots(parsed.Args.begin(), parsed.Args.end());

    std::string templ;
    std::string text;
    try {
        templ = GetMessageText(parsed.Kind, parsed.Number);
        text = Format(templ, slots);
    } catch (const std::exception&) {
        // The message is still logged and shown: the user sees what the
        // table gave and the arguments, rather than losing the report.
        text = templ + "\r";
        for (const auto& arg : parsed.Args) text += arg + ";";
    }
    AddText(text);
    if (parsed.Shown) MessageDlg(text, MessageKind(parsed.Kind).Type, mbOKOnly);
}

void TMessageTexts::RecordError(std::string_view text) {
    std::string trimmed = Trim(text);
    if (trimmed.empty()) {
        ClearLogs();
        return;
    }
    messageLog_ += "E;-1; ";
    AddText(trimmed);
}

int TMessageTexts::ShowMessageCode(std::string_view kind, std::string_view number, const std::vector<Variant>& args,
                                   TMsgDlgButtons buttons) {
    std::string text = Format(GetMessageText(kind, number), args);
    TMessageKind k = MessageKind(kind);
    return MessageDlg(text, k.Type, buttons ? buttons : k.Buttons);
}

int TMessageTexts::MessageDlg(const std::string& text, TMsgDlgType type, TMsgDlgButtons buttons) {
    if (type != TMsgDlgType::mtError && site_.InPageChange && site_.InPageChange()) return 0;
    TCustomForm* form = site_.Form ? site_.Form() : nullptr;

    std::unique_ptr<TMessageForm, FreeObject> dialog(CreateMessageDialog(text, type, buttons));
    if (form) dialog->SetCaption(form->Caption());
    std::string codePage = site_.UICodePage ? site_.UICodePage() : std::string("936");
    if (codePage != "437")
        for (TButton* button : dialog->Buttons()) button->SetCaption(Display(LocalizeButtonCaption(button->Name())));
    if (site_.DialogFont) site_.DialogFont(*dialog->Font());
    int result = dialog->ShowModal();
    dialog.reset();

    // The click that closed the dialog never reaches the control under it;
    // a button-up tells it the mouse is no longer held.
    if (form && form->ActiveControl()) PostMessage(form->ActiveControl(), WM_LBUTTONUP, 0, 0);
    if (type == TMsgDlgType::mtError) {
        TWinControl* last = site_.LastFocused ? site_.LastFocused() : nullptr;
        if (last && last->CanFocus()) last->SetFocus();
    }
    return result;
}

int TMessageTexts::DateFormat() const {
    if (!site_.SystemSetting) return 1;
    try {
        return StrToIntDef(VarToStr(site_.SystemSetting("Sys001")), 1);
    } catch (const std::exception&) {
        // A setting that cannot be read as text counts as missing.
        return 1;
    }
}

std::string TMessageTexts::DateSep() const {
    std::string sep;
    if (site_.SystemSetting) {
        try {
            sep = VarToStr(site_.SystemSetting("Sys002"));
        } catch (const std::exception&) {
            // As for DateFormat: unreadable counts as missing.
            sep.clear();
        }
    }
    return sep.empty() ? "/" : sep;
}

}  // namespace zb
