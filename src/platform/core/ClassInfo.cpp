#include "platform/core/ClassInfo.h"

#include <algorithm>
#include <mutex>
#include <unordered_map>

#include "platform/core/Object.h"
#include "platform/core/TextUtils.h"

namespace zb {

const EnumNames BooleanNames = {"False", "True"};

const char* TypeKindName(TypeKind kind) {
    switch (kind) {
        case TypeKind::Integer: return "tkInteger";
        case TypeKind::Char: return "tkChar";
        case TypeKind::Enumeration: return "tkEnumeration";
        case TypeKind::Set: return "tkSet";
        case TypeKind::Float: return "tkFloat";
        case TypeKind::String: return "tkLString";
        case TypeKind::Class: return "tkClass";
        case TypeKind::Method: return "tkMethod";
        case TypeKind::Variant: return "tkVariant";
    }
    return "tkUnknown";
}

bool PropInfo::IsWritable() const {
    switch (Kind) {
        case TypeKind::Integer:
        case TypeKind::Char:
        case TypeKind::Enumeration:
        case TypeKind::Set: return static_cast<bool>(SetOrd);
        case TypeKind::Float: return static_cast<bool>(SetFloat);
        case TypeKind::String: return static_cast<bool>(SetStr);
        case TypeKind::Class: return static_cast<bool>(SetObject);
        case TypeKind::Method: return static_cast<bool>(SetMethod);
        case TypeKind::Variant: return static_cast<bool>(SetVariant);
    }
    return false;
}

// The lookup table of a class: every property of the chain by its name in
// lower case, a class's own properties hiding its ancestors' of the same name.
struct ClassInfo::Index {
    std::vector<const PropInfo*> all;
    std::unordered_map<std::string, const PropInfo*> byName;
};

ClassInfo::ClassInfo(std::string_view name, const ClassInfo* parent, const PropTable* props)
    : name_(name), parent_(parent), props_(props) {}

ClassInfo::~ClassInfo() = default;

bool ClassInfo::InheritsFrom(const ClassInfo& other) const {
    for (const ClassInfo* c = this; c; c = c->parent_)
        if (c == &other) return true;
    return false;
}

bool ClassInfo::InheritsFrom(std::string_view className) const {
    for (const ClassInfo* c = this; c; c = c->parent_)
        if (SameText(c->name_, className)) return true;
    return false;
}

std::vector<std::string> ClassInfo::AncestorNames() const {
    std::vector<std::string> names;
    for (const ClassInfo* c = this; c; c = c->parent_) names.push_back(c->name_);
    return names;
}

const ClassInfo::PropTable& ClassInfo::OwnProperties() const {
    static const PropTable none;
    return props_ ? *props_ : none;
}

const ClassInfo::Index& ClassInfo::GetIndex() const {
    // Class infos are shared by the whole process; the index is built once,
    // the parent's first (under the same lock, hence recursive).
    static std::recursive_mutex mutex;
    std::lock_guard lock(mutex);
    if (index_) return *index_;
    auto index = std::make_unique<Index>();
    if (parent_) {
        const Index& up = parent_->GetIndex();
        index->all = up.all;
        index->byName = up.byName;
    }
    for (const PropInfo& p : OwnProperties()) {
        std::string key = LowerCase(p.Name);
        auto it = index->byName.find(key);
        if (it != index->byName.end()) {
            std::replace(index->all.begin(), index->all.end(), it->second, &p);
            it->second = &p;
        } else {
            index->byName.emplace(std::move(key), &p);
            index->all.push_back(&p);
        }
    }
    index_ = std::move(index);
    return *index_;
}

const PropInfo* ClassInfo::FindProperty(std::string_view name) const {
    if (name.empty()) return nullptr;
    const Index& index = GetIndex();
    auto it = index.byName.find(LowerCase(name));
    return it == index.byName.end() ? nullptr : it->second;
}

const std::vector<const PropInfo*>& ClassInfo::Properties() const { return GetIndex().all; }

namespace {
struct ClassTable {
    std::mutex mutex;
    std::unordered_map<std::string, const ClassInfo*> byName;
};
ClassTable& Classes() {
    static ClassTable* table = new ClassTable;  // outlives every registrar at exit
    return *table;
}
}  // namespace

void RegisterClassInfo(const ClassInfo& info) {
    ClassTable& t = Classes();
    std::lock_guard lock(t.mutex);
    t.byName[LowerCase(info.Name())] = &info;
}

void UnregisterClassInfo(const ClassInfo& info) {
    ClassTable& t = Classes();
    std::lock_guard lock(t.mutex);
    auto it = t.byName.find(LowerCase(info.Name()));
    if (it != t.byName.end() && it->second == &info) t.byName.erase(it);
}

const ClassInfo* FindClassInfo(std::string_view name) {
    ClassTable& t = Classes();
    std::lock_guard lock(t.mutex);
    auto it = t.byName.find(LowerCase(name));
    return it == t.byName.end() ? nullptr : it->second;
}

}  // namespace zb
