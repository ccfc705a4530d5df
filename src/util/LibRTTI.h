// Reading and writing a component's published properties by name, so forms
// can be driven generically ("Caption", "Hint", "Text", "Checked",
// "ItemIndex", "Color", "EditMask", "OnClick", "OnEnter", "OnExit", ...).
// Absent objects, empty names and unknown properties give the neutral result.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/core/Events.h"

namespace zb {

class TObject;

// An empty handler (both halves empty) when there is no such event.
TMethod GetMethodPropByName(const TObject* object, std::string_view name);
// A property of another kind reads as its text form (an enumeration's name, a number).
std::string GetStrPropByName(const TObject* component, std::string_view name);
// 0 when there is no such ordinal property.
std::int64_t GetOrdPropByName(const TObject* control, std::string_view name);

// These do nothing when there is no such property; they throw EPropertyError
// (or EVariantError) when the property cannot take the value.
void SetStrPropByName(TObject* component, std::string_view name, const std::string& value);
void SetOrdPropByName(TObject* object, std::string_view name, std::int64_t value);
void SetMethodPropByName(TObject* object, std::string_view name, const TMethod& handler);

bool HasPropByName(const TObject* component, std::string_view name);

}  // namespace zb
