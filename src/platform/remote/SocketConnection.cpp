// The client side of the remote protocol: one channel per open connection,
// shared by the proxies of the objects the server handed out on it.
#include "platform/remote/SocketConnection.h"

#include <mutex>

#include "platform/core/Dispatch.h"
#include "platform/remote/SocketIO.h"

namespace zb {

class TRemoteChannel : public IObjectRefs, public std::enable_shared_from_this<TRemoteChannel> {
public:
    TRemoteChannel(net::Fd fd, std::uint32_t maxFrame, int readTimeout, int writeTimeout)
        : fd_(std::move(fd)), maxFrame_(maxFrame), readTimeout_(readTimeout), writeTimeout_(writeTimeout) {}

    bool IsOpen() const {
        std::lock_guard lock(mutex_);
        return fd_.Valid();
    }

    void Close() {
        std::lock_guard lock(mutex_);
        fd_.Close();
    }

    // The opening exchange: the server object's name, answered with an empty result or an error.
    void Handshake(const std::string& serverName) {
        std::lock_guard lock(mutex_);
        try {
            net::WriteFrame(fd_.Get(), FrameKind::Open, EncodeText(serverName), maxFrame_, writeTimeout_);
            Frame answer = Receive("opening " + serverName);
            if (answer.kind == FrameKind::Error) throw EOleError(DecodeText(answer.payload));
            if (answer.kind != FrameKind::Result) throw EFrameError("Malformed frame: unexpected answer to opening");
            DecodeResult(answer.payload, this);
        } catch (...) {
            fd_.Close();
            throw;
        }
    }

    Variant Call(std::uint32_t object, InvokeKind kind, std::string_view name, std::vector<Variant>& args) {
        std::lock_guard lock(mutex_);
        if (!fd_.Valid()) throw ESocketError("Not connected to the server (call to '" + std::string(name) + "')");
        CallMessage msg{object, kind, std::string(name), args};
        // Encoded before anything is sent: a value that cannot travel leaves the connection as it was.
        const std::string frame = EncodeFrame(FrameKind::Call, EncodeCall(msg, this), maxFrame_);
        Frame answer;
        try {
            net::WriteAll(fd_.Get(), frame, writeTimeout_);
            answer = Receive("the call to '" + msg.name + "'");
            if (answer.kind == FrameKind::Result) {
                ResultMessage result = DecodeResult(answer.payload, this);
                if (result.args.size() != args.size())
                    throw EFrameError("Malformed frame: answer with " + std::to_string(result.args.size()) +
                                      " arguments to a call with " + std::to_string(args.size()));
                args = std::move(result.args);
                return std::move(result.result);
            }
            if (answer.kind != FrameKind::Error) throw EFrameError("Malformed frame: unexpected answer to a call");
            answer.payload = DecodeText(answer.payload);
        } catch (const EOleError&) {
            // After a lost, late or garbled answer the stream is out of step: no later call may read it.
            fd_.Close();
            throw;
        }
        throw EOleError(answer.payload);  // the server's own error; the connection stays usable
    }

    std::uint32_t Export(const DispatchPtr& obj) override;
    DispatchPtr Import(std::uint32_t ref) override;

private:
    Frame Receive(const std::string& during) {
        std::optional<Frame> f;
        try {
            f = net::ReadFrame(fd_.Get(), maxFrame_, readTimeout_, readTimeout_);
        } catch (const ESocketError& e) {
            throw ESocketError(std::string(e.what()) + " (" + during + ")");
        }
        if (!f) throw ESocketError("The server closed the connection (" + during + ")");
        return std::move(*f);
    }

    mutable std::mutex mutex_;
    net::Fd fd_;
    std::uint32_t maxFrame_;
    int readTimeout_;
    int writeTimeout_;
};

namespace {

// An object living on the server, reached through the channel it came from.
class TRemoteObject : public IDispatch {
public:
    TRemoteObject(std::shared_ptr<TRemoteChannel> channel, std::uint32_t ref)
        : channel_(std::move(channel)), ref_(ref) {}

    Variant Invoke(std::string_view name, InvokeKind kind, std::vector<Variant>& args) override {
        return channel_->Call(ref_, kind, name, args);
    }
    std::string_view DispatchClassName() const override { return "TRemoteObject"; }

    const TRemoteChannel* Channel() const { return channel_.get(); }
    std::uint32_t Ref() const { return ref_; }

private:
    std::shared_ptr<TRemoteChannel> channel_;
    std::uint32_t ref_;
};

}  // namespace

std::uint32_t TRemoteChannel::Export(const DispatchPtr& obj) {
    const auto* remote = dynamic_cast<const TRemoteObject*>(obj.get());
    if (!remote || remote->Channel() != this)
        throw EFrameError("An automation object of the client cannot be passed to the server");
    return remote->Ref();
}

DispatchPtr TRemoteChannel::Import(std::uint32_t ref) {
    return std::make_shared<TRemoteObject>(shared_from_this(), ref);
}

TSocketConnection::TSocketConnection() = default;

TSocketConnection::~TSocketConnection() { Close(); }

void TSocketConnection::Open() {
    if (Connected()) return;
    if (address_.empty()) throw ESocketError("No server address given");
    if (port_ < 1 || port_ > 65535) throw ESocketError("Invalid server port " + std::to_string(port_));
    if (serverName_.empty()) throw ESocketError("Missing ServerName");
    net::Fd fd = net::ConnectTcp(address_, static_cast<std::uint16_t>(port_), connectTimeout_);
    auto channel = std::make_shared<TRemoteChannel>(std::move(fd), maxFrameSize_, readTimeout_, writeTimeout_);
    channel->Handshake(serverName_);
    channel_ = std::move(channel);
}

void TSocketConnection::Close() {
    if (channel_) channel_->Close();
    channel_.reset();
}

bool TSocketConnection::Connected() const { return channel_ && channel_->IsOpen(); }

Variant TSocketConnection::AppServer() {
    if (localServer_.Type() == VarType::Dispatch) return localServer_;
    Open();
    return Variant(channel_->Import(kServerObject));
}

}  // namespace zb
