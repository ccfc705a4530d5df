// Opening a file or address with the desktop's default program.
#include "platform/os/Shell.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

namespace zb {

namespace {

bool IsExecutable(const std::string& path) { return access(path.c_str(), X_OK) == 0; }

// The program's path, found in PATH now, so the child only has to exec.
std::string FindProgram(const std::string& program) {
    if (program.find('/') != std::string::npos) return IsExecutable(program) ? program : std::string();
    const char* env = std::getenv("PATH");
    std::string_view path = env && *env ? env : "/usr/local/bin:/usr/bin:/bin";
    while (true) {
        size_t cut = path.find(':');
        std::string dir(path.substr(0, cut));
        std::string candidate = (dir.empty() ? std::string(".") : dir) + "/" + program;
        if (IsExecutable(candidate)) return candidate;
        if (cut == std::string_view::npos) return {};
        path.remove_prefix(cut + 1);
    }
}

// Runs in the grandchild: only async-signal-safe calls from here on.
[[noreturn]] void ExecOpener(const char* program, char* const argv[], int reportFd) {
    setsid();
    int null = open("/dev/null", O_RDONLY);
    if (null >= 0) {
        dup2(null, STDIN_FILENO);
        if (null != STDIN_FILENO) close(null);
    }
    execv(program, argv);
    int err = errno;
    ssize_t ignored = write(reportFd, &err, sizeof err);
    (void)ignored;  // the parent reads "not started" from a short report as well
    _exit(127);
}

// Waits for the intermediate child, then reads whether the exec succeeded:
// the report pipe closes empty on exec and carries errno when it failed.
bool StartedInChild(pid_t child, int reportFd) {
    int status = 0;
    while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    int err = 0;
    ssize_t n;
    while ((n = read(reportFd, &err, sizeof err)) < 0 && errno == EINTR) {
    }
    return n == 0;
}

}  // namespace

std::string ShellOpener() {
    const char* opener = std::getenv("ZB_SHELL_OPEN");
    return opener && *opener ? opener : "xdg-open";
}

bool ShellExecute(std::string_view fileOrUrl) {
    if (fileOrUrl.empty()) return false;
    std::string program = FindProgram(ShellOpener());
    if (program.empty()) return false;
    // A file name starting with "-" must not be read as an option.
    std::string target = fileOrUrl.front() == '-' ? "./" + std::string(fileOrUrl) : std::string(fileOrUrl);
    char* argv[] = {program.data(), target.data(), nullptr};

    int report[2];
    if (pipe2(report, O_CLOEXEC) != 0) return false;
    pid_t child = fork();
    if (child < 0) {
        close(report[0]);
        close(report[1]);
        return false;
    }
    if (child == 0) {
        // The intermediate child exits at once, so the opener is adopted by
        // init and never becomes a zombie of the host.
        close(report[0]);
        pid_t grandchild = fork();
        if (grandchild == 0) ExecOpener(program.c_str(), argv, report[1]);
        if (grandchild < 0) {
            int err = errno;
            ssize_t ignored = write(report[1], &err, sizeof err);
            (void)ignored;  // see ExecOpener
        }
        _exit(0);
    }
    close(report[1]);
    bool started = StartedInChild(child, report[0]);
    close(report[0]);
    return started;
}

}  // namespace zb
