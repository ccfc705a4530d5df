#include "platform/ui/Forms.h"

#include <algorithm>

#include "platform/core/Published.h"
#include "platform/ui/Dialogs.h"
#include "platform/ui/UserAgent.h"

namespace zb {

const EnumNames WindowStateNames = {"wsNormal", "wsMinimized", "wsMaximized"};
const EnumNames PositionNames = {"poDesigned", "poDefault", "poDefaultPosOnly", "poDefaultSizeOnly",
                                 "poScreenCenter", "poDesktopCenter", "poMainFormCenter", "poOwnerFormCenter"};
const EnumNames FormStyleNames = {"fsNormal", "fsMDIChild", "fsMDIForm", "fsStayOnTop"};
const EnumNames CloseActionNames = {"caNone", "caHide", "caFree", "caMinimize"};
const EnumNames BorderIconNames = {"biSystemMenu", "biMinimize", "biMaximize", "biHelp"};

namespace {
const char* const kCannotFocus = "Cannot focus a disabled or invisible window";
}  // namespace

ZB_PUBLISHED(TCustomForm){
    prop::String("Caption", &TCustomForm::Caption, &TCustomForm::SetCaption, "TCaption"),
    prop::Integer("ClientWidth", &TCustomForm::ClientWidth, &TCustomForm::SetClientWidth),
    prop::Integer("ClientHeight", &TCustomForm::ClientHeight, &TCustomForm::SetClientHeight),
    prop::Class("ActiveControl", &TCustomForm::ActiveControl, &TCustomForm::SetActiveControl),
    prop::Bool("KeyPreview", &TCustomForm::KeyPreview, &TCustomForm::SetKeyPreview),
    prop::Enum("WindowState", &TCustomForm::WindowState, &TCustomForm::SetWindowState, WindowStateNames, "TWindowState"),
    prop::Enum("BorderStyle", &TCustomForm::BorderStyle, &TCustomForm::SetBorderStyle, BorderStyleNames, "TFormBorderStyle"),
    prop::Set("BorderIcons", &TCustomForm::BorderIcons, &TCustomForm::SetBorderIcons, BorderIconNames, "TBorderIcons"),
    prop::Enum("Position", &TCustomForm::Position, &TCustomForm::SetPosition, PositionNames, "TPosition"),
    prop::Enum("FormStyle", &TCustomForm::FormStyle, &TCustomForm::SetFormStyle, FormStyleNames, "TFormStyle"),
    prop::Bool("Scaled", &TCustomForm::Scaled, &TCustomForm::SetScaled),
    prop::Bool("AutoScroll", &TCustomForm::AutoScroll, &TCustomForm::SetAutoScroll),
    prop::Integer("ModalResult", &TCustomForm::ModalResult, &TCustomForm::SetModalResult, "TModalResult"),
    prop::Event("OnCreate", &TCustomForm::OnCreate),
    prop::Event("OnShow", &TCustomForm::OnShow),
    prop::Event("OnHide", &TCustomForm::OnHide),
    prop::Event("OnClose", &TCustomForm::OnClose, "TCloseEvent"),
    prop::Event("OnCloseQuery", &TCustomForm::OnCloseQuery, "TCloseQueryEvent"),
    prop::Event("OnDestroy", &TCustomForm::OnDestroy),
    prop::Event("OnActivate", &TCustomForm::OnActivate),
    prop::Event("OnDeactivate", &TCustomForm::OnDeactivate),
};
ZB_PUBLISHED(TForm){};

// --- TCustomForm -----------------------------------------------------------

TCustomForm::TCustomForm(TComponent* owner) : TWinControl(owner), canvas_(new TCanvas) {
    SetVisibleFlag(false);
    SetParentFont(false);
    SetBounds(0, 0, 320, 240);
    formState_ = fsCreating;
    Screen().AddForm(this);
}

TCustomForm::~TCustomForm() {
    *alive_ = false;
    Screen().RemoveForm(this);
    canvas_->Free();
}

void TCustomForm::AfterConstruction() {
    if (created_) return;
    created_ = true;
    formState_ &= ~fsCreating;
    OnCreate(this);
}

void TCustomForm::BeforeDestruction() {
    *alive_ = false;
    // Marked first, so a handler of OnDestroy that asks to free the form again
    // sees it going.
    Destroying();
    OnDestroy(this);
    // No further events once OnDestroy has run: the form leaves the screen quietly.
    active_ = false;
    Screen().RemoveForm(this);
    activeControl_ = nullptr;
    focusedControl_ = nullptr;
    TWinControl::BeforeDestruction();
}

void TCustomForm::Notification(TComponent* component, TOperation operation) {
    TWinControl::Notification(component, operation);
    if (operation != TOperation::opRemove || !component) return;
    if (component == activeControl_) activeControl_ = nullptr;
    if (component == focusedControl_) focusedControl_ = nullptr;
}

void TCustomForm::SetVisible(bool visible) {
    if (visible == Visible()) {
        if (visible) Activate();
        return;
    }
    if (visible) {
        formState_ |= fsShowing;
        try {
            PlaceOnShow();
            DoShow();
        } catch (...) {
            formState_ &= ~fsShowing;
            throw;
        }
        formState_ &= ~fsShowing;
        formState_ |= fsVisible;
        SetVisibleFlag(true);
        Changed("Visible");
        Activate();
    } else {
        DoHide();
        formState_ &= ~fsVisible;
        SetVisibleFlag(false);
        Changed("Visible");
        if (active_) {
            Deactivate();
            for (TCustomForm* f : Screen().FormList())
                if (f != this && f->Visible()) {
                    f->Activate();
                    break;
                }
        }
    }
}

void TCustomForm::Show() {
    SetVisible(true);
}

void TCustomForm::Hide() { SetVisible(false); }

void TCustomForm::PlaceOnShow() {
    if (placed_) return;
    placed_ = true;
    TCustomForm* center = nullptr;
    switch (position_) {
        case TPosition::poScreenCenter:
        case TPosition::poDesktopCenter:
            SetBounds((Screen().Width() - Width()) / 2, (Screen().Height() - Height()) / 2, Width(), Height());
            return;
        case TPosition::poMainFormCenter: center = Application().MainForm(); break;
        case TPosition::poOwnerFormCenter: center = dyn_cast<TCustomForm>(Owner()); break;
        default: return;
    }
    if (!center || center == this) {
        SetBounds((Screen().Width() - Width()) / 2, (Screen().Height() - Height()) / 2, Width(), Height());
        return;
    }
    SetBounds(center->Left() + (center->Width() - Width()) / 2, center->Top() + (center->Height() - Height()) / 2,
              Width(), Height());
}

void TCustomForm::DoShow() { OnShow(this); }
void TCustomForm::DoHide() { OnHide(this); }
void TCustomForm::DoClose(TCloseAction& action) { OnClose(this, action); }

void TCustomForm::Activate() {
    if (!Visible() || !Enabled()) return;
    if (!active_) {
        TCustomForm* previous = Screen().ActiveForm();
        if (previous && previous != this) previous->Deactivate();
        Screen().SetActiveForm(this);
        Screen().MoveToFront(this);
        active_ = true;
        formState_ |= fsActivated;
        OnActivate(this);
        if (!active_) return;
    }
    TWinControl* target = activeControl_;
    if (!target || !target->CanFocus()) target = FindNextControl(nullptr, true, true, false);
    if (!focusedControl_ || focusedControl_ != (target ? target : this)) SetFocusedControl(target);
}

void TCustomForm::Deactivate() {
    if (!active_) return;
    active_ = false;
    if (Screen().ActiveForm() == this) Screen().SetActiveForm(nullptr);
    OnDeactivate(this);
}

void TCustomForm::SetWindowState(TWindowState state) {
    if (state == windowState_) return;
    windowState_ = state;
    Changed("WindowState");
}

void TCustomForm::SetActiveControl(TWinControl* control) {
    if (control == activeControl_) return;
    if (control && (control == this || control->ParentForm() != this || !control->CanFocus()))
        throw EInvalidOperation(kCannotFocus);
    if (active_ && Visible()) {
        SetFocusedControl(control);
        return;
    }
    activeControl_ = control;
}

void TCustomForm::FocusControl(TWinControl* control) {
    if (!control) return;
    if (control != this && !control->CanFocus()) throw EInvalidOperation(kCannotFocus);
    bool wasActive = active_;
    SetActiveControl(control == this ? nullptr : control);
    // A hidden form keeps the control for when it is shown.
    if (!wasActive && Visible()) Activate();
}

bool TCustomForm::SetFocusedControl(TWinControl* control) {
    TWinControl* target = control ? control : this;
    if (target != this && target->ParentForm() != this) return false;
    unsigned generation = ++focusGeneration_;
    // The new control is the active control before any exit handler runs, so
    // an exit check can see where the focus is going.
    activeControl_ = target == this ? nullptr : target;
    auto alive = alive_;
    if (!focusedControl_) focusedControl_ = this;
    if (focusedControl_ == target) return true;
    while (focusedControl_ && !focusedControl_->ContainsControl(target)) {
        TWinControl* leaving = focusedControl_;
        focusedControl_ = leaving->Parent();
        leaving->Perform(CM_EXIT);
        if (!*alive || generation != focusGeneration_) return false;
    }
    if (!focusedControl_) focusedControl_ = this;
    while (focusedControl_ != target) {
        TWinControl* entering = target;
        while (entering->Parent() && entering->Parent() != focusedControl_) entering = entering->Parent();
        if (entering->Parent() != focusedControl_) return false;
        focusedControl_ = entering;
        entering->Perform(CM_ENTER);
        if (!*alive || generation != focusGeneration_) return false;
    }
    Perform(CM_FOCUSCHANGED, 0, ControlParam(target));
    return true;
}

void TCustomForm::DefocusControl(TWinControl* control, bool removing) {
    if (!control) return;
    if (control->ContainsControl(activeControl_)) activeControl_ = nullptr;
    if (control->ContainsControl(focusedControl_)) {
        TWinControl* parent = control->Parent();
        focusedControl_ = (removing || !parent) ? (parent ? parent : nullptr) : parent;
        if (focusedControl_ && focusedControl_->ParentForm() != this) focusedControl_ = this;
    }
}

void TCustomForm::DialogKey(Word& key, TShiftState shift) {
    if (key == VK_TAB && !(shift & (ssCtrl | ssAlt))) {
        SelectNext(activeControl_, !(shift & ssShift), true);
        key = 0;
        return;
    }
    // Offered to every enabled control that shows, the way the default and
    // cancel buttons hear Enter and Esc.
    std::vector<TControl*> pending(ControlList().rbegin(), ControlList().rend());
    while (!pending.empty()) {
        TControl* c = pending.back();
        pending.pop_back();
        if (!c->Visible() || !c->Enabled()) continue;
        if (c->HandleDialogKey(key, shift)) {
            key = 0;
            return;
        }
        if (c->IsWindowed()) {
            auto& kids = static_cast<TWinControl*>(c)->ControlList();
            pending.insert(pending.end(), kids.rbegin(), kids.rend());
        }
    }
}

bool TCustomForm::CloseQuery() {
    bool canClose = true;
    OnCloseQuery(this, canClose);
    return canClose;
}

void TCustomForm::Close() {
    if (Modal()) {
        modalResult_ = mrCancel;
        return;
    }
    if (!CloseQuery()) return;
    TCloseAction action = formStyle_ == TFormStyle::fsMDIChild ? TCloseAction::caMinimize : TCloseAction::caHide;
    DoClose(action);
    switch (action) {
        case TCloseAction::caNone: return;
        case TCloseAction::caHide:
            if (Application().MainForm() == this) Application().Terminate();
            Hide();
            return;
        case TCloseAction::caMinimize: SetWindowState(TWindowState::wsMinimized); return;
        case TCloseAction::caFree:
            if (Application().MainForm() == this) Application().Terminate();
            Release();
            return;
    }
}

void TCustomForm::CloseModal() {
    TCloseAction action = TCloseAction::caNone;
    try {
        if (CloseQuery()) {
            action = TCloseAction::caHide;
            DoClose(action);
        }
    } catch (const EAbort&) {
        // Abort in a close handler keeps the form open, like caNone.
        action = TCloseAction::caNone;
    } catch (const std::exception& e) {
        modalResult_ = mrNone;
        Application().HandleException(e);
        return;
    }
    if (action == TCloseAction::caNone) modalResult_ = mrNone;
    else if (action == TCloseAction::caFree) releasePending_ = true;
}

void TCustomForm::Release() {
    if (Modal()) {
        releasePending_ = true;
        return;
    }
    PostMessage(Handle(), CM_RELEASE);
}

TModalResult TCustomForm::ShowModal() {
    if (Visible() || !Enabled() || Modal()) throw EInvalidOperation("Cannot make a visible window modal");
    TApplication& app = Application();
    auto alive = alive_;
    TCustomForm* previous = Screen().ActiveForm();
    formState_ |= fsModal;
    modalResult_ = mrNone;
    ++app.modalLevel_;
    auto finish = [&] {
        --app.modalLevel_;
        if (!*alive) return;
        formState_ &= ~fsModal;
        if (Visible()) Hide();
        // The previous form may have gone meanwhile: look it up before touching it.
        if (previous && previous != this && Screen().IndexOf(previous) >= 0 && previous->Visible()) previous->Activate();
        if (releasePending_) {
            releasePending_ = false;
            Release();
        }
    };
    try {
        Show();
        int turns = 0;
        bool forced = false;
        while (*alive) {
            app.ProcessMessages();
            if (!*alive) break;
            if (modalResult_ != mrNone) {
                if (forced) break;
                CloseModal();
                if (!*alive || modalResult_ != mrNone) break;
            }
            if (app.Terminated()) {
                modalResult_ = mrCancel;
                forced = true;
                continue;
            }
            bool acted = app.AgentTurn(this);
            if (!*alive) break;
            if (modalResult_ != mrNone) continue;
            std::string who = Name().empty() ? ClassName() : Name() + " (" + ClassName() + ")";
            if (!acted) {
                app.AddDiagnostic("Modal loop of " + who + " ended with Cancel: the user agent had nothing to do");
                modalResult_ = mrCancel;
                forced = true;
            } else if (++turns >= app.MaxModalTurns()) {
                app.AddDiagnostic("Modal loop of " + who + " ended with Cancel after " + std::to_string(turns) +
                                  " turns of the user agent");
                modalResult_ = mrCancel;
                forced = true;
            }
        }
    } catch (...) {
        finish();
        throw;
    }
    // The form may have been destroyed by a handler of its own loop.
    TModalResult result = *alive ? modalResult_ : mrCancel;
    finish();
    return result;
}

void TCustomForm::WndProc(TMessage& message) {
    switch (message.Msg) {
        case WM_CLOSE: Close(); return;
        case CM_RELEASE:
            if (Modal()) {
                releasePending_ = true;
                return;
            }
            Free();
            return;
        case WM_NEXTDLGCTL:
            if (message.LParam) {
                if (TWinControl* c = FindControl(static_cast<HWND>(message.WParam)); c && c->CanFocus()) c->SetFocus();
            } else {
                SelectNext(activeControl_, message.WParam == 0, true);
            }
            return;
        case CM_FOCUSCHANGED: return;
        default: TWinControl::WndProc(message);
    }
}

// --- TScreen ---------------------------------------------------------------

ZB_PUBLISHED(TScreen){};

TScreen::TScreen() : fonts_(new TStringList), iconFont_(new TFont), hintFont_(new TFont), menuFont_(new TFont) {
    for (const char* f : {"Arial", "Courier New", "MS Sans Serif", "Tahoma", "Times New Roman", "宋体", "新细明体", "細明體"})
        fonts_->Add(f);
}

TScreen::~TScreen() {
    fonts_->Free();
    iconFont_->Free();
    hintFont_->Free();
    menuFont_->Free();
}

TCustomForm* TScreen::Forms(int index) const {
    if (index < 0 || index >= FormCount()) throw EComponentError("Form index out of bounds (" + std::to_string(index) + ")");
    return forms_[static_cast<size_t>(index)];
}

TWinControl* TScreen::ActiveControl() const {
    if (!activeForm_) return nullptr;
    TWinControl* c = activeForm_->FocusedControl();
    return c == activeForm_ ? nullptr : c;
}

int TScreen::IndexOf(const TCustomForm* form) const {
    auto it = std::find(forms_.begin(), forms_.end(), form);
    return it == forms_.end() ? -1 : static_cast<int>(it - forms_.begin());
}

void TScreen::AddForm(TCustomForm* form) {
    if (IndexOf(form) < 0) forms_.push_back(form);
}

void TScreen::RemoveForm(TCustomForm* form) {
    forms_.erase(std::remove(forms_.begin(), forms_.end(), form), forms_.end());
    if (activeForm_ == form) activeForm_ = nullptr;
}

void TScreen::MoveToFront(TCustomForm* form) {
    auto it = std::find(forms_.begin(), forms_.end(), form);
    if (it == forms_.end()) return;
    forms_.erase(it);
    forms_.insert(forms_.begin(), form);
}

// --- TApplication ----------------------------------------------------------

ZB_PUBLISHED(TApplication){
    prop::String("Title", &TApplication::Title, &TApplication::SetTitle),
    prop::Bool("ShowHint", &TApplication::ShowHint, &TApplication::SetShowHint),
};

TApplication::TApplication() = default;

TApplication::~TApplication() {
    // The forms go while the queue and the handle table still exist.
    DestroyComponents();
    queue_.clear();
}

void TApplication::Notification(TComponent* component, TOperation operation) {
    TComponent::Notification(component, operation);
    if (operation == TOperation::opRemove && component && component == mainForm_) mainForm_ = nullptr;
}

void TApplication::SetMainForm(TCustomForm* form) {
    if (form == mainForm_) return;
    if (mainForm_ && mainForm_->Owner() != this) RemoveFreeNotification(mainForm_);
    mainForm_ = form;
    if (form && form->Owner() != this) FreeNotification(form);
}

HWND TApplication::AllocateHandle(TWinControl* control) {
    HWND wnd = nextHandle_++;
    windows_[wnd] = control;
    return wnd;
}

void TApplication::ReleaseHandle(HWND wnd) { windows_.erase(wnd); }

TWinControl* TApplication::FindWindow(HWND wnd) const {
    auto it = windows_.find(wnd);
    return it == windows_.end() ? nullptr : it->second;
}

bool TApplication::Post(HWND wnd, const TMessage& message) {
    if (!FindWindow(wnd)) return false;
    queue_.push_back({wnd, message});
    return true;
}

void TApplication::ProcessMessages() {
    // A handler that posts a message every time it handles one would keep
    // the queue full for ever.
    constexpr int kMaxMessages = 100000;
    int handled = 0;
    while (!queue_.empty()) {
        if (++handled > kMaxMessages) {
            AddDiagnostic("Message processing stopped after " + std::to_string(kMaxMessages) +
                          " messages; the queue keeps filling");
            queue_.clear();
            return;
        }
        Posted p = queue_.front();
        queue_.pop_front();
        TWinControl* target = FindWindow(p.wnd);
        if (!target) continue;  // the window went before its message came up
        try {
            target->WndProc(p.message);
        } catch (const EAbort&) {
            // Abort ends the handler silently, as everywhere else.
        } catch (const std::exception& e) {
            HandleException(e);
        }
    }
}

bool TApplication::AgentTurn(TCustomForm* form) {
    if (!agent_ || !form) return false;
    try {
        return agent_->Turn(*form);
    } catch (const EAbort&) {
        return true;
    } catch (const std::exception& e) {
        // What the user's action raised is reported as the application reports it.
        HandleException(e);
        return true;
    }
}

void TApplication::Run() {
    terminated_ = false;
    if (mainForm_) mainForm_->Show();
    int turns = 0;
    while (!terminated_) {
        ProcessMessages();
        if (terminated_ || !mainForm_ || !mainForm_->Visible()) break;
        if (!AgentTurn(mainForm_)) {
            AddDiagnostic("Application run ended: the user agent had nothing to do");
            break;
        }
        if (++turns >= maxModalTurns_) {
            AddDiagnostic("Application run ended after " + std::to_string(turns) + " turns of the user agent");
            break;
        }
    }
    ProcessMessages();
}

void TApplication::HandleException(const std::exception& e) {
    if (dynamic_cast<const EAbort*>(&e)) return;
    AddDiagnostic(std::string("Exception: ") + e.what());
    if (OnException.Assigned()) {
        OnException(this, e);
        return;
    }
    ShowException(e);
}

void TApplication::ShowException(const std::exception& e) {
    TDialogRequest r;
    r.Kind = "Exception";
    r.Caption = title_;
    r.Text = e.what();
    r.Type = TMsgDlgType::mtError;
    r.Buttons.push_back({mbOK, DefaultButtonCaption(mbOK), mrOk});
    DialogService().Execute(r);
}

int TApplication::MessageBox(const std::string& text, const std::string& caption, unsigned flags) {
    TDialogRequest r;
    r.Kind = "MessageBox";
    r.Caption = caption;
    r.Text = text;
    switch (flags & 0xF0) {
        case MB_ICONERROR: r.Type = TMsgDlgType::mtError; break;
        case MB_ICONQUESTION: r.Type = TMsgDlgType::mtConfirmation; break;
        case MB_ICONWARNING: r.Type = TMsgDlgType::mtWarning; break;
        case MB_ICONINFORMATION: r.Type = TMsgDlgType::mtInformation; break;
        default: r.Type = TMsgDlgType::mtCustom;
    }
    std::vector<TMsgDlgBtn> kinds;
    switch (flags & 0xF) {
        case MB_OKCANCEL: kinds = {mbOK, mbCancel}; break;
        case MB_ABORTRETRYIGNORE: kinds = {mbAbort, mbRetry, mbIgnore}; break;
        case MB_YESNOCANCEL: kinds = {mbYes, mbNo, mbCancel}; break;
        case MB_YESNO: kinds = {mbYes, mbNo}; break;
        case MB_RETRYCANCEL: kinds = {mbRetry, mbCancel}; break;
        default: kinds = {mbOK};
    }
    for (TMsgDlgBtn k : kinds) r.Buttons.push_back({k, DefaultButtonCaption(k), ButtonResult(k)});
    // Modal results and the box's answers share their numbers.
    return DialogService().Execute(r);
}

namespace {
// The application and the screen live and go together; the application
// goes first, so forms it owns still find the screen.
struct UiGlobals {
    TScreen screen;
    TApplication application;
};
UiGlobals& Globals() {
    static UiGlobals globals;
    return globals;
}
}  // namespace

TApplication& Application() { return Globals().application; }
TScreen& Screen() { return Globals().screen; }

}  // namespace zb
