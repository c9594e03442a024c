#pragma once

#include "update/HttpClientSettings.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <stop_token>
#include <string>
#include <string_view>

// A small synchronous HTTP(S) client for the update query: one GET or POST
// with a form-encoded body, the whole response body copied into the caller's
// buffer. Proxies come from the usual proxy environment variables and are
// tried only when the direct connection fails.
class HttpClient {
public:
    // Last-error codes of the argument checks; any other non-zero code is the
    // libcurl result of the last failing step.
    static constexpr uint32_t kErrorEmptyUrl = 3;
    static constexpr uint32_t kErrorBadMethod = 87;
    static constexpr uint32_t kErrorNoClient = 2;

    // Written at the start of the buffer when no request could be sent
    // (the text and its zero byte).
    static constexpr std::string_view kNoLinkServer{"NO_LINK_SERVER", 15};

    // `defaults` is what InitHttpClient resets to; `stop` cancels a running request.
    explicit HttpClient(HttpClientSettings defaults = {}, std::stop_token stop = {});

    // Resets the settings to the defaults and the last error to 0.
    void InitHttpClient();

    // Sends one request. `method` is "GET" or "POST" in any letter case.
    // Returns the number of response bytes written into `response` (never more
    // than its size), 0 with the "NO_LINK_SERVER" marker when no request could
    // be sent or the server did not answer in time, -1 for a rejected argument.
    int HttpRequest(std::string_view method, const std::string& url, std::span<const uint8_t> body,
        std::span<uint8_t> response, bool useNamedProxy);

    uint32_t GetLastHttpError() const { return m_lastError; }
    // The last error in words, for the user; empty when there was none.
    std::string LastErrorText() const;

    const HttpClientSettings& Settings() const { return m_settings; }

private:
    HttpClientSettings m_defaults;
    HttpClientSettings m_settings;
    std::stop_token m_stop;
    uint32_t m_lastError = 0;
    std::string m_lastErrorText;
};
