// HTTP GET with WinINet, which honours the user's proxy settings. Wine's WinINet ignores
// the connect time-out and closing a handle does not unblock a call, so a caller that must
// not wait longer than the limit lets the request run on a thread of its own.
#include <windows.h>
#include <process.h>
#include <wininet.h>

#include <algorithm>
#include <memory>

#include "base/version.h"
#include "win32/handle.h"
#include "win32/services.h"

namespace vorlane::win32 {
namespace {

constexpr std::size_t kBodyLimit = 4u << 20;
constexpr std::size_t kReadPiece = 64u << 10;

struct InternetTraits {
    using Handle = HINTERNET;
    static Handle empty() noexcept { return nullptr; }
    static void close(Handle h) noexcept { InternetCloseHandle(h); }
};
using OwnedInternet = Owned<InternetTraits>;

// Shared by httpGet's caller and its thread; whoever lets go last frees it, so a thread that
// outlives its caller never writes to freed memory.
struct Fetch {
    Text url;
    HttpResponse response;
    OwnedHandle finished{CreateEventW(nullptr, TRUE, FALSE, nullptr)};
};

std::wstring part(const wchar_t* start, DWORD length) {
    return start ? std::wstring(start, length) : std::wstring();
}

void setTimeouts(HINTERNET handle) {
    DWORD ms = kHttpTimeLimitMs;
    for (DWORD option : {INTERNET_OPTION_CONNECT_TIMEOUT, INTERNET_OPTION_SEND_TIMEOUT, INTERNET_OPTION_RECEIVE_TIMEOUT}) {
        InternetSetOptionW(handle, option, &ms, sizeof ms);
    }
}

Text contentType(HINTERNET request) {
    std::wstring value(256, L'\0');
    DWORD size = static_cast<DWORD>(value.size() * sizeof(wchar_t));
    if (!HttpQueryInfoW(request, HTTP_QUERY_CONTENT_TYPE, value.data(), &size, nullptr)) {
        if (GetLastError() != ERROR_INSUFFICIENT_BUFFER) return {};
        value.assign(size / sizeof(wchar_t) + 1, L'\0');
        size = static_cast<DWORD>(value.size() * sizeof(wchar_t));
        if (!HttpQueryInfoW(request, HTTP_QUERY_CONTENT_TYPE, value.data(), &size, nullptr)) return {};
    }
    value.resize(size / sizeof(wchar_t));
    return narrow(value).value_or(Text());
}

constexpr int kRedirectLimit = 5;

bool isRedirect(DWORD status) {
    return status == 301 || status == 302 || status == 303 || status == 307 || status == 308;
}

std::wstring header(HINTERNET request, DWORD which) {
    std::wstring value(1024, L'\0');
    DWORD size = static_cast<DWORD>(value.size() * sizeof(wchar_t));
    if (!HttpQueryInfoW(request, which, value.data(), &size, nullptr)) return {};
    value.resize(size / sizeof(wchar_t));
    return value;
}

// The next address of a redirect, resolved against the current one.
std::wstring redirectTarget(const std::wstring& base, const std::wstring& location) {
    if (location.empty()) return {};
    std::wstring combined(4096, L'\0');
    DWORD length = static_cast<DWORD>(combined.size());
    if (!InternetCombineUrlW(base.c_str(), location.c_str(), combined.data(), &length, ICU_NO_ENCODE)) return {};
    combined.resize(length);
    return combined;
}

// One request; `done` gets the page while its handles are still open. Redirects are followed
// here rather than by WinINet, which under Wine has no limit: at most kRedirectLimit, and
// only within the time limit.
void fetch(std::wstring url, ULONGLONG deadline, const HttpDone& done) {
    OwnedInternet session(InternetOpenW(L"Vorlane/" VORLANE_VERSION, INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0));
    if (!session) return;
    setTimeouts(session.get());
    // A server may send a compressed page unasked; WinINet then hands out the page itself.
    BOOL decode = TRUE;
    InternetSetOptionW(session.get(), INTERNET_OPTION_HTTP_DECODING, &decode, sizeof decode);

    for (int redirects = 0; redirects <= kRedirectLimit && GetTickCount64() < deadline; ++redirects) {
        URL_COMPONENTSW parts{};
        parts.dwStructSize = sizeof parts;
        parts.dwHostNameLength = parts.dwUrlPathLength = parts.dwExtraInfoLength = static_cast<DWORD>(-1);
        if (!InternetCrackUrlW(url.c_str(), static_cast<DWORD>(url.size()), 0, &parts)) return;
        if (parts.nScheme != INTERNET_SCHEME_HTTP && parts.nScheme != INTERNET_SCHEME_HTTPS) return;
        std::wstring host = part(parts.lpszHostName, parts.dwHostNameLength);
        std::wstring path =
            part(parts.lpszUrlPath, parts.dwUrlPathLength) + part(parts.lpszExtraInfo, parts.dwExtraInfoLength);
        if (host.empty()) return;
        if (path.empty() || path[0] != L'/') path.insert(0, L"/");

        OwnedInternet connection(
            InternetConnectW(session.get(), host.c_str(), parts.nPort, nullptr, nullptr, INTERNET_SERVICE_HTTP, 0, 0));
        if (!connection) return;
        DWORD flags = INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE | INTERNET_FLAG_PRAGMA_NOCACHE |
                      INTERNET_FLAG_NO_COOKIES | INTERNET_FLAG_NO_UI | INTERNET_FLAG_NO_AUTH |
                      INTERNET_FLAG_NO_AUTO_REDIRECT;
        if (parts.nScheme == INTERNET_SCHEME_HTTPS) flags |= INTERNET_FLAG_SECURE;
        const wchar_t* accept[] = {L"*/*", nullptr};
        OwnedInternet request(
            HttpOpenRequestW(connection.get(), L"GET", path.c_str(), nullptr, nullptr, accept, flags, 0));
        if (!request) return;
        // Only the request handle's time-outs are honoured by Wine.
        setTimeouts(request.get());
        InternetSetOptionW(request.get(), INTERNET_OPTION_HTTP_DECODING, &decode, sizeof decode);
        if (!HttpSendRequestW(request.get(), nullptr, 0, nullptr, 0)) return;

        DWORD status = 0;
        DWORD size = sizeof status;
        if (!HttpQueryInfoW(request.get(), HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &status, &size, nullptr))
            return;
        if (isRedirect(status)) {
            url = redirectTarget(url, header(request.get(), HTTP_QUERY_LOCATION));
            if (url.empty()) return;
            continue;
        }
        if (status < 200 || status > 299) return;

        // A page larger than the limit gives its beginning, where the markers are. It is read
        // straight into the heap: workers have small stacks.
        HttpResponse response;
        response.contentType = contentType(request.get());
        while (response.body.size() < kBodyLimit) {
            const std::size_t had = response.body.size();
            const DWORD want = static_cast<DWORD>(std::min<std::size_t>(kReadPiece, kBodyLimit - had));
            response.body.resize(had + want);
            DWORD got = 0;
            const BOOL read = InternetReadFile(request.get(), response.body.data() + had, want, &got);
            response.body.resize(had + got);
            if (!read) return;
            if (got == 0) break;
        }
        // A connection cut mid-body can end like a complete page; its promised length tells.
        DWORD promised = 0;
        size = sizeof promised;
        // (A decoded page's promised length is that of its compressed bytes.)
        if (header(request.get(), HTTP_QUERY_CONTENT_ENCODING).empty() &&
            HttpQueryInfoW(request.get(), HTTP_QUERY_CONTENT_LENGTH | HTTP_QUERY_FLAG_NUMBER, &promised, &size,
                           nullptr) &&
            response.body.size() < std::min<std::size_t>(promised, kBodyLimit)) {
            return;
        }
        // The caller is told before the handles close: closing an unfinished request makes
        // WinINet read the rest of the body first.
        done(std::move(response));
        return;
    }
}

unsigned __stdcall runWorker(void* work) {
    const std::unique_ptr<std::function<void()>> owned(static_cast<std::function<void()>*>(work));
    try {
        (*owned)();
    } catch (...) {
    }
    return 0;
}

}  // namespace

bool startWorker(std::function<void()> work) {
    // WinINet and a page's digest need far less than the default stack: pages are on the heap.
    constexpr unsigned kStackReserve = 256u << 10;
    std::function<void()>* handed = nullptr;
    try {
        handed = new std::function<void()>(std::move(work));
    } catch (...) {
        return false;
    }
    const OwnedHandle thread(reinterpret_cast<HANDLE>(
        _beginthreadex(nullptr, kStackReserve, runWorker, handed, STACK_SIZE_PARAM_IS_A_RESERVATION, nullptr)));
    if (!thread) delete handed;
    return static_cast<bool>(thread);
}

void httpRequest(const Text& url, const HttpDone& done) {
    const ULONGLONG deadline = GetTickCount64() + kHttpTimeLimitMs;
    bool answered = false;
    auto answer = [&](HttpResponse response) {
        answered = true;
        done(std::move(response));
    };
    try {
        auto wide = widen(url);
        if (wide && !wide->empty()) fetch(std::move(*wide), deadline, answer);
    } catch (...) {
    }
    // A failed fetch is answered too, with nothing.
    if (!answered) done({});
}

HttpResponse httpGet(const Text& url) {
    const ULONGLONG deadline = GetTickCount64() + kHttpTimeLimitMs;
    std::shared_ptr<Fetch> shared;
    try {
        shared = std::make_shared<Fetch>();
        shared->url = url;
        if (!shared->finished) return {};
        const bool started = startWorker([shared] {
            httpRequest(shared->url, [&shared](HttpResponse response) {
                shared->response = std::move(response);
                SetEvent(shared->finished.get());
            });
        });
        if (!started) return {};
    } catch (...) {
        return {};
    }
    ULONGLONG now = GetTickCount64();
    DWORD left = now < deadline ? static_cast<DWORD>(deadline - now) : 0;
    if (WaitForSingleObject(shared->finished.get(), left) != WAIT_OBJECT_0) return {};
    return std::move(shared->response);
}

}  // namespace vorlane::win32
