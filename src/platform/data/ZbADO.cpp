// ODBC connections and parameterised queries over unixODBC.
#include "platform/data/ZbADO.h"

#include <cmath>
#include <cstdlib>
#include <filesystem>

#include <sql.h>
#include <sqlext.h>

#include "platform/core/DateTime.h"
#include "platform/core/TextUtils.h"

namespace zb {

// ---- statement texts ----------------------------------------------------------

namespace {

bool IsNameChar(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_';
}

}  // namespace

ParsedSql ParseSqlParameters(std::string_view sql) {
    ParsedSql out;
    out.text.reserve(sql.size());
    std::size_t i = 0;
    auto copyUntil = [&](std::size_t end) {
        out.text.append(sql.substr(i, end - i));
        i = end;
    };
    while (i < sql.size()) {
        const char c = sql[i];
        if (c == '\'' || c == '"' || c == '[') {
            // Quoted: up to the closing quote; a doubled quote stays inside.
            const char close = c == '[' ? ']' : c;
            std::size_t j = i + 1;
            for (;;) {
                j = sql.find(close, j);
                if (j == std::string_view::npos) {
                    j = sql.size();
                    break;
                }
                if (close != ']' && j + 1 < sql.size() && sql[j + 1] == close) {
                    j += 2;
                    continue;
                }
                ++j;
                break;
            }
            copyUntil(j);
        } else if (c == '-' && i + 1 < sql.size() && sql[i + 1] == '-') {
            const std::size_t j = sql.find('\n', i);
            copyUntil(j == std::string_view::npos ? sql.size() : j);
        } else if (c == '/' && i + 1 < sql.size() && sql[i + 1] == '*') {
            const std::size_t j = sql.find("*/", i + 2);
            copyUntil(j == std::string_view::npos ? sql.size() : j + 2);
        } else if (c == ':' && i + 1 < sql.size() && sql[i + 1] == ':') {
            copyUntil(i + 2);
        } else if (c == ':' && i + 1 < sql.size() && IsNameChar(sql[i + 1])) {
            std::size_t j = i + 1;
            while (j < sql.size() && IsNameChar(sql[j])) ++j;
            out.names.emplace_back(sql.substr(i + 1, j - i - 1));
            out.text.push_back('?');
            i = j;
        } else {
            out.text.push_back(c);
            ++i;
        }
    }
    return out;
}

std::string FindSqliteOdbcDriver() {
    namespace fs = std::filesystem;
    std::error_code ec;
    if (const char* env = std::getenv("ZB_SQLITE_ODBC_DRIVER"); env && *env && fs::is_regular_file(env, ec))
        return env;
    static const char* const folders[] = {
        "/usr/lib/x86_64-linux-gnu/odbc", "/usr/lib/aarch64-linux-gnu/odbc", "/usr/lib/i386-linux-gnu/odbc",
        "/usr/lib/odbc",                  "/usr/lib64/odbc",                 "/usr/local/lib/odbc",
        "/usr/lib/x86_64-linux-gnu",      "/usr/lib64",                      "/usr/lib",
        "/usr/local/lib",
    };
    for (const char* folder : folders) {
        const fs::path candidate = fs::path(folder) / "libsqlite3odbc.so";
        if (fs::is_regular_file(candidate, ec)) return candidate.string();
    }
    return {};
}

std::string OdbcConnectionValue(std::string_view value) {
    const bool plain = value.find_first_of(";{}") == std::string_view::npos &&
                       (value.empty() || (value.front() != ' ' && value.back() != ' '));
    if (plain) return std::string(value);
    std::string out = "{";
    for (char c : value) {
        out.push_back(c);
        if (c == '}') out.push_back('}');
    }
    out.push_back('}');
    return out;
}

std::string SqliteConnectionString(const std::string& databaseFile) {
    const std::string driver = FindSqliteOdbcDriver();
    if (driver.empty()) throw EDatabaseError("The SQLite ODBC driver (libsqlite3odbc.so) is not installed");
    // The SQLite driver reads its own attributes and knows no braces, so a
    // file name it would cut short is refused here rather than opening some other file.
    if (databaseFile.find_first_of(";{}") != std::string::npos)
        throw EDatabaseError("The SQLite database file name may not contain ';', '{' or '}': " + databaseFile);
    return "DRIVER=" + OdbcConnectionValue(driver) + ";Database=" + databaseFile + ";";
}

// ---- diagnostics --------------------------------------------------------------

namespace {

std::string Diagnostics(SQLSMALLINT type, SQLHANDLE handle) {
    std::string text;
    for (SQLSMALLINT rec = 1; rec <= 10; ++rec) {
        SQLCHAR state[6] = {};
        SQLINTEGER native = 0;
        SQLCHAR message[1024] = {};
        SQLSMALLINT len = 0;
        const SQLRETURN rc = SQLGetDiagRec(type, handle, rec, state, &native, message, sizeof message, &len);
        if (!SQL_SUCCEEDED(rc)) break;
        if (!text.empty()) text += "; ";
        text += "[" + std::string(reinterpret_cast<char*>(state)) + "] " + reinterpret_cast<char*>(message);
    }
    return text.empty() ? "no diagnostics" : text;
}

void Check(SQLRETURN rc, SQLSMALLINT type, SQLHANDLE handle, const std::string& what) {
    if (SQL_SUCCEEDED(rc)) return;
    throw EDatabaseError(what + ": " + Diagnostics(type, handle));
}

}  // namespace

// ---- connection ---------------------------------------------------------------

struct TZbADOConnection::Handles {
    SQLHENV env = SQL_NULL_HENV;
    SQLHDBC dbc = SQL_NULL_HDBC;
    bool connected = false;

