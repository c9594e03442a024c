#pragma once

#include <chrono>
#include <string>

// What one request of the update client runs with. The defaults are the
// client's own settings; callers may change them (tests use short limits).
struct HttpClientSettings {
    std::string userAgent = "WinHTTP Client/1.0";
    std::chrono::milliseconds resolveTimeout{0};  // 0: no limit of its own (part of the connect limit)
    std::chrono::milliseconds connectTimeout{60000};
    std::chrono::milliseconds sendTimeout{30000};
    std::chrono::milliseconds receiveTimeout{30000};
    std::string namedProxy;
    std::string proxyUserName;
    std::string proxyPassword;
    // Server certificates are always verified against the system's trusted
    // certificates; this PEM file may add one (a self-hosted server's own).
    std::string extraCaFile;
};
