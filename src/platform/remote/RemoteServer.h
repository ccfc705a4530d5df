// TRemoteServer: serves automation objects to socket connections. Each
// connection names a registered server object when it opens and gets its own
// instance from the registered factory; its calls are dispatched on that
// instance, one at a time, on a thread of the connection. Objects the calls
// answer with stay alive, and callable, until the connection ends.
//
// Listens on the loopback address unless told otherwise; port 0 takes any
// free port (Port() tells which, once listening).
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <list>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>

#include "platform/core/Dispatch.h"
#include "platform/remote/Protocol.h"
#include "platform/remote/SocketIO.h"

namespace zb {

class TRemoteServer {
public:
    using Factory = std::function<DispatchPtr()>;
    using LogHandler = std::function<void(const std::string& line)>;

    TRemoteServer();
    ~TRemoteServer();
    TRemoteServer(const TRemoteServer&) = delete;
    TRemoteServer& operator=(const TRemoteServer&) = delete;

    // Names are matched without regard to case. Register before serving.
    void RegisterObject(std::string_view serverName, Factory factory);

    const std::string& Address() const { return address_; }
    void SetAddress(std::string address) { address_ = std::move(address); }
    std::uint16_t Port() const { return port_; }
    void SetPort(std::uint16_t port) { port_ = port; }

    // Limits. ReadTimeout bounds each frame once its first byte has arrived;
    // IdleTimeout (0: none) ends a connection that sends no call for so long.
    std::uint32_t MaxFrameSize() const { return maxFrameSize_; }
    void SetMaxFrameSize(std::uint32_t bytes) { maxFrameSize_ = bytes; }
    int ReadTimeout() const { return readTimeout_; }
    void SetReadTimeout(int ms) { readTimeout_ = ms; }
    int WriteTimeout() const { return writeTimeout_; }
    void SetWriteTimeout(int ms) { writeTimeout_ = ms; }
    int IdleTimeout() const { return idleTimeout_; }
    void SetIdleTimeout(int ms) { idleTimeout_ = ms; }
    std::size_t MaxConnections() const { return maxConnections_; }
    void SetMaxConnections(std::size_t n) { maxConnections_ = n; }
    // On (the default), calls of all connections are dispatched one at a
    // time, so the served objects need not be thread-safe.
    bool SerializeCalls() const { return serializeCalls_; }
    void SetSerializeCalls(bool on) { serializeCalls_ = on; }

    // One line for each connection opened, refused or ended by an error.
    void SetOnLog(LogHandler handler) { onLog_ = std::move(handler); }

    // Binds the address and port; throws ESocketError.
    void Listen();
    bool Listening() const { return listener_.Valid(); }
    // Serves on this thread until Stop (listening first when needed).
    void Run();
    // Serves on a thread of its own.
    void Start();
    // Ends serving: closes the listener and every connection and waits for
    // their threads (a call being served is let finish). After Start, safe
    // from any thread but the server's own; after Run, call it once Run has
    // returned.
    void Stop();
    // Safe in a signal handler and from any thread: asks Run to return
    // (Stop then cleans up).
    void RequestStop() noexcept;

    std::size_t ConnectionCount() const;

private:
    struct Connection;
    void Serve(Connection& conn);
    void Log(const std::string& line) const;
    void Reap(bool all);
    void Refuse(net::Fd& fd, const std::string& message);

    std::string address_ = "127.0.0.1";
    std::uint16_t port_ = 0;
    std::uint32_t maxFrameSize_ = kDefaultMaxFrameSize;
    int readTimeout_ = 30000;
    int writeTimeout_ = 30000;
    int idleTimeout_ = 0;
    std::size_t maxConnections_ = 64;
    bool serializeCalls_ = true;
    LogHandler onLog_;

    std::map<std::string, Factory> factories_;  // key: upper-case name
    net::Fd listener_;
    int wake_[2] = {-1, -1};  // written once to stop: every poller sees it
    std::thread runner_;
    mutable std::mutex connMutex_;
    std::list<std::unique_ptr<Connection>> connections_;
    std::mutex callMutex_;
};

}  // namespace zb
