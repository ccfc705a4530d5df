// Loading shared libraries by name.
#include "platform/os/Library.h"

#include "platform/core/TextUtils.h"
#include "platform/os/Module.h"
#include "platform/os/Paths.h"

#include <dlfcn.h>
#include <mutex>

namespace zb {

namespace {

struct SearchFolderList {
    std::mutex lock;
    std::vector<std::string> folders;
};

// The one process-wide list of extra library folders.
SearchFolderList& SearchFolders() {
    static SearchFolderList list;
    return list;
}

thread_local std::string lastError;

void SetLastError(const char* reason, std::string_view fallback) {
    lastError = reason ? reason : std::string(fallback);
}

std::string PlatformFolder() {
    static const std::string folder = ExtractFilePath(ModuleFileName(reinterpret_cast<const void*>(&LoadLibrary)));
    return folder;
}

HMODULE Open(const std::string& file) { return dlopen(file.c_str(), RTLD_NOW | RTLD_LOCAL); }

std::vector<std::string> CandidateFolders() {
    std::vector<std::string> folders = LibrarySearchFolders();
    if (std::string own = PlatformFolder(); !own.empty()) folders.push_back(own);
    return folders;
}

}  // namespace

std::string NativeLibraryName(std::string_view name) {
    std::string ext = ExtractFileExt(name);
    if (SameText(ext, ".dll")) return ChangeFileExt(name, ".so");
    if (ext.empty() && !name.empty() && name.back() != PathDelim) return std::string(name) + ".so";
    return std::string(name);
}

void AddLibrarySearchFolder(std::string_view folder) {
    if (folder.empty()) return;
    std::string dir = IncludeTrailingPathDelimiter(folder);
    auto& list = SearchFolders();
    std::lock_guard guard(list.lock);
    for (const auto& f : list.folders)
        if (f == dir) return;
    list.folders.push_back(std::move(dir));
}

std::vector<std::string> LibrarySearchFolders() {
    auto& list = SearchFolders();
    std::lock_guard guard(list.lock);
    return list.folders;
}

HMODULE LoadLibrary(std::string_view name) {
    std::string file = NativeLibraryName(name);
    if (file.empty()) {
        lastError = "empty library name";
        return nullptr;
    }
    if (HMODULE h = Open(file)) return h;
    SetLastError(dlerror(), file + ": cannot open shared object file");
    if (file.find(PathDelim) != std::string::npos) return nullptr;
    std::string reason = lastError;
    // A file that exists but cannot be loaded says more than "not found".
    bool foundBroken = false;
    for (const auto& folder : CandidateFolders()) {
        std::string path = folder + file;
        if (!FileExists(path)) continue;
        if (HMODULE h = Open(path)) return h;
        if (!foundBroken) {
            SetLastError(dlerror(), path + ": cannot be loaded");
            foundBroken = true;
        }
    }
    if (!foundBroken) lastError = reason;
    return nullptr;
}

void* GetProcAddress(HMODULE module, std::string_view name) {
    if (!module) {
        lastError = "no library loaded";
        return nullptr;
    }
    dlerror();
    void* entry = dlsym(module, std::string(name).c_str());
    if (!entry) SetLastError(dlerror(), "entry " + std::string(name) + " not found");
    return entry;
}

bool FreeLibrary(HMODULE module) { return module && dlclose(module) == 0; }

std::string LastLibraryError() { return lastError; }

TLibrary& TLibrary::operator=(TLibrary&& other) noexcept {
    if (this != &other) {
        Free();
        handle_ = other.Release();
    }
    return *this;
}

bool TLibrary::Load(std::string_view name) {
    Free();
    handle_ = LoadLibrary(name);
    return Loaded();
}

void TLibrary::Free() {
    if (handle_) FreeLibrary(handle_);
    handle_ = nullptr;
}

HMODULE TLibrary::Release() {
    HMODULE h = handle_;
    handle_ = nullptr;
    return h;
}

}  // namespace zb
