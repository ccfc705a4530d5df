#include "ReportCounter.h"

#include <dlfcn.h>

#include <cstdlib>
#include <memory>
#include <mutex>
#include <sstream>
#include <stdexcept>

#include "env/OrkelINI.h"
#include "platform/core/DateTime.h"
#include "platform/core/Exceptions.h"
#include "platform/core/TextUtils.h"
#include "platform/data/ZbADO.h"
#include "platform/os/Paths.h"
#include "platform/remote/SvrController.h"
#include "platform/remote/AutoObject.h"
#include "platform/remote/ClientDataSet.h"

namespace zb::suite {

namespace {

constexpr const char* kProvider = "pvdConSave";
constexpr const char* kErrorAnswer = "ERROR";

// Portable types only: the same statements create the tables on SQLite and
// on SQL Server.
constexpr const char* kTables[] = {
    "CREATE TABLE ZBJOBS (JOBID VARCHAR(20) NOT NULL PRIMARY KEY, JOBKIND VARCHAR(1) NOT NULL,"
    " PROGRAMME VARCHAR(20), COMPANY VARCHAR(40), USERID VARCHAR(40), COMPANYDB VARCHAR(80),"
    " WORKSTATION VARCHAR(80), RUNMODE INTEGER, RUNTIME VARCHAR(19), SCHEDULE TEXT, PARAMS TEXT NOT NULL,"
    " STATUS VARCHAR(20) NOT NULL, MESSAGES TEXT, CREATE_DATE VARCHAR(19), FINISH_DATE VARCHAR(19))",
    "CREATE TABLE GENES (NCONDITION VARCHAR(40) NOT NULL, CREATOR VARCHAR(40) NOT NULL,"
    " PROGRAMME VARCHAR(20) NOT NULL, CREATE_DATE VARCHAR(8), SCONDITION TEXT, VCONDITION TEXT,"
    " PRIMARY KEY (NCONDITION, CREATOR, PROGRAMME))",
    "CREATE TABLE ZBRIGHTS (USERID VARCHAR(40) NOT NULL, PROGRAMME VARCHAR(20) NOT NULL,"
    " RIGHTS VARCHAR(200), RIGHT2 VARCHAR(200), RIGHT3 VARCHAR(200), LIMITBASE VARCHAR(200), LIMITS TEXT,"
    " PRIMARY KEY (USERID, PROGRAMME))",
    // One row for each run of a job library.
    "CREATE TABLE ZBJOBRUNS (JOBID VARCHAR(20) NOT NULL, NUMBERTEXT VARCHAR(20) NOT NULL, PROGRAMME VARCHAR(20),"
    " COMPANY VARCHAR(40), USERID VARCHAR(40), COMPANYDB VARCHAR(80), PRODUCTID INTEGER, PARAMS TEXT,"
    " STARTED VARCHAR(19), FINISHED VARCHAR(19), RESULT VARCHAR(10), MESSAGE TEXT)",
};
constexpr const char* kTableNames[] = {"ZBJOBS", "GENES", "ZBRIGHTS", "ZBJOBRUNS"};

bool TableExists(TZbADOConnection& conn, const char* name) {
    // Probing by selecting keeps this free of either database's catalogue.
    try {
        TZbADOQuery q(&conn);
        q.SetSQLText(std::string("SELECT COUNT(*) FROM ") + name + " WHERE 1=0");
        q.Open();
        return true;
    } catch (const EDatabaseError&) {
        return false;
    }
}

void CreateTables(TZbADOConnection& conn) {
    for (std::size_t i = 0; i < std::size(kTables); ++i)
        if (!TableExists(conn, kTableNames[i])) conn.Execute(kTables[i]);
}

std::string Stamp(double when) { return FormatDateTime("yyyy-mm-dd hh:nn:ss", when); }

// An element of an array by its position from the low bound.
const Variant& Element(const Variant& array, int position) {
    return array[VarArrayLowBound(array, 1) + position];
}

int ElementCount(const Variant& v) {
    if (!VarIsArray(v) || VarArrayDimCount(v) != 1) return -1;
    return VarArrayHighBound(v, 1) - VarArrayLowBound(v, 1) + 1;
}

// A plan key [name, user, program] (or with more elements, as InsertConTable sends).
void CheckArgArray(const Variant& v, int minCount, const char* call) {
    if (ElementCount(v) < minCount)
        throw EOleError(std::string(call) + ": expected an array of at least " + std::to_string(minCount) + " elements");
}

void JsonString(std::ostringstream& out, std::string_view s) {
    static const char* hex = "0123456789abcdef";
    out << '"';
    for (unsigned char c : s) {
        switch (c) {
            case '"': out << "\\\""; break;
            case '\\': out << "\\\\"; break;
            case '\n': out << "\\n"; break;
            case '\r': out << "\\r"; break;
            case '\t': out << "\\t"; break;
            default:
                if (c < 0x20) out << "\\u00" << hex[c >> 4] << hex[c & 15];
                else out << c;
        }
    }
    out << '"';
}

class TdmReportCounter {
public:
    explicit TdmReportCounter(const std::string& connectionString) {
        conn_.SetConnectionString(connectionString);
        conn_.SetLoginPrompt(false);
        conn_.Open();
        CreateTables(conn_);
    }

