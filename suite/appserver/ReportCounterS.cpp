// ReportCounterS.so: the application server object in the client's own
// process, created by its ProgID. The database is the one the server
// configuration names (see ServerConnectionString).
#include "ReportCounter.h"
#include "platform/core/TextUtils.h"
#include "platform/remote/ComObj.h"

ZB_AUTOMATION_FACTORY(progId) {
    if (!zb::SameText(progId, zb::suite::kReportCounterProgID)) return nullptr;
    return zb::suite::NewReportCounter(zb::suite::ServerConnectionString());
}
