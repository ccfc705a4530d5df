// TAutoObject: an automation object whose members are a table of names and
// handlers, the way C++ classes of the suite (host, application server,
// service objects) publish themselves to late-bound callers.
//
//   auto obj = std::make_shared<TAutoObject>("TdmReportCounter");
//   obj->Method("Request", [this](Args& a) { return Request(a[0]); }, 1)
//      .Property("SQLType", [this] { return Variant(sqlType_); })
//      .Value("ProductID", 3);
//
// Names are matched without regard to case. A method handler gets the
// argument list itself: what it stores into an element is written back to the
// caller (by-reference arguments), over a socket too. As with automation
// objects in general, a property get may name a method and a method call may
// name a readable property, so `AppServer.SQLType` works either way.
#pragma once

#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "platform/core/Dispatch.h"
#include "platform/core/Variant.h"

namespace zb {

class TAutoObject : public IDispatch {
public:
    using Args = std::vector<Variant>;
    using MethodHandler = std::function<Variant(Args& args)>;
    using Getter = std::function<Variant()>;
    using Setter = std::function<void(const Variant& value)>;

    explicit TAutoObject(std::string className = "TAutoObject") : className_(std::move(className)) {}

    // `minArgs`: calls with fewer arguments fail before the handler runs.
    TAutoObject& Method(std::string_view name, MethodHandler handler, std::size_t minArgs = 0);
    // A property without a setter is read-only.
    TAutoObject& Property(std::string_view name, Getter get, Setter set = {});
    // A read-write property that keeps its value in the object.
    TAutoObject& Value(std::string_view name, Variant initial = Variant());

    bool HasMember(std::string_view name) const;
    // The published names as they were registered, in alphabetical order.
    std::vector<std::string> MemberNames() const;

    Variant Invoke(std::string_view name, InvokeKind kind, std::vector<Variant>& args) override;
    std::string_view DispatchClassName() const override { return className_; }

private:
    struct Member {
        std::string name;
        MethodHandler method;
        std::size_t minArgs = 0;
        Getter get;
        Setter set;
        std::shared_ptr<Variant> stored;  // for Value()
    };
    Member& Add(std::string_view name);
    const Member& Find(std::string_view name) const;

    std::string className_;
    std::map<std::string, Member> members_;  // key: the name in upper case
};

// The argument `index` of a call, or Empty when the caller passed fewer.
const Variant& OptionalArg(const std::vector<Variant>& args, std::size_t index);

}  // namespace zb
