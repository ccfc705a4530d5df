// Which installation a form is designed for, and so which profile (client or
// application server) gives its language folder and code pages.
#pragma once

#include "platform/core/ClassInfo.h"

namespace zb {

enum class TDesignType { dtClient, dtServer };
extern const EnumNames DesignTypeNames;  // "dtClient", "dtServer"

}  // namespace zb
