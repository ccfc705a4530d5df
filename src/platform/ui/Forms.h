// Forms, the application object and the screen: showing and hiding, the
// focus within a form, modal loops turned by the user agent, closing with
// close actions, deferred destruction, and the one message queue.
//
// A form builds its controls in its constructor; create it with
// TCustomForm::Create<T>(owner, ...) (or Application().CreateForm), which runs
// OnCreate once the whole object exists.
#pragma once

#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/core/StringList.h"
#include "platform/ui/Controls.h"

namespace zb {

class TUserAgent;

enum class TWindowState { wsNormal, wsMinimized, wsMaximized };
enum class TPosition { poDesigned, poDefault, poDefaultPosOnly, poDefaultSizeOnly, poScreenCenter, poDesktopCenter, poMainFormCenter, poOwnerFormCenter };
enum class TFormStyle { fsNormal, fsMDIChild, fsMDIForm, fsStayOnTop };
enum class TCloseAction { caNone, caHide, caFree, caMinimize };
enum TBorderIcon : unsigned { biSystemMenu = 1u << 0, biMinimize = 1u << 1, biMaximize = 1u << 2, biHelp = 1u << 3 };
using TBorderIcons = unsigned;
enum TFormStateBit : unsigned { fsCreating = 1u << 0, fsVisible = 1u << 1, fsShowing = 1u << 2, fsModal = 1u << 3, fsActivated = 1u << 5 };
using TFormState = unsigned;

using TCloseEvent = TEvent<void(TObject* Sender, TCloseAction& Action)>;
using TCloseQueryEvent = TEvent<void(TObject* Sender, bool& CanClose)>;

extern const EnumNames WindowStateNames;
extern const EnumNames PositionNames;
extern const EnumNames FormStyleNames;
extern const EnumNames CloseActionNames;
extern const EnumNames BorderIconNames;

class TCustomForm : public TWinControl {
    ZB_CLASS(TCustomForm, TWinControl)

public:
    explicit TCustomForm(TComponent* owner = nullptr);
    ~TCustomForm() override;

    // Constructs the form and then runs OnCreate, the way a form is made.
    template <class T, class... Args>
    static T* Create(Args&&... args) {
        T* form = new T(std::forward<Args>(args)...);
        form->AfterConstruction();
        return form;
    }
    // Runs OnCreate once; Create calls it.
    virtual void AfterConstruction();

    bool Showing() const override { return Visible(); }
    void SetVisible(bool visible) override;
    void Show();
    void Hide();
    // Runs until ModalResult is set: each turn processes the posted messages
    // and gives the user agent a turn. An agent with nothing to do (or none
    // at all) ends the loop with mrCancel and a diagnostic. EInvalidOperation
    // for a form already visible or disabled.
    virtual TModalResult ShowModal();
    // Asks CloseQuery, then OnClose with the default action: caHide (a modal
    // form ends its loop with mrCancel), caFree posts the form's own
    // destruction, caMinimize minimises, caNone keeps it.
    void Close();
    virtual bool CloseQuery();
    // Destroys the form once the messages before it are processed, so the
    // handler that asked has returned.
    void Release();

    TModalResult ModalResult() const { return modalResult_; }
    void SetModalResult(TModalResult result) { modalResult_ = result; }
    bool Modal() const { return (formState_ & fsModal) != 0; }
    TFormState FormState() const { return formState_; }

    TWinControl* ActiveControl() const { return activeControl_; }
    // EInvalidOperation for a control of another form or one that cannot take
    // the focus. On the active form the focus moves there at once.
    void SetActiveControl(TWinControl* control);
    void FocusControl(TWinControl* control);
    // The control that holds the focus within the form (the form itself when none).
    TWinControl* FocusedControl() const { return focusedControl_; }
    bool Active() const { return active_; }
    // Makes this the active form and gives the focus to its active control
    // (the first in tab order when none).
    void Activate();

    bool KeyPreview() const { return keyPreview_; }
    void SetKeyPreview(bool on) { keyPreview_ = on; }
    TWindowState WindowState() const { return windowState_; }
    void SetWindowState(TWindowState state);
    TBorderStyle BorderStyle() const { return borderStyle_; }
    void SetBorderStyle(TBorderStyle style) { borderStyle_ = style; }
    TBorderIcons BorderIcons() const { return borderIcons_; }
    void SetBorderIcons(TBorderIcons icons) { borderIcons_ = icons; }
    TPosition Position() const { return position_; }
    void SetPosition(TPosition position) { position_ = position; }
    TFormStyle FormStyle() const { return formStyle_; }
    void SetFormStyle(TFormStyle style) { formStyle_ = style; }
    bool Scaled() const { return scaled_; }
    void SetScaled(bool on) { scaled_ = on; }
    bool AutoScroll() const { return autoScroll_; }
    void SetAutoScroll(bool on) { autoScroll_ = on; }
    int PixelsPerInch() const { return kPixelsPerInch; }
    TCanvas* Canvas() const { return canvas_; }

