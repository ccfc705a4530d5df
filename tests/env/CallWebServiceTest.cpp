// Tests of the web-service call: the real CallWebService library against a
// small HTTP server on the loopback address, run by the test itself.
#include "env/XmlFunc.h"

#include "env/UserPrompt.h"
#include "platform/core/Exceptions.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <atomic>
#include <mutex>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>

namespace zb {
namespace {

// Answers every request with one fixed HTTP response and keeps the requests.
class LoopbackHttpServer {
public:
    explicit LoopbackHttpServer(std::string response) : response_(std::move(response))
    {
        listener_ = socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in addr{};
        addr.sin_family = AF_INET;
        addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        addr.sin_port = 0;  // a free port
        socklen_t len = sizeof addr;
        if (listener_ < 0 || bind(listener_, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0 ||
            listen(listener_, 4) != 0 || getsockname(listener_, reinterpret_cast<sockaddr*>(&addr), &len) != 0)
            throw std::runtime_error("cannot listen on the loopback address");
        port_ = ntohs(addr.sin_port);
        thread_ = std::thread([this] { Serve(); });
    }
    ~LoopbackHttpServer()
    {
        stop_ = true;
        thread_.join();
        close(listener_);
    }

    std::string Url(const std::string& path = "/portal") const
    {
        return "http://127.0.0.1:" + std::to_string(port_) + path;
    }
    std::vector<std::string> Requests()
    {
        std::lock_guard lock(mutex_);
        return requests_;
    }

private:
    void Serve()
    {
        while (!stop_) {
            pollfd p{listener_, POLLIN, 0};
            if (poll(&p, 1, 50) <= 0)
                continue;
            const int client = accept(listener_, nullptr, nullptr);
            if (client < 0)
                continue;
            std::string request = ReadRequest(client);
            {
                std::lock_guard lock(mutex_);
                requests_.push_back(std::move(request));
            }
            for (size_t sent = 0; sent < response_.size();) {
                const ssize_t n = send(client, response_.data() + sent, response_.size() - sent, MSG_NOSIGNAL);
                if (n <= 0)
                    break;
                sent += static_cast<size_t>(n);
            }
            close(client);
        }
    }

    static std::string ReadRequest(int client)
    {
        std::string data;
        char buf[4096];
        size_t expected = std::string::npos;
        while (data.size() < expected) {
            pollfd p{client, POLLIN, 0};
            if (poll(&p, 1, 5000) <= 0)
                break;
            const ssize_t n = recv(client, buf, sizeof buf, 0);
            if (n <= 0)
                break;
            data.append(buf, static_cast<size_t>(n));
            const size_t head = data.find("\r\n\r\n");
            if (head != std::string::npos && expected == std::string::npos) {
                const size_t at = data.find("Content-Length: ");
                expected = head + 4 + (at < head ? std::stoul(data.substr(at + 16)) : 0);
            }
        }
        return data;
    }

    std::string response_;
    int listener_ = -1;
    int port_ = 0;
    std::atomic<bool> stop_{false};
    std::thread thread_;
    std::mutex mutex_;
    std::vector<std::string> requests_;
};

std::string HttpResponse(const std::string& status, const std::string& body)
{
    return "HTTP/1.1 " + status + "\r\nContent-Type: text/xml; charset=utf-8\r\nContent-Length: " +
           std::to_string(body.size()) + "\r\nConnection: close\r\n\r\n" + body;
}

std::string SoapAnswer(const std::string& inner)
{
    return "<?xml version=\"1.0\" encoding=\"utf-8\"?><soap:Envelope "
           "xmlns:soap=\"http://schemas.xmlsoap.org/soap/envelope/\"><soap:Body>" +
           inner + "</soap:Body></soap:Envelope>";
}

// The temporary folder of the call, so the answer file can be seen to go away.
class WebServiceTest : public ::testing::Test {
protected:
    test::TempDir tmp_;
    test::EnvGuard tmpdir_{"TMPDIR", tmp_.Path().string()};

