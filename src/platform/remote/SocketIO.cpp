// Sockets with poll-based time limits; every send avoids SIGPIPE so a peer
// that went away is an error, not the end of the process.
#include "platform/remote/SocketIO.h"

#include <cerrno>
#include <chrono>
#include <cstring>
#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace zb::net {

namespace {

using Clock = std::chrono::steady_clock;

std::string SysError(const std::string& what) { return what + ": " + std::strerror(errno); }

// Milliseconds left until `deadline`, -1 for none; 0 once it passed.
int Remaining(std::optional<Clock::time_point> deadline) {
    if (!deadline) return -1;
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(*deadline - Clock::now()).count();
    return left <= 0 ? 0 : static_cast<int>(left);
}

std::optional<Clock::time_point> DeadlineAfter(int timeoutMs) {
    if (timeoutMs <= 0) return std::nullopt;
    return Clock::now() + std::chrono::milliseconds(timeoutMs);
}

// Waits for `events` on fd (and readability of wakeFd). 1: ready, 0: time
// out, 2: woken.
int Wait(int fd, short events, std::optional<Clock::time_point> deadline, int wakeFd) {
    for (;;) {
        pollfd fds[2] = {{fd, events, 0}, {wakeFd, POLLIN, 0}};
        const int n = poll(fds, wakeFd >= 0 ? 2 : 1, Remaining(deadline));
        if (n < 0) {
            if (errno == EINTR) continue;
            throw ESocketError(SysError("poll"));
        }
        if (n == 0) return 0;
        if (wakeFd >= 0 && fds[1].revents) return 2;
        return 1;
    }
}

struct AddrList {
    addrinfo* list = nullptr;
    ~AddrList() {
        if (list) freeaddrinfo(list);
    }
};

void Resolve(const std::string& address, std::uint16_t port, bool passive, AddrList& out) {
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    hints.ai_flags = passive ? AI_PASSIVE : 0;
    const std::string service = std::to_string(port);
    const int rc = getaddrinfo(address.empty() ? nullptr : address.c_str(), service.c_str(), &hints, &out.list);
    if (rc != 0) throw ESocketError("Cannot resolve address " + address + ": " + gai_strerror(rc));
}

}  // namespace

Fd& Fd::operator=(Fd&& other) noexcept {
    if (this != &other) {
        Close();
        fd_ = other.Release();
    }
    return *this;
}

int Fd::Release() {
    const int fd = fd_;
    fd_ = -1;
    return fd;
}

void Fd::Close() {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
}

void Fd::Shutdown() const {
    if (fd_ >= 0) ::shutdown(fd_, SHUT_RDWR);
}

