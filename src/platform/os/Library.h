// Loading shared libraries by the names the suite gives them: "X.dll" is the
// file "X.so", looked for where dlopen looks and in the registered folders.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace zb {

using HMODULE = void*;  // null when nothing is loaded

// "X.dll" (any case of ".dll") and "X" -> "X.so"; any other name stays.
// The base name keeps its letter case.
std::string NativeLibraryName(std::string_view name);

// Registers a folder searched for libraries loaded by name (a plug-in adds
// its own folder when it is loaded). Process-wide; a folder is kept once.
void AddLibrarySearchFolder(std::string_view folder);
std::vector<std::string> LibrarySearchFolders();

// Loads a library. A name with a "/" is loaded from that path; a bare name
// is looked for as dlopen looks, then in the registered folders in the order
// they were added, then in the folder of the platform library. Null on
// failure, with the reason in LastLibraryError(). Symbols are bound at once,
// so a library that cannot be used fails here rather than later.
HMODULE LoadLibrary(std::string_view name);
// Null when the handle is null or the entry is missing.
void* GetProcAddress(HMODULE module, std::string_view name);
bool FreeLibrary(HMODULE module);
// The reason of this thread's last failed LoadLibrary or GetProcAddress.
std::string LastLibraryError();

template <typename F>
F* GetProc(HMODULE module, std::string_view name) {
    return reinterpret_cast<F*>(GetProcAddress(module, name));
}

// A loaded library, freed when the object ends.
class TLibrary {
public:
    TLibrary() = default;
    explicit TLibrary(std::string_view name) : handle_(LoadLibrary(name)) {}
    ~TLibrary() { Free(); }
    TLibrary(TLibrary&& other) noexcept : handle_(other.Release()) {}
    TLibrary& operator=(TLibrary&& other) noexcept;
    TLibrary(const TLibrary&) = delete;
    TLibrary& operator=(const TLibrary&) = delete;

    bool Load(std::string_view name);  // frees what was loaded before
    void Free();
    HMODULE Release();  // the caller now frees the handle

    bool Loaded() const { return handle_ != nullptr; }
    explicit operator bool() const { return Loaded(); }
    HMODULE Handle() const { return handle_; }
    void* Proc(std::string_view name) const { return GetProcAddress(handle_, name); }
    template <typename F>
    F* Proc(std::string_view name) const { return GetProc<F>(handle_, name); }

private:
    HMODULE handle_ = nullptr;
};

}  // namespace zb
