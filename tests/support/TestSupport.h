// Test fixtures shared by every test executable: temporary folders, files and
// environment variables that are put back when the test ends.
#pragma once

#include <filesystem>
#include <optional>
#include <string>

namespace zb::test {

// A fresh folder under the temporary folder, removed with its contents.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& Path() const { return path_; }
    // Writes `content` to `relative` below the folder, creating folders on the way.
    std::filesystem::path Write(const std::string& relative, const std::string& content) const;

private:
    std::filesystem::path path_;
};

// Sets (or with nullopt, unsets) an environment variable for the lifetime of
// the guard, then restores the previous value.
class EnvGuard {
public:
    EnvGuard(std::string name, std::optional<std::string> value);
    ~EnvGuard();
    EnvGuard(const EnvGuard&) = delete;
    EnvGuard& operator=(const EnvGuard&) = delete;

private:
    std::string name_;
    std::optional<std::string> old_;
};

// A registry file in a fresh folder, named by ZB_REGISTRY while the object
// lives. Content: INI sections that are full key paths, e.g.
// "[HKEY_LOCAL_MACHINE\\Software\\ZEB\\Orkel]\nClientPath=/opt/zb/\n".
class TempRegistry {
public:
    explicit TempRegistry(const std::string& content = "");
    // Replaces the file's content; readers opened afterwards see it.
    void Write(const std::string& content) const;
    const std::filesystem::path& File() const { return file_; }
    // The folder of the file, free for profiles and other files of a test.
    const TempDir& Dir() const { return dir_; }

private:
    TempDir dir_;
    std::filesystem::path file_;
    EnvGuard env_;
};

std::string ReadFile(const std::filesystem::path& path);

// The folder holding the built libraries and programs (ZB_BUILD_BIN, set by CTest).
std::filesystem::path BuildBinDir();

// The source tree (ZB_SOURCE_DIR, set by CTest; else found from the build
// folder's CMake cache). Compiler paths are relative under ccache, so
// __FILE__ cannot tell.
std::filesystem::path SourceDir();

}  // namespace zb::test
