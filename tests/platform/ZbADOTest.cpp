// Database access over ODBC against a temporary SQLite database: named
// parameters bound (never pasted), rows and fields, execute, transactions,
// the DBMS name, and the errors of each step.
#include "platform/data/ZbADO.h"

#include "support/TestSupport.h"

#include <gtest/gtest.h>

namespace zb {
namespace {

TEST(SqlParameters, NamesOutsideLiteralsBecomeMarkers) {
    struct Case {
        const char* sql;
        const char* text;
        std::vector<std::string> names;
    };
    const Case cases[] = {
        {"SELECT * FROM T WHERE A = :A AND B=:b_2", "SELECT * FROM T WHERE A = ? AND B=?", {"A", "b_2"}},
        {"VALUES (:X, ':X', :X)", "VALUES (?, ':X', ?)", {"X", "X"}},
        {"WHERE A = 'it''s :no' AND B = :YES", "WHERE A = 'it''s :no' AND B = ?", {"YES"}},
        {"SELECT \"a:b\", [c:d] FROM T -- :E\n WHERE F = :F /* :G */", "SELECT \"a:b\", [c:d] FROM T -- :E\n WHERE F = ? /* :G */", {"F"}},
        {"SELECT x::int, ':', : , :1 FROM T", "SELECT x::int, ':', : , ? FROM T", {"1"}},
        {"WHERE A = 'unterminated :P", "WHERE A = 'unterminated :P", {}},
        {"SELECT TIME ':' || :T", "SELECT TIME ':' || ?", {"T"}},
    };
    for (const Case& c : cases) {
        const ParsedSql p = ParseSqlParameters(c.sql);
        EXPECT_EQ(p.text, c.text) << c.sql;
        EXPECT_EQ(p.names, c.names) << c.sql;
    }
}

TEST(SqlParameters, ConnectionValuesAreBracedWhenNeeded) {
    EXPECT_EQ(OdbcConnectionValue("/tmp/x.db"), "/tmp/x.db");
    EXPECT_EQ(OdbcConnectionValue("/tmp/a;b.db"), "{/tmp/a;b.db}");
    EXPECT_EQ(OdbcConnectionValue("a}b"), "{a}}b}");
    EXPECT_EQ(OdbcConnectionValue(" x"), "{ x}");
}

class ZbADOTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (FindSqliteOdbcDriver().empty()) GTEST_SKIP() << "the SQLite ODBC driver is not installed";
        conn_.SetConnectionString(SqliteConnectionString((dir_.Path() / "suite test.db").string()));
        conn_.SetLoginPrompt(false);
        conn_.Open();
        conn_.Execute("CREATE TABLE ADMTC (TC001 VARCHAR(14) PRIMARY KEY, TC008 VARCHAR(200), FLAG INTEGER, "
                      "AMOUNT DOUBLE, CREATED TIMESTAMP)");
    }

    std::int64_t Insert(const Variant& key, const Variant& text, const Variant& flag) {
        TZbADOQuery q(&conn_);
        q.SetSQLText("INSERT INTO ADMTC (TC001, TC008, FLAG) VALUES (:TC001, :TC008, :FLAG)");
        q.ParamByName("TC001").SetValue(key);
        q.ParamByName("tc008").SetValue(text);
        q.ParamByName("FLAG").SetValue(flag);
        return q.ExecSQL();
    }

    test::TempDir dir_;
    TZbADOConnection conn_;
};

TEST_F(ZbADOTest, NamedParametersCarryValuesAsTheyAre) {
    EXPECT_TRUE(conn_.Connected());
    EXPECT_EQ(conn_.DbmsName(), "SQLite");
    EXPECT_FALSE(conn_.IsSqlServer());

    // Quotes, a ':' and SQL of its own in a value are data, nothing else.
    const std::string hostile = "O'Brien said \"x\" :TC001'); DROP TABLE ADMTC; --";
    EXPECT_EQ(Insert(Variant("20240131000001"), Variant(hostile), Variant(1)), 1);
    EXPECT_EQ(Insert(Variant("20240131000002"), Variant::Wide("处理完毕! 海关"), Variant(std::int64_t{1} << 40)), 1);
    EXPECT_EQ(Insert(Variant("20240131000003"), Variant(Null), Variant()), 1);

    TZbADOQuery q(&conn_);
    // The ':' inside the literal stays text; the named parameter is bound.
    q.SetSQLText("SELECT TC001, TC008, FLAG, 'a:b' AS LIT FROM ADMTC WHERE TC001 LIKE :DAY || '%' ORDER BY TC001");
    ASSERT_EQ(q.ParamCount(), 1);
    q.ParamByName("DAY").SetAsString("20240131");
    q.Open();
    EXPECT_EQ(q.RecordCount(), 3);
    EXPECT_EQ(q.FieldByName("tc008").AsString(), hostile);
    EXPECT_EQ(q.FieldByName("FLAG").AsInteger(), 1);
    EXPECT_EQ(q.FieldByName("FLAG").Value().Type(), VarType::Integer);
    EXPECT_EQ(q.FieldByName("LIT").AsString(), "a:b");
    q.Next();
    EXPECT_EQ(q.FieldByName("TC008").AsString(), "处理完毕! 海关");
    EXPECT_EQ(q.FieldByName("FLAG").AsInteger(), std::int64_t{1} << 40);
    q.Next();
    EXPECT_TRUE(q.FieldByName("TC008").IsNull());
    EXPECT_TRUE(q.FieldByName("FLAG").Value().IsNull());
    EXPECT_EQ(q.FieldByName("FLAG").AsInteger(), 0);
    q.Next();
    EXPECT_TRUE(q.Eof());

    // Rows are read-only; the connection is free for other statements at once.
    EXPECT_THROW(q.Edit(), EDatabaseError);
    EXPECT_EQ(conn_.Execute("SELECT COUNT(*) FROM ADMTC"), conn_.Execute("SELECT COUNT(*) FROM ADMTC"));
    TZbADOQuery count(&conn_);
    count.SetSQLText("SELECT COUNT(*) AS N FROM ADMTC WHERE TC008 = :T");
    count.ParamByName("T").SetValue(Variant(hostile));
    count.Open();
    EXPECT_EQ(count.FieldByName("N").AsInteger(), 1);
}

