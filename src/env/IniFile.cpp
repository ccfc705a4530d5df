// Profile files.
#include "env/IniFile.h"

#include "platform/core/TextUtils.h"
#include "util/LibStrs.h"

#include <fstream>
#include <sstream>

namespace zb {

TIniFile::TIniFile(std::string fileName) : fileName_(std::move(fileName))
{
    std::ifstream in(fileName_, std::ios::binary);
    if (!in)
        return;
    std::ostringstream buffer;
    buffer << in.rdbuf();
    const std::string text = buffer.str();
    std::string_view rest = text;
    if (rest.starts_with("\xEF\xBB\xBF"))
        rest.remove_prefix(3);
    Section* current = nullptr;
    while (!rest.empty()) {
        const size_t eol = rest.find('\n');
        const std::string line = Trim(rest.substr(0, eol));
        rest.remove_prefix(eol == std::string_view::npos ? rest.size() : eol + 1);
        if (line.empty() || line[0] == ';')
            continue;
        if (line.front() == '[' && line.back() == ']') {
            const std::string name = Trim(std::string_view(line).substr(1, line.size() - 2));
            // A repeated section adds to the first one of its name.
            current = nullptr;
            for (Section& s : sections_)
                if (SameText(s.name, name))
                    current = &s;
            if (!current)
                current = &sections_.emplace_back(Section{name, {}});
            continue;
        }
        const size_t eq = line.find('=');
        if (!current || eq == std::string::npos)
            continue;
        std::string key = Trim(std::string_view(line).substr(0, eq));
        std::string value = Trim(std::string_view(line).substr(eq + 1));
        // A value in quotes keeps its blanks, as profile readers do.
        if (value.size() >= 2 && value.front() == '"' && value.back() == '"')
            value = value.substr(1, value.size() - 2);
        current->entries.emplace_back(std::move(key), std::move(value));
    }
}

const TIniFile::Section* TIniFile::Find(std::string_view section) const
{
    for (const Section& s : sections_)
        if (SameText(s.name, section))
            return &s;
    return nullptr;
}

const std::string* TIniFile::FindValue(std::string_view section, std::string_view key) const
{
    if (const Section* s = Find(section))
        for (const auto& [name, value] : s->entries)
            if (SameText(name, key))
                return &value;
    return nullptr;
}

bool TIniFile::SectionExists(std::string_view section) const { return Find(section) != nullptr; }

bool TIniFile::ValueExists(std::string_view section, std::string_view key) const
{
    return FindValue(section, key) != nullptr;
}

std::string TIniFile::ReadString(std::string_view section, std::string_view key, std::string_view def) const
{
    const std::string* value = FindValue(section, key);
    return value ? *value : std::string(def);
}

int TIniFile::ReadInteger(std::string_view section, std::string_view key, int def) const
{
    const std::string* value = FindValue(section, key);
    return value ? StrToIntDef(*value, def) : def;
}

std::vector<std::pair<std::string, std::string>> TIniFile::ReadSectionValues(std::string_view section) const
{
    const Section* s = Find(section);
    return s ? s->entries : std::vector<std::pair<std::string, std::string>>{};
}

}  // namespace zb
