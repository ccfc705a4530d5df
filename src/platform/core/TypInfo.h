// Reading and writing published properties by name, the way forms are driven
// generically: plans, language files, code conversion and event rerouting.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/core/ClassInfo.h"
#include "platform/core/Object.h"

namespace zb {

// Null when the object is null or no class of its chain publishes the name.
const PropInfo* GetPropInfo(const TObject* object, std::string_view name);
bool IsPublishedProp(const TObject* object, std::string_view name);

// Typed access. Each throws EPropertyError when the property's kind does not
// fit the call, when it is read-only, or when it cannot take the value (an
// enumeration value outside its names, a number outside an integer's range).
// Ordinals cover Integer, Char, Enumeration, Set, and Class (the object's address).
std::int64_t GetOrdProp(const TObject& object, const PropInfo& prop);
void SetOrdProp(TObject& object, const PropInfo& prop, std::int64_t value);
double GetFloatProp(const TObject& object, const PropInfo& prop);
void SetFloatProp(TObject& object, const PropInfo& prop, double value);
std::string GetStrProp(const TObject& object, const PropInfo& prop);
void SetStrProp(TObject& object, const PropInfo& prop, const std::string& value);
TObject* GetObjectProp(const TObject& object, const PropInfo& prop);
void SetObjectProp(TObject& object, const PropInfo& prop, TObject* value);
TMethod GetMethodProp(const TObject& object, const PropInfo& prop);
void SetMethodProp(TObject& object, const PropInfo& prop, const TMethod& value);

// Any kind but Method through a Variant: an enumeration reads as its value's
// name (Boolean as a Boolean), a set as its names joined by ",", a Class as
// its object's address. Writing takes the same forms, and numbers for
// enumerations and sets; a Class property takes only Empty or Null (no object).
// By name: EPropertyError for an unknown property.
Variant GetPropValue(const TObject& object, const PropInfo& prop);
void SetPropValue(TObject& object, const PropInfo& prop, const Variant& value);
Variant GetPropValue(const TObject& object, std::string_view name);
void SetPropValue(TObject& object, std::string_view name, const Variant& value);

// Enumeration and set names. GetEnumValue is -1 for an unknown name
// (compared without regard to case).
std::string GetEnumName(const PropInfo& prop, std::int64_t value);
int GetEnumValue(const PropInfo& prop, std::string_view name);
std::string SetToString(const PropInfo& prop, std::int64_t value, bool brackets = false);
// "[a,b]" or "a,b"; EPropertyError for a name the set does not know.
std::int64_t StringToSet(const PropInfo& prop, std::string_view text);

}  // namespace zb