    bool TempFolderEmpty() const { return std::filesystem::is_empty(tmp_.Path()); }
};

TEST_F(WebServiceTest, PostsTheRequestAndReturnsTheAnswerLines)
{
    LoopbackHttpServer server(HttpResponse(
        "200 OK", SoapAnswer("<getAllUserResponse><return>&lt;Users&gt;\n&lt;U ID=\"1\"/&gt;\r\n\xE4\xB8\xAD"
                             "</return></getAllUserResponse>")));
    const std::string request = "<?xml version=\"1.0\" encoding=\"GB2312\"?><Q a=\"x&y\">\xE6\x9D\x8E</Q>";
    const std::string answer = CallWebService(server.Url(), "PORTAL.getAllUser", request);
    EXPECT_EQ(answer, "<Users>\r\n<U ID=\"1\"/>\r\n\xE4\xB8\xAD\r\n");
    EXPECT_TRUE(TempFolderEmpty()) << "the answer file is removed";

    const std::vector<std::string> requests = server.Requests();
    ASSERT_EQ(requests.size(), 1u);
    const std::string& http = requests[0];
    EXPECT_TRUE(http.starts_with("POST /portal HTTP/1.1\r\n")) << http;
    EXPECT_NE(http.find("SOAPAction: \"PORTAL.getAllUser\"\r\n"), std::string::npos) << http;
    // The request text travels escaped, and the service reads it back as it was.
    XmlDocument sent = LoadXmlText(http.substr(http.find("\r\n\r\n") + 4));
    ASSERT_FALSE(sent.DocumentElement().IsNull()) << http;
    const XmlNodeList calls = sent.DocumentElement().SelectNodes("*[local-name()='Body']/PORTAL.getAllUser/request");
    ASSERT_EQ(calls.size(), 1u) << http;
    EXPECT_EQ(calls[0].Text(), request);
}

TEST_F(WebServiceTest, FailuresReachTheCaller)
{
    struct Case {
        std::string response, reason;
    } cases[] = {
        {HttpResponse("500 Internal Server Error",
                      SoapAnswer("<soap:Fault><faultcode>soap:Server</faultcode><faultstring>no such user</faultstring>"
                                 "</soap:Fault>")),
         "SOAP fault: no such user"},
        {HttpResponse("404 Not Found", "gone"), "HTTP 404"},
        {HttpResponse("200 OK", "<plain/>"), "without a SOAP envelope"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.reason);
        LoopbackHttpServer server(c.response);
        try {
            CallWebService(server.Url(), "getAllUser", "<Q/>");
            ADD_FAILURE() << "no exception";
        } catch (const Exception& e) {
            EXPECT_NE(std::string(e.what()).find(c.reason), std::string::npos) << e.what();
        }
        EXPECT_TRUE(TempFolderEmpty());
    }
    // Nothing but http and https is called; a method must be an element name.
    EXPECT_THROW(CallWebService("file:///etc/passwd", "m", "<Q/>"), Exception);
    LoopbackHttpServer server(HttpResponse("200 OK", SoapAnswer("<r><return>x</return></r>")));
    EXPECT_THROW(CallWebService(server.Url(), "<bad>", "<Q/>"), Exception);
    EXPECT_TRUE(server.Requests().empty());
}

TEST_F(WebServiceTest, WithoutTheLibraryTheAnswerIsEmptyAndNobodyIsAsked)
{
    LoopbackHttpServer server(HttpResponse("200 OK", SoapAnswer("<r><return>x</return></r>")));
    int asked = 0;
    const TAskUserHandler previous = SetAskUserHandler([&](const TUserQuestion&) {
        ++asked;
        return TUserAnswer::Ok;
    });
    EXPECT_EQ(CallWebService(server.Url(), "getAllUser", "<Q/>", "NoSuchWebService.dll"), "");
    EXPECT_EQ(CallWebService(server.Url(), "getAllUser", "<Q/>"), "x\r\n");
    SetAskUserHandler(previous);
    EXPECT_EQ(asked, 0) << "the trace pause is only for a program started with T";
    EXPECT_EQ(server.Requests().size(), 1u);
}

}  // namespace
}  // namespace zb
