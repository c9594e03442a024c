#include "update/ProxyEnvironment.h"

#include <curl/curl.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <memory>
#include <string_view>

namespace {

std::string Env(const char* name)
{
    const char* value = std::getenv(name);
    return value ? std::string(value) : std::string();
}

std::string Lower(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

struct UrlParts {
    std::string scheme;
    std::string host;
};

bool SplitUrl(const std::string& url, UrlParts& parts)
{
    const std::unique_ptr<CURLU, decltype(&curl_url_cleanup)> handle(curl_url(), curl_url_cleanup);
    if (!handle || curl_url_set(handle.get(), CURLUPART_URL, url.c_str(), 0) != CURLUE_OK)
        return false;
    auto part = [&](CURLUPart which, std::string& into) {
        char* text = nullptr;
        if (curl_url_get(handle.get(), which, &text, 0) != CURLUE_OK)
            return false;
        into = Lower(text);
        curl_free(text);
        return true;
    };
    if (!part(CURLUPART_SCHEME, parts.scheme) || !part(CURLUPART_HOST, parts.host))
        return false;
    // An IPv6 host comes in brackets.
    if (parts.host.size() > 2 && parts.host.front() == '[' && parts.host.back() == ']')
        parts.host = parts.host.substr(1, parts.host.size() - 2);
    return true;
}

bool HostExcluded(const std::string& host, const std::string& list)
{
    size_t start = 0;
    while (start <= list.size()) {
        size_t end = list.find_first_of(", ", start);
        if (end == std::string::npos)
            end = list.size();
        std::string entry = Lower(list.substr(start, end - start));
        start = end + 1;
        if (entry.empty())
            continue;
        if (entry == "*")
            return true;
        if (entry.front() == '.')
            entry.erase(0, 1);
        if (host == entry)
            return true;
        if (host.size() > entry.size() && host.ends_with(entry) && host[host.size() - entry.size() - 1] == '.')
            return true;
    }
    return false;
}

} // namespace

std::string ProxyFromEnvironment(const std::string& url)
{
    UrlParts parts;
    if (!SplitUrl(url, parts))
        return {};
    std::string proxy;
    if (parts.scheme == "http")
        proxy = Env("http_proxy");  // upper-case HTTP_PROXY is left alone, as CGI sets it from a request header
    else if (parts.scheme == "https")
        proxy = Env("https_proxy").empty() ? Env("HTTPS_PROXY") : Env("https_proxy");
    if (proxy.empty())
        proxy = Env("all_proxy").empty() ? Env("ALL_PROXY") : Env("all_proxy");
    if (proxy.empty())
        return {};
    const std::string noProxy = Env("no_proxy").empty() ? Env("NO_PROXY") : Env("no_proxy");
    return HostExcluded(parts.host, noProxy) ? std::string() : proxy;
}
