// vtaj52-appserver: the application server daemon. Serves the object
// "ReportCounterS.dmReportCounter" to clients on the socket protocol, or
// lists what the suite database holds.
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <iostream>
#include <string>
#include <string_view>

#include "ReportCounter.h"
#include "platform/data/ZbADO.h"
#include "platform/remote/RemoteServer.h"

namespace {

constexpr const char* kUsage =
    "usage: vtaj52-appserver [serve] [options]\n"
    "       vtaj52-appserver list [--database FILE | --connect TEXT]\n"
    "\n"
    "Serves the application server object ReportCounterS.dmReportCounter on a TCP\n"
    "port, or (list) prints the stored jobs, plans and user rights as JSON.\n"
    "\n"
    "options:\n"
    "  --address ADDR    address to listen on (default 127.0.0.1); any address other\n"
    "                    than a loopback one needs --allow-remote as well\n"
    "  --allow-remote    permit listening on an address other machines can reach\n"
    "  --port N          port to listen on, 0 for any free one (default 211); the\n"
    "                    port taken is printed as \"listening on ADDR:PORT\"\n"
    "  --database FILE   the suite database, a SQLite file\n"
    "  --connect TEXT    the suite database as an ODBC connection string\n"
    "                    (default for both: ZB_SUITE_CONNECT, ZB_SUITE_DB, or\n"
    "                    suite.db in the registered server folder)\n"
    "  --idle-timeout MS end connections silent for this long (default: never)\n"
    "  --help            this text\n";

zb::TRemoteServer* g_server = nullptr;

void OnSignal(int) {
    if (g_server) g_server->RequestStop();
}

int Fail(const std::string& line) {
    std::cerr << "vtaj52-appserver: " << line << '\n';
    return 1;
}

bool IsLoopback(const std::string& address) {
    return address.rfind("127.", 0) == 0 || address == "localhost" || address == "::1";
}

bool ParseNumber(const std::string& text, long max, long& out) {
    if (text.empty() || text.size() > 9) return false;
    for (char c : text)
        if (c < '0' || c > '9') return false;
    out = std::strtol(text.c_str(), nullptr, 10);
    return out <= max;
}

}  // namespace

int main(int argc, char** argv) {
    std::string command = "serve", address = "127.0.0.1", database, connect;
    long port = 211, idle = 0;
    bool allowRemote = false;
    int i = 1;
    if (i < argc && argv[i][0] != '-') command = argv[i++];
    if (command != "serve" && command != "list") return Fail("unknown command \"" + command + "\" (try --help)");
    for (; i < argc; ++i) {
        std::string opt = argv[i];
        auto value = [&](std::string& out) {
            if (i + 1 >= argc) return false;
            out = argv[++i];
            return true;
        };
        std::string text;
        if (opt == "--help" || opt == "-h") {
            std::cout << kUsage;
            return 0;
        } else if (opt == "--allow-remote") {
            allowRemote = true;
        } else if (opt == "--address") {
            if (!value(address) || address.empty()) return Fail("--address needs an address");
        } else if (opt == "--port") {
            if (!value(text) || !ParseNumber(text, 65535, port)) return Fail("--port needs a number from 0 to 65535");
        } else if (opt == "--idle-timeout") {
            if (!value(text) || !ParseNumber(text, 86400000, idle)) return Fail("--idle-timeout needs milliseconds");
        } else if (opt == "--database") {
            if (!value(database) || database.empty()) return Fail("--database needs a file name");
        } else if (opt == "--connect") {
            if (!value(connect) || connect.empty()) return Fail("--connect needs a connection string");
        } else {
            return Fail("unknown option \"" + opt + "\" (try --help)");
        }
    }
    if (!database.empty() && !connect.empty()) return Fail("give --database or --connect, not both");
    if (!IsLoopback(address) && !allowRemote)
        return Fail("listening on " + address + " would let other machines in; add --allow-remote to mean it");

    std::string connection;
    try {
        if (!connect.empty()) connection = connect;
        else if (!database.empty()) connection = zb::SqliteConnectionString(database);
        else connection = zb::suite::ServerConnectionString();
        // Reaching the database once here turns a wrong one into one clear
        // line now instead of a failure in every client's first call.
        if (command == "list") {
            std::cout << zb::suite::ListServerData(connection);
            return 0;
        }
        zb::suite::EnsureServerTables(connection);
    } catch (const std::exception& e) {
        std::string why = e.what();
        for (char& c : why)
            if (c == '\n' || c == '\r') c = ' ';
        return Fail("cannot open the suite database: " + why);
    }

    try {
        zb::TRemoteServer server;
        server.SetAddress(address);
        server.SetPort(static_cast<std::uint16_t>(port));
        server.SetIdleTimeout(static_cast<int>(idle));
        server.RegisterObject(zb::suite::kReportCounterProgID,
                              [connection] { return zb::suite::CreateReportCounter(connection); });
        server.SetOnLog([](const std::string& line) { std::cerr << "vtaj52-appserver: " << line << std::endl; });
        server.Listen();
        g_server = &server;
        std::signal(SIGINT, OnSignal);
        std::signal(SIGTERM, OnSignal);
        std::signal(SIGPIPE, SIG_IGN);
        std::cout << "listening on " << server.Address() << ':' << server.Port() << std::endl;
        server.Run();
        server.Stop();
        g_server = nullptr;
    } catch (const std::exception& e) {
        return Fail(e.what());
    }
    return 0;
}
