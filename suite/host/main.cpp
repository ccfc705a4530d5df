// vtaj52-host: the client shell. Loads the job plug-in, opens its job with a
// login, optionally fills it from command-line settings, shows it with the
// headless user agent and prints what happened.
#include <dlfcn.h>
#include <unistd.h>

#include <climits>
#include <cstdio>
#include <exception>
#include <filesystem>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "ReportCounter.h"
#include "WorkCenter.h"
#include "platform/core/Exceptions.h"
#include "platform/data/ZbADO.h"
#include "platform/ui/Dialogs.h"
#include "platform/ui/UserAgent.h"
#include "plugin/DLLBaseCtrller.h"

namespace {

using zb::Variant;

constexpr const char* kUsage =
    "usage: vtaj52-host [options]\n"
    "\n"
    "Loads the job plug-in, opens its job for a user and shows it with the\n"
    "headless user agent; prints the notifications, the outcome (ResultCode,\n"
    "ResultData), the dialogs shown and the message log.\n"
    "\n"
    "options:\n"
    "  --plugin FILE      the plug-in (default: VTAJ52C.so beside this program or in ../lib)\n"
    "  --user ID          login user (default admin)\n"
    "  --company ID       login company (default DEMO)\n"
    "  --company-db NAME  login company database (default DEMODB)\n"
    "  --set NAME=VALUE   a run-parameter setting for the control NAME (repeatable);\n"
    "                     the settings go to the job with SetParams\n"
    "  --run-mode N       run mode of the settings: 0 check only, 1 or 2 submit,\n"
    "                     5 run directly (default 1)\n"
    "  --modeless         show the form modelessly instead of modally\n"
    "  --click FORM:NAME  the user agent clicks component NAME on form FORM (repeatable, in order)\n"
    "  --database FILE    the suite database for the host object (default: ZB_SUITE_CONNECT,\n"
    "                     ZB_SUITE_DB, or suite.db in the registered server folder)\n"
    "  --help             this text\n";

int Fail(const std::string& line) {
    std::string text = line;
    for (char& c : text)
        if (c == '\r' || c == '\n') c = ' ';
    std::cerr << "vtaj52-host: " << text << '\n';
    return 1;
}

std::string ProgramFolder() {
    char buf[PATH_MAX];
    ssize_t n = readlink("/proc/self/exe", buf, sizeof buf - 1);
    return n > 0 ? std::filesystem::path(std::string(buf, n)).parent_path().string() : ".";
}

std::string DefaultPlugin() {
    std::filesystem::path bin = ProgramFolder();
    for (const auto& p : {bin / "VTAJ52C.so", bin.parent_path() / "lib" / "VTAJ52C.so"})
        if (std::filesystem::exists(p)) return p.string();
    return (bin / "VTAJ52C.so").string();
}

std::string OneLine(std::string text) {
    for (char& c : text)
        if (c == '\r' || c == '\n') c = ' ';
    return text;
}

}  // namespace