    ~Handles() {
        if (connected) SQLDisconnect(dbc);
        if (dbc != SQL_NULL_HDBC) SQLFreeHandle(SQL_HANDLE_DBC, dbc);
        if (env != SQL_NULL_HENV) SQLFreeHandle(SQL_HANDLE_ENV, env);
    }
};

TZbADOConnection::TZbADOConnection() = default;

TZbADOConnection::~TZbADOConnection() { Close(); }

bool TZbADOConnection::Connected() const { return handles_ && handles_->connected; }

void TZbADOConnection::Open() {
    if (Connected()) return;
    if (connectionString_.empty()) throw EDatabaseError("Missing ConnectionString");
    auto h = std::make_unique<Handles>();
    if (!SQL_SUCCEEDED(SQLAllocHandle(SQL_HANDLE_ENV, SQL_NULL_HANDLE, &h->env)))
        throw EDatabaseError("Cannot allocate an ODBC environment");
    Check(SQLSetEnvAttr(h->env, SQL_ATTR_ODBC_VERSION, reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3), 0),
          SQL_HANDLE_ENV, h->env, "ODBC version");
    Check(SQLAllocHandle(SQL_HANDLE_DBC, h->env, &h->dbc), SQL_HANDLE_ENV, h->env, "ODBC connection");
    SQLCHAR out[1024];
    SQLSMALLINT outLen = 0;
    std::string text = connectionString_;
    const SQLRETURN rc =
        SQLDriverConnect(h->dbc, nullptr, reinterpret_cast<SQLCHAR*>(text.data()), static_cast<SQLSMALLINT>(text.size()),
                         out, sizeof out, &outLen, SQL_DRIVER_NOPROMPT);
    Check(rc, SQL_HANDLE_DBC, h->dbc, "Cannot connect to the database");
    h->connected = true;
    handles_ = std::move(h);
    inTransaction_ = false;
}

void TZbADOConnection::Close() {
    if (handles_ && handles_->connected && inTransaction_) SQLEndTran(SQL_HANDLE_DBC, handles_->dbc, SQL_ROLLBACK);
    inTransaction_ = false;
    handles_.reset();
}

TZbADOConnection::Handles& TZbADOConnection::Native() {
    if (!Connected()) throw EDatabaseError("The connection is not open");
    return *handles_;
}

std::string TZbADOConnection::DbmsName() {
    Handles& h = Native();
    SQLCHAR name[256] = {};
    SQLSMALLINT len = 0;
    Check(SQLGetInfo(h.dbc, SQL_DBMS_NAME, name, sizeof name, &len), SQL_HANDLE_DBC, h.dbc, "DBMS name");
    return reinterpret_cast<char*>(name);
}

bool TZbADOConnection::IsSqlServer() { return StartsText("Microsoft SQL Server", DbmsName()); }

std::int64_t TZbADOConnection::Execute(std::string_view sql) {
    TZbADOQuery q(this);
    q.SetSQLText(std::string(sql));
    if (q.ParamCount() > 0) throw EDatabaseError("Execute takes no parameters; use a query");
    return q.ExecSQL();
}

