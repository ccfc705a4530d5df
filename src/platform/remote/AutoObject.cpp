// Member table and late-bound dispatch of TAutoObject.
#include "platform/remote/AutoObject.h"

#include "platform/core/Exceptions.h"
#include "platform/core/TextUtils.h"

namespace zb {

TAutoObject::Member& TAutoObject::Add(std::string_view name) {
    if (name.empty()) throw EOleError("An automation member needs a name");
    Member& m = members_[UpperCase(name)];
    m = Member{};
    m.name = std::string(name);
    return m;
}

TAutoObject& TAutoObject::Method(std::string_view name, MethodHandler handler, std::size_t minArgs) {
    Member& m = Add(name);
    m.method = std::move(handler);
    m.minArgs = minArgs;
    return *this;
}

TAutoObject& TAutoObject::Property(std::string_view name, Getter get, Setter set) {
    Member& m = Add(name);
    m.get = std::move(get);
    m.set = std::move(set);
    return *this;
}

TAutoObject& TAutoObject::Value(std::string_view name, Variant initial) {
    Member& m = Add(name);
    m.stored = std::make_shared<Variant>(std::move(initial));
    std::shared_ptr<Variant> cell = m.stored;
    m.get = [cell] { return *cell; };
    m.set = [cell](const Variant& v) { *cell = v; };
    return *this;
}

bool TAutoObject::HasMember(std::string_view name) const { return members_.count(UpperCase(name)) != 0; }

std::vector<std::string> TAutoObject::MemberNames() const {
    std::vector<std::string> names;
    names.reserve(members_.size());
    for (const auto& [key, m] : members_) names.push_back(m.name);
    return names;
}

const TAutoObject::Member& TAutoObject::Find(std::string_view name) const {
    auto it = members_.find(UpperCase(name));
    if (it == members_.end())
        throw EOleError("Method '" + std::string(name) + "' not supported by automation object " + className_);
    return it->second;
}

Variant TAutoObject::Invoke(std::string_view name, InvokeKind kind, std::vector<Variant>& args) {
    const Member& m = Find(name);
    switch (kind) {
    case InvokeKind::PropertyPut:
        if (!m.set) throw EOleError("Property '" + m.name + "' of " + className_ + " is read-only");
        if (args.empty()) throw EOleError("Invalid number of parameters for '" + m.name + "'");
        m.set(args.back());
        return Variant();
    case InvokeKind::PropertyGet:
    case InvokeKind::Method:
        if (m.method) {
            if (args.size() < m.minArgs)
                throw EOleError("Invalid number of parameters for '" + m.name + "': " + std::to_string(args.size()) +
                                " given, " + std::to_string(m.minArgs) + " expected");
            return m.method(args);
        }
        if (m.get) return m.get();
        throw EOleError("Property '" + m.name + "' of " + className_ + " is write-only");
    }
    throw EOleError("Invalid invoke kind");
}

const Variant& OptionalArg(const std::vector<Variant>& args, std::size_t index) {
    static const Variant empty;
    return index < args.size() ? args[index] : empty;
}

}  // namespace zb
