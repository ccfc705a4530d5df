// The registry kept in an INI file.
#include "platform/os/Registry.h"

#include "platform/core/TextUtils.h"

#include <charconv>
#include <cstdlib>
#include <fstream>
#include <set>
#include <sstream>

namespace zb {

namespace {

struct Section {
    HKEY root;
    std::string path;  // normalised: names joined by "\", no leading or trailing "\"
    std::vector<std::pair<std::string, std::string>> entries;
};

struct RootName {
    std::string_view name;
    HKEY key;
};

constexpr RootName kRoots[] = {
    {"HKEY_LOCAL_MACHINE", HKEY_LOCAL_MACHINE}, {"HKLM", HKEY_LOCAL_MACHINE},
    {"HKEY_CURRENT_USER", HKEY_CURRENT_USER},   {"HKCU", HKEY_CURRENT_USER},
    {"HKEY_CLASSES_ROOT", HKEY_CLASSES_ROOT},   {"HKCR", HKEY_CLASSES_ROOT},
    {"HKEY_USERS", HKEY_USERS},                 {"HKU", HKEY_USERS},
};

// Drops empty names, so "\a\\b\" and "a\b" are the same key.
std::string NormalizeKeyPath(std::string_view path) {
    std::string out;
    while (!path.empty()) {
        size_t cut = path.find('\\');
        std::string name = Trim(path.substr(0, cut));
        if (!name.empty()) {
            if (!out.empty()) out += '\\';
            out += name;
        }
        if (cut == std::string_view::npos) break;
        path.remove_prefix(cut + 1);
    }
    return out;
}

bool ParseSectionName(std::string_view text, HKEY& root, std::string& path) {
    std::string full = NormalizeKeyPath(text);
    std::string_view head = std::string_view(full).substr(0, full.find('\\'));
    for (const auto& r : kRoots) {
        if (SameText(head, r.name)) {
            root = r.key;
            path = head.size() < full.size() ? full.substr(head.size() + 1) : std::string();
            return true;
        }
    }
    return false;
}

std::string ReadWholeFile(const std::filesystem::path& file) {
    if (file.empty()) return {};
    std::ifstream in(file, std::ios::binary);
    if (!in) return {};
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::vector<Section> LoadSections() {
    std::string text = ReadWholeFile(RegistryFileName());
    std::string_view rest = text;
    if (rest.starts_with("\xEF\xBB\xBF")) rest.remove_prefix(3);
    std::vector<Section> sections;
    bool inKnownSection = false;
    while (!rest.empty()) {
        size_t eol = rest.find('\n');
        std::string_view line = rest.substr(0, eol);
        rest.remove_prefix(eol == std::string_view::npos ? rest.size() : eol + 1);
        if (line.ends_with('\r')) line.remove_suffix(1);
        std::string trimmed = Trim(line);
        if (trimmed.empty() || trimmed[0] == ';') continue;
        if (trimmed.front() == '[' && trimmed.back() == ']') {
            Section s;
            inKnownSection = ParseSectionName(std::string_view(trimmed).substr(1, trimmed.size() - 2), s.root, s.path);
            if (inKnownSection) sections.push_back(std::move(s));
            continue;
        }
        size_t eq = line.find('=');
        if (!inKnownSection || eq == std::string_view::npos) continue;
        sections.back().entries.emplace_back(Trim(line.substr(0, eq)), std::string(line.substr(eq + 1)));
    }
    return sections;
}

// The first name of `path` below `key`, when `path` lies below it.
bool ChildOf(std::string_view key, std::string_view path, std::string_view& child) {
    if (key.empty()) {
        if (path.empty()) return false;
    } else {
        if (path.size() <= key.size() || path[key.size()] != '\\' || !SameText(path.substr(0, key.size()), key))
            return false;
        path.remove_prefix(key.size() + 1);
    }
    child = path.substr(0, path.find('\\'));
    return true;
}

}  // namespace

std::filesystem::path RegistryFileName() {
    auto env = [](const char* name) -> std::string {
        const char* value = std::getenv(name);
        return value ? value : "";
    };
    if (std::string file = env("ZB_REGISTRY"); !file.empty()) return file;
    if (std::string config = env("XDG_CONFIG_HOME"); !config.empty())
        return std::filesystem::path(config) / "zb" / "registry.ini";
    if (std::string home = env("HOME"); !home.empty())
        return std::filesystem::path(home) / ".config" / "zb" / "registry.ini";
    return {};
}

void TRegistry::SetRootKey(HKEY root) {
    CloseKey();
    root_ = root;
}

std::string TRegistry::ResolvePath(std::string_view key) const {
    if (!key.starts_with('\\') && open_ && !currentPath_.empty())
        return NormalizeKeyPath(currentPath_ + "\\" + std::string(key));
    return NormalizeKeyPath(key);
}

bool TRegistry::OpenKeyReadOnly(std::string_view key) {
    std::string path = ResolvePath(key);
    bool found = false;
    std::vector<std::pair<std::string, std::string>> values;
    std::vector<std::string> subKeys;
    std::set<std::string> seenValues, seenKeys;  // upper-cased names
    for (auto& s : LoadSections()) {
        if (s.root != root_) continue;
        std::string_view child;
        if (SameText(s.path, path)) {
            found = true;
            for (auto& e : s.entries)
                if (seenValues.insert(UpperCase(e.first)).second)
                    values.push_back(std::move(e));  // the first entry of a name wins
        } else if (ChildOf(path, s.path, child)) {
            found = true;
            if (seenKeys.insert(UpperCase(child)).second) subKeys.emplace_back(child);
        }
    }
    if (!found) return false;
    open_ = true;
    currentPath_ = std::move(path);
    values_ = std::move(values);
    subKeys_ = std::move(subKeys);
    return true;
}

bool TRegistry::KeyExists(std::string_view key) const {
    std::string path = ResolvePath(key);
    for (const auto& s : LoadSections()) {
        std::string_view child;
        if (s.root == root_ && (SameText(s.path, path) || ChildOf(path, s.path, child))) return true;
    }
    return false;
}

void TRegistry::CloseKey() {
    open_ = false;
    currentPath_.clear();
    values_.clear();
    subKeys_.clear();
}

const std::pair<std::string, std::string>* TRegistry::FindValue(std::string_view name) const {
    for (const auto& v : values_)
        if (SameText(v.first, name)) return &v;
    return nullptr;
}

bool TRegistry::ValueExists(std::string_view name) const { return FindValue(name) != nullptr; }

std::string TRegistry::ReadString(std::string_view name) const {
    const auto* v = FindValue(name);
    return v ? v->second : std::string();
}

int TRegistry::ReadInteger(std::string_view name) const {
    const auto* v = FindValue(name);
    if (!v) throw ERegistryException("Failed to get data for '" + std::string(name) + "'");
    std::string text = Trim(v->second);
    int value = 0;
    const char* first = text.data();
    if (!text.empty() && text[0] == '+') ++first;
    auto [end, ec] = std::from_chars(first, text.data() + text.size(), value);
    if (text.empty() || ec != std::errc() || end != text.data() + text.size())
        throw ERegistryException("Invalid data type for '" + std::string(name) + "'");
    return value;
}

std::vector<std::string> TRegistry::GetValueNames() const {
    std::vector<std::string> names;
    names.reserve(values_.size());
    for (const auto& v : values_) names.push_back(v.first);
    return names;
}

std::vector<std::string> TRegistry::GetKeyNames() const { return subKeys_; }

}  // namespace zb
