// ZBDownLoad.so: brings files from the application server's file store to
// the client: compares the server's stamp of a file with the local copy,
// fetches the file's zip archive from the store and unpacks it.
//
// The store is named by the value "FileStore" of the registry key
// HKEY_LOCAL_MACHINE\Software\Plor\Pelwin (the upgrader's key, beside its
// "GoAhead" switch): an absolute folder, or an http:// or https:// address.
// It mirrors the server's folders below its root, with names in lower case:
// the remote name "C:\Pilvo\S_PKG\x.so.zip" (or "S_PKG/x.so.zip") is the
// file "pilvo/s_pkg/x.so.zip" below the store. A remote name that would leave
// the store ("..") is refused.
//
// Every entry returns 1 for success and 0 for failure; a failure leaves its
// reason, cut to 255 bytes, in the caller's 256-byte message buffer.
#include "platform/os/Registry.h"

#include <curl/curl.h>
#include <sys/stat.h>
#include <zip.h>

#include <cctype>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <system_error>
#include <vector>

namespace {

namespace fs = std::filesystem;

constexpr const char* kUpgraderKey = "Software\\Plor\\Pelwin";
constexpr std::uint64_t kMaxUnpacked = std::uint64_t{2} << 30;  // refuses archives that unpack beyond 2 GiB

struct Failure {
    std::string reason;
};

void SetMessage(char* buffer, const std::string& text)
{
    if (!buffer)
        return;
    const size_t n = std::min<size_t>(text.size(), 255);
    std::memcpy(buffer, text.data(), n);
    buffer[n] = '\0';
}

std::string FileStore()
{
    zb::TRegistry reg(zb::HKEY_LOCAL_MACHINE);
    if (!reg.OpenKeyReadOnly(kUpgraderKey))
        throw Failure{"the upgrader's registry key is missing"};
    std::string store = reg.ReadString("FileStore");
    while (!store.empty() && (store.back() == ' ' || store.back() == '/'))
        store.pop_back();
    if (store.empty())
        throw Failure{"no FileStore is configured"};
    return store;
}

bool IsHttp(const std::string& store) { return store.rfind("http://", 0) == 0 || store.rfind("https://", 0) == 0; }

// The remote name as folder names below the store.
std::vector<std::string> StoreParts(std::string remote)
{
    for (char& c : remote)
        if (c == '\\')
            c = '/';
    if (remote.size() >= 2 && std::isalpha(static_cast<unsigned char>(remote[0])) && remote[1] == ':')
        remote.erase(0, 2);
    std::vector<std::string> parts;
    size_t start = 0;
    while (start <= remote.size()) {
        size_t end = remote.find('/', start);
        if (end == std::string::npos)
            end = remote.size();
        std::string part = remote.substr(start, end - start);
        if (part == "..")
            throw Failure{"the remote name leaves the file store: " + remote};
        if (!part.empty() && part != ".")
            parts.push_back(std::move(part));
        start = end + 1;
    }
    if (parts.empty())
        throw Failure{"no remote file name"};
    return parts;
}

// Writes through a neighbour file and renames it over the target, so a file
// that is in use (a loaded library) is replaced, never overwritten in place.
template <typename Fill>
void ReplaceFile(const fs::path& target, Fill fill)
{
    const fs::path part = target.string() + ".part";
    {
        std::ofstream out(part, std::ios::binary | std::ios::trunc);
        if (!out)
            throw Failure{"cannot write " + part.string()};
        fill(out);
        out.close();
        if (!out) {
            std::error_code ignored;
            fs::remove(part, ignored);
            throw Failure{"cannot write " + part.string()};
        }
    }
    std::error_code ec;
    fs::rename(part, target, ec);
    if (ec) {
        fs::remove(part, ec);
        throw Failure{"cannot replace " + target.string()};
    }
}

size_t WriteToStream(char* data, size_t size, size_t count, void* user)
{
    static_cast<std::ofstream*>(user)->write(data, static_cast<std::streamsize>(size * count));
    return size * count;
}

void FetchHttp(const std::string& store, const std::vector<std::string>& parts, const fs::path& archive, long timeout)
{
    std::unique_ptr<CURL, void (*)(CURL*)> curl(curl_easy_init(), curl_easy_cleanup);
    if (!curl)
        throw Failure{"cannot start the HTTP client"};
    std::string url = store;
    for (const std::string& part : parts) {
        char* escaped = curl_easy_escape(curl.get(), part.c_str(), static_cast<int>(part.size()));
        url += "/";
        url += escaped ? escaped : "";
        curl_free(escaped);
    }
    char error[CURL_ERROR_SIZE] = {};
    long status = 0;
    CURLcode rc = CURLE_OK;
    try {
        ReplaceFile(archive, [&](std::ofstream& out) {
        curl_easy_setopt(curl.get(), CURLOPT_URL, url.c_str());
        curl_easy_setopt(curl.get(), CURLOPT_PROTOCOLS_STR, "http,https");
        curl_easy_setopt(curl.get(), CURLOPT_NOSIGNAL, 1L);
        curl_easy_setopt(curl.get(), CURLOPT_CONNECTTIMEOUT, timeout);
        curl_easy_setopt(curl.get(), CURLOPT_TIMEOUT, timeout * 10);
        curl_easy_setopt(curl.get(), CURLOPT_WRITEFUNCTION, WriteToStream);
        curl_easy_setopt(curl.get(), CURLOPT_WRITEDATA, &out);
        curl_easy_setopt(curl.get(), CURLOPT_ERRORBUFFER, error);
        rc = curl_easy_perform(curl.get());
        curl_easy_getinfo(curl.get(), CURLINFO_RESPONSE_CODE, &status);
        if (rc != CURLE_OK || status != 200)
            out.setstate(std::ios::failbit);  // nothing half-fetched replaces the archive
        });
    } catch (const Failure&) {
        if (rc != CURLE_OK)
            throw Failure{"download of " + url + " failed: " + (*error ? error : curl_easy_strerror(rc))};
        if (status != 200)
            throw Failure{"the file store answered HTTP " + std::to_string(status) + " for " + url};
        throw;
    }
}

// A stamp "yyyy-mm-dd hh:nn:ss" (any separators, time optional) or
// "yyyymmdd[hhnnss]" as local time; false when it cannot be read.
bool ParseStamp(const std::string& stamp, std::time_t& when)
{
    std::vector<std::string> groups;
    std::string current;
    for (char c : stamp) {
        if (std::isdigit(static_cast<unsigned char>(c))) {
            current += c;
        } else if (!current.empty()) {
            groups.push_back(current);
            current.clear();
        }
    }
    if (!current.empty())
        groups.push_back(current);
    int v[6] = {0, 0, 0, 0, 0, 0};
    if (!groups.empty() && groups[0].size() >= 8) {
        const std::string& d = groups[0];
        if (d.size() != 8 && d.size() != 12 && d.size() != 14)
            return false;
        for (size_t i = 0; i * 2 + 4 <= d.size() && i < 6; ++i)
            v[i] = i == 0 ? std::stoi(d.substr(0, 4)) : std::stoi(d.substr(2 + 2 * i, 2));
    } else {
        if (groups.size() < 3)
            return false;
        for (size_t i = 0; i < groups.size() && i < 6; ++i) {
            if (groups[i].size() > 4)
                return false;
            v[i] = std::stoi(groups[i]);
        }
    }
    if (v[0] < 1900 || v[1] < 1 || v[1] > 12 || v[2] < 1 || v[2] > 31 || v[3] > 23 || v[4] > 59 || v[5] > 60)
        return false;
    std::tm tm{};
    tm.tm_year = v[0] - 1900;
    tm.tm_mon = v[1] - 1;
    tm.tm_mday = v[2];
    tm.tm_hour = v[3];
    tm.tm_min = v[4];
    tm.tm_sec = v[5];
    tm.tm_isdst = -1;
    when = std::mktime(&tm);
    return when != static_cast<std::time_t>(-1);
}

std::time_t ModificationTime(const char* file)
{
    struct stat st {};
    return stat(file, &st) == 0 ? st.st_mtime : 0;
}

// The entry's place below `target`; refuses names that would leave it.
fs::path EntryPath(const fs::path& target, std::string name)
{
    for (char& c : name)
        if (c == '\\')
            c = '/';
    const fs::path relative = fs::path(name).lexically_normal();
    if (name.empty() || relative.is_absolute() || relative.has_root_name() || *relative.begin() == "..")
        throw Failure{"the archive entry " + name + " leaves the target folder"};
    return target / relative;
}

void Unzip(const std::string& archive, const fs::path& target)
{
    int error = 0;
    std::unique_ptr<zip_t, void (*)(zip_t*)> zip(zip_open(archive.c_str(), ZIP_RDONLY, &error), zip_discard);
    if (!zip) {
        zip_error_t ze;
        zip_error_init_with_code(&ze, error);
        const std::string reason = zip_error_strerror(&ze);
        zip_error_fini(&ze);
        throw Failure{"cannot open the archive " + archive + ": " + reason};
    }
    const zip_int64_t count = zip_get_num_entries(zip.get(), 0);
    std::uint64_t total = 0;
    for (zip_int64_t i = 0; i < count; ++i) {
        zip_stat_t st;
        if (zip_stat_index(zip.get(), static_cast<zip_uint64_t>(i), 0, &st) != 0 || !(st.valid & ZIP_STAT_NAME))
            throw Failure{"cannot read the archive " + archive};
        total += st.size;
        if (total > kMaxUnpacked)
            throw Failure{"the archive " + archive + " unpacks beyond the allowed size"};
        const std::string name = st.name;
        const fs::path place = EntryPath(target, name);
        std::error_code ec;
        if (!name.empty() && (name.back() == '/' || name.back() == '\\')) {
            fs::create_directories(place, ec);
            continue;
        }
        fs::create_directories(place.parent_path(), ec);
        std::unique_ptr<zip_file_t, int (*)(zip_file_t*)> in(zip_fopen_index(zip.get(), static_cast<zip_uint64_t>(i), 0),
                                                            zip_fclose);
        if (!in)
            throw Failure{"cannot read " + name + " in " + archive + ": " + zip_strerror(zip.get())};
        ReplaceFile(place, [&](std::ofstream& out) {
            char buf[65536];
            zip_int64_t n = 0;
            std::uint64_t written = 0;
            while ((n = zip_fread(in.get(), buf, sizeof buf)) > 0) {
                written += static_cast<std::uint64_t>(n);
                if (written > st.size)
                    break;  // an entry larger than it says is refused below
                out.write(buf, n);
            }
            if (n < 0 || written != st.size)
                out.setstate(std::ios::failbit);
        });
    }
}

}  // namespace

