// Builders for the entries of a class's published-property table. Each takes
// the property's name, the class's getter and (unless read-only) its setter.
#pragma once

#include <cstdint>
#include <string>
#include <type_traits>

#include "platform/core/ClassInfo.h"
#include "platform/core/Object.h"

namespace zb::prop {

namespace detail {
template <class C>
const C& As(const TObject& o) {
    return static_cast<const C&>(o);
}
template <class C>
C& As(TObject& o) {
    return static_cast<C&>(o);
}
template <class T>
std::int64_t ToOrd(const T& v) {
    if constexpr (std::is_pointer_v<T>)
        return static_cast<std::int64_t>(reinterpret_cast<std::intptr_t>(v));
    else
        return static_cast<std::int64_t>(v);
}
template <class C, class R>
void SetOrdGetter(PropInfo& p, R (C::*get)() const) {
    p.GetOrd = [get](const TObject& o) { return ToOrd((As<C>(o).*get)()); };
}
template <class C, class A>
void SetOrdSetter(PropInfo& p, void (C::*set)(A)) {
    using V = std::decay_t<A>;
    p.SetOrd = [set](TObject& o, std::int64_t v) { (As<C>(o).*set)(static_cast<V>(v)); };
}
inline PropInfo Make(std::string name, TypeKind kind, std::string typeName) {
    PropInfo p;
    p.Name = std::move(name);
    p.Kind = kind;
    p.TypeName = std::move(typeName);
    return p;
}
}  // namespace detail

// Integer properties (any integral type); `typeName` as the original names it.
template <class C, class R, class S, class A>
PropInfo Integer(std::string name, R (C::*get)() const, void (S::*set)(A), std::string typeName = "Integer") {
    PropInfo p = detail::Make(std::move(name), TypeKind::Integer, std::move(typeName));
    detail::SetOrdGetter(p, get);
    if (set) detail::SetOrdSetter(p, set);
    return p;
}
template <class C, class R>
PropInfo Integer(std::string name, R (C::*get)() const, std::string typeName = "Integer") {
    PropInfo p = detail::Make(std::move(name), TypeKind::Integer, std::move(typeName));
    detail::SetOrdGetter(p, get);
    return p;
}

template <class C, class S, class A>
PropInfo Char(std::string name, char (C::*get)() const, void (S::*set)(A)) {
    PropInfo p = detail::Make(std::move(name), TypeKind::Char, "Char");
    p.GetOrd = [get](const TObject& o) { return static_cast<std::int64_t>(static_cast<unsigned char>((detail::As<C>(o).*get)())); };
    if (set) p.SetOrd = [set](TObject& o, std::int64_t v) { (detail::As<S>(o).*set)(static_cast<char>(v)); };
    return p;
}

// Enumerations: the getter returns an enum (or bool, or an integer) whose
// values index `names`; `names` must outlive the table (a static).
template <class C, class R, class S, class A>
PropInfo Enum(std::string name, R (C::*get)() const, void (S::*set)(A), const EnumNames& names, std::string typeName) {
    PropInfo p = detail::Make(std::move(name), TypeKind::Enumeration, std::move(typeName));
    p.Names = &names;
    detail::SetOrdGetter(p, get);
    if (set) detail::SetOrdSetter(p, set);
    return p;
}
template <class C, class R>
PropInfo Enum(std::string name, R (C::*get)() const, const EnumNames& names, std::string typeName) {
    PropInfo p = detail::Make(std::move(name), TypeKind::Enumeration, std::move(typeName));
    p.Names = &names;
    detail::SetOrdGetter(p, get);
    return p;
}

// Boolean is the enumeration False/True.
template <class C, class S, class A>
PropInfo Bool(std::string name, bool (C::*get)() const, void (S::*set)(A)) {
    return Enum(std::move(name), get, set, BooleanNames, "Boolean");
}
template <class C>
PropInfo Bool(std::string name, bool (C::*get)() const) {
    return Enum(std::move(name), get, BooleanNames, "Boolean");
}

// Sets: the value is a bit mask, bit i standing for names[i].
template <class C, class R, class S, class A>
PropInfo Set(std::string name, R (C::*get)() const, void (S::*set)(A), const EnumNames& names, std::string typeName) {
    PropInfo p = detail::Make(std::move(name), TypeKind::Set, std::move(typeName));
    p.Names = &names;
    detail::SetOrdGetter(p, get);
    if (set) detail::SetOrdSetter(p, set);
    return p;
}

template <class C, class R, class S, class A>
PropInfo Float(std::string name, R (C::*get)() const, void (S::*set)(A), std::string typeName = "Double") {
    PropInfo p = detail::Make(std::move(name), TypeKind::Float, std::move(typeName));
    p.GetFloat = [get](const TObject& o) { return static_cast<double>((detail::As<C>(o).*get)()); };
    if (set) p.SetFloat = [set](TObject& o, double v) { (detail::As<S>(o).*set)(static_cast<std::decay_t<A>>(v)); };
    return p;
}

// Texts, UTF-8. The getter may return a text or a reference to one.
template <class C, class R, class S, class A>
PropInfo String(std::string name, R (C::*get)() const, void (S::*set)(A), std::string typeName = "string") {
    PropInfo p = detail::Make(std::move(name), TypeKind::String, std::move(typeName));
    p.GetStr = [get](const TObject& o) { return std::string((detail::As<C>(o).*get)()); };
    if (set) p.SetStr = [set](TObject& o, const std::string& v) { (detail::As<S>(o).*set)(v); };
    return p;
}
template <class C, class R>
PropInfo String(std::string name, R (C::*get)() const, std::string typeName = "string") {
    PropInfo p = detail::Make(std::move(name), TypeKind::String, std::move(typeName));
    p.GetStr = [get](const TObject& o) { return std::string((detail::As<C>(o).*get)()); };
    return p;
}

// Object properties (TFont, TStrings, ...): the getter returns the object;
// the setter, where there is one, takes it (most copy it with Assign).
template <class C, class T, class S, class A>
PropInfo Class(std::string name, T* (C::*get)() const, void (S::*set)(A)) {
    PropInfo p = detail::Make(std::move(name), TypeKind::Class, T::StaticClassInfo().Name());
    p.PropClass = &T::StaticClassInfo();
    p.GetObject = [get](const TObject& o) -> TObject* { return (detail::As<C>(o).*get)(); };
    if (set)
        p.SetObject = [set](TObject& o, TObject* v) {
            (detail::As<S>(o).*set)(static_cast<T*>(v));
        };
    return p;
}
template <class C, class T>
PropInfo Class(std::string name, T* (C::*get)() const) {
    PropInfo p = detail::Make(std::move(name), TypeKind::Class, T::StaticClassInfo().Name());
    p.PropClass = &T::StaticClassInfo();
    p.GetObject = [get](const TObject& o) -> TObject* { return (detail::As<C>(o).*get)(); };
    return p;
}

template <class C, class R, class S, class A>
PropInfo VariantProp(std::string name, R (C::*get)() const, void (S::*set)(A)) {
    PropInfo p = detail::Make(std::move(name), TypeKind::Variant, "Variant");
    p.GetVariant = [get](const TObject& o) { return Variant((detail::As<C>(o).*get)()); };
    if (set) p.SetVariant = [set](TObject& o, const Variant& v) { (detail::As<S>(o).*set)(v); };
    return p;
}

// Events are public fields of an event type (TNotifyEvent, ...).
template <class C, class E>
PropInfo Event(std::string name, E C::*field, std::string typeName = "TNotifyEvent") {
    PropInfo p = detail::Make(std::move(name), TypeKind::Method, std::move(typeName));
    p.GetMethod = [field](const TObject& o) { return (detail::As<C>(o).*field).ToMethod(); };
    p.SetMethod = [field](TObject& o, const TMethod& m) { detail::As<C>(o).*field = E::FromMethod(m); };
    return p;
}

}  // namespace zb::prop
