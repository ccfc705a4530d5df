// The controller a host drives a job through. The host and the plug-in are
// built against this one declaration: the host calls the virtual operations
// by their place and reads and writes the four fields directly, so the order
// of both is fixed.
#pragma once

#include <cstdint>
#include <string>

#include "platform/core/ClassRef.h"
#include "platform/core/Events.h"
#include "platform/core/Object.h"
#include "platform/core/Variant.h"

namespace zb {

// Notifications sent through OnNotify; they step by 16 from 256.
inline constexpr std::int32_t DLLN_CREATED = 0x100;  // the job form has just been created
inline constexpr std::int32_t DLLN_SHOW = 0x110;     // the job form is being shown
inline constexpr std::int32_t DLLN_HIDE = 0x120;     // the job form is being hidden
inline constexpr std::int32_t DLLN_DESTROY = 0x130;  // the job form is being destroyed; the outcome is filled
inline constexpr std::int32_t DLLN_EXTRA = 0x140;    // sent only when the host calls DoExtra itself

// WordBool as it crosses to the host.
using WordBool = std::int16_t;
inline constexpr WordBool WordTrue = -1;
inline constexpr WordBool WordFalse = 0;

// The host's callback: any callable taking the code and the sender.
using TDLLNotifyEvent = TEvent<void(std::int32_t Code, TObject* Sender)>;

class TDLLBaseController : public TObject {
public:
    // Declared by hand rather than with ZB_CLASS: a host compiles this header
    // without the plug-in's code, so nothing here may be inline that names
    // the class info; the host reaches it only through the virtual table.
    using inherited = TObject;
    static const ClassInfo& StaticClassInfo();
    const ClassInfo& ClassType() const override;
    static const ClassInfo::PropTable zbPublished_;

    // A new controller has every field empty: no host object, ResultCode 0,
    // ResultData unassigned, OnNotify unassigned.
    TDLLBaseController() = default;
    ~TDLLBaseController() override;

    // Slots 0 to 10: what every concrete controller implements.
    virtual std::string GetFormVersion() = 0;  // wide text
    virtual WordBool GetVisible() = 0;
    virtual void SetVisible(WordBool Value) = 0;
    virtual std::uint32_t GetHandle() = 0;
    virtual std::int32_t OpenJob(Variant Params) = 0;
    virtual std::int32_t SetParams(Variant Params) = 0;
    virtual std::int32_t SetParam(std::int32_t Code, Variant Value) = 0;
    virtual Variant RunModal() = 0;
    virtual void CloseJob() = 0;
    virtual std::int32_t GetResults(Variant& Values) = 0;
    virtual bool IsClosed() = 0;

    // Slots 11 to 17. 11 to 15 fit a form's notify events; each sends its code.
    virtual void DoCreated(TObject* Sender);
    virtual void DoShow(TObject* Sender);
    virtual void DoHide(TObject* Sender);
    virtual void DoDestroy(TObject* Sender);
    virtual void DoExtra(TObject* Sender);
    // Calls OnNotify with the code and this controller as sender (Sender is
    // not passed on); an unassigned OnNotify drops the notification. The
    // host's exceptions pass through.
    virtual void Notify(std::int32_t Code, TObject* Sender);
    virtual void Reserved();

    Variant HostObject;           // the host's automation object, written by the host
    std::int32_t ResultCode = 0;  // 0 nothing submitted, 1 submitted, 2 cancelled
    Variant ResultData;           // the server's answer to the submission
    TDLLNotifyEvent OnNotify;     // written by the host
};

using TDLLControllerClass = TClassRef<TDLLBaseController>;

}  // namespace zb

// The plug-in's only export: a new controller of the registered class, owned
// by the caller and destroyed through its virtual destructor. Throws
// zb::Exception when no controller class is registered.
extern "C" zb::TDLLBaseController* GetController();
using GetControllerFunc = zb::TDLLBaseController* (*)();
