#include "util/LibRTTI.h"

#include "platform/core/TypInfo.h"

namespace zb {

namespace {
bool IsOrdinalKind(TypeKind k) {
    return k == TypeKind::Integer || k == TypeKind::Char || k == TypeKind::Enumeration || k == TypeKind::Set ||
           k == TypeKind::Class;
}
}  // namespace

TMethod GetMethodPropByName(const TObject* object, std::string_view name) {
    const PropInfo* p = GetPropInfo(object, name);
    if (!p || p->Kind != TypeKind::Method) return {};
    return GetMethodProp(*object, *p);
}

std::string GetStrPropByName(const TObject* component, std::string_view name) {
    const PropInfo* p = GetPropInfo(component, name);
    if (!p || p->Kind == TypeKind::Method || p->Kind == TypeKind::Class) return {};
    if (p->Kind == TypeKind::String) return GetStrProp(*component, *p);
    return VarToStr(GetPropValue(*component, *p));
}

std::int64_t GetOrdPropByName(const TObject* control, std::string_view name) {
    const PropInfo* p = GetPropInfo(control, name);
    if (!p || !IsOrdinalKind(p->Kind)) return 0;
    return GetOrdProp(*control, *p);
}

void SetStrPropByName(TObject* component, std::string_view name, const std::string& value) {
    const PropInfo* p = GetPropInfo(component, name);
    if (!p) return;
    if (p->Kind == TypeKind::String)
        SetStrProp(*component, *p, value);
    else
        SetPropValue(*component, *p, Variant(value));
}

void SetOrdPropByName(TObject* object, std::string_view name, std::int64_t value) {
    const PropInfo* p = GetPropInfo(object, name);
    if (!p) return;
    SetOrdProp(*object, *p, value);
}

void SetMethodPropByName(TObject* object, std::string_view name, const TMethod& handler) {
    const PropInfo* p = GetPropInfo(object, name);
    if (!p) return;
    SetMethodProp(*object, *p, handler);
}

bool HasPropByName(const TObject* component, std::string_view name) { return GetPropInfo(component, name) != nullptr; }

}  // namespace zb
