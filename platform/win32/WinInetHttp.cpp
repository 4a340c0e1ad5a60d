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

// No updater is this large; a server cannot fill the memory.
constexpr std::uint64_t kCeiling = std::uint64_t{64} << 20;

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
Handle openSession(std::chrono::milliseconds connectLimit, std::chrono::milliseconds transferLimit) {
    Handle session(InternetOpenA("Mozilla/4.0", INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0));
    if (session && !(setLimit(session.get(), INTERNET_OPTION_CONNECT_TIMEOUT, milliseconds(connectLimit)) &&
                     setLimit(session.get(), INTERNET_OPTION_RECEIVE_TIMEOUT, milliseconds(transferLimit)) &&
                     setLimit(session.get(), INTERNET_OPTION_SEND_TIMEOUT, milliseconds(transferLimit))))
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
    bool complete = false;  // a successful status and the whole body
    std::string body;
};

// The request itself, run on a worker thread; it stops reading once the
// caller has given up on it.
Outcome fetch(const std::string& url, bool wantBody, std::chrono::milliseconds connectLimit,
              std::chrono::milliseconds transferLimit, const std::atomic<bool>& abandoned) {
    Outcome outcome;
    const Handle session = openSession(connectLimit, transferLimit);
    if (!session) return outcome;
    const Handle request = openUrl(session.get(), url);
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
    if (announced < -1 || announced > static_cast<std::int64_t>(kCeiling)) return outcome;
    std::string& body = outcome.body;
    while (!abandoned) {
        DWORD available = 0;
        if (!InternetQueryDataAvailable(request.get(), &available, 0, 0)) return outcome;
        if (available == 0) available = 4096;
        const std::size_t at = body.size();
        available = static_cast<DWORD>(std::min<std::uint64_t>(available, kCeiling + 1 - at));
        body.resize(at + available);
        DWORD read = 0;
        if (!InternetReadFile(request.get(), body.data() + at, available, &read)) return outcome;
        body.resize(at + read);
        if (read == 0) {
            outcome.complete = announced < 0 || static_cast<std::uint64_t>(announced) == body.size();
            return outcome;
        }
        if (body.size() > kCeiling) return outcome;
    }
    return outcome;
}

// The request on a worker thread, given up at the time limit. Wine's WinInet
// ignores the receive and send limits of a session, and closing the session
// does not wake a request blocked on a silent server, so the caller cannot
// end such a request: it leaves it behind, and the worker, the only owner of
// the handles, closes them whenever WinInet lets it go.
Outcome request(const std::string& url, bool wantBody, std::chrono::milliseconds connectLimit,
                std::chrono::milliseconds transferLimit) {
    struct Shared {
        std::mutex mutex;
        std::condition_variable finished;
        bool done = false;
        std::atomic<bool> abandoned{false};
        Outcome outcome;
    };
    const auto shared = std::make_shared<Shared>();
    try {
        std::thread([shared, url, wantBody, connectLimit, transferLimit] {
            Outcome outcome = fetch(url, wantBody, connectLimit, transferLimit, shared->abandoned);
            const std::lock_guard lock(shared->mutex);
            shared->outcome = std::move(outcome);
            shared->done = true;
            shared->finished.notify_one();
        }).detach();
    } catch (const std::system_error&) {
        return {};
    }
    std::unique_lock lock(shared->mutex);
    if (!shared->finished.wait_for(lock, transferLimit, [&] { return shared->done; })) {
        shared->abandoned = true;
        return {};
    }
    return std::move(shared->outcome);
}

}  // namespace

WinInetHttp::WinInetHttp(std::chrono::milliseconds connectLimit, std::chrono::milliseconds transferLimit)
    : connectLimit_(connectLimit), transferLimit_(transferLimit) {}

bool WinInetHttp::probe(const std::string& url) {
    return request(url, false, connectLimit_, transferLimit_).answered;
}

std::string WinInetHttp::download(const std::string& url) {
    Outcome outcome = request(url, true, connectLimit_, transferLimit_);
    return outcome.complete ? std::move(outcome.body) : std::string();
}

}  // namespace durmivela::win32
