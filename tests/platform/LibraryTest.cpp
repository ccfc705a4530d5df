// Module file names and libraries loaded by name.
#include "platform/os/Library.h"
#include "platform/os/Module.h"
#include "platform/os/Paths.h"

#include "support/TestSupport.h"

#include <algorithm>
#include <filesystem>
#include <gtest/gtest.h>

namespace zb {
namespace {

int LocalFunction() { return 1; }

TEST(Module, FileNamesOfTheExecutableAndThePlatformLibrary) {
    std::string exe = ModuleFileName(reinterpret_cast<const void*>(&LocalFunction));
    EXPECT_EQ(ExtractFileName(exe), "test_platform");
    EXPECT_TRUE(FileExists(exe));
    EXPECT_EQ(ThisModuleFileName(), exe);

    std::string platform = ModuleFileName(reinterpret_cast<const void*>(&LoadLibrary));
    EXPECT_EQ(ExtractFileName(platform), "libzbplatform.so");
    EXPECT_EQ(platform.front(), '/');
    EXPECT_TRUE(FileExists(platform));

    EXPECT_EQ(ModuleFileName(nullptr), "");
}

TEST(Module, LibraryModulesByExtension) {
    EXPECT_TRUE(IsLibraryModule("/opt/VTAJ52C.so"));
    EXPECT_TRUE(IsLibraryModule("VTAJ52C.SO"));
    EXPECT_TRUE(IsLibraryModule("c:/x/VTAJ52C.Dll"));
    EXPECT_FALSE(IsLibraryModule("/usr/bin/zbhost"));
    EXPECT_FALSE(IsLibraryModule("libx.so.1"));
    EXPECT_FALSE(IsLibraryModule("so"));
}

TEST(Library, NativeNamesKeepTheBaseName) {
    EXPECT_EQ(NativeLibraryName("Zblanguage.dll"), "Zblanguage.so");
    EXPECT_EQ(NativeLibraryName("VTAJ52S.DLL"), "VTAJ52S.so");
    EXPECT_EQ(NativeLibraryName("ZeRudU5"), "ZeRudU5.so");
    EXPECT_EQ(NativeLibraryName("/opt/x/Lib.so"), "/opt/x/Lib.so");
}

TEST(Library, LoadsByWindowsNameAndCallsEntries) {
    TLibrary lib("zbtestlib.dll");
    ASSERT_TRUE(lib.Loaded()) << LastLibraryError();
    auto* answer = lib.Proc<int()>("ZbTestAnswer");
    auto* twice = lib.Proc<int(int)>("ZbTestTwice");
    ASSERT_NE(answer, nullptr);
    ASSERT_NE(twice, nullptr);
    EXPECT_EQ(answer(), 42);
    EXPECT_EQ(twice(21), 42);

    EXPECT_EQ(lib.Proc("NoSuchEntry"), nullptr);
    EXPECT_NE(LastLibraryError().find("NoSuchEntry"), std::string::npos);

    TLibrary moved(std::move(lib));
    EXPECT_FALSE(lib.Loaded());
    EXPECT_TRUE(moved.Loaded());
    HMODULE raw = moved.Release();
    EXPECT_TRUE(FreeLibrary(raw));
}

TEST(Library, MissingLibrariesFailWithAReason) {
    EXPECT_EQ(LoadLibrary("NoSuchLibrary.dll"), nullptr);
    EXPECT_NE(LastLibraryError().find("NoSuchLibrary.so"), std::string::npos);
    EXPECT_EQ(LoadLibrary(""), nullptr);
    EXPECT_EQ(LoadLibrary("/nowhere/zbtestlib.dll"), nullptr);
    EXPECT_EQ(GetProcAddress(nullptr, "ZbTestAnswer"), nullptr);
    EXPECT_FALSE(FreeLibrary(nullptr));
    TLibrary none("NoSuchLibrary.dll");
    EXPECT_FALSE(none);
}

TEST(Library, RegisteredFoldersAreSearched) {
    test::TempDir dir;
    std::filesystem::copy_file(test::BuildBinDir() / "zbtestlib.so", dir.Path() / "ZbCopied.so");
    EXPECT_EQ(LoadLibrary("ZbCopied.dll"), nullptr);

    AddLibrarySearchFolder(dir.Path().string());
    AddLibrarySearchFolder(dir.Path().string() + "/");
    auto folders = LibrarySearchFolders();
    EXPECT_EQ(std::count(folders.begin(), folders.end(), dir.Path().string() + "/"), 1);

    TLibrary lib("ZbCopied.dll");
    ASSERT_TRUE(lib.Loaded()) << LastLibraryError();
    EXPECT_EQ(lib.Proc<int()>("ZbTestAnswer")(), 42);
}

TEST(Library, AFileThatIsNoLibraryIsReportedAsSuch) {
    test::TempDir dir;
    dir.Write("Broken.so", "not an ELF file");
    AddLibrarySearchFolder(dir.Path().string());
    EXPECT_EQ(LoadLibrary("Broken.dll"), nullptr);
    EXPECT_NE(LastLibraryError().find(dir.Path().string()), std::string::npos) << LastLibraryError();
}

}  // namespace
}  // namespace zb
