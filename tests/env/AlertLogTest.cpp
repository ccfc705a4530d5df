// Tests of the alert logs and exception reports: where the files go, how
// they are named by rotation, and the exact lines written.
#include "env/AlertLog.h"

#include "platform/core/DateTime.h"
#include "platform/core/Exceptions.h"
#include "platform/os/SysInfo.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <regex>
#include <system_error>

namespace zb {
namespace {

namespace fs = std::filesystem;

std::string OrkelKey(const std::string& entries) { return "[HKEY_LOCAL_MACHINE\\Software\\ZEB\\Orkel]\n" + entries; }

// The last CR LF-ended line of a log file, without its CR LF.
std::string LastLine(const fs::path& file)
{
    const std::string text = test::ReadFile(file);
    if (text.size() < 2 || text.substr(text.size() - 2) != "\r\n")
        return "<no line ending in CR LF>";
    const size_t start = text.rfind("\r\n", text.size() - 3);
    return text.substr(start == std::string::npos ? 0 : start + 2, text.size() - 2 - (start == std::string::npos ? 0 : start + 2));
}

TEST(AlertLog, FileNamesByRotation)
{
    test::TempRegistry reg;
    const fs::path install = reg.Dir().Path() / "inst";
    reg.Write(OrkelKey("ClientPath=" + install.string() + "\n"));
    const double now = Now();
    const std::string day = FormatDateTime("yyyymmdd", now), month = FormatDateTime("yyyymm", now),
                      year = FormatDateTime("yyyy", now);
    struct Case {
        std::string name;
        char rotation;
        std::string file;
    } cases[] = {
        {"libstrs", 'D', "Alert_libstrs_" + day + ".log"},  {"libstrs", 'M', "Alert_libstrs_" + month + ".log"},
        {"libstrs", 'Y', "Alert_libstrs_" + year + ".log"}, {"libstrs", 'd', "Alert_libstrs_" + day + ".log"},
        {"libstrs", 'x', "Alert_libstrs_" + day + ".log"},  {"trace.txt", 'D', "Alert_trace.txt_" + day},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name + " " + c.rotation);
        const std::string message = std::string("rotation ") + c.rotation;
        ASSERT_TRUE(WriteAlertLog(c.name, message, c.rotation));
        EXPECT_EQ(LastLine(install / "Log" / c.file).substr(26), message);
    }
}

TEST(AlertLog, LineFormatAndAppending)
{
    test::TempRegistry reg;
    const fs::path install = reg.Dir().Path() / "inst";
    // ServerPath stands in when there is no ClientPath; the folder comes as a profile writes it.
    reg.Write(OrkelKey("ClientPath=\nServerPath=" + install.string() + "\\\n"));
    ASSERT_TRUE(WriteAlertLog("fmt", "first 100% %s %d", 'Y'));
    ASSERT_TRUE(WriteAlertLog("fmt", "second", 'Y'));
    const std::string text = test::ReadFile(install / "Log" / ("Alert_fmt_" + FormatDateTime("yyyy", Now()) + ".log"));
    const std::regex line(R"(\[\d{4}/\d{2}/\d{2} \d{2}:\d{2}:\d{2}:\d{3}\] first 100% %s %d\r\n)"
                          R"(\[\d{4}/\d{2}/\d{2} \d{2}:\d{2}:\d{2}:\d{3}\] second\r\n)");
    EXPECT_TRUE(std::regex_match(text, line)) << text;
}

TEST(AlertLog, WithoutRegistryLogsGoBesideTheProgramAndToTheTemporaryFolder)
{
    test::TempRegistry reg;  // no keys
    test::TempDir tmp;
    test::EnvGuard tmpdir("TMPDIR", tmp.Path().string());
    EXPECT_EQ(GetOrkelInstallPath(), "");
    EXPECT_EQ(GetLogBaseFolder(), tmp.Path().string() + "/");

    const std::string message = "beside the program " + std::to_string(GetTickCount64());
    ASSERT_TRUE(WriteAlertLog("zbtest", message, 'D'));
    const fs::path file = fs::path(HostProgramFolder()) / "Log" / ("Alert_zbtest_" + FormatDateTime("yyyymmdd", Now()) + ".log");
    EXPECT_EQ(LastLine(file).substr(26), message);

    ASSERT_TRUE(WriteReportLine("report 5%"));
    const fs::path report = tmp.Path() / "Log" / ("Alert_VektoGenerator_" + FormatDateTime("yyyymmdd", Now()) + ".log");
    EXPECT_TRUE(std::regex_match(LastLine(report), std::regex(R"(\[\d{4}/\d{2}/\d{2} \d{2}:\d{2}:\d{2}\] report 5%)")));
}

TEST(AlertLog, AFailedWriteReturnsFalse)
{
    test::TempRegistry reg;
    const fs::path blocker = reg.Dir().Write("inst", "a file where the folder should be");
    reg.Write(OrkelKey("ClientPath=" + blocker.string() + "\n"));
    EXPECT_FALSE(WriteAlertLog("libstrs", "lost", 'D'));
    EXPECT_FALSE(WriteReportLine("lost"));
    WriteExceptionReport(nullptr, "Routine", "note");  // must not raise either
}

// The report log's lines without their time stamps.
std::vector<std::string> ReportLines(const fs::path& install)
{
    const std::string text =
        test::ReadFile(install / "Log" / ("Alert_VektoGenerator_" + FormatDateTime("yyyymmdd", Now()) + ".log"));
    std::vector<std::string> lines;
    size_t pos = 0;
    while (pos < text.size()) {
        size_t end = text.find("\r\n", pos);
        if (end == std::string::npos)
            end = text.size();
        std::string line = text.substr(pos, end - pos);
        if (line.starts_with("["))
            line = line.substr(line.find("] ") + 2);
        lines.push_back(line);
        pos = end + 2;
    }
    return lines;
}

TEST(AlertLog, ExceptionReports)
{
    test::TempRegistry reg;
    const fs::path install = reg.Dir().Path() / "inst";
    reg.Write(OrkelKey("ClientPath=" + install.string() + "\n"));
    const std::string dashes(34, '-');

    WriteExceptionReport(nullptr, "  ", "");
    WriteExceptionReport(nullptr, "Load%s", "look at 100%d");
    const EConvertError convert("'$ZZ' is not a valid integer value, 5%");
    WriteExceptionReport(&convert, "Decode", "");
    const std::system_error os(std::error_code(13, std::system_category()), "open %s");
    WriteExceptionReport(&os, "", "");
    const std::ios_base::failure io("read");
    WriteExceptionReport(&io, "", "");

    const std::vector<std::string> expected = {
        dashes + dashes,
        dashes + " on Load%s " + dashes,
        "Programer Message: look at 100%d",
        dashes + " on Decode " + dashes,
        "讯息信息:",
        "Exception is EConvertError",
        "Message 01: '$ZZ' is not a valid integer value, 5%",
        "ErrorMessage Count: 1",
        dashes + dashes,
        "讯息信息:",
        "EWin32Error Error 01: Code: 13, Message: " + std::string(os.what()),
        "ErrorMessage Count: 1",
        dashes + dashes,
        "讯息信息:",
        "EInOutError Error 01: Code: " + std::to_string(io.code().value()) + ", Message: " + io.what(),
        "ErrorMessage Count: 1",
    };
    EXPECT_EQ(ReportLines(install), expected);
}

}  // namespace
}  // namespace zb
