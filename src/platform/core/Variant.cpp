// Variant values: conversions, comparison, copy-on-write arrays and
// late-bound calls, with the rules of the automation variant they stand for.
#include "platform/core/Variant.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>

#include "platform/core/DateTime.h"
#include "platform/core/Dispatch.h"
#include "platform/core/Exceptions.h"

namespace zb {

namespace {

[[noreturn]] void ConvertError(VarType from, VarType to) {
    throw EVariantError(std::string("Could not convert variant of type (") + VarTypeName(from) +
                        ") into type (" + VarTypeName(to) + ")");
}

[[noreturn]] void NotAnArray() { throw EVariantError("Variant is not an array"); }

bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\v'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

std::string_view Trim(std::string_view s) {
    while (!s.empty() && IsSpace(s.front())) s.remove_prefix(1);
    while (!s.empty() && IsSpace(s.back())) s.remove_suffix(1);
    return s;
}

bool EqualsNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        char x = a[i], y = b[i];
        if (x >= 'A' && x <= 'Z') x = static_cast<char>(x - 'A' + 'a');
        if (y >= 'A' && y <= 'Z') y = static_cast<char>(y - 'A' + 'a');
        if (x != y) return false;
    }
    return true;
}

// A number read from text: integral texts keep every digit of an int64.
struct TextNumber {
    bool isInt = false;
    std::int64_t i = 0;
    double d = 0;
    double AsDouble() const { return isInt ? static_cast<double>(i) : d; }
};

// Accepts [sign] digits [. digits] [e [sign] digits] (digits on at least one
// side of the point) with blanks around; no hex, no "inf" or "nan".
bool ParseTextNumber(std::string_view text, TextNumber& out) {
    std::string_view s = Trim(text);
    if (s.empty()) return false;
    std::size_t p = 0;
    if (s[p] == '+' || s[p] == '-') ++p;
    const std::size_t intStart = p;
    while (p < s.size() && IsDigit(s[p])) ++p;
    std::size_t digits = p - intStart;
    bool integral = true;
    if (p < s.size() && s[p] == '.') {
        integral = false;
        ++p;
        const std::size_t fracStart = p;
        while (p < s.size() && IsDigit(s[p])) ++p;
        digits += p - fracStart;
    }
    if (digits == 0) return false;
    if (p < s.size() && (s[p] == 'e' || s[p] == 'E')) {
        integral = false;
        ++p;
        if (p < s.size() && (s[p] == '+' || s[p] == '-')) ++p;
        const std::size_t expStart = p;
        while (p < s.size() && IsDigit(s[p])) ++p;
        if (p == expStart) return false;
    }
    if (p != s.size()) return false;
    // from_chars takes no leading '+'.
    std::string_view body = s[0] == '+' ? s.substr(1) : s;
    if (integral) {
        auto [end, ec] = std::from_chars(body.data(), body.data() + body.size(), out.i);
        if (ec == std::errc() && end == body.data() + body.size()) {
            out.isInt = true;
            return true;
        }
    }
    auto [end, ec] = std::from_chars(body.data(), body.data() + body.size(), out.d);
    if (ec != std::errc() || end != body.data() + body.size() || !std::isfinite(out.d)) return false;
    out.isInt = false;
    return true;
}

// Round half to even, the rounding of the automation variant's conversions.
bool RoundToInt(double d, std::int64_t& out) {
    if (!std::isfinite(d)) return false;
    // A tie goes to the even neighbour: 2.5 -> 2, 3.5 -> 4, -2.5 -> -2.
    const double r = d - std::floor(d) == 0.5 ? 2 * std::round(d / 2) : std::round(d);
    if (r < -9223372036854775808.0 || r >= 9223372036854775808.0) return false;
    out = static_cast<std::int64_t>(r);
    return true;
}

// Text of a float in the shortest form that reads back with up to 15
// significant digits: "1.5", "2", "0.1", "1E20", "1.5E-7".
std::string FloatText(double d) {
    if (std::isnan(d)) return "NAN";
    if (std::isinf(d)) return d < 0 ? "-INF" : "INF";
    if (d == 0) return "0";
    char buf[64];
    int precision = 1;
    for (; precision < 15; ++precision) {
        std::snprintf(buf, sizeof buf, "%.*e", precision - 1, d);
        if (std::strtod(buf, nullptr) == d) break;
    }
    std::snprintf(buf, sizeof buf, "%.*e", precision - 1, d);
    // buf: [-]d.ddddde[+-]xx
    std::string s(buf);
    const std::size_t ePos = s.find('e');
    const int exponent = std::atoi(s.c_str() + ePos + 1);
    std::string mantissa = s.substr(0, ePos);
    const bool negative = mantissa[0] == '-';
    if (negative) mantissa.erase(0, 1);
    std::string digits;
    for (char c : mantissa)
        if (c != '.') digits += c;
    while (digits.size() > 1 && digits.back() == '0') digits.pop_back();
    std::string out = negative ? "-" : "";
    if (exponent >= 15 || exponent < -5) {
        out += digits[0];
        if (digits.size() > 1) out += "." + digits.substr(1);
        out += "E" + std::to_string(exponent);
    } else if (exponent < 0) {
        out += "0." + std::string(static_cast<std::size_t>(-exponent - 1), '0') + digits;
    } else if (static_cast<int>(digits.size()) <= exponent + 1) {
        out += digits + std::string(static_cast<std::size_t>(exponent + 1) - digits.size(), '0');
    } else {
        out += digits.substr(0, static_cast<std::size_t>(exponent + 1)) + "." +
               digits.substr(static_cast<std::size_t>(exponent + 1));
    }
    return out;
}

