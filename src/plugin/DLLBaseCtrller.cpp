#include "plugin/DLLBaseCtrller.h"

#include "platform/core/Published.h"

namespace zb {

ZB_PUBLISHED(TDLLBaseController){};

const ClassInfo& TDLLBaseController::ClassType() const { return StaticClassInfo(); }

TDLLBaseController::~TDLLBaseController() = default;

void TDLLBaseController::DoCreated(TObject* Sender) { Notify(DLLN_CREATED, Sender); }
void TDLLBaseController::DoShow(TObject* Sender) { Notify(DLLN_SHOW, Sender); }
void TDLLBaseController::DoHide(TObject* Sender) { Notify(DLLN_HIDE, Sender); }
void TDLLBaseController::DoDestroy(TObject* Sender) { Notify(DLLN_DESTROY, Sender); }
void TDLLBaseController::DoExtra(TObject* Sender) { Notify(DLLN_EXTRA, Sender); }

void TDLLBaseController::Notify(std::int32_t Code, TObject*) {
    if (OnNotify.Assigned()) OnNotify(Code, this);
}

void TDLLBaseController::Reserved() {}

}  // namespace zb