    TNotifyEvent OnCreate;
    TNotifyEvent OnShow;
    TNotifyEvent OnHide;
    TCloseEvent OnClose;
    TCloseQueryEvent OnCloseQuery;
    TNotifyEvent OnDestroy;
    TNotifyEvent OnActivate;
    TNotifyEvent OnDeactivate;

    // Moves the focus to `control` (or to the form itself when null), running
    // the exit and enter handlers in the form's order. False when a handler
    // moved the focus elsewhere meanwhile.
    bool SetFocusedControl(TWinControl* control);
    // A control that goes away or can no longer hold the focus leaves the
    // form's active and focused control; no exit handler runs.
    void DefocusControl(TWinControl* control, bool removing);
    // Keys the focused control left: Tab moves along the tab order, the
    // others are offered to the controls (HandleDialogKey).
    void DialogKey(Word& key, TShiftState shift);
    void Notification(TComponent* component, TOperation operation) override;
    void WndProc(TMessage& message) override;

protected:
    void BeforeDestruction() override;
    virtual void DoShow();
    virtual void DoHide();
    virtual void DoClose(TCloseAction& action);
    void Deactivate();

private:
    void CloseModal();
    void PlaceOnShow();

    TModalResult modalResult_ = mrNone;
    TFormState formState_ = 0;
    TWinControl* activeControl_ = nullptr;
    TWinControl* focusedControl_ = nullptr;
    unsigned focusGeneration_ = 0;
    bool active_ = false;
    bool created_ = false;
    bool keyPreview_ = false;
    bool releasePending_ = false;
    bool placed_ = false;
    TWindowState windowState_ = TWindowState::wsNormal;
    TBorderStyle borderStyle_ = TBorderStyle::bsSizeable;
    TBorderIcons borderIcons_ = biSystemMenu | biMinimize | biMaximize;
    TPosition position_ = TPosition::poDesigned;
    TFormStyle formStyle_ = TFormStyle::fsNormal;
    bool scaled_ = true;
    bool autoScroll_ = false;
    TCanvas* canvas_;
    std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
};

class TForm : public TCustomForm {
    ZB_CLASS(TForm, TCustomForm)

public:
    explicit TForm(TComponent* owner = nullptr) : TCustomForm(owner) {}
};

// The screen: the forms that exist, the active one, and the display's size.
class TScreen : public TComponent {
    ZB_CLASS(TScreen, TComponent)

public:
    TScreen();
    ~TScreen() override;

    int FormCount() const { return static_cast<int>(forms_.size()); }
    TCustomForm* Forms(int index) const;
    const std::vector<TCustomForm*>& FormList() const { return forms_; }
    TCustomForm* ActiveForm() const { return activeForm_; }
    // The focused control of the active form.
    TWinControl* ActiveControl() const;
    int Width() const { return 1024; }
    int Height() const { return 768; }
    int PixelsPerInch() const { return kPixelsPerInch; }
    TCursor Cursor() const { return cursor_; }
    void SetCursor(TCursor c) { cursor_ = c; }
    TStrings* Fonts() const { return fonts_; }
    // The fonts of the system's own texts: icon titles, hint windows, menus.
    TFont* IconFont() const { return iconFont_; }
    TFont* HintFont() const { return hintFont_; }
    TFont* MenuFont() const { return menuFont_; }
    // Forms are kept in the order they were last activated, the latest first.
    int IndexOf(const TCustomForm* form) const;

private:
    friend class TCustomForm;
    void AddForm(TCustomForm* form);
    void RemoveForm(TCustomForm* form);
    void MoveToFront(TCustomForm* form);
    void SetActiveForm(TCustomForm* form) { activeForm_ = form; }

    std::vector<TCustomForm*> forms_;
    TCustomForm* activeForm_ = nullptr;
    TCursor cursor_ = crDefault;
    TStringList* fonts_;
    TFont* iconFont_;
    TFont* hintFont_;
    TFont* menuFont_;
};

using TExceptionEvent = TEvent<void(TObject* Sender, const std::exception& E)>;

// The application object: the main form, the message queue and the window
// handles, the user agent that plays the person at the screen, and the
// diagnostics of loops it had to end.
class TApplication : public TComponent {
    ZB_CLASS(TApplication, TComponent)

public:
    TApplication();
    ~TApplication() override;

