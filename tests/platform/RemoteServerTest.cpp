// The socket connection and the remote server: calls with by-reference
// arguments and objects handed out by reference, in this process and across
// processes; malformed, oversized and truncated frames on either side; a
// server that stops answering or goes away in the middle of a call.
#include "platform/remote/RemoteServer.h"

#include "platform/core/Exceptions.h"
#include "platform/remote/AutoObject.h"
#include "platform/remote/SocketConnection.h"
#include "platform/remote/SocketIO.h"

#include <chrono>
#include <csignal>
#include <gtest/gtest.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace zb {
namespace {

using Clock = std::chrono::steady_clock;
constexpr const char* kServerName = "ZbTest.Server";

long long MsSince(Clock::time_point start) {
    return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();
}

Variant NestedValue() {
    Variant grid = VarArrayCreate({1, 2, 0, 1}, VarType::Variant);
    grid.At({2, 1}) = VarArrayOf({Variant(std::string("\xc4\xe3")), Variant::Date(45352.5), Variant(Null)});
    return VarArrayOf({Variant(true), grid, Variant(-7)});
}

// The object each connection gets. `inChild`: it may end its process.
DispatchPtr MakeServerObject(bool inChild) {
    auto obj = std::make_shared<TAutoObject>("TTestServer");
    auto child = std::make_shared<TAutoObject>("TChild");
    child->Value("Name", Variant("child"));
    obj->Method("Echo", [](TAutoObject::Args& a) { return OptionalArg(a, 0); })
        .Method(
            "Request1",
            [](TAutoObject::Args& a) {
                // Answers through a by-reference argument as well as its result.
                a[1] = Variant::Wide(a[1].ToString() + "!");
                return Variant("20240131000001");
            },
            2)
        .Method("Fail", [](TAutoObject::Args&) -> Variant { throw EOleError("the server refused"); })
        .Method("Child", [child](TAutoObject::Args&) { return Variant(DispatchPtr(child)); })
        .Method("NameOf", [](TAutoObject::Args& a) { return a[0].Get("Name"); }, 1)
        .Method(
            "Sleep",
            [](TAutoObject::Args& a) {
                std::this_thread::sleep_for(std::chrono::milliseconds(a[0].ToInt()));
                return Variant(true);
            },
            1)
        .Value("SQLType", 1);
    if (inChild) obj->Method("Die", [](TAutoObject::Args&) -> Variant { _exit(3); });
    return obj;
}

class RemoteServerTest : public ::testing::Test {
protected:
    void SetUp() override {
        server_.RegisterObject(kServerName, [] { return MakeServerObject(false); });
        server_.SetReadTimeout(500);
        server_.Start();
        conn_.SetAddress("127.0.0.1");
        conn_.SetPort(server_.Port());
        conn_.SetServerName(kServerName);
        conn_.SetReadTimeout(5000);
    }

    // A raw socket to the server, for what no well-behaved client sends.
    net::Fd Raw() { return net::ConnectTcp("127.0.0.1", server_.Port(), 2000); }
    void Send(const net::Fd& fd, FrameKind kind, const std::string& payload) {
        net::WriteFrame(fd.Get(), kind, payload, kDefaultMaxFrameSize, 2000);
    }
    std::optional<Frame> Answer(const net::Fd& fd) {
        return net::ReadFrame(fd.Get(), kDefaultMaxFrameSize, 3000, 3000);
    }

