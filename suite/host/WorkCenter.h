// The client shell's automation object "PilvoWorkCenter.Manager": what a job
// form asks its host for — version, product, message texts from the suite's
// message table, and the counter service (system information, the result
// database's connection string, simple lookups).
#pragma once

#include <string>

#include "platform/core/Dispatch.h"

namespace zb::suite {

inline constexpr const char* kWorkCenterProgID = "PilvoWorkCenter.Manager";

// The object on the suite database named by the connection string.
// Throws EDatabaseError when the database cannot be opened.
IDispatch* NewWorkCenter(const std::string& connectionString);

}  // namespace zb::suite
