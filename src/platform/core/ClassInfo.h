// Class info: every class of the class library knows its name, its parent's
// class info and its published properties, so that plans, language files,
// code conversion and event rerouting can reach any control by property name.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/core/Events.h"
#include "platform/core/Variant.h"

namespace zb {

class TObject;
class ClassInfo;

enum class TypeKind : std::uint8_t { Integer, Char, Enumeration, Set, Float, String, Class, Method, Variant };

// "tkInteger", "tkEnumeration", ... as the class library names the kinds.
const char* TypeKindName(TypeKind kind);

// The names of an enumeration's values, in value order. A set property uses
// the names of its element type; value i is bit i of the set.
using EnumNames = std::vector<std::string>;
extern const EnumNames BooleanNames;  // "False", "True"

// One published property. Only the accessors of its kind are set: the
// ordinal pair for Integer, Char, Enumeration and Set, the object pair for
// Class, and so on. A property without a setter is read-only.
struct PropInfo {
    std::string Name;
    TypeKind Kind = TypeKind::Integer;
    std::string TypeName;
    const EnumNames* Names = nullptr;          // Enumeration and Set
    const ClassInfo* PropClass = nullptr;      // Class: what the property holds
    std::int64_t MinValue = INT32_MIN;         // Integer: the values it takes
    std::int64_t MaxValue = INT32_MAX;

    std::function<std::int64_t(const TObject&)> GetOrd;
    std::function<void(TObject&, std::int64_t)> SetOrd;
    std::function<double(const TObject&)> GetFloat;
    std::function<void(TObject&, double)> SetFloat;
    std::function<std::string(const TObject&)> GetStr;
    std::function<void(TObject&, const std::string&)> SetStr;
    std::function<TObject*(const TObject&)> GetObject;
    std::function<void(TObject&, TObject*)> SetObject;
    std::function<TMethod(const TObject&)> GetMethod;
    std::function<void(TObject&, const TMethod&)> SetMethod;
    std::function<Variant(const TObject&)> GetVariant;
    std::function<void(TObject&, const Variant&)> SetVariant;

    bool IsWritable() const;
};

class ClassInfo {
public:
    using PropTable = std::vector<PropInfo>;

    // `props` is the table of the class's own published properties; it is read
    // on first lookup, so it may be initialised after this object.
    ClassInfo(std::string_view name, const ClassInfo* parent, const PropTable* props);
    ~ClassInfo();
    ClassInfo(const ClassInfo&) = delete;
    ClassInfo& operator=(const ClassInfo&) = delete;

    const std::string& Name() const { return name_; }
    const ClassInfo* Parent() const { return parent_; }
    bool InheritsFrom(const ClassInfo& other) const;
    // By class name, without regard to case.
    bool InheritsFrom(std::string_view className) const;
    // This class's name first, then each ancestor's up to "TObject".
    std::vector<std::string> AncestorNames() const;

    // Looks the property up without regard to case, from this class up the chain;
    // null when no class of the chain publishes it.
    const PropInfo* FindProperty(std::string_view name) const;
    // Every published property of the chain, the ancestors' first.
    const std::vector<const PropInfo*>& Properties() const;
    const PropTable& OwnProperties() const;

private:
    struct Index;
    const Index& GetIndex() const;

    std::string name_;
    const ClassInfo* parent_;
    const PropTable* props_;
    mutable std::unique_ptr<Index> index_;
};

// Classes registered by name, for the readers that name a class in a file.
// Every class declared with ZB_PUBLISHED registers itself while its library is
// loaded. FindClassInfo is null for an unknown name (compared without case).
void RegisterClassInfo(const ClassInfo& info);
void UnregisterClassInfo(const ClassInfo& info);
const ClassInfo* FindClassInfo(std::string_view name);

struct ClassRegistrar {
    explicit ClassRegistrar(const ClassInfo& info) : info_(info) { RegisterClassInfo(info); }
    ~ClassRegistrar() { UnregisterClassInfo(info_); }
    const ClassInfo& info_;
};

}  // namespace zb

// Inside a class body, first: names the parent and declares the class info.
//   class TCheckBox : public TButtonControl {
//       ZB_CLASS(TCheckBox, TButtonControl)
//   public: ...
#define ZB_CLASS(Class, Parent)                                                 \
public:                                                                         \
    using inherited = Parent;                                                   \
    static const ::zb::ClassInfo& StaticClassInfo();                            \
    const ::zb::ClassInfo& ClassType() const override { return StaticClassInfo(); } \
    static const ::zb::ClassInfo::PropTable zbPublished_;                       \
                                                                                \
private:

// In the class's source file, at namespace scope, the table of its own
// published properties (the definition has the class's access rights):
//   ZB_PUBLISHED(TCheckBox) {
//       zb::prop::Bool("Checked", &TCheckBox::Checked, &TCheckBox::SetChecked),
//   };
#define ZB_PUBLISHED(Class)                                                     \
    const ::zb::ClassInfo& Class::StaticClassInfo() {                           \
        static const ::zb::ClassInfo info(#Class, &Class::inherited::StaticClassInfo(), &Class::zbPublished_); \
        return info;                                                            \
    }                                                                           \
    static const ::zb::ClassRegistrar zbRegistrar_##Class(Class::StaticClassInfo()); \
    const ::zb::ClassInfo::PropTable Class::zbPublished_ =
