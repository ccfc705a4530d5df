// The application server across process boundaries: the daemon serving a
// client in this process, and the same object made here by its ProgID, both
// storing into one suite database.
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "support/TestSupport.h"
#include "env/OrkelINI.h"
#include "platform/core/DateTime.h"
#include "platform/core/Exceptions.h"
#include "platform/data/ZbADO.h"
#include "platform/remote/ClientDataSet.h"
#include "platform/remote/ComObj.h"
#include "platform/remote/SocketConnection.h"

extern char** environ;

namespace zb {
namespace {

constexpr const char* kProgID = "ReportCounterS.dmReportCounter";

std::string AppServerProgram() { return (test::BuildBinDir() / "vtaj52-appserver").string(); }

struct RunResult {
    int status = -1;
    std::string out, err;
};

// Runs a program to its end and collects both outputs.
RunResult RunProgram(const std::vector<std::string>& args) {
    int outPipe[2], errPipe[2];
    EXPECT_EQ(pipe(outPipe), 0);
    EXPECT_EQ(pipe(errPipe), 0);
    posix_spawn_file_actions_t fa;
    posix_spawn_file_actions_init(&fa);
    posix_spawn_file_actions_adddup2(&fa, outPipe[1], 1);
    posix_spawn_file_actions_adddup2(&fa, errPipe[1], 2);
    posix_spawn_file_actions_addclose(&fa, outPipe[0]);
    posix_spawn_file_actions_addclose(&fa, errPipe[0]);
    std::vector<char*> argv;
    for (const auto& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    pid_t pid = -1;
    RunResult r;
    if (posix_spawn(&pid, argv[0], &fa, nullptr, argv.data(), environ) != 0) return r;
    posix_spawn_file_actions_destroy(&fa);
    close(outPipe[1]);
    close(errPipe[1]);
    // Small outputs: read the error side after the output side is done.
    char buf[4096];
    ssize_t n;
    while ((n = read(outPipe[0], buf, sizeof buf)) > 0) r.out.append(buf, n);
    while ((n = read(errPipe[0], buf, sizeof buf)) > 0) r.err.append(buf, n);
    close(outPipe[0]);
    close(errPipe[0]);
    waitpid(pid, &r.status, 0);
    return r;
}

// The daemon on a free loopback port, stopped when the test ends.
class Daemon {
public:
    explicit Daemon(const std::string& dbFile) {
        int outPipe[2];
        EXPECT_EQ(pipe(outPipe), 0);
        posix_spawn_file_actions_t fa;
        posix_spawn_file_actions_init(&fa);
        posix_spawn_file_actions_adddup2(&fa, outPipe[1], 1);
        posix_spawn_file_actions_addclose(&fa, outPipe[0]);
        std::vector<std::string> args = {AppServerProgram(), "--port", "0", "--database", dbFile};
        std::vector<char*> argv;
        for (auto& a : args) argv.push_back(a.data());
        argv.push_back(nullptr);
        EXPECT_EQ(posix_spawn(&pid_, argv[0], &fa, nullptr, argv.data(), environ), 0);
        posix_spawn_file_actions_destroy(&fa);
        close(outPipe[1]);
        std::string line;
        char c;
        while (read(outPipe[0], &c, 1) == 1 && c != '\n') line += c;
        close(outPipe[0]);
        auto colon = line.rfind(':');
        if (line.rfind("listening on ", 0) == 0 && colon != std::string::npos) port_ = std::stoi(line.substr(colon + 1));
    }
    ~Daemon() {
        if (pid_ > 0) {
            kill(pid_, SIGTERM);
            int status = 0;
            waitpid(pid_, &status, 0);
        }
    }
    int Port() const { return port_; }

private:
    pid_t pid_ = -1;
    int port_ = 0;
};

// A job parameter array as the option form builds it: environment 1..12,
// captions and values 1..3, and a schedule record behind them.
Variant SampleParams(const std::string& user) {
    Variant env = VarArrayCreate({1, 12});
    env[1] = Variant("VTAJ52");
    env[2] = Variant(12);
    env[3] = Variant(3);
    env[4] = Variant("DEMO");
    env[5] = Variant::Wide(user);
    env[6] = Variant("DEMODB");
    env[7] = Variant::Date(EncodeDate(2026, 3, 4) + EncodeTime(5, 6, 7, 0));
    env[8] = Variant("VTAJ52S.Class1");
    env[9] = Variant("B");
    env[10] = Variant(2);
    env[11] = Variant::Date(EncodeDate(2026, 3, 5) + EncodeTime(10, 30, 15, 0));
    env[12] = Variant(std::string());
    Variant captions = VarArrayCreate({1, 3});
    captions[1] = VarArrayOf({Variant::Wide("日期范围"), Variant("edRange")});
    captions[2] = VarArrayOf({Variant::Wide("记录"), Variant("chkLog")});
    captions[3] = VarArrayOf({Variant::Wide("打印日期"), Variant("edPrintDate")});
    Variant values = VarArrayCreate({1, 3});
    values[1] = VarArrayOf({Variant(std::string(1, '\x04')), Variant("20260101"), Variant("20260131")});
    values[2] = Variant("Y");
    values[3] = Variant(std::string());
    Variant schedule = VarArrayOf({Variant(1), Variant("20260301"), Variant(Null), Variant(0.5)});
    return VarArrayOf({env, captions, values, schedule});
}

class AppServerTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (FindSqliteOdbcDriver().empty()) GTEST_SKIP() << "no SQLite ODBC driver";
        db_ = (dir_.Path() / "suite.db").string();
    }
    Variant InProcessServer() {
        registry_.Write("[HKEY_CLASSES_ROOT\\" + std::string(kProgID) + "]\nLibrary=" +
                        (test::BuildBinDir() / "ReportCounterS.so").string() + "\n");
        return CreateOleObject(kProgID);
    }
    std::string List() {
        RunResult r = RunProgram({AppServerProgram(), "list", "--database", db_});
        EXPECT_EQ(r.status, 0) << r.err;
        return r.out;
    }