std::string DateText(double days) {
    DateParts p;
    try {
        p = DecodeDateTime(days);
    } catch (const EConvertError&) {  // a day count outside the calendar has no text
        ConvertError(VarType::DateTime, VarType::String);
    }
    const bool hasTime = p.hour || p.minute || p.second || p.millisecond;
    return FormatDateTime(hasTime ? "yyyy-mm-dd hh:nn:ss" : "yyyy-mm-dd", days);
}

bool IsNumberType(VarType t) {
    return t == VarType::Boolean || t == VarType::Integer || t == VarType::Float || t == VarType::DateTime;
}

// Three-way comparison of an int64 and a double without losing digits.
int CompareIntDouble(std::int64_t i, double d) {
    if (std::isnan(d)) return -1;  // NaN sorts last
    if (d >= 9223372036854775808.0) return -1;
    if (d < -9223372036854775808.0) return 1;
    const double whole = std::floor(d);
    const auto wi = static_cast<std::int64_t>(whole);
    if (i != wi) return i < wi ? -1 : 1;
    return whole < d ? -1 : 0;
}

int CompareDouble(double a, double b) {
    if (std::isnan(a) || std::isnan(b)) return std::isnan(a) == std::isnan(b) ? 0 : (std::isnan(a) ? 1 : -1);
    return a < b ? -1 : (a > b ? 1 : 0);
}

// A numeric value of any number type, or of a numeric text.
struct Number {
    bool isInt = false;
    std::int64_t i = 0;
    double d = 0;
};

Number NumberOf(VarType t, std::int64_t i, double d) {
    Number n;
    if (t == VarType::Boolean || t == VarType::Integer) {
        n.isInt = true;
        n.i = t == VarType::Boolean ? (i ? -1 : 0) : i;
    } else {
        n.d = d;
    }
    return n;
}

int CompareNumbers(const Number& a, const Number& b) {
    if (a.isInt && b.isInt) return a.i < b.i ? -1 : (a.i > b.i ? 1 : 0);
    if (a.isInt) return CompareIntDouble(a.i, b.d);
    if (b.isInt) return -CompareIntDouble(b.i, a.d);
    return CompareDouble(a.d, b.d);
}

// NaN equals nothing, not even itself.
bool SameNumber(const Number& a, const Number& b) {
    if ((!a.isInt && std::isnan(a.d)) || (!b.isInt && std::isnan(b.d))) return false;
    return CompareNumbers(a, b) == 0;
}

bool TextAsNumber(const std::string& s, Number& n) {
    TextNumber t;
    if (!ParseTextNumber(s, t)) return false;
    n.isInt = t.isInt;
    n.i = t.i;
    n.d = t.d;
    return true;
}

}  // namespace

const char* VarTypeName(VarType t) {
    switch (t) {
    case VarType::Empty: return "Empty";
    case VarType::Null: return "Null";
    case VarType::Boolean: return "Boolean";
    case VarType::Integer: return "Integer";
    case VarType::Float: return "Double";
    case VarType::DateTime: return "Date";
    case VarType::String: return "String";
    case VarType::WideString: return "OleStr";
    case VarType::Dispatch: return "Dispatch";
    case VarType::Variant: return "Variant";
    case VarType::Array: return "Array";
    }
    return "Unknown";
}

Variant::Variant(DispatchPtr obj) : type_(VarType::Dispatch), disp_(std::move(obj)) {}

Variant::Variant(VarArray array) : type_(VarType::Array), arr_(std::make_shared<VarArray>(std::move(array))) {}

bool Variant::IsNumeric() const { return IsNumberType(type_); }

// ---- conversions ----------------------------------------------------------

std::string Variant::ToString() const {
    switch (type_) {
    case VarType::Empty:
    case VarType::Null: return {};
    case VarType::Boolean: return i_ ? "True" : "False";
    case VarType::Integer: return std::to_string(i_);
    case VarType::Float: return FloatText(d_);
    case VarType::DateTime: return DateText(d_);
    case VarType::String:
    case VarType::WideString: return s_;
    default: break;
    }
    ConvertError(type_, VarType::String);
}