void TZbADOConnection::BeginTrans() {
    Handles& h = Native();
    if (inTransaction_) throw EDatabaseError("A transaction is already active");
    Check(SQLSetConnectAttr(h.dbc, SQL_ATTR_AUTOCOMMIT, reinterpret_cast<SQLPOINTER>(SQL_AUTOCOMMIT_OFF), 0),
          SQL_HANDLE_DBC, h.dbc, "Begin transaction");
    inTransaction_ = true;
}

void TZbADOConnection::CommitTrans() {
    Handles& h = Native();
    if (!inTransaction_) throw EDatabaseError("No transaction is active");
    Check(SQLEndTran(SQL_HANDLE_DBC, h.dbc, SQL_COMMIT), SQL_HANDLE_DBC, h.dbc, "Commit");
    inTransaction_ = false;
    SQLSetConnectAttr(h.dbc, SQL_ATTR_AUTOCOMMIT, reinterpret_cast<SQLPOINTER>(SQL_AUTOCOMMIT_ON), 0);
}

void TZbADOConnection::RollbackTrans() {
    Handles& h = Native();
    if (!inTransaction_) throw EDatabaseError("No transaction is active");
    Check(SQLEndTran(SQL_HANDLE_DBC, h.dbc, SQL_ROLLBACK), SQL_HANDLE_DBC, h.dbc, "Rollback");
    inTransaction_ = false;
    SQLSetConnectAttr(h.dbc, SQL_ATTR_AUTOCOMMIT, reinterpret_cast<SQLPOINTER>(SQL_AUTOCOMMIT_ON), 0);
}

// ---- query --------------------------------------------------------------------

