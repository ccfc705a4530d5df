#include "platform/core/TypInfo.h"

#include <charconv>
#include <cmath>

#include "platform/core/TextUtils.h"

namespace zb {

namespace {

[[noreturn]] void Fail(const PropInfo& prop, const std::string& what) {
    throw EPropertyError("Property " + prop.Name + ": " + what);
}

void RequireKind(const PropInfo& prop, bool ok, const char* access) {
    if (!ok) Fail(prop, std::string("is of kind ") + TypeKindName(prop.Kind) + ", not " + access);
}

bool IsOrdinal(TypeKind k) {
    return k == TypeKind::Integer || k == TypeKind::Char || k == TypeKind::Enumeration || k == TypeKind::Set;
}

template <class F>
void RequireSetter(const PropInfo& prop, const F& setter) {
    if (!setter) Fail(prop, "is read-only");
}

std::int64_t SetMaskOf(const PropInfo& prop) {
    const size_t n = prop.Names ? prop.Names->size() : 0;
    return n >= 63 ? INT64_MAX : (std::int64_t{1} << n) - 1;
}

void CheckOrdinal(const PropInfo& prop, std::int64_t value) {
    switch (prop.Kind) {
        case TypeKind::Integer:
            if (value < prop.MinValue || value > prop.MaxValue)
                Fail(prop, "value " + std::to_string(value) + " is out of range");
            break;
        case TypeKind::Char:
            if (value < 0 || value > 255) Fail(prop, "value " + std::to_string(value) + " is no character");
            break;
        case TypeKind::Enumeration:
            if (!prop.Names || value < 0 || value >= static_cast<std::int64_t>(prop.Names->size()))
                Fail(prop, "value " + std::to_string(value) + " is not a " + prop.TypeName);
            break;
        case TypeKind::Set:
            if (value & ~SetMaskOf(prop)) Fail(prop, "value " + std::to_string(value) + " is not a " + prop.TypeName);
            break;
        default: break;
    }
}

bool ParseInt(std::string_view text, std::int64_t& out) {
    std::string t = Trim(text);
    if (t.empty()) return false;
    const char* b = t.data();
    if (*b == '+') ++b;
    auto [p, ec] = std::from_chars(b, t.data() + t.size(), out);
    return ec == std::errc() && p == t.data() + t.size();
}

}  // namespace

const PropInfo* GetPropInfo(const TObject* object, std::string_view name) {
    return object ? object->ClassType().FindProperty(name) : nullptr;
}

bool IsPublishedProp(const TObject* object, std::string_view name) { return GetPropInfo(object, name) != nullptr; }

std::int64_t GetOrdProp(const TObject& object, const PropInfo& prop) {
    if (prop.Kind == TypeKind::Class)
        return static_cast<std::int64_t>(reinterpret_cast<std::intptr_t>(GetObjectProp(object, prop)));
    RequireKind(prop, IsOrdinal(prop.Kind), "ordinal");
    return prop.GetOrd(object);
}

void SetOrdProp(TObject& object, const PropInfo& prop, std::int64_t value) {
    if (prop.Kind == TypeKind::Class) {
        // Only "no object" can be written by number: an address is not trusted.
        if (value != 0) Fail(prop, "an object cannot be set from a number");
        SetObjectProp(object, prop, nullptr);
        return;
    }
    RequireKind(prop, IsOrdinal(prop.Kind), "ordinal");
    RequireSetter(prop, prop.SetOrd);
    CheckOrdinal(prop, value);
    prop.SetOrd(object, value);
}

double GetFloatProp(const TObject& object, const PropInfo& prop) {
    RequireKind(prop, prop.Kind == TypeKind::Float, "float");
    return prop.GetFloat(object);
}

void SetFloatProp(TObject& object, const PropInfo& prop, double value) {
    RequireKind(prop, prop.Kind == TypeKind::Float, "float");
    RequireSetter(prop, prop.SetFloat);
    prop.SetFloat(object, value);
}

std::string GetStrProp(const TObject& object, const PropInfo& prop) {
    RequireKind(prop, prop.Kind == TypeKind::String, "string");
    return prop.GetStr(object);
}

void SetStrProp(TObject& object, const PropInfo& prop, const std::string& value) {
    RequireKind(prop, prop.Kind == TypeKind::String, "string");
    RequireSetter(prop, prop.SetStr);
    prop.SetStr(object, value);
}

TObject* GetObjectProp(const TObject& object, const PropInfo& prop) {
    RequireKind(prop, prop.Kind == TypeKind::Class, "class");
    return prop.GetObject(object);
}

void SetObjectProp(TObject& object, const PropInfo& prop, TObject* value) {
    RequireKind(prop, prop.Kind == TypeKind::Class, "class");
    RequireSetter(prop, prop.SetObject);
    if (value && prop.PropClass && !value->InheritsFrom(*prop.PropClass))
        Fail(prop, "cannot hold a " + value->ClassName());
    prop.SetObject(object, value);
}

TMethod GetMethodProp(const TObject& object, const PropInfo& prop) {
    RequireKind(prop, prop.Kind == TypeKind::Method, "method");
    return prop.GetMethod(object);
}

void SetMethodProp(TObject& object, const PropInfo& prop, const TMethod& value) {
    RequireKind(prop, prop.Kind == TypeKind::Method, "method");
    RequireSetter(prop, prop.SetMethod);
    prop.SetMethod(object, value);
}

std::string GetEnumName(const PropInfo& prop, std::int64_t value) {
    if (!prop.Names || value < 0 || value >= static_cast<std::int64_t>(prop.Names->size())) return {};
    return (*prop.Names)[static_cast<size_t>(value)];
}

int GetEnumValue(const PropInfo& prop, std::string_view name) {
    if (!prop.Names) return -1;
    std::string t = Trim(name);
    for (size_t i = 0; i < prop.Names->size(); ++i)
        if (SameText((*prop.Names)[i], t)) return static_cast<int>(i);
    return -1;
}

std::string SetToString(const PropInfo& prop, std::int64_t value, bool brackets) {
    std::string out;
    if (prop.Names)
        for (size_t i = 0; i < prop.Names->size() && i < 63; ++i)
            if (value & (std::int64_t{1} << i)) {
                if (!out.empty()) out += ',';
                out += (*prop.Names)[i];
            }
    return brackets ? "[" + out + "]" : out;
}

std::int64_t StringToSet(const PropInfo& prop, std::string_view text) {
    std::string t = Trim(text);
    if (!t.empty() && t.front() == '[') t.erase(0, 1);
    if (!t.empty() && t.back() == ']') t.pop_back();
    std::int64_t mask = 0;
    size_t start = 0;
    while (start <= t.size()) {
        size_t comma = t.find(',', start);
        std::string name = Trim(std::string_view(t).substr(start, comma == std::string::npos ? std::string::npos : comma - start));
        if (!name.empty()) {
            int v = GetEnumValue(prop, name);
            if (v < 0 || v >= 63) Fail(prop, "'" + name + "' is not a value of " + prop.TypeName);
            mask |= std::int64_t{1} << v;
        }
        if (comma == std::string::npos) break;
        start = comma + 1;
    }
    return mask;
}

Variant GetPropValue(const TObject& object, const PropInfo& prop) {
    switch (prop.Kind) {
        case TypeKind::Integer: return Variant(prop.GetOrd(object));
        case TypeKind::Char: return Variant(std::string(1, static_cast<char>(prop.GetOrd(object))));
        case TypeKind::Enumeration: {
            std::int64_t v = prop.GetOrd(object);
            if (prop.Names == &BooleanNames) return Variant(v != 0);
            return Variant(GetEnumName(prop, v));
        }
        case TypeKind::Set: return Variant(SetToString(prop, prop.GetOrd(object)));
        case TypeKind::Float: {
            double d = prop.GetFloat(object);
            return prop.TypeName == "TDateTime" ? Variant::Date(d) : Variant(d);
        }
        case TypeKind::String: return Variant(prop.GetStr(object));
        case TypeKind::Class: return Variant(GetOrdProp(object, prop));
        case TypeKind::Variant: return prop.GetVariant(object);
        case TypeKind::Method: break;
    }
    Fail(prop, "an event has no value");
}

namespace {

std::int64_t OrdinalFromVariant(const PropInfo& prop, const Variant& value) {
    // True is -1 as a number; a Boolean property takes any true value as True.
    if (prop.Names == &BooleanNames && !value.IsText()) return value.ToBool() ? 1 : 0;
    if (value.Type() == VarType::Boolean) return value.ToBool() ? 1 : 0;
    if (value.IsText()) {
        const std::string& text = value.Text();
        std::int64_t n = 0;
        switch (prop.Kind) {
            case TypeKind::Enumeration: {
                int v = GetEnumValue(prop, text);
                if (v >= 0) return v;
                if (ParseInt(text, n)) return n;
                Fail(prop, "'" + text + "' is not a value of " + prop.TypeName);
            }
            case TypeKind::Set:
                if (ParseInt(text, n)) return n;
                return StringToSet(prop, text);
            case TypeKind::Char:
                if (text.size() == 1) return static_cast<unsigned char>(text[0]);
                Fail(prop, "'" + text + "' is not one character");
            default: break;
        }
    }
    double d = value.ToFloat();  // Boolean, numbers and numeric texts; throws for the rest
    if (!std::isfinite(d) || d != std::floor(d) || std::fabs(d) > 9.2e18) Fail(prop, "value is not a whole number");
    return static_cast<std::int64_t>(d);
}

}  // namespace

void SetPropValue(TObject& object, const PropInfo& prop, const Variant& value) {
    switch (prop.Kind) {
        case TypeKind::Integer:
        case TypeKind::Char:
        case TypeKind::Enumeration:
        case TypeKind::Set: SetOrdProp(object, prop, OrdinalFromVariant(prop, value)); return;
        case TypeKind::Float:
            SetFloatProp(object, prop, value.Type() == VarType::DateTime ? value.ToDate() : value.ToFloat());
            return;
        case TypeKind::String: SetStrProp(object, prop, value.ToString()); return;
        case TypeKind::Class:
            // Objects are not values: only "no object" can be written this way.
            if (!value.IsEmpty() && !value.IsNull()) Fail(prop, "an object cannot be set from a value");
            SetObjectProp(object, prop, nullptr);
            return;
        case TypeKind::Variant:
            RequireSetter(prop, prop.SetVariant);
            prop.SetVariant(object, value);
            return;
        case TypeKind::Method: break;
    }
    Fail(prop, "an event cannot be set from a value");
}

Variant GetPropValue(const TObject& object, std::string_view name) {
    const PropInfo* p = GetPropInfo(&object, name);
    if (!p) throw EPropertyError("Property " + std::string(name) + " does not exist in " + object.ClassName());
    return GetPropValue(object, *p);
}

void SetPropValue(TObject& object, std::string_view name, const Variant& value) {
    const PropInfo* p = GetPropInfo(&object, name);
    if (!p) throw EPropertyError("Property " + std::string(name) + " does not exist in " + object.ClassName());
    SetPropValue(object, *p, value);
}

}  // namespace zb
