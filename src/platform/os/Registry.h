// The registry, read-only, kept in an INI file whose sections are full key
// paths ("[HKEY_LOCAL_MACHINE\Software\ZEB\Orkel]") and entries Name=Value.
#pragma once

#include "platform/core/Exceptions.h"

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace zb {

ZB_DECLARE_EXCEPTION(ERegistryException, Exception);

using HKEY = std::uint32_t;
inline constexpr HKEY HKEY_CLASSES_ROOT = 0x80000000;
inline constexpr HKEY HKEY_CURRENT_USER = 0x80000001;
inline constexpr HKEY HKEY_LOCAL_MACHINE = 0x80000002;
inline constexpr HKEY HKEY_USERS = 0x80000003;

// The file behind the registry: ZB_REGISTRY, else
// $XDG_CONFIG_HOME/zb/registry.ini, else $HOME/.config/zb/registry.ini.
// Empty when none of these can be formed.
std::filesystem::path RegistryFileName();

// One reader of the registry file. The file is read afresh every time a key
// is opened or looked for; an open key keeps the values it had then.
// A missing or unreadable file holds no keys.
class TRegistry {
public:
    TRegistry() = default;  // root HKEY_CURRENT_USER, as the class library does
    explicit TRegistry(HKEY root) : root_(root) {}

    HKEY RootKey() const { return root_; }
    void SetRootKey(HKEY root);  // closes the open key

    // Key paths use "\" between names, compared without regard to case. A path
    // starting with "\" is taken from the root; any other from the open key
    // (from the root when none is open). A key exists when a section names it
    // or any key below it.
    bool OpenKeyReadOnly(std::string_view key);
    bool KeyExists(std::string_view key) const;
    void CloseKey();
    // The open key's path below the root, without a leading "\"; empty when closed.
    const std::string& CurrentPath() const { return currentPath_; }
    bool HasOpenKey() const { return open_; }

    // Values of the open key; names compared without regard to case.
    bool ValueExists(std::string_view name) const;
    // A missing value reads as an empty text.
    std::string ReadString(std::string_view name) const;
    // Throws ERegistryException for a missing value or one that is no integer.
    int ReadInteger(std::string_view name) const;
    std::vector<std::string> GetValueNames() const;
    // Names of the keys directly below the open key, in file order.
    std::vector<std::string> GetKeyNames() const;

private:
    std::string ResolvePath(std::string_view key) const;
    const std::pair<std::string, std::string>* FindValue(std::string_view name) const;

    HKEY root_ = HKEY_CURRENT_USER;
    bool open_ = false;
    std::string currentPath_;
    std::vector<std::pair<std::string, std::string>> values_;
    std::vector<std::string> subKeys_;
};

}  // namespace zb