    static TAutoObject* Publish(const std::shared_ptr<TdmReportCounter>& self) {
        auto* obj = new TAutoObject("TdmReportCounter");
        // The object keeps its state alive as long as any caller holds it.
        obj->Property("SQLType", [self] { return Variant(self->SQLType()); })
            .Method("GetPower", [self](TAutoObject::Args& a) { return self->GetPower(a[0]); }, 1)
            .Method("Request", [self](TAutoObject::Args& a) { return self->Guard([&] {
                return self->Store(a[0], "Q", "QUEUED", ""); }); }, 1)
            .Method("Request1", [self](TAutoObject::Args& a) { return self->Guard([&] {
                return self->Store(a[0], "R", "REGISTERED", VarToStr(OptionalArg(a, 1))); }); }, 1)
            .Method("ErrorDescript", [self](TAutoObject::Args&) { return Variant(self->lastError_); })
            .Method("ExecSvrDLL", [self](TAutoObject::Args& a) { return self->ExecSvrDLL(a); }, 12)
            .Method("UpdateStatus1", [self](TAutoObject::Args& a) { return self->UpdateStatus1(a); }, 3)
            .Method("LoadTable", [self](TAutoObject::Args& a) { return self->Answer([&] { self->LoadTable(a[0]); }); }, 1)
            .Method("InsertConTable", [self](TAutoObject::Args& a) { return self->Answer([&] { self->InsertConTable(a[0]); }); }, 1)
            .Method("DeleteConTable", [self](TAutoObject::Args& a) { return self->Answer([&] { self->DeleteConTable(a[0]); }); }, 1)
            .Method("ChangeConName", [self](TAutoObject::Args& a) { return self->Answer([&] { self->ChangeConName(a[0], a[1]); }); }, 2);
        TProviderTable providers;
        providers.Add(kProvider, [self] { return self->Plans(); });
        providers.PublishOn(*obj);
        return obj;
    }

private:
    // Queue calls answer "ERROR" on any failure and keep the reason for ErrorDescript.
    template <class F>
    Variant Guard(F&& f) {
        try {
            lastError_.clear();
            return Variant(f());
        } catch (const std::exception& e) {
            lastError_ = e.what();
            return Variant(kErrorAnswer);
        }
    }
    // Plan calls answer an empty text on success and the reason otherwise.
    template <class F>
    Variant Answer(F&& f) {
        try {
            f();
            return Variant(std::string());
        } catch (const std::exception& e) {
            std::string why = e.what();
            return Variant(why.empty() ? std::string("failed") : why);
        }
    }

    int SQLType() { return conn_.IsSqlServer() ? 0 : 1; }

