// File and folder names: native paths ("/"), folder texts ending in "/", and
// reading the Windows-style paths written in profile files.
#pragma once

#include <string>
#include <string_view>

namespace zb {

inline constexpr char PathDelim = '/';

bool IsPathDelimiter(std::string_view path, size_t index);  // index 0-based
// "" gives "/", like the class library.
std::string IncludeTrailingPathDelimiter(std::string_view path);
// Removes one trailing "/".
std::string ExcludeTrailingPathDelimiter(std::string_view path);

// "/a/b/c.txt": path "/a/b/", directory "/a/b", name "c.txt", extension ".txt".
std::string ExtractFilePath(std::string_view fileName);
std::string ExtractFileDir(std::string_view fileName);
std::string ExtractFileName(std::string_view fileName);
// The extension with its dot; empty when the name has none.
std::string ExtractFileExt(std::string_view fileName);
// Replaces the extension (or appends `ext` when there is none); `ext` keeps its dot.
std::string ChangeFileExt(std::string_view fileName, std::string_view ext);
// The drive of a profile path: "C:" of "C:/x", "//server/share" of
// "//server/share/x"; empty for any other path.
std::string ExtractFileDrive(std::string_view path);

// True for an existing file that is not a folder.
bool FileExists(std::string_view fileName);
bool DirectoryExists(std::string_view dir);
// Creates the folder and every missing parent; false when it cannot.
bool ForceDirectories(std::string_view dir);
// Absolute against the current folder, with "." and ".." resolved by text
// (symbolic links are left as they are). A trailing "/" is kept.
std::string ExpandFileName(std::string_view fileName);
// The canonical form of an existing path (links resolved); empty when the
// path does not exist. A trailing "/" is kept.
std::string GetLongPathName(std::string_view path);

// A path written in a profile: every "\" is read as "/". A drive letter
// keeps its place ("C:\x" -> "C:/x") and a network share becomes
// "//server/share/x"; on this system they name nothing that exists, but they
// keep counting as absolute, so such settings are not joined to a base folder.
std::string NativePathFromProfile(std::string_view text);
// True for a drive letter ("C:", "c:/x", "C:\x") or a network share
// ("\\server\share", "//server/share"). A single leading separator does not
// make a profile path absolute: the profile reads it against its base folder.
bool IsAbsoluteProfilePath(std::string_view text);
// True when the text starts with "/" or "\".
bool StartsWithPathDelimiter(std::string_view text);

}  // namespace zb
