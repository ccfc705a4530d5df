// Facts about this machine, user and process: computer and user name,
// temporary folder, process number and a millisecond clock.
#pragma once

#include <cstdint>
#include <string>

namespace zb {

// The host name; empty when it cannot be read.
std::string GetComputerName();
// The effective user's login name, else $USER; empty when neither is known.
std::string GetUserName();
// TMPDIR when set, else "/tmp/"; always ending in "/".
std::string GetTempPath();
std::uint32_t GetCurrentProcessId();
// Milliseconds of a monotonic clock; the 32-bit form wraps after 49.7 days.
std::uint32_t GetTickCount();
std::uint64_t GetTickCount64();

}  // namespace zb
