// OrkelINI: the client and server configuration readers.
#include "env/OrkelINI.h"

#include "env/AlertLog.h"
#include "env/IniFile.h"
#include "platform/core/CodePage.h"
#include "platform/core/Exceptions.h"
#include "platform/core/TextUtils.h"
#include "platform/os/Paths.h"
#include "platform/os/Registry.h"
#include "platform/os/SysInfo.h"
#include "util/LibStrs.h"

#include <cstdint>
#include <cstdio>

namespace zb {

namespace {

constexpr size_t kMaxUserName = 32;

std::string SystemCodePageText()
{
    const int cp = SystemCodePage();
    return cp == 936 || cp == 950 ? std::to_string(cp) : std::string("437");
}

int UIConvertModeOf(const std::string& ui, const std::string& sys)
{
    if (ui == "950")
        return 2;
    return ui == "936" && sys == "950" ? 4 : 0;
}

int DBConvertModeOf(const std::string& ui, const std::string& db)
{
    if (ui == "950" && db == "936")
        return 2;
    return ui == "936" && db == "950" ? 1 : 0;
}

bool IsTrueText(std::string_view text)
{
    const std::string up = UpperCase(text);
    return up == "1" || up == "Y" || up == "YES" || up == "TRUE";
}

// The steps both readers share: registry, profile folder and file. Returns
// false when there is nothing to read (no key, or no installation folder).
template <typename Reader>
bool LocateProfile(Reader& r, std::string& installPath, const char* pathValue, const char* profileName)
{
    r.SysCodePage = SystemCodePageText();
    r.UICodePage = r.SysCodePage;
    r.UIConvertMode = UIConvertModeOf(r.UICodePage, r.SysCodePage);
    r.DBConvertMode = DBConvertModeOf(r.UICodePage, r.DBCodePage);

    TRegistry reg(HKEY_LOCAL_MACHINE);
    if (!reg.OpenKeyReadOnly(kOrkelRegistryKey)) {
        r.ErrorCode = "E;000015";
        return false;
    }
    const std::string path = NativePathFromProfile(reg.ReadString(pathValue));
    r.ProfileType = reg.ReadString("ProfileType");
    if (path.empty())
        return false;
    installPath = IncludeTrailingPathDelimiter(path);

    r.ProfilePath = installPath;
    if (!r.ProfileType.empty() && r.ProfileType != "0") {
        const std::string user = GetUserName().substr(0, kMaxUserName);
        r.ProfilePath = installPath + "Profile/" + user + "/";
        r.UserName = user;
    }
    r.IniFileName = r.ProfilePath + profileName;
    if (!FileExists(r.IniFileName)) {
        r.ProfilePath = installPath;
        r.IniFileName = installPath + profileName;
    }
    return true;
}

template <typename Reader>
void SetConvertModes(Reader& r)
{
    r.UIConvertMode = UIConvertModeOf(r.UICodePage, r.SysCodePage);
    r.DBConvertMode = DBConvertModeOf(r.UICodePage, r.DBCodePage);
}

std::vector<std::string> RawLines(const TIniFile& ini, std::string_view section)
{
    std::vector<std::string> lines;
    for (const auto& [name, value] : ini.ReadSectionValues(section))
        lines.push_back(name + "=" + value);
    return lines;
}

std::vector<std::string> PackageFolders(const TIniFile& ini, const std::string& installPath, const char* defaultFolder)
{
    std::vector<std::string> folders;
    for (const auto& entry : ini.ReadSectionValues("WorkDLLPath")) {
        std::string folder = entry.second;
        if (folder.empty() || (folder.back() != '\\' && folder.back() != '/'))
            folder += '/';
        folders.push_back(MakeAbsolutePath(folder, installPath));
    }
    if (folders.empty())
        folders.push_back(installPath + defaultFolder);
    return folders;
}

std::uint8_t RotateRight(std::uint8_t c, unsigned n)
{
    n %= 8;
    return n == 0 ? c : static_cast<std::uint8_t>((c >> n) | (c << (8 - n)));
}

std::uint8_t RotateLeft(std::uint8_t c, unsigned n)
{
    n %= 8;
    return n == 0 ? c : static_cast<std::uint8_t>((c << n) | (c >> (8 - n)));
}

int HexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

}  // namespace

TOrkelIniC::TOrkelIniC()
{
    std::string path;
    if (!LocateProfile(*this, path, "ClientPath", "OrkelC.ini"))
        return;
    ClientPath = path;
    const TIniFile ini(IniFileName);
    LangType = ini.ReadString("Client Components", "LangType", "ENG");
    Version = ini.ReadString("ProductVersion", "Version", "");
    CreateGifBeforeSendEF = ini.ReadString("UserDefine", "CreateGifBeforeSendEF", "Y");
    UICodePage = ini.ReadString("CodePage", "UICodePage", SysCodePage);
    DBCodePage = ini.ReadString("CodePage", "DBCodePage", "936");
    SupportCallBack = IsTrueText(ini.ReadString("Server Information", "SupportCallBack", "0"));
    AutoCheckNewMsg = ini.ReadString("TaskMessageCenter Setting", "AutoCheckNewMsg", "1");
    CheckInterval = ini.ReadString("TaskMessageCenter Setting", "CheckInterval", "1");
    PopupMsg = ini.ReadString("TaskMessageCenter Setting", "PopupMsg", "1");
    LoginCheck = ini.ReadString("TaskMessageCenter Setting", "LoginCheck", "0");
    SetConvertModes(*this);

    // Until the server list is known the section is kept as written.
    WorkDLLPaths = RawLines(ini, "WorkDLLPath");
    std::string names = Trim(ini.ReadString("Server Information", "ComputerName", "127.0.0.1"));
    if (!names.empty() && names.back() == ';')
        names.pop_back();
    if (names.empty()) {
        ErrorCode = "E;000016";
        return;
    }
    const int port = ini.ReadInteger("Server Information", "ServerPort", 211);
    const int count = CountDelimitedFields(names, ";");
    Servers = VarArrayCreate({0, 1, 0, count - 1});
    for (int k = 0; k < count; ++k) {
        Servers.At({0, k}) = Variant(GetDelimitedField(names, ";", k + 1));
        Servers.At({1, k}) = Variant(port);
    }
    WorkDLLPaths = PackageFolders(ini, path, "C_PKG/");
}

TOrkelIniS::TOrkelIniS()
{
    std::string path;
    if (!LocateProfile(*this, path, "ServerPath", "OrkelS.ini"))
        return;
    ServerPath = path;
    const TIniFile ini(IniFileName);
    const char* dbe = "DBE Setting";
    const char* ctrl = "DBPasswordCtrl";
    DBSettings = VarArrayCreate({0, 3, 0, 7});
    auto text = [&](int row, int col, const char* section, const char* key, const char* def) {
        DBSettings.At({row, col}) = Variant(ini.ReadString(section, key, def));
    };
    auto integer = [&](int row, int col, const char* section, const char* key, int def) {
        DBSettings.At({row, col}) = Variant(ini.ReadInteger(section, key, def));
    };
    text(0, 0, dbe, "MainAlias", "Pilvo");
    text(0, 1, dbe, "MainUserName", "sa");
    DBSettings.At({0, 2}) = Variant(DecodeSQLSa(ini.ReadString(dbe, "XXXXXX", "")));
    text(0, 3, dbe, "MainDBType", "MSSQL");
    text(0, 4, dbe, "MainDBName", "");
    text(0, 5, dbe, "MainServerName", "");
    integer(0, 6, dbe, "MainConnectionTimeOut", 300);
    integer(0, 7, dbe, "MainCommandTimeOut", 3000);
    text(1, 0, dbe, "TempAlias", "PilvoTemp");
    text(1, 1, dbe, "TempUserName", "sa");
    DBSettings.At({1, 2}) = Variant(DecodeSQLSa(ini.ReadString(dbe, "TempPassword", "")));
    text(1, 3, dbe, "TempDBType", "PARADOX");
    text(1, 4, dbe, "TempDBName", "");
    text(1, 5, dbe, "TempDriverName", "PostgreSQL");
    integer(1, 6, dbe, "TempConnectionTimeOut", 300);
    integer(1, 7, dbe, "TempCommandTimeOut", 3000);
    DBSettings.At({2, 0}) = Variant(Trim(ini.ReadString(ctrl, "ComputerName", "")));
    integer(2, 1, ctrl, "ServerPort", 211);
    integer(2, 2, ctrl, "ClientSocketPort", 1024);
    text(2, 3, dbe, "DataBaseCodeOrder", "Chinese_Taiwan_Stroke_BIN");
    text(3, 0, dbe, "EctAlias", "EDIDATA");
    text(3, 1, dbe, "EctUserName", "sa");
    text(3, 2, dbe, "EctPassword", "");

    Version = ini.ReadString("ProductVersion", "Version", "");
    UICodePage = ini.ReadString("CodePage", "UICodePage", SysCodePage);
    DBCodePage = ini.ReadString("CodePage", "DBCodePage", "936");
    const std::string mainServer = DBSettings.At({0, 5}).Text();
    SystemControlAddress = ini.ReadString(dbe, "SystemControlAddress", "");
    if (Trim(SystemControlAddress).empty())
        SystemControlAddress = mainServer;
    OtherSystemControlAddress = ini.ReadString(dbe, "OtherSystemControlAddress", "");
    if (Trim(OtherSystemControlAddress).empty())
        OtherSystemControlAddress = mainServer;
    SupportCallBack = IsTrueText(ini.ReadString(ctrl, "SupportCallBack", "0"));
    SetConvertModes(*this);

    WorkDLLPaths = PackageFolders(ini, path, "S_PKG/");
    const std::string dbType = DBSettings.At({0, 3}).Text();
    MainDBKind = SameText(dbType, "ORACLE") ? 1 : SameText(dbType, "DB2") ? 2 : 0;
}

void TOrkelIniS::GetWorkDLLPaths(std::vector<std::string>& list) const { list = WorkDLLPaths; }

std::string EncodeSQLSa(std::string_view plain)
{
    if (plain.empty())
        plain = kEmptyPasswordMarker;
    std::string out;
    out.reserve(plain.size() * 2);
    for (size_t i = 0; i < plain.size(); ++i) {
        char pair[3];
        std::snprintf(pair, sizeof pair, "%.2X", RotateRight(static_cast<std::uint8_t>(plain[i]), (i + 1) % 8));
        out += pair;
    }
    return out;
}

std::string DecodeSQLSa(std::string_view encoded)
{
    std::string plain;
    for (size_t i = 1; 2 * i <= encoded.size(); ++i) {
        const int high = HexDigit(encoded[2 * i - 2]);
        const int low = HexDigit(encoded[2 * i - 1]);
        if (high < 0 || low < 0) {
            const EConvertError error("'$" + std::string(encoded.substr(2 * i - 2, 2)) +
                                      "' is not a valid integer value");
            WriteExceptionReport(&error, EncodeSQLSa("DecodeSQLSa"), "解析 Sa 时发生错误!");
            return kPasswordError;
        }
        plain += static_cast<char>(RotateLeft(static_cast<std::uint8_t>(high * 16 + low), i % 8));
    }
    return plain == kEmptyPasswordMarker ? std::string() : plain;
}

std::string MakeAbsolutePath(std::string_view path, std::string_view base)
{
    const std::string native = NativePathFromProfile(path);
    if (IsAbsoluteProfilePath(path))
        return native;
    const std::string folder = NativePathFromProfile(base);
    if (StartsWithPathDelimiter(native))
        return folder + native.substr(1);
    return folder + native;
}

}  // namespace zb
