// The job library's side of a job run: every program's server library
// (program code followed by "S", e.g. VTAJ52S.so) exports
//   extern "C" TSvrController* GetSvrController();
// The caller runs the job with Run, asks LastMessage afterwards whatever
// happened, and deletes the controller; the library stays loaded until then.
#pragma once

#include <string>

#include "platform/core/Object.h"
#include "platform/core/Variant.h"

namespace zb {

class TSvrController : public TObject {
public:
    // The first two slots are the class library's life-cycle hooks.
    virtual void Initialize() {}
    virtual void Finalize() {}
    // The message of the last run, a Unicode text; empty after a clean run.
    virtual std::string LastMessage() const = 0;
    // Runs the job with its parameter array: for batch programs
    // [Answer, CompanyID, UserID, Values, CompanyDB, NumberText, ProductID],
    // for the others [Answer, Extra, CompanyID, UserID, CompanyDB, Values,
    // Count, ProgramKind, NumberText, ProductID, CaptionsCollected, UI code page].
    // Throws when the job fails.
    virtual void Run(const Variant& params) = 0;
};

using TGetSvrController = TSvrController*();
inline constexpr const char* kGetSvrControllerName = "GetSvrController";

}  // namespace zb
