// The batch controller: owns one job form of the registered class, passes the
// host's arrays to it, shows and hides it, tells the host about its show, hide
// and destroy, and keeps its outcome after it is gone. Exception-tight where
// the host expects a result code.
#pragma once

#include "forms/framework/JobForm.h"
#include "plugin/DLLBaseCtrller.h"

namespace zb {

class TDLLBTCtrller : public TDLLBaseController {
    ZB_CLASS(TDLLBTCtrller, TDLLBaseController)

public:
    TDLLBTCtrller() = default;
    ~TDLLBTCtrller() override;

    std::string GetFormVersion() override;
    WordBool GetVisible() override;
    void SetVisible(WordBool Value) override;
    std::uint32_t GetHandle() override;
    std::int32_t OpenJob(Variant Params) override;
    std::int32_t SetParams(Variant Params) override;
    std::int32_t SetParam(std::int32_t Code, Variant Value) override;
    Variant RunModal() override;
    void CloseJob() override;
    std::int32_t GetResults(Variant& Values) override;
    bool IsClosed() override;
    void DoShow(TObject* Sender) override;
    void DoHide(TObject* Sender) override;
    void DoDestroy(TObject* Sender) override;

    IJobForm* Form = nullptr;
    TNotifyEvent OldOnShow;
    TNotifyEvent OldOnHide;
    TNotifyEvent OldOnDestroy;

private:
    void HookForm();
    std::int32_t Apply(const Variant& envelope);
};

// The unit's initialisation: makes this the library's controller class.
void RegisterBatchController();

}  // namespace zb
