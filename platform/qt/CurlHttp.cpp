#include "platform/qt/CurlHttp.h"

#include <curl/curl.h>
#include <dlfcn.h>

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <memory>
#include <string_view>

namespace durmivela::qt {
namespace {

// libcurl and the TLS and name-service libraries it brings weigh about 5 MiB
// of memory; it is loaded on the first request instead of at every start.
struct Curl {
    CURLcode (*global_init)(long);
    CURL* (*easy_init)();
    CURLcode (*easy_setopt)(CURL*, CURLoption, ...);
    CURLcode (*easy_perform)(CURL*);
    CURLcode (*easy_getinfo)(CURL*, CURLINFO, ...);
    void (*easy_cleanup)(CURL*);
    curl_slist* (*slist_append)(curl_slist*, const char*);
    void (*slist_free_all)(curl_slist*);
    bool loaded = false;
};

template <class Function>
bool bind(void* library, const char* name, Function& function) {
    function = reinterpret_cast<Function>(dlsym(library, name));
    return function != nullptr;
}

// Null when libcurl is missing or too old; the update then finds no connection.
const Curl* curl() {
    static const Curl loaded = [] {
        Curl c{};
        void* library = dlopen("libcurl.so.4", RTLD_NOW | RTLD_LOCAL);
        c.loaded = library && bind(library, "curl_global_init", c.global_init) &&
                   bind(library, "curl_easy_init", c.easy_init) && bind(library, "curl_easy_setopt", c.easy_setopt) &&
                   bind(library, "curl_easy_perform", c.easy_perform) &&
                   bind(library, "curl_easy_getinfo", c.easy_getinfo) &&
                   bind(library, "curl_easy_cleanup", c.easy_cleanup) &&
                   bind(library, "curl_slist_append", c.slist_append) &&
                   bind(library, "curl_slist_free_all", c.slist_free_all) &&
                   c.global_init(CURL_GLOBAL_DEFAULT) == CURLE_OK;
        return c;
    }();
    return loaded.loaded ? &loaded : nullptr;
}

struct EasyCleanup {
    void operator()(CURL* handle) const { curl()->easy_cleanup(handle); }
};
struct HeadersCleanup {
    void operator()(curl_slist* list) const { curl()->slist_free_all(list); }
};
using Easy = std::unique_ptr<CURL, EasyCleanup>;
using Headers = std::unique_ptr<curl_slist, HeadersCleanup>;

// The body as it comes, and what the headers of the last answer (after any
// redirects) said of its end.
struct Sink {
    CURL* handle = nullptr;
    std::uint64_t limit = 0;
    std::string body;
    bool chunked = false;
};

// Past the limit the transfer stops at once: libcurl before 8.4 checks its
// own maximum only against an announced length, never a chunked body's.
std::size_t append(char* data, std::size_t size, std::size_t count, void* sink) {
    auto& to = *static_cast<Sink*>(sink);
    const std::size_t length = size * count;
    if (length > to.limit - to.body.size()) return 0;  // 0 aborts the transfer
    try {
        // Room for the whole body at once: a string that grows by doubling
        // would hold twice the limit for a moment. Untouched room costs no memory.
        if (to.body.empty()) {
            curl_off_t announced = -1;
            curl()->easy_getinfo(to.handle, CURLINFO_CONTENT_LENGTH_DOWNLOAD_T, &announced);
            to.body.reserve(announced >= 0 ? std::min<std::uint64_t>(announced, to.limit) : to.limit);
        }
        to.body.append(data, length);
        return length;
    } catch (...) {
        return 0;  // no exception may cross libcurl
    }
}

bool startsWithNoCase(std::string_view text, std::string_view start) {
    return text.size() >= start.size() &&
           std::equal(start.begin(), start.end(), text.begin(), [](char a, char b) {
               return std::tolower(static_cast<unsigned char>(a)) == std::tolower(static_cast<unsigned char>(b));
           });
}

std::size_t header(char* data, std::size_t size, std::size_t count, void* sink) {
    auto& to = *static_cast<Sink*>(sink);
    const std::string_view line(data, size * count);
    if (startsWithNoCase(line, "HTTP/")) to.chunked = false;  // each answer has its own headers
    else if (startsWithNoCase(line, "Transfer-Encoding:")) {
        std::string value(line.substr(18));
        for (char& c : value) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        to.chunked = value.find("chunked") != value.npos;
    }
    return line.size();
}

// Stops a probe at the first byte of a body: the answer is all it wants.
std::size_t stop(char*, std::size_t, std::size_t, void*) { return 0; }

Easy request(const std::string& url, const HttpLimits& limits, const std::string& authorities) {
    const Curl* c = curl();
    Easy easy(c ? c->easy_init() : nullptr);
    if (!easy) return easy;
    CURL* handle = easy.get();
    curl()->easy_setopt(handle, CURLOPT_URL, url.c_str());
    curl()->easy_setopt(handle, CURLOPT_USERAGENT, "Mozilla/4.0");
    curl()->easy_setopt(handle, CURLOPT_CONNECTTIMEOUT_MS, static_cast<long>(limits.connect.count()));
    curl()->easy_setopt(handle, CURLOPT_TIMEOUT_MS, static_cast<long>(limits.transfer.count()));
    if (!authorities.empty()) curl()->easy_setopt(handle, CURLOPT_CAINFO, authorities.c_str());
    // A secure address is never redirected to a plain one: what comes back
    // may be run as the updater.
    const bool secure = url.rfind("https://", 0) == 0;
#if LIBCURL_VERSION_NUM >= 0x075500
    const bool limited =
        curl()->easy_setopt(handle, CURLOPT_PROTOCOLS_STR, "http,https") == CURLE_OK &&
        curl()->easy_setopt(handle, CURLOPT_REDIR_PROTOCOLS_STR, secure ? "https" : "http,https") == CURLE_OK;
#else
    const long redirects = secure ? CURLPROTO_HTTPS : (CURLPROTO_HTTP | CURLPROTO_HTTPS);
    const bool limited =
        curl()->easy_setopt(handle, CURLOPT_PROTOCOLS, static_cast<long>(CURLPROTO_HTTP | CURLPROTO_HTTPS)) ==
            CURLE_OK &&
        curl()->easy_setopt(handle, CURLOPT_REDIR_PROTOCOLS, redirects) == CURLE_OK;
#endif
    // An older libcurl at run time than at build time: no request without the limits.
    if (!limited) easy.reset();
    return easy;
}

long status(CURL* handle) {
    long code = 0;
    curl()->easy_getinfo(handle, CURLINFO_RESPONSE_CODE, &code);
    return code;
}

}  // namespace

CurlHttp::CurlHttp(HttpLimits limits, std::filesystem::path authorities)
    : limits_(limits), authorities_(authorities.string()) {}

bool CurlHttp::probe(const std::string& url) {
    const Easy easy = request(url, limits_, authorities_);
    if (!easy) return false;
    curl()->easy_setopt(easy.get(), CURLOPT_WRITEFUNCTION, stop);
    curl()->easy_perform(easy.get());
    return status(easy.get()) != 0;
}

HttpBody CurlHttp::download(const std::string& url, std::uint64_t limit) {
    const Easy easy = request(url, limits_, authorities_);
    if (!easy) return {};
    CURL* handle = easy.get();
    // Always from the server, never from a cache on the way.
    curl_slist* list = nullptr;
    for (const char* header : {"Cache-Control: no-cache", "Pragma: no-cache"}) {
        if (curl_slist* longer = curl()->slist_append(list, header)) list = longer;
    }
    const Headers headers(list);
    Sink sink;
    sink.handle = handle;
    sink.limit = std::min(limit, limits_.ceiling);
    curl()->easy_setopt(handle, CURLOPT_HTTPHEADER, headers.get());
    curl()->easy_setopt(handle, CURLOPT_FAILONERROR, 1L);
    curl()->easy_setopt(handle, CURLOPT_FOLLOWLOCATION, 1L);
    curl()->easy_setopt(handle, CURLOPT_MAXREDIRS, 10L);
    // An announced length past the limit fails before any byte is read.
    curl()->easy_setopt(handle, CURLOPT_MAXFILESIZE_LARGE,
                        static_cast<curl_off_t>(std::min<std::uint64_t>(sink.limit, INT64_MAX)));
    curl()->easy_setopt(handle, CURLOPT_WRITEFUNCTION, append);
    curl()->easy_setopt(handle, CURLOPT_WRITEDATA, &sink);
    curl()->easy_setopt(handle, CURLOPT_HEADERFUNCTION, header);
    curl()->easy_setopt(handle, CURLOPT_HEADERDATA, &sink);
    // A cut-off length or chunked body fails here too.
    if (curl()->easy_perform(handle) != CURLE_OK) return {};
    // An error page or an unfollowed redirect is never a body.
    const long code = status(handle);
    if (code < 200 || code > 299) return {};
    curl_off_t announced = -1;
    if (curl()->easy_getinfo(handle, CURLINFO_CONTENT_LENGTH_DOWNLOAD_T, &announced) != CURLE_OK) return {};
    if (announced >= 0 && announced != static_cast<curl_off_t>(sink.body.size())) return {};
    long version = 0;
    curl()->easy_getinfo(handle, CURLINFO_HTTP_VERSION, &version);
    // HTTP/2 and later frame every body; HTTP/1 only by a length or chunks.
    const bool framed = version >= CURL_HTTP_VERSION_2_0;
    return {true, announced >= 0 || sink.chunked || framed, std::move(sink.body)};
}

}  // namespace durmivela::qt
