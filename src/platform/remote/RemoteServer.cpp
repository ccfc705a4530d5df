// Accept loop and per-connection dispatch of TRemoteServer.
#include "platform/remote/RemoteServer.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>
#include <vector>

#include "platform/core/TextUtils.h"

namespace zb {

namespace {

// Objects one connection has handed out; number 0 is the server object.
class TServerRefs : public IObjectRefs {
public:
    static constexpr std::size_t kMaxObjects = 65536;

    std::uint32_t Export(const DispatchPtr& obj) override {
        for (std::size_t i = 0; i < objects_.size(); ++i)
            if (objects_[i] == obj) return static_cast<std::uint32_t>(i);
        if (objects_.size() >= kMaxObjects) throw EFrameError("Too many automation objects on one connection");
        objects_.push_back(obj);
        return static_cast<std::uint32_t>(objects_.size() - 1);
    }
    DispatchPtr Import(std::uint32_t ref) override {
        if (ref >= objects_.size()) throw EFrameError("Malformed frame: unknown object " + std::to_string(ref));
        return objects_[ref];
    }
    bool Empty() const { return objects_.empty(); }

private:
    std::vector<DispatchPtr> objects_;
};

std::string ErrorText(std::exception_ptr e) {
    try {
        std::rethrow_exception(e);
    } catch (const std::exception& ex) {
        return ex.what();
    } catch (...) {
        return "Unknown exception";
    }
}

// Closing with bytes of the peer unread resets the connection, which can
// destroy an error answer before the peer has read it: stop sending, and let
// the peer leave first, for a moment at most.
void EndGently(int fd) {
    ::shutdown(fd, SHUT_WR);
    char sink[512];
    for (int i = 0; i < 16; ++i) {
        pollfd p{fd, POLLIN, 0};
        if (poll(&p, 1, 100) != 1 || ::recv(fd, sink, sizeof sink, MSG_DONTWAIT) <= 0) break;
    }
    ::shutdown(fd, SHUT_RDWR);
}

}  // namespace

struct TRemoteServer::Connection {
    net::Fd fd;
    std::string peer;
    std::thread thread;
    std::atomic<bool> done{false};
};

TRemoteServer::TRemoteServer() = default;

TRemoteServer::~TRemoteServer() { Stop(); }

void TRemoteServer::RegisterObject(std::string_view serverName, Factory factory) {
    factories_[UpperCase(serverName)] = std::move(factory);
}

void TRemoteServer::Log(const std::string& line) const {
    if (onLog_) onLog_(line);
}

void TRemoteServer::Listen() {
    if (listener_.Valid()) return;
    if (wake_[0] < 0 && pipe2(wake_, O_CLOEXEC | O_NONBLOCK) != 0) throw ESocketError("Cannot create a pipe");
    listener_ = net::ListenTcp(address_, port_, 16);
    port_ = net::LocalPort(listener_.Get());
}

void TRemoteServer::RequestStop() noexcept {
    if (wake_[1] >= 0) {
        const char b = 1;
        [[maybe_unused]] ssize_t n = ::write(wake_[1], &b, 1);
    }
}

void TRemoteServer::Run() {
    Listen();
    for (;;) {
        pollfd fds[2] = {{listener_.Get(), POLLIN, 0}, {wake_[0], POLLIN, 0}};
        const int n = poll(fds, 2, 1000);
        if (n < 0 && errno != EINTR) break;
        if (fds[1].revents) break;
        Reap(false);
        if (n <= 0 || !(fds[0].revents & POLLIN)) continue;
        net::Fd fd(accept4(listener_.Get(), nullptr, nullptr, SOCK_CLOEXEC));
        if (!fd.Valid()) continue;
        if (ConnectionCount() >= maxConnections_) {
            Log("connection refused: too many connections");
            Refuse(fd, "Too many connections");
            continue;
        }
        auto conn = std::make_unique<Connection>();
        conn->fd = std::move(fd);
        Connection& c = *conn;
        {
            std::lock_guard lock(connMutex_);
            connections_.push_back(std::move(conn));
        }
        c.thread = std::thread([this, &c] {
            Serve(c);
            c.done = true;
        });
    }
    Reap(true);
}

void TRemoteServer::Refuse(net::Fd& fd, const std::string& message) {
    try {
        net::WriteFrame(fd.Get(), FrameKind::Error, EncodeText(message), maxFrameSize_, 1000);
        EndGently(fd.Get());
    } catch (const ESocketError&) {
        // The refused peer may already be gone; nothing more is owed to it.
    }
}

void TRemoteServer::Reap(bool all) {
    std::list<std::unique_ptr<Connection>> finished;
    {
        std::lock_guard lock(connMutex_);
        for (auto it = connections_.begin(); it != connections_.end();) {
            if (all || (*it)->done) {
                if (all) (*it)->fd.Shutdown();
                finished.push_back(std::move(*it));
                it = connections_.erase(it);
            } else {
                ++it;
            }
        }
    }
    for (auto& c : finished)
        if (c->thread.joinable()) c->thread.join();
}

void TRemoteServer::Start() {
    Listen();
    if (runner_.joinable()) return;
    runner_ = std::thread([this] { Run(); });
}

void TRemoteServer::Stop() {
    RequestStop();
    if (runner_.joinable()) runner_.join();
    Reap(true);
    listener_.Close();
    for (int& fd : wake_) {
        if (fd >= 0) ::close(fd);
        fd = -1;
    }
}

std::size_t TRemoteServer::ConnectionCount() const {
    std::lock_guard lock(connMutex_);
    std::size_t n = 0;
    for (const auto& c : connections_)
        if (!c->done) ++n;
    return n;
}

void TRemoteServer::Serve(Connection& conn) {
    const int fd = conn.fd.Get();
    TServerRefs refs;
    auto sendError = [&](const std::string& message) {
        net::WriteFrame(fd, FrameKind::Error, EncodeText(message), maxFrameSize_, writeTimeout_);
    };
    try {
        for (;;) {
            const int idle = refs.Empty() ? readTimeout_ : idleTimeout_;
            std::optional<Frame> frame;
            try {
                frame = net::ReadFrame(fd, maxFrameSize_, idle, readTimeout_, wake_[0]);
            } catch (const EFrameError& e) {
                // A header that breaks the rules leaves no way to find the next
                // frame: say why, then end the connection.
                Log(std::string("connection ended: ") + e.what());
                sendError(e.what());
                break;
            }
            if (!frame) break;
            if (refs.Empty()) {
                if (frame->kind != FrameKind::Open) {
                    sendError("Malformed frame: the connection must be opened first");
                    break;
                }
                std::string name;
                DispatchPtr obj;
                std::string refusal;
                try {
                    name = DecodeText(frame->payload);
                    auto it = factories_.find(UpperCase(name));
                    if (it == factories_.end()) throw EOleError("Server object " + name + " is not registered");
                    obj = it->second();
                    if (!obj) throw EOleError("Server object " + name + " could not be created");
                } catch (...) {
                    refusal = ErrorText(std::current_exception());
                }
                if (!refusal.empty()) {
                    Log("connection refused: " + refusal);
                    sendError(refusal);
                    break;
                }
                refs.Export(obj);
                Log("connection opened for " + name);
                net::WriteFrame(fd, FrameKind::Result, EncodeResult({}, &refs), maxFrameSize_, writeTimeout_);
                continue;
            }
            if (frame->kind != FrameKind::Call) {
                sendError("Malformed frame: a call was expected");
                break;
            }
            // The frame was whole, so a payload that does not decode is this
            // call's fault alone: it gets an error and the connection goes on.
            std::string answer;
            try {
                CallMessage call = DecodeCall(frame->payload, &refs);
                DispatchPtr target = refs.Import(call.object);
                if (!target) throw EOleError("No automation object");
                ResultMessage result;
                {
                    std::unique_lock<std::mutex> lock(callMutex_, std::defer_lock);
                    if (serializeCalls_) lock.lock();
                    result.result = target->Invoke(call.name, call.kind, call.args);
                }
                result.args = std::move(call.args);
                answer = EncodeFrame(FrameKind::Result, EncodeResult(result, &refs), maxFrameSize_);
            } catch (...) {
                answer = EncodeFrame(FrameKind::Error, EncodeText(ErrorText(std::current_exception())), maxFrameSize_);
            }
            net::WriteAll(fd, answer, writeTimeout_);
        }
    } catch (const std::exception& e) {
        Log(std::string("connection ended: ") + e.what());
    }
    EndGently(fd);
}

}  // namespace zb
