// Message texts and the message dialog of the job forms: message codes
// ("E;000013;arg;arg"), their texts from the host's message table, the two
// run logs, the kind table and the dialog with localised buttons.
//
// The unit knows nothing of the form that uses it: the host object, the code
// converter's display conversion and font rule, and the form's switches are
// inputs it asks for (TMessageSite), so the job form only wires them up and
// the environment layer stays below the language layer.
#pragma once

#include <array>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/core/Exceptions.h"
#include "platform/core/Variant.h"
#include "platform/ui/Dialogs.h"

namespace zb {

class TCustomForm;
class TFont;
class TWinControl;

ZB_DECLARE_EXCEPTION(EMessageCodeError, Exception);  // a code with more than ten arguments

inline constexpr int MaxMessageArgs = 10;

// A message code taken apart. `Number` is the number as it is looked up: for
// a code that is not shown its first character is gone ("-000004" -> "000004").
struct TMessageCode {
    std::string Kind;
    std::string Number;
    bool Shown = false;  // the number is above 0
    std::array<std::string, MaxMessageArgs> Args;  // unused slots stay empty
    int ArgCount = 0;    // at least 1: slot 0 is always written
};

// Kind letter ";" number [";" up to ten arguments separated by ";"]. Throws
// EMessageCodeError for an eleventh argument; anything else parses.
TMessageCode ParseMessageCode(std::string_view code);

// The dialog a message kind gets from ShowMessageCode: C, W, Q warn or
// confirm with OK/Cancel, D asks Yes/No/Cancel, E is an error, I information;
// any other kind is a custom dialog with OK.
struct TMessageKind {
    TMsgDlgType Type;
    TMsgDlgButtons Buttons;
};
TMessageKind MessageKind(std::string_view kind);

// The caption a dialog button gets on a Chinese desktop, by the button's name
// ("Yes" -> "是(&Y)"); any other name comes back unchanged.
std::string LocalizeButtonCaption(std::string_view buttonName);

// What the unit asks of the form that uses it. Every member may stay unset:
// no host object, no conversion, no form, switches off, no settings.
struct TMessageSite {
    std::function<Variant()> HostObject;  // answers GetMessage(kind, number)
    std::function<std::string(const std::string&)> ToDisplay;  // the converter's display conversion
    std::function<void(TFont&)> DialogFont;  // the converter's font rule for the form's mode
    std::function<std::string()> UICodePage;  // "437" keeps the platform's button captions; unset counts as "936"
    std::function<TCustomForm*()> Form;        // gives the dialogs their caption
    std::function<TWinControl*()> LastFocused;  // focused again after an error dialog
    std::function<bool()> CancelIsActive;       // reports are ignored while Cancel has the focus
    std::function<bool()> InPageChange;         // only error dialogs are shown then
    std::function<Variant(std::string_view name)> SystemSetting;  // "Sys001", "Sys002"
};

class TMessageTexts {
public:
    explicit TMessageTexts(TMessageSite site = {}) : site_(std::move(site)) {}

    TMessageSite& Site() { return site_; }

    // The message's text from the host's table, converted for display; the
    // "Can not Get Message" text without a host. A failing call or
    // conversion is raised.
    std::string GetMessageText(std::string_view kind, std::string_view number);

    // Logs the code and its text; shows codes whose number is above 0 in a
    // dialog with the OK button. An empty code empties both logs. A failing
    // lookup or format gives the template obtained, a carriage return and the
    // ten arguments each followed by ";". EMessageCodeError for an eleventh
    // argument (the code is logged first).
    void ReportMessage(std::string_view code);
    // Logs a free-text error as "E;-1"; never shows. An empty text (after
    // trimming) empties both logs.
    void RecordError(std::string_view text);
    // The message in the dialog of its kind; non-zero `buttons` replace the
    // kind's buttons. Nothing is logged. Returns the modal result.
    int ShowMessageCode(std::string_view kind, std::string_view number, const std::vector<Variant>& args,
                        TMsgDlgButtons buttons = 0);
    // The standard message dialog with the form's caption, localised buttons
    // and the converter's font; 0 when it is not shown (a non-error dialog
    // during a page change).
    int MessageDlg(const std::string& text, TMsgDlgType type, TMsgDlgButtons buttons);

    // "Sys001": the date-order code, 1 when missing or not a number.
    int DateFormat() const;
    // "Sys002": the date separator, "/" when empty.
    std::string DateSep() const;

    // Every code reported, each followed by "; ".
    const std::string& MessageLog() const { return messageLog_; }
    // Every distinct message text, each followed by "; ".
    const std::string& MessageTextLog() const { return messageTextLog_; }
    void ClearLogs() {
        messageLog_.clear();
        messageTextLog_.clear();
    }

private:
    void AddText(const std::string& text);
    std::string Display(const std::string& text) const;

    TMessageSite site_;
    std::string messageLog_;
    std::string messageTextLog_;
};

}  // namespace zb
