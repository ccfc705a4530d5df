// File and folder names, and paths read from profiles.
#include "platform/os/Paths.h"

#include "support/TestSupport.h"

#include <gtest/gtest.h>
#include <unistd.h>

namespace zb {
namespace {

TEST(Paths, TrailingDelimiters) {
    EXPECT_EQ(IncludeTrailingPathDelimiter("/opt/zb"), "/opt/zb/");
    EXPECT_EQ(IncludeTrailingPathDelimiter("/opt/zb/"), "/opt/zb/");
    EXPECT_EQ(IncludeTrailingPathDelimiter(""), "/");
    EXPECT_EQ(ExcludeTrailingPathDelimiter("/opt/zb/"), "/opt/zb");
    EXPECT_EQ(ExcludeTrailingPathDelimiter("/opt/zb"), "/opt/zb");
    EXPECT_EQ(ExcludeTrailingPathDelimiter("/"), "");
}

TEST(Paths, PartsOfAFileName) {
    struct Case {
        const char* name;
        const char* path;
        const char* dir;
        const char* file;
        const char* ext;
    };
    const Case cases[] = {
        {"/opt/zb/VTAJ52C.so", "/opt/zb/", "/opt/zb", "VTAJ52C.so", ".so"},
        {"/VTAJ52C.so", "/", "/", "VTAJ52C.so", ".so"},
        {"VTAJ52S.DLL", "", "", "VTAJ52S.DLL", ".DLL"},
        {"/opt/z.b/file", "/opt/z.b/", "/opt/z.b", "file", ""},
        {"/opt/zb/", "/opt/zb/", "/opt/zb", "", ""},
        {"archive.tar.gz", "", "", "archive.tar.gz", ".gz"},
        {"", "", "", "", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(ExtractFilePath(c.name), c.path);
        EXPECT_EQ(ExtractFileDir(c.name), c.dir);
        EXPECT_EQ(ExtractFileName(c.name), c.file);
        EXPECT_EQ(ExtractFileExt(c.name), c.ext);
    }
    EXPECT_EQ(ChangeFileExt("/a/Zblanguage.dll", ".so"), "/a/Zblanguage.so");
    EXPECT_EQ(ChangeFileExt("/a.b/name", ".lng"), "/a.b/name.lng");
    EXPECT_EQ(ChangeFileExt("x.zip", ""), "x");
}

TEST(Paths, ProfilePathsKeepTheirMeaning) {
    struct Case {
        const char* text;
        const char* native;
        bool absolute;
        const char* drive;
    };
    const Case cases[] = {
        {"C:\\ZEB\\C_PKG\\", "C:/ZEB/C_PKG/", true, "C:"},
        {"d:/lib", "d:/lib", true, "d:"},
        {"E:", "E:", true, "E:"},
        {"\\\\server\\share\\pkg", "//server/share/pkg", true, "//server/share"},
        {"//server/share", "//server/share", true, "//server/share"},
        {"\\Lib\\", "/Lib/", false, ""},  // a single leading separator is read against the base
        {"/opt/zb", "/opt/zb", false, ""},
        {"Lib\\Sub", "Lib/Sub", false, ""},
        {"1:\\x", "1:/x", false, ""},
        {"", "", false, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(NativePathFromProfile(c.text), c.native);
        EXPECT_EQ(IsAbsoluteProfilePath(c.text), c.absolute);
        EXPECT_EQ(IsAbsoluteProfilePath(NativePathFromProfile(c.text)), c.absolute);
        EXPECT_EQ(ExtractFileDrive(c.text), c.drive);
    }
    EXPECT_TRUE(StartsWithPathDelimiter("\\Lib"));
    EXPECT_TRUE(StartsWithPathDelimiter("/Lib"));
    EXPECT_FALSE(StartsWithPathDelimiter("Lib"));
}

TEST(Paths, FilesAndFoldersOnDisk) {
    test::TempDir dir;
    std::string root = IncludeTrailingPathDelimiter(dir.Path().string());
    dir.Write("a/file.txt", "x");
    EXPECT_TRUE(FileExists(root + "a/file.txt"));
    EXPECT_FALSE(FileExists(root + "a"));
    EXPECT_FALSE(FileExists(root + "missing"));
    EXPECT_FALSE(FileExists(""));
    EXPECT_TRUE(DirectoryExists(root + "a/"));
    EXPECT_FALSE(DirectoryExists(root + "a/file.txt"));

    EXPECT_TRUE(ForceDirectories(root + "x/y/z/"));
    EXPECT_TRUE(DirectoryExists(root + "x/y/z"));
    EXPECT_TRUE(ForceDirectories(root + "x/y"));           // already there
    EXPECT_FALSE(ForceDirectories(root + "a/file.txt/b"));  // a file stands in the way
    EXPECT_FALSE(ForceDirectories(""));
}

TEST(Paths, ExpandAndLongNames) {
    test::TempDir dir;
    std::string real = GetLongPathName(dir.Path().string());
    ASSERT_FALSE(real.empty());
    EXPECT_EQ(ExpandFileName(real + "/a/./b/../c"), real + "/a/c");
    EXPECT_EQ(ExpandFileName(real + "/a/"), real + "/a/");
    EXPECT_EQ(ExpandFileName(""), "");

    char cwd[4096];
    ASSERT_NE(getcwd(cwd, sizeof cwd), nullptr);
    EXPECT_EQ(ExpandFileName("x/../y.txt"), IncludeTrailingPathDelimiter(cwd) + "y.txt");

    dir.Write("sub/f", "");
    std::string viaDots = dir.Path().string() + "/sub/../sub/";
    EXPECT_EQ(GetLongPathName(viaDots), real + "/sub/");
    EXPECT_EQ(GetLongPathName(dir.Path().string() + "/none"), "");
}

}  // namespace
}  // namespace zb
