#pragma once

#include "TempFolder.h"

#include "TestCertificate.h"

#include "platform/UniqueFd.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

struct RecordedRequest {
    std::string requestLine;
    std::vector<std::pair<std::string, std::string>> headers;  // in order, as sent
    std::string body;

    // Values of every header of that name (compared without case).
    std::vector<std::string> Header(const std::string& name) const;
};

// An HTTP or HTTPS server on 127.0.0.1 (ephemeral port) running on a thread of
// the test. It answers every request with the reply function's body, or,
// while silent, reads the request and never answers.
class LocalHttpServer {
public:
    using ReplyFn = std::function<std::string(const RecordedRequest&)>;

    // With a certificate the server speaks TLS.
    explicit LocalHttpServer(std::optional<TestCertificate> tls = std::nullopt);
    ~LocalHttpServer();
    LocalHttpServer(const LocalHttpServer&) = delete;
    LocalHttpServer& operator=(const LocalHttpServer&) = delete;

    uint16_t Port() const { return m_port; }
    // "http://127.0.0.1:<port>/" or "https://...".
    std::string BaseUrl() const;

    void SetReply(std::string body);
    void SetReplyFn(ReplyFn reply);
    void SetSilent(bool silent);

    std::vector<RecordedRequest> Requests() const;
    // TLS handshakes that failed (the client refused the certificate).
    int FailedHandshakes() const;

private:
    struct Tls;
    void Serve();
    void HandleConnection(UniqueFd client);
    bool WaitReadable(int fd, int timeoutMs) const;

    UniqueFd m_listen;
    UniqueFd m_stop;  // eventfd
    uint16_t m_port = 0;
    std::unique_ptr<Tls> m_tls;
    mutable std::mutex m_mutex;
    ReplyFn m_reply;
    bool m_silent = false;
    int m_failedHandshakes = 0;
    std::vector<RecordedRequest> m_requests;
    std::thread m_thread;
};

// Proxy variables of the environment would send the test's requests elsewhere.
void ClearProxyVariables();

// A port on 127.0.0.1 that nothing listens on (bound, then released).
uint16_t UnusedPort();
