#include "LocalHttpServer.h"

#include "update/HttpClient.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

namespace {

using namespace std::chrono_literals;

std::span<const uint8_t> Bytes(const std::string& text)
{
    return {reinterpret_cast<const uint8_t*>(text.data()), text.size()};
}

std::string Text(const std::vector<uint8_t>& buffer, int bytes)
{
    return std::string(reinterpret_cast<const char*>(buffer.data()), static_cast<size_t>(std::max(bytes, 0)));
}

bool StartsWithNoLinkServer(const std::vector<uint8_t>& buffer)
{
    return std::string(reinterpret_cast<const char*>(buffer.data()), 15) == std::string("NO_LINK_SERVER\0", 15);
}

class HttpClientTest : public ::testing::Test {
protected:
    void SetUp() override { ClearProxyVariables(); }
    std::vector<uint8_t> buffer = std::vector<uint8_t>(102400, 0);
};

TEST_F(HttpClientTest, PostIsSentWithItsHeadersAndBody)
{
    LocalHttpServer server;
    server.SetReply(R"({"name":"MS"})");
    HttpClient client;
    client.InitHttpClient();
    const std::string body("app_key=K&version=105\0", 22);

    const int bytes = client.HttpRequest("post", server.BaseUrl() + "updates", Bytes(body), buffer, false);

    EXPECT_EQ(Text(buffer, bytes), R"({"name":"MS"})");
    ASSERT_EQ(server.Requests().size(), 1u);
    const RecordedRequest request = server.Requests().front();
    EXPECT_EQ(request.requestLine, "POST /updates HTTP/1.1");
    EXPECT_EQ(request.Header("User-Agent"), std::vector<std::string>{"WinHTTP Client/1.0"});
    EXPECT_EQ(request.Header("Content-Length"), std::vector<std::string>{"22"});
    EXPECT_EQ(request.Header("Content-Type"), std::vector<std::string>{"application/x-www-form-urlencoded"});
    EXPECT_EQ(request.Header("Accept"), std::vector<std::string>{"application/prs.Mirva.v1+json"});
    EXPECT_TRUE(request.Header("Expect").empty());
    EXPECT_EQ(request.body, body);
}

TEST_F(HttpClientTest, EmptyBodySendsContentLengthZero)
{
    LocalHttpServer server;
    HttpClient client;
    for (const char* method : {"POST", "get"}) {
        SCOPED_TRACE(method);
        EXPECT_EQ(client.HttpRequest(method, server.BaseUrl(), {}, buffer, false), 2);
    }
    const auto requests = server.Requests();
    ASSERT_EQ(requests.size(), 2u);
    EXPECT_EQ(requests[0].requestLine, "POST / HTTP/1.1");
    EXPECT_EQ(requests[1].requestLine, "GET / HTTP/1.1");
    for (const auto& request : requests) {
        EXPECT_EQ(request.Header("Content-Length"), std::vector<std::string>{"0"});
        EXPECT_EQ(request.body, "");
    }
}

TEST_F(HttpClientTest, RejectedArgumentsSendNothing)
{
    LocalHttpServer server;
    struct Case {
        const char* method;
        std::string url;
        uint32_t error;
    };
    const Case cases[] = {
        {"PUT", server.BaseUrl(), 87},
        {"", server.BaseUrl(), 87},
        {"POST", "", 3},
        {"PUT", "", 3},  // the URL is checked first
    };
    HttpClient client;
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.method) + " " + c.url);
        client.InitHttpClient();
        EXPECT_EQ(client.HttpRequest(c.method, c.url, {}, buffer, false), -1);
        EXPECT_EQ(client.GetLastHttpError(), c.error);
        EXPECT_FALSE(client.LastErrorText().empty());
    }
    EXPECT_TRUE(server.Requests().empty());
    client.InitHttpClient();
    EXPECT_EQ(client.GetLastHttpError(), 0u);
}

TEST_F(HttpClientTest, NoServerListeningWritesTheMarker)
{
    HttpClient client;
    const std::string url = "http://127.0.0.1:" + std::to_string(UnusedPort()) + "/updates";
    EXPECT_EQ(client.HttpRequest("POST", url, Bytes("a=b"), buffer, false), 0);
    EXPECT_TRUE(StartsWithNoLinkServer(buffer));
    EXPECT_NE(client.GetLastHttpError(), 0u);
}

TEST_F(HttpClientTest, ServerThatNeverAnswersEndsWithinTheTimeLimit)
{
    LocalHttpServer server;
    server.SetSilent(true);
    HttpClientSettings settings;
    settings.receiveTimeout = 1s;
    settings.sendTimeout = 1s;
    HttpClient client(settings);
    client.InitHttpClient();

    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(client.HttpRequest("POST", server.BaseUrl() + "updates", Bytes("a=b"), buffer, false), 0);
    EXPECT_LT(std::chrono::steady_clock::now() - start, 15s);
    EXPECT_TRUE(StartsWithNoLinkServer(buffer));
    EXPECT_EQ(server.Requests().size(), 1u);
}