    // [CompanyDB, UserID, ProgramCode, ""] -> the rights record, indexed 1..5.
    // A user's own row wins over the row for every user ("*"); without
    // either the user gets no rights at all.
    Variant GetPower(const Variant& key) {
        CheckArgArray(key, 3, "GetPower");
        std::string user = VarToStr(Element(key, 1)), program = UpperCase(VarToStr(Element(key, 2)));
        TZbADOQuery q(&conn_);
        q.SetSQLText("SELECT RIGHTS, RIGHT2, RIGHT3, LIMITBASE, LIMITS, USERID FROM ZBRIGHTS"
                     " WHERE (USERID = :U OR USERID = '*') AND (PROGRAMME = :P OR PROGRAMME = '*')"
                     " ORDER BY CASE WHEN USERID = '*' THEN 1 ELSE 0 END, CASE WHEN PROGRAMME = '*' THEN 1 ELSE 0 END");
        q.ParamByName("U").SetAsString(user);
        q.ParamByName("P").SetAsString(program);
        q.Open();
        Variant record = VarArrayCreate({1, 5});
        if (q.IsEmpty()) {
            record[1] = Variant("N,N,N,NNNNNNNN,,");
            record[2] = record[3] = record[4] = Variant(std::string());
            record[5] = VarArrayOf({Variant(0)});
            return record;
        }
        record[1] = Variant(q.FieldByName("RIGHTS").AsString());
        record[2] = Variant(q.FieldByName("RIGHT2").AsString());
        record[3] = Variant(q.FieldByName("RIGHT3").AsString());
        record[4] = Variant(q.FieldByName("LIMITBASE").AsString());
        std::string limits = q.FieldByName("LIMITS").AsString();
        record[5] = limits.empty() ? VarArrayOf({Variant(0)}) : Variant::FromJson(limits);
        return record;
    }

    // The job's identifier: its day as "yyyymmdd" and a six-digit number of the day.
    std::string NextJobId(double now) {
        std::string day = FormatDateTime("yyyymmdd", now);
        TZbADOQuery q(&conn_);
        q.SetSQLText("SELECT MAX(JOBID) AS LASTID FROM ZBJOBS WHERE JOBID LIKE :DAY");
        q.ParamByName("DAY").SetAsString(day + "%");
        q.Open();
        std::string last = q.FieldByName("LASTID").AsString();
        long next = 1;
        if (last.size() == 14) next = std::strtol(last.c_str() + 8, nullptr, 10) + 1;
        if (next > 999999) throw EOleError("no job numbers left for " + day);
        char buf[24];
        std::snprintf(buf, sizeof buf, "%06ld", next);
        return day + buf;
    }

    // Stores a job with its whole parameter array; the answer is its identifier.
    std::string Store(const Variant& params, const char* kind, const char* status, const std::string& workstation) {
        if (ElementCount(params) < 3) throw EOleError("the job parameters are not an array of environment, captions and values");
        const Variant& env = Element(params, 0);
        if (ElementCount(env) < 9) throw EOleError("the job's environment array has fewer than 9 slots");
        std::int32_t lo = VarArrayLowBound(env, 1), hi = VarArrayHighBound(env, 1);
        auto slot = [&](int i) -> const Variant& {
            static const Variant none;
            return (i >= lo && i <= hi) ? env[i] : none;
        };
        std::string program = UpperCase(VarToStr(slot(1)));
        if (Trim(program).empty()) throw EOleError("the job names no program");
        int runMode = 0;
        if (!slot(10).IsEmpty() && !slot(10).IsNull()) runMode = static_cast<int>(slot(10).ToInt());
        double now = Now();
        std::string runTime = Stamp(now);
        if (slot(11).Type() == VarType::DateTime || slot(11).IsNumeric()) runTime = Stamp(slot(11).ToDate());
        // Whatever follows the three parts (the periodic schedule) is kept as it came.
        std::string schedule;
        int count = ElementCount(params);
        if (count > 3) {
            std::vector<Variant> rest;
            for (int i = 3; i < count; ++i) rest.push_back(Element(params, i));
            schedule = VarArrayOf(std::move(rest)).ToJson();
        }
        std::string json = params.ToJson();
        for (int attempt = 0;; ++attempt) {
            std::string id = NextJobId(now);
            TZbADOQuery q(&conn_);
            q.SetSQLText("INSERT INTO ZBJOBS (JOBID, JOBKIND, PROGRAMME, COMPANY, USERID, COMPANYDB, WORKSTATION,"
                         " RUNMODE, RUNTIME, SCHEDULE, PARAMS, STATUS, MESSAGES, CREATE_DATE)"
                         " VALUES (:ID, :KIND, :PROG, :COMP, :USR, :CDB, :WS, :MODE, :RT, :SCH, :PAR, :ST, '', :CD)");
            q.ParamByName("ID").SetAsString(id);
            q.ParamByName("KIND").SetAsString(kind);
            q.ParamByName("PROG").SetAsString(program);
            q.ParamByName("COMP").SetAsString(VarToStr(slot(4)));
            q.ParamByName("USR").SetAsString(VarToStr(slot(5)));
            q.ParamByName("CDB").SetAsString(VarToStr(slot(6)));
            q.ParamByName("WS").SetAsString(workstation);
            q.ParamByName("MODE").SetAsInteger(runMode);
            q.ParamByName("RT").SetAsString(runTime);
            q.ParamByName("SCH").SetAsString(schedule);
            q.ParamByName("PAR").SetAsString(json);
            q.ParamByName("ST").SetAsString(status);
            q.ParamByName("CD").SetAsString(Stamp(now));
            try {
                q.ExecSQL();
                return id;
            } catch (const EDatabaseError&) {
                // Another writer drew the same number first: draw again.
                if (attempt >= 5) throw;
            }
        }
    }

