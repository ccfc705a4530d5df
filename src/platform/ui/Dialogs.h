// Message dialogs go through one dialog service: a request (caption, text,
// type, buttons with their captions, font) answered with a modal result.
// The headless service records every request and answers from a script,
// by default with the first button.
#pragma once

#include <deque>
#include <string>
#include <vector>

#include "platform/ui/Forms.h"

namespace zb {

class TButton;
class TLabel;

enum class TMsgDlgType { mtWarning, mtError, mtInformation, mtConfirmation, mtCustom };
enum TMsgDlgBtn { mbYes, mbNo, mbOK, mbCancel, mbAbort, mbRetry, mbIgnore, mbAll, mbNoToAll, mbYesToAll, mbHelp };
using TMsgDlgButtons = unsigned;  // bit 1 << TMsgDlgBtn
inline constexpr TMsgDlgButtons DlgButtons(std::initializer_list<TMsgDlgBtn> list) {
    TMsgDlgButtons b = 0;
    for (auto x : list) b |= 1u << x;
    return b;
}
inline constexpr TMsgDlgButtons mbYesNoCancel = (1u << mbYes) | (1u << mbNo) | (1u << mbCancel);
inline constexpr TMsgDlgButtons mbYesNo = (1u << mbYes) | (1u << mbNo);
inline constexpr TMsgDlgButtons mbOKCancel = (1u << mbOK) | (1u << mbCancel);
inline constexpr TMsgDlgButtons mbAbortRetryIgnore = (1u << mbAbort) | (1u << mbRetry) | (1u << mbIgnore);
inline constexpr TMsgDlgButtons mbOKOnly = 1u << mbOK;

// "Yes", "No", "OK", "Cancel", "Abort", "Retry", "Ignore", "All", "NoToAll",
// "YesToAll", "Help": the names of the dialog's buttons.
const char* ButtonName(TMsgDlgBtn button);
std::string DefaultButtonCaption(TMsgDlgBtn button);
TModalResult ButtonResult(TMsgDlgBtn button);

struct TDialogButton {
    TMsgDlgBtn Kind = mbOK;
    std::string Caption;
    TModalResult Result = mrOk;
};

struct TDialogRequest {
    std::string Kind;  // "MessageDlg", "MessageBox", "ShowMessage", "Exception"
    std::string Caption;
    std::string Text;
    TMsgDlgType Type = TMsgDlgType::mtCustom;
    std::vector<TDialogButton> Buttons;
    std::string FontName;
    int FontHeight = 0;
    int FontCharset = 0;
    int HelpContext = 0;
};

class TDialogService {
public:
    virtual ~TDialogService();
    virtual TModalResult Execute(const TDialogRequest& request) = 0;
};

// Records every request; answers with the next scripted result, or with the
// first button's result when the script is empty (mrCancel for a request
// without buttons).
class THeadlessDialogs : public TDialogService {
public:
    TModalResult Execute(const TDialogRequest& request) override;
    void Script(std::initializer_list<TModalResult> answers) { answers_.insert(answers_.end(), answers); }
    void Answer(TModalResult answer) { answers_.push_back(answer); }
    const std::vector<TDialogRequest>& Requests() const { return requests_; }
    const TDialogRequest& Last() const;  // EInvalidOperation when there is none
    void Clear() {
        requests_.clear();
        answers_.clear();
    }

private:
    std::vector<TDialogRequest> requests_;
    std::deque<TModalResult> answers_;
};

// The service every dialog goes through; a process starts with its own
// headless one.
TDialogService& DialogService();
THeadlessDialogs& HeadlessDialogs();
// Installs a service (not owned); null puts the headless one back.
void SetDialogService(TDialogService* service);

// The standard message dialog as a form, so callers can change its captions
// and font before showing it: a label "Message" and one button per kind,
// named by the kind ("Yes", "OK" ...). ShowModal hands the request to the
// dialog service.
class TMessageForm : public TForm {
    ZB_CLASS(TMessageForm, TForm)

public:
    TMessageForm(TComponent* owner, const std::string& text, TMsgDlgType type, TMsgDlgButtons buttons);
    TModalResult ShowModal() override;
    TMsgDlgType DlgType() const { return type_; }
    TLabel* Message() const { return message_; }
    const std::vector<TButton*>& Buttons() const { return buttons_; }
    int HelpContext = 0;

private:
    TMsgDlgType type_;
    TLabel* message_;
    std::vector<TButton*> buttons_;
    std::vector<TMsgDlgBtn> kinds_;
};

// The caption a dialog of that type gets: "Warning", "Error", "Information",
// "Confirm", and the application's title for a custom one.
std::string DialogTypeCaption(TMsgDlgType type);

TMessageForm* CreateMessageDialog(const std::string& text, TMsgDlgType type, TMsgDlgButtons buttons);
int MessageDlg(const std::string& text, TMsgDlgType type, TMsgDlgButtons buttons, int helpContext = 0);
void ShowMessage(const std::string& text);

}  // namespace zb
