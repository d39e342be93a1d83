#include "web/HttpRequest.h"
#include "support/Gbk.h"
#include "support/RawServer.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <thread>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace quillmarsh;
using testing_support::RawServer;

namespace {

const std::string kDefaults = "User-Agent: Mozilla/5.0 (compatible; MSIE 9.0; Windows NT 6.1; WOW64; Trident/5.0)\r\n"
                              "Accept: text/html, application/xhtml+xml, */*\r\n"
                              "Accept-Encoding: gbk, GB2312\r\n"
                              "Accept-Language: zh-cn\r\n"
                              "Content-Type: application/x-www-form-urlencoded\r\n"
                              "Cache-Control: no-cache\r\n";

// The default lines without the one that starts with `name`.
std::string Without(std::string_view name)
{
    std::string block = kDefaults;
    std::size_t at = block.find(name);
    return block.erase(at, block.find("\r\n", at) + 2 - at);
}

RawServer::Handler Reply(std::string bytes)
{
    return [bytes](int s, const std::string&) { RawServer::Send(s, bytes); };
}

std::string Ok(const std::string& body, const std::string& extra = "")
{
    return "HTTP/1.1 200 OK\r\nContent-Length: " + std::to_string(body.size()) + "\r\n" + extra + "\r\n" + body;
}

TEST(AssembleRequestHeaders, DefaultLinesFollowTheCallersBlock)
{
    struct Case {
        const char* name;
        std::string headers, cookies, block;
    } cases[] = {
        {"no caller lines, no cookies", "", "", kDefaults},
        {"caller's User-Agent kept", "User-Agent: X", "",
            "User-Agent: X\r\n" + kDefaults.substr(kDefaults.find("Accept: "))},
        {"Content-Type without blank suppresses the default", "Content-Type:text/plain", "",
            "Content-Type:text/plain\r\n" + Without("Content-Type")},
        {"Accept without blank does not", "Accept:x", "", "Accept:x\r\n" + kDefaults},
        {"a name ending in a default's name suppresses it", "X-Accept: y", "", "X-Accept: y\r\n" + Without("Accept: ")},
        {"cookie line last", "", "a=1; b=2", kDefaults + "Cookie: a=1; b=2\r\n"},
        {"caller's Cookie line wins", "Cookie: z=9", "a=1", "Cookie: z=9\r\n" + kDefaults},
    };
    for (const Case& c : cases)
        EXPECT_EQ(AssembleRequestHeaders(c.headers, c.cookies), c.block) << c.name;
}

TEST(HttpRequest, SendsTheAssembledBlockByteForByte)
{
    RawServer server(Reply(Ok("hi")));
    HttpRequestOptions o;
    o.url = server.Url("/searchjob/pn2/?complex=0&key=%BB%E1");
    o.cookies = "a=1";
    HttpResponse r = HttpRequest(o);
    EXPECT_EQ(r.error, "");
    EXPECT_EQ(r.text, "hi");
    EXPECT_EQ(r.status, "200 OK");
    ASSERT_EQ(server.Requests().size(), 1u);
    EXPECT_EQ(server.Requests()[0],
        "GET /searchjob/pn2/?complex=0&key=%BB%E1 HTTP/1.1\r\nHost: 127.0.0.1:" + std::to_string(server.Port()) + "\r\n"
            + kDefaults + "Cookie: a=1\r\n\r\n");
}

TEST(HttpRequest, MethodsAndBodies)
{
    struct Case {
        const char* name;
        HttpMethod method;
        std::string url, body, requestLine, tail;
    } cases[] = {
        {"no path asks for /", HttpMethod::Get, "", "", "GET / HTTP/1.1", ""},
        {"POST with its body", HttpMethod::Post, "/form", "a=1&b=2", "POST /form HTTP/1.1",
            "Content-Length: 7\r\n\r\na=1&b=2"},
        {"PUT", HttpMethod::Put, "/x", "data", "PUT /x HTTP/1.1", "Content-Length: 4\r\n\r\ndata"},
        {"unknown method sends GET", static_cast<HttpMethod>(42), "/q", "", "GET /q HTTP/1.1", ""},
    };
    for (const Case& c : cases) {
        RawServer server(Reply(Ok("ok")));
        HttpRequestOptions o;
        o.url = "http://127.0.0.1:" + std::to_string(server.Port()) + c.url;
        o.method = c.method;
        o.body = c.body;
        HttpResponse r = HttpRequest(o);
        EXPECT_EQ(r.error, "") << c.name;
        ASSERT_EQ(server.Requests().size(), 1u) << c.name;
        const std::string sent = server.Requests()[0];
        EXPECT_EQ(sent.substr(0, sent.find("\r\n")), c.requestLine) << c.name;
        if (!c.tail.empty()) {
            EXPECT_EQ(sent.substr(sent.size() - c.tail.size()), c.tail) << c.name;
        }
        EXPECT_EQ(sent.find("Expect:"), std::string::npos) << c.name;
    }
}

TEST(HttpRequest, NumberedMessagesAtTheStepThatFailed)
{
    struct Case {
        const char* name;
        std::string url;
        std::string error;
    } cases[] = {
        {"not a URL", "not a url", G("701 解析URL地址失败!")},
        {"other scheme", "ftp://127.0.0.1/", G("701 解析URL地址失败!")},
        {"no host", "http://", G("701 解析URL地址失败!")},
        {"empty", "", G("701 解析URL地址失败!")},
        {"closed port", "http://127.0.0.1:" + std::to_string(RawServer::ClosedPort()) + "/", G("711 发送请求失败!")},
        {"unknown host", "http://no-such-host.invalid/", G("711 发送请求失败!")},
    };
    for (const Case& c : cases) {
        HttpRequestOptions o;
        o.url = c.url;
        o.cookies = "keep=1";
        HttpResponse r = HttpRequest(o);
        EXPECT_EQ(r.error, c.error) << c.name;
        EXPECT_EQ(r.text, "") << c.name;
        EXPECT_EQ(r.status, "") << c.name;
        EXPECT_EQ(r.cookies, "keep=1") << c.name;
    }
}

TEST(HttpRequest, ServersThatDoNotAnswerProperly)
{
    struct Case {
        const char* name;
        RawServer::Handler handler;
        std::string error;
        std::string text;
    } cases[] = {
        {"silent until the time-out",
            [](int, const std::string&) { std::this_thread::sleep_for(std::chrono::milliseconds(2500)); },
            G("712 服务器未响应!"), ""},
        {"closes without a word", [](int, const std::string&) {}, G("712 服务器未响应!"), ""},
        {"not HTTP", Reply("SSH-2.0-OpenSSH_9.2\r\n\r\nhello"), G("712 服务器未响应!"), ""},
        {"body cut off", Reply("HTTP/1.1 200 OK\r\nContent-Length: 1000\r\n\r\npartial"), G("713 读取数据失败!"),
            "partial"},
        {"a header block of 1 MB",
            Reply("HTTP/1.1 200 OK\r\nX-Big: " + std::string(1 << 20, 'a') + "\r\nContent-Length: 2\r\n\r\nok"),
            G("712 服务器未响应!"), ""},
        {"status line of another protocol", Reply("ICY 200 OK\r\nContent-Length: 2\r\n\r\nok"), G("712 服务器未响应!"),
            ""},
        {"redirect loop", Reply("HTTP/1.1 302 Found\r\nLocation: /again\r\nContent-Length: 0\r\n\r\n"),
            G("712 服务器未响应!"), ""},
    };
    for (const Case& c : cases) {
        RawServer server(c.handler);
        HttpRequestOptions o;
        o.url = server.Url("/");
        o.timeoutSeconds = 1;
        const auto start = std::chrono::steady_clock::now();
        HttpResponse r = HttpRequest(o);
        EXPECT_EQ(r.error, c.error) << c.name;
        EXPECT_EQ(r.text, c.text) << c.name;
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(10)) << c.name;
    }
}

