#include "WorkCenter.h"

#include <cstdlib>
#include <memory>
#include <vector>

#include "platform/core/Exceptions.h"
#include "platform/core/TextUtils.h"
#include "platform/data/ZbADO.h"
#include "platform/remote/AutoObject.h"
#include "platform/remote/ComObj.h"

namespace zb::suite {

namespace {

class TWorkCenter {
public:
    explicit TWorkCenter(std::string connectionString) : connectionString_(std::move(connectionString)) {
        conn_.SetConnectionString(connectionString_);
        conn_.SetLoginPrompt(false);
        conn_.Open();
    }

    std::string Message(const std::string& kind, const std::string& number) {
        TZbADOQuery q(&conn_);
        q.SetSQLText("SELECT MS003 FROM ZEBMS WHERE MS001 = :K AND MS002 = :N");
        q.ParamByName("K").SetAsString(UpperCase(Trim(kind)));
        q.ParamByName("N").SetAsString(Trim(number));
        q.Open();
        // An unknown code still tells the reader which message was meant.
        if (q.IsEmpty()) return "[" + kind + ";" + number + "]";
        return q.FieldByName("MS003").AsString();
    }

    std::string SysInfoValue(const std::string& key, const std::string& fallback) {
        TZbADOQuery q(&conn_);
        q.SetSQLText("SELECT SY002 FROM ZEBSYS WHERE SY001 = :K");
        q.ParamByName("K").SetAsString(key);
        q.Open();
        return q.IsEmpty() ? fallback : q.Fields(0).AsString();
    }

    // [0..1, 0..n-1]: row 0 the keys, row 1 their values.
    Variant SysInfo() {
        TZbADOQuery q(&conn_);
        q.SetSQLText("SELECT SY001, SY002 FROM ZEBSYS ORDER BY SY001");
        q.Open();
        int n = q.RecordCount();
        Variant r = VarArrayCreate({0, 1, 0, n > 0 ? n - 1 : 0});
        int i = 0;
        for (q.First(); !q.Eof(); q.Next(), ++i) {
            r.At({0, i}) = Variant(q.Fields(0).AsString());
            r.At({1, i}) = Variant(q.Fields(1).AsString());
        }
        return r;
    }

    // "SimpleSQL": [statement, field list "A;B"] -> rows, each an array of
    // the listed fields. Only a single SELECT is run: the lookup serves the
    // job forms' fixed statements and must not become a way to change data.
    Variant SimpleSql(const Variant& params) {
        if (!VarIsArray(params) || VarArrayHighBound(params, 1) - VarArrayLowBound(params, 1) < 1)
            throw EOleError("SimpleSQL needs [statement, fields]");
        std::int32_t lo = VarArrayLowBound(params, 1);
        std::string sql = Trim(VarToStr(params[lo]));
        std::string upper = UpperCase(sql);
        if (upper.rfind("SELECT ", 0) != 0 || sql.find(';') != std::string::npos)
            throw EOleError("SimpleSQL runs one SELECT statement only");
        TZbADOQuery q(&conn_);
        q.SetSQLText(sql);
        q.Open();
        std::vector<std::string> fields;
        std::string list = VarToStr(params[lo + 1]) + ";";
        for (std::size_t start = 0, end; (end = list.find(';', start)) != std::string::npos; start = end + 1)
            if (std::string f = Trim(list.substr(start, end - start)); !f.empty()) fields.push_back(f);
        std::vector<Variant> rows;
        for (q.First(); !q.Eof(); q.Next()) {
            std::vector<Variant> row;
            for (const auto& f : fields) row.push_back(Variant(q.FieldByName(f).AsString()));
            rows.push_back(VarArrayOf(std::move(row)));
        }
        return rows.empty() ? Variant() : VarArrayOf(std::move(rows));
    }

    Variant Counter(const std::string& name, const Variant& params) {
        std::string key = UpperCase(Trim(name));
        if (key == "RESULTCONNECTSTRING") return Variant(connectionString_);
        if (key == "SIMPLESQL") return SimpleSql(params);
        throw EOleError("unknown counter \"" + name + "\"");
    }