    // (var Answer, ProgramCode, Extra, CompanyID, UserID, ServerClass,
    // ProgramKind, CompanyDB, var Values, Count, NumberText, ProductID):
    // runs the program's job library from the server's package folders.
    Variant ExecSvrDLL(TAutoObject::Args& a) {
        std::string answer = VarToStr(a[0]);
        try {
            std::string message = RunJobLibrary(a);
            SetStatus(answer, "EXECUTED", message, Now());
        } catch (const std::exception& e) {
            lastError_ = e.what();
            SetStatus(answer, "FAILED", lastError_, Now());
            throw EOleError(lastError_);
        }
        return Variant();
    }

    static std::string RunJobLibrary(TAutoObject::Args& a) {
        std::string code = UpperCase(Trim(VarToStr(a[1])));
        // The code names a file: nothing but letters and digits may reach the path.
        if (code.empty() || code.size() > 20 ||
            code.find_first_not_of("ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789_") != std::string::npos)
            throw EOleError("not a program code: \"" + VarToStr(a[1]) + "\"");
        std::vector<std::string> folders;
        TOrkelIniS().GetWorkDLLPaths(folders);
        std::string path;
        for (const auto& folder : folders)
            if (FileExists(folder + code + "S.so")) {
                path = folder + code + "S.so";
                break;
            }
        if (path.empty()) throw EOleError("the job library " + code + "S.so is in no package folder of the server");
        void* lib = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
        if (!lib) throw EOleError("cannot load " + path + ": " + dlerror());
        std::string message;
        try {
            auto* get = reinterpret_cast<TGetSvrController*>(dlsym(lib, kGetSvrControllerName));
            if (!get) throw EOleError(path + " exports no " + kGetSvrControllerName);
            std::string kind = UpperCase(Trim(VarToStr(a[6])));
            Variant params = kind == "B"
                ? VarArrayOf({a[0], a[3], a[4], a[8], a[7], a[10], Variant(a[11].ToInt())})
                : VarArrayOf({a[0], a[2], a[3], a[4], a[7], a[8], Variant(a[9].ToInt()), Variant(kind), a[10],
                              Variant(a[11].ToInt()), Variant(0), Variant("936")});
            std::unique_ptr<TSvrController> controller(get());
            std::string failure;
            try {
                controller->Run(params);
            } catch (const std::exception& e) {
                failure = e.what();
            }
            message = controller->LastMessage();
            controller.reset();
            if (!failure.empty()) throw EOleError(failure == message || message.empty() ? failure : failure + "; " + message);
        } catch (...) {
            dlclose(lib);
            throw;
        }
        dlclose(lib);
        return message;
    }

    Variant UpdateStatus1(TAutoObject::Args& a) {
        std::string answer = VarToStr(a[0]);
        double when = Now();
        if (a[2].Type() == VarType::DateTime || a[2].IsNumeric()) when = a[2].ToDate();
        SetStatus(answer, "FINISHED", VarToStr(a[1]), when);
        return Variant();
    }

    void SetStatus(const std::string& answer, const char* status, const std::string& messages, double when) {
        TZbADOQuery q(&conn_);
        q.SetSQLText("UPDATE ZBJOBS SET STATUS = :ST, MESSAGES = :MSG, FINISH_DATE = :FD WHERE JOBID = :ID");
        q.ParamByName("ST").SetAsString(status);
        q.ParamByName("MSG").SetAsString(messages);
        q.ParamByName("FD").SetAsString(Stamp(when));
        q.ParamByName("ID").SetAsString(answer);
        q.ExecSQL();
    }

    void LoadTable(const Variant& key) {
        CheckArgArray(key, 2, "LoadTable");
        planUser_ = VarToStr(Element(key, 0));
        planProgram_ = VarToStr(Element(key, 1));
        planSelected_ = true;
    }

