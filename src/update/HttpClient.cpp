#include "update/HttpClient.h"

#include "update/ProxyEnvironment.h"

#include <curl/curl.h>
#include <openssl/err.h>
#include <openssl/pem.h>
#include <openssl/ssl.h>
#include <openssl/x509.h>

#include <algorithm>
#include <cctype>
#include <climits>
#include <cstring>
#include <memory>
#include <mutex>

namespace {

struct EasyDeleter {
    void operator()(CURL* handle) const { curl_easy_cleanup(handle); }
};
struct MultiDeleter {
    void operator()(CURLM* handle) const { curl_multi_cleanup(handle); }
};
struct SlistDeleter {
    void operator()(curl_slist* list) const { curl_slist_free_all(list); }
};
using CurlEasy = std::unique_ptr<CURL, EasyDeleter>;
using CurlMulti = std::unique_ptr<CURLM, MultiDeleter>;
using CurlSlist = std::unique_ptr<curl_slist, SlistDeleter>;

constexpr std::string_view kAcceptHeader = "Accept:application/prs.Mirva.v1+json";
constexpr std::string_view kContentTypeHeader = "Content-Type: application/x-www-form-urlencoded";
// How often a waiting request looks at its stop token when nothing wakes it.
constexpr int kPollMilliseconds = 200;

void GlobalInit()
{
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

std::string Upper(std::string_view text)
{
    std::string upper(text);
    std::transform(upper.begin(), upper.end(), upper.begin(), [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return upper;
}

struct ResponseSink {
    std::span<uint8_t> buffer;
    size_t used = 0;
};

// Copies what fits; once the buffer is full the transfer is ended.
size_t WriteBody(char* data, size_t size, size_t count, void* user)
{
    auto& sink = *static_cast<ResponseSink*>(user);
    const size_t bytes = size * count;
    const size_t room = sink.buffer.size() - sink.used;
    if (room == 0)
        return bytes == 0 ? 0 : CURL_WRITEFUNC_ERROR;
    const size_t take = std::min(room, bytes);
    std::memcpy(sink.buffer.data() + sink.used, data, take);
    sink.used += take;
    return bytes;
}

// Adds the certificates of a PEM file to the ones OpenSSL already trusts.
CURLcode AddExtraCa(CURL*, void* sslContext, void* user)
{
    const auto& file = *static_cast<const std::string*>(user);
    const std::unique_ptr<BIO, decltype(&BIO_free)> bio(BIO_new_file(file.c_str(), "r"), BIO_free);
    if (!bio)
        return CURLE_SSL_CACERT_BADFILE;
    X509_STORE* store = SSL_CTX_get_cert_store(static_cast<SSL_CTX*>(sslContext));
    int added = 0;
    while (X509* cert = PEM_read_bio_X509(bio.get(), nullptr, nullptr, nullptr)) {
        if (X509_STORE_add_cert(store, cert) == 1)
            ++added;
        X509_free(cert);
    }
    ERR_clear_error();  // the end of the file reads as an error
    return added > 0 ? CURLE_OK : CURLE_SSL_CACERT_BADFILE;
}

// Runs the transfer on a multi handle so that a stop request ends it at once.
CURLcode Perform(CURL* easy, const std::stop_token& stop)
{
    const CurlMulti multi(curl_multi_init());
    if (!multi || curl_multi_add_handle(multi.get(), easy) != CURLM_OK)
        return CURLE_OUT_OF_MEMORY;
    CURLcode result = CURLE_ABORTED_BY_CALLBACK;
    {
        const std::stop_callback wake(stop, [&] { curl_multi_wakeup(multi.get()); });
        for (;;) {
            if (stop.stop_requested())
                break;
            int running = 0;
            if (curl_multi_perform(multi.get(), &running) != CURLM_OK) {
                result = CURLE_FAILED_INIT;
                break;
            }
            if (running == 0) {
                int left = 0;
                while (CURLMsg* message = curl_multi_info_read(multi.get(), &left))
                    if (message->msg == CURLMSG_DONE)
                        result = message->data.result;
                break;
            }
            curl_multi_poll(multi.get(), nullptr, 0, kPollMilliseconds, nullptr);
        }
    }
    curl_multi_remove_handle(multi.get(), easy);
    return result;
}

long Seconds(std::chrono::milliseconds limit)
{
    return static_cast<long>((limit.count() + 999) / 1000);
}

} // namespace

HttpClient::HttpClient(HttpClientSettings defaults, std::stop_token stop)
    : m_defaults(std::move(defaults)), m_settings(m_defaults), m_stop(std::move(stop))
{
}

void HttpClient::InitHttpClient()
{
    m_settings = m_defaults;
    m_lastError = 0;
    m_lastErrorText.clear();
}

std::string HttpClient::LastErrorText() const
{
    return m_lastErrorText;
}

int HttpClient::HttpRequest(std::string_view method, const std::string& url, std::span<const uint8_t> body,
    std::span<uint8_t> response, bool useNamedProxy)
{
    auto fail = [&](uint32_t code, std::string text) {
        m_lastError = code;
        m_lastErrorText = std::move(text);
        return -1;
    };
    if (url.empty())
        return fail(kErrorEmptyUrl, "no update server address is set");
    const std::string verb = Upper(method);
    if (verb != "GET" && verb != "POST")
        return fail(kErrorBadMethod, "unsupported request method " + std::string(method));

    GlobalInit();
    const CurlEasy easy(curl_easy_init());
    if (!easy)
        return fail(kErrorNoClient, "the HTTP client could not be started");
    CURL* h = easy.get();
    auto record = [&](CURLcode code) {
        if (code != CURLE_OK) {
            m_lastError = static_cast<uint32_t>(code);
            m_lastErrorText = curl_easy_strerror(code);
        }
    };

    record(curl_easy_setopt(h, CURLOPT_NOSIGNAL, 1L));
    record(curl_easy_setopt(h, CURLOPT_PROTOCOLS_STR, "http,https"));
    record(curl_easy_setopt(h, CURLOPT_URL, url.c_str()));
    record(curl_easy_setopt(h, CURLOPT_USERAGENT, m_settings.userAgent.c_str()));
    if (m_settings.connectTimeout.count() > 0)
        record(curl_easy_setopt(h, CURLOPT_CONNECTTIMEOUT_MS, static_cast<long>(m_settings.connectTimeout.count())));
    // A request that moves no byte for the send or receive limit has stalled.
    const auto stall = std::max(m_settings.sendTimeout, m_settings.receiveTimeout);
    if (stall.count() > 0) {
        record(curl_easy_setopt(h, CURLOPT_LOW_SPEED_LIMIT, 1L));
        record(curl_easy_setopt(h, CURLOPT_LOW_SPEED_TIME, Seconds(stall)));
    }
    record(curl_easy_setopt(h, CURLOPT_SSL_VERIFYPEER, 1L));
    record(curl_easy_setopt(h, CURLOPT_SSL_VERIFYHOST, 2L));
    if (!m_settings.extraCaFile.empty()) {
        record(curl_easy_setopt(h, CURLOPT_SSL_CTX_FUNCTION, AddExtraCa));
        record(curl_easy_setopt(h, CURLOPT_SSL_CTX_DATA, &m_settings.extraCaFile));
    }

    const std::string contentLength = "Content-Length: " + std::to_string(body.size());
    curl_slist* headers = nullptr;
    for (const std::string_view header : {std::string_view(contentLength), kContentTypeHeader, kAcceptHeader,
             std::string_view("Expect:")}) {
        curl_slist* grown = curl_slist_append(headers, std::string(header).c_str());
        if (!grown) {
            record(CURLE_OUT_OF_MEMORY);
            break;
        }
        headers = grown;
    }
    const CurlSlist headerList(headers);
    record(curl_easy_setopt(h, CURLOPT_HTTPHEADER, headerList.get()));

    static const char kNoBody[] = "";
    const char* bodyData = body.empty() ? kNoBody : reinterpret_cast<const char*>(body.data());
    if (verb == "POST") {
        record(curl_easy_setopt(h, CURLOPT_POST, 1L));
    } else if (!body.empty()) {
        record(curl_easy_setopt(h, CURLOPT_CUSTOMREQUEST, "GET"));
    }
    if (verb == "POST" || !body.empty()) {
        record(curl_easy_setopt(h, CURLOPT_POSTFIELDSIZE_LARGE, static_cast<curl_off_t>(body.size())));
        record(curl_easy_setopt(h, CURLOPT_POSTFIELDS, bodyData));
    }

    const std::span<uint8_t> room = response.first(std::min<size_t>(response.size(), INT_MAX));
    ResponseSink sink{room};
    record(curl_easy_setopt(h, CURLOPT_WRITEFUNCTION, WriteBody));
    record(curl_easy_setopt(h, CURLOPT_WRITEDATA, &sink));

    // First directly (or through the named proxy), then through the proxy of
    // the environment when the request could not be sent.
    std::string proxy;
    if (useNamedProxy && !m_settings.namedProxy.empty()) {
        proxy = m_settings.namedProxy;
        if (!m_settings.proxyUserName.empty())
            record(curl_easy_setopt(h, CURLOPT_PROXYUSERNAME, m_settings.proxyUserName.c_str()));
        if (!m_settings.proxyPassword.empty())
            record(curl_easy_setopt(h, CURLOPT_PROXYPASSWORD, m_settings.proxyPassword.c_str()));
    }
    record(curl_easy_setopt(h, CURLOPT_PROXY, proxy.c_str()));
    CURLcode result = Perform(h, m_stop);
    long requestBytes = 0;
    curl_easy_getinfo(h, CURLINFO_REQUEST_SIZE, &requestBytes);
    if (result != CURLE_OK && requestBytes == 0 && !m_stop.stop_requested()) {
        const std::string fallback = ProxyFromEnvironment(url);
        if (!fallback.empty() && fallback != proxy) {
            record(result);
            record(curl_easy_setopt(h, CURLOPT_PROXY, fallback.c_str()));
            record(curl_easy_setopt(h, CURLOPT_NOPROXY, ""));
            sink.used = 0;
            result = Perform(h, m_stop);
        }
    }
    record(result);

    long status = 0;
    curl_easy_getinfo(h, CURLINFO_RESPONSE_CODE, &status);  // read, not used further

    // Nothing came back from a request that failed: the server was not reached
    // or did not answer in time.
    if (result != CURLE_OK && sink.used == 0) {
        const size_t marker = std::min(room.size(), kNoLinkServer.size());
        std::memcpy(room.data(), kNoLinkServer.data(), marker);
        return 0;
    }
    return static_cast<int>(sink.used);
}
