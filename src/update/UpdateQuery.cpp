#include "update/UpdateQuery.h"

#include "update/UpdateItem.h"
#include "update/UpdatePaths.h"

#include "platform/DebugLog.h"
#include "platform/JsonText.h"

#include <json/reader.h>
#include <json/value.h>

#include <charconv>
#include <cstdio>
#include <exception>
#include <limits>
#include <memory>
#include <vector>

namespace {

std::string TextMember(const Json::Value& reply, const char* key)
{
    const Json::Value& value = reply[key];
    if (value.isString())
        return value.asString();
    if (value.isUInt64())
        return std::to_string(value.asUInt64());
    return {};
}

// Reads the leading digits of `text`; a value too large for 32 bits reads as the largest.
uint32_t ReadVersionNumber(const std::string& text, bool hex)
{
    uint32_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, hex ? 16 : 10);
    (void)end;
    if (error == std::errc::result_out_of_range)
        return std::numeric_limits<uint32_t>::max();
    return error == std::errc() ? value : 0;
}

} // namespace

UpdateQuery::UpdateQuery(HttpClient& client, std::string baseUrl) : m_client(client), m_baseUrl(std::move(baseUrl)) {}

std::string UpdateQuery::Url() const
{
    if (m_baseUrl.empty())
        return {};
    return m_baseUrl + (m_baseUrl.back() == '/' ? "" : "/") + "updates";
}

std::string UpdateQuery::RequestBody(const std::string& appKey, uint32_t version, uint32_t hexFlag)
{
    char number[16];
    std::snprintf(number, sizeof number, hexFlag != 0 ? "%x" : "%u", version);
    std::string body = "app_key=" + appKey + "&version=" + number;
    body.push_back('\0');  // the length sent counts the terminating zero
    return body;
}

bool UpdateQuery::ParseReply(std::string_view reply, uint32_t version, uint32_t hexFlag, UpdateInfo& info)
{
    const Json::Value root = ParseJsonText(reply);
    if (!root.isObject())
        return false;
    const bool hex = hexFlag != 0;
    info.downloadPath = TextMember(root, "path");
    info.name = TextMember(root, "name");
    info.serverVersionName = TextMember(root, "version_name");
    const std::string serverVersion = TextMember(root, "version");
    info.serverVersionText = "V" + serverVersion;
    info.deviceId = root["device_id"].isInt() ? root["device_id"].asInt() : 0;
    const uint32_t server = ReadVersionNumber(serverVersion, hex);
    info.currentVersionText = FormatVersionText(version, hex);
    if (!hex)
        info.serverVersionText = info.serverVersionName;
    info.status = version < server ? UpdateInfo::kNewerAvailable : UpdateInfo::kNoNewer;
    info.installerPath = UpdatePaths::LocalInstallerPath(info.name).string();
    if (info.installerPath.empty() && !info.name.empty())
        DebugOutput("update reply name is not a plain file name: " + info.name);
    return true;
}

UpdateInfo UpdateQuery::QueryUpdate(const std::string& appKey, uint32_t version, uint32_t hexFlag)
{
    UpdateInfo info;
    const std::string url = Url();
    if (url.empty()) {
        // No server to ask: the query fails as if the server were unreachable.
        info.name = std::string(HttpClient::kNoLinkServer.substr(0, HttpClient::kNoLinkServer.size() - 1));
        return info;
    }
    const std::string body = RequestBody(appKey, version, hexFlag);
    std::vector<uint8_t> buffer(kResponseCapacity, 0);
    m_client.InitHttpClient();
    const int bytes = m_client.HttpRequest("POST", url,
        std::span(reinterpret_cast<const uint8_t*>(body.data()), body.size()), buffer, false);
    if (bytes <= 0) {
        // The buffer's text ("NO_LINK_SERVER") becomes the name.
        const auto* text = reinterpret_cast<const char*>(buffer.data());
        size_t length = 0;
        while (length < buffer.size() && text[length] != '\0')
            ++length;
        info.name.assign(text, length);
        if (bytes < 0 && info.name.empty())
            info.name = std::string(HttpClient::kNoLinkServer.substr(0, HttpClient::kNoLinkServer.size() - 1));
        return info;
    }
    ParseReply(std::string_view(reinterpret_cast<const char*>(buffer.data()), static_cast<size_t>(bytes)), version,
        hexFlag, info);
    return info;
}
