// What the plug-in's controller needs of a job form, and nothing more: the
// general job form provides it and every job form inherits it, so the
// controller never depends on a particular job.
#pragma once

#include <string>

#include "platform/core/ClassRef.h"
#include "platform/core/Variant.h"
#include "platform/ui/Forms.h"

namespace zb {

class IJobForm {
public:
    // The form itself: visibility, window state, handle, modal showing,
    // freeing, its OnShow, OnHide and OnDestroy.
    virtual TForm& JobForm() = 0;

    // The library's full file name; the form derives its program code from it.
    virtual void SetModuleFileName(const std::string& fileName) = 0;
    virtual void SetJobHostObject(const Variant& host) = 0;
    // Initialises the form from the login array; true when it is ready.
    virtual bool LoadParams(const Variant& login) = 0;
    // Applies a run-parameter block [run mode, [use-names flag, values]]; may throw.
    virtual void ApplyRequest(const Variant& envelope) = 0;

    virtual std::string JobIdentText() const = 0;
    virtual std::string JobUserID() const = 0;
    virtual std::string JobCompanyID() const = 0;
    virtual std::string JobProgramCode() const = 0;
    virtual std::string JobProgramName() const = 0;
    virtual int JobResultCode() const = 0;
    virtual Variant JobResultData() const = 0;

protected:
    ~IJobForm() = default;  // forms are freed as forms, never through this
};

// The job-form class a library registers; forms are created without owner.
using TJobFormClass = TClassRef<IJobForm, TComponent*>;

// The reference to job-form class T, created the way forms are (OnCreate runs
// once the whole form exists).
template <class T>
TJobFormClass JobFormClassOf() {
    return TJobFormClass::Make(&T::StaticClassInfo(),
                               [](TComponent* owner) -> IJobForm* { return TCustomForm::Create<T>(owner); });
}

}  // namespace zb
