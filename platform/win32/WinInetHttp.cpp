#include "platform/win32/WinInetHttp.h"

#include <windows.h>
#include <wininet.h>

#include <algorithm>
#include <atomic>
#include <charconv>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <system_error>
#include <thread>

namespace durmivela::win32 {
namespace {

struct Close {
    void operator()(HINTERNET handle) const { InternetCloseHandle(handle); }
};
using Handle = std::unique_ptr<void, Close>;

DWORD milliseconds(std::chrono::milliseconds limit) {
    return static_cast<DWORD>(std::clamp<std::int64_t>(limit.count(), 1, 0x7fffffff));
}

bool setLimit(HINTERNET session, DWORD option, DWORD value) {
    return InternetSetOptionA(session, option, &value, sizeof value);
}

// Null when the session cannot be opened or refuses a limit: no request
// without the limits.
Handle openSession(const HttpLimits& limits) {
    Handle session(InternetOpenA("Mozilla/4.0", INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0));
    if (session && !(setLimit(session.get(), INTERNET_OPTION_CONNECT_TIMEOUT, milliseconds(limits.connect)) &&
                     setLimit(session.get(), INTERNET_OPTION_RECEIVE_TIMEOUT, milliseconds(limits.transfer)) &&
                     setLimit(session.get(), INTERNET_OPTION_SEND_TIMEOUT, milliseconds(limits.transfer))))
        session.reset();
    return session;
}

Handle openUrl(HINTERNET session, const std::string& url) {
    // INTERNET_FLAG_RELOAD: always from the server, never from a cache.
    return Handle(InternetOpenUrlA(session, url.c_str(), nullptr, 0, INTERNET_FLAG_RELOAD, 0));
}

DWORD status(HINTERNET request) {
    DWORD code = 0;
    DWORD size = sizeof code;
    return HttpQueryInfoA(request, HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &code, &size, nullptr) ? code : 0;
}

// The Content-Length header as a number; -1 when there is none, -2 when it
// is no number.
std::int64_t announcedLength(HINTERNET request) {
    char text[32];
    DWORD size = sizeof text;
    if (!HttpQueryInfoA(request, HTTP_QUERY_CONTENT_LENGTH, text, &size, nullptr))
        return GetLastError() == ERROR_HTTP_HEADER_NOT_FOUND ? -1 : -2;
    std::int64_t length = -1;
    const auto [end, error] = std::from_chars(text, text + size, length);
    return error == std::errc() && end == text + size && length >= 0 ? length : -2;
}

bool startsWithHttps(const std::string& url) {
    return url.size() >= 8 && CompareStringA(LOCALE_INVARIANT, NORM_IGNORECASE, url.c_str(), 8, "https://", 8) ==
                                  CSTR_EQUAL;
}

// The address the request ended at, after any redirects.
std::string finalUrl(HINTERNET request) {
    DWORD size = 0;
    InternetQueryOptionA(request, INTERNET_OPTION_URL, nullptr, &size);
    std::string url(size, '\0');
    if (size == 0 || !InternetQueryOptionA(request, INTERNET_OPTION_URL, url.data(), &size)) return {};
    url.resize(std::min<std::size_t>(size, url.find('\0')));
    return url;
}

struct Outcome {
    bool answered = false;  // any status came back
    HttpBody body;
};

// The request itself, run on a worker thread; it stops reading once the
// caller has given up on it, or as soon as more than `limit` bytes came.
// The handles are the caller's, to close once it has handed the outcome on:
// closing a request whose body was refused may read what is left of it.
Outcome fetch(const std::string& url, bool wantBody, const HttpLimits& limits, std::uint64_t limit,
              const std::atomic<bool>& abandoned, Handle& session, Handle& request) {
    Outcome outcome;
    session = openSession(limits);
    if (!session) return outcome;
    request = openUrl(session.get(), url);
    if (!request) return outcome;
    const DWORD code = status(request.get());
    outcome.answered = code != 0;
    if (!wantBody) return outcome;
    // WinInet hands error pages over as bodies.
    if (code < 200 || code > 299) return outcome;
    // What comes back may be run as the updater: a secure address is never
    // answered by a plain one. Windows refuses such a redirect by itself
    // (no INTERNET_FLAG_IGNORE_REDIRECT_TO_HTTP); the address reached is
    // checked too, for WinInets that do not.
    if (startsWithHttps(url) && !startsWithHttps(finalUrl(request.get()))) return outcome;
    const std::int64_t announced = announcedLength(request.get());
    limit = std::min(limit, limits.ceiling);
    if (announced < -1 || static_cast<std::uint64_t>(std::max<std::int64_t>(announced, 0)) > limit) return outcome;
    std::string& body = outcome.body.bytes;
    // Room for the whole body at once: a string that grows by doubling would
    // hold twice the limit for a moment. Untouched room costs no memory.
    body.reserve(announced >= 0 ? static_cast<std::uint64_t>(announced) : limit);
    std::string buffer;
    while (!abandoned) {
        DWORD available = 0;
        if (!InternetQueryDataAvailable(request.get(), &available, 0, 0)) return outcome;
        // Reads of what is there, or 64 KiB at least: Wine's WinInet reports
        // little at a time, and small reads made a 64 MiB body take seconds.
        available = std::max<DWORD>(available, 64 * 1024);
        buffer.resize(available);
        DWORD read = 0;
        if (!InternetReadFile(request.get(), buffer.data(), available, &read)) return outcome;
        if (read == 0) {
            outcome.body.ok = announced < 0 || static_cast<std::uint64_t>(announced) == body.size();
            // WinInet ends a chunked body the same way whether its last
            // chunk came or the connection was cut before it (Wine's does):
            // only an announced length marks the end.
            outcome.body.delimited = announced >= 0;
            return outcome;
        }
        // Past the limit the transfer stops at once, before the bytes are kept.
        if (read > limit - body.size()) return outcome;
        body.append(buffer.data(), read);
    }
    return outcome;
}

// The request on a worker thread, given up at the time limit. Wine's WinInet
// ignores the receive and send limits of a session, and closing the session
// does not wake a request blocked on a silent server, so the caller cannot
// end such a request: it leaves it behind, and the worker, the only owner of
// the handles, closes them whenever WinInet lets it go.
Outcome request(const std::string& url, bool wantBody, const HttpLimits& limits, std::uint64_t limit) {
    struct Shared {
        std::mutex mutex;
        std::condition_variable finished;
        bool done = false;
        std::atomic<bool> abandoned{false};
        Outcome outcome;
    };
    const auto shared = std::make_shared<Shared>();
    try {
        std::thread([shared, url, wantBody, limits, limit] {
            Handle session, request;
            Outcome outcome = fetch(url, wantBody, limits, limit, shared->abandoned, session, request);
            {
                const std::lock_guard lock(shared->mutex);
                shared->outcome = std::move(outcome);
                shared->done = true;
                shared->finished.notify_one();
            }
            // Wine's WinInet reads the rest of a refused body before it lets
            // the request go: that happens here, behind the caller's back.
            request.reset();
        }).detach();
    } catch (const std::system_error&) {
        return {};
    }
    std::unique_lock lock(shared->mutex);
    if (!shared->finished.wait_for(lock, limits.transfer, [&] { return shared->done; })) {
        shared->abandoned = true;
        return {};
    }
    return std::move(shared->outcome);
}

}  // namespace

WinInetHttp::WinInetHttp(HttpLimits limits) : limits_(limits) {}

bool WinInetHttp::probe(const std::string& url) { return request(url, false, limits_, 0).answered; }

HttpBody WinInetHttp::download(const std::string& url, std::uint64_t limit) {
    Outcome outcome = request(url, true, limits_, limit);
    if (!outcome.body.ok) return {};
    return std::move(outcome.body);
}

}  // namespace durmivela::win32
