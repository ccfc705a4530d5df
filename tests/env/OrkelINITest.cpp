// Tests of the configuration readers: registry, shared and per-user
// profiles, defaults, server lists, package folders and stored passwords.
#include "env/OrkelINI.h"

#include "platform/core/DateTime.h"
#include "platform/os/SysInfo.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

namespace zb {
namespace {

namespace fs = std::filesystem;

// An installation folder named in the registry, with profile files written on demand.
class Installation {
public:
    explicit Installation(const std::string& extra = "")
    {
        reg_.Write("[HKEY_LOCAL_MACHINE\\Software\\ZEB\\Orkel]\nClientPath=" + Path() + "\nServerPath=" + Path() +
                   "\n" + extra);
    }
    std::string Path() const { return (reg_.Dir().Path() / "inst").string(); }
    std::string Folder() const { return Path() + "/"; }
    void Profile(const std::string& relative, const std::string& text) const { reg_.Dir().Write("inst/" + relative, text); }

private:
    test::TempRegistry reg_;
    test::EnvGuard cp_{"ZB_SYSTEM_CODEPAGE", "936"};
};

TEST(OrkelINI, WithoutRegistryKeyEverythingKeepsItsDefault)
{
    test::TempRegistry reg;
    test::EnvGuard cp("ZB_SYSTEM_CODEPAGE", "1252");
    TOrkelIniC c;
    EXPECT_EQ(c.ErrorCode, "E;000015");
    EXPECT_EQ(c.ClientPath, "");
    EXPECT_EQ(c.ProfileType, "0");
    EXPECT_EQ(c.UserName, "Default");
    EXPECT_EQ(c.SysCodePage, "437");
    EXPECT_EQ(c.UICodePage, "437");
    EXPECT_EQ(c.DBCodePage, "936");
    EXPECT_EQ(c.UIConvertMode, 0);
    EXPECT_TRUE(c.Servers.IsEmpty());
    EXPECT_TRUE(c.WorkDLLPaths.empty());
    TOrkelIniS s;
    EXPECT_EQ(s.ErrorCode, "E;000015");
    EXPECT_TRUE(s.DBSettings.IsEmpty());

    // A key without a path reads nothing and reports nothing.
    reg.Write("[HKEY_LOCAL_MACHINE\\Software\\ZEB\\Orkel]\nProfileType=1\n");
    TOrkelIniC empty;
    EXPECT_EQ(empty.ErrorCode, "");
    EXPECT_EQ(empty.ProfileType, "1");
    EXPECT_EQ(empty.LangType, "");
    EXPECT_TRUE(empty.Servers.IsEmpty());
}

TEST(OrkelINI, ClientDefaultsWithoutProfileFile)
{
    Installation inst;
    TOrkelIniC c;
    EXPECT_EQ(c.ErrorCode, "");
    EXPECT_EQ(c.ClientPath, inst.Folder());
    EXPECT_EQ(c.ProfilePath, inst.Folder());
    EXPECT_EQ(c.IniFileName, inst.Folder() + "OrkelC.ini");
    EXPECT_EQ(c.LangType, "ENG");
    EXPECT_EQ(c.Version, "");
    EXPECT_EQ(c.CreateGifBeforeSendEF, "Y");
    EXPECT_EQ(c.UICodePage, "936");
    EXPECT_EQ(c.DBCodePage, "936");
    EXPECT_FALSE(c.SupportCallBack);
    EXPECT_EQ(c.AutoCheckNewMsg + c.CheckInterval + c.PopupMsg + c.LoginCheck, "1110");
    ASSERT_EQ(VarArrayDimCount(c.Servers), 2);
    EXPECT_EQ(VarArrayHighBound(c.Servers, 2), 0);
    EXPECT_EQ(c.Servers.At({0, 0}), Variant("127.0.0.1"));
    EXPECT_EQ(c.Servers.At({1, 0}), Variant(211));
    EXPECT_EQ(c.WorkDLLPaths, std::vector<std::string>{inst.Folder() + "C_PKG/"});
}

TEST(OrkelINI, ClientProfile)
{
    Installation inst;
    inst.Profile("OrkelC.ini",
                 "[Client Components]\nLangType=CHT\n"
                 "[ProductVersion]\nVersion=5.2\n"
                 "[CodePage]\nUICodePage=950\nDBCodePage=936\n"
                 "[Server Information]\nComputerName= srv1; srv2; \nServerPort=300\nSupportCallBack=yes\n"
                 "[WorkDLLPath]\nPkg=\\Lib\nAbs=D:\\Lib\nRel=sub\\dir\\\nShare=\\\\host\\pkgs\n"
                 "[TaskMessageCenter Setting]\nPopupMsg=0\n");
    TOrkelIniC c;
    EXPECT_EQ(c.LangType, "CHT");
    EXPECT_EQ(c.Version, "5.2");
    EXPECT_EQ(c.UIConvertMode, 2);
    EXPECT_EQ(c.DBConvertMode, 2);
    EXPECT_TRUE(c.SupportCallBack);
    EXPECT_EQ(c.PopupMsg, "0");
    ASSERT_EQ(VarArrayHighBound(c.Servers, 2), 1);
    EXPECT_EQ(c.Servers.At({0, 0}), Variant("srv1"));
    EXPECT_EQ(c.Servers.At({0, 1}), Variant(" srv2"));  // parts are not trimmed
    EXPECT_EQ(c.Servers.At({1, 0}), Variant(300));
    EXPECT_EQ(c.Servers.At({1, 1}), Variant(300));
    EXPECT_EQ(c.WorkDLLPaths, (std::vector<std::string>{inst.Folder() + "Lib/", "D:/Lib/", inst.Folder() + "sub/dir/",
                                                        "//host/pkgs/"}));
}

TEST(OrkelINI, BooleansCodePagesAndBadNumbers)
{
    struct Case {
        std::string value;
        bool on;
    } cases[] = {{"yes", true}, {"True", true}, {"1", true}, {"Y", true}, {"2", false}, {"no", false}, {"", false}};
    Installation inst;
    for (const Case& c : cases) {
        inst.Profile("OrkelC.ini", "[Server Information]\nSupportCallBack=" + c.value + "\nServerPort=abc\n");
        TOrkelIniC ini;  // a new reader sees the file as it is now
        EXPECT_EQ(ini.SupportCallBack, c.on) << c.value;
        EXPECT_EQ(ini.Servers.At({1, 0}), Variant(211));
    }

    struct Modes {
        std::string sys, ui, db;
        int uiMode, dbMode;
    } modes[] = {{"950", "936", "936", 4, 0}, {"936", "936", "950", 0, 1}, {"936", "950", "950", 2, 0},
                 {"1252", "437", "936", 0, 0}};
    for (const Modes& m : modes) {
        test::EnvGuard cp("ZB_SYSTEM_CODEPAGE", m.sys);
        inst.Profile("OrkelC.ini", "[CodePage]\nUICodePage=" + m.ui + "\nDBCodePage=" + m.db + "\n");
        TOrkelIniC ini;
        EXPECT_EQ(ini.UIConvertMode, m.uiMode) << m.sys << m.ui << m.db;
        EXPECT_EQ(ini.DBConvertMode, m.dbMode) << m.sys << m.ui << m.db;
    }
    test::EnvGuard cp("ZB_SYSTEM_CODEPAGE", "950");
    inst.Profile("OrkelC.ini", "");
    EXPECT_EQ(TOrkelIniC().UICodePage, "950");
}

TEST(OrkelINI, PerUserProfiles)
{
    Installation inst("ProfileType=1\n");
    const std::string user = GetUserName().substr(0, 32);
    inst.Profile("OrkelC.ini", "[Client Components]\nLangType=SHARED\n");
    {
        TOrkelIniC c;  // no file in the user's folder: the shared one
        EXPECT_EQ(c.UserName, user);
        EXPECT_EQ(c.ProfilePath, inst.Folder());
        EXPECT_EQ(c.IniFileName, inst.Folder() + "OrkelC.ini");
        EXPECT_EQ(c.LangType, "SHARED");
    }
    inst.Profile("Profile/" + user + "/OrkelC.ini", "[Client Components]\nLangType=MINE\n");
    TOrkelIniC c;
    EXPECT_EQ(c.ProfilePath, inst.Folder() + "Profile/" + user + "/");
    EXPECT_EQ(c.IniFileName, c.ProfilePath + "OrkelC.ini");
    EXPECT_EQ(c.LangType, "MINE");
    EXPECT_EQ(c.WorkDLLPaths, std::vector<std::string>{inst.Folder() + "C_PKG/"}) << "folders stay below the installation";
}

TEST(OrkelINI, NoServerNameKeepsThePackageSectionAsWritten)
{
    Installation inst;
    inst.Profile("OrkelC.ini", "[Server Information]\nComputerName= ; \n[WorkDLLPath]\nPkg=\\Lib\n");
    TOrkelIniC c;
    EXPECT_EQ(c.ErrorCode, "E;000016");
    EXPECT_TRUE(c.Servers.IsEmpty());
    EXPECT_EQ(c.WorkDLLPaths, std::vector<std::string>{"Pkg=\\Lib"});
}

TEST(OrkelINI, ServerDefaults)
{
    Installation inst;
    TOrkelIniS s;
    EXPECT_EQ(s.ErrorCode, "");
    EXPECT_EQ(s.ServerPath, inst.Folder());
    EXPECT_EQ(s.IniFileName, inst.Folder() + "OrkelS.ini");
    ASSERT_EQ(VarArrayDimCount(s.DBSettings), 2);
    EXPECT_EQ(VarArrayHighBound(s.DBSettings, 1), 3);
    EXPECT_EQ(VarArrayHighBound(s.DBSettings, 2), 7);
    const Variant expected[4][8] = {
        {"Pilvo", "sa", "", "MSSQL", "", "", 300, 3000},
        {"PilvoTemp", "sa", "", "PARADOX", "", "PostgreSQL", 300, 3000},
        {"", 211, 1024, "Chinese_Taiwan_Stroke_BIN", Variant(), Variant(), Variant(), Variant()},
        {"EDIDATA", "sa", "", Variant(), Variant(), Variant(), Variant(), Variant()},
    };
    for (int row = 0; row < 4; ++row)
        for (int col = 0; col < 8; ++col) {
            const Variant& cell = s.DBSettings.At({row, col});
            EXPECT_EQ(cell.Type(), expected[row][col].Type()) << row << "," << col;
            EXPECT_EQ(cell, expected[row][col]) << row << "," << col;
        }
    EXPECT_EQ(s.MainDBKind, 0);
    EXPECT_EQ(s.SystemControlAddress, "");
    EXPECT_EQ(s.WorkDLLPaths, std::vector<std::string>{inst.Folder() + "S_PKG/"});
    EXPECT_FALSE(s.SupportCallBack);
}

TEST(OrkelINI, ServerProfile)
{
    Installation inst;
    inst.Profile("OrkelS.ini",
                 "[DBE Setting]\nMainDBType=oracle\nMainServerName=dbhost\nXXXXXX=" + EncodeSQLSa("s3cret") +
                     "\nTempPassword=" + EncodeSQLSa("") + "\nEctPassword=B0986C\nMainConnectionTimeOut=x\n"
                     "OtherSystemControlAddress=ctl2\n"
                     "[DBPasswordCtrl]\nComputerName=  box \nServerPort=5000\nSupportCallBack=TRUE\n"
                     "[ProductVersion]\nVersion=7\n[WorkDLLPath]\nA=pkg\n");
    TOrkelIniS s;
    EXPECT_EQ(s.DBSettings.At({0, 2}), Variant("s3cret"));
    EXPECT_EQ(s.DBSettings.At({1, 2}), Variant(""));
    EXPECT_EQ(s.DBSettings.At({3, 2}), Variant("B0986C")) << "kept as stored";
    EXPECT_EQ(s.DBSettings.At({0, 6}), Variant(300));
    EXPECT_EQ(s.DBSettings.At({2, 0}), Variant("box"));
    EXPECT_EQ(s.DBSettings.At({2, 1}), Variant(5000));
    EXPECT_EQ(s.MainDBKind, 1);
    EXPECT_EQ(s.SystemControlAddress, "dbhost");
    EXPECT_EQ(s.OtherSystemControlAddress, "ctl2");
    EXPECT_TRUE(s.SupportCallBack);
    EXPECT_EQ(s.Version, "7");
    std::vector<std::string> list{"old"};
    s.GetWorkDLLPaths(list);
    EXPECT_EQ(list, std::vector<std::string>{inst.Folder() + "pkg/"});

    inst.Profile("OrkelS.ini", "[DBE Setting]\nMainDBType=Db2\n");
    EXPECT_EQ(TOrkelIniS().MainDBKind, 2);
}

TEST(OrkelINI, PasswordEncoding)
{
    EXPECT_EQ(EncodeSQLSa("abc"), "B0986C");
    EXPECT_EQ(DecodeSQLSa("B0986C"), "abc");
    EXPECT_EQ(DecodeSQLSa("b0986c"), "abc");
    EXPECT_EQ(DecodeSQLSa("B0986C7"), "abc") << "a trailing single character is ignored";
    EXPECT_EQ(DecodeSQLSa(EncodeSQLSa("")), "");
    EXPECT_EQ(DecodeSQLSa(""), "");
    for (const std::string& plain : {std::string("password1234567890"), std::string("p@ss w%rd\xE4\xB8\xAD"), std::string("\x01\xFF", 2)})
        EXPECT_EQ(DecodeSQLSa(EncodeSQLSa(plain)), plain);
    // Position 8 is not rotated at all, position 9 by one again.
    EXPECT_EQ(EncodeSQLSa("aaaaaaaaa").substr(14), "61B0");
}

TEST(OrkelINI, ABadStoredPasswordIsReported)
{
    Installation inst;
    EXPECT_EQ(DecodeSQLSa("B0ZZ6C"), "ZB_Say_Password_Error");
    const std::string text =
        test::ReadFile(inst.Folder() + "Log/Alert_VektoGenerator_" + FormatDateTime("yyyymmdd", Now()) + ".log");
    const std::string dashes(34, '-');
    for (const std::string& part : {dashes + " on " + EncodeSQLSa("DecodeSQLSa") + " " + dashes + "\r\n",
                                    std::string("] 讯息信息:\r\n"), std::string("] Exception is EConvertError\r\n"),
                                    std::string("Message 01: '$ZZ' is not a valid integer value\r\n"),
                                    std::string("] ErrorMessage Count: 1\r\n"),
                                    std::string("] Programer Message: 解析 Sa 时发生错误!\r\n")})
        EXPECT_NE(text.find(part), std::string::npos) << part << "\nin\n" << text;

    inst.Profile("OrkelS.ini", "[DBE Setting]\nTempPassword=nothex\n");
    EXPECT_EQ(TOrkelIniS().DBSettings.At({1, 2}), Variant("ZB_Say_Password_Error"));
}

TEST(OrkelINI, MakeAbsolutePath)
{
    struct Case {
        std::string path, result;
    } cases[] = {
        {"\\Lib\\", "/inst/Lib/"}, {"/Lib/", "/inst/Lib/"},       {"Lib\\x\\", "/inst/Lib/x/"},
        {"D:\\Lib\\", "D:/Lib/"},  {"\\\\srv\\share\\", "//srv/share/"}, {"", "/inst/"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(MakeAbsolutePath(c.path, "/inst/"), c.result) << c.path;
}

}  // namespace
}  // namespace zb
