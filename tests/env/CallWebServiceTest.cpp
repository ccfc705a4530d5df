// Tests of the web-service call: the real CallWebService library against a
// small HTTP server on the loopback address, run by the test itself.
#include "env/XmlFunc.h"

#include "LoopbackHttpServer.h"
#include "env/UserPrompt.h"
#include "platform/core/Exceptions.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>

extern char** environ;

namespace zb {
namespace {

using test::HttpResponse;
using test::LoopbackHttpServer;

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

// The pause is asked for only when the program's last argument is "T", so it
// is seen in a child of this test program started that way.
TEST_F(WebServiceTest, DISABLED_TracePauseChild)
{
    LoopbackHttpServer server(HttpResponse("200 OK", SoapAnswer("<r><return>x</return></r>")));
    std::vector<TUserQuestion> questions;
    size_t requestsWhenAsked = 99;
    const TAskUserHandler previous = SetAskUserHandler([&](const TUserQuestion& q) {
        questions.push_back(q);
        requestsWhenAsked = server.Requests().size();
        return TUserAnswer::Ok;
    });
    EXPECT_EQ(CallWebService(server.Url(), "getAllUser", "<Q/>"), "x\r\n");
    SetAskUserHandler(previous);
    ASSERT_EQ(questions.size(), 1u);
    EXPECT_EQ(questions[0].Text, "跟踪测试中断!可在此时设置Dll之Modules。点\"OK\"继续。");
    EXPECT_EQ(questions[0].Buttons, std::vector<TUserAnswer>{TUserAnswer::Ok});
    EXPECT_EQ(requestsWhenAsked, 0u) << "the pause comes before the call";
}

TEST_F(WebServiceTest, TracePauseAsksBeforeTheCall)
{
    std::string self = std::filesystem::read_symlink("/proc/self/exe").string();
    std::string all = "--gtest_also_run_disabled_tests", filter = "--gtest_filter=WebServiceTest.DISABLED_TracePauseChild",
                trace = "t";
    char* argv[] = {self.data(), all.data(), filter.data(), trace.data(), nullptr};
    posix_spawn_file_actions_t quiet;
    posix_spawn_file_actions_init(&quiet);
    posix_spawn_file_actions_addopen(&quiet, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    pid_t child = 0;
    const int spawned = posix_spawn(&child, self.c_str(), &quiet, nullptr, argv, environ);
    posix_spawn_file_actions_destroy(&quiet);
    ASSERT_EQ(spawned, 0);
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0) << "the child's test failed; run it with the arguments above to see why";
}

}  // namespace
}  // namespace zb
