// TfrmBaseGene: the general job form every job of the suite is built on.
//
// It owns what a job form needs besides its own conditions: initialisation
// from the host's login array with the connection to the application server
// and the host's service objects, the condition pages with the system page
// (print date), the job parameter protocol through which derived forms hand
// over their conditions, the date and required-field checks, quick-pick
// queries, the shared keyboard handling, coded messages from the host's
// message table and the host's run requests.
//
// A derived job form builds its controls in its constructor (after this
// one), overrides the collectors and settings it needs, and inherits the
// rest. Each override of a virtual operation calls the inherited one first
// and stops when it returns false.
//
// The implementation is split by concern:
//   BaseGene.cpp           resource, creation, initialisation, host and
//                          server, system information, closing
//   BaseGeneKeys.cpp       keyboard, pages, system page, help
//   BaseGeneChecks.cpp     date fields and required fields
//   BaseGeneQuickPick.cpp  F2 queries into edits and selection panels
//   BaseGeneParams.cpp     job parameter array and run requests
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "env/MessageText.h"
#include "forms/framework/JobForm.h"
#include "forms/framework/ZBForm.h"
#include "platform/core/StringList.h"
#include "platform/core/Variant.h"
#include "platform/remote/SocketConnection.h"

namespace zb {

class TBitBtn;
class TDBLabel;
class TExtPageControl;
class TF2Button;
class TImageList;
class TLabel;
class TListView;
class TMaskEdit;
class TPanel;
class TPopupMenu;
class TSelectPanel;
class TSplitter;
class TTabSheet;
class TToolBar;
class TToolButton;

// The required colour of required fields: a light yellow.
inline constexpr TColor RequiredColor = static_cast<TColor>(0xAFFFFF);
// Feature bit: the form wants the host's F2 window object.
inline constexpr unsigned char FeatureF2Window = 4;

class TfrmBaseGene : public TZbForm, public IJobForm {
    ZB_CLASS(TfrmBaseGene, TZbForm)

public:
    explicit TfrmBaseGene(TComponent* owner = nullptr);
    ~TfrmBaseGene() override;

    // ---- form resource -------------------------------------------------
    TPanel* pnlCondition = nullptr;
    TSplitter* Splitter1 = nullptr;
    TExtPageControl* pgOption = nullptr;
    TTabSheet* tsOption1 = nullptr;
    TTabSheet* tsOption2 = nullptr;
    TDBLabel* lblToday = nullptr;
    TMaskEdit* edPrintDate = nullptr;
    TF2Button* btnPrintDate = nullptr;
    TPanel* Panel1 = nullptr;
    TBitBtn* btnOk = nullptr;
    TBitBtn* btnCancel = nullptr;
    // Plan panel (its behaviour comes with the condition plans).
    TListView* lstCondition = nullptr;
    TToolBar* ToolBar1 = nullptr;
    TLabel* lblCondition = nullptr;
    TPopupMenu* muOperation = nullptr;
    TPopupMenu* mnList = nullptr;
    TImageList* ImageList1 = nullptr;
    TImageList* ImageList2 = nullptr;
    // The connection to the application server (not a component here).
    std::unique_ptr<TSocketConnection> MainMidas;

    // ---- state the framework relies on ---------------------------------
    Variant HostObject;
    Variant F2Window;
    Variant Validator;
    Variant Counter;
    Variant AppServer;
    unsigned char Features = 0;
    std::string UserID;
    std::string CompanyID;
    std::string CompanyDB;
    HWND HostWindow = 0;
    Variant HostExtra;
    std::string CaptionSuffix;
    std::string IdentText;
    std::unique_ptr<TStringList> SysInfoList;
    std::string ProgramCode;
    std::string ProgramName;
    std::string FormTitle;
    std::string ServerClass;
    std::string ProgramKind;
    int EnvCount = 0;
    int OptionCount = 0;
    int FrameSlots = 1;
    Variant Params;
    bool CaptionsCollected = false;
    bool UseNames = true;
    bool AutoSubmit = false;
    bool ShowConfirm = true;
    int ProductID = 3;
    bool WantLog = false;
    std::string BaseLimited;  // wide text kept as UTF-8
    bool F2Flag1 = false;
    bool F2Flag2 = false;
    std::vector<std::string> UserRights;  // the rights record's texts, in record order
    std::vector<TControl*> PageEndControls;
    TWinControl* LastFocused = nullptr;
    bool InPageChange = false;
    bool SystemPageArranged = false;
    int ResultCode = 0;
    Variant ResultData;
    std::string ModuleFileName;
    bool LocalServer = false;
    std::string PlanControls;
    std::unique_ptr<TStringList> ColorList;
    std::string DateFields;
    std::unique_ptr<TStringList> DateHooks;
    std::string RequiredSpec;
    std::unique_ptr<TStringList> RequiredHooks;
    bool ValidationFailed = false;
    std::unique_ptr<TStringList> DateConditions;

    // The message machinery, wired to this form (host object, converter,
    // Cancel and page-change switches).
    TMessageTexts Messages;

    // ---- published properties -------------------------------------------
    const TNotifyEvent& OnDateFieldEnter() const { return onDateFieldEnter_; }
    const TNotifyEvent& OnDateFieldExit() const { return onDateFieldExit_; }
    const TNotifyEvent& OnRequiredExit() const { return onRequiredExit_; }
    bool GetWantLog() const { return WantLog; }
    void SetWantLog(bool on) { WantLog = on; }