extern "C" {

// 1 when the local file is to be downloaded: it is missing, or the server's
// stamp is newer than its modification time by more than a second.
__attribute__((visibility("default"))) int CompareFileToDown(const char* stamp, const char* localFile)
{
    try {
        if (!localFile || !*localFile)
            return 0;
        std::error_code ec;
        if (!fs::exists(localFile, ec))
            return 1;
        std::time_t server = 0;
        if (!stamp || !ParseStamp(stamp, server))
            return 0;  // an unreadable stamp says nothing newer: the local copy is kept
        return server > ModificationTime(localFile) + 1 ? 1 : 0;
    } catch (...) {
        return 0;  // nothing may cross the C boundary
    }
}

// Fetches `remote` from the file store into `localArchive`. `timeout` holds
// the connection time-out in seconds ("60"); `user` and `field` name the
// caller and are not needed by this store; `size` receives the archive's size.
__attribute__((visibility("default"))) int ZBDownLoadFileEx(int kind, const char* field, const char* user,
                                                            const char* timeout, const char* remote,
                                                            const char* localArchive, int* size, char* message,
                                                            void* scratch, int showProgress)
{
    try {
        SetMessage(message, "");
        if (!remote || !localArchive || !*localArchive)
            throw Failure{"missing file name"};
        const std::string store = FileStore();
        const std::vector<std::string> parts = StoreParts(remote);
        const fs::path archive = localArchive;
        long seconds = timeout ? std::strtol(timeout, nullptr, 10) : 0;
        if (seconds <= 0)
            seconds = 60;
        if (IsHttp(store)) {
            FetchHttp(store, parts, archive, seconds);
        } else {
            fs::path source = store;
            for (const std::string& part : parts)
                source /= part;
            std::ifstream in(source, std::ios::binary);
            if (!in)
                throw Failure{"the file store has no " + source.string()};
            ReplaceFile(archive, [&](std::ofstream& out) { out << in.rdbuf(); });
        }
        if (size) {
            std::error_code ec;
            const auto bytes = fs::file_size(archive, ec);
            *size = ec ? 0 : static_cast<int>(std::min<std::uintmax_t>(bytes, INT32_MAX));
        }
        return 1;
    } catch (const Failure& f) {
        SetMessage(message, f.reason);
    } catch (const std::exception& e) {
        SetMessage(message, e.what());
    }
    return 0;
}

// Unpacks every entry of the archive below `target`, replacing files there.
__attribute__((visibility("default"))) int UnZipFilesOrDir(const char* archive, const char* target, char* message,
                                                           void* scratch)
{
    try {
        SetMessage(message, "");
        if (!archive || !target)
            throw Failure{"missing file name"};
        Unzip(archive, *target ? fs::path(target) : fs::current_path());
        return 1;
    } catch (const Failure& f) {
        SetMessage(message, f.reason);
    } catch (const std::exception& e) {
        SetMessage(message, e.what());
    }
    return 0;
}
}
