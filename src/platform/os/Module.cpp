// The file a piece of code was loaded from.
#include "platform/os/Module.h"

#include "platform/core/TextUtils.h"
#include "platform/os/Paths.h"

#include <dlfcn.h>
#include <filesystem>
#include <link.h>

namespace zb {

namespace {

// The executable's own entry in the loader's list has no name; the kernel
// knows its path.
std::string ExecutableFileName() {
    std::error_code ec;
    auto target = std::filesystem::read_symlink("/proc/self/exe", ec);
    return ec ? std::string() : target.string();
}

}  // namespace

std::string ModuleFileName(const void* addressInsideModule) {
    Dl_info info{};
    link_map* map = nullptr;
    if (!addressInsideModule ||
        dladdr1(addressInsideModule, &info, reinterpret_cast<void**>(&map), RTLD_DL_LINKMAP) == 0)
        return {};
    if (!map || !map->l_name || map->l_name[0] == '\0') return ExecutableFileName();
    // The name as loaded, not with links resolved: a library's file name
    // carries meaning (the program code is taken from it).
    return ExpandFileName(map->l_name);
}

bool IsLibraryModule(std::string_view fileName) {
    std::string ext = ExtractFileExt(fileName);
    return SameText(ext, ".so") || SameText(ext, ".dll");
}

}  // namespace zb
