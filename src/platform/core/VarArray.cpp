// Rectangular Variant arrays: bounds per dimension, element storage with the
// first index varying fastest, and growth of the last dimension.
#include "platform/core/Variant.h"

#include <limits>

#include "platform/core/Exceptions.h"

namespace zb {

namespace {

// Arrays larger than this are a fault of the caller (or of hostile input),
// not something the system builds.
constexpr std::int64_t kMaxElements = std::int64_t{1} << 28;

[[noreturn]] void BoundsError() { throw EVariantError("Variant array bounds error"); }

Variant ZeroValue(VarType t) {
    switch (t) {
    case VarType::Variant: return Variant();
    case VarType::Boolean: return Variant(false);
    case VarType::Integer: return Variant(0);
    case VarType::Float: return Variant(0.0);
    case VarType::DateTime: return Variant::Date(0);
    case VarType::String: return Variant(std::string());
    case VarType::WideString: return Variant::Wide(std::string());
    case VarType::Dispatch: return Variant(DispatchPtr());
    default: break;
    }
    throw EVariantError(std::string("Invalid element type for a variant array: ") + VarTypeName(t));
}

std::int64_t ElementCount(const std::vector<ArrayBound>& bounds) {
    std::int64_t total = 1;
    for (const ArrayBound& b : bounds) {
        const std::int64_t count = std::int64_t{b.high} - b.low + 1;
        if (count < 0) BoundsError();
        total *= count;
        if (total > kMaxElements) throw EVariantError("Variant array too large");
    }
    return total;
}

}  // namespace

VarArray::VarArray(std::vector<ArrayBound> bounds, VarType elementType)
    : bounds_(std::move(bounds)), elementType_(elementType) {
    if (bounds_.empty()) BoundsError();
    const Variant zero = ZeroValue(elementType_);
    items_.assign(static_cast<std::size_t>(ElementCount(bounds_)), zero);
}

ArrayBound VarArray::Bound(int dim) const {
    if (dim < 1 || dim > DimCount()) BoundsError();
    return bounds_[static_cast<std::size_t>(dim - 1)];
}

std::size_t VarArray::Offset(std::span<const std::int32_t> indexes) const {
    if (indexes.size() != bounds_.size())
        throw EVariantError("Variant array index count " + std::to_string(indexes.size()) +
                            " does not match its " + std::to_string(bounds_.size()) + " dimension(s)");
    std::size_t offset = 0;
    std::size_t stride = 1;
    for (std::size_t k = 0; k < bounds_.size(); ++k) {
        const ArrayBound& b = bounds_[k];
        if (indexes[k] < b.low || indexes[k] > b.high)
            throw EVariantError("Variant or safe array index out of bounds");
        offset += static_cast<std::size_t>(std::int64_t{indexes[k]} - b.low) * stride;
        stride *= static_cast<std::size_t>(b.Count());
    }
    return offset;
}

Variant& VarArray::At(std::span<const std::int32_t> indexes) { return items_[Offset(indexes)]; }

const Variant& VarArray::At(std::span<const std::int32_t> indexes) const { return items_[Offset(indexes)]; }

void VarArray::Redim(std::int32_t newHigh) {
    std::vector<ArrayBound> bounds = bounds_;
    bounds.back().high = newHigh;
    const auto count = static_cast<std::size_t>(ElementCount(bounds));
    // The last dimension varies slowest, so growing or cutting it keeps every
    // surviving element at its offset.
    items_.resize(count, ZeroValue(elementType_));
    bounds_ = std::move(bounds);
}

bool VarArray::operator==(const VarArray& other) const {
    return bounds_ == other.bounds_ && items_ == other.items_;
}

}  // namespace zb
