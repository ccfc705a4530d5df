#include "support/TestSupport.h"

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <unistd.h>

namespace zb::test {

TempDir::TempDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "zbtest-XXXXXX").string();
    if (!mkdtemp(pattern.data())) throw std::runtime_error("cannot create a temporary folder");
    path_ = pattern;
}

TempDir::~TempDir() {
    std::error_code ignored;  // a folder left behind must not fail the test that used it
    std::filesystem::remove_all(path_, ignored);
}

std::filesystem::path TempDir::Write(const std::string& relative, const std::string& content) const {
    auto file = path_ / relative;
    std::filesystem::create_directories(file.parent_path());
    std::ofstream out(file, std::ios::binary);
    out << content;
    return file;
}

EnvGuard::EnvGuard(std::string name, std::optional<std::string> value) : name_(std::move(name)) {
    if (const char* old = std::getenv(name_.c_str())) old_ = old;
    if (value) setenv(name_.c_str(), value->c_str(), 1);
    else unsetenv(name_.c_str());
}

EnvGuard::~EnvGuard() {
    if (old_) setenv(name_.c_str(), old_->c_str(), 1);
    else unsetenv(name_.c_str());
}

TempRegistry::TempRegistry(const std::string& content)
    : file_(dir_.Path() / "registry.ini"), env_("ZB_REGISTRY", file_.string()) {
    Write(content);
}

void TempRegistry::Write(const std::string& content) const { dir_.Write("registry.ini", content); }

std::string ReadFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::filesystem::path BuildBinDir() {
    if (const char* dir = std::getenv("ZB_BUILD_BIN")) return dir;
    char self[4096];
    ssize_t n = readlink("/proc/self/exe", self, sizeof self - 1);
    if (n <= 0) return ".";
    self[n] = 0;
    return std::filesystem::path(self).parent_path();
}

std::filesystem::path SourceDir() {
    if (const char* dir = std::getenv("ZB_SOURCE_DIR")) return dir;
    std::ifstream cache(BuildBinDir().parent_path() / "CMakeCache.txt");
    const std::string key = "CMAKE_HOME_DIRECTORY:INTERNAL=";
    for (std::string line; std::getline(cache, line);)
        if (line.rfind(key, 0) == 0) return line.substr(key.size());
    return ".";
}

}  // namespace zb::test
