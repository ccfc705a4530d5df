// PilvoWorkCenter.so: the client shell's automation object by ProgID, for a
// program running the job framework without the shell.
#include "ReportCounter.h"
#include "WorkCenter.h"
#include "platform/core/TextUtils.h"
#include "platform/remote/ComObj.h"

ZB_AUTOMATION_FACTORY(progId) {
    if (!zb::SameText(progId, zb::suite::kWorkCenterProgID)) return nullptr;
    return zb::suite::NewWorkCenter(zb::suite::ServerConnectionString());
}
