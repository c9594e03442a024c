#pragma once

#include "update/HttpClient.h"
#include "update/UpdateInfo.h"

#include <cstdint>
#include <string>
#include <string_view>

// Asks the update server about one item: a form-encoded POST to
// "<base URL>/updates" and its JSON reply.
class UpdateQuery {
public:
    static constexpr size_t kResponseCapacity = 102400;

    UpdateQuery(HttpClient& client, std::string baseUrl);

    // The request URL; empty when no base URL is set.
    std::string Url() const;

    UpdateInfo QueryUpdate(const std::string& appKey, uint32_t version, uint32_t hexFlag);

    // "app_key=<key>&version=<version>" in hex or decimal, with its zero byte.
    static std::string RequestBody(const std::string& appKey, uint32_t version, uint32_t hexFlag);

    // Fills `info` from a reply; false (and `info` untouched) when the reply is
    // not a JSON object.
    static bool ParseReply(std::string_view reply, uint32_t version, uint32_t hexFlag, UpdateInfo& info);

    // The last transport error in words, empty after a request that went through.
    std::string LastErrorText() const { return m_client.LastErrorText(); }

private:
    HttpClient& m_client;
    std::string m_baseUrl;
};
