// The exception classes of the class library: the general exception with a
// message, the silent abort, and the named failures of each area.
#pragma once

#include <stdexcept>
#include <string>

namespace zb {

// The general exception; its message is what a user or a log is shown.
class Exception : public std::runtime_error {
public:
    explicit Exception(const std::string& message) : std::runtime_error(message) {}
    std::string Message() const { return what(); }
};

// Ends the current operation without telling anyone; handlers that report
// errors let it pass silently.
class EAbort : public Exception {
public:
    EAbort() : Exception("Operation aborted") {}
};

// Raises the silent abort.
[[noreturn]] inline void Abort() { throw EAbort(); }

#define ZB_DECLARE_EXCEPTION(Name, Base)                                   \
    class Name : public Base {                                            \
    public:                                                               \
        explicit Name(const std::string& message) : Base(message) {}      \
    }

ZB_DECLARE_EXCEPTION(EConvertError, Exception);      // text that is not a number or date
ZB_DECLARE_EXCEPTION(EVariantError, Exception);      // a Variant that cannot be converted or indexed
ZB_DECLARE_EXCEPTION(EOleError, Exception);          // an automation call that failed
ZB_DECLARE_EXCEPTION(EAbstractError, Exception);     // an abstract operation called
ZB_DECLARE_EXCEPTION(EPropertyError, Exception);     // a published property that cannot take a value
ZB_DECLARE_EXCEPTION(EComponentError, Exception);    // duplicate names and other ownership faults
ZB_DECLARE_EXCEPTION(EStringListError, Exception);   // index out of range, duplicates refused
ZB_DECLARE_EXCEPTION(EOSError, Exception);           // an operating-system call that failed
ZB_DECLARE_EXCEPTION(EInvalidOperation, Exception);  // an operation the control's state refuses

}  // namespace zb
