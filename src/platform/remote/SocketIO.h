// POSIX TCP sockets for the remote protocol: connecting and listening with
// time limits, and reading and writing whole frames before a deadline.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/remote/Protocol.h"

namespace zb::net {

// An owned socket descriptor.
class Fd {
public:
    Fd() = default;
    explicit Fd(int fd) : fd_(fd) {}
    ~Fd() { Close(); }
    Fd(Fd&& other) noexcept : fd_(other.Release()) {}
    Fd& operator=(Fd&& other) noexcept;
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;

    int Get() const { return fd_; }
    bool Valid() const { return fd_ >= 0; }
    int Release();
    void Close();
    // Wakes a thread blocked on the socket (both directions end).
    void Shutdown() const;

private:
    int fd_ = -1;
};

// Numeric addresses and host names; a time limit of 0 or less waits as long
// as the system does. Throws ESocketError.
Fd ConnectTcp(const std::string& address, std::uint16_t port, int timeoutMs);
Fd ListenTcp(const std::string& address, std::uint16_t port, int backlog);
std::uint16_t LocalPort(int fd);

// Throws ESocketError when the peer has gone or the time limit passed.
void WriteAll(int fd, std::string_view data, int timeoutMs);
void WriteFrame(int fd, FrameKind kind, std::string_view payload, std::uint32_t maxFrameSize, int timeoutMs);

// Waits up to `idleTimeoutMs` for a frame to begin, then up to `timeoutMs`
// for the whole of it. Nothing (nullopt) when the peer closed the connection
// between frames or `wakeFd` (when not negative) became readable. Throws
// ESocketError for a time limit passed or a peer gone in the middle of a
// frame, EFrameError for a header that breaks the rules.
std::optional<Frame> ReadFrame(int fd, std::uint32_t maxFrameSize, int idleTimeoutMs, int timeoutMs,
                               int wakeFd = -1);

}  // namespace zb::net
