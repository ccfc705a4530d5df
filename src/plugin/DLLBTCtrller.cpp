#include "plugin/DLLBTCtrller.h"

#include "platform/core/Published.h"
#include "platform/os/Module.h"
#include "platform/ui/Forms.h"
#include "platform/ui/WinApi.h"
#include "plugin/DLLRegistration.h"

namespace zb {

ZB_PUBLISHED(TDLLBTCtrller){};

namespace {

// The outcome as the host reads it: texts become wide texts, also inside arrays.
Variant ToOleVariant(const Variant& v) {
    if (v.Type() == VarType::String) return Variant::Wide(v.Text());
    if (!v.IsArray()) return v;
    Variant copy = v;
    for (Variant& item : copy.Array().Items()) item = ToOleVariant(item);
    return copy;
}

}  // namespace

void RegisterBatchController() { DLLControllerClass() = TDLLControllerClass::Of<TDLLBTCtrller>(); }

TDLLBTCtrller::~TDLLBTCtrller() {
    if (Form) CloseJob();
}

std::string TDLLBTCtrller::GetFormVersion() { return Form ? Form->JobIdentText() : std::string(); }

WordBool TDLLBTCtrller::GetVisible() { return Form && Form->JobForm().Visible() ? WordTrue : WordFalse; }

void TDLLBTCtrller::SetVisible(WordBool Value) {
    if (!Form) return;
    TForm& form = Form->JobForm();
    form.SetVisible(Value != 0);
    if (Value == 0) return;
    if (form.WindowState() == TWindowState::wsMinimized) form.SetWindowState(TWindowState::wsNormal);
    SetForegroundWindow(form.Handle());
}

std::uint32_t TDLLBTCtrller::GetHandle() { return Form ? static_cast<std::uint32_t>(Form->JobForm().Handle()) : 0; }

std::int32_t TDLLBTCtrller::OpenJob(Variant Params) {
    const Variant login = Params;
    if (!Form) {
        const TJobFormClass& cls = frmBaseBatchClass();
        if (!cls) throw Exception("ZEB DLL Internal Error :\rNot Assign \"frmBaseBatchClass\" varible");
        Form = cls.Create(nullptr);
        Form->SetModuleFileName(ThisModuleFileName());
        Form->SetJobHostObject(HostObject);
        DoCreated(this);
    }
    HookForm();
    return Form->LoadParams(login) ? 0 : -1;
}

void TDLLBTCtrller::HookForm() {
    // A second OpenJob finds this controller's own handlers installed; saving
    // them as the form's would make every show, hide or destroy call itself
    // without end, so the form's own handlers stay saved and nothing is re-hooked.
    TForm& form = Form->JobForm();
    const TNotifyEvent ownShow = Handler<&TDLLBTCtrller::DoShow>(this);
    if (form.OnShow == ownShow) return;
    OldOnShow = form.OnShow;
    form.OnShow = ownShow;
    OldOnHide = form.OnHide;
    form.OnHide = Handler<&TDLLBTCtrller::DoHide>(this);
    OldOnDestroy = form.OnDestroy;
    form.OnDestroy = Handler<&TDLLBTCtrller::DoDestroy>(this);
}

std::int32_t TDLLBTCtrller::Apply(const Variant& envelope) {
    try {
        Form->ApplyRequest(envelope);
        return 0;
    } catch (...) {
        // The host expects a result code, never an exception, from a run request.
        return -1;
    }
}

std::int32_t TDLLBTCtrller::SetParams(Variant Params) {
    if (!Form || Params.IsNull() || !Params.IsArray()) return -1;
    return Apply(Params);
}

std::int32_t TDLLBTCtrller::SetParam(std::int32_t Code, Variant Value) {
    if (!Form || Code != 5) return -1;
    return Apply(VarArrayOf({Variant(false), Value}));
}

Variant TDLLBTCtrller::RunModal() {
    if (!Form) return Variant(mrCancel);
    return Variant(static_cast<int>(Form->JobForm().ShowModal()));
}

void TDLLBTCtrller::CloseJob() {
    if (!Form) return;
    TForm& form = Form->JobForm();
    if (form.IsDestroying()) return;
    form.Free();
}

std::int32_t TDLLBTCtrller::GetResults(Variant& Values) {
    if (!Form) return -1;
    Variant result = VarArrayCreate({0, 3}, VarType::Variant);
    result[0] = Variant(Form->JobUserID());
    result[1] = Variant(Form->JobCompanyID());
    result[2] = Variant(Form->JobProgramCode());
    result[3] = Variant(Form->JobProgramName());
    Values = result;
    return 0;
}

bool TDLLBTCtrller::IsClosed() { return Form == nullptr; }

void TDLLBTCtrller::DoShow(TObject* Sender) {
    if (OldOnShow.Assigned()) OldOnShow(Sender);
    TDLLBaseController::DoShow(Sender);
}

void TDLLBTCtrller::DoHide(TObject* Sender) {
    if (OldOnHide.Assigned()) OldOnHide(Sender);
    TDLLBaseController::DoHide(Sender);
}

void TDLLBTCtrller::DoDestroy(TObject* Sender) {
    if (Form) {
        ResultCode = Form->JobResultCode();
        ResultData = ToOleVariant(Form->JobResultData());
        if (OldOnDestroy.Assigned()) OldOnDestroy(Sender);
        TDLLBaseController::DoDestroy(Sender);
    }
    Form = nullptr;
}

}  // namespace zb
