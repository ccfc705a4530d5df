// Data sets held in memory: named fields, a cursor over the records, locate
// by key values, and local editing. The client data set and the database
// query are both such data sets.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/core/Exceptions.h"
#include "platform/core/Variant.h"

namespace zb {

ZB_DECLARE_EXCEPTION(EDatabaseError, Exception);

enum class TDataSetState { Inactive, Browse, Edit, Insert };

struct TLocateOptions {
    bool caseInsensitive = false;  // texts compared without regard to case (ASCII letters)
    bool partialKey = false;       // a text key matches the start of the field's text
};

class TDataSet;

// One column of a data set; its value is the current record's.
class TField {
public:
    TField(TDataSet& owner, std::string name, int index) : owner_(&owner), name_(std::move(name)), index_(index) {}

    const std::string& FieldName() const { return name_; }
    int Index() const { return index_; }

    // Null when the data set has no current record.
    const Variant& Value() const;
    bool IsNull() const { return Value().IsNull() || Value().IsEmpty(); }
    // Null reads as "", 0 and False; other values convert with the Variant's
    // rules and throw EVariantError when they cannot.
    std::string AsString() const;
    std::int64_t AsInteger() const;
    double AsFloat() const;
    bool AsBoolean() const;

    // Only while the data set is being edited or appended to (EDatabaseError otherwise).
    void SetValue(const Variant& value);
    void SetAsString(const std::string& value) { SetValue(Variant(value)); }
    void SetAsInteger(std::int64_t value) { SetValue(Variant(value)); }

private:
    TDataSet* owner_;
    std::string name_;
    int index_;
};

class TDataSet {
public:
    TDataSet() = default;
    virtual ~TDataSet() = default;
    TDataSet(const TDataSet&) = delete;
    TDataSet& operator=(const TDataSet&) = delete;

    bool Active() const { return state_ != TDataSetState::Inactive; }
    TDataSetState State() const { return state_; }

    int FieldCount() const { return static_cast<int>(fields_.size()); }
    TField& Fields(int index);
    // Names are matched without regard to case; FieldByName throws EDatabaseError when missing.
    TField& FieldByName(std::string_view name);
    TField* FindField(std::string_view name);
    std::vector<std::string> FieldNames() const;

    // Moving the cursor posts a pending edit first.
    void First();
    void Last();
    void Next();
    void Prior();
    bool Eof() const { return eof_; }
    bool Bof() const { return bof_; }
    bool IsEmpty() const { return order_.empty(); }
    int RecordCount() const { return static_cast<int>(order_.size()); }
    // Position of the current record from 1; 0 without one (also while inserting).
    int RecNo() const;

    // Moves to the first record, in the current order, whose fields
    // ("A;B;C") hold the key values (one value, or an array of as many values
    // as fields). False, with the cursor where it was, when none does.
    bool Locate(std::string_view keyFields, const Variant& keyValues, TLocateOptions options = {});

    // Local editing of the records held.
    bool CanModify() const { return Active() && !readOnly_; }
    void Edit();
    void Append();  // a new, empty record, placed by the order when posted
    void Post();
    void Cancel();
    void Delete();  // the current record; the cursor moves to the next one (or the new last)

    virtual void Close();

protected:
    // Replaces fields and records and opens the set at its first record.
    void Load(std::vector<std::string> fieldNames, std::vector<std::vector<Variant>> rows);
    void SetReadOnly(bool readOnly) { readOnly_ = readOnly; }
    // The record numbers (indexes into Rows()) in the order the cursor walks.
    virtual void Reorder(std::vector<std::size_t>& order) const {}
    // Puts the records in order again (after the order's rule changed).
    void Resort();
    const std::vector<std::vector<Variant>>& Rows() const { return rows_; }
    std::vector<int> FieldIndexes(std::string_view fieldList);  // "A;B" -> indexes; throws when missing
    // Orders two values for an index: Null and Empty first, then the
    // Variant's order; values without order by their type.
    static int CompareValues(const Variant& a, const Variant& b);

private:
    friend class TField;
    const Variant& CurrentValue(int field) const;
    void SetCurrentValue(int field, const Variant& value);
    void CheckActive() const;
    void CheckBrowseMode();
    void MoveTo(std::size_t pos);

    std::vector<std::unique_ptr<TField>> fields_;
    std::vector<std::vector<Variant>> rows_;
    std::vector<std::size_t> order_;
    std::size_t pos_ = 0;  // index into order_
    bool eof_ = true;
    bool bof_ = true;
    bool readOnly_ = false;
    TDataSetState state_ = TDataSetState::Inactive;
    std::vector<Variant> buffer_;  // the record being edited or inserted
};

}  // namespace zb