    // Creates a form owned by the application; the first becomes the main form.
    template <class T>
    void CreateForm(T*& reference) {
        reference = TCustomForm::Create<T>(this);
        if (!mainForm_) mainForm_ = reference;
    }
    TCustomForm* MainForm() const { return mainForm_; }
    void SetMainForm(TCustomForm* form);

    // Shows the main form and runs until it closes or Terminate is called,
    // turning like a modal loop (the agent ends an idle run).
    void Run();
    // Closing the main form terminates too; modal loops end at once while
    // terminated. Run starts afresh.
    void Terminate() { terminated_ = true; }
    // For a process that runs the application more than once (test hosts).
    void ResetTerminated() { terminated_ = false; }
    bool Terminated() const { return terminated_; }

    // Dispatches every queued message, including those posted meanwhile; a
    // queue that never empties is cut off with a diagnostic.
    void ProcessMessages();
    size_t PendingMessages() const { return queue_.size(); }
    // Turns of the modal loops and Run: process messages, then one agent turn.
    // False when the agent did nothing.
    bool AgentTurn(TCustomForm* form);

    TUserAgent* UserAgent() const { return agent_; }
    // The agent is not owned; pass null to remove it.
    void SetUserAgent(TUserAgent* agent) { agent_ = agent; }

    // What the loops had to end, and exceptions handled here, one line each.
    const std::vector<std::string>& Diagnostics() const { return diagnostics_; }
    void AddDiagnostic(const std::string& text) { diagnostics_.push_back(text); }
    void ClearDiagnostics() { diagnostics_.clear(); }

    // An exception that reached the application: OnException when set,
    // otherwise the message shown through the dialog service.
    void HandleException(const std::exception& e);
    void ShowException(const std::exception& e);
    TExceptionEvent OnException;

    // MB_* flags in, ID* answer out, through the dialog service.
    int MessageBox(const std::string& text, const std::string& caption, unsigned flags = 0);

    const std::string& Title() const { return title_; }
    void SetTitle(const std::string& t) { title_ = t; }
    bool ShowHint() const { return showHint_; }
    void SetShowHint(bool on) { showHint_ = on; }
    TColor HintColor() const { return hintColor_; }
    void SetHintColor(TColor c) { hintColor_ = c; }
    int ModalLevel() const { return modalLevel_; }
    // How many agent turns a single modal loop may take before it is ended.
    int MaxModalTurns() const { return maxModalTurns_; }
    void SetMaxModalTurns(int n) { maxModalTurns_ = n > 0 ? n : 1; }

    // Window handles: made by controls on demand, dropped when they go.
    HWND AllocateHandle(TWinControl* control);
    void ReleaseHandle(HWND wnd);
    TWinControl* FindWindow(HWND wnd) const;
    bool Post(HWND wnd, const TMessage& message);

    void Notification(TComponent* component, TOperation operation) override;

private:
    friend class TCustomForm;
    struct Posted {
        HWND wnd;
        TMessage message;
    };
    std::deque<Posted> queue_;
    std::unordered_map<HWND, TWinControl*> windows_;
    HWND nextHandle_ = 0x10000;
    TCustomForm* mainForm_ = nullptr;
    TUserAgent* agent_ = nullptr;
    std::vector<std::string> diagnostics_;
    bool terminated_ = false;
    bool processing_ = false;
    std::string title_;
    bool showHint_ = true;
    TColor hintColor_ = clInfoBk;
    int modalLevel_ = 0;
    int maxModalTurns_ = 10000;
};

// The one application object and screen of the process.
TApplication& Application();
TScreen& Screen();

// MessageBox flags and answers.
inline constexpr unsigned MB_OK = 0x0, MB_OKCANCEL = 0x1, MB_ABORTRETRYIGNORE = 0x2, MB_YESNOCANCEL = 0x3,
                          MB_YESNO = 0x4, MB_RETRYCANCEL = 0x5, MB_ICONERROR = 0x10, MB_ICONQUESTION = 0x20,
                          MB_ICONWARNING = 0x30, MB_ICONINFORMATION = 0x40;
inline constexpr int IDOK = 1, IDCANCEL = 2, IDABORT = 3, IDRETRY = 4, IDIGNORE = 5, IDYES = 6, IDNO = 7;

}  // namespace zb