    // CheckValue / QueryData: the row of Table whose key columns hold the
    // values of Params (one value or an array, matched in column order).
    // Result := that row as an array of all its columns; the answer tells
    // whether there was one. The tables and their key columns are fixed
    // here, so nothing the caller sends becomes SQL text.
    bool Lookup(const std::string& table, const Variant& params, Variant& result) {
        struct Table {
            const char* code;
            const char* select;
            std::vector<const char*> keys;
        };
        static const Table tables[] = {
            {"ADMMB", "SELECT MB001, MB002, MB003, MB004, MB005 FROM ADMMB", {"UPPER(MB001)"}},
            {"GENES", "SELECT NCONDITION, CREATOR, PROGRAMME, CREATE_DATE, SCONDITION, VCONDITION FROM GENES",
             {"NCONDITION", "CREATOR", "PROGRAMME"}},
            {"CUSTA", "SELECT TA001, TA002, TA003, TA004, TA005 FROM CUSTA", {"TA001", "TA002"}},
            {"ZEBMA", "SELECT MA001, MA002, MA003, MA004 FROM ZEBMA", {"MA001"}},
        };
        result = Variant();
        const Table* t = nullptr;
        for (const auto& candidate : tables)
            if (SameText(table, candidate.code)) t = &candidate;
        if (!t) throw EOleError("no lookup for the table \"" + table + "\"");
        std::vector<std::string> values;
        if (VarIsArray(params)) {
            for (std::int32_t i = VarArrayLowBound(params, 1); i <= VarArrayHighBound(params, 1); ++i)
                values.push_back(VarToStr(params[i]));
        } else {
            values.push_back(VarToStr(params));
        }
        if (values.empty() || values.size() > t->keys.size()) return false;
        std::string sql = t->select;
        for (std::size_t i = 0; i < values.size(); ++i)
            sql += std::string(i ? " AND " : " WHERE ") + t->keys[i] + " = :K" + std::to_string(i);
        TZbADOQuery q(&conn_);
        q.SetSQLText(sql);
        for (std::size_t i = 0; i < values.size(); ++i)
            q.ParamByName("K" + std::to_string(i)).SetAsString(i == 0 && SameText(t->code, "ADMMB") ? UpperCase(values[i]) : values[i]);
        q.Open();
        if (q.IsEmpty()) return false;
        std::vector<Variant> row;
        for (int i = 0; i < q.FieldCount(); ++i) row.push_back(Variant(q.Fields(i).AsString()));
        result = VarArrayOf(std::move(row));
        return true;
    }

    const std::string& ConnectionString() const { return connectionString_; }

private:
    std::string connectionString_;
    TZbADOConnection conn_;
};

}  // namespace

namespace {

// The service objects are made afresh for each caller and keep the host
// object alive: it is what keeps its library loaded, and a service object
// outliving it would otherwise call into an unloaded library.
DispatchPtr NewCounter(const std::shared_ptr<TWorkCenter>& self, DispatchPtr owner) {
    auto* counter = new TAutoObject("TComCounter");
    counter->Method("GetSysInfo", [self](TAutoObject::Args&) { return self->SysInfo(); })
        .Method("GetCounter", [self](TAutoObject::Args& a) { return self->Counter(VarToStr(a[0]), OptionalArg(a, 1)); }, 1);
    return KeepOwnerAlive(counter, std::move(owner));
}

// (Table, Key, CompanyDB, Params, var Result) -> Boolean
DispatchPtr NewValidator(const std::shared_ptr<TWorkCenter>& self, DispatchPtr owner) {
    auto* validator = new TAutoObject("TComValidator");
    auto lookup = [self](TAutoObject::Args& a) {
        Variant result;
        bool found = self->Lookup(VarToStr(a[0]), a[3], result);
        if (a.size() > 4) a[4] = result;
        return Variant(found);
    };
    validator->Method("CheckValue", lookup, 4)
        .Method("QueryData", lookup, 4)
        .Value("ProductID", Variant(3))
        .Value("BaseLimited", Variant(""));
    return KeepOwnerAlive(validator, std::move(owner));
}

}  // namespace

IDispatch* NewWorkCenter(const std::string& connectionString) {
    auto self = std::make_shared<TWorkCenter>(connectionString);
    auto* obj = new TAutoObject("TPilvoWorkCenter");
    auto owner = [obj]() -> DispatchPtr {
        // Not yet owned (during construction) there is nothing to keep alive.
        try {
            return obj->shared_from_this();
        } catch (const std::bad_weak_ptr&) {
            return nullptr;
        }
    };
    obj->Property("VersionType", [] { return Variant(1); })
        .Property("ProductID", [self] {
            std::string text = self->SysInfoValue("ProductID", "3");
            char* end = nullptr;
            long v = std::strtol(text.c_str(), &end, 10);
            return Variant(end && *end == '\0' && !text.empty() ? static_cast<int>(v) : 3);
        })
        .Method("GetMessage", [self](TAutoObject::Args& a) { return Variant(self->Message(VarToStr(a[0]), VarToStr(a[1]))); }, 2)
        .Property("Com_Counter", [self, owner] { return Variant(NewCounter(self, owner())); })
        .Property("Com_Validator", [self, owner] { return Variant(NewValidator(self, owner())); });
    return obj;
}

}  // namespace zb::suite
