// VTAJ52S.so: the job library of the customs data-capture program VTAJ52.
// Its controller checks the job's conditions, selects the company's customs
// handbooks they name and records the run in the suite database.
#include <exception>
#include <string>
#include <vector>

#include "ReportCounter.h"
#include "platform/core/DateTime.h"
#include "platform/core/Exceptions.h"
#include "platform/core/TextUtils.h"
#include "platform/data/ZbADO.h"
#include "platform/remote/SvrController.h"

namespace {

using zb::Variant;

int Count(const Variant& v) {
    if (!zb::VarIsArray(v) || zb::VarArrayDimCount(v) != 1) return -1;
    return zb::VarArrayHighBound(v, 1) - zb::VarArrayLowBound(v, 1) + 1;
}
const Variant& At(const Variant& v, int position) { return v[zb::VarArrayLowBound(v, 1) + position]; }

bool IsDate(const std::string& text) {
    if (text.size() != 8) return false;
    for (char c : text)
        if (c < '0' || c > '9') return false;
    double d;
    return zb::TryParseDateTime(text, d);
}

struct RunArgs {
    std::string answer, company, user, companyDB, numberText;
    std::int64_t productId = 0;
    Variant values;
};

RunArgs ReadArgs(const Variant& params) {
    RunArgs r;
    int n = Count(params);
    if (n == 7) {
        r.answer = zb::VarToStr(At(params, 0));
        r.company = zb::VarToStr(At(params, 1));
        r.user = zb::VarToStr(At(params, 2));
        r.values = At(params, 3);
        r.companyDB = zb::VarToStr(At(params, 4));
        r.numberText = zb::VarToStr(At(params, 5));
        r.productId = At(params, 6).ToInt();
    } else if (n == 12) {
        r.answer = zb::VarToStr(At(params, 0));
        r.company = zb::VarToStr(At(params, 2));
        r.user = zb::VarToStr(At(params, 3));
        r.companyDB = zb::VarToStr(At(params, 4));
        r.values = At(params, 5);
        r.numberText = zb::VarToStr(At(params, 8));
        r.productId = At(params, 9).ToInt();
    } else {
        throw zb::EOleError("VTAJ52S: the job parameters must be an array of 7 or 12 elements");
    }
    if (zb::Trim(r.answer).empty()) throw zb::EOleError("VTAJ52S: the job has no identifier");
    return r;
}

class TVTAJ52Controller : public zb::TSvrController {
public:
    std::string LastMessage() const override { return lastMessage_; }

    void Run(const Variant& params) override {
        lastMessage_.clear();
        std::string started = zb::FormatDateTime("yyyy-mm-dd hh:nn:ss", zb::Now());
        RunArgs args;
        std::string summary;
        try {
            args = ReadArgs(params);
            summary = Capture(args);
        } catch (const std::exception& e) {
            lastMessage_ = e.what();
            Record(args, params, started, "FAILED", lastMessage_);
            throw;
        }
        Record(args, params, started, "OK", summary);
    }

private:
    // Values 1..10: the date range, the handbooks, six transaction kinds "Y"/"N",
    // the log flag and the work date.
    std::string Capture(const RunArgs& a) {
        const Variant& v = a.values;
        if (Count(v) < 8) throw zb::EOleError("VTAJ52S: the job's conditions must have at least 8 slots");
        std::int32_t lo = zb::VarArrayLowBound(v, 1);
        const Variant& range = v[lo];
        if (Count(range) != 3 || zb::VarToStr(At(range, 0)) != std::string(1, '\x04'))
            throw zb::EOleError("VTAJ52S: the data dates are not a range");
        std::string from = zb::VarToStr(At(range, 1)), to = zb::VarToStr(At(range, 2));
        if (!IsDate(from) || !IsDate(to)) throw zb::EOleError("VTAJ52S: the data dates must be given as yyyymmdd");
        if (from > to) throw zb::EOleError("VTAJ52S: the data dates end before they begin");
        std::string kinds;
        for (int i = 2; i < 8; ++i) kinds += zb::SameText(zb::VarToStr(v[lo + i]), "Y") ? 'Y' : 'N';
        if (kinds.find('Y') == std::string::npos) throw zb::EOleError("VTAJ52S: no transaction kind chosen");
        int handbooks = CountHandbooks(a.company, v[lo + 1]);
        return "handbooks " + std::to_string(handbooks) + ", dates " + from + "-" + to + ", kinds " + kinds;
    }