TEST_F(HttpClientTest, StopRequestEndsAWaitingRequest)
{
    LocalHttpServer server;
    server.SetSilent(true);
    std::stop_source stop;
    HttpClient client({}, stop.get_token());  // the default 30 s limits
    std::jthread stopper([&] {
        while (server.Requests().empty())
            std::this_thread::sleep_for(10ms);
        stop.request_stop();
    });
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(client.HttpRequest("GET", server.BaseUrl(), {}, buffer, false), 0);
    EXPECT_LT(std::chrono::steady_clock::now() - start, 15s);
}

TEST_F(HttpClientTest, ReplyLargerThanTheBufferStopsAtItsCapacity)
{
    LocalHttpServer server;
    const std::string reply(5000, 'x');
    server.SetReply(reply);
    std::vector<uint8_t> storage(1100, 0xEE);
    HttpClient client;
    const int bytes = client.HttpRequest("GET", server.BaseUrl(), {}, std::span(storage).first(1000), false);
    EXPECT_EQ(bytes, 1000);
    EXPECT_EQ(Text(storage, 1000), reply.substr(0, 1000));
    EXPECT_EQ(storage[1000], 0xEE);
    EXPECT_EQ(storage.back(), 0xEE);
}

TEST_F(HttpClientTest, HttpsCertificateIsVerified)
{
    TempFolder folder;
    const TestCertificate serverCert = MakeSelfSignedCertificate(folder.PathText(), "server");
    const TestCertificate otherCert = MakeSelfSignedCertificate(folder.PathText(), "other");
    LocalHttpServer server(serverCert);
    server.SetReply("{}");
    struct Case {
        const char* what;
        std::string extraCa;
        bool accepted;
    };
    const Case cases[] = {
        {"no extra certificate", "", false},
        {"the server's certificate", serverCert.certFile, true},
        {"another certificate", otherCert.certFile, false},
        {"a missing file", folder.PathText() + "/missing.crt", false},
        {"a file that is no certificate", serverCert.keyFile, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        HttpClientSettings settings;
        settings.extraCaFile = c.extraCa;
        HttpClient client(settings);
        client.InitHttpClient();
        std::fill(buffer.begin(), buffer.end(), 0);
        const size_t before = server.Requests().size();
        const int bytes = client.HttpRequest("POST", server.BaseUrl() + "updates", Bytes("a=b"), buffer, false);
        if (c.accepted) {
            EXPECT_EQ(Text(buffer, bytes), "{}");
            EXPECT_EQ(server.Requests().size(), before + 1);
        } else {
            EXPECT_EQ(bytes, 0);
            EXPECT_TRUE(StartsWithNoLinkServer(buffer));
            EXPECT_EQ(server.Requests().size(), before);
            EXPECT_NE(client.GetLastHttpError(), 0u);
        }
    }
}

TEST_F(HttpClientTest, ProxyOfTheEnvironmentIsTriedWhenTheDirectRequestFails)
{
    LocalHttpServer proxy;
    proxy.SetReply("via proxy");
    const std::string target = "http://127.0.0.1:" + std::to_string(UnusedPort()) + "/updates";
    struct Case {
        const char* noProxy;
        bool throughProxy;
    };
    for (const Case& c : {Case{"", true}, Case{"example.org,127.0.0.1", false}, Case{"*", false}}) {
        SCOPED_TRACE(c.noProxy);
        ::setenv("http_proxy", proxy.BaseUrl().c_str(), 1);
        ::setenv("no_proxy", c.noProxy, 1);
        std::fill(buffer.begin(), buffer.end(), 0);
        const size_t before = proxy.Requests().size();
        HttpClient client;
        const int bytes = client.HttpRequest("POST", target, Bytes("a=b"), buffer, false);
        if (c.throughProxy) {
            EXPECT_EQ(Text(buffer, bytes), "via proxy");
            ASSERT_EQ(proxy.Requests().size(), before + 1);
            EXPECT_EQ(proxy.Requests().back().requestLine, "POST " + target + " HTTP/1.1");
        } else {
            EXPECT_EQ(bytes, 0);
            EXPECT_TRUE(StartsWithNoLinkServer(buffer));
            EXPECT_EQ(proxy.Requests().size(), before);
        }
    }
    ClearProxyVariables();
}

TEST_F(HttpClientTest, ReachableServerIsAskedDirectlyEvenWithAProxySet)
{
    LocalHttpServer server;
    LocalHttpServer proxy;
    ::setenv("http_proxy", proxy.BaseUrl().c_str(), 1);
    HttpClient client;
    EXPECT_EQ(client.HttpRequest("GET", server.BaseUrl(), {}, buffer, false), 2);
    EXPECT_EQ(server.Requests().size(), 1u);
    EXPECT_TRUE(proxy.Requests().empty());
    ClearProxyVariables();
}

} // namespace