std::int64_t Variant::ToInt() const {
    std::int64_t out = 0;
    switch (type_) {
    case VarType::Empty: return 0;
    case VarType::Boolean: return i_ ? -1 : 0;
    case VarType::Integer: return i_;
    case VarType::Float:
    case VarType::DateTime:
        if (RoundToInt(d_, out)) return out;
        break;
    case VarType::String:
    case VarType::WideString: {
        TextNumber n;
        if (ParseTextNumber(s_, n)) {
            if (n.isInt) return n.i;
            if (RoundToInt(n.d, out)) return out;
            break;
        }
        const std::string_view t = Trim(s_);
        if (EqualsNoCase(t, "true")) return -1;
        if (EqualsNoCase(t, "false")) return 0;
        break;
    }
    default: break;
    }
    ConvertError(type_, VarType::Integer);
}

double Variant::ToFloat() const {
    switch (type_) {
    case VarType::Empty: return 0;
    case VarType::Boolean: return i_ ? -1 : 0;
    case VarType::Integer: return static_cast<double>(i_);
    case VarType::Float:
    case VarType::DateTime: return d_;
    case VarType::String:
    case VarType::WideString: {
        TextNumber n;
        if (ParseTextNumber(s_, n)) return n.AsDouble();
        const std::string_view t = Trim(s_);
        if (EqualsNoCase(t, "true")) return -1;
        if (EqualsNoCase(t, "false")) return 0;
        break;
    }
    default: break;
    }
    ConvertError(type_, VarType::Float);
}

bool Variant::ToBool() const {
    switch (type_) {
    case VarType::Empty: return false;
    case VarType::Boolean:
    case VarType::Integer: return i_ != 0;
    case VarType::Float:
    case VarType::DateTime: return d_ != 0;
    case VarType::String:
    case VarType::WideString: {
        const std::string_view t = Trim(s_);
        if (EqualsNoCase(t, "true")) return true;
        if (EqualsNoCase(t, "false")) return false;
        TextNumber n;
        if (ParseTextNumber(s_, n)) return n.isInt ? n.i != 0 : n.d != 0;
        break;
    }
    default: break;
    }
    ConvertError(type_, VarType::Boolean);
}

double Variant::ToDate() const {
    switch (type_) {
    case VarType::Empty: return 0;
    case VarType::Boolean: return i_ ? -1 : 0;
    case VarType::Integer: return static_cast<double>(i_);
    case VarType::Float:
    case VarType::DateTime: return d_;
    case VarType::String:
    case VarType::WideString: {
        double date = 0;
        if (TryParseDateTime(Trim(s_), date)) return date;
        break;
    }
    default: break;
    }
    ConvertError(type_, VarType::DateTime);
}

DispatchPtr Variant::ToDispatch() const {
    if (type_ == VarType::Dispatch) return disp_;
    if (type_ == VarType::Empty) return nullptr;
    ConvertError(type_, VarType::Dispatch);
}

// ---- arrays -----------------------------------------------------------------

const VarArray& Variant::Array() const {
    if (type_ != VarType::Array) NotAnArray();
    return *arr_;
}

VarArray& Variant::Array() {
    if (type_ != VarType::Array) NotAnArray();
    // Copies share the elements until one of them is changed.
    if (arr_.use_count() > 1) arr_ = std::make_shared<VarArray>(*arr_);
    return *arr_;
}

Variant& Variant::operator[](std::int32_t index) {
    const std::int32_t idx[] = {index};
    return Array().At(idx);
}

const Variant& Variant::operator[](std::int32_t index) const {
    const std::int32_t idx[] = {index};
    return Array().At(idx);
}

Variant& Variant::At(std::initializer_list<std::int32_t> indexes) {
    return Array().At(std::span<const std::int32_t>(indexes.begin(), indexes.size()));
}

const Variant& Variant::At(std::initializer_list<std::int32_t> indexes) const {
    return Array().At(std::span<const std::int32_t>(indexes.begin(), indexes.size()));
}

Variant VarArrayCreate(std::initializer_list<std::int32_t> bounds, VarType elementType) {
    if (bounds.size() == 0 || bounds.size() % 2 != 0)
        throw EVariantError("Variant array bounds must come in low/high pairs");
    std::vector<ArrayBound> pairs;
    for (auto it = bounds.begin(); it != bounds.end(); it += 2) pairs.push_back({it[0], it[1]});
    return VarArrayCreate(pairs, elementType);
}

Variant VarArrayCreate(const std::vector<ArrayBound>& bounds, VarType elementType) {
    return Variant(VarArray(bounds, elementType));
}

