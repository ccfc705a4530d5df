// Cursor, fields, locate and local editing of in-memory data sets.
#include "platform/data/DB.h"

#include <algorithm>
#include <numeric>

#include "platform/core/TextUtils.h"

namespace zb {

namespace {

const Variant& NullValue() {
    static const Variant null(Null);
    return null;
}

std::vector<std::string> SplitFieldList(std::string_view list) {
    std::vector<std::string> names;
    std::size_t start = 0;
    while (start <= list.size()) {
        std::size_t end = list.find(';', start);
        if (end == std::string_view::npos) end = list.size();
        std::string name = Trim(list.substr(start, end - start));
        if (!name.empty()) names.push_back(std::move(name));
        start = end + 1;
    }
    return names;
}

bool KeyMatches(const Variant& field, const Variant& key, TLocateOptions options) {
    if (key.IsNull() || key.IsEmpty()) return field.IsNull() || field.IsEmpty();
    if (field.IsNull() || field.IsEmpty()) return false;
    if (key.IsText() && (options.caseInsensitive || options.partialKey)) {
        std::string text = field.ToString();
        std::string want = key.ToString();
        if (options.partialKey && text.size() > want.size()) text.resize(want.size());
        return options.caseInsensitive ? SameText(text, want) : text == want;
    }
    try {
        return field == key;
    } catch (const EVariantError&) {
        return false;  // values that cannot be compared are no match
    }
}

}  // namespace

// ---- TField -------------------------------------------------------------------

const Variant& TField::Value() const { return owner_->CurrentValue(index_); }

std::string TField::AsString() const { return Value().ToString(); }

std::int64_t TField::AsInteger() const { return IsNull() ? 0 : Value().ToInt(); }

double TField::AsFloat() const { return IsNull() ? 0.0 : Value().ToFloat(); }

bool TField::AsBoolean() const { return IsNull() ? false : Value().ToBool(); }

void TField::SetValue(const Variant& value) { owner_->SetCurrentValue(index_, value); }

// ---- TDataSet -----------------------------------------------------------------

void TDataSet::Load(std::vector<std::string> fieldNames, std::vector<std::vector<Variant>> rows) {
    for (std::size_t i = 0; i < fieldNames.size(); ++i)
        for (std::size_t j = 0; j < i; ++j)
            if (SameText(fieldNames[i], fieldNames[j])) throw EDatabaseError("Duplicate field name '" + fieldNames[i] + "'");
    for (const auto& row : rows)
        if (row.size() != fieldNames.size())
            throw EDatabaseError("A record has " + std::to_string(row.size()) + " values for " +
                                 std::to_string(fieldNames.size()) + " fields");
    fields_.clear();
    for (std::size_t i = 0; i < fieldNames.size(); ++i)
        fields_.push_back(std::make_unique<TField>(*this, std::move(fieldNames[i]), static_cast<int>(i)));
    rows_ = std::move(rows);
    buffer_.clear();
    state_ = TDataSetState::Browse;
    order_.clear();
    pos_ = 0;
    Resort();
    First();
}

void TDataSet::Close() {
    fields_.clear();
    rows_.clear();
    order_.clear();
    buffer_.clear();
    pos_ = 0;
    eof_ = bof_ = true;
    state_ = TDataSetState::Inactive;
}

TField& TDataSet::Fields(int index) {
    if (index < 0 || index >= FieldCount()) throw EDatabaseError("Field index out of range: " + std::to_string(index));
    return *fields_[static_cast<std::size_t>(index)];
}

TField* TDataSet::FindField(std::string_view name) {
    for (auto& f : fields_)
        if (SameText(f->FieldName(), name)) return f.get();
    return nullptr;
}

TField& TDataSet::FieldByName(std::string_view name) {
    if (TField* f = FindField(name)) return *f;
    throw EDatabaseError("Field '" + std::string(name) + "' not found");
}

std::vector<std::string> TDataSet::FieldNames() const {
    std::vector<std::string> names;
    for (const auto& f : fields_) names.push_back(f->FieldName());
    return names;
}

std::vector<int> TDataSet::FieldIndexes(std::string_view fieldList) {
    std::vector<int> indexes;
    for (const std::string& name : SplitFieldList(fieldList)) indexes.push_back(FieldByName(name).Index());
    return indexes;
}

int TDataSet::CompareValues(const Variant& a, const Variant& b) {
    try {
        return a.Compare(b);
    } catch (const EVariantError&) {
        const auto ta = static_cast<int>(a.Type()), tb = static_cast<int>(b.Type());
        return ta < tb ? -1 : (ta > tb ? 1 : 0);
    }
}

void TDataSet::CheckActive() const {
    if (!Active()) throw EDatabaseError("Cannot perform this operation on a closed dataset");
}

void TDataSet::CheckBrowseMode() {
    CheckActive();
    if (state_ == TDataSetState::Edit || state_ == TDataSetState::Insert) Post();
}

void TDataSet::MoveTo(std::size_t pos) {
    pos_ = pos;
    eof_ = bof_ = order_.empty();
}

void TDataSet::First() {
    CheckBrowseMode();
    MoveTo(0);
    bof_ = true;
}

void TDataSet::Last() {
    CheckBrowseMode();
    MoveTo(order_.empty() ? 0 : order_.size() - 1);
    eof_ = true;
}

void TDataSet::Next() {
    CheckBrowseMode();
    if (order_.empty() || pos_ + 1 >= order_.size()) {
        eof_ = true;
        return;
    }
    ++pos_;
    eof_ = bof_ = false;
}

void TDataSet::Prior() {
    CheckBrowseMode();
    if (order_.empty() || pos_ == 0) {
        bof_ = true;
        return;
    }
    --pos_;
    eof_ = bof_ = false;
}

int TDataSet::RecNo() const {
    if (!Active() || order_.empty() || state_ == TDataSetState::Insert) return 0;
    return static_cast<int>(pos_) + 1;
}

const Variant& TDataSet::CurrentValue(int field) const {
    const auto f = static_cast<std::size_t>(field);
    if (state_ == TDataSetState::Edit || state_ == TDataSetState::Insert) return buffer_[f];
    if (!Active() || order_.empty()) return NullValue();
    return rows_[order_[pos_]][f];
}

void TDataSet::SetCurrentValue(int field, const Variant& value) {
    if (state_ != TDataSetState::Edit && state_ != TDataSetState::Insert)
        throw EDatabaseError("Dataset not in edit or insert mode");
    buffer_[static_cast<std::size_t>(field)] = value;
}

void TDataSet::Resort() {
    const bool hasCurrent = !order_.empty() && pos_ < order_.size();
    const std::size_t current = hasCurrent ? order_[pos_] : 0;
    order_.resize(rows_.size());
    std::iota(order_.begin(), order_.end(), std::size_t{0});
    Reorder(order_);
    pos_ = 0;
    if (hasCurrent) {
        auto it = std::find(order_.begin(), order_.end(), current);
        if (it != order_.end()) pos_ = static_cast<std::size_t>(it - order_.begin());
    }
    eof_ = bof_ = order_.empty();
}

bool TDataSet::Locate(std::string_view keyFields, const Variant& keyValues, TLocateOptions options) {
    CheckBrowseMode();
    const std::vector<int> fields = FieldIndexes(keyFields);
    if (fields.empty()) throw EDatabaseError("No key fields given");
    std::vector<Variant> keys;
    if (fields.size() == 1 && !keyValues.IsArray()) {
        keys.push_back(keyValues);
    } else {
        if (!keyValues.IsArray() || keyValues.Array().DimCount() != 1 ||
            keyValues.Array().Size() != fields.size())
            throw EDatabaseError("Locate needs one key value for each of its " + std::to_string(fields.size()) +
                                 " fields");
        keys = keyValues.Array().Items();
    }
    for (std::size_t p = 0; p < order_.size(); ++p) {
        const auto& row = rows_[order_[p]];
        bool all = true;
        for (std::size_t k = 0; k < fields.size() && all; ++k)
            all = KeyMatches(row[static_cast<std::size_t>(fields[k])], keys[k], options);
        if (all) {
            MoveTo(p);
            return true;
        }
    }
    return false;
}

void TDataSet::Edit() {
    CheckActive();
    if (state_ == TDataSetState::Edit || state_ == TDataSetState::Insert) return;
    if (readOnly_) throw EDatabaseError("Cannot modify a read-only dataset");
    if (order_.empty()) {
        Append();
        return;
    }
    buffer_ = rows_[order_[pos_]];
    state_ = TDataSetState::Edit;
}

void TDataSet::Append() {
    CheckBrowseMode();
    if (readOnly_) throw EDatabaseError("Cannot modify a read-only dataset");
    buffer_.assign(fields_.size(), Variant(Null));
    state_ = TDataSetState::Insert;
}

void TDataSet::Post() {
    CheckActive();
    if (state_ == TDataSetState::Edit) {
        rows_[order_[pos_]] = std::move(buffer_);
    } else if (state_ == TDataSetState::Insert) {
        rows_.push_back(std::move(buffer_));
        order_.push_back(rows_.size() - 1);
        pos_ = order_.size() - 1;
    } else {
        return;
    }
    buffer_.clear();
    state_ = TDataSetState::Browse;
    Resort();
}

void TDataSet::Cancel() {
    if (state_ != TDataSetState::Edit && state_ != TDataSetState::Insert) return;
    buffer_.clear();
    state_ = TDataSetState::Browse;
}

void TDataSet::Delete() {
    CheckActive();
    if (state_ == TDataSetState::Insert) {
        Cancel();
        return;
    }
    Cancel();
    if (readOnly_) throw EDatabaseError("Cannot modify a read-only dataset");
    if (order_.empty()) throw EDatabaseError("Cannot perform this operation on an empty dataset");
    const std::size_t row = order_[pos_];
    rows_.erase(rows_.begin() + static_cast<std::ptrdiff_t>(row));
    order_.erase(order_.begin() + static_cast<std::ptrdiff_t>(pos_));
    for (std::size_t& r : order_)
        if (r > row) --r;
    if (pos_ >= order_.size() && !order_.empty()) pos_ = order_.size() - 1;
    eof_ = bof_ = order_.empty();
}

}  // namespace zb