namespace {

struct Statement {
    SQLHSTMT h = SQL_NULL_HSTMT;
    ~Statement() {
        if (h != SQL_NULL_HSTMT) SQLFreeHandle(SQL_HANDLE_STMT, h);
    }
};

// Storage for one bound parameter; lives until the statement has run.
struct BoundValue {
    std::string text;
    SQLBIGINT integer = 0;
    double real = 0;
    SQL_TIMESTAMP_STRUCT stamp{};
    SQLLEN indicator = 0;
};

void Bind(SQLHSTMT stmt, SQLUSMALLINT position, const TParameter& p, BoundValue& b) {
    const Variant& v = p.Value();
    SQLRETURN rc = SQL_SUCCESS;
    switch (v.Type()) {
    case VarType::Empty:
    case VarType::Null:
        b.indicator = SQL_NULL_DATA;
        rc = SQLBindParameter(stmt, position, SQL_PARAM_INPUT, SQL_C_CHAR, SQL_VARCHAR, 1, 0, nullptr, 0, &b.indicator);
        break;
    case VarType::Boolean:
    case VarType::Integer:
        b.integer = v.Type() == VarType::Boolean ? (v.ToBool() ? 1 : 0) : v.ToInt();
        rc = SQLBindParameter(stmt, position, SQL_PARAM_INPUT, SQL_C_SBIGINT, SQL_BIGINT, 0, 0, &b.integer, 0,
                              nullptr);
        break;
    case VarType::Float:
        b.real = v.ToFloat();
        rc = SQLBindParameter(stmt, position, SQL_PARAM_INPUT, SQL_C_DOUBLE, SQL_DOUBLE, 0, 0, &b.real, 0, nullptr);
        break;
    case VarType::DateTime: {
        const DateParts d = DecodeDateTime(v.ToFloat());
        b.stamp.year = static_cast<SQLSMALLINT>(d.year);
        b.stamp.month = static_cast<SQLUSMALLINT>(d.month);
        b.stamp.day = static_cast<SQLUSMALLINT>(d.day);
        b.stamp.hour = static_cast<SQLUSMALLINT>(d.hour);
        b.stamp.minute = static_cast<SQLUSMALLINT>(d.minute);
        b.stamp.second = static_cast<SQLUSMALLINT>(d.second);
        b.stamp.fraction = static_cast<SQLUINTEGER>(d.millisecond) * 1000000u;
        rc = SQLBindParameter(stmt, position, SQL_PARAM_INPUT, SQL_C_TYPE_TIMESTAMP, SQL_TYPE_TIMESTAMP, 23, 3,
                              &b.stamp, sizeof b.stamp, nullptr);
        break;
    }
    case VarType::String:
    case VarType::WideString:
        b.text = v.Text();
        b.indicator = static_cast<SQLLEN>(b.text.size());
        rc = SQLBindParameter(stmt, position, SQL_PARAM_INPUT, SQL_C_CHAR, SQL_VARCHAR,
                              b.text.empty() ? 1 : b.text.size(), 0, b.text.data(),
                              static_cast<SQLLEN>(b.text.size()), &b.indicator);
        break;
    default:
        throw EDatabaseError("Parameter " + p.Name() + " cannot take a value of type " + VarTypeName(v.Type()));
    }
    Check(rc, SQL_HANDLE_STMT, stmt, "Parameter " + p.Name());
}

Variant ReadColumn(SQLHSTMT stmt, SQLUSMALLINT col, SQLSMALLINT sqlType) {
    SQLLEN ind = 0;
    switch (sqlType) {
    case SQL_BIT: {
        unsigned char b = 0;
        Check(SQLGetData(stmt, col, SQL_C_BIT, &b, sizeof b, &ind), SQL_HANDLE_STMT, stmt, "Read");
        return ind == SQL_NULL_DATA ? Variant(Null) : Variant(b != 0);
    }
    case SQL_TINYINT:
    case SQL_SMALLINT:
    case SQL_INTEGER:
    case SQL_BIGINT: {
        SQLBIGINT i = 0;
        Check(SQLGetData(stmt, col, SQL_C_SBIGINT, &i, sizeof i, &ind), SQL_HANDLE_STMT, stmt, "Read");
        return ind == SQL_NULL_DATA ? Variant(Null) : Variant(static_cast<std::int64_t>(i));
    }
    case SQL_REAL:
    case SQL_FLOAT:
    case SQL_DOUBLE:
    case SQL_DECIMAL:
    case SQL_NUMERIC: {
        double d = 0;
        Check(SQLGetData(stmt, col, SQL_C_DOUBLE, &d, sizeof d, &ind), SQL_HANDLE_STMT, stmt, "Read");
        return ind == SQL_NULL_DATA ? Variant(Null) : Variant(d);
    }
    case SQL_TYPE_DATE:
    case SQL_TYPE_TIME:
    case SQL_TYPE_TIMESTAMP: {
        SQL_TIMESTAMP_STRUCT ts{};
        Check(SQLGetData(stmt, col, SQL_C_TYPE_TIMESTAMP, &ts, sizeof ts, &ind), SQL_HANDLE_STMT, stmt, "Read");
        if (ind == SQL_NULL_DATA) return Variant(Null);
        double date = 0;
        if (sqlType != SQL_TYPE_TIME && !TryEncodeDate(ts.year, ts.month, ts.day, date)) return Variant(Null);
        if (sqlType != SQL_TYPE_DATE)
            date += EncodeTime(ts.hour, ts.minute, ts.second, static_cast<int>(ts.fraction / 1000000u));
        return Variant::Date(date);
    }
    default: break;
    }
    const bool binary = sqlType == SQL_BINARY || sqlType == SQL_VARBINARY || sqlType == SQL_LONGVARBINARY;
    const SQLSMALLINT cType = binary ? SQL_C_BINARY : SQL_C_CHAR;
    std::string value;
    char buf[4096];
    for (;;) {
        const SQLRETURN rc = SQLGetData(stmt, col, cType, buf, sizeof buf, &ind);
        if (rc == SQL_NO_DATA) break;
        Check(rc, SQL_HANDLE_STMT, stmt, "Read");
        if (ind == SQL_NULL_DATA) return Variant(Null);
        // Text parts end in a terminating zero that is not part of the value.
        const std::size_t room = binary ? sizeof buf : sizeof buf - 1;
        const std::size_t got = (ind == SQL_NO_TOTAL || ind > static_cast<SQLLEN>(room)) ? room
                                                                                          : static_cast<std::size_t>(ind);
        value.append(buf, got);
        if (rc == SQL_SUCCESS) break;
    }
    if (sqlType == SQL_WCHAR || sqlType == SQL_WVARCHAR || sqlType == SQL_WLONGVARCHAR)
        return Variant::Wide(std::move(value));
    return Variant(std::move(value));
}

}  // namespace

TZbADOQuery::TZbADOQuery() { SetReadOnly(true); }

TZbADOQuery::TZbADOQuery(TZbADOConnection* connection) : connection_(connection) { SetReadOnly(true); }

TZbADOQuery::~TZbADOQuery() = default;