    // ---- virtual operations -------------------------------------------
    virtual void ArrangeSystemPage();
    virtual bool CollectParams();
    virtual void InitJobSettings();
    virtual void PickPhrase(TControl* control);
    virtual void SetRequiredFields(const std::string& spec);
    virtual void PrepareDataSets();
    virtual void ConnectHost();
    virtual bool LoadParams(const Variant& login) override;
    virtual bool GetOptionValues(Variant& values, int jobSlots);
    virtual bool ApplyRequestValues(const Variant& values);
    virtual bool GetEnvValues(Variant& values, int count);
    virtual bool GetOptionCaptions(Variant& captions, int jobSlots);
    virtual void AfterLoadRights() {}
    virtual void F2GetData(const std::string& table, const std::string& key, const Variant& params,
                           const std::string& filter, bool multi, Variant& result);
    virtual void ConfigureConnection(TSocketConnection& connection) {}
    virtual bool RunRequestAction(int mode) { return true; }
    virtual void BeforeApplyValue(TComponent* component, const std::string& valueText) {}
    virtual void AfterApplyValue(TComponent* component, const std::string& valueText) {}
    // Dynamic methods of the original, overridable here as virtuals.
    virtual void F2KeyPressed(Word key, TControl* control);
    virtual void CreateHostObjects();
    virtual void CreateF2Window();

    // ---- public operations ----------------------------------------------
    void SetModuleFileName(const std::string& fileName) override;
    bool IsDllModule() const;
    void SetOptionCount(int jobSlots);
    void ApplyRequest(const Variant& block);
    bool CheckRequestNames(const Variant& values);
    void PutDateRange(const std::string& fromText, const std::string& toText, Variant& values, int index);
    void PutSelectPanel(TSelectPanel* panel, Variant& values, int index);

    void ReportMessage(const std::string& spec);
    void RecordError(const std::string& text);
    void GetMessageText(const std::string& kind, const std::string& id, std::string& text);
    int ShowMessageCode(const std::string& kind, const std::string& id, const std::vector<Variant>& args,
                        TMsgDlgButtons buttons = 0);
    int MessageDlg(const std::string& text, TMsgDlgType type, TMsgDlgButtons buttons);
    const std::string& MessageLog() const { return Messages.MessageLog(); }
    const std::string& MessageTextLog() const { return Messages.MessageTextLog(); }

    void LoadUserRights(const Variant& rights);
    bool QueryTable(const std::string& table, const std::string& key, bool query, Variant& result,
                    const Variant& params);
    void GetCounter(const std::string& name, const Variant& params, Variant& result);
    void SysInfo(const std::string& key, std::string& value);
    std::string SysInfo(const std::string& key);
    int DateFormat();
    void DateSep(std::string& sep);
    std::string DateSep();

    // Date and required fields.
    void SetDateFields(const std::string& names);
    bool CheckDateField(TControl* control, bool prepare);
    std::string NormalizeDate(const std::string& text);
    void InputDate(const std::string& text, std::string& result);
    std::string DateMask();
    std::string EmptyDateText();
    bool CheckRequired(const std::string& spec);
    bool IsMaskTextEmpty(TComponent* component);
    void RecordColors(TWinControl* container);
    void RestoreColors(TWinControl* container);
    // The fallback caption of a goods-category key ("SYS007".."SYS010"),
    // empty for any other key.
    std::string CategoryCaption(const std::string& key);

    // Quick pick.
    void SelectPanelF2(TControl* control, const std::string& table, const std::string& key, const Variant& params,
                       const std::string& filter, bool allColumns);
    static std::string JoinRow(const Variant& row, const TSelectPanel& panel, bool allColumns);

    // ---- published handlers ---------------------------------------------
    void FormCreate(TObject* sender);
    void FormClose(TObject* sender, TCloseAction& action);
    void FormDestroy(TObject* sender);
    void FormKeyDown(TObject* sender, Word& key, TShiftState shift);
    void FormKeyPress(TObject* sender, char& key);
    void FormShow(TObject* sender);
    void btnOkClick(TObject* sender);
    void btnCancelClick(TObject* sender);
    void FormResize(TObject* sender);
    void pgOptionChange(TObject* sender);
    void pgOptionChanging(TObject* sender, bool& allowChange);
    void tsOption2Show(TObject* sender);

    // ---- IJobForm ---------------------------------------------------------
    TForm& JobForm() override { return *this; }
    void SetJobHostObject(const Variant& host) override { HostObject = host; }
    std::string JobIdentText() const override { return IdentText; }
    std::string JobUserID() const override { return UserID; }
    std::string JobCompanyID() const override { return CompanyID; }
    std::string JobProgramCode() const override { return ProgramCode; }
    std::string JobProgramName() const override { return ProgramName; }
    int JobResultCode() const override { return ResultCode; }
    Variant JobResultData() const override { return ResultData; }

    void WndProc(TMessage& message) override;
    void AfterConstruction() override;

protected:
    // Initialisation steps of LoadParams.
    bool ConfigureSocket();
    bool ConnectServer();
    void LookupProgram();
    void ShowHelp();
    // Posts a close request to the form's own window.
    void PostClose();
    // Repaints the host's window (the form moved or was resized).
    void RepaintHostWindow();
    // Texts converted for the screen once the form's texts are converted.
    Variant ForScreen(const Variant& value) const;
    std::string ForScreen(const std::string& text) const;

private:
    void BuildResource();
    void WireMessages();

    // Date and required-field machinery (BaseGeneChecks.cpp).
    void DateFieldEnter(TObject* sender);
    void DateFieldExit(TObject* sender);
    void RequiredExit(TObject* sender);
    void DateFieldEvent(TObject* sender, const std::string& event);
    void HookDateFields(const std::string& names);
    void UnhookDateFields(const std::string& names);
    void RerouteButtons();
    void RestoreButtons();

    TNotifyEvent onDateFieldEnter_;
    TNotifyEvent onDateFieldExit_;
    TNotifyEvent onRequiredExit_;
};

}  // namespace zb
