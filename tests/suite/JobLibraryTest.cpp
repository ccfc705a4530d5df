// The job library VTAJ52S.so as a caller meets it: loaded by name, asked for
// a controller, run with the documented arrays, its run found in the database.
#include <dlfcn.h>

#include <gtest/gtest.h>

#include <memory>

#include "platform/core/Exceptions.h"
#include "platform/data/ZbADO.h"
#include "platform/remote/SvrController.h"
#include "support/TestSupport.h"

namespace zb {
namespace {

class JobLibraryTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (FindSqliteOdbcDriver().empty()) GTEST_SKIP() << "no SQLite ODBC driver";
        handle_ = dlopen((test::BuildBinDir() / "VTAJ52S.so").c_str(), RTLD_NOW | RTLD_LOCAL);
        ASSERT_NE(handle_, nullptr) << dlerror();
        get_ = reinterpret_cast<TGetSvrController*>(dlsym(handle_, kGetSvrControllerName));
        ASSERT_NE(get_, nullptr);
        conn_.SetConnectionString(SqliteConnectionString(db_));
        conn_.Open();
        conn_.Execute("CREATE TABLE CUSTA (TA001 VARCHAR(20), TA002 VARCHAR(40), TA003 VARCHAR(80), TA004 VARCHAR(8), TA005 VARCHAR(8))");
        conn_.Execute("INSERT INTO CUSTA VALUES ('B001', 'DEMO', 'a', '', ''), ('B002', 'DEMO', 'b', '', ''),"
                      " ('B003', 'DEMO', 'c', '', ''), ('B002', 'OTHER', 'd', '', '')");
    }
    void TearDown() override {
        conn_.Close();
        if (handle_) dlclose(handle_);
    }

    struct Run {
        std::string row;  // RESULT|MESSAGE|NUMBERTEXT|PRODUCTID of the last recorded run
        std::string lastMessage;
        bool threw = false;
    };
    Run RunJob(const Variant& params) {
        Run r;
        std::unique_ptr<TSvrController> c(get_());
        try {
            c->Run(params);
        } catch (const Exception&) {
            r.threw = true;
        }
        r.lastMessage = c->LastMessage();
        TZbADOQuery q(&conn_);
        q.SetSQLText("SELECT RESULT, MESSAGE, NUMBERTEXT, PRODUCTID FROM ZBJOBRUNS ORDER BY rowid DESC");
        q.Open();
        if (!q.IsEmpty())
            r.row = q.Fields(0).AsString() + "|" + q.Fields(1).AsString() + "|" + q.Fields(2).AsString() + "|" +
                    q.Fields(3).AsString();
        return r;
    }

    test::TempDir dir_;
    std::string db_ = (dir_.Path() / "suite.db").string();
    test::EnvGuard env_{"ZB_SUITE_DB", db_};
    TZbADOConnection conn_;
    void* handle_ = nullptr;
    TGetSvrController* get_ = nullptr;
};

Variant Values(Variant handbooks, const char* from = "20260101", const char* to = "20260131", const char* kinds = "YNNNNY") {
    Variant v = VarArrayCreate({1, 10});
    v[1] = VarArrayOf({Variant(std::string(1, '\x04')), Variant(from), Variant(to)});
    v[2] = std::move(handbooks);
    for (int i = 0; i < 6; ++i) v[3 + i] = Variant(std::string(1, kinds[i]));
    v[9] = Variant("N");
    v[10] = Variant("");
    return v;
}
Variant Range(const char* b, const char* e) { return VarArrayOf({Variant(std::string(1, '\x04')), Variant(b), Variant(e)}); }

Variant Batch(const Variant& values) {
    return VarArrayOf({Variant("20261211000007"), Variant("DEMO"), Variant("admin"), values, Variant("DEMODB"),
                       Variant("202612110001"), Variant(3)});
}

TEST_F(JobLibraryTest, RunsAreRecordedWithTheirOutcome) {
    Run ok = RunJob(Batch(Values(Range("B002", ""))));
    EXPECT_FALSE(ok.threw);
    EXPECT_EQ(ok.lastMessage, "");
    EXPECT_EQ(ok.row, "OK|handbooks 2, dates 20260101-20260131, kinds YNNNNY|202612110001|3");

    Variant list = VarArrayOf({Variant(std::string(1, '\x05')), VarArrayOf({Variant("B001"), Variant("a")}),
                               VarArrayOf({Variant("B003"), Variant("c")}), VarArrayOf({Variant("NONE"), Variant("x")})});
    // The twelve-element form of the other program kinds.
    Variant other = VarArrayOf({Variant("20261211000008"), Variant(""), Variant("DEMO"), Variant("admin"), Variant("DEMODB"),
                                Values(list), Variant(1), Variant("R"), Variant("202612110001"), Variant(3), Variant(1),
                                Variant("936")});
    EXPECT_EQ(RunJob(other).row, "OK|handbooks 2, dates 20260101-20260131, kinds YNNNNY|202612110001|3");
}

TEST_F(JobLibraryTest, BadConditionsFailWithTheirReason) {
    struct Case {
        Variant params;
        const char* says;
    } cases[] = {
        {Variant("junk"), "7 or 12"},
        {Batch(Variant("no values")), "at least 8"},
        {Batch(Values(Range("", ""), "20260201", "20260101")), "end before"},
        {Batch(Values(Range("", ""), "2026-1-1")), "yyyymmdd"},
        {Batch(Values(Range("", ""), "20260101", "20260131", "NNNNNN")), "no transaction kind"},
        {Batch(Values(Variant("B001"))), "neither a range nor a list"},
    };
    for (const auto& c : cases) {
        Run r = RunJob(c.params);
        EXPECT_TRUE(r.threw) << c.says;
        EXPECT_NE(r.lastMessage.find(c.says), std::string::npos) << r.lastMessage;
        EXPECT_EQ(r.row.rfind("FAILED|", 0), 0u) << r.row;
        EXPECT_NE(r.row.find(c.says), std::string::npos) << r.row;
    }
}

}  // namespace
}  // namespace zb
