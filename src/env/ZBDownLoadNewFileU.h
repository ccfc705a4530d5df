// ZBDownLoadNewFileU: brings a local package file up to date from the
// application server before it is loaded, through the suite's download
// library, when the upgrader's switch is on.
#pragma once

#include "platform/os/Library.h"

#include <string>
#include <string_view>

namespace zb {

inline constexpr const char* kZbDownLoadLibrary = "ZBDownLoad.dll";
// The upgrader's key below HKEY_LOCAL_MACHINE; its value "GoAhead" is the switch.
inline constexpr const char* kUpgraderRegistryKey = "Software\\Plor\\Pelwin";
inline constexpr const char* kDownLoadLogName = "ZBDownLoadNewFileU";

// The download library and its entries, looked up by name when it is loaded
// (each null when missing) and unloaded with the object.
class TZbDownLoad {
public:
    using ZBDownLoadFileExFx = int(int, const char*, const char*, const char*, const char*, const char*, int*, char*,
                                   void*, int);
    using UnZipFilesOrDirFx = int(const char*, const char*, char*, void*);
    using CompareFileToDownFx = int(const char*, const char*);

    explicit TZbDownLoad(std::string_view library = kZbDownLoadLibrary);

    TLibrary Library;
    ZBDownLoadFileExFx* ZBDownLoadFileEx = nullptr;
    UnZipFilesOrDirFx* UnZipFilesOrDir = nullptr;
    CompareFileToDownFx* CompareFileToDown = nullptr;
    void* CompareFileToDownEx = nullptr;  // looked up, not called
    void* NeedDownLoad = nullptr;
    void* UnZipFilesList = nullptr;
    void* UnZipFilesXML = nullptr;
    void* GetFileList = nullptr;
    std::string Field;  // the text handed to the download entry; empty
};

// Takes the stamp and the server folder from the host's file information
// ("<Modify>..</Modify>" and "<Path>..</Path>", else "Modify = '..'" and
// "Path = '..'") and calls DownloadIfNewer.
bool UpdateFromFileInfo(const std::string& info, const std::string& file, bool interactive, std::string& message,
                        std::string_view library = kZbDownLoadLibrary);
// True when the local file may be used: the switch is off or missing, the
// server's copy is not newer, or the newer copy was downloaded and unpacked
// over it. False, with the reason in `message` and in the alert log, when
// the library or an entry is missing, the file lies on a network path, or a
// download or unpack failed and was not retried. Interactive callers are
// asked Abort or Retry after each failure; without a handler for questions
// the answer is Abort. `library` names another library to load (tests).
bool DownloadIfNewer(const std::string& stamp, const std::string& folder, const std::string& file, bool interactive,
                     std::string& message, std::string_view library = kZbDownLoadLibrary);
// The switch: "GoAhead", trimmed, is "1". A missing key is logged and reads as off.
bool IsUpgradeOn();
// Trimmed, with a "/" added when not empty and ending in neither "/" nor "\".
std::string TrimFolder(std::string_view text);

}  // namespace zb