TEST(HttpRequest, HeadRedirectsAndCookies)
{
    RawServer head(Reply("HTTP/1.1 200 OK\r\nSet-Cookie: s=1; path=/\r\nContent-Length: 5\r\n\r\n"));
    HttpRequestOptions o;
    o.url = head.Url("/");
    o.method = HttpMethod::Head;
    o.cookies = "old=0; s=0";
    HttpResponse r = HttpRequest(o);
    EXPECT_EQ(r.error, "");
    EXPECT_EQ(r.text, "");
    EXPECT_EQ(r.status, "200 OK");
    EXPECT_EQ(r.newCookies, "s=1");
    EXPECT_EQ(r.cookies, "old=0; s=1");
    EXPECT_EQ(r.rawHeaders, "HTTP/1.1 200 OK\r\nSet-Cookie: s=1; path=/\r\nContent-Length: 5\r\n\r\n");
    EXPECT_EQ(head.Requests()[0].substr(0, 4), "HEAD");

    RawServer redirecting([](int s, const std::string& request) {
        if (request.rfind("GET /final", 0) == 0)
            RawServer::Send(s, Ok("final page", "X-Final: 1\r\n"));
        else
            RawServer::Send(s, "HTTP/1.1 302 Found\r\nLocation: /final\r\nContent-Length: 9\r\n\r\nmoved....");
    });
    o = {};
    o.url = redirecting.Url("/start");
    o.noRedirect = true;
    r = HttpRequest(o);
    EXPECT_EQ(r.error, "");
    EXPECT_EQ(r.status, "302 Found");
    EXPECT_EQ(r.location, "/final");
    EXPECT_EQ(r.text, "moved....");

    o.noRedirect = false;
    r = HttpRequest(o);
    EXPECT_EQ(r.error, "");
    EXPECT_EQ(r.status, "200 OK");
    EXPECT_EQ(r.text, "final page");
    EXPECT_NE(r.rawHeaders.find("X-Final: 1"), std::string::npos);
    EXPECT_EQ(r.location, "");
}

