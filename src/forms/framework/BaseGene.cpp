// The general job form: its resource, creation, messages, system
// information, showing and closing. Initialisation from the login array is in
// BaseGeneInit.cpp.
#include "forms/framework/BaseGene.h"

#include <type_traits>

#include "controls/DBLabel.h"
#include "controls/ExtPage.h"
#include "controls/F2Button.h"
#include "platform/core/Published.h"
#include "platform/core/TextUtils.h"
#include "platform/os/Paths.h"
#include "platform/ui/Buttons.h"
#include "platform/ui/ComCtrls.h"
#include "platform/ui/ExtCtrls.h"
#include "platform/ui/ImgList.h"
#include "platform/ui/Mask.h"
#include "platform/ui/Menus.h"
#include "platform/ui/Messages.h"
#include "platform/ui/StdCtrls.h"
#include "platform/ui/WinApi.h"

namespace zb {

ZB_PUBLISHED(TfrmBaseGene){
    prop::Event("OnDateFieldEnter", &TfrmBaseGene::onDateFieldEnter_),
    prop::Event("OnDateFieldExit", &TfrmBaseGene::onDateFieldExit_),
    prop::Event("OnRequiredExit", &TfrmBaseGene::onRequiredExit_),
    prop::Bool("WantLog", &TfrmBaseGene::GetWantLog, &TfrmBaseGene::SetWantLog),
};

namespace {

template <class T>
T* Make(TComponent* owner, TWinControl* parent, const std::string& name) {
    T* c = new T(owner);
    c->SetName(name);
    if constexpr (std::is_base_of_v<TControl, T>)
        if (parent) c->SetParent(parent);
    return c;
}

}  // namespace

TfrmBaseGene::TfrmBaseGene(TComponent* owner)
    : TZbForm(owner),
      MainMidas(std::make_unique<TSocketConnection>()),
      SysInfoList(std::make_unique<TStringList>()),
      ColorList(std::make_unique<TStringList>()),
      DateHooks(std::make_unique<TStringList>()),
      RequiredHooks(std::make_unique<TStringList>()),
      DateConditions(std::make_unique<TStringList>()) {
    BuildResource();
    WireMessages();
}

TfrmBaseGene::~TfrmBaseGene() = default;

void TfrmBaseGene::BuildResource() {
    SetName("frmBaseGene");
    SetBounds(Left(), Top(), 509, 355);
    SetPosition(TPosition::poScreenCenter);
    SetKeyPreview(true);
    SetBorderIcons(biMaximize);
    Font()->SetName("宋体");
    Font()->SetHeight(-13);

    pnlCondition = Make<TPanel>(this, this, "pnlCondition");
    pnlCondition->SetAlign(TAlign::alLeft);
    pnlCondition->SetWidth(151);
    pnlCondition->SetCaption("");
    lblCondition = Make<TLabel>(this, pnlCondition, "lblCondition");
    ToolBar1 = Make<TToolBar>(this, pnlCondition, "ToolBar1");
    lstCondition = Make<TListView>(this, pnlCondition, "lstCondition");
    muOperation = Make<TPopupMenu>(this, nullptr, "muOperation");
    mnList = Make<TPopupMenu>(this, nullptr, "mnList");
    ImageList1 = Make<TImageList>(this, nullptr, "ImageList1");
    ImageList2 = Make<TImageList>(this, nullptr, "ImageList2");
    Splitter1 = Make<TSplitter>(this, this, "Splitter1");
    Splitter1->SetAlign(TAlign::alLeft);

    Panel1 = Make<TPanel>(this, this, "Panel1");
    Panel1->SetAlign(TAlign::alBottom);
    Panel1->SetHeight(43);
    Panel1->SetCaption("");
    btnOk = Make<TBitBtn>(this, Panel1, "btnOk");
    btnOk->SetCaption("确定");
    btnOk->SetHint("确定");
    btnOk->OnClick = Handler<&TfrmBaseGene::btnOkClick>(this);
    btnCancel = Make<TBitBtn>(this, Panel1, "btnCancel");
    btnCancel->SetCaption("取消");
    btnCancel->SetHint("取消");
    btnCancel->SetCancel(true);
    btnCancel->SetModalResult(mrCancel);
    btnCancel->OnClick = Handler<&TfrmBaseGene::btnCancelClick>(this);

    pgOption = Make<TExtPageControl>(this, this, "pgOption");
    pgOption->SetAlign(TAlign::alClient);
    pgOption->SetHint("请输入选项条件");
    pgOption->OnChange = Handler<&TfrmBaseGene::pgOptionChange>(this);
    pgOption->OnChanging = Handler<&TfrmBaseGene::pgOptionChanging>(this);
    tsOption1 = Make<TTabSheet>(this, nullptr, "tsOption1");
    tsOption1->SetPageControl(pgOption);
    tsOption1->SetCaption("基本选项");
    tsOption2 = Make<TTabSheet>(this, nullptr, "tsOption2");
    tsOption2->SetPageControl(pgOption);
    tsOption2->SetCaption("系统选项");
    tsOption2->OnShow = Handler<&TfrmBaseGene::tsOption2Show>(this);
    pgOption->SetActivePage(tsOption1);

    edPrintDate = Make<TMaskEdit>(this, tsOption2, "edPrintDate");
    edPrintDate->SetBounds(60, 8, 85, edPrintDate->Height());
    edPrintDate->SetHint("[F2]日期快手");
    lblToday = Make<TDBLabel>(this, tsOption2, "lblToday");
    lblToday->SetCaption("制表日期");
    lblToday->SetAutoCaption(true);
    lblToday->SetGap(4);
    lblToday->SetFocusControl(edPrintDate);
    lblToday->SetAutoAlign(true);
    btnPrintDate = Make<TF2Button>(this, tsOption2, "btnPrintDate");
    btnPrintDate->SetHint("日期快手");
    btnPrintDate->SetFlat(true);
    btnPrintDate->SetGlyphIndex(9);
    btnPrintDate->SetGap(2);
    btnPrintDate->SetF2Control(edPrintDate);
    btnPrintDate->SetAutoAlign(true);

    OnCreate = Handler<&TfrmBaseGene::FormCreate>(this);
    OnShow = Handler<&TfrmBaseGene::FormShow>(this);
    OnClose = Handler<&TfrmBaseGene::FormClose>(this);
    OnDestroy = Handler<&TfrmBaseGene::FormDestroy>(this);
    OnKeyDown = Handler<&TfrmBaseGene::FormKeyDown>(this);
    OnKeyPress = Handler<&TfrmBaseGene::FormKeyPress>(this);
    OnResize = Handler<&TfrmBaseGene::FormResize>(this);
}

// The message unit asks the form for what it needs at the moment it needs
// it, so the switches are always current.
void TfrmBaseGene::WireMessages() {
    TMessageSite& site = Messages.Site();
    site.HostObject = [this] { return HostObject; };
    site.ToDisplay = [this](const std::string& text) { return ZbConverter->ToUI(Variant(text)).ToString(); };
    site.DialogFont = [this](TFont& font) { TCodeConverter::ApplyFontRule(font, ZbConverter->UIConvertMode); };
    site.UICodePage = [this] { return UICodePage(); };
    site.Form = [this]() -> TCustomForm* { return this; };
    site.LastFocused = [this] { return LastFocused; };
    site.CancelIsActive = [this] { return btnCancel && ActiveControl() == btnCancel; };
    site.InPageChange = [this] { return InPageChange; };
    site.SystemSetting = [this](std::string_view name) { return Variant(SysInfo(std::string(name))); };
}

void TfrmBaseGene::AfterConstruction() {
    TZbForm::AfterConstruction();
    for (int i = 0; i < ComponentCount(); ++i)
        if (auto* button = dyn_cast<TF2Button>(Components(i))) button->SetFlat(true);
}

void TfrmBaseGene::FormCreate(TObject* sender) {
    TZbForm::FormCreate(sender);
    IdentText = "870401-0.00.00";
    CompanyID.clear();
    ProgramCode.clear();
    ProgramName.clear();
    RequiredSpec.clear();
    DateFields.clear();
    onDateFieldEnter_ = Handler<&TfrmBaseGene::DateFieldEnter>(this);
    onDateFieldExit_ = Handler<&TfrmBaseGene::DateFieldExit>(this);
    onRequiredExit_ = Handler<&TfrmBaseGene::RequiredExit>(this);
    ValidationFailed = false;
    SystemPageArranged = false;
    LastFocused = this;
    InPageChange = false;
    ShowConfirm = true;
    PrepareDataSets();
    DateConditions->Clear();
}

// The plan list's data set keeps its own field texts; there is no other
// client data set on the general form.
void TfrmBaseGene::PrepareDataSets() {}

void TfrmBaseGene::FormShow(TObject* sender) {
    TZbForm::FormShow(sender);
    std::string title = FormTitle;
    if (ProductID == 5) title += LangText("TfrmBaseGene", "sPublicVer", "-普及版");
    SetCaption(title + "[" + CaptionSuffix + "]");
    if (pgOption->PageCount() > 0) {
        pgOption->SetActivePageIndex(0);
        pgOptionChange(pgOption);
    }
    ConvertTexts();
}

void TfrmBaseGene::btnOkClick(TObject*) {}

void TfrmBaseGene::btnCancelClick(TObject*) { Close(); }

void TfrmBaseGene::FormClose(TObject*, TCloseAction& action) { action = TCloseAction::caFree; }

void TfrmBaseGene::FormResize(TObject*) { RepaintHostWindow(); }

void TfrmBaseGene::FormDestroy(TObject*) {
    PageEndControls.clear();
    SysInfoList->Clear();
    ColorList->Clear();
    DateHooks->Clear();
    RequiredHooks->Clear();
    F2Window = Variant();
    Validator = Variant();
    Counter = Variant();
    if (!LocalServer) MainMidas->Close();
    MainMidas->SetAppServer(Variant());
    AppServer = Variant();
    HostObject = Variant();
    DateConditions->Clear();
}

void TfrmBaseGene::WndProc(TMessage& message) {
    switch (message.Msg) {
    case WM_MOVE:
        TZbForm::WndProc(message);
        RepaintHostWindow();
        return;
    case CM_FOCUSCHANGED:
        LastFocused = ActiveControl();
        break;
    case WM_QUICKPICK: {
        // Only a control of this form is taken from the message.
        auto* wanted = reinterpret_cast<const TControl*>(message.LParam);
        for (int i = 0; i < ComponentCount(); ++i)
            if (Components(i) == wanted) {
                F2KeyPressed(VK_F2, static_cast<TControl*>(Components(i)));
                break;
            }
        return;
    }
    default:
        break;
    }
    TZbForm::WndProc(message);
}

void TfrmBaseGene::PostClose() { PostMessage(this, WM_CLOSE); }

void TfrmBaseGene::RepaintHostWindow() {
    if (HostWindow) UpdateWindow(HostWindow);
}

void TfrmBaseGene::SetModuleFileName(const std::string& fileName) {
    ModuleFileName = fileName;
    if (!IsDllModule()) LoadParams(VarArrayOf({Variant("796"), Variant("KXTest60"), Variant("KXTest60")}));
}

// The plug-in is a shared library here; ".Dll" is kept for the Windows names
// a job may still be registered under.
bool TfrmBaseGene::IsDllModule() const {
    std::string ext = ExtractFileExt(ModuleFileName);
    return SameText(ext, ".Dll") || SameText(ext, ".so");
}

// ---- messages ------------------------------------------------------------

void TfrmBaseGene::ReportMessage(const std::string& spec) { Messages.ReportMessage(spec); }
void TfrmBaseGene::RecordError(const std::string& text) { Messages.RecordError(text); }
void TfrmBaseGene::GetMessageText(const std::string& kind, const std::string& id, std::string& text) {
    text = Messages.GetMessageText(kind, id);
}
int TfrmBaseGene::ShowMessageCode(const std::string& kind, const std::string& id, const std::vector<Variant>& args,
                                  TMsgDlgButtons buttons) {
    return Messages.ShowMessageCode(kind, id, args, buttons);
}
int TfrmBaseGene::MessageDlg(const std::string& text, TMsgDlgType type, TMsgDlgButtons buttons) {
    return Messages.MessageDlg(text, type, buttons);
}

// ---- system information ---------------------------------------------------

void TfrmBaseGene::SysInfo(const std::string& key, std::string& value) {
    value.clear();
    if (!key.empty()) {
        int i = SysInfoList->IndexOfName(key);
        if (i >= 0) value = SysInfoList->ValueFromIndex(i);
    } else if (!Counter.IsEmpty()) {
        try {
            Variant r = Counter.Call("GetSysInfo", {Variant(CompanyID)});
            if (r.IsArray() && VarArrayDimCount(r) == 2)
                for (int i = VarArrayLowBound(r, 2); i <= VarArrayHighBound(r, 2); ++i)
                    SysInfoList->SetValues(VarToStr(r.At({0, i})), VarToStr(r.At({1, i})));
        } catch (const std::exception&) {
            // Without system information every key answers empty.
        }
    }
    if (value.empty()) {
        std::string caption = CategoryCaption(key);
        if (!caption.empty()) {
            value = caption;
            return;
        }
    }
    if (Converted) value = ForScreen(value);
}

std::string TfrmBaseGene::SysInfo(const std::string& key) {
    std::string value;
    SysInfo(key, value);
    return value;
}

int TfrmBaseGene::DateFormat() { return Messages.DateFormat(); }
void TfrmBaseGene::DateSep(std::string& sep) { sep = Messages.DateSep(); }
std::string TfrmBaseGene::DateSep() { return Messages.DateSep(); }

Variant TfrmBaseGene::ForScreen(const Variant& value) const { return Converted ? ZbConverter->ToUI(value) : value; }
std::string TfrmBaseGene::ForScreen(const std::string& text) const {
    return Converted ? ZbConverter->ToUI(Variant(text)).ToString() : text;
}

}  // namespace zb