    // The provider delivers the plans of the user and program LoadTable chose.
    Variant Plans() {
        std::vector<std::vector<Variant>> rows;
        if (planSelected_) {
            TZbADOQuery q(&conn_);
            q.SetSQLText("SELECT NCONDITION, CREATOR, PROGRAMME, CREATE_DATE, SCONDITION, VCONDITION FROM GENES"
                         " WHERE CREATOR = :U AND PROGRAMME = :P ORDER BY NCONDITION");
            q.ParamByName("U").SetAsString(planUser_);
            q.ParamByName("P").SetAsString(planProgram_);
            q.Open();
            for (q.First(); !q.Eof(); q.Next()) {
                std::vector<Variant> row;
                for (int i = 0; i < q.FieldCount(); ++i) row.push_back(Variant(q.Fields(i).AsString()));
                rows.push_back(std::move(row));
            }
        }
        return MakeDataPacket({"NCONDITION", "CREATOR", "PROGRAMME", "CREATE_DATE", "SCONDITION", "VCONDITION"}, rows);
    }

    bool PlanExists(const std::string& name, const std::string& user, const std::string& program) {
        TZbADOQuery q(&conn_);
        q.SetSQLText("SELECT COUNT(*) AS N FROM GENES WHERE NCONDITION = :N AND CREATOR = :U AND PROGRAMME = :P");
        q.ParamByName("N").SetAsString(name);
        q.ParamByName("U").SetAsString(user);
        q.ParamByName("P").SetAsString(program);
        q.Open();
        return q.FieldByName("N").AsInteger() > 0;
    }

    // [name, user, date "yyyymmdd", program, control list, value text, Replace]
    void InsertConTable(const Variant& plan) {
        CheckArgArray(plan, 7, "InsertConTable");
        std::string name = VarToStr(Element(plan, 0)), user = VarToStr(Element(plan, 1)),
                    program = VarToStr(Element(plan, 3));
        if (Trim(name).empty()) throw EOleError("a plan needs a name");
        bool replace = Element(plan, 6).ToBool();
        bool exists = PlanExists(name, user, program);
        if (exists && !replace) throw EOleError("the plan \"" + name + "\" exists already");
        TZbADOQuery q(&conn_);
        q.SetSQLText(exists ? "UPDATE GENES SET CREATE_DATE = :D, SCONDITION = :S, VCONDITION = :V"
                              " WHERE NCONDITION = :N AND CREATOR = :U AND PROGRAMME = :P"
                            : "INSERT INTO GENES (NCONDITION, CREATOR, PROGRAMME, CREATE_DATE, SCONDITION, VCONDITION)"
                              " VALUES (:N, :U, :P, :D, :S, :V)");
        q.ParamByName("N").SetAsString(name);
        q.ParamByName("U").SetAsString(user);
        q.ParamByName("P").SetAsString(program);
        q.ParamByName("D").SetAsString(VarToStr(Element(plan, 2)));
        q.ParamByName("S").SetAsString(VarToStr(Element(plan, 4)));
        q.ParamByName("V").SetAsString(VarToStr(Element(plan, 5)));
        q.ExecSQL();
    }

    void DeleteConTable(const Variant& key) {
        CheckArgArray(key, 3, "DeleteConTable");
        TZbADOQuery q(&conn_);
        q.SetSQLText("DELETE FROM GENES WHERE NCONDITION = :N AND CREATOR = :U AND PROGRAMME = :P");
        q.ParamByName("N").SetAsString(VarToStr(Element(key, 0)));
        q.ParamByName("U").SetAsString(VarToStr(Element(key, 1)));
        q.ParamByName("P").SetAsString(VarToStr(Element(key, 2)));
        if (q.ExecSQL() == 0) throw EOleError("the plan \"" + VarToStr(Element(key, 0)) + "\" does not exist");
    }

