#include "SuiteHome.h"

#include <filesystem>
#include <fstream>

#include "ReportCounter.h"
#include "platform/core/Exceptions.h"
#include "platform/core/Variant.h"
#include "platform/data/ZbADO.h"

namespace zb::suite {

namespace fs = std::filesystem;

const MessageText kMessageTexts[] = {
    {"E", "000005", "日期格式错误! %s%s"},
    {"E", "000006", "无法连接应用服务器!"},
    {"E", "000013", "作业提交失败! 原因: %s"},
    {"E", "000015", "找不到系统注册信息, 请重新安装客户端!"},
    {"E", "000016", "没有设置服务器名称!"},
    {"E", "000030", "无法取得选择条件: %s"},
    {"E", "000036", "作业程序与作业窗体不符!"},
    {"E", "000037", "此栏位必须输入!"},
    {"E", "000038", "登录参数不完整!"},
    {"E", "100082", "%s 的结束日期不可小于开始日期(%s)!"},
    {"E", "100219", "操作失败: %s"},
    {"I", "000003", "此作业没有选择条件!%s"},
    {"I", "000004", "作业已提交, 作业编号: %s"},
    {"I", "000009", "请检查执行日期"},
    {"I", "000010", "及执行时间!"},
    {"I", "000011", "打印日期"},
    {"R", "200235", "方案内容与当前作业不符, 无法开启!"},
    {"W", "000002", "%s 个数应为 %s, 实际为 %s!"},
    {"W", "000003", "%s 共 %s 项, 第 %s 项没有内容!"},
    {"W", "000014", "执行参数中的栏位名称不存在!"},
};
const int kMessageTextCount = static_cast<int>(std::size(kMessageTexts));

namespace {

// The suite's own tables; their column names are the ones the plug-in's
// statements use. The server's tables (jobs, plans, rights) come from
// EnsureServerTables.
constexpr const char* kTables[] = {
    "CREATE TABLE TMCMC (MC001 VARCHAR(20) NOT NULL, MC002 VARCHAR(20) NOT NULL, MC005 VARCHAR(20),"
    " PRIMARY KEY (MC001, MC002))",
    "CREATE TABLE TMCMD (MD001 VARCHAR(20) NOT NULL, MD002 VARCHAR(20) NOT NULL, MD003 VARCHAR(20) NOT NULL,"
    " MD004 VARCHAR(4), MD006 VARCHAR(80), MD007 TEXT, PRIMARY KEY (MD001, MD002, MD003))",
    "CREATE TABLE ADMTC (TC001 VARCHAR(14) NOT NULL PRIMARY KEY, TC002 VARCHAR(40), TC003 TEXT, TC004 VARCHAR(17),"
    " TC005 VARCHAR(1), TC006 VARCHAR(200), TC007 TEXT, TC008 TEXT, TC009 VARCHAR(4), COMPANY VARCHAR(40),"
    " CREATOR VARCHAR(40), CREATE_DATE VARCHAR(17), FLAG INTEGER)",
    "CREATE TABLE ADMTD (TD001 VARCHAR(14) NOT NULL PRIMARY KEY, TD002 VARCHAR(40), TD004 VARCHAR(17))",
    "CREATE TABLE ZEBINTMA (MA001 VARCHAR(40) NOT NULL PRIMARY KEY, MA002 VARCHAR(80), MA003 VARCHAR(200))",
    // Program master: code, name, kind, direct processing forbidden ("Y"), server class.
    "CREATE TABLE ADMMB (MB001 VARCHAR(20) NOT NULL PRIMARY KEY, MB002 VARCHAR(80), MB003 VARCHAR(4),"
    " MB004 VARCHAR(1), MB005 VARCHAR(40))",
    // Users: id, name, company, company database.
    "CREATE TABLE ZEBMA (MA001 VARCHAR(40) NOT NULL PRIMARY KEY, MA002 VARCHAR(80), MA003 VARCHAR(40), MA004 VARCHAR(80))",
    // Customs handbooks: number, company, name, valid from, valid to.
    "CREATE TABLE CUSTA (TA001 VARCHAR(20) NOT NULL PRIMARY KEY, TA002 VARCHAR(40), TA003 VARCHAR(80),"
    " TA004 VARCHAR(8), TA005 VARCHAR(8))",
    // Message texts: kind letter, number, text.
    "CREATE TABLE ZEBMS (MS001 VARCHAR(1) NOT NULL, MS002 VARCHAR(6) NOT NULL, MS003 TEXT, PRIMARY KEY (MS001, MS002))",
    // System information: key, value.
    "CREATE TABLE ZEBSYS (SY001 VARCHAR(20) NOT NULL PRIMARY KEY, SY002 VARCHAR(200))",
};

void WriteFile(const fs::path& file, const std::string& content) {
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out << content;
    out.close();
    if (!out) throw Exception("cannot write " + file.string());
}

void Insert(TZbADOConnection& conn, const std::string& table, const std::vector<std::vector<Variant>>& rows) {
    for (const auto& row : rows) {
        std::string sql = "INSERT INTO " + table + " VALUES (";
        for (std::size_t i = 0; i < row.size(); ++i) sql += (i ? ", :P" : ":P") + std::to_string(i);
        sql += ")";
        TZbADOQuery q(&conn);
        q.SetSQLText(sql);
        for (std::size_t i = 0; i < row.size(); ++i) q.ParamByName("P" + std::to_string(i)).SetValue(row[i]);
        q.ExecSQL();
    }
}

void FillDatabase(const std::string& connectionString) {
    EnsureServerTables(connectionString);
    TZbADOConnection conn;
    conn.SetConnectionString(connectionString);
    conn.SetLoginPrompt(false);
    conn.Open();
    conn.BeginTrans();
    for (const char* sql : kTables) conn.Execute(sql);
    std::vector<std::vector<Variant>> messages;
    for (const auto& m : kMessageTexts) messages.push_back({Variant(m.kind), Variant(m.number), Variant(m.text)});
    Insert(conn, "ZEBMS", messages);
    Insert(conn, "ZEBSYS", {{Variant("Sys001"), Variant("1")},
                            {Variant("Sys002"), Variant("/")},
                            {Variant("ZEB002"), Variant("演示公司")},
                            {Variant("SYS007"), Variant("")},
                            {Variant("SYS008"), Variant("")},
                            {Variant("SYS009"), Variant("")},
                            {Variant("SYS010"), Variant("")}});
    Insert(conn, "ZEBMA", {{Variant("admin"), Variant("系统管理员"), Variant("DEMO"), Variant("DEMODB")},
                           {Variant("demo"), Variant("演示用户"), Variant("DEMO"), Variant("DEMODB")}});
    Insert(conn, "ADMMB", {{Variant("VTAJ52"), Variant("海关资料采集"), Variant("B"), Variant("N"), Variant("VTAJ52S.Class1")}});
    Insert(conn, "CUSTA", {{Variant("B12345678901"), Variant("DEMO"), Variant("来料加工手册"), Variant("20260101"), Variant("20271231")},
                           {Variant("C98765432109"), Variant("DEMO"), Variant("进料加工手册"), Variant("20260101"), Variant("20261231")}});
    Insert(conn, "ZEBINTMA", {{Variant("StartupPortal"), Variant("启用门户"), Variant("N")},
                              {Variant("Portal WS"), Variant("门户服务地址"), Variant("")}});
    Insert(conn, "TMCMC", {{Variant("N01"), Variant("0001"), Variant("VTAJ52")}});
    Insert(conn, "TMCMD", {{Variant("N01"), Variant("0001"), Variant("0001"), Variant("6"), Variant("作业完成通知"),
                            Variant("<MD007><Receiver><R1 ID=\"admin\" Name=\"\" Type=\"5\" Msg=\"YNN\"/></Receiver>"
                                    "<Title Value=\"海关资料采集完成\"/></MD007>||作业已完成[**********]||VTAJ52")}});
    // Every user may run every program until a site sets rights of its own.
    Insert(conn, "ZBRIGHTS", {{Variant("*"), Variant("*"), Variant("Y,Y,Y,NNNNNNNN,,"), Variant(""), Variant(""),
                               Variant(""), Variant("")}});
    conn.CommitTrans();
}

}  // namespace

void MakeSuiteHome(const std::string& homeText, const std::string& libraryFolder) {
    std::error_code ec;
    fs::path home = fs::absolute(homeText, ec);
    if (ec) throw Exception("cannot use the folder " + homeText);
    fs::path client = home / "client", server = home / "server";
    fs::path db = server / "suite.db";
    if (fs::exists(db)) throw Exception(db.string() + " exists already; give a new folder");
    for (const fs::path& p : {client / "C_PKG", client / "Log", client / "MultiLanguage" / "CHS",
                              client / "MultiLanguage" / "CHT", client / "MultiLanguage" / "ENG", server / "S_PKG",
                              server / "Log"}) {
        fs::create_directories(p, ec);
        if (ec) throw Exception("cannot create " + p.string() + ": " + ec.message());
    }
    fs::path libs = fs::absolute(libraryFolder, ec);
    WriteFile(home / "registry.ini",
              "[HKEY_LOCAL_MACHINE\\Software\\ZEB\\Orkel]\n"
              "ClientPath=" + client.string() + "/\n"
              "ServerPath=" + server.string() + "/\n"
              "ProfileType=0\n\n"
              "[HKEY_CLASSES_ROOT\\" + std::string(kReportCounterProgID) + "]\n"
              "Library=" + (libs / "ReportCounterS.so").string() + "\n\n"
              "[HKEY_CLASSES_ROOT\\PilvoWorkCenter.Manager]\n"
              "Library=" + (libs / "PilvoWorkCenter.so").string() + "\n");
    WriteFile(client / "OrkelC.ini",
              "[Server Information]\nComputerName=127.0.0.1\nServerPort=211\nSupportCallBack=0\n\n"
              "[CodePage]\nUICodePage=936\nDBCodePage=936\n\n"
              "[Client Components]\nLangType=CHS\n\n"
              "[ProductVersion]\nVersion=1.0\n\n"
              "[WorkDLLPath]\nPath1=C_PKG/\n");
    WriteFile(server / "OrkelS.ini",
              "[DBE Setting]\nMainAlias=Pilvo\nMainDBType=SQLITE\nMainDBName=" + db.string() +
              "\nMainServerName=127.0.0.1\n\n"
              "[DBPasswordCtrl]\nComputerName=127.0.0.1\nServerPort=211\n\n"
              "[CodePage]\nUICodePage=936\nDBCodePage=936\n\n"
              "[ProductVersion]\nVersion=1.0\n\n"
              "[WorkDLLPath]\nPath1=S_PKG/\n");
    WriteFile(home / "env.sh", "export ZB_REGISTRY='" + (home / "registry.ini").string() + "'\n");
    try {
        FillDatabase(SqliteConnectionString(db.string()));
    } catch (...) {
        fs::remove(db, ec);  // a half-filled database would be refused next time
        throw;
    }
}

}  // namespace zb::suite