TEST_F(ZbADOTest, ExecuteReportsRowsAndOtherTypesRoundTrip) {
    for (int i = 1; i <= 3; ++i) Insert(Variant("K" + std::to_string(i)), Variant("t"), Variant(i));
    TZbADOQuery q(&conn_);
    q.SetSQLText("UPDATE ADMTC SET FLAG = FLAG + :STEP, AMOUNT = :AMOUNT, CREATED = :WHEN WHERE FLAG >= :MIN");
    q.ParamByName("STEP").SetAsInteger(10);
    q.ParamByName("AMOUNT").SetValue(Variant(12.5));
    q.ParamByName("WHEN").SetValue(Variant::Date(45322.5));  // 2024-01-31 12:00
    q.ParamByName("MIN").SetAsInteger(2);
    EXPECT_EQ(q.ExecSQL(), 2);
    EXPECT_EQ(q.RowsAffected(), 2);
    q.ParamByName("MIN").SetAsInteger(100);
    EXPECT_EQ(q.ExecSQL(), 0);

    // Changing the text keeps the values of parameters that remain.
    q.SetSQLText("SELECT FLAG, AMOUNT, CREATED FROM ADMTC WHERE FLAG >= :MIN ORDER BY FLAG");
    EXPECT_EQ(q.ParamByName("MIN").Value().ToInt(), 100);
    EXPECT_EQ(q.FindParam("STEP"), nullptr);
    q.ParamByName("MIN").SetAsInteger(12);
    q.Open();
    ASSERT_EQ(q.RecordCount(), 2);
    EXPECT_EQ(q.FieldByName("FLAG").AsInteger(), 12);
    EXPECT_DOUBLE_EQ(q.FieldByName("AMOUNT").AsFloat(), 12.5);
    EXPECT_EQ(q.FieldByName("CREATED").Value().Type(), VarType::DateTime);
    EXPECT_DOUBLE_EQ(q.FieldByName("CREATED").Value().ToFloat(), 45322.5);
}

TEST_F(ZbADOTest, TransactionsCommitOrRollBack) {
    conn_.BeginTrans();
    EXPECT_TRUE(conn_.InTransaction());
    Insert(Variant("R1"), Variant("rolled back"), Variant(1));
    conn_.RollbackTrans();
    conn_.BeginTrans();
    Insert(Variant("C1"), Variant("kept"), Variant(1));
    conn_.CommitTrans();
    EXPECT_THROW(conn_.CommitTrans(), EDatabaseError);
    TZbADOQuery q(&conn_);
    q.SetSQLText("SELECT TC001 FROM ADMTC");
    q.Open();
    ASSERT_EQ(q.RecordCount(), 1);
    EXPECT_EQ(q.FieldByName("TC001").AsString(), "C1");
}

TEST_F(ZbADOTest, FailuresAreDatabaseErrors) {
    TZbADOQuery q(&conn_);
    q.SetSQLText("SELECT * FROM ADMTC WHERE TC001 = :KEY");
    EXPECT_THROW(q.ParamByName("OTHER"), EDatabaseError);
    q.SetSQLText("SELECT * FROM NO_SUCH_TABLE");
    try {
        q.Open();
        FAIL();
    } catch (const EDatabaseError& e) {
        EXPECT_NE(std::string(e.what()).find("no such table"), std::string::npos) << e.what();
    }
    EXPECT_FALSE(q.Active());
    q.SetSQLText("INSERT INTO ADMTC (TC001) VALUES (:K)");
    q.ParamByName("K").SetValue(VarArrayOf({Variant(1)}));
    EXPECT_THROW(q.ExecSQL(), EDatabaseError);  // an array is no parameter value
    q.ParamByName("K").SetAsString("dup");
    q.ExecSQL();
    EXPECT_THROW(q.ExecSQL(), EDatabaseError);  // the primary key refuses the second
    EXPECT_THROW(conn_.Execute("DELETE FROM ADMTC WHERE TC001 = :K"), EDatabaseError);

    TZbADOQuery orphan;
    orphan.SetSQLText("SELECT 1");
    EXPECT_THROW(orphan.Open(), EDatabaseError);

    conn_.Close();
    EXPECT_FALSE(conn_.Connected());
    EXPECT_THROW(q.Open(), EDatabaseError);
    EXPECT_THROW(conn_.DbmsName(), EDatabaseError);

    EXPECT_THROW(SqliteConnectionString("/tmp/a;b.db"), EDatabaseError);  // would open "/tmp/a"
    TZbADOConnection missing;
    EXPECT_THROW(missing.Open(), EDatabaseError);  // no connection string
    missing.SetConnectionString("DRIVER=/nonexistent/libnodriver.so;Database=/tmp/x.db");
    EXPECT_THROW(missing.Open(), EDatabaseError);
    EXPECT_FALSE(missing.Connected());
}

}  // namespace
}  // namespace zb
