// Machine, user and process facts, and opening files with the desktop's program.
#include "platform/os/Shell.h"
#include "platform/os/SysInfo.h"

#include "support/TestSupport.h"

#include <chrono>
#include <filesystem>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace zb {
namespace {

TEST(SysInfo, NamesOfMachineUserAndProcess) {
    char host[256] = {};
    gethostname(host, sizeof host - 1);
    EXPECT_EQ(GetComputerName(), host);
    EXPECT_FALSE(GetUserName().empty());
    EXPECT_EQ(GetCurrentProcessId(), static_cast<std::uint32_t>(getpid()));
}

TEST(SysInfo, TempPathEndsWithASlash) {
    {
        test::EnvGuard tmp("TMPDIR", "/var/tmp");
        EXPECT_EQ(GetTempPath(), "/var/tmp/");
    }
    {
        test::EnvGuard tmp("TMPDIR", "/scratch/");
        EXPECT_EQ(GetTempPath(), "/scratch/");
    }
    for (auto value : {std::optional<std::string>(), std::optional<std::string>("")}) {
        test::EnvGuard tmp("TMPDIR", value);
        EXPECT_EQ(GetTempPath(), "/tmp/");
    }
}

TEST(SysInfo, TickCountIsMonotonicMilliseconds) {
    auto first = GetTickCount64();
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    auto second = GetTickCount64();
    EXPECT_GE(second - first, 19u);
    EXPECT_LT(second - first, 5000u);
}

// Waits (briefly) for a file the detached opener writes.
std::string WaitForFile(const std::filesystem::path& file) {
    for (int i = 0; i < 200 && !std::filesystem::exists(file); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    return test::ReadFile(file);
}

TEST(Shell, OpensWithTheConfiguredOpenerAndLeavesNoChild) {
    test::TempDir dir;
    auto out = dir.Path() / "opened.txt";
    auto script = dir.Write("opener.sh", "#!/bin/sh\nprintf '%s|%s' \"$#\" \"$1\" > '" + out.string() + "'\n");
    chmod(script.c_str(), 0755);
    test::EnvGuard opener("ZB_SHELL_OPEN", script.string());

    EXPECT_EQ(ShellOpener(), script.string());
    ASSERT_TRUE(ShellExecute("/tmp/report 1;$(rm -rf x).pdf"));
    EXPECT_EQ(WaitForFile(out), "1|/tmp/report 1;$(rm -rf x).pdf");  // one argument, no shell
    EXPECT_EQ(waitpid(-1, nullptr, WNOHANG), -1);                     // nothing left to reap

    std::filesystem::remove(out);
    ASSERT_TRUE(ShellExecute("-rf"));
    EXPECT_EQ(WaitForFile(out), "1|./-rf");
}

TEST(Shell, FailsWhenTheOpenerCannotStart) {
    test::TempDir dir;
    {
        test::EnvGuard opener("ZB_SHELL_OPEN", (dir.Path() / "missing-opener").string());
        EXPECT_FALSE(ShellExecute("https://example.com/"));
    }
    {
        auto notExecutable = dir.Write("plain.txt", "x");
        test::EnvGuard opener("ZB_SHELL_OPEN", notExecutable.string());
        EXPECT_FALSE(ShellExecute("file.txt"));
    }
    {
        auto badInterpreter = dir.Write("bad.sh", "#!/nonexistent/interpreter\n");
        chmod(badInterpreter.c_str(), 0755);
        test::EnvGuard opener("ZB_SHELL_OPEN", badInterpreter.string());
        EXPECT_FALSE(ShellExecute("file.txt"));  // exec itself fails
    }
    test::EnvGuard opener("ZB_SHELL_OPEN", "no-such-opener-program");
    EXPECT_FALSE(ShellExecute("file.txt"));
    EXPECT_FALSE(ShellExecute(""));
    EXPECT_EQ(ShellOpener(), "no-such-opener-program");
}

TEST(Shell, DefaultOpenerIsXdgOpen) {
    test::EnvGuard opener("ZB_SHELL_OPEN", std::nullopt);
    EXPECT_EQ(ShellOpener(), "xdg-open");
}

}  // namespace
}  // namespace zb
