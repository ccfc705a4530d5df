// The suite's application server object "ReportCounterS.dmReportCounter":
// queued and registered jobs, condition plans behind the provider
// "pvdConSave" and user rights, all kept in the suite database.
//
// The same object serves in two ways: made in the client's process through
// its ProgID (ReportCounterS.so), or by the daemon vtaj52-appserver for
// clients on the socket. Both store exactly the same rows.
#pragma once

#include <memory>
#include <string>

#include "platform/core/Dispatch.h"
#include "platform/core/Variant.h"

namespace zb::suite {

inline constexpr const char* kReportCounterProgID = "ReportCounterS.dmReportCounter";

// Where the server finds its database: ZB_SUITE_CONNECT (an ODBC connection
// string), else ZB_SUITE_DB (a SQLite file), else "suite.db" in the server
// folder named by the registry (ServerPath). Throws EDatabaseError when none
// of them is set.
std::string ServerConnectionString();

// Creates the tables the server keeps (jobs, plans, rights) when missing.
// Statements are plain SQL both SQLite and SQL Server understand.
void EnsureServerTables(const std::string& connectionString);

// A new server object on the given database; the connection is opened at
// once, so a database that cannot be reached fails here (EDatabaseError).
DispatchPtr CreateReportCounter(const std::string& connectionString);
// The same, owned by the caller (for the ProgID factory).
IDispatch* NewReportCounter(const std::string& connectionString);

// Every stored job and plan as one JSON document:
// {"jobs":[{...,"params":<Variant JSON>}],"plans":[...],"rights":[...]}.
std::string ListServerData(const std::string& connectionString);

}  // namespace zb::suite
