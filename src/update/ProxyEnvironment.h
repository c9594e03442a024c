#pragma once

#include <string>

// The proxy the usual environment variables name for a URL: "http_proxy" for
// http, "https_proxy" or "HTTPS_PROXY" for https, else "all_proxy" or
// "ALL_PROXY"; empty when none is set or the host is listed in "no_proxy" /
// "NO_PROXY" (a "*" entry lists every host).
std::string ProxyFromEnvironment(const std::string& url);
