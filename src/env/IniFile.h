// A profile file (INI) read once when the reader is made: sections and keys
// matched without regard to case, values trimmed, the first of repeated keys
// winning, lines starting with ";" ignored. A missing file has no sections.
#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace zb {

class TIniFile {
public:
    explicit TIniFile(std::string fileName);

    const std::string& FileName() const { return fileName_; }
    bool SectionExists(std::string_view section) const;
    bool ValueExists(std::string_view section, std::string_view key) const;
    std::string ReadString(std::string_view section, std::string_view key, std::string_view def) const;
    // `def` when the value is absent or not a decimal integer.
    int ReadInteger(std::string_view section, std::string_view key, int def) const;
    // The entries of a section in file order, as name and value.
    std::vector<std::pair<std::string, std::string>> ReadSectionValues(std::string_view section) const;

private:
    struct Section {
        std::string name;
        std::vector<std::pair<std::string, std::string>> entries;
    };
    const Section* Find(std::string_view section) const;
    const std::string* FindValue(std::string_view section, std::string_view key) const;

    std::string fileName_;
    std::vector<Section> sections_;
};

}  // namespace zb
