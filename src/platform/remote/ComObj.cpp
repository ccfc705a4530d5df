// ProgID lookup in the registry file and creation through the library's factory.
#include "platform/remote/ComObj.h"

#include <memory>

#include "platform/core/Exceptions.h"
#include "platform/core/TextUtils.h"
#include "platform/os/Library.h"
#include "platform/os/Registry.h"

namespace zb {

namespace {

struct Registration {
    std::string library;
    std::string factory;
};

Registration Lookup(std::string_view progId) {
    Registration r;
    // A ProgID with a "\" would open some other key of the registry.
    if (progId.empty() || progId.find('\\') != std::string_view::npos) return r;
    TRegistry reg(HKEY_CLASSES_ROOT);
    if (!reg.OpenKeyReadOnly("\\" + std::string(progId))) return r;
    r.library = Trim(reg.ReadString("Library"));
    r.factory = Trim(reg.ReadString("Factory"));
    if (r.factory.empty()) r.factory = kAutomationFactoryName;
    return r;
}

}  // namespace

std::string ProgIDLibrary(std::string_view progId) { return Lookup(progId).library; }

DispatchPtr CreateAutomationObject(std::string_view progId) {
    const Registration r = Lookup(progId);
    if (r.library.empty()) throw EOleError("Invalid class string: " + std::string(progId));
    auto library = std::make_shared<TLibrary>(r.library);
    if (!library->Loaded())
        throw EOleError("Cannot load the library of " + std::string(progId) + ": " + LastLibraryError());
    auto* factory = library->Proc<TAutomationFactory>(r.factory);
    if (!factory)
        throw EOleError("The library of " + std::string(progId) + " has no entry " + r.factory);
    const std::string id(progId);
    IDispatch* raw = nullptr;
    try {
        raw = factory(id.c_str());
    } catch (const std::exception& e) {
        throw EOleError("Creating " + id + " failed: " + e.what());
    }
    if (!raw) throw EOleError("Class not registered: " + id);
    // The deleter holds the library, so its code stays mapped until the
    // object's destructor has run.
    return DispatchPtr(raw, [library](IDispatch* obj) { delete obj; });
}

DispatchPtr KeepOwnerAlive(IDispatch* raw, DispatchPtr owner) {
    return DispatchPtr(raw, [owner = std::move(owner)](IDispatch* obj) mutable {
        delete obj;
        owner.reset();
    });
}

Variant CreateOleObject(std::string_view progId) { return Variant(CreateAutomationObject(progId)); }

}  // namespace zb
