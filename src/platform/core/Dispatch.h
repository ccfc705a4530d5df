// IDispatch: an automation object reached by late-bound calls, the way host
// services and the application server are reached.
#pragma once

#include <memory>
#include <string_view>
#include <vector>

#include "platform/core/Variant.h"

namespace zb {

enum class InvokeKind { Method, PropertyGet, PropertyPut };

class IDispatch : public std::enable_shared_from_this<IDispatch> {
public:
    virtual ~IDispatch() = default;

    // Calls the member `name` (matched without regard to case). A callee that
    // writes back a by-reference argument updates it in `args`. For a
    // PropertyPut the value to store is the last argument.
    // Throws EOleError when the member does not exist or the call fails.
    virtual Variant Invoke(std::string_view name, InvokeKind kind, std::vector<Variant>& args) = 0;

    // Name of the object's class, for messages and diagnostics.
    virtual std::string_view DispatchClassName() const { return "IDispatch"; }
};

}  // namespace zb
