// vtaj52-suite-home: makes a suite home (profiles, registry file, folders and
// a demo database) in a new folder.
#include <unistd.h>

#include <climits>
#include <exception>
#include <filesystem>
#include <iostream>
#include <string>

#include "SuiteHome.h"

namespace {

constexpr const char* kUsage =
    "usage: vtaj52-suite-home [--libs FOLDER] <folder>\n"
    "\n"
    "Makes a suite home in <folder>: the registry file registry.ini (point\n"
    "ZB_REGISTRY at it, or source env.sh), the client and server profiles, the\n"
    "language, package and log folders, and server/suite.db, a SQLite database\n"
    "with the suite's tables and demo data for the company DEMO.\n"
    "\n"
    "options:\n"
    "  --libs FOLDER  where the suite libraries (ReportCounterS.so) are; default:\n"
    "                 ../lib beside this program when it exists, else its own folder\n"
    "  --help         this text\n";

std::string DefaultLibraryFolder() {
    char buf[PATH_MAX];
    ssize_t n = readlink("/proc/self/exe", buf, sizeof buf - 1);
    if (n <= 0) return ".";
    std::filesystem::path bin = std::filesystem::path(std::string(buf, n)).parent_path();
    if (std::filesystem::exists(bin.parent_path() / "lib" / "ReportCounterS.so")) return (bin.parent_path() / "lib").string();
    return bin.string();
}

int Fail(const std::string& line) {
    std::cerr << "vtaj52-suite-home: " << line << '\n';
    return 1;
}

}  // namespace

int main(int argc, char** argv) {
    std::string folder, libs;
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        if (arg == "--help" || arg == "-h") {
            std::cout << kUsage;
            return 0;
        } else if (arg == "--libs") {
            if (i + 1 >= argc) return Fail("--libs needs a folder");
            libs = argv[++i];
        } else if (!arg.empty() && arg[0] == '-') {
            return Fail("unknown option \"" + arg + "\" (try --help)");
        } else if (folder.empty()) {
            folder = arg;
        } else {
            return Fail("give one folder only (try --help)");
        }
    }
    if (folder.empty()) return Fail("give the folder to make the suite home in (try --help)");
    try {
        zb::suite::MakeSuiteHome(folder, libs.empty() ? DefaultLibraryFolder() : libs);
    } catch (const std::exception& e) {
        std::string why = e.what();
        for (char& c : why)
            if (c == '\n' || c == '\r') c = ' ';
        return Fail(why);
    }
    std::cout << "suite home made in " << std::filesystem::absolute(folder).string() << "\n"
              << "use it with: . " << (std::filesystem::absolute(folder) / "env.sh").string() << "\n";
    return 0;
}
