// Format: the class library's printf-like text formatting over Variant
// arguments, the way message templates are filled ("%s", "%d", "%5.2f",
// "%1:s", "%*d", "%%").
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/core/Variant.h"

namespace zb {

// Fills `pattern` from `args` in order (or by "%index:"). A conversion that
// does not fit its argument ("%d" for a text), an argument beyond the list or
// an unknown conversion letter throws EConvertError; surplus arguments are
// ignored. Conversions: d u x (integers), e f g n m (numbers), s (texts;
// Empty and Null are empty texts), p (an integer in hexadecimal).
std::string Format(std::string_view pattern, const std::vector<Variant>& args);

}  // namespace zb
