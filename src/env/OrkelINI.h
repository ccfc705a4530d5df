// OrkelINI: where the suite's client and application server are installed
// and what their profiles say — servers, code pages, database connections and
// package folders. Each reader reads the registry and its profile afresh when
// it is made and does not change afterwards.
#pragma once

#include "platform/core/Variant.h"

#include <string>
#include <string_view>
#include <vector>

namespace zb {

// The registry key holding "ClientPath", "ServerPath" and "ProfileType".
inline constexpr const char* kOrkelRegistryKey = "Software\\ZEB\\Orkel";
// Texts standing for an empty stored password and for one that cannot be read.
inline constexpr const char* kEmptyPasswordMarker = "ZB_Say_NoPassWord_ThePassWordIsEmpty";
inline constexpr const char* kPasswordError = "ZB_Say_Password_Error";

// The client side: registry "ClientPath", profile "OrkelC.ini".
class TOrkelIniC {
public:
    TOrkelIniC();

    std::string ClientPath;   // native, ending in "/"; empty when not installed
    std::string ProfilePath;  // the folder the profile was taken from
    std::string ProfileType = "0";
    std::string UserName = "Default";
    std::string UICodePage = "936";
    std::string DBCodePage = "936";
    std::string SysCodePage;
    int UIConvertMode = 0;  // 0, 2 or 4
    int DBConvertMode = 0;  // 0, 1 or 2
    bool SupportCallBack = false;
    std::string IniFileName;
    Variant Servers;        // [0..1, 0..n-1]: row 0 names or addresses, row 1 ports
    std::string ErrorCode;  // "", "E;000015" no registry key, "E;000016" no server name
    std::string LangType;
    std::vector<std::string> WorkDLLPaths;  // absolute folders ending in "/"
    std::string Version;
    std::string CreateGifBeforeSendEF;
    std::string AutoCheckNewMsg, CheckInterval, PopupMsg, LoginCheck;
};

// The server side: registry "ServerPath", profile "OrkelS.ini".
class TOrkelIniS {
public:
    TOrkelIniS();

    // The list receives a copy of WorkDLLPaths.
    void GetWorkDLLPaths(std::vector<std::string>& list) const;

    std::string ServerPath;
    std::string ProfilePath;
    std::string ProfileType = "0";
    std::string UserName = "Default";
    std::string UICodePage = "936";
    std::string DBCodePage = "936";
    std::string SysCodePage;
    int UIConvertMode = 0;
    int DBConvertMode = 0;
    bool SupportCallBack = false;
    std::string IniFileName;
    // [0..3, 0..7]: row 0 the main database (alias, user, password, type, name,
    // server, connection and command time-outs), row 1 the temporary database
    // (alias, user, password, type, name, driver, time-outs), row 2 computer
    // name, server port, client socket port and sort order, row 3 the "Ect"
    // database (alias, user, password as stored).
    Variant DBSettings;
    std::string ErrorCode;  // "" or "E;000015"
    std::vector<std::string> WorkDLLPaths;
    std::string Version;
    int MainDBKind = 0;  // 0 other, 1 Oracle, 2 DB2
    std::string SystemControlAddress;
    std::string OtherSystemControlAddress;
};

// The stored form of a password: each byte rotated right by its position
// (from 1) mod 8 and written as two upper-case hexadecimal digits; an empty
// password is stored as the encoding of kEmptyPasswordMarker. An obfuscation only.
std::string EncodeSQLSa(std::string_view plain);
// The plain password; empty for the marker and for an empty text. A pair
// that is not hexadecimal gives kPasswordError and an exception report.
std::string DecodeSQLSa(std::string_view encoded);

// A folder written in a profile, against the installation folder `base`
// (ending in "/"): a drive or network share stays as it is; a leading
// separator, or none, puts the path below `base`. "\" is read as "/".
std::string MakeAbsolutePath(std::string_view path, std::string_view base);

}  // namespace zb
