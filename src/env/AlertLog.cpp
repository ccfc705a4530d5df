// Alert logs and exception reports.
#include "env/AlertLog.h"

#include "platform/core/DateTime.h"
#include "platform/core/TextUtils.h"
#include "platform/os/Paths.h"
#include "platform/os/Registry.h"
#include "platform/os/SysInfo.h"

#include <cstdio>
#include <cstdlib>
#include <cxxabi.h>
#include <fstream>
#include <ios>
#include <memory>
#include <system_error>
#include <typeinfo>
#include <unistd.h>

namespace zb {

namespace {

constexpr const char* kOrkelKey = "Software\\ZEB\\Orkel";

std::string StampFor(char rotation, double now)
{
    switch (rotation) {
    case 'M': return FormatDateTime("yyyymm", now);
    case 'Y': return FormatDateTime("yyyy", now);
    default: return FormatDateTime("yyyymmdd", now);
    }
}

// Opens, appends and closes: several processes may log into the same file,
// and a line must be on disk even when the program dies right after.
bool AppendLine(const std::string& folder, const std::string& fileName, std::string_view line)
{
    try {
        if (!ForceDirectories(folder))
            return false;
        std::ofstream out(folder + fileName, std::ios::binary | std::ios::app);
        if (!out)
            return false;
        out.write(line.data(), static_cast<std::streamsize>(line.size()));
        out.write("\r\n", 2);
        out.close();
        return !out.fail();
    } catch (...) {
        // Logging is the last resort of its callers; a failure only shows in the result.
        return false;
    }
}

std::string LogFolderBelow(std::string_view base)
{
    return IncludeTrailingPathDelimiter(base) + "Log/";
}

// The class name as a report shows it: without namespaces.
std::string ClassNameOf(const std::exception& error)
{
    const char* raw = typeid(error).name();
    int status = 0;
    std::unique_ptr<char, void (*)(void*)> demangled(abi::__cxa_demangle(raw, nullptr, nullptr, &status), std::free);
    std::string name = status == 0 && demangled ? demangled.get() : raw;
    const size_t colon = name.rfind("::");
    return colon == std::string::npos ? name : name.substr(colon + 2);
}

std::string Numbered(int n)
{
    char buf[16];
    std::snprintf(buf, sizeof buf, "%.2d", n);
    return buf;
}

}  // namespace

std::string GetOrkelInstallPath()
{
    try {
        TRegistry reg(HKEY_LOCAL_MACHINE);
        if (!reg.OpenKeyReadOnly(kOrkelKey))
            return {};
        std::string path = reg.ReadString("ClientPath");
        if (path.empty())
            path = reg.ReadString("ServerPath");
        return NativePathFromProfile(path);
    } catch (...) {
        // An unreadable registry counts as no installation.
        return {};
    }
}

std::string GetLogBaseFolder()
{
    std::string folder = GetOrkelInstallPath();
    if (folder.empty())
        folder = GetTempPath();
    return folder.empty() ? std::string("/tmp/") : folder;
}

std::string HostProgramFolder()
{
    char self[4096];
    const ssize_t n = readlink("/proc/self/exe", self, sizeof self - 1);
    if (n <= 0)
        return "./";
    return ExtractFilePath(std::string(self, static_cast<size_t>(n)));
}

bool WriteAlertLogIn(std::string_view baseFolder, std::string_view logName, std::string_view message, char rotation)
{
    try {
        const double now = Now();
        std::string file = "Alert_" + std::string(logName) + "_" + StampFor(rotation, now);
        if (logName.find('.') == std::string_view::npos)
            file += ".log";
        const std::string line = "[" + FormatDateTime("YYYY/MM/DD hh:nn:ss:zzz", now) + "] " + std::string(message);
        return AppendLine(LogFolderBelow(baseFolder), file, line);
    } catch (...) {
        // See AppendLine: logging never raises.
        return false;
    }
}

bool WriteAlertLog(std::string_view logName, std::string_view message, char rotation)
{
    std::string base = GetOrkelInstallPath();
    if (base.empty())
        base = HostProgramFolder();
    return WriteAlertLogIn(base, logName, message, rotation);
}

bool WriteReportLine(std::string_view message)
{
    try {
        const double now = Now();
        const std::string file = "Alert_VektoGenerator_" + FormatDateTime("yyyymmdd", now) + ".log";
        const std::string line = "[" + FormatDateTime("yyyy/mm/dd hh:nn:ss", now) + "] " + std::string(message);
        return AppendLine(LogFolderBelow(GetLogBaseFolder()), file, line);
    } catch (...) {
        // See AppendLine: logging never raises.
        return false;
    }
}

void WriteExceptionReport(const std::exception* error, std::string_view routine, std::string_view note)
{
    const std::string dashes(34, '-');
    const std::string middle = Trim(routine).empty() ? std::string() : " on " + std::string(routine) + " ";
    WriteReportLine(dashes + middle + dashes);
    if (error) {
        WriteReportLine("讯息信息:");
        // ios_base::failure derives from system_error, so it is asked first.
        const std::string message = error->what();
        if (const auto* io = dynamic_cast<const std::ios_base::failure*>(error)) {
            WriteReportLine("EInOutError Error 01: Code: " + std::to_string(io->code().value()) + ", Message: " + message);
        } else if (const auto* os = dynamic_cast<const std::system_error*>(error)) {
            WriteReportLine("EWin32Error Error 01: Code: " + std::to_string(os->code().value()) + ", Message: " + message);
        } else {
            WriteReportLine("Exception is " + ClassNameOf(*error) + "\r\nMessage " + Numbered(1) + ": " + message);
        }
        WriteReportLine("ErrorMessage Count: 1");
    }
    if (!Trim(note).empty())
        WriteReportLine("Programer Message: " + std::string(note));
}

}  // namespace zb