TEST(HttpRequest, BodiesAreDecodedByTheirMetaCharset)
{
    RawServer utf8(Reply(Ok("<meta charset=\"utf-8\"><b>王女士😀</b>")));
    HttpRequestOptions o;
    o.url = utf8.Url();
    EXPECT_EQ(HttpRequest(o).text, G("<meta charset=\"utf-8\"><b>王女士?</b>"));

    RawServer zero(Reply(Ok(std::string("before\0after", 12))));
    o.url = zero.Url();
    EXPECT_EQ(HttpRequest(o).text, "before");

    const std::string big(5 * 1024 * 1024, 'x');
    RawServer large(Reply("HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n500000\r\n" + big + "\r\n0\r\n\r\n"));
    o.url = large.Url();
    HttpResponse r = HttpRequest(o);
    EXPECT_EQ(r.error, "");
    EXPECT_EQ(r.text.size(), big.size());
}

// A real proxy (tinyproxy) with Basic authentication between the client and the server.
TEST(HttpRequest, GoesThroughAProxyWithCredentials)
{
    const char* binary = "/usr/bin/tinyproxy";
    ASSERT_TRUE(std::filesystem::exists(binary)) << "tinyproxy is installed by scripts/setup.sh";
    RawServer server(Reply(Ok("through the proxy")));
    const std::uint16_t port = RawServer::ClosedPort();
    const std::filesystem::path dir
        = std::filesystem::temp_directory_path() / ("quillmarsh-proxy-" + std::to_string(getpid()));
    std::filesystem::create_directories(dir);
    {
        std::ofstream conf(dir / "tinyproxy.conf");
        conf << "Port " << port << "\nListen 127.0.0.1\nTimeout 30\nAllow 127.0.0.1\nBasicAuth user secret\n"
             << "MaxClients 10\nLogLevel Critical\n";
        if (getuid() == 0)
            conf << "User nobody\nGroup nogroup\n";
    }
    pid_t pid = fork();
    if (pid == 0) {
        execl(binary, binary, "-d", "-c", (dir / "tinyproxy.conf").c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    HttpRequestOptions o;
    o.url = server.Url("/page");
    o.proxy = "127.0.0.1:" + std::to_string(port);
    HttpResponse r;
    for (int i = 0; i < 50; ++i) { // until the proxy listens
        r = HttpRequest(o);
        if (r.error.empty())
            break;
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    EXPECT_EQ(r.status.substr(0, 3), "407") << "without credentials the proxy refuses";

    o.proxyUser = "user";
    o.proxyPassword = "secret";
    r = HttpRequest(o);
    EXPECT_EQ(r.error, "");
    EXPECT_EQ(r.status, "200 OK");
    EXPECT_EQ(r.text, "through the proxy");
    ASSERT_EQ(server.Requests().size(), 1u);
    EXPECT_EQ(server.Requests()[0].substr(0, 19), "GET /page HTTP/1.1\r");

    kill(pid, SIGTERM);
    waitpid(pid, nullptr, 0);
    std::filesystem::remove_all(dir);
}

} // namespace
