// Names for the values of integer types (colours such as clRed, cursors such
// as crHourGlass), registered per type name, so texts in files may give an
// integer property by name. TColor and TCursor are registered here.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace zb {

using IntIdents = std::vector<std::pair<std::string, std::int64_t>>;

// Registers the names of the type `typeName` (compared without case). The
// table must outlive its registration (a static); registering again for the
// same type replaces the table.
void RegisterIntegerConsts(std::string_view typeName, const IntIdents& idents);
void UnregisterIntegerConsts(std::string_view typeName);
// True when the type has registered names.
bool HasIntegerConsts(std::string_view typeName);
// The value of `ident` (compared without case) among the names of `typeName`.
bool IdentToInt(std::string_view typeName, std::string_view ident, std::int64_t& value);
// The first name of `value`; false when it has none.
bool IntToIdent(std::string_view typeName, std::int64_t value, std::string& ident);

const IntIdents& ColorIdents();   // "TColor"
const IntIdents& CursorIdents();  // "TCursor"

}  // namespace zb
