// Alert logs and exception reports: one line per failure that happens where
// no user can be asked. Writers never raise; a failed write returns false.
#pragma once

#include <exception>
#include <string>
#include <string_view>

namespace zb {

// The suite's installation folder from the registry (ClientPath, else
// ServerPath, as a native path without a trailing "/" added); may be empty.
std::string GetOrkelInstallPath();
// GetOrkelInstallPath, else the temporary folder. Never empty.
std::string GetLogBaseFolder();
// The folder of the running program's executable, ending in "/".
std::string HostProgramFolder();

// Appends "[YYYY/MM/DD hh:nn:ss:zzz] message" CR LF to
// <install folder or program folder>/Log/Alert_<name>_<stamp>[.log], the
// stamp by `rotation`: 'M' yyyymm, 'Y' yyyy, anything else yyyymmdd. The
// ".log" is left out when the name holds a ".". The folder is created.
bool WriteAlertLog(std::string_view logName, std::string_view message, char rotation);
// The same, below `baseFolder` + "Log/" (for writers that always log beside
// the program).
bool WriteAlertLogIn(std::string_view baseFolder, std::string_view logName, std::string_view message,
                     char rotation);

// Appends "[date time] message" CR LF to
// GetLogBaseFolder()/Log/Alert_VektoGenerator_<yyyymmdd>.log.
bool WriteReportLine(std::string_view message);

// A block of report lines describing `error` (may be null): a header naming
// the routine, the error's kind, codes and messages, and the programmer's note.
// Texts are written as they are; a "%" in them is no format.
void WriteExceptionReport(const std::exception* error, std::string_view routine, std::string_view note);

}  // namespace zb
