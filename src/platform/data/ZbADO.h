// Database access over ODBC (unixODBC), in the shape of the suite's ADO
// package: TZbADOConnection opened from an ODBC connection string without any
// login prompt, and TZbADOQuery with ":NAME" parameters bound by name.
//
// The embedded default is SQLite through its ODBC driver, named by the
// driver library's path so that no odbcinst.ini entry is needed:
//   DRIVER=/usr/lib/x86_64-linux-gnu/odbc/libsqlite3odbc.so;Database=/tmp/x.db
// (SqliteConnectionString builds this). Registered driver names and DSNs
// work as well ("DRIVER={SQLite3};Database=...", "DSN=suite;UID=...").
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/core/Variant.h"
#include "platform/data/DB.h"

namespace zb {

// A statement text with its ":NAME" parameters turned into "?" markers and
// their names in order (a name used twice appears twice). A ':' inside a
// quoted literal, a quoted or bracketed identifier or a comment is text, and
// so is "::" (a cast in some dialects).
struct ParsedSql {
    std::string text;
    std::vector<std::string> names;
};
ParsedSql ParseSqlParameters(std::string_view sql);

// The SQLite ODBC driver library: ZB_SQLITE_ODBC_DRIVER when it names a
// file, else the first libsqlite3odbc.so found in the usual library folders;
// empty when there is none.
std::string FindSqliteOdbcDriver();
// "DRIVER=<driver path>;Database=<file>;". Throws EDatabaseError when no
// driver is found, and for a file name with ';', '{' or '}' (the driver
// does not understand braced values).
std::string SqliteConnectionString(const std::string& databaseFile);
// A value for a connection string: braced when it holds ';', '{', '}' or
// outer blanks (a '}' inside is doubled).
std::string OdbcConnectionValue(std::string_view value);

class TZbADOConnection {
public:
    TZbADOConnection();
    ~TZbADOConnection();
    TZbADOConnection(const TZbADOConnection&) = delete;
    TZbADOConnection& operator=(const TZbADOConnection&) = delete;

    const std::string& ConnectionString() const { return connectionString_; }
    // Takes effect at the next Open.
    void SetConnectionString(std::string text) { connectionString_ = std::move(text); }
    // Kept for the suite's code; no prompt is ever shown (there is no
    // window to show it in), the driver gets SQL_DRIVER_NOPROMPT.
    bool LoginPrompt() const { return loginPrompt_; }
    void SetLoginPrompt(bool on) { loginPrompt_ = on; }

    // Throws EDatabaseError with the driver's diagnostics.
    void Open();
    void Close();
    bool Connected() const;
    void SetConnected(bool connected) { connected ? Open() : Close(); }

    // The DBMS name the driver reports ("SQLite", "Microsoft SQL Server",
    // "PostgreSQL", ...), so callers can choose their statements.
    std::string DbmsName();
    bool IsSqlServer();

    // Runs a statement without parameters; the rows affected (-1 when the driver cannot tell).
    std::int64_t Execute(std::string_view sql);

    void BeginTrans();
    void CommitTrans();
    void RollbackTrans();
    bool InTransaction() const { return inTransaction_; }

    struct Handles;
    Handles& Native();  // opened; for the query

private:
    std::string connectionString_;
    bool loginPrompt_ = true;
    bool inTransaction_ = false;
    std::unique_ptr<Handles> handles_;
};

// A parameter of a query, bound by its name.
class TParameter {
public:
    explicit TParameter(std::string name) : name_(std::move(name)) {}
    const std::string& Name() const { return name_; }
    const Variant& Value() const { return value_; }
    // Text, integer, float, Boolean, date or Null (Empty counts as Null).
    void SetValue(const Variant& value) { value_ = value; }
    void SetAsString(const std::string& value) { value_ = Variant(value); }
    void SetAsInteger(std::int64_t value) { value_ = Variant(value); }

private:
    std::string name_;
    Variant value_;
};

// Opening runs the statement and holds all its rows (a client-side cursor),
// so RecordCount is known and the connection is free again at once. The rows
// are read-only.
class TZbADOQuery : public TDataSet {
public:
    TZbADOQuery();
    explicit TZbADOQuery(TZbADOConnection* connection);
    ~TZbADOQuery() override;

    TZbADOConnection* Connection() const { return connection_; }
    void SetConnection(TZbADOConnection* connection) { connection_ = connection; }

    const std::string& SQLText() const { return sql_; }
    // Closes the query; parameters whose names remain keep their values.
    void SetSQLText(std::string sql);

    // Names are matched without regard to case; ParamByName throws
    // EDatabaseError for a name the statement does not use.
    TParameter& ParamByName(std::string_view name);
    TParameter* FindParam(std::string_view name);
    int ParamCount() const { return static_cast<int>(params_.size()); }

    // Runs the statement and holds its rows. A statement without rows
    // (an update, say) leaves the query open and empty.
    void Open();
    void SetActive(bool active) { active ? Open() : Close(); }
    // Runs a statement; the rows it affected (-1 when the driver cannot tell).
    std::int64_t ExecSQL();
    std::int64_t RowsAffected() const { return rowsAffected_; }

private:
    std::int64_t Run(bool fetch);

    TZbADOConnection* connection_ = nullptr;
    std::string sql_;
    ParsedSql parsed_;
    std::vector<std::unique_ptr<TParameter>> params_;  // one per distinct name
    std::int64_t rowsAffected_ = -1;
};

}  // namespace zb