Fd ConnectTcp(const std::string& address, std::uint16_t port, int timeoutMs) {
    AddrList addrs;
    Resolve(address, port, false, addrs);
    std::string lastError = "no address";
    const auto deadline = DeadlineAfter(timeoutMs);
    for (addrinfo* ai = addrs.list; ai; ai = ai->ai_next) {
        Fd fd(::socket(ai->ai_family, ai->ai_socktype | SOCK_CLOEXEC | SOCK_NONBLOCK, ai->ai_protocol));
        if (!fd.Valid()) {
            lastError = std::strerror(errno);
            continue;
        }
        int rc = ::connect(fd.Get(), ai->ai_addr, ai->ai_addrlen);
        if (rc != 0 && errno == EINPROGRESS) {
            if (Wait(fd.Get(), POLLOUT, deadline, -1) == 0) {
                lastError = "timed out";
                continue;
            }
            int err = 0;
            socklen_t len = sizeof err;
            getsockopt(fd.Get(), SOL_SOCKET, SO_ERROR, &err, &len);
            rc = err == 0 ? 0 : -1;
            errno = err;
        }
        if (rc != 0) {
            lastError = std::strerror(errno);
            continue;
        }
        // Back to blocking: every later wait goes through poll with its own limit.
        fcntl(fd.Get(), F_SETFL, fcntl(fd.Get(), F_GETFL) & ~O_NONBLOCK);
        int one = 1;
        setsockopt(fd.Get(), IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
        return fd;
    }
    throw ESocketError("Cannot connect to " + address + ":" + std::to_string(port) + ": " + lastError);
}

Fd ListenTcp(const std::string& address, std::uint16_t port, int backlog) {
    AddrList addrs;
    Resolve(address, port, true, addrs);
    std::string lastError = "no address";
    for (addrinfo* ai = addrs.list; ai; ai = ai->ai_next) {
        Fd fd(::socket(ai->ai_family, ai->ai_socktype | SOCK_CLOEXEC, ai->ai_protocol));
        if (!fd.Valid()) {
            lastError = std::strerror(errno);
            continue;
        }
        int one = 1;
        setsockopt(fd.Get(), SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
        if (::bind(fd.Get(), ai->ai_addr, ai->ai_addrlen) != 0 || ::listen(fd.Get(), backlog) != 0) {
            lastError = std::strerror(errno);
            continue;
        }
        return fd;
    }
    throw ESocketError("Cannot listen on " + address + ":" + std::to_string(port) + ": " + lastError);
}

std::uint16_t LocalPort(int fd) {
    sockaddr_storage addr{};
    socklen_t len = sizeof addr;
    if (getsockname(fd, reinterpret_cast<sockaddr*>(&addr), &len) != 0) throw ESocketError(SysError("getsockname"));
    if (addr.ss_family == AF_INET) return ntohs(reinterpret_cast<sockaddr_in*>(&addr)->sin_port);
    if (addr.ss_family == AF_INET6) return ntohs(reinterpret_cast<sockaddr_in6*>(&addr)->sin6_port);
    return 0;
}

void WriteAll(int fd, std::string_view data, int timeoutMs) {
    const auto deadline = DeadlineAfter(timeoutMs);
    while (!data.empty()) {
        if (Wait(fd, POLLOUT, deadline, -1) == 0) throw ESocketError("Timed out sending to the peer");
        const ssize_t n = ::send(fd, data.data(), data.size(), MSG_NOSIGNAL | MSG_DONTWAIT);
        if (n < 0) {
            if (errno == EINTR || errno == EAGAIN || errno == EWOULDBLOCK) continue;
            throw ESocketError(SysError("Connection lost while sending"));
        }
        data.remove_prefix(static_cast<std::size_t>(n));
    }
}

void WriteFrame(int fd, FrameKind kind, std::string_view payload, std::uint32_t maxFrameSize, int timeoutMs) {
    WriteAll(fd, EncodeFrame(kind, payload, maxFrameSize), timeoutMs);
}

namespace {

// Reads exactly `n` bytes. False only when the peer closed before the first
// byte and `closeAllowed`, or when woken.
bool ReadExact(int fd, char* buf, std::size_t n, std::optional<Clock::time_point> deadline, int wakeFd,
               bool closeAllowed) {
    std::size_t got = 0;
    while (got < n) {
        const int w = Wait(fd, POLLIN, deadline, wakeFd);
        if (w == 2) return false;
        if (w == 0) throw ESocketError("Timed out waiting for the peer");
        const ssize_t r = ::recv(fd, buf + got, n - got, MSG_DONTWAIT);
        if (r < 0) {
            if (errno == EINTR || errno == EAGAIN || errno == EWOULDBLOCK) continue;
            if (errno == ECONNRESET && got == 0 && closeAllowed) return false;
            throw ESocketError(SysError("Connection lost while receiving"));
        }
        if (r == 0) {
            if (got == 0 && closeAllowed) return false;
            throw ESocketError("The peer closed the connection in the middle of a frame");
        }
        got += static_cast<std::size_t>(r);
    }
    return true;
}

}  // namespace

std::optional<Frame> ReadFrame(int fd, std::uint32_t maxFrameSize, int idleTimeoutMs, int timeoutMs, int wakeFd) {
    char header[kFrameHeaderSize];
    // The first byte may take as long as the peer needs to think; the rest
    // of the frame must follow within the frame's own limit.
    if (!ReadExact(fd, header, 1, DeadlineAfter(idleTimeoutMs), wakeFd, true)) return std::nullopt;
    const auto deadline = DeadlineAfter(timeoutMs);
    if (!ReadExact(fd, header + 1, kFrameHeaderSize - 1, deadline, wakeFd, false)) return std::nullopt;
    const FrameHeader h = DecodeFrameHeader(std::string_view(header, kFrameHeaderSize), maxFrameSize);
    Frame frame;
    frame.kind = h.kind;
    frame.payload.resize(h.length);
    if (h.length && !ReadExact(fd, frame.payload.data(), h.length, deadline, wakeFd, false)) return std::nullopt;
    return frame;
}

}  // namespace zb::net
