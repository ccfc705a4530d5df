// Tests of the new-file download with the real ZBDownLoad library and a
// file store in a temporary folder.
#include "env/ZBDownLoadNewFileU.h"

#include "LoopbackHttpServer.h"

#include "env/AlertLog.h"
#include "env/UserPrompt.h"
#include "platform/core/DateTime.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>
#include <zip.h>

#include <chrono>

namespace zb {
namespace {

namespace fs = std::filesystem;

void WriteZip(const fs::path& file, const std::vector<std::pair<std::string, std::string>>& entries)
{
    fs::create_directories(file.parent_path());
    int error = 0;
    zip_t* zip = zip_open(file.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &error);
    ASSERT_NE(zip, nullptr);
    for (const auto& [name, content] : entries) {
        zip_source_t* src = zip_source_buffer(zip, content.data(), content.size(), 0);
        ASSERT_GE(zip_file_add(zip, name.c_str(), src, ZIP_FL_OVERWRITE), 0);
    }
    ASSERT_EQ(zip_close(zip), 0);
}

std::string DownLoadLogTail()
{
    const fs::path log =
        fs::path(HostProgramFolder()) / "Log" / ("Alert_ZBDownLoadNewFileU_" + FormatDateTime("yyyymmdd", Now()) + ".log");
    const std::string text = test::ReadFile(log);
    const size_t end = text.size() >= 2 ? text.size() - 2 : 0;
    const size_t start = text.rfind("\r\n", end > 0 ? end - 1 : 0);
    const std::string line = text.substr(start == std::string::npos ? 0 : start + 2);
    return line.size() > 26 ? line.substr(26, line.size() - 28) : line;
}

// A client package folder with an old VTAJ52S.so, a file store holding a
// newer one, and the upgrader's key.
class DownLoadTest : public ::testing::Test {
protected:
    DownLoadTest()
    {
        local_ = (reg_.Dir().Path() / "client" / "pkg" / "VTAJ52S.so").string();
        reg_.Dir().Write("client/pkg/VTAJ52S.so", "old");
        fs::last_write_time(local_, fs::file_time_type::clock::now() - std::chrono::hours(24 * 365 * 3));
        WriteZip(Store() / "s_pkg" / "vtaj52s.so.zip", {{"VTAJ52S.so", "new"}});
        Switch("1");
    }
    ~DownLoadTest() override { SetAskUserHandler(previous_); }

    fs::path Store() const { return reg_.Dir().Path() / "store"; }
    void Switch(const std::string& goAhead) const
    {
        reg_.Write("[HKEY_LOCAL_MACHINE\\Software\\Plor\\Pelwin]\nGoAhead=" + goAhead + "\nFileStore=" +
                   Store().string() + "\n");
    }
    std::string Local() const { return test::ReadFile(local_); }
    // The stamp is newer than the local file but older than a file written now.
    std::string Info() const { return "<Path>C:\\Server\\S_PKG\\VTAJ52S.so</Path><Modify>" + Stamp() + "</Modify>"; }
    static std::string Stamp() { return FormatDateTime("yyyy-mm-dd hh:nn:ss", Now() - 1.0); }