    test::TempDir dir_;
    test::TempRegistry registry_;
    std::string db_;
    test::EnvGuard dbEnv_{"ZB_SUITE_DB", (dir_.Path() / "suite.db").string()};
};

int Count(const std::string& text, const std::string& part) {
    int n = 0;
    for (auto p = text.find(part); p != std::string::npos; p = text.find(part, p + 1)) ++n;
    return n;
}

TEST_F(AppServerTest, RequestOverTheSocketAndInProcessAreStoredAlike) {
    std::string today = FormatDateTime("yyyymmdd", Now());
    Variant params = SampleParams("管理员");
    std::string remoteAnswer;
    {
        Daemon daemon(db_);
        ASSERT_GT(daemon.Port(), 0) << "the daemon did not say where it listens";
        TSocketConnection conn;
        conn.SetAddress("127.0.0.1");
        conn.SetPort(daemon.Port());
        conn.SetServerName(kProgID);
        Variant server = conn.AppServer();
        EXPECT_EQ(server.Get("SQLType").ToInt(), 1);  // not SQL Server
        remoteAnswer = server.Call("Request", {params}).ToString();
        // A malformed array is refused with a reason, not stored.
        EXPECT_EQ(server.Call("Request", {Variant("junk")}).ToString(), "ERROR");
        EXPECT_NE(server.Call("ErrorDescript").ToString(), "");
    }
    ASSERT_EQ(remoteAnswer.size(), 14u);
    EXPECT_EQ(remoteAnswer.substr(0, 8), today);

    Variant local = InProcessServer();
    std::string localAnswer = local.Call("Request", {params}).ToString();
    ASSERT_EQ(localAnswer.size(), 14u);
    EXPECT_EQ(localAnswer.substr(0, 8), today);
    EXPECT_GT(localAnswer, remoteAnswer);  // numbered on in the day

    std::string listed = List();
    std::string stored = "\"params\":" + params.ToJson();
    EXPECT_EQ(Count(listed, stored), 2) << listed;
    EXPECT_EQ(Count(listed, "\"jobid\":\""), 2);
    EXPECT_NE(listed.find("\"jobid\":\"" + remoteAnswer + "\""), std::string::npos);
    EXPECT_NE(listed.find("\"jobid\":\"" + localAnswer + "\""), std::string::npos);
    EXPECT_EQ(Count(listed, "\"runmode\":\"2\""), 2);
    EXPECT_EQ(Count(listed, "\"runtime\":\"2026-03-05 10:30:15\""), 2);
    EXPECT_EQ(Count(listed, "\"schedule\":" + VarArrayOf({params[3]}).ToJson()), 2);
    EXPECT_EQ(Count(listed, "\"status\":\"QUEUED\""), 2);
    // The stored array reads back as the very array sent.
    auto p = listed.find(stored);
    ASSERT_NE(p, std::string::npos);
    EXPECT_TRUE(Variant::FromJson(listed.substr(p + 9, params.ToJson().size())) == params);
}

TEST_F(AppServerTest, RegisteredJobCarriesItsOutcome) {
    Variant server = InProcessServer();
    std::string answer = server.Call("Request1", {SampleParams("u1"), Variant("WS01")}).ToString();
    ASSERT_EQ(answer.size(), 14u);
    std::vector<Variant> args = {Variant(answer), Variant("I;000004;done"), Variant::Date(EncodeDate(2026, 3, 6))};
    server.CallRef("UpdateStatus1", args);
    // The status call also follows a failed registration: it must not harm anything.
    std::vector<Variant> failed = {Variant("ERROR"), Variant(""), Variant::Date(Now())};
    EXPECT_NO_THROW(server.CallRef("UpdateStatus1", failed));
    std::string listed = List();
    EXPECT_NE(listed.find("\"jobkind\":\"R\""), std::string::npos) << listed;
    EXPECT_NE(listed.find("\"workstation\":\"WS01\""), std::string::npos);
    EXPECT_NE(listed.find("\"status\":\"FINISHED\",\"messages\":\"I;000004;done\""), std::string::npos);
    EXPECT_NE(listed.find("\"finish_date\":\"2026-03-06 00:00:00\""), std::string::npos);
}

TEST_F(AppServerTest, PlansAreKeptPerUserAndProgram) {
    Variant server = InProcessServer();
    auto plan = [](const std::string& name, const std::string& user, const std::string& values, bool replace) {
        return VarArrayOf({Variant(name), Variant(user), Variant("20260311"), Variant("VTAJ52"),
                           Variant("edA.text;chkB.checked;"), Variant(values), Variant(replace)});
    };
    auto key = [](const std::string& name, const std::string& user) {
        return VarArrayOf({Variant(name), Variant(user), Variant("VTAJ52")});
    };
    const std::string tricky = "it's'; DROP TABLE GENES;--";
    EXPECT_EQ(server.Call("InsertConTable", {plan("月报", "u1", "A|Y", false)}).ToString(), "");
    EXPECT_EQ(server.Call("InsertConTable", {plan(tricky, "u1", "B|N", false)}).ToString(), "");
    EXPECT_EQ(server.Call("InsertConTable", {plan("月报", "u2", "C|N", false)}).ToString(), "");
    // Same key without Replace is refused; with Replace it overwrites.
    EXPECT_NE(server.Call("InsertConTable", {plan("月报", "u1", "X|X", false)}).ToString(), "");
    EXPECT_EQ(server.Call("InsertConTable", {plan("月报", "u1", "D|Y", true)}).ToString(), "");
    EXPECT_NE(server.Call("InsertConTable", {Variant("not an array")}).ToString(), "");

    auto load = [&](const std::string& user) {
        EXPECT_EQ(server.Call("LoadTable", {VarArrayOf({Variant(user), Variant("VTAJ52")})}).ToString(), "");
        auto ds = std::make_unique<TClientDataSet>();
        ds->SetAppServer(server);
        ds->SetProviderName("pvdConSave");
        ds->SetIndexFieldNames("NCONDITION;CREATOR;PROGRAMME");
        ds->Open();
        return ds;
    };
    auto ds = load("u1");
    ASSERT_EQ(ds->RecordCount(), 2);
    ASSERT_TRUE(ds->FindKey({Variant("月报"), Variant("u1"), Variant("VTAJ52")}));
    EXPECT_EQ(ds->FieldByName("VCONDITION").AsString(), "D|Y");
    EXPECT_EQ(ds->FieldByName("SCONDITION").AsString(), "edA.text;chkB.checked;");
    EXPECT_EQ(ds->FieldByName("CREATE_DATE").AsString(), "20260311");
    EXPECT_TRUE(ds->FindKey({Variant(tricky), Variant("u1"), Variant("VTAJ52")}));

    // Renaming onto an existing plan is refused; onto a free name it moves.
    EXPECT_NE(server.Call("ChangeConName", {key(tricky, "u1"), key("月报", "u1")}).ToString(), "");
    EXPECT_EQ(server.Call("ChangeConName", {key(tricky, "u1"), key("季报", "u1")}).ToString(), "");
    EXPECT_NE(server.Call("ChangeConName", {key("none", "u1"), key("other", "u1")}).ToString(), "");
    EXPECT_EQ(server.Call("DeleteConTable", {key("月报", "u1")}).ToString(), "");
    EXPECT_NE(server.Call("DeleteConTable", {key("月报", "u1")}).ToString(), "");

    ds = load("u1");
    ASSERT_EQ(ds->RecordCount(), 1);
    ds->First();
    EXPECT_EQ(ds->FieldByName("NCONDITION").AsString(), "季报");
    ds = load("u2");
    ASSERT_EQ(ds->RecordCount(), 1);
    EXPECT_EQ(ds->FieldByName("VCONDITION").AsString(), "C|N");
}

TEST_F(AppServerTest, RightsComeFromTheUsersRowOrTheDefaultRow) {
    Variant server = InProcessServer();
    auto power = [&](const std::string& user) {
        return server.Call("GetPower", {VarArrayOf({Variant("DEMODB"), Variant(user), Variant("vtaj52"), Variant("")})});
    };
    Variant none = power("nobody");
    ASSERT_EQ(VarArrayLowBound(none, 1), 1);
    ASSERT_EQ(VarArrayHighBound(none, 1), 5);
    EXPECT_EQ(none[1].ToString(), "N,N,N,NNNNNNNN,,");

    TZbADOConnection conn;
    conn.SetConnectionString(SqliteConnectionString(db_));
    conn.Open();
    conn.Execute("INSERT INTO ZBRIGHTS VALUES ('*', '*', 'A,Y,Y,NNNNNNNN,x,y', '', '', '', '')");
    TZbADOQuery q(&conn);
    q.SetSQLText("INSERT INTO ZBRIGHTS VALUES ('u1', 'VTAJ52', 'B,Y,N,NNNNNNYY,p,q', 'r2', 'r3', 'base', :L)");
    q.ParamByName("L").SetAsString(VarArrayOf({Variant(1), Variant("C01")}).ToJson());
    q.ExecSQL();
    conn.Close();
    Variant own = power("u1");
    EXPECT_EQ(own[1].ToString(), "B,Y,N,NNNNNNYY,p,q");
    EXPECT_EQ(own[2].ToString(), "r2");
    EXPECT_EQ(own[4].ToString(), "base");
    EXPECT_TRUE(own[5] == VarArrayOf({Variant(1), Variant("C01")}));
    EXPECT_EQ(power("u9")[1].ToString(), "A,Y,Y,NNNNNNNN,x,y");
}

TEST_F(AppServerTest, DaemonCommandLine) {
    RunResult help = RunProgram({AppServerProgram(), "--help"});
    EXPECT_EQ(help.status, 0);
    for (const char* opt : {"--address", "--allow-remote", "--port", "--database", "--connect", "--idle-timeout", "list"})
        EXPECT_NE(help.out.find(opt), std::string::npos) << opt;

    struct Case {
        std::vector<std::string> args;
        const char* says;
    } cases[] = {
        {{"--bogus"}, "unknown option"},
        {{"frobnicate"}, "unknown command"},
        {{"--port", "70000"}, "--port"},
        {{"--port"}, "--port"},
        {{"--address", "0.0.0.0", "--database", db_}, "--allow-remote"},
        {{"--database", "/nonexistent/folder/x.db", "--port", "0"}, "cannot open the suite database"},
        {{"list", "--connect", "DRIVER=/nonexistent/odbc.so;Database=x"}, "cannot open the suite database"},
    };
    for (const auto& c : cases) {
        std::vector<std::string> args = {AppServerProgram()};
        args.insert(args.end(), c.args.begin(), c.args.end());
        RunResult r = RunProgram(args);
        EXPECT_TRUE(WIFEXITED(r.status) && WEXITSTATUS(r.status) != 0) << c.says;
        EXPECT_NE(r.err.find(c.says), std::string::npos) << r.err;
        EXPECT_EQ(Count(r.err, "\n"), 1) << r.err;
    }
}

// The suite home command: a folder the readers, the ODBC layer and the
// in-process server all find their way in.
TEST(SuiteHomeTest, MakesAHomeTheSuiteRunsIn) {
    if (FindSqliteOdbcDriver().empty()) GTEST_SKIP() << "no SQLite ODBC driver";
    test::TempDir dir;
    std::string home = (dir.Path() / "home").string();
    std::string program = (test::BuildBinDir() / "vtaj52-suite-home").string();
    RunResult made = RunProgram({program, home});
    ASSERT_EQ(made.status, 0) << made.err;
    RunResult again = RunProgram({program, home});
    EXPECT_NE(again.status, 0);
    EXPECT_NE(again.err.find("exists already"), std::string::npos) << again.err;
    EXPECT_EQ(Count(again.err, "\n"), 1);
    EXPECT_NE(RunProgram({program}).status, 0);
    EXPECT_NE(RunProgram({program, "--nonsense", home}).status, 0);

    test::EnvGuard registry("ZB_REGISTRY", home + "/registry.ini");
    test::EnvGuard noDb("ZB_SUITE_DB", std::nullopt);
    test::EnvGuard noConnect("ZB_SUITE_CONNECT", std::nullopt);
    TOrkelIniC clientIni;
    EXPECT_EQ(clientIni.ErrorCode, "");
    EXPECT_EQ(clientIni.ClientPath, home + "/client/");
    ASSERT_EQ(clientIni.WorkDLLPaths.size(), 1u);
    EXPECT_EQ(clientIni.WorkDLLPaths[0], home + "/client/C_PKG/");
    EXPECT_EQ(clientIni.Servers.At({0, 0}).ToString(), "127.0.0.1");
    TOrkelIniS serverIni;
    EXPECT_EQ(serverIni.ServerPath, home + "/server/");
    ASSERT_EQ(serverIni.WorkDLLPaths.size(), 1u);
    EXPECT_EQ(serverIni.WorkDLLPaths[0], home + "/server/S_PKG/");
    for (const char* folder : {"client/MultiLanguage/CHS", "client/Log", "server/Log", "server/S_PKG"})
        EXPECT_TRUE(std::filesystem::is_directory(home + "/" + folder)) << folder;

    TZbADOConnection conn;
    conn.SetConnectionString(SqliteConnectionString(home + "/server/suite.db"));
    conn.Open();
    auto count = [&](const std::string& sql) {
        TZbADOQuery q(&conn);
        q.SetSQLText(sql);
        q.Open();
        return q.Fields(0).AsInteger();
    };
    for (const char* table : {"TMCMD", "TMCMC", "ADMTC", "ADMTD", "ZEBINTMA", "ADMMB", "ZEBMA", "CUSTA", "ZEBMS",
                              "ZEBSYS", "GENES", "ZBJOBS", "ZBRIGHTS"})
        EXPECT_NO_THROW(count(std::string("SELECT COUNT(*) FROM ") + table)) << table;
    // A text for every message code the plug-in reports or shows.
    for (const char* code : {"E;000005", "E;000006", "E;000013", "E;000015", "E;000016", "E;000030", "E;000036",
                             "E;000037", "E;000038", "E;100082", "E;100219", "I;000003", "I;000004", "I;000009",
                             "I;000010", "I;000011", "R;200235", "W;000002", "W;000003", "W;000014"}) {
        TZbADOQuery q(&conn);
        q.SetSQLText("SELECT MS003 FROM ZEBMS WHERE MS001 = :K AND MS002 = :N");
        q.ParamByName("K").SetAsString(std::string(code, 1));
        q.ParamByName("N").SetAsString(std::string(code + 2));
        q.Open();
        EXPECT_EQ(q.RecordCount(), 1) << code;
        EXPECT_FALSE(q.FieldByName("MS003").AsString().empty()) << code;
    }
    EXPECT_EQ(count("SELECT COUNT(*) FROM ADMMB WHERE MB001 = 'VTAJ52'"), 1);
    EXPECT_EQ(count("SELECT COUNT(*) FROM TMCMD JOIN TMCMC ON MC001 = MD001 AND MC002 = MD002 WHERE MC005 = 'VTAJ52' AND MD004 = '6'"), 1);
    conn.Close();

    // The registered server object finds the home's database by itself.
    Variant server = CreateOleObject(kProgID);
    EXPECT_EQ(server.Call("GetPower", {VarArrayOf({Variant("DEMODB"), Variant("admin"), Variant("VTAJ52"), Variant("")})})[1].ToString(),
              "Y,Y,Y,NNNNNNNN,,");
    EXPECT_EQ(server.Call("Request", {SampleParams("admin")}).ToString().size(), 14u);

    // A registered job run on the server from the job library in its package folder.
    std::filesystem::copy_file(test::BuildBinDir() / "VTAJ52S.so", home + "/server/S_PKG/VTAJ52S.so");
    std::string answer = server.Call("Request1", {SampleParams("admin"), Variant("WS")}).ToString();
    Variant values = VarArrayCreate({1, 10});
    values[1] = VarArrayOf({Variant(std::string(1, '\x04')), Variant("20260101"), Variant("20260131")});
    values[2] = VarArrayOf({Variant(std::string(1, '\x04')), Variant(""), Variant("")});
    for (int i = 3; i <= 8; ++i) values[i] = Variant("Y");
    values[9] = Variant("N");
    values[10] = Variant("");
    auto exec = [&](const char* code, const Variant& vals) {
        std::vector<Variant> args = {Variant(answer), Variant(code), Variant(""), Variant("DEMO"), Variant("admin"),
                                     Variant("VTAJ52S.Class1"), Variant("B"), Variant("DEMODB"), vals, Variant(1),
                                     Variant(answer.substr(0, 8) + "0001"), Variant(3)};
        server.CallRef("ExecSvrDLL", args);
    };
    EXPECT_NO_THROW(exec("VTAJ52", values));
    EXPECT_THROW(exec("VTAJ52", Variant("bad")), Exception);
    EXPECT_THROW(exec("../VTAJ52", values), Exception);
    EXPECT_THROW(exec("NOSUCH", values), Exception);
    TZbADOConnection runs;
    runs.SetConnectionString(SqliteConnectionString(home + "/server/suite.db"));
    runs.Open();
    TZbADOQuery q(&runs);
    q.SetSQLText("SELECT RESULT, MESSAGE FROM ZBJOBRUNS WHERE JOBID = :J ORDER BY rowid");
    q.ParamByName("J").SetAsString(answer);
    q.Open();
    ASSERT_EQ(q.RecordCount(), 2);
    EXPECT_EQ(q.FieldByName("RESULT").AsString(), "OK");
    EXPECT_EQ(q.FieldByName("MESSAGE").AsString(), "handbooks 2, dates 20260101-20260131, kinds YYYYYY");
    q.Next();
    EXPECT_EQ(q.FieldByName("RESULT").AsString(), "FAILED");
}

}  // namespace
}  // namespace zb