    // The handbooks of the company the panel value names: a range
    // [#4, begin, end] (an empty side is open) or a list [#5, [number, ...], ...].
    int CountHandbooks(const std::string& company, const Variant& pick) {
        zb::TZbADOConnection& conn = Connection();
        zb::TZbADOQuery q(&conn);
        int n = Count(pick);
        if (n == 3 && zb::VarToStr(At(pick, 0)) == std::string(1, '\x04')) {
            q.SetSQLText("SELECT COUNT(*) AS N FROM CUSTA WHERE TA002 = :C AND (:B = '' OR TA001 >= :B) AND (:E = '' OR TA001 <= :E)");
            q.ParamByName("C").SetAsString(company);
            q.ParamByName("B").SetAsString(zb::VarToStr(At(pick, 1)));
            q.ParamByName("E").SetAsString(zb::VarToStr(At(pick, 2)));
            q.Open();
            return static_cast<int>(q.FieldByName("N").AsInteger());
        }
        if (n >= 1 && zb::VarToStr(At(pick, 0)) == std::string(1, '\x05')) {
            int found = 0;
            q.SetSQLText("SELECT COUNT(*) AS N FROM CUSTA WHERE TA002 = :C AND TA001 = :H");
            for (int i = 1; i < n; ++i) {
                const Variant& row = At(pick, i);
                q.ParamByName("C").SetAsString(company);
                q.ParamByName("H").SetAsString(Count(row) > 0 ? zb::VarToStr(At(row, 0)) : zb::VarToStr(row));
                q.Open();
                found += static_cast<int>(q.FieldByName("N").AsInteger());
                q.Close();
            }
            return found;
        }
        throw zb::EOleError("VTAJ52S: the customs handbooks are neither a range nor a list");
    }

    zb::TZbADOConnection& Connection() {
        if (!conn_.Connected()) {
            conn_.SetConnectionString(zb::suite::ServerConnectionString());
            conn_.SetLoginPrompt(false);
            conn_.Open();
        }
        return conn_;
    }

    void Record(const RunArgs& a, const Variant& params, const std::string& started, const char* result,
                const std::string& message) {
        // A run that cannot be recorded must still report why it failed.
        try {
            zb::suite::EnsureServerTables(zb::suite::ServerConnectionString());
            zb::TZbADOQuery q(&Connection());
            q.SetSQLText("INSERT INTO ZBJOBRUNS (JOBID, NUMBERTEXT, PROGRAMME, COMPANY, USERID, COMPANYDB, PRODUCTID,"
                         " PARAMS, STARTED, FINISHED, RESULT, MESSAGE)"
                         " VALUES (:J, :NT, 'VTAJ52', :C, :U, :CDB, :PID, :PAR, :ST, :FI, :R, :M)");
            q.ParamByName("J").SetAsString(a.answer);
            q.ParamByName("NT").SetAsString(a.numberText);
            q.ParamByName("C").SetAsString(a.company);
            q.ParamByName("U").SetAsString(a.user);
            q.ParamByName("CDB").SetAsString(a.companyDB);
            q.ParamByName("PID").SetAsInteger(a.productId);
            q.ParamByName("PAR").SetAsString(params.ToJson());
            q.ParamByName("ST").SetAsString(started);
            q.ParamByName("FI").SetAsString(zb::FormatDateTime("yyyy-mm-dd hh:nn:ss", zb::Now()));
            q.ParamByName("R").SetAsString(result);
            q.ParamByName("M").SetAsString(message);
            q.ExecSQL();
        } catch (const std::exception& e) {
            if (lastMessage_.empty()) lastMessage_ = std::string("VTAJ52S: the run could not be recorded: ") + e.what();
            else lastMessage_ += std::string("; the run could not be recorded: ") + e.what();
            if (std::string(result) == "OK") throw zb::EOleError(lastMessage_);
        }
    }

    std::string lastMessage_;
    zb::TZbADOConnection conn_;
};

}  // namespace

extern "C" __attribute__((visibility("default"))) zb::TSvrController* GetSvrController() {
    return new TVTAJ52Controller;
}