int main(int argc, char** argv) {
    std::string plugin, user = "admin", company = "DEMO", companyDB = "DEMODB", database;
    std::vector<std::pair<std::string, std::string>> settings;
    std::vector<std::pair<std::string, std::string>> clicks;
    long runMode = 1;
    bool modeless = false;
    for (int i = 1; i < argc; ++i) {
        std::string opt = argv[i];
        auto value = [&](std::string& out) {
            if (i + 1 >= argc) return false;
            out = argv[++i];
            return !out.empty();
        };
        std::string text;
        if (opt == "--help" || opt == "-h") {
            std::cout << kUsage;
            return 0;
        } else if (opt == "--plugin") {
            if (!value(plugin)) return Fail("--plugin needs a file");
        } else if (opt == "--user") {
            if (!value(user)) return Fail("--user needs an ID");
        } else if (opt == "--company") {
            if (!value(company)) return Fail("--company needs an ID");
        } else if (opt == "--company-db") {
            if (!value(companyDB)) return Fail("--company-db needs a name");
        } else if (opt == "--database") {
            if (!value(database)) return Fail("--database needs a file");
        } else if (opt == "--modeless") {
            modeless = true;
        } else if (opt == "--run-mode") {
            if (!value(text) || text.find_first_not_of("0123456789") != std::string::npos || text.size() > 2)
                return Fail("--run-mode needs a number from 0 to 99");
            runMode = std::stol(text);
        } else if (opt == "--set" || opt == "--click") {
            char sep = opt == "--set" ? '=' : ':';
            auto at = value(text) ? text.find(sep) : std::string::npos;
            if (at == std::string::npos || at == 0)
                return Fail(opt == "--set" ? "--set needs NAME=VALUE" : "--click needs FORM:NAME");
            (opt == "--set" ? settings : clicks).emplace_back(text.substr(0, at), text.substr(at + 1));
        } else {
            return Fail("unknown option \"" + opt + "\" (try --help)");
        }
    }
    if (plugin.empty()) plugin = DefaultPlugin();

    zb::DispatchPtr hostObject;
    try {
        std::string connection = database.empty() ? zb::suite::ServerConnectionString() : zb::SqliteConnectionString(database);
        hostObject.reset(zb::suite::NewWorkCenter(connection));
    } catch (const std::exception& e) {
        return Fail(std::string("cannot open the suite database: ") + e.what());
    }

    void* lib = dlopen(plugin.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!lib) return Fail("cannot load the plug-in: " + OneLine(dlerror()));
    auto get = reinterpret_cast<GetControllerFunc>(dlsym(lib, "GetController"));
    if (!get) return Fail("the plug-in " + plugin + " exports no GetController");

    int rc = 0;
    {
        std::unique_ptr<zb::TDLLBaseController> ctrl;
        try {
            ctrl.reset(get());
        } catch (const std::exception& e) {
            return Fail(std::string("the plug-in gives no controller: ") + e.what());
        }
        ctrl->HostObject = Variant(hostObject);
        ctrl->OnNotify = [&](std::int32_t code, zb::TObject*) { std::cout << "notify " << code << std::endl; };

        zb::TScriptedAgent agent;
        for (const auto& [form, name] : clicks) agent.Click(form, name);
        zb::TUserAgentScope scope(&agent);
        try {
            Variant login = zb::VarArrayOf({Variant(user), Variant(company), Variant(companyDB), Variant(0), Variant("")});
            std::int32_t opened = ctrl->OpenJob(login);
            std::cout << "OpenJob " << opened << std::endl;
            if (!settings.empty()) {
                std::vector<Variant> pairs, values;
                for (const auto& [name, val] : settings) {
                    pairs.push_back(zb::VarArrayOf({Variant(name), Variant(name)}));
                    values.push_back(Variant(val));
                }
                Variant block = zb::VarArrayOf(
                    {Variant(static_cast<int>(runMode)),
                     zb::VarArrayOf({Variant(true), zb::VarArrayOf({zb::VarArrayOf(pairs), zb::VarArrayOf(values)})})});
                std::cout << "SetParams " << ctrl->SetParams(block) << std::endl;
            }
            if (modeless) {
                ctrl->SetVisible(zb::WordTrue);
                // The agent gets its turns from the message loop; a script
                // that stops making progress must not keep the shell alive.
                for (int turn = 0; turn < 1000 && !ctrl->IsClosed() && agent.Pending() > 0; ++turn)
                    zb::Application().ProcessMessages();
                if (!ctrl->IsClosed()) ctrl->CloseJob();
            } else {
                std::cout << "RunModal " << ctrl->RunModal().ToString() << std::endl;
            }
            Variant results;
            ctrl->GetResults(results);
            std::cout << "ResultCode " << ctrl->ResultCode << "\nResultData " << ctrl->ResultData.ToJson()
                      << "\nResults " << results.ToJson() << std::endl;
        } catch (const std::exception& e) {
            rc = Fail(std::string("the job failed: ") + e.what());
        }
        for (const auto& line : agent.Log()) std::cout << "agent " << line << '\n';
        for (const auto& d : zb::HeadlessDialogs().Requests())
            std::cout << "dialog " << d.Kind << " \"" << OneLine(d.Caption) << "\": " << OneLine(d.Text) << '\n';
    }
    dlclose(lib);
    return rc;
}