    test::TempRegistry reg_;
    test::TempDir tmp_;
    test::EnvGuard tmpdir_{"TMPDIR", tmp_.Path().string()};
    std::string local_;
    std::string message_;
    TAskUserHandler previous_ = SetAskUserHandler({});
};

TEST_F(DownLoadTest, ANewerFileIsDownloadedAndUnpackedOverTheLocalOne)
{
    // The store mirrors the server's folders in lower case, below the drive.
    WriteZip(Store() / "server" / "s_pkg" / "vtaj52s.so.zip", {{"VTAJ52S.so", "new"}});
    EXPECT_TRUE(UpdateFromFileInfo(Info(), local_, false, message_));
    EXPECT_EQ(message_, "");
    EXPECT_EQ(Local(), "new");
    EXPECT_TRUE(fs::exists(tmp_.Path() / "VTAJ52S.so.zip"));

    // Now the local file is the newer one: nothing is fetched.
    fs::remove_all(Store());
    EXPECT_TRUE(UpdateFromFileInfo(Info(), local_, false, message_));
    EXPECT_EQ(Local(), "new");
}

TEST_F(DownLoadTest, TheSwitch)
{
    struct Case {
        std::string goAhead;
        std::string content;
    } cases[] = {{"Y", "old"}, {"0", "old"}, {"", "old"}, {" 1 ", "new"}};
    for (const Case& c : cases) {
        SCOPED_TRACE("GoAhead=" + c.goAhead);
        reg_.Dir().Write("client/pkg/VTAJ52S.so", "old");
        fs::last_write_time(local_, fs::file_time_type::clock::now() - std::chrono::hours(24 * 365 * 3));
        Switch(c.goAhead);
        EXPECT_TRUE(DownloadIfNewer(Stamp(), "S_PKG", local_, false, message_));
        EXPECT_EQ(Local(), c.content);
    }

    reg_.Write("");
    EXPECT_FALSE(IsUpgradeOn());
    EXPECT_TRUE(DownloadIfNewer(Stamp(), "S_PKG", local_, false, message_)) << "no switch: the local file is used";
    EXPECT_EQ(DownLoadLogTail(), "Read Upgrader Registry Error: No UPGRADER_REGISTRY_PATH");
}

TEST_F(DownLoadTest, TheFirstFormOfTheFileInformationWins)
{
    const std::string both = "Modify = '2001-01-01 00:00:00' Path = 'X\\VTAJ52S.so' <Modify>" + Stamp() +
                             "</Modify><Path>S_PKG\\VTAJ52S.so</Path>";
    EXPECT_TRUE(UpdateFromFileInfo(both, local_, false, message_)) << message_;
    EXPECT_EQ(Local(), "new");

    reg_.Dir().Write("client/pkg/VTAJ52S.so", "old");
    fs::last_write_time(local_, fs::file_time_type::clock::now() - std::chrono::hours(24 * 365 * 3));
    const std::string second = "Modify = '" + Stamp() + "', Path = 'S_PKG/VTAJ52S.so'";
    EXPECT_TRUE(UpdateFromFileInfo(second, local_, false, message_)) << message_;
    EXPECT_EQ(Local(), "new");
}

TEST_F(DownLoadTest, WithoutTheLibraryTheResultIsFalseAndLogged)
{
    EXPECT_FALSE(DownloadIfNewer(Stamp(), "S_PKG", local_, true, message_, "NoSuchDownLoad.dll"));
    EXPECT_EQ(message_, "function ZbDownLoad.CompareFileToDown not found!");
    EXPECT_EQ(DownLoadLogTail(), message_);
    EXPECT_EQ(Local(), "old");
}

TEST_F(DownLoadTest, FailuresAreReportedAndAbortedWithoutAUser)
{
    fs::remove_all(Store());
    EXPECT_FALSE(DownloadIfNewer(Stamp(), "S_PKG", local_, false, message_));
    EXPECT_TRUE(message_.starts_with("DownLoad new file[" + local_ + "] failed. the file store has no ")) << message_;
    EXPECT_EQ(DownLoadLogTail(), message_);

    // Interactive, but nobody installed a way to ask: Abort, not an endless retry.
    EXPECT_FALSE(DownloadIfNewer(Stamp(), "S_PKG", local_, true, message_));

    // An archive whose entry would leave the target folder is not unpacked.
    WriteZip(Store() / "s_pkg" / "vtaj52s.so.zip", {{"../VTAJ52S.so", "evil"}});
    EXPECT_FALSE(DownloadIfNewer(Stamp(), "S_PKG", local_, false, message_));
    EXPECT_TRUE(message_.starts_with("Unzip new file[" + local_ + "] failed. ")) << message_;
    EXPECT_FALSE(fs::exists(fs::path(local_).parent_path().parent_path() / "VTAJ52S.so"));
    EXPECT_EQ(Local(), "old");

    // A remote name that climbs out of the store is refused.
    EXPECT_FALSE(DownloadIfNewer(Stamp(), "..\\..", local_, false, message_));
    EXPECT_NE(message_.find("leaves the file store"), std::string::npos) << message_;

    EXPECT_FALSE(DownloadIfNewer(Stamp(), "S_PKG", "\\\\server\\share\\VTAJ52S.so", false, message_));
    EXPECT_EQ(message_, "Net File can't update![\\\\server\\share\\VTAJ52S.so]");
}

TEST_F(DownLoadTest, RetryCallsTheDownloadAgain)
{
    const fs::path archive = Store() / "s_pkg" / "vtaj52s.so.zip";
    fs::remove(archive);
    std::vector<TUserQuestion> questions;
    SetAskUserHandler([&](const TUserQuestion& q) {
        questions.push_back(q);
        WriteZip(archive, {{"VTAJ52S.so", "new"}});  // the server's copy turns up meanwhile
        return TUserAnswer::Retry;
    });
    EXPECT_TRUE(DownloadIfNewer(Stamp(), "S_PKG", local_, true, message_)) << message_;
    EXPECT_EQ(Local(), "new");
    ASSERT_EQ(questions.size(), 1u);
    EXPECT_EQ(questions[0].Kind, TUserPromptKind::Error);
    EXPECT_EQ(questions[0].Buttons, (std::vector<TUserAnswer>{TUserAnswer::Abort, TUserAnswer::Retry}));
    EXPECT_TRUE(questions[0].Text.starts_with("DownLoad new file[" + local_ + "] failed. ")) << questions[0].Text;

    // Abort ends it with the failure.
    fs::remove(archive);
    fs::last_write_time(local_, fs::file_time_type::clock::now() - std::chrono::hours(24 * 365 * 3));
    SetAskUserHandler([](const TUserQuestion&) { return TUserAnswer::Abort; });
    EXPECT_FALSE(DownloadIfNewer(Stamp(), "S_PKG", local_, true, message_));
    EXPECT_TRUE(message_.starts_with("DownLoad new file[")) << message_;
}

TEST_F(DownLoadTest, TheStoreCanBeAnHttpAddress)
{
    const fs::path zipFile = tmp_.Path() / "served.zip";
    WriteZip(zipFile, {{"VTAJ52S.so", "from http"}});
    const std::string served = test::ReadFile(zipFile);
    fs::remove(zipFile);
    {
        test::LoopbackHttpServer server(test::HttpResponse("200 OK", served));
        reg_.Write("[HKEY_LOCAL_MACHINE\\Software\\Plor\\Pelwin]\nGoAhead=1\nFileStore=" + server.Url("/files/") + "\n");
        EXPECT_TRUE(DownloadIfNewer(Stamp(), "S_PKG\\", local_, false, message_)) << message_;
        EXPECT_EQ(Local(), "from http");
        ASSERT_EQ(server.Requests().size(), 1u);
        EXPECT_TRUE(server.Requests()[0].starts_with("GET /files/s_pkg/vtaj52s.so.zip HTTP/1.1\r\n"))
            << server.Requests()[0];
    }
    fs::last_write_time(local_, fs::file_time_type::clock::now() - std::chrono::hours(24 * 365 * 3));
    test::LoopbackHttpServer missing(test::HttpResponse("404 Not Found", "no such file"));
    reg_.Write("[HKEY_LOCAL_MACHINE\\Software\\Plor\\Pelwin]\nGoAhead=1\nFileStore=" + missing.Url("") + "\n");
    EXPECT_FALSE(DownloadIfNewer(Stamp(), "S_PKG", local_, false, message_));
    EXPECT_NE(message_.find("HTTP 404"), std::string::npos) << message_;
    EXPECT_EQ(Local(), "from http");
}

TEST(ZBDownLoadNewFileU, TrimFolder)
{
    EXPECT_EQ(TrimFolder("  S_PKG "), "S_PKG/");
    EXPECT_EQ(TrimFolder("S_PKG\\"), "S_PKG\\");
    EXPECT_EQ(TrimFolder("/tmp/"), "/tmp/");
    EXPECT_EQ(TrimFolder("   "), "");
}

}  // namespace
}  // namespace zb
