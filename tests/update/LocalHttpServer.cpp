#include "LocalHttpServer.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <unistd.h>

#include <openssl/err.h>
#include <openssl/ssl.h>

#include <algorithm>
#include <cctype>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <stdexcept>

namespace {

constexpr int kIoTimeoutMs = 5000;

std::string Lower(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

std::string Trim(const std::string& text)
{
    const auto begin = text.find_first_not_of(" \t");
    if (begin == std::string::npos)
        return {};
    return text.substr(begin, text.find_last_not_of(" \t") - begin + 1);
}

UniqueFd ListenOn127()
{
    UniqueFd fd(::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0));
    if (!fd)
        throw std::runtime_error("socket");
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = 0;
    if (::bind(fd.Get(), reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 || ::listen(fd.Get(), 16) != 0)
        throw std::runtime_error("bind/listen");
    return fd;
}

uint16_t PortOf(int fd)
{
    sockaddr_in address{};
    socklen_t length = sizeof address;
    ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length);
    return ntohs(address.sin_port);
}

} // namespace

std::vector<std::string> RecordedRequest::Header(const std::string& name) const
{
    std::vector<std::string> values;
    for (const auto& [key, value] : headers)
        if (Lower(key) == Lower(name))
            values.push_back(value);
    return values;
}

struct LocalHttpServer::Tls {
    std::unique_ptr<SSL_CTX, decltype(&SSL_CTX_free)> context{SSL_CTX_new(TLS_server_method()), SSL_CTX_free};
};

LocalHttpServer::LocalHttpServer(std::optional<TestCertificate> tls)
    : m_listen(ListenOn127()), m_stop(::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK)), m_port(PortOf(m_listen.Get()))
{
    m_reply = [](const RecordedRequest&) { return std::string("{}"); };
    if (tls) {
        m_tls = std::make_unique<Tls>();
        if (!m_tls->context || SSL_CTX_use_certificate_file(m_tls->context.get(), tls->certFile.c_str(), SSL_FILETYPE_PEM) != 1 ||
            SSL_CTX_use_PrivateKey_file(m_tls->context.get(), tls->keyFile.c_str(), SSL_FILETYPE_PEM) != 1)
            throw std::runtime_error("TLS server context");
    }
    m_thread = std::thread([this] { Serve(); });
}

LocalHttpServer::~LocalHttpServer()
{
    const uint64_t one = 1;
    [[maybe_unused]] const ssize_t n = ::write(m_stop.Get(), &one, sizeof one);
    m_thread.join();
}

std::string LocalHttpServer::BaseUrl() const
{
    return std::string(m_tls ? "https" : "http") + "://127.0.0.1:" + std::to_string(m_port) + "/";
}

void LocalHttpServer::SetReply(std::string body)
{
    SetReplyFn([body = std::move(body)](const RecordedRequest&) { return body; });
}

void LocalHttpServer::SetReplyFn(ReplyFn reply)
{
    const std::lock_guard lock(m_mutex);
    m_reply = std::move(reply);
}

void LocalHttpServer::SetSilent(bool silent)
{
    const std::lock_guard lock(m_mutex);
    m_silent = silent;
}

std::vector<RecordedRequest> LocalHttpServer::Requests() const
{
    const std::lock_guard lock(m_mutex);
    return m_requests;
}

int LocalHttpServer::FailedHandshakes() const
{
    const std::lock_guard lock(m_mutex);
    return m_failedHandshakes;
}

bool LocalHttpServer::WaitReadable(int fd, int timeoutMs) const
{
    pollfd fds[2] = {{fd, POLLIN, 0}, {m_stop.Get(), POLLIN, 0}};
    if (::poll(fds, 2, timeoutMs) <= 0)
        return false;
    return (fds[1].revents & POLLIN) == 0 && (fds[0].revents & (POLLIN | POLLHUP | POLLERR)) != 0;
}

void LocalHttpServer::Serve()
{
    for (;;) {
        pollfd fds[2] = {{m_listen.Get(), POLLIN, 0}, {m_stop.Get(), POLLIN, 0}};
        if (::poll(fds, 2, -1) < 0 || (fds[1].revents & POLLIN))
            return;
        UniqueFd client(::accept4(m_listen.Get(), nullptr, nullptr, SOCK_CLOEXEC));
        if (client)
            HandleConnection(std::move(client));
    }
}

