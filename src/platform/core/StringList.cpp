#include "platform/core/StringList.h"

#include <algorithm>
#include <fstream>
#include <numeric>
#include <sstream>

#include "platform/core/Published.h"
#include "platform/core/TextUtils.h"

namespace zb {

ZB_PUBLISHED(TStrings){};
ZB_PUBLISHED(TStringList){
    prop::Bool("Sorted", &TStringList::Sorted, &TStringList::SetSorted),
    prop::Bool("CaseSensitive", &TStringList::CaseSensitive, &TStringList::SetCaseSensitive),
    prop::Event("OnChange", &TStringList::OnChange),
    prop::Event("OnChanging", &TStringList::OnChanging),
};

namespace {
bool IsBlankOrControl(char c) { return static_cast<unsigned char>(c) <= ' '; }
}  // namespace

// --- TStrings ---------------------------------------------------------------

void TStrings::IndexError(int index) const {
    throw EStringListError("List index out of bounds (" + std::to_string(index) + ")");
}

TObject* TStrings::GetObject(int) const { return nullptr; }

void TStrings::Put(int index, const std::string& s) {
    TObject* object = GetObject(index);
    BeginUpdate();
    Delete(index);
    InsertObject(index, s, object);
    EndUpdate();
}

void TStrings::PutObject(int, TObject*) {}

std::string TStrings::Strings(int index) const {
    if (index < 0 || index >= Count()) IndexError(index);
    return Get(index);
}

void TStrings::SetStrings(int index, const std::string& s) {
    if (index < 0 || index >= Count()) IndexError(index);
    Put(index, s);
}

TObject* TStrings::Objects(int index) const {
    if (index < 0 || index >= Count()) IndexError(index);
    return GetObject(index);
}

void TStrings::SetObjects(int index, TObject* object) {
    if (index < 0 || index >= Count()) IndexError(index);
    PutObject(index, object);
}

int TStrings::Add(const std::string& s) {
    int index = Count();
    Insert(index, s);
    return index;
}

int TStrings::AddObject(const std::string& s, TObject* object) {
    int index = Add(s);
    if (index >= 0 && index < Count()) PutObject(index, object);
    return index;
}

void TStrings::InsertObject(int index, const std::string& s, TObject* object) {
    Insert(index, s);
    PutObject(index, object);
}

void TStrings::AddStrings(const TStrings& other) {
    // Copy first: adding a list to itself must not walk a growing list.
    std::vector<std::pair<std::string, TObject*>> items;
    const int n = other.Count();
    items.reserve(static_cast<size_t>(n));
    for (int i = 0; i < n; ++i) items.emplace_back(other.Get(i), other.GetObject(i));
    BeginUpdate();
    for (auto& [s, o] : items) AddObject(s, o);
    EndUpdate();
}

void TStrings::Exchange(int a, int b) {
    if (a < 0 || a >= Count()) IndexError(a);
    if (b < 0 || b >= Count()) IndexError(b);
    BeginUpdate();
    std::string sa = Get(a);
    TObject* oa = GetObject(a);
    Put(a, Get(b));
    PutObject(a, GetObject(b));
    Put(b, sa);
    PutObject(b, oa);
    EndUpdate();
}

void TStrings::Move(int from, int to) {
    if (from == to) return;
    if (from < 0 || from >= Count()) IndexError(from);
    if (to < 0 || to >= Count()) IndexError(to);
    BeginUpdate();
    std::string s = Get(from);
    TObject* o = GetObject(from);
    Delete(from);
    InsertObject(to, s, o);
    EndUpdate();
}

int TStrings::CompareStrings(std::string_view a, std::string_view b) const {
    if (caseSensitive_) return a.compare(b) < 0 ? -1 : (a == b ? 0 : 1);
    return CompareText(a, b);
}

int TStrings::IndexOf(std::string_view s) const {
    const int n = Count();
    for (int i = 0; i < n; ++i)
        if (CompareStrings(Get(i), s) == 0) return i;
    return -1;
}

int TStrings::IndexOfName(std::string_view name) const {
    const int n = Count();
    for (int i = 0; i < n; ++i) {
        std::string s = Get(i);
        size_t eq = s.find('=');
        if (eq != std::string::npos && CompareStrings(std::string_view(s).substr(0, eq), name) == 0) return i;
    }
    return -1;
}

int TStrings::IndexOfObject(const TObject* object) const {
    const int n = Count();
    for (int i = 0; i < n; ++i)
        if (GetObject(i) == object) return i;
    return -1;
}

std::string TStrings::Names(int index) const {
    std::string s = Strings(index);
    size_t eq = s.find('=');
    return eq == std::string::npos ? std::string() : s.substr(0, eq);
}

std::string TStrings::Values(std::string_view name) const {
    int i = IndexOfName(name);
    return i < 0 ? std::string() : ValueFromIndex(i);
}

void TStrings::SetValues(std::string_view name, const std::string& value) {
    int i = IndexOfName(name);
    if (!value.empty()) {
        std::string entry = std::string(name) + "=" + value;
        if (i < 0)
            Add(entry);
        else
            Put(i, entry);
    } else if (i >= 0) {
        Delete(i);
    }
}

std::string TStrings::ValueFromIndex(int index) const {
    std::string s = Strings(index);
    size_t eq = s.find('=');
    return eq == std::string::npos ? std::string() : s.substr(eq + 1);
}

std::string TStrings::Text() const {
    std::string out;
    const int n = Count();
    for (int i = 0; i < n; ++i) {
        out += Get(i);
        out += "\r\n";
    }
    return out;
}

void TStrings::SetText(std::string_view text) {
    BeginUpdate();
    Clear();
    size_t pos = 0;
    while (pos < text.size()) {
        size_t end = text.find_first_of("\r\n", pos);
        if (end == std::string_view::npos) {
            Add(std::string(text.substr(pos)));
            break;
        }
        Add(std::string(text.substr(pos, end - pos)));
        pos = end + 1;
        if (text[end] == '\r' && pos < text.size() && text[pos] == '\n') ++pos;
    }
    EndUpdate();
}

std::string TStrings::DelimitedText() const {
    const int n = Count();
    if (n == 1 && Get(0).empty()) return std::string(2, quoteChar_);
    std::string out;
    for (int i = 0; i < n; ++i) {
        std::string s = Get(i);
        bool quote = std::any_of(s.begin(), s.end(),
                                 [&](char c) { return IsBlankOrControl(c) || c == quoteChar_ || c == delimiter_; });
        if (quote) {
            std::string q(1, quoteChar_);
            for (char c : s) {
                q += c;
                if (c == quoteChar_) q += c;
            }
            q += quoteChar_;
            s = std::move(q);
        }
        if (i) out += delimiter_;
        out += s;
    }
    return out;
}

void TStrings::SetDelimitedText(std::string_view text) {
    BeginUpdate();
    Clear();
    size_t p = 0;
    const size_t n = text.size();
    auto skipBlanks = [&] {
        while (p < n && IsBlankOrControl(text[p])) ++p;
    };
    skipBlanks();
    while (p < n) {
        std::string item;
        if (text[p] == quoteChar_) {
            ++p;  // a doubled quote stands for one; an unclosed quote runs to the end
            while (p < n) {
                if (text[p] == quoteChar_) {
                    if (p + 1 < n && text[p + 1] == quoteChar_) {
                        item += quoteChar_;
                        p += 2;
                        continue;
                    }
                    ++p;
                    break;
                }
                item += text[p++];
            }
        } else {
            size_t start = p;
            while (p < n && !IsBlankOrControl(text[p]) && text[p] != delimiter_) ++p;
            item.assign(text.substr(start, p - start));
        }
        Add(item);
        skipBlanks();
        if (p < n && text[p] == delimiter_) {
            if (p + 1 >= n) Add("");
            do ++p;
            while (p < n && IsBlankOrControl(text[p]));
        }
    }
    EndUpdate();
}

std::string TStrings::CommaText() const {
    if (delimiter_ == ',' && quoteChar_ == '"') return DelimitedText();
    TStringList copy;
    copy.Assign(this);
    return copy.DelimitedText();
}

void TStrings::SetCommaText(std::string_view text) {
    char d = delimiter_, q = quoteChar_;
    delimiter_ = ',';
    quoteChar_ = '"';
    try {
        SetDelimitedText(text);
    } catch (...) {
        delimiter_ = d;
        quoteChar_ = q;
        throw;
    }
    delimiter_ = d;
    quoteChar_ = q;
}

void TStrings::BeginUpdate() {
    // Told before counting, so the list still reports the change that begins.
    if (updateCount_ == 0) SetUpdateState(true);
    ++updateCount_;
}

void TStrings::EndUpdate() {
    if (updateCount_ > 0 && --updateCount_ == 0) SetUpdateState(false);
}

bool TStrings::Equals(const TStrings& other) const {
    const int n = Count();
    if (n != other.Count()) return false;
    for (int i = 0; i < n; ++i)
        if (Get(i) != other.Get(i)) return false;
    return true;
}

void TStrings::Assign(const TPersistent* source) {
    if (auto* other = dyn_cast<TStrings>(source)) {
        if (other == this) return;
        BeginUpdate();
        Clear();
        AddStrings(*other);
        EndUpdate();
        return;
    }
    TPersistent::Assign(source);
}

void TStrings::LoadFromFile(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    if (!in) throw EStringListError("Cannot open file " + file.string());
    std::ostringstream ss;
    ss << in.rdbuf();
    SetText(ss.str());
}

void TStrings::SaveToFile(const std::filesystem::path& file) const {
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    if (!out) throw EStringListError("Cannot create file " + file.string());
    out << Text();
    if (!out) throw EStringListError("Cannot write file " + file.string());
}

std::vector<std::string> TStrings::ToVector() const {
    std::vector<std::string> v;
    const int n = Count();
    v.reserve(static_cast<size_t>(n));
    for (int i = 0; i < n; ++i) v.push_back(Get(i));
    return v;
}

// --- TStringList ------------------------------------------------------------

TStringList::~TStringList() {
    OnChange.Clear();
    OnChanging.Clear();
    if (ownsObjects_)
        for (Item& item : items_) TObject::FreeAndNil(item.object);
}

void TStringList::CheckIndex(int index) const {
    if (index < 0 || index >= Count()) IndexError(index);
}

std::string TStringList::Get(int index) const {
    CheckIndex(index);
    return items_[static_cast<size_t>(index)].text;
}

TObject* TStringList::GetObject(int index) const {
    CheckIndex(index);
    return items_[static_cast<size_t>(index)].object;
}

void TStringList::Put(int index, const std::string& s) {
    if (sorted_) throw EStringListError("Operation not allowed on sorted list");
    CheckIndex(index);
    Changing();
    items_[static_cast<size_t>(index)].text = s;
    Changed();
}

void TStringList::PutObject(int index, TObject* object) {
    CheckIndex(index);
    Changing();
    TObject*& slot = items_[static_cast<size_t>(index)].object;
    if (ownsObjects_ && slot != object) TObject::FreeAndNil(slot);
    slot = object;
    Changed();
}

void TStringList::Insert(int index, const std::string& s) {
    if (sorted_) throw EStringListError("Operation not allowed on sorted list");
    if (index < 0 || index > Count()) IndexError(index);
    InsertItem(index, s, nullptr);
}

void TStringList::InsertItem(int index, const std::string& s, TObject* object) {
    Changing();
    items_.insert(items_.begin() + index, Item{s, object});
    Changed();
}

void TStringList::Delete(int index) {
    CheckIndex(index);
    Changing();
    auto it = items_.begin() + index;
    TObject* object = it->object;
    items_.erase(it);
    if (ownsObjects_) TObject::FreeAndNil(object);
    Changed();
}

void TStringList::Clear() {
    if (items_.empty()) return;
    Changing();
    std::vector<Item> old;
    old.swap(items_);
    if (ownsObjects_)
        for (Item& item : old) TObject::FreeAndNil(item.object);
    Changed();
}

int TStringList::Add(const std::string& s) {
    int index = Count();
    if (sorted_ && Find(s, index)) {
        switch (duplicates_) {
            case TDuplicates::dupIgnore: return index;
            case TDuplicates::dupError: throw EStringListError("String list does not allow duplicates");
            case TDuplicates::dupAccept: break;
        }
    }
    InsertItem(index, s, nullptr);
    return index;
}

bool TStringList::Find(std::string_view s, int& index) const {
    // The first of equal entries, so duplicates accepted are found from the front.
    int lo = 0, hi = Count() - 1;
    bool found = false;
    while (lo <= hi) {
        int mid = lo + (hi - lo) / 2;
        int c = CompareStrings(items_[static_cast<size_t>(mid)].text, s);
        if (c < 0) {
            lo = mid + 1;
        } else {
            hi = mid - 1;
            if (c == 0) {
                found = true;
                if (duplicates_ != TDuplicates::dupAccept) lo = mid;
            }
        }
    }
    index = lo;
    return found;
}

int TStringList::IndexOf(std::string_view s) const {
    if (!sorted_) return TStrings::IndexOf(s);
    int index = 0;
    return Find(s, index) ? index : -1;
}

void TStringList::SetSorted(bool on) {
    if (sorted_ == on) return;
    if (on) Sort();
    sorted_ = on;
}

void TStringList::SetCaseSensitive(bool on) {
    if (on == CaseSensitive()) return;
    TStrings::SetCaseSensitive(on);
    if (sorted_) Sort();
}

void TStringList::Sort() {
    CustomSort([](const TStringList& list, int a, int b) {
        return list.CompareStrings(list.items_[static_cast<size_t>(a)].text, list.items_[static_cast<size_t>(b)].text);
    });
}

void TStringList::CustomSort(const std::function<int(const TStringList&, int, int)>& compare) {
    if (items_.size() < 2) return;
    Changing();
    std::vector<int> order(items_.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) { return compare(*this, a, b) < 0; });
    std::vector<Item> sortedItems;
    sortedItems.reserve(items_.size());
    for (int i : order) sortedItems.push_back(std::move(items_[static_cast<size_t>(i)]));
    items_ = std::move(sortedItems);
    Changed();
}

void TStringList::SetUpdateState(bool updating) {
    if (updating)
        Changing();
    else
        Changed();
}

void TStringList::Changing() {
    if (UpdateCount() == 0) OnChanging(this);
}

void TStringList::Changed() {
    if (UpdateCount() == 0) OnChange(this);
}

}  // namespace zb
