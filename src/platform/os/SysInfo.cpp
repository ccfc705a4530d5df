// Facts about this machine, user and process.
#include "platform/os/SysInfo.h"

#include "platform/os/Paths.h"

#include <cstdlib>
#include <ctime>
#include <pwd.h>
#include <unistd.h>
#include <vector>

namespace zb {

std::string GetComputerName() {
    char name[256] = {};
    if (gethostname(name, sizeof name - 1) != 0) return {};
    return name;
}

std::string GetUserName() {
    long size = sysconf(_SC_GETPW_R_SIZE_MAX);
    std::vector<char> buffer(size > 0 ? static_cast<size_t>(size) : 16384);
    passwd entry{};
    passwd* found = nullptr;
    if (getpwuid_r(geteuid(), &entry, buffer.data(), buffer.size(), &found) == 0 && found && found->pw_name &&
        *found->pw_name)
        return found->pw_name;
    const char* user = std::getenv("USER");
    return user ? user : "";
}

std::string GetTempPath() {
    const char* dir = std::getenv("TMPDIR");
    return IncludeTrailingPathDelimiter(dir && *dir ? dir : "/tmp");
}

std::uint32_t GetCurrentProcessId() { return static_cast<std::uint32_t>(getpid()); }

std::uint64_t GetTickCount64() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<std::uint64_t>(now.tv_sec) * 1000u + static_cast<std::uint64_t>(now.tv_nsec) / 1000000u;
}

std::uint32_t GetTickCount() { return static_cast<std::uint32_t>(GetTickCount64()); }

}  // namespace zb