    TRemoteServer server_;
    TSocketConnection conn_;
};

TEST_F(RemoteServerTest, CallsTravelWithTheirByReferenceArguments) {
    EXPECT_FALSE(conn_.Connected());
    Variant app = conn_.AppServer();  // opens the connection
    EXPECT_TRUE(conn_.Connected());
    EXPECT_EQ(app.Call("echo", {NestedValue()}).ToJson(), NestedValue().ToJson());
    std::vector<Variant> args{VarArrayOf({Variant::Wide("参数")}), Variant("work")};
    EXPECT_EQ(app.CallRef("Request1", args).ToString(), "20240131000001");
    EXPECT_EQ(args[1].ToJson(), Variant::Wide("work!").ToJson());
    EXPECT_EQ(app.Get("SQLType").ToInt(), 1);
    app.Put("sqltype", Variant(2));
    EXPECT_EQ(app.Get("SQLTYPE").ToInt(), 2);

    // Objects handed out by the server are called by reference, and may be passed back.
    Variant child = app.Call("Child");
    EXPECT_EQ(child.Get("Name").ToString(), "child");
    child.Put("Name", Variant("renamed"));
    EXPECT_EQ(app.Call("NameOf", {child}).ToString(), "renamed");
    EXPECT_EQ(app.Call("Child").Get("Name").ToString(), "renamed");

    // Each connection has its own server object.
    TSocketConnection second;
    second.SetAddress("127.0.0.1");
    second.SetPort(server_.Port());
    second.SetServerName("zbtest.server");
    EXPECT_EQ(second.AppServer().Get("SQLType").ToInt(), 1);

    conn_.Close();
    EXPECT_FALSE(conn_.Connected());
    EXPECT_THROW(app.Call("Echo"), ESocketError);  // a proxy of a closed connection
    EXPECT_THROW(child.Get("Name"), ESocketError);
}

TEST_F(RemoteServerTest, ErrorsOfTheCallLeaveTheConnectionUsable) {
    Variant app = conn_.AppServer();
    try {
        app.Call("Fail");
        FAIL();
    } catch (const ESocketError&) {
        FAIL() << "a server-side error is no connection failure";
    } catch (const EOleError& e) {
        EXPECT_STREQ(e.what(), "the server refused");
    }
    EXPECT_THROW(app.Call("NoSuchMethod"), EOleError);
    EXPECT_THROW(app.Call("Request1", {Variant(1)}), EOleError);  // too few arguments

    // Values that cannot travel are refused before anything is sent.
    auto local = std::make_shared<TAutoObject>();
    EXPECT_THROW(app.Call("Echo", {Variant(DispatchPtr(local))}), EFrameError);
    conn_.SetMaxFrameSize(1024);
    conn_.Close();
    app = conn_.AppServer();
    EXPECT_THROW(app.Call("Echo", {Variant(std::string(2000, 'x'))}), EFrameError);
    EXPECT_TRUE(conn_.Connected());
    EXPECT_EQ(app.Call("Echo", {Variant("still here")}).ToString(), "still here");
}

TEST_F(RemoteServerTest, OpeningFailsClearly) {
    conn_.SetServerName("ZbTest.Unknown");
    try {
        conn_.Open();
        FAIL();
    } catch (const EOleError& e) {
        EXPECT_STREQ(e.what(), "Server object ZbTest.Unknown is not registered");
    }
    EXPECT_FALSE(conn_.Connected());

    TSocketConnection bad;
    bad.SetServerName(kServerName);
    EXPECT_THROW(bad.Open(), ESocketError);  // no address
    bad.SetAddress("127.0.0.1");
    bad.SetPort(0);
    EXPECT_THROW(bad.Open(), ESocketError);
    // A port nobody listens on: refused at once, not after the time limit.
    net::Fd probe = net::ListenTcp("127.0.0.1", 0, 1);
    bad.SetPort(net::LocalPort(probe.Get()));
    probe.Close();
    const auto start = Clock::now();
    EXPECT_THROW(bad.Open(), ESocketError);
    EXPECT_LT(MsSince(start), 2000);
}

TEST_F(RemoteServerTest, MalformedFramesAreRefusedWithoutHarm) {
    {
        // A whole frame with a bad payload: an error answer, and the connection goes on.
        net::Fd fd = Raw();
        Send(fd, FrameKind::Open, EncodeText(kServerName));
        ASSERT_EQ(Answer(fd)->kind, FrameKind::Result);
        Send(fd, FrameKind::Call, "\x01\x02");
        auto answer = Answer(fd);
        ASSERT_TRUE(answer);
        EXPECT_EQ(answer->kind, FrameKind::Error);
        EXPECT_EQ(DecodeText(answer->payload), "Truncated frame");
        Send(fd, FrameKind::Call, EncodeCall({kServerObject + 9, InvokeKind::Method, "Echo", {}}));
        EXPECT_EQ(DecodeText(Answer(fd)->payload), "Malformed frame: unknown object 9");
        Send(fd, FrameKind::Call, EncodeCall({kServerObject, InvokeKind::Method, "Echo", {Variant(5)}}));
        answer = Answer(fd);
        ASSERT_EQ(answer->kind, FrameKind::Result);
        EXPECT_EQ(DecodeResult(answer->payload).result.ToInt(), 5);
    }
    const std::pair<const char*, std::string> streams[] = {
        {"not a frame", "GET / HTTP/1.0\r\n\r\n"},
        {"a call before opening", EncodeFrame(FrameKind::Call, EncodeCall({}))},
        // Announces 4 GiB: refused from the header, nothing allocated.
        {"oversized", std::string("ZBRF\x01\x02\x00\x00\xff\xff\xff\xff", 12)},
    };
    for (const auto& [what, bytes] : streams) {
        net::Fd fd = Raw();
        net::WriteAll(fd.Get(), bytes, 2000);
        auto answer = Answer(fd);
        ASSERT_TRUE(answer) << what;
        EXPECT_EQ(answer->kind, FrameKind::Error) << what;
        EXPECT_FALSE(Answer(fd)) << what << ": the server ends such a connection";
    }
    {
        // Half a frame, then silence: the server gives up after its read limit.
        net::Fd fd = Raw();
        const std::string frame = EncodeFrame(FrameKind::Open, EncodeText(kServerName));
        net::WriteAll(fd.Get(), frame.substr(0, frame.size() - 3), 2000);
        const auto start = Clock::now();
        EXPECT_FALSE(Answer(fd));
        EXPECT_LT(MsSince(start), 2500);
    }
    // None of it harmed the server.
    EXPECT_EQ(conn_.AppServer().Call("Echo", {Variant("fine")}).ToString(), "fine");
}

TEST_F(RemoteServerTest, AFrameAboveTheServersLimitEndsOnlyThatConnection) {
    server_.Stop();
    server_.SetMaxFrameSize(1024);
    server_.SetMaxConnections(2);
    server_.Start();
    conn_.SetPort(server_.Port());
    Variant app = conn_.AppServer();
    try {
        app.Call("Echo", {Variant(std::string(2000, 'x'))});
        FAIL();
    } catch (const EOleError& e) {
        EXPECT_NE(std::string(e.what()).find("exceeds the limit of 1024 bytes"), std::string::npos) << e.what();
    }
    EXPECT_THROW(app.Call("Echo"), ESocketError);  // the server ended the connection
    EXPECT_FALSE(conn_.Connected());
    app = conn_.AppServer();
    EXPECT_EQ(app.Call("Echo", {Variant("again")}).ToString(), "again");

    // Beyond the connection limit a client is told so, and the others go on.
    TSocketConnection second, third;
    for (TSocketConnection* c : {&second, &third}) {
        c->SetAddress("127.0.0.1");
        c->SetPort(server_.Port());
        c->SetServerName(kServerName);
    }
    second.Open();
    try {
        third.Open();
        FAIL();
    } catch (const EOleError& e) {
        EXPECT_STREQ(e.what(), "Too many connections");
    }
    EXPECT_EQ(app.Call("Echo", {Variant(1)}).ToInt(), 1);
}

// A listener that answers the opening, then answers a call with `reply`
// (or not at all when empty), then waits for the client to leave.
class FakeServer {
public:
    explicit FakeServer(std::string reply) : listener_(net::ListenTcp("127.0.0.1", 0, 1)) {
        port_ = net::LocalPort(listener_.Get());
        thread_ = std::thread([this, reply = std::move(reply)] {
            pollfd p{listener_.Get(), POLLIN, 0};
            if (poll(&p, 1, 5000) != 1) return;
            net::Fd fd(accept(listener_.Get(), nullptr, nullptr));
            try {
                net::ReadFrame(fd.Get(), kDefaultMaxFrameSize, 3000, 3000);
                net::WriteFrame(fd.Get(), FrameKind::Result, EncodeResult({}), kDefaultMaxFrameSize, 3000);
                net::ReadFrame(fd.Get(), kDefaultMaxFrameSize, 3000, 3000);
                if (!reply.empty()) net::WriteAll(fd.Get(), reply, 3000);
                net::ReadFrame(fd.Get(), kDefaultMaxFrameSize, 3000, 3000);  // until the client closes
            } catch (const std::exception&) {
                // The client may leave at any point; the fake has nothing to report.
            }
        });
    }
    ~FakeServer() { thread_.join(); }
    std::uint16_t Port() const { return port_; }

private:
    net::Fd listener_;
    std::uint16_t port_ = 0;
    std::thread thread_;
};

TEST(SocketConnection, MalformedAnswersDisconnectCleanly) {
    const std::pair<const char*, std::string> replies[] = {
        {"garbage", std::string(16, '\x7f')},
        {"bad payload", EncodeFrame(FrameKind::Result, "\x0b")},
        {"wrong argument count", EncodeFrame(FrameKind::Result, EncodeResult({Variant(1), {Variant(), Variant()}}))},
        {"an opening frame", EncodeFrame(FrameKind::Open, EncodeText("x"))},
        {"oversized", std::string("ZBRF\x01\x03\x00\x00\x00\x00\x00\x7f", 12)},
        {"truncated, then closed", EncodeFrame(FrameKind::Result, EncodeResult({Variant("abcdef"), {}})).substr(0, 15)},
    };
    for (const auto& [what, reply] : replies) {
        FakeServer fake(reply);
        TSocketConnection conn;
        conn.SetAddress("127.0.0.1");
        conn.SetPort(fake.Port());
        conn.SetServerName(kServerName);
        conn.SetReadTimeout(1000);
        Variant app = conn.AppServer();
        EXPECT_THROW(app.Call("Echo"), EOleError) << what;
        EXPECT_FALSE(conn.Connected()) << what;
        conn.Close();
    }
}

TEST(SocketConnection, AServerThatStopsAnsweringTimesOut) {
    FakeServer fake("");
    TSocketConnection conn;
    conn.SetAddress("127.0.0.1");
    conn.SetPort(fake.Port());
    conn.SetServerName(kServerName);
    conn.SetReadTimeout(300);
    Variant app = conn.AppServer();
    const auto start = Clock::now();
    try {
        app.Call("Request");
        FAIL();
    } catch (const ESocketError& e) {
        EXPECT_STREQ(e.what(), "Timed out waiting for the peer (the call to 'Request')");
    }
    EXPECT_LT(MsSince(start), 2000);
    EXPECT_FALSE(conn.Connected());
    conn.Close();
}

// A server in a child process of its own, ended when the test ends.
class ChildServer {
public:
    ChildServer() {
        int p[2];
        if (pipe(p) != 0) throw std::runtime_error("pipe");
        pid_ = fork();
        if (pid_ == 0) {
            close(p[0]);
            alarm(60);  // never outlives a test run, whatever happens to the parent
            TRemoteServer server;
            server.RegisterObject(kServerName, [] { return MakeServerObject(true); });
            server.Listen();
            const std::uint16_t port = server.Port();
            if (write(p[1], &port, sizeof port) != sizeof port) _exit(1);
            close(p[1]);
            server.Run();
            _exit(0);
        }
        close(p[1]);
        pollfd pf{p[0], POLLIN, 0};
        if (poll(&pf, 1, 10000) == 1 && read(p[0], &port_, sizeof port_) == sizeof port_) ready_ = true;
        close(p[0]);
    }
    ~ChildServer() {
        if (pid_ > 0) {
            kill(pid_, SIGKILL);
            waitpid(pid_, nullptr, 0);
        }
    }
    bool Ready() const { return ready_; }
    std::uint16_t Port() const { return port_; }
    pid_t Pid() const { return pid_; }

private:
    pid_t pid_ = -1;
    std::uint16_t port_ = 0;
    bool ready_ = false;
};

TEST(RemoteAcrossProcesses, AClientCallsAServerInAnotherProcess) {
    ChildServer child;
    ASSERT_TRUE(child.Ready());
    TSocketConnection conn;
    conn.SetAddress("127.0.0.1");
    conn.SetPort(child.Port());
    conn.SetServerName(kServerName);
    conn.SetReadTimeout(5000);
    Variant app = conn.AppServer();
    std::vector<Variant> args{VarArrayCreate({0, 2, 1, 2}), Variant("job")};
    args[0].At({2, 1}) = Variant::Wide("海关");
    EXPECT_EQ(app.CallRef("Request1", args).ToString(), "20240131000001");
    EXPECT_EQ(args[1].ToString(), "job!");
    EXPECT_EQ(app.Call("Echo", {args[0]}).ToJson(), args[0].ToJson());
    EXPECT_EQ(app.Call("Child").Get("Name").ToString(), "child");

    // The server process ends in the middle of a call: a clean error at once.
    const auto start = Clock::now();
    try {
        app.Call("Die");
        FAIL();
    } catch (const ESocketError& e) {
        EXPECT_STREQ(e.what(), "The server closed the connection (the call to 'Die')");
    }
    EXPECT_LT(MsSince(start), 2000);
    EXPECT_FALSE(conn.Connected());
    EXPECT_THROW(app.Call("Echo"), ESocketError);
    EXPECT_THROW(conn.Open(), ESocketError);  // nobody listens any more
}

TEST(RemoteAcrossProcesses, AServerKilledDuringALongCall) {
    ChildServer child;
    ASSERT_TRUE(child.Ready());
    TSocketConnection conn;
    conn.SetAddress("127.0.0.1");
    conn.SetPort(child.Port());
    conn.SetServerName(kServerName);
    conn.SetReadTimeout(10000);
    Variant app = conn.AppServer();
    std::thread killer([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
        kill(child.Pid(), SIGKILL);
    });
    const auto start = Clock::now();
    EXPECT_THROW(app.Call("Sleep", {Variant(8000)}), ESocketError);
    killer.join();
    EXPECT_LT(MsSince(start), 5000);  // long before the call or the time limit would end
    EXPECT_FALSE(conn.Connected());
}

}  // namespace
}  // namespace zb