    void ChangeConName(const Variant& from, const Variant& to) {
        CheckArgArray(from, 3, "ChangeConName");
        CheckArgArray(to, 3, "ChangeConName");
        std::string newName = VarToStr(Element(to, 0));
        if (Trim(newName).empty()) throw EOleError("a plan needs a name");
        if (PlanExists(newName, VarToStr(Element(to, 1)), VarToStr(Element(to, 2))))
            throw EOleError("the plan \"" + newName + "\" exists already");
        TZbADOQuery q(&conn_);
        q.SetSQLText("UPDATE GENES SET NCONDITION = :NN, CREATOR = :NU, PROGRAMME = :NP"
                     " WHERE NCONDITION = :N AND CREATOR = :U AND PROGRAMME = :P");
        q.ParamByName("NN").SetAsString(newName);
        q.ParamByName("NU").SetAsString(VarToStr(Element(to, 1)));
        q.ParamByName("NP").SetAsString(VarToStr(Element(to, 2)));
        q.ParamByName("N").SetAsString(VarToStr(Element(from, 0)));
        q.ParamByName("U").SetAsString(VarToStr(Element(from, 1)));
        q.ParamByName("P").SetAsString(VarToStr(Element(from, 2)));
        if (q.ExecSQL() == 0) throw EOleError("the plan \"" + VarToStr(Element(from, 0)) + "\" does not exist");
    }

    TZbADOConnection conn_;
    std::string lastError_;
    std::string planUser_, planProgram_;
    bool planSelected_ = false;
};

}  // namespace

std::string ServerConnectionString() {
    if (const char* c = std::getenv("ZB_SUITE_CONNECT"); c && *c) return c;
    if (const char* f = std::getenv("ZB_SUITE_DB"); f && *f) return SqliteConnectionString(f);
    TOrkelIniS ini;
    if (!ini.ServerPath.empty()) return SqliteConnectionString(ini.ServerPath + "suite.db");
    throw EDatabaseError("no suite database: set ZB_SUITE_CONNECT or ZB_SUITE_DB, or install the server (ServerPath)");
}

void EnsureServerTables(const std::string& connectionString) {
    TZbADOConnection conn;
    conn.SetConnectionString(connectionString);
    conn.SetLoginPrompt(false);
    conn.Open();
    CreateTables(conn);
}

IDispatch* NewReportCounter(const std::string& connectionString) {
    auto self = std::make_shared<TdmReportCounter>(connectionString);
    return TdmReportCounter::Publish(self);
}

DispatchPtr CreateReportCounter(const std::string& connectionString) {
    return DispatchPtr(NewReportCounter(connectionString));
}

std::string ListServerData(const std::string& connectionString) {
    TZbADOConnection conn;
    conn.SetConnectionString(connectionString);
    conn.SetLoginPrompt(false);
    conn.Open();
    CreateTables(conn);
    std::ostringstream out;
    auto dump = [&](const char* name, const char* sql, const char* jsonFields) {
        TZbADOQuery q(&conn);
        q.SetSQLText(sql);
        q.Open();
        out << '"' << name << "\":[";
        bool firstRow = true;
        for (q.First(); !q.Eof(); q.Next()) {
            out << (firstRow ? "\n  {" : ",\n  {");
            firstRow = false;
            for (int i = 0; i < q.FieldCount(); ++i) {
                TField& f = q.Fields(i);
                if (i) out << ',';
                JsonString(out, LowerCase(f.FieldName()));
                out << ':';
                std::string text = f.AsString();
                if (jsonFields && !text.empty() && (std::string(";") + jsonFields + ";").find(";" + UpperCase(f.FieldName()) + ";") != std::string::npos)
                    out << text;
                else JsonString(out, text);
            }
            out << '}';
        }
        out << "]";
    };
    out << "{";
    dump("jobs",
         "SELECT JOBID, JOBKIND, PROGRAMME, COMPANY, USERID, COMPANYDB, WORKSTATION, RUNMODE, RUNTIME,"
         " SCHEDULE, STATUS, MESSAGES, CREATE_DATE, FINISH_DATE, PARAMS FROM ZBJOBS ORDER BY JOBID",
         "PARAMS;SCHEDULE");
    out << ",\n";
    dump("plans",
         "SELECT NCONDITION, CREATOR, PROGRAMME, CREATE_DATE, SCONDITION, VCONDITION FROM GENES"
         " ORDER BY PROGRAMME, CREATOR, NCONDITION",
         nullptr);
    out << ",\n";
    dump("rights", "SELECT USERID, PROGRAMME, RIGHTS, RIGHT2, RIGHT3, LIMITBASE, LIMITS FROM ZBRIGHTS ORDER BY USERID, PROGRAMME",
         "LIMITS");
    out << "}\n";
    return out.str();
}

}  // namespace zb::suite