void TZbADOQuery::SetSQLText(std::string sql) {
    Close();
    sql_ = std::move(sql);
    parsed_ = ParseSqlParameters(sql_);
    std::vector<std::unique_ptr<TParameter>> params;
    for (const std::string& name : parsed_.names) {
        bool seen = false;
        for (const auto& p : params) seen = seen || SameText(p->Name(), name);
        if (seen) continue;
        auto param = std::make_unique<TParameter>(name);
        if (TParameter* old = FindParam(name)) param->SetValue(old->Value());
        params.push_back(std::move(param));
    }
    params_ = std::move(params);
}

TParameter* TZbADOQuery::FindParam(std::string_view name) {
    for (auto& p : params_)
        if (SameText(p->Name(), name)) return p.get();
    return nullptr;
}

TParameter& TZbADOQuery::ParamByName(std::string_view name) {
    if (TParameter* p = FindParam(name)) return *p;
    throw EDatabaseError("Parameter '" + std::string(name) + "' not found");
}

void TZbADOQuery::Open() {
    if (Active()) return;
    Run(true);
}

std::int64_t TZbADOQuery::ExecSQL() {
    Close();
    return Run(false);
}

std::int64_t TZbADOQuery::Run(bool fetch) {
    if (!connection_) throw EDatabaseError("Missing Connection");
    if (Trim(sql_).empty()) throw EDatabaseError("No SQL statement");
    auto& native = connection_->Native();
    Statement stmt;
    Check(SQLAllocHandle(SQL_HANDLE_STMT, native.dbc, &stmt.h), SQL_HANDLE_DBC, native.dbc, "ODBC statement");
    std::string text = parsed_.text;
    Check(SQLPrepare(stmt.h, reinterpret_cast<SQLCHAR*>(text.data()), static_cast<SQLINTEGER>(text.size())),
          SQL_HANDLE_STMT, stmt.h, "Prepare");
    std::vector<BoundValue> bound(parsed_.names.size());
    for (std::size_t i = 0; i < parsed_.names.size(); ++i)
        Bind(stmt.h, static_cast<SQLUSMALLINT>(i + 1), ParamByName(parsed_.names[i]), bound[i]);
    const SQLRETURN rc = SQLExecute(stmt.h);
    if (rc != SQL_NO_DATA) Check(rc, SQL_HANDLE_STMT, stmt.h, "Execute");
    SQLLEN count = -1;
    if (rc == SQL_NO_DATA) count = 0;
    else if (!SQL_SUCCEEDED(SQLRowCount(stmt.h, &count))) count = -1;
    rowsAffected_ = count;
    if (!fetch) return rowsAffected_;

    SQLSMALLINT cols = 0;
    Check(SQLNumResultCols(stmt.h, &cols), SQL_HANDLE_STMT, stmt.h, "Result columns");
    std::vector<std::string> names;
    std::vector<SQLSMALLINT> types;
    for (SQLUSMALLINT c = 1; c <= static_cast<SQLUSMALLINT>(cols); ++c) {
        SQLCHAR name[256] = {};
        SQLSMALLINT nameLen = 0, type = 0, digits = 0, nullable = 0;
        SQLULEN size = 0;
        Check(SQLDescribeCol(stmt.h, c, name, sizeof name, &nameLen, &type, &size, &digits, &nullable),
              SQL_HANDLE_STMT, stmt.h, "Describe column");
        std::string n = reinterpret_cast<char*>(name);
        // A column without a name (an expression) gets one, so that every field can be reached.
        if (n.empty()) n = "COLUMN" + std::to_string(c);
        for (const std::string& other : names)
            if (SameText(other, n)) n += "_" + std::to_string(c);
        names.push_back(std::move(n));
        types.push_back(type);
    }
    std::vector<std::vector<Variant>> rows;
    if (cols > 0) {
        for (;;) {
            const SQLRETURN f = SQLFetch(stmt.h);
            if (f == SQL_NO_DATA) break;
            Check(f, SQL_HANDLE_STMT, stmt.h, "Fetch");
            std::vector<Variant> row;
            row.reserve(static_cast<std::size_t>(cols));
            for (SQLUSMALLINT c = 1; c <= static_cast<SQLUSMALLINT>(cols); ++c)
                row.push_back(ReadColumn(stmt.h, c, types[c - 1]));
            rows.push_back(std::move(row));
        }
    }
    Load(std::move(names), std::move(rows));
    return rowsAffected_;
}

}  // namespace zb
