// ZBDownLoadNewFileU: the new-file download before a package is loaded.
#include "env/ZBDownLoadNewFileU.h"

#include "env/AlertLog.h"
#include "env/UserPrompt.h"
#include "platform/core/Exceptions.h"
#include "platform/core/TextUtils.h"
#include "platform/os/Paths.h"
#include "platform/os/Registry.h"
#include "util/LibStrs.h"

#include <cstdio>

namespace zb {

namespace {

// The text between `open` and `close`, when both are there.
bool Between(const std::string& text, std::string_view open, std::string_view close, std::string& out)
{
    const size_t start = text.find(open);
    if (start == std::string::npos)
        return false;
    const size_t from = start + open.size();
    const size_t end = text.find(close, from);
    if (end == std::string::npos)
        return false;
    out = text.substr(from, end - from);
    return true;
}

std::string Item(const std::string& info, std::string_view tag, std::string_view key)
{
    std::string value;
    if (Between(info, "<" + std::string(tag) + ">", "</" + std::string(tag) + ">", value))
        return value;
    if (Between(info, std::string(key) + " = '", "'", value))
        return value;
    return {};
}

// The folder part of a server path, which may be written with "\".
std::string FolderPart(const std::string& path)
{
    const size_t cut = path.find_last_of("/\\");
    return cut == std::string::npos ? std::string() : path.substr(0, cut + 1);
}

void LogDownLoad(const std::string& text) { WriteAlertLogIn(HostProgramFolder(), kDownLoadLogName, text, 'D'); }

// Runs `attempt` until it succeeds; after a failure an interactive caller may
// retry, anything else raises the failure's text.
template <typename Attempt>
void RepeatWhileFailing(bool interactive, const std::string& what, const std::string& file, Attempt attempt)
{
    for (;;) {
        char message[256] = {};
        char scratch[8] = {};
        if (attempt(message, scratch))
            return;
        const std::string text = what + "[" + file + "] failed. " + message;
        if (!interactive)
            throw Exception(text);
        TUserQuestion question;
        question.Kind = TUserPromptKind::Error;
        question.Text = text;
        question.Buttons = {TUserAnswer::Abort, TUserAnswer::Retry};
        question.NonInteractive = TUserAnswer::Abort;
        if (AskUser(question) != TUserAnswer::Retry)
            throw Exception(text);
    }
}

}  // namespace

TZbDownLoad::TZbDownLoad(std::string_view library) : Library(library)
{
    ZBDownLoadFileEx = Library.Proc<ZBDownLoadFileExFx>("ZBDownLoadFileEx");
    UnZipFilesOrDir = Library.Proc<UnZipFilesOrDirFx>("UnZipFilesOrDir");
    CompareFileToDown = Library.Proc<CompareFileToDownFx>("CompareFileToDown");
    CompareFileToDownEx = Library.Proc("CompareFileToDownEx");
    NeedDownLoad = Library.Proc("NeedDownLoad");
    UnZipFilesList = Library.Proc("UnZipFilesList");
    UnZipFilesXML = Library.Proc("UnZipFilesXML");
    GetFileList = Library.Proc("GetFileList");
}

bool UpdateFromFileInfo(const std::string& info, const std::string& file, bool interactive, std::string& message,
                        std::string_view library)
{
    const std::string stamp = Item(info, "Modify", "Modify");
    const std::string folder = FolderPart(Item(info, "Path", "Path"));
    return DownloadIfNewer(stamp, folder, file, interactive, message, library);
}

bool DownloadIfNewer(const std::string& stamp, const std::string& folder, const std::string& file, bool interactive,
                     std::string& message, std::string_view library)
{
    if (!IsUpgradeOn())
        return true;
    try {
        TZbDownLoad dl(library);
        if (!dl.CompareFileToDown)
            throw Exception("function ZbDownLoad.CompareFileToDown not found!");
        if (!dl.CompareFileToDown(stamp.c_str(), file.c_str()))
            return true;
        if (file.find("\\\\") != std::string::npos || file.starts_with("//"))
            throw Exception("Net File can't update![" + file + "]");

        const std::string name = ExtractFileName(file);
        const std::string remote = LowerCase(TrimFolder(folder) + name);
        const std::string archive = TrimFolder(GetLongTempPath()) + name + ".zip";
        const std::string remoteZip = remote + ".zip";
        RepeatWhileFailing(interactive, "DownLoad new file", file, [&](char* msg, char* scratch) {
            if (!dl.ZBDownLoadFileEx) {
                std::snprintf(msg, 256, "%s", "function ZbDownLoad.ZBDownLoadFile not found!");
                return false;
            }
            int filled = 0;
            return dl.ZBDownLoadFileEx(0, dl.Field.c_str(), "Plor", "60", remoteZip.c_str(), archive.c_str(), &filled,
                                       msg, scratch, 0) != 0;
        });
        const std::string target = ExtractFilePath(file);
        RepeatWhileFailing(interactive, "Unzip new file", file, [&](char* msg, char* scratch) {
            if (!dl.UnZipFilesOrDir) {
                std::snprintf(msg, 256, "%s", "function ZbDownLoad.UnZipFilesOrDir not found!");
                return false;
            }
            return dl.UnZipFilesOrDir(archive.c_str(), target.c_str(), msg, scratch) != 0;
        });
        return true;
    } catch (const std::exception& e) {
        // The caller tries the next package folder; the reason stays in the log.
        message = e.what();
        LogDownLoad(message);
        return false;
    }
}

bool IsUpgradeOn()
{
    TRegistry reg(HKEY_LOCAL_MACHINE);
    if (!reg.OpenKeyReadOnly(kUpgraderRegistryKey)) {
        LogDownLoad("Read Upgrader Registry Error: No UPGRADER_REGISTRY_PATH");
        return false;
    }
    return Trim(reg.ReadString("GoAhead")) == "1";
}

std::string TrimFolder(std::string_view text)
{
    std::string out = Trim(text);
    if (!out.empty() && out.back() != '/' && out.back() != '\\')
        out += '/';
    return out;
}

}  // namespace zb
