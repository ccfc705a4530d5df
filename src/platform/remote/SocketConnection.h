// TSocketConnection: the client's connection to an application server over
// TCP. Opening it names the server object (ServerName, a ProgID such as
// "ReportCounterS.dmReportCounter"); AppServer is that object as a Variant
// Dispatch whose calls travel over the socket (see Protocol.h). For a server
// object created in this process, SetAppServer hands the connection that
// object instead, and nothing goes over the network.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "platform/core/Variant.h"
#include "platform/remote/Protocol.h"

namespace zb {

class TRemoteChannel;

class TSocketConnection {
public:
    TSocketConnection();
    ~TSocketConnection();
    TSocketConnection(const TSocketConnection&) = delete;
    TSocketConnection& operator=(const TSocketConnection&) = delete;

    const std::string& Address() const { return address_; }
    void SetAddress(std::string address) { address_ = std::move(address); }
    int Port() const { return port_; }
    void SetPort(int port) { port_ = port; }
    const std::string& ServerName() const { return serverName_; }
    void SetServerName(std::string name) { serverName_ = std::move(name); }

    // Time limits in milliseconds; 0 waits without limit. ReadTimeout bounds
    // the wait for each answer, so it must allow for the longest call.
    int ConnectTimeout() const { return connectTimeout_; }
    void SetConnectTimeout(int ms) { connectTimeout_ = ms; }
    int ReadTimeout() const { return readTimeout_; }
    void SetReadTimeout(int ms) { readTimeout_ = ms; }
    int WriteTimeout() const { return writeTimeout_; }
    void SetWriteTimeout(int ms) { writeTimeout_ = ms; }
    std::uint32_t MaxFrameSize() const { return maxFrameSize_; }
    void SetMaxFrameSize(std::uint32_t bytes) { maxFrameSize_ = bytes; }

    // Connects and opens the named server object; throws ESocketError when
    // the server cannot be reached, EOleError when it refuses the name.
    // Does nothing when already connected.
    void Open();
    void Close();
    // A lost connection (server gone, time limit passed, malformed answer)
    // reads as not connected.
    bool Connected() const;
    void SetConnected(bool connected) { connected ? Open() : Close(); }

    // The server object: the one given by SetAppServer, otherwise the remote
    // one (opening the connection first when needed).
    Variant AppServer();
    void SetAppServer(Variant server) { localServer_ = std::move(server); }

private:
    std::string address_;
    int port_ = 211;
    std::string serverName_;
    int connectTimeout_ = 10000;
    int readTimeout_ = 300000;
    int writeTimeout_ = 30000;
    std::uint32_t maxFrameSize_ = kDefaultMaxFrameSize;
    std::shared_ptr<TRemoteChannel> channel_;
    Variant localServer_;
};

}  // namespace zb
