// File and folder names.
#include "platform/os/Paths.h"

#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <system_error>

namespace zb {

namespace fs = std::filesystem;

namespace {

bool IsAnySeparator(char c) { return c == '/' || c == '\\'; }

// Index of the dot that starts the extension, or npos.
size_t ExtensionDot(std::string_view fileName) {
    size_t i = fileName.find_last_of("./");
    return i != std::string_view::npos && fileName[i] == '.' ? i : std::string_view::npos;
}

fs::path PathOf(std::string_view text) { return fs::path(std::string(text)); }

}  // namespace

bool IsPathDelimiter(std::string_view path, size_t index) {
    return index < path.size() && path[index] == PathDelim;
}

std::string IncludeTrailingPathDelimiter(std::string_view path) {
    std::string out(path);
    if (out.empty() || out.back() != PathDelim) out += PathDelim;
    return out;
}

std::string ExcludeTrailingPathDelimiter(std::string_view path) {
    if (!path.empty() && path.back() == PathDelim) path.remove_suffix(1);
    return std::string(path);
}

std::string ExtractFilePath(std::string_view fileName) {
    size_t i = fileName.rfind(PathDelim);
    return i == std::string_view::npos ? std::string() : std::string(fileName.substr(0, i + 1));
}

std::string ExtractFileDir(std::string_view fileName) {
    size_t i = fileName.rfind(PathDelim);
    if (i == std::string_view::npos) return {};
    // The root keeps its "/"; "a//b" loses both.
    if (i > 0 && fileName[i - 1] != PathDelim) return std::string(fileName.substr(0, i));
    return std::string(fileName.substr(0, i + 1));
}

std::string ExtractFileName(std::string_view fileName) {
    size_t i = fileName.rfind(PathDelim);
    return std::string(i == std::string_view::npos ? fileName : fileName.substr(i + 1));
}

std::string ExtractFileExt(std::string_view fileName) {
    size_t dot = ExtensionDot(fileName);
    return dot == std::string_view::npos ? std::string() : std::string(fileName.substr(dot));
}

std::string ChangeFileExt(std::string_view fileName, std::string_view ext) {
    size_t dot = ExtensionDot(fileName);
    std::string out(fileName.substr(0, dot == std::string_view::npos ? fileName.size() : dot));
    out += ext;
    return out;
}

std::string ExtractFileDrive(std::string_view path) {
    if (path.size() >= 2 && std::isalpha(static_cast<unsigned char>(path[0])) && path[1] == ':')
        return std::string(path.substr(0, 2));
    if (path.size() < 2 || !IsAnySeparator(path[0]) || !IsAnySeparator(path[1])) return {};
    // "//server/share": up to the separator after the share name.
    size_t server = path.find_first_of("/\\", 2);
    if (server == std::string_view::npos) return NativePathFromProfile(path);
    size_t share = path.find_first_of("/\\", server + 1);
    return NativePathFromProfile(path.substr(0, share));
}

bool FileExists(std::string_view fileName) {
    if (fileName.empty()) return false;
    std::error_code ec;
    auto st = fs::status(PathOf(fileName), ec);
    return !ec && fs::exists(st) && !fs::is_directory(st);
}

bool DirectoryExists(std::string_view dir) {
    if (dir.empty()) return false;
    std::error_code ec;
    return fs::is_directory(PathOf(dir), ec);
}

bool ForceDirectories(std::string_view dir) {
    if (dir.empty()) return false;
    std::error_code ec;
    fs::create_directories(PathOf(dir), ec);
    return DirectoryExists(dir);
}

std::string ExpandFileName(std::string_view fileName) {
    if (fileName.empty()) return {};
    fs::path p = PathOf(fileName);
    if (p.is_relative()) {
        std::error_code ec;
        fs::path cwd = fs::current_path(ec);
        if (ec) return std::string(fileName);
        p = cwd / p;
    }
    std::string out = p.lexically_normal().string();
    // lexically_normal keeps "a/" but turns "a/." into "a/" as well; the
    // trailing "/" is kept only where the caller wrote one.
    if (fileName.back() != PathDelim && out.size() > 1 && out.back() == PathDelim) out.pop_back();
    return out;
}

std::string GetLongPathName(std::string_view path) {
    if (path.empty()) return {};
    char* resolved = realpath(std::string(path).c_str(), nullptr);
    if (!resolved) return {};
    std::string out(resolved);
    std::free(resolved);
    if (path.back() == PathDelim) out = IncludeTrailingPathDelimiter(out);
    return out;
}

std::string NativePathFromProfile(std::string_view text) {
    std::string out(text);
    for (char& c : out)
        if (c == '\\') c = PathDelim;
    return out;
}

bool IsAbsoluteProfilePath(std::string_view text) {
    if (text.size() >= 2 && std::isalpha(static_cast<unsigned char>(text[0])) && text[1] == ':') return true;
    return text.size() >= 2 && IsAnySeparator(text[0]) && IsAnySeparator(text[1]);
}

bool StartsWithPathDelimiter(std::string_view text) { return !text.empty() && IsAnySeparator(text[0]); }

}  // namespace zb
