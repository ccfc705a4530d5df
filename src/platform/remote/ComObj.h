// Creating automation objects by ProgID ("ReportCounterS.dmReportCounter")
// from libraries registered in the registry file, in this process.
//
// Registration: a key named by the ProgID under HKEY_CLASSES_ROOT,
//   [HKEY_CLASSES_ROOT\ReportCounterS.dmReportCounter]
//   Library=ReportCounterS.so          ; a path, or a name LoadLibrary finds ("X.dll" works too)
//   Factory=CreateAutomationObject     ; optional, this is the default
// The library exports the factory as a C function (TAutomationFactory): it
// gets the ProgID, so one library may serve several, and returns a new object
// the caller owns, or null for a ProgID it does not know. The library stays
// loaded while any object it made is alive.
#pragma once

#include <string>
#include <string_view>

#include "platform/core/Dispatch.h"
#include "platform/core/Variant.h"

namespace zb {

using TAutomationFactory = IDispatch*(const char* progId);
inline constexpr const char* kAutomationFactoryName = "CreateAutomationObject";

// Throws EOleError ("Invalid class string" for an unregistered ProgID, the
// loader's reason for a library that cannot be loaded, ...).
Variant CreateOleObject(std::string_view progId);
DispatchPtr CreateAutomationObject(std::string_view progId);

// For an object a library hands out besides the one its factory made (a
// service object of that object, say): owned by the result, which keeps
// `owner` (and so its library) alive until `raw` has been destroyed. The
// release happens here, in the platform, because code of the library itself
// cannot drop the last hold on its own library.
DispatchPtr KeepOwnerAlive(IDispatch* raw, DispatchPtr owner);

// The registered library of a ProgID, empty when it is not registered.
std::string ProgIDLibrary(std::string_view progId);

}  // namespace zb

// Declares the factory of a library built with the platform:
//   ZB_AUTOMATION_FACTORY(progId) { if (SameText(progId, "X.Y")) return new TMyObject; return nullptr; }
#define ZB_AUTOMATION_FACTORY(param) \
    extern "C" __attribute__((visibility("default"))) zb::IDispatch* CreateAutomationObject(const char* param)
