// TStrings, the list of texts controls and readers share (memo lines, combo
// items, profile sections), with its text forms (Text with CR LF, CommaText),
// name=value entries and objects beside the texts; TStringList keeps them in
// memory, optionally sorted.
#pragma once

#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/core/Events.h"
#include "platform/core/Persistent.h"

namespace zb {

enum class TDuplicates { dupIgnore, dupAccept, dupError };

class TStrings : public TPersistent {
    ZB_CLASS(TStrings, TPersistent)

public:
    // The storage a descendant provides; indexes are checked by the callers.
    virtual int Count() const = 0;
    virtual std::string Get(int index) const = 0;
    virtual TObject* GetObject(int index) const;
    virtual void Put(int index, const std::string& s);
    virtual void PutObject(int index, TObject* object);
    virtual void Insert(int index, const std::string& s) = 0;
    virtual void Delete(int index) = 0;
    virtual void Clear() = 0;

    std::string Strings(int index) const;  // throws EStringListError outside 0..Count-1
    void SetStrings(int index, const std::string& s);
    TObject* Objects(int index) const;
    void SetObjects(int index, TObject* object);

    virtual int Add(const std::string& s);
    int AddObject(const std::string& s, TObject* object);
    void InsertObject(int index, const std::string& s, TObject* object);
    void Append(const std::string& s) { Add(s); }
    void AddStrings(const TStrings& other);
    void Exchange(int a, int b);
    void Move(int from, int to);

    // Without regard to case unless CaseSensitive; -1 when absent.
    virtual int IndexOf(std::string_view s) const;
    int IndexOfName(std::string_view name) const;
    int IndexOfObject(const TObject* object) const;

    // Entries "name=value": the name is the text before the first "=", empty
    // when there is none.
    std::string Names(int index) const;
    std::string Values(std::string_view name) const;  // empty when absent
    // Replaces the entry; an empty value deletes it.
    void SetValues(std::string_view name, const std::string& value);
    std::string ValueFromIndex(int index) const;

    // Every text followed by CR LF; reading splits at CR LF, CR or LF, and a
    // final line break adds no empty line.
    std::string Text() const;
    void SetText(std::string_view text);
    // Items separated by Delimiter; an item with blanks, control characters,
    // quotes or the delimiter is quoted with QuoteChar, quotes doubled.
    std::string DelimitedText() const;
    void SetDelimitedText(std::string_view text);
    std::string CommaText() const;
    void SetCommaText(std::string_view text);
    char Delimiter() const { return delimiter_; }
    void SetDelimiter(char c) { delimiter_ = c; }
    char QuoteChar() const { return quoteChar_; }
    void SetQuoteChar(char c) { quoteChar_ = c; }

    bool CaseSensitive() const { return caseSensitive_; }
    virtual void SetCaseSensitive(bool on) { caseSensitive_ = on; }

    // Change notifications are held back between BeginUpdate and EndUpdate.
    void BeginUpdate();
    void EndUpdate();
    int UpdateCount() const { return updateCount_; }

    bool Equals(const TStrings& other) const;
    void Assign(const TPersistent* source) override;

    // The file's bytes as they are (no code-page conversion).
    void LoadFromFile(const std::filesystem::path& file);
    void SaveToFile(const std::filesystem::path& file) const;

    std::vector<std::string> ToVector() const;

protected:
    // Compares two texts with the list's case rule.
    int CompareStrings(std::string_view a, std::string_view b) const;
    virtual void SetUpdateState(bool updating) {}
    [[noreturn]] void IndexError(int index) const;

private:
    char delimiter_ = ',';
    char quoteChar_ = '"';
    bool caseSensitive_ = false;
    int updateCount_ = 0;
};

class TStringList : public TStrings {
    ZB_CLASS(TStringList, TStrings)

public:
    TStringList() = default;
    ~TStringList() override;

    int Count() const override { return static_cast<int>(items_.size()); }
    std::string Get(int index) const override;
    TObject* GetObject(int index) const override;
    void Put(int index, const std::string& s) override;
    void PutObject(int index, TObject* object) override;
    void Insert(int index, const std::string& s) override;  // refused while Sorted
    void Delete(int index) override;
    void Clear() override;
    int Add(const std::string& s) override;
    int IndexOf(std::string_view s) const override;

    // Binary search of a sorted list: true when found, `index` where the text
    // is or would go.
    bool Find(std::string_view s, int& index) const;
    bool Sorted() const { return sorted_; }
    void SetSorted(bool on);
    TDuplicates Duplicates() const { return duplicates_; }
    void SetDuplicates(TDuplicates d) { duplicates_ = d; }
    void SetCaseSensitive(bool on) override;
    void Sort();
    // Sorts with `compare` (less than 0, 0, greater than 0 by index pair); stable.
    void CustomSort(const std::function<int(const TStringList&, int, int)>& compare);

    // When set, the list frees the objects it holds as they leave it.
    bool OwnsObjects() const { return ownsObjects_; }
    void SetOwnsObjects(bool on) { ownsObjects_ = on; }

    TNotifyEvent OnChange;
    TNotifyEvent OnChanging;

protected:
    void SetUpdateState(bool updating) override;
    void Changed();
    void Changing();

private:
    struct Item {
        std::string text;
        TObject* object = nullptr;
    };
    void InsertItem(int index, const std::string& s, TObject* object);
    void CheckIndex(int index) const;

    std::vector<Item> items_;
    bool sorted_ = false;
    bool ownsObjects_ = false;
    TDuplicates duplicates_ = TDuplicates::dupIgnore;
};

}  // namespace zb
