#include "platform/ui/Dialogs.h"

#include <algorithm>

#include "platform/core/Published.h"
#include "platform/ui/StdCtrls.h"

namespace zb {

namespace {
struct ButtonInfo {
    const char* name;
    const char* caption;
    TModalResult result;
};
const ButtonInfo kButtons[] = {
    {"Yes", "&Yes", mrYes},           {"No", "&No", mrNo},           {"OK", "OK", mrOk},
    {"Cancel", "Cancel", mrCancel},   {"Abort", "&Abort", mrAbort},  {"Retry", "&Retry", mrRetry},
    {"Ignore", "&Ignore", mrIgnore},  {"All", "&All", mrAll},        {"NoToAll", "N&o to All", mrNoToAll},
    {"YesToAll", "Yes to &All", mrYesToAll}, {"Help", "&Help", mrNone},
};

TDialogService* gInstalled = nullptr;
}  // namespace

const char* ButtonName(TMsgDlgBtn b) { return kButtons[b].name; }
std::string DefaultButtonCaption(TMsgDlgBtn b) { return kButtons[b].caption; }
TModalResult ButtonResult(TMsgDlgBtn b) { return kButtons[b].result; }

std::string DialogTypeCaption(TMsgDlgType type) {
    switch (type) {
        case TMsgDlgType::mtWarning: return "Warning";
        case TMsgDlgType::mtError: return "Error";
        case TMsgDlgType::mtInformation: return "Information";
        case TMsgDlgType::mtConfirmation: return "Confirm";
        default: return Application().Title();
    }
}

TDialogService::~TDialogService() = default;

TModalResult THeadlessDialogs::Execute(const TDialogRequest& request) {
    requests_.push_back(request);
    if (!answers_.empty()) {
        TModalResult r = answers_.front();
        answers_.pop_front();
        return r;
    }
    return request.Buttons.empty() ? mrCancel : request.Buttons.front().Result;
}

const TDialogRequest& THeadlessDialogs::Last() const {
    if (requests_.empty()) throw EInvalidOperation("No dialog was requested");
    return requests_.back();
}

THeadlessDialogs& HeadlessDialogs() {
    static THeadlessDialogs dialogs;
    return dialogs;
}

TDialogService& DialogService() { return gInstalled ? *gInstalled : HeadlessDialogs(); }
void SetDialogService(TDialogService* service) { gInstalled = service; }

// --- TMessageForm ----------------------------------------------------------

ZB_PUBLISHED(TMessageForm){};

TMessageForm::TMessageForm(TComponent* owner, const std::string& text, TMsgDlgType type, TMsgDlgButtons buttons)
    : TForm(owner), type_(type) {
    SetCaption(DialogTypeCaption(type));
    SetBorderStyle(TBorderStyle::bsDialog);
    SetPosition(TPosition::poScreenCenter);
    message_ = Make<TLabel>(this, this, "Message", 56, 16, 0, 0);
    message_->SetCaption(text);
    int left = 16;
    for (int b = mbYes; b <= mbHelp; ++b) {
        if (!(buttons & (1u << b))) continue;
        auto kind = static_cast<TMsgDlgBtn>(b);
        TButton* button = Make<TButton>(this, this, ButtonName(kind), left, 48, 75, 25, DefaultButtonCaption(kind));
        button->SetModalResult(ButtonResult(kind));
        if (buttons_.empty()) button->SetDefault(true);
        if (kind == mbCancel || kind == mbNo) button->SetCancel(true);
        buttons_.push_back(button);
        kinds_.push_back(kind);
        left += 83;
    }
    SetBounds(Left(), Top(), std::max(left + 8, message_->Width() + 72), 88 + message_->Height());
}

TModalResult TMessageForm::ShowModal() {
    TDialogRequest r;
    r.Kind = "MessageDlg";
    r.Caption = Caption();
    r.Text = message_->Caption();
    r.Type = type_;
    r.FontName = Font()->Name();
    r.FontHeight = Font()->Height();
    r.FontCharset = Font()->Charset();
    r.HelpContext = HelpContext;
    for (size_t i = 0; i < buttons_.size(); ++i)
        r.Buttons.push_back({kinds_[i], buttons_[i]->Caption(), buttons_[i]->ModalResult()});
    TModalResult result = DialogService().Execute(r);
    SetModalResult(result);
    return result;
}

TMessageForm* CreateMessageDialog(const std::string& text, TMsgDlgType type, TMsgDlgButtons buttons) {
    return TCustomForm::Create<TMessageForm>(&Application(), text, type, buttons);
}

int MessageDlg(const std::string& text, TMsgDlgType type, TMsgDlgButtons buttons, int helpContext) {
    std::unique_ptr<TMessageForm, FreeObject> dialog(CreateMessageDialog(text, type, buttons));
    dialog->HelpContext = helpContext;
    return dialog->ShowModal();
}

void ShowMessage(const std::string& text) {
    std::unique_ptr<TMessageForm, FreeObject> dialog(CreateMessageDialog(text, TMsgDlgType::mtCustom, mbOKOnly));
    dialog->ShowModal();
}

}  // namespace zb