void LocalHttpServer::HandleConnection(UniqueFd client)
{
    timeval timeout{kIoTimeoutMs / 1000, 0};
    ::setsockopt(client.Get(), SOL_SOCKET, SO_RCVTIMEO, &timeout, sizeof timeout);
    ::setsockopt(client.Get(), SOL_SOCKET, SO_SNDTIMEO, &timeout, sizeof timeout);

    std::unique_ptr<SSL, decltype(&SSL_free)> ssl(nullptr, SSL_free);
    if (m_tls) {
        ssl.reset(SSL_new(m_tls->context.get()));
        SSL_set_fd(ssl.get(), client.Get());
        if (SSL_accept(ssl.get()) != 1) {
            ERR_clear_error();
            const std::lock_guard lock(m_mutex);
            ++m_failedHandshakes;
            return;
        }
    }
    auto readSome = [&](char* data, size_t size) -> ssize_t {
        if (ssl && SSL_pending(ssl.get()) == 0 && !WaitReadable(client.Get(), kIoTimeoutMs))
            return -1;
        if (!ssl && !WaitReadable(client.Get(), kIoTimeoutMs))
            return -1;
        return ssl ? SSL_read(ssl.get(), data, static_cast<int>(size)) : ::read(client.Get(), data, size);
    };
    auto writeAll = [&](const std::string& text) {
        if (ssl)
            SSL_write(ssl.get(), text.data(), static_cast<int>(text.size()));
        else
            for (size_t done = 0; done < text.size();) {
                const ssize_t n = ::write(client.Get(), text.data() + done, text.size() - done);
                if (n <= 0)
                    break;
                done += static_cast<size_t>(n);
            }
    };

    std::string raw;
    char chunk[4096];
    size_t headerEnd = std::string::npos;
    while ((headerEnd = raw.find("\r\n\r\n")) == std::string::npos) {
        const ssize_t n = readSome(chunk, sizeof chunk);
        if (n <= 0)
            return;
        raw.append(chunk, static_cast<size_t>(n));
    }
    RecordedRequest request;
    size_t lineStart = 0;
    size_t contentLength = 0;
    for (bool first = true; lineStart < headerEnd; first = false) {
        const size_t lineEnd = raw.find("\r\n", lineStart);
        const std::string line = raw.substr(lineStart, lineEnd - lineStart);
        lineStart = lineEnd + 2;
        if (first) {
            request.requestLine = line;
            continue;
        }
        const size_t colon = line.find(':');
        if (colon == std::string::npos)
            continue;
        request.headers.emplace_back(line.substr(0, colon), Trim(line.substr(colon + 1)));
        if (Lower(line.substr(0, colon)) == "content-length")
            contentLength = std::strtoul(line.c_str() + colon + 1, nullptr, 10);
    }
    request.body = raw.substr(headerEnd + 4);
    while (request.body.size() < contentLength) {
        const ssize_t n = readSome(chunk, sizeof chunk);
        if (n <= 0)
            break;
        request.body.append(chunk, static_cast<size_t>(n));
    }

    ReplyFn reply;
    bool silent = false;
    {
        const std::lock_guard lock(m_mutex);
        m_requests.push_back(request);
        reply = m_reply;
        silent = m_silent;
    }
    if (silent) {
        // Hold the connection without a word until the client gives up or the test ends.
        pollfd fds[2] = {{client.Get(), POLLIN, 0}, {m_stop.Get(), POLLIN, 0}};
        ::poll(fds, 2, 60000);
        return;
    }
    const std::string body = reply(request);
    writeAll("HTTP/1.1 200 OK\r\nContent-Type: application/json\r\nContent-Length: " + std::to_string(body.size()) +
        "\r\nConnection: close\r\n\r\n" + body);
    if (ssl)
        SSL_shutdown(ssl.get());
}

void ClearProxyVariables()
{
    for (const char* name : {"http_proxy", "HTTP_PROXY", "https_proxy", "HTTPS_PROXY", "all_proxy", "ALL_PROXY", "no_proxy", "NO_PROXY"})
        ::unsetenv(name);
}

uint16_t UnusedPort()
{
    const UniqueFd fd = ListenOn127();
    return PortOf(fd.Get());
}