Variant VarArrayOf(std::vector<Variant> values) {
    const auto high = static_cast<std::int32_t>(values.size()) - 1;
    Variant v = VarArrayCreate({ArrayBound{0, high}}, VarType::Variant);
    v.Array().Items() = std::move(values);
    return v;
}

std::int32_t VarArrayLowBound(const Variant& v, int dim) { return v.Array().Bound(dim).low; }

std::int32_t VarArrayHighBound(const Variant& v, int dim) { return v.Array().Bound(dim).high; }

int VarArrayDimCount(const Variant& v) { return v.IsArray() ? v.Array().DimCount() : 0; }

void VarArrayRedim(Variant& v, std::int32_t newHigh) { v.Array().Redim(newHigh); }

bool VarIsArray(const Variant& v) { return v.IsArray(); }
bool VarIsEmpty(const Variant& v) { return v.IsEmpty(); }
bool VarIsNull(const Variant& v) { return v.IsNull(); }
bool VarIsStr(const Variant& v) { return v.IsText(); }
std::string VarToStr(const Variant& v) { return v.ToString(); }

// ---- late-bound calls -------------------------------------------------------

namespace {

IDispatch& Target(const Variant& v) {
    if (v.Type() != VarType::Dispatch || !v.ToDispatch())
        throw EOleError("Variant does not reference an automation object");
    return *v.ToDispatch();
}

}  // namespace

Variant Variant::Call(std::string_view name, std::vector<Variant> args) const {
    return Target(*this).Invoke(name, InvokeKind::Method, args);
}

Variant Variant::CallRef(std::string_view name, std::vector<Variant>& args) const {
    return Target(*this).Invoke(name, InvokeKind::Method, args);
}

Variant Variant::Get(std::string_view name, std::vector<Variant> args) const {
    return Target(*this).Invoke(name, InvokeKind::PropertyGet, args);
}

void Variant::Put(std::string_view name, const Variant& value) const {
    std::vector<Variant> args{value};
    Target(*this).Invoke(name, InvokeKind::PropertyPut, args);
}

// ---- comparison -------------------------------------------------------------

bool Variant::operator==(const Variant& other) const {
    const VarType a = type_, b = other.type_;
    if (a == VarType::Null || b == VarType::Null) return a == b;
    if (a == VarType::Empty && b == VarType::Empty) return true;
    if (a == VarType::Empty || b == VarType::Empty) {
        const Variant& v = a == VarType::Empty ? other : *this;
        if (v.IsNumeric()) return v.ToFloat() == 0;
        if (v.IsText()) return v.s_.empty();
        return false;
    }
    if (IsText() && other.IsText()) return s_ == other.s_;
    if (IsNumeric() && other.IsNumeric()) return SameNumber(NumberOf(a, i_, d_), NumberOf(b, other.i_, other.d_));
    if (IsText() != other.IsText() && (IsNumeric() || other.IsNumeric())) {
        const Variant& text = IsText() ? *this : other;
        const Variant& num = IsText() ? other : *this;
        Number n;
        if (!TextAsNumber(text.s_, n)) return false;
        return SameNumber(n, NumberOf(num.type_, num.i_, num.d_));
    }
    if (a == VarType::Dispatch && b == VarType::Dispatch) return disp_ == other.disp_;
    if (a == VarType::Array && b == VarType::Array) return arr_ == other.arr_ || *arr_ == *other.arr_;
    return false;
}

int Variant::Compare(const Variant& other) const {
    auto unordered = [](VarType t) { return t == VarType::Array || t == VarType::Dispatch; };
    if (unordered(type_) || unordered(other.type_))
        throw EVariantError(std::string("Variants of type (") + VarTypeName(type_) + ") and (" +
                            VarTypeName(other.type_) + ") have no order");
    // Null sorts before Empty, and both before every value.
    auto rank = [](VarType t) { return t == VarType::Null ? 0 : (t == VarType::Empty ? 1 : 2); };
    if (rank(type_) < 2 || rank(other.type_) < 2) {
        const int ra = rank(type_), rb = rank(other.type_);
        return ra < rb ? -1 : (ra > rb ? 1 : 0);
    }
    if (IsText() && other.IsText()) {
        const int c = s_.compare(other.s_);
        return c < 0 ? -1 : (c > 0 ? 1 : 0);
    }
    Number na, nb;
    const bool aNum = IsNumeric() ? (na = NumberOf(type_, i_, d_), true) : TextAsNumber(s_, na);
    const bool bNum = other.IsNumeric() ? (nb = NumberOf(other.type_, other.i_, other.d_), true)
                                        : TextAsNumber(other.s_, nb);
    if (aNum && bNum) return CompareNumbers(na, nb);
    // A text that is no number sorts after the numbers.
    return aNum ? -1 : 1;
}

}  // namespace zb
