// The file a piece of code was loaded from: the executable or a shared library.
#pragma once

#include <string>
#include <string_view>

namespace zb {

// Full path of the module (executable or shared library) holding `address`;
// empty when the address lies in no loaded module.
std::string ModuleFileName(const void* addressInsideModule);

// True when the name's extension is ".so" or ".dll", without regard to case.
bool IsLibraryModule(std::string_view fileName);

namespace {
// Full path of the module that includes this header: every module that
// calls it gets its own copy of the anchor, so the plug-in finds its own
// file and not the platform library's.
[[maybe_unused]] inline std::string ThisModuleFileName() {
    static const char anchor = 0;
    return ModuleFileName(&anchor);
}
}  // namespace

}  // namespace zb
