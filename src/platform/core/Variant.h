// Variant: the one value type for everything that crosses an interface —
// host calls, job parameter arrays, published properties, server frames.
#pragma once

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace zb {

class IDispatch;
using DispatchPtr = std::shared_ptr<IDispatch>;

enum class VarType : std::uint8_t {
    Empty,       // unassigned
    Null,
    Boolean,
    Integer,
    Float,
    DateTime,    // day count, day 0 = 1899-12-30; 0 means no date
    String,      // 8-bit text: bytes as they are (UTF-8 inside, a code page at boundaries)
    WideString,  // Unicode text, held as UTF-8
    Dispatch,    // automation object
    Variant,     // element type of arrays whose cells hold any variant
    Array,
};

// Name of a type as the original writes it in messages ("Integer", "OleStr", ...).
const char* VarTypeName(VarType t);

// Marks a text as wide (Unicode) when constructing a Variant.
struct WideString {
    std::string utf8;
};

// Marks a day count as a date when constructing a Variant.
struct DateTime {
    double days = 0;
};

struct NullTag {};
inline constexpr NullTag Null{};

struct ArrayBound {
    std::int32_t low = 0;
    std::int32_t high = -1;
    std::int32_t Count() const { return high - low + 1; }
    bool operator==(const ArrayBound&) const = default;
};

class VarArray;

class Variant {
public:
    Variant() = default;  // Empty
    Variant(NullTag) : type_(VarType::Null) {}
    Variant(bool b) : type_(VarType::Boolean), i_(b ? 1 : 0) {}
    Variant(int i) : type_(VarType::Integer), i_(i) {}
    Variant(std::int64_t i) : type_(VarType::Integer), i_(i) {}
    Variant(unsigned i) : type_(VarType::Integer), i_(i) {}
    Variant(double d) : type_(VarType::Float), d_(d) {}
    Variant(DateTime d) : type_(VarType::DateTime), d_(d.days) {}
    Variant(const char* s) : type_(VarType::String), s_(s ? s : "") {}
    Variant(std::string s) : type_(VarType::String), s_(std::move(s)) {}
    Variant(std::string_view s) : type_(VarType::String), s_(s) {}
    Variant(WideString s) : type_(VarType::WideString), s_(std::move(s.utf8)) {}
    Variant(DispatchPtr obj);
    Variant(long long i) : type_(VarType::Integer), i_(static_cast<std::int64_t>(i)) {}
    Variant(unsigned long i) : type_(VarType::Integer), i_(static_cast<std::int64_t>(i)) {}
    explicit Variant(VarArray array);  // an Array value holding `array`
    Variant(std::nullptr_t) = delete;  // ambiguous: say Null or Variant() instead

    static Variant Wide(std::string utf8) { return Variant(WideString{std::move(utf8)}); }
    static Variant Date(double days) { return Variant(DateTime{days}); }

    VarType Type() const { return type_; }
    bool IsEmpty() const { return type_ == VarType::Empty; }
    bool IsNull() const { return type_ == VarType::Null; }
    bool IsArray() const { return type_ == VarType::Array; }
    bool IsText() const { return type_ == VarType::String || type_ == VarType::WideString; }
    bool IsNumeric() const;  // Boolean, Integer, Float or DateTime

    // Conversions with the original's rules; each throws EVariantError when
    // the value cannot be converted (Null to a number, a non-numeric text, ...).
    std::string ToString() const;  // Empty and Null give ""
    std::int64_t ToInt() const;
    double ToFloat() const;
    bool ToBool() const;
    double ToDate() const;
    DispatchPtr ToDispatch() const;

    // Direct access without conversion (valid for the matching type only).
    const std::string& Text() const { return s_; }

    // Arrays. Element access takes indexes within the array's own bounds and
    // throws EVariantError outside them. Copies share their elements until
    // one of them is changed through these accessors, so a reference they
    // return is valid only until the Variant is next copied or changed.
    const VarArray& Array() const;
    VarArray& Array();  // unshares first: arrays are values
    Variant& operator[](std::int32_t index);
    const Variant& operator[](std::int32_t index) const;
    Variant& At(std::initializer_list<std::int32_t> indexes);
    const Variant& At(std::initializer_list<std::int32_t> indexes) const;

    // Late-bound automation calls on a Dispatch value (see Dispatch.h).
    Variant Call(std::string_view name, std::vector<Variant> args = {}) const;
    Variant CallRef(std::string_view name, std::vector<Variant>& args) const;
    Variant Get(std::string_view name, std::vector<Variant> args = {}) const;
    void Put(std::string_view name, const Variant& value) const;

    // Comparison with the original's rules: numbers compare by value across
    // Boolean/Integer/Float/DateTime (False equals 0), texts compare exactly,
    // a text against a number compares as numbers when the text is numeric,
    // Empty equals 0 and "", Null equals only Null, arrays compare by bounds
    // and elements.
    bool operator==(const Variant& other) const;
    // Three-way ordering for sorting: -1, 0 or 1. Throws for values without order.
    int Compare(const Variant& other) const;

    // JSON form that keeps types, bounds and the 8-bit/wide distinction.
    std::string ToJson() const;
    static Variant FromJson(std::string_view json);  // throws EVariantError on bad input

private:
    friend class VarArray;
    VarType type_ = VarType::Empty;
    std::int64_t i_ = 0;
    double d_ = 0;
    std::string s_;
    DispatchPtr disp_;
    std::shared_ptr<VarArray> arr_;
};

// A rectangular array of Variants with per-dimension bounds. Elements are
// stored with the first index varying fastest, as automation arrays are.
class VarArray {
public:
    VarArray(std::vector<ArrayBound> bounds, VarType elementType);

    int DimCount() const { return static_cast<int>(bounds_.size()); }
    const std::vector<ArrayBound>& Bounds() const { return bounds_; }
    ArrayBound Bound(int dim) const;  // dim from 1, throws outside
    VarType ElementType() const { return elementType_; }
    std::size_t Size() const { return items_.size(); }

    Variant& At(std::span<const std::int32_t> indexes);
    const Variant& At(std::span<const std::int32_t> indexes) const;

    // All elements in storage order, for walking arrays whatever their shape.
    std::vector<Variant>& Items() { return items_; }
    const std::vector<Variant>& Items() const { return items_; }

    // Changes the high bound of the last dimension, keeping existing elements.
    void Redim(std::int32_t newHigh);

    bool operator==(const VarArray& other) const;

private:
    std::size_t Offset(std::span<const std::int32_t> indexes) const;
    std::vector<ArrayBound> bounds_;
    VarType elementType_;
    std::vector<Variant> items_;
};

// The usual vocabulary.
// bounds: low1, high1[, low2, high2 ...]; elements start as the element type's zero value.
Variant VarArrayCreate(std::initializer_list<std::int32_t> bounds, VarType elementType = VarType::Variant);
Variant VarArrayCreate(const std::vector<ArrayBound>& bounds, VarType elementType = VarType::Variant);
// A one-dimensional array indexed from 0 holding the given values.
Variant VarArrayOf(std::vector<Variant> values);
std::int32_t VarArrayLowBound(const Variant& v, int dim);
std::int32_t VarArrayHighBound(const Variant& v, int dim);
int VarArrayDimCount(const Variant& v);  // 0 for a non-array
void VarArrayRedim(Variant& v, std::int32_t newHigh);
bool VarIsArray(const Variant& v);
bool VarIsEmpty(const Variant& v);
bool VarIsNull(const Variant& v);
bool VarIsStr(const Variant& v);
std::string VarToStr(const Variant& v);  // "" for Empty and Null

}  // namespace zb
