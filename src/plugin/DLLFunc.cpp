// The export the host looks for.
#include "platform/core/Exceptions.h"
#include "plugin/DLLRegistration.h"

extern "C" __attribute__((visibility("default"))) zb::TDLLBaseController* GetController() {
    const zb::TDLLControllerClass& cls = zb::DLLControllerClass();
    if (!cls) throw zb::Exception("ZEB DLL Internal Error :\rNot Assign \"DLLControllerClass\" varible");
    return cls.Create();
}
