#include "platform/qt/CurlHttp.h"

#include <curl/curl.h>

#include <memory>

namespace durmivela::qt {
namespace {

using Easy = std::unique_ptr<CURL, decltype(&curl_easy_cleanup)>;
using Headers = std::unique_ptr<curl_slist, decltype(&curl_slist_free_all)>;

std::size_t append(char* data, std::size_t size, std::size_t count, void* body) {
    try {
        static_cast<std::string*>(body)->append(data, size * count);
        return size * count;
    } catch (...) {
        return 0;  // no exception may cross libcurl; 0 aborts the transfer
    }
}

// Stops a probe at the first byte of a body: the answer is all it wants.
std::size_t stop(char*, std::size_t, std::size_t, void*) { return 0; }

Easy request(const std::string& url, std::chrono::milliseconds connectLimit,
             std::chrono::milliseconds transferLimit) {
    static const bool initialised = curl_global_init(CURL_GLOBAL_DEFAULT) == CURLE_OK;
    Easy easy(initialised ? curl_easy_init() : nullptr, curl_easy_cleanup);
    if (!easy) return easy;
    CURL* handle = easy.get();
    curl_easy_setopt(handle, CURLOPT_URL, url.c_str());
    curl_easy_setopt(handle, CURLOPT_USERAGENT, "Mozilla/4.0");
    curl_easy_setopt(handle, CURLOPT_CONNECTTIMEOUT_MS, static_cast<long>(connectLimit.count()));
    curl_easy_setopt(handle, CURLOPT_TIMEOUT_MS, static_cast<long>(transferLimit.count()));
#if LIBCURL_VERSION_NUM >= 0x075500
    curl_easy_setopt(handle, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(handle, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
#else
    curl_easy_setopt(handle, CURLOPT_PROTOCOLS, static_cast<long>(CURLPROTO_HTTP | CURLPROTO_HTTPS));
    curl_easy_setopt(handle, CURLOPT_REDIR_PROTOCOLS, static_cast<long>(CURLPROTO_HTTP | CURLPROTO_HTTPS));
#endif
    return easy;
}

long status(CURL* handle) {
    long code = 0;
    curl_easy_getinfo(handle, CURLINFO_RESPONSE_CODE, &code);
    return code;
}

}  // namespace

CurlHttp::CurlHttp(std::chrono::milliseconds connectLimit, std::chrono::milliseconds transferLimit)
    : connectLimit_(connectLimit), transferLimit_(transferLimit) {}

bool CurlHttp::probe(const std::string& url) {
    const Easy easy = request(url, connectLimit_, transferLimit_);
    if (!easy) return false;
    curl_easy_setopt(easy.get(), CURLOPT_WRITEFUNCTION, stop);
    curl_easy_perform(easy.get());
    return status(easy.get()) != 0;
}

std::string CurlHttp::download(const std::string& url) {
    const Easy easy = request(url, connectLimit_, transferLimit_);
    if (!easy) return {};
    CURL* handle = easy.get();
    // Always from the server, never from a cache on the way.
    curl_slist* list = nullptr;
    for (const char* header : {"Cache-Control: no-cache", "Pragma: no-cache"}) {
        if (curl_slist* longer = curl_slist_append(list, header)) list = longer;
    }
    const Headers headers(list, curl_slist_free_all);
    std::string body;
    curl_easy_setopt(handle, CURLOPT_HTTPHEADER, headers.get());
    curl_easy_setopt(handle, CURLOPT_FAILONERROR, 1L);
    curl_easy_setopt(handle, CURLOPT_FOLLOWLOCATION, 1L);
    curl_easy_setopt(handle, CURLOPT_MAXREDIRS, 10L);
    curl_easy_setopt(handle, CURLOPT_WRITEFUNCTION, append);
    curl_easy_setopt(handle, CURLOPT_WRITEDATA, &body);
    if (curl_easy_perform(handle) != CURLE_OK) return {};
    // An error page or an unfollowed redirect is never a body.
    const long code = status(handle);
    if (code < 200 || code > 299) return {};
    curl_off_t announced = -1;
    if (curl_easy_getinfo(handle, CURLINFO_CONTENT_LENGTH_DOWNLOAD_T, &announced) != CURLE_OK) return {};
    if (announced >= 0 && announced != static_cast<curl_off_t>(body.size())) return {};
    return body;
}

}  // namespace durmivela::qt
