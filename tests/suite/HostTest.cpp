// The client shell from outside: its command line, the job it cannot open
// yet, and its automation object made by ProgID in a suite home.
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/data/ZbADO.h"
#include "platform/remote/ComObj.h"
#include "support/TestSupport.h"

extern char** environ;

namespace zb {
namespace {

struct Outcome {
    int status = -1;
    std::string out, err;
};

Outcome Start(const std::vector<std::string>& args) {
    test::TempDir capture;
    std::string outFile = (capture.Path() / "out").string(), errFile = (capture.Path() / "err").string();
    posix_spawn_file_actions_t fa;
    posix_spawn_file_actions_init(&fa);
    posix_spawn_file_actions_addopen(&fa, 1, outFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    posix_spawn_file_actions_addopen(&fa, 2, errFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    std::vector<char*> argv;
    for (const auto& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    Outcome o;
    pid_t pid;
    if (posix_spawn(&pid, argv[0], &fa, nullptr, argv.data(), environ) == 0) waitpid(pid, &o.status, 0);
    posix_spawn_file_actions_destroy(&fa);
    o.out = test::ReadFile(outFile);
    o.err = test::ReadFile(errFile);
    return o;
}

bool FailedWithOneLine(const Outcome& o, const std::string& says) {
    return WIFEXITED(o.status) && WEXITSTATUS(o.status) != 0 && o.err.find(says) != std::string::npos &&
           o.err.find('\n') == o.err.size() - 1;
}

class HostTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (FindSqliteOdbcDriver().empty()) GTEST_SKIP() << "no SQLite ODBC driver";
        Outcome made = Start({(test::BuildBinDir() / "vtaj52-suite-home").string(), home_});
        ASSERT_EQ(made.status, 0) << made.err;
    }
    std::string Host() const { return (test::BuildBinDir() / "vtaj52-host").string(); }

    test::TempDir dir_;
    std::string home_ = (dir_.Path() / "home").string();
    test::EnvGuard registry_{"ZB_REGISTRY", home_ + "/registry.ini"};
    test::EnvGuard noDb_{"ZB_SUITE_DB", std::nullopt};
    test::EnvGuard noConnect_{"ZB_SUITE_CONNECT", std::nullopt};
};

TEST_F(HostTest, CommandLine) {
    Outcome help = Start({Host(), "--help"});
    EXPECT_EQ(help.status, 0);
    for (const char* opt : {"--plugin", "--user", "--company", "--company-db", "--set", "--run-mode", "--modeless",
                            "--click", "--database"})
        EXPECT_NE(help.out.find(opt), std::string::npos) << opt;
    EXPECT_TRUE(FailedWithOneLine(Start({Host(), "--bogus"}), "unknown option"));
    EXPECT_TRUE(FailedWithOneLine(Start({Host(), "--set", "novalue"}), "--set needs NAME=VALUE"));
    EXPECT_TRUE(FailedWithOneLine(Start({Host(), "--run-mode", "x"}), "--run-mode"));
    EXPECT_TRUE(FailedWithOneLine(Start({Host(), "--plugin", "/nonexistent/VTAJ52C.so"}), "cannot load the plug-in"));
    EXPECT_TRUE(FailedWithOneLine(Start({Host(), "--database", "/nonexistent/dir/x.db"}), "cannot open the suite database"));
}

// Until the customs job form exists the plug-in refuses to open the job: the
// shell must say so in one line and fail, not crash or claim success.
TEST_F(HostTest, JobThePlugInCannotOpenIsOneClearLine) {
    Outcome o = Start({Host(), "--set", "chk02a=Y"});
    EXPECT_TRUE(FailedWithOneLine(o, "\"frmBaseBatchClass\"")) << o.err;
    EXPECT_EQ(o.out.find("ResultCode"), std::string::npos);
}

TEST_F(HostTest, WorkCenterAnswersFromTheSuiteDatabase) {
    Variant host = CreateOleObject("PilvoWorkCenter.Manager");
    EXPECT_EQ(host.Get("ProductID").ToInt(), 3);
    EXPECT_EQ(host.Get("VersionType").ToInt(), 1);
    EXPECT_EQ(host.Call("GetMessage", {Variant("E"), Variant("000013")}).ToString(), "作业提交失败! 原因: %s");
    EXPECT_EQ(host.Call("GetMessage", {Variant("E"), Variant("999999")}).ToString(), "[E;999999]");

    Variant counter = host.Get("Com_Counter");
    Variant info = counter.Call("GetSysInfo", {Variant("DEMO")});
    ASSERT_EQ(VarArrayDimCount(info), 2);
    bool found = false;
    for (int i = 0; i <= VarArrayHighBound(info, 2); ++i)
        if (info.At({0, i}).ToString() == "ZEB002") found = info.At({1, i}).ToString() == "演示公司";
    EXPECT_TRUE(found);

    Variant company = VarArrayOf({Variant("DEMO"), Variant("DEMODB")});
    // The result database is the suite database: the ODBC layer opens it.
    TZbADOConnection conn;
    conn.SetConnectionString(counter.Call("GetCounter", {Variant("ResultConnectString"), VarArrayOf({Variant("")}), company}).ToString());
    EXPECT_NO_THROW(conn.Open());
    Variant flag = counter.Call("GetCounter", {Variant("SimpleSQL"),
        VarArrayOf({Variant("SELECT MA003 FROM ZEBINTMA WHERE MA001='StartupPortal' "), Variant("MA003")}), company});
    ASSERT_TRUE(VarIsArray(flag));
    EXPECT_EQ(flag[0][0].ToString(), "N");
    EXPECT_TRUE(counter.Call("GetCounter", {Variant("SimpleSQL"),
        VarArrayOf({Variant("SELECT MA003 FROM ZEBINTMA WHERE MA001='none'"), Variant("MA003")}), company}).IsEmpty());
    // The lookup reads; it never changes the database.
    for (const char* sql : {"DELETE FROM ZEBMS", "SELECT 1; DELETE FROM ZEBMS"})
        EXPECT_THROW(counter.Call("GetCounter", {Variant("SimpleSQL"), VarArrayOf({Variant(sql), Variant("X")}), company}), Exception) << sql;
    EXPECT_THROW(counter.Call("GetCounter", {Variant("NoSuchCounter"), Variant(), company}), Exception);
}

TEST_F(HostTest, ValidatorFindsRowsByKey) {
    Variant validator = CreateOleObject("PilvoWorkCenter.Manager").Get("Com_Validator");
    auto check = [&](const char* table, const Variant& params, Variant& result) {
        std::vector<Variant> args = {Variant(table), Variant("11"), Variant("DEMODB"), params, Variant()};
        bool found = validator.CallRef("CheckValue", args).ToBool();
        result = args[4];
        return found;
    };
    Variant r;
    ASSERT_TRUE(check("ADMMB", VarArrayOf({Variant("vtaj52")}), r));
    EXPECT_EQ(r[0].ToString(), "VTAJ52");
    EXPECT_EQ(r[3].ToString(), "N");  // direct processing allowed
    EXPECT_TRUE(check("ZEBMA", Variant("admin"), r));
    EXPECT_TRUE(check("CUSTA", VarArrayOf({Variant("B12345678901"), Variant("DEMO")}), r));
    EXPECT_FALSE(check("CUSTA", VarArrayOf({Variant("B12345678901"), Variant("OTHER")}), r));
    EXPECT_TRUE(r.IsEmpty());
    EXPECT_FALSE(check("ZEBMA", Variant("admin' OR '1'='1"), r));
    EXPECT_FALSE(check("GENES", VarArrayOf({Variant("none"), Variant("admin"), Variant("VTAJ52")}), r));
    EXPECT_THROW(check("NOSUCH", Variant("x"), r), Exception);
}

}  // namespace
}  // namespace zb
