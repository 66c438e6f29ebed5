#include "engine/win32/ad_fetch_win32.h"

#include <algorithm>
#include <utility>

#include "engine/ad_fetch.h"
#include "platform/version.h"
#include "platform/win32/text.h"

namespace vellumar::win32 {

namespace {

constexpr UINT kFetchedMessage = WM_APP + 1;
constexpr wchar_t kFetcherWindowClass[] = L"VellumarAdFetcher";
constexpr wchar_t kAgentName[] = L"" VELLUMAR_PROGRAM_NAME "/" VELLUMAR_VERSION_TEXT;

// The reply is text in the system's ANSI code page; the program's texts are
// UTF-8.
std::string AnsiToUtf8(const std::string& ansi) {
    if (ansi.empty())
        return {};
    const int length =
        ::MultiByteToWideChar(CP_ACP, 0, ansi.data(), static_cast<int>(ansi.size()), nullptr, 0);
    if (length <= 0)
        return {};
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    ::MultiByteToWideChar(CP_ACP, 0, ansi.data(), static_cast<int>(ansi.size()), wide.data(),
                          length);
    return Narrow(wide);
}

// A header of the reply as text; empty when there is none.
std::string QueryHeader(HINTERNET request, DWORD info) {
    std::wstring value(256, L'\0');
    for (int attempt = 0; attempt < 2; ++attempt) {
        DWORD bytes = static_cast<DWORD>(value.size() * sizeof(wchar_t));
        if (::HttpQueryInfoW(request, info, value.data(), &bytes, nullptr)) {
            value.resize(bytes / sizeof(wchar_t));
            return Narrow(value);
        }
        // `bytes` is now the size the value needs.
        if (::GetLastError() != ERROR_INSUFFICIENT_BUFFER || bytes > 64 * 1024)
            break;
        value.assign(bytes / sizeof(wchar_t) + 1, L'\0');
    }
    return {};
}

}  // namespace

class WinInetReply : public HttpReply {
  public:
    explicit WinInetReply(WinInetHttp& http) : http_(http) {}
    bool Read(std::span<char> buffer, std::size_t& read_bytes) override {
        return http_.Read(buffer, read_bytes);
    }
    // WinINet takes the chunks apart itself and ends a cut one as it ends a
    // whole one.
    bool LastChunkSeen() const override { return false; }

  private:
    WinInetHttp& http_;
};

WinInetHttp::WinInetHttp(AdFetchLimits limits) : limits_(limits), start_tick_(::GetTickCount64()) {}

WinInetHttp::~WinInetHttp() = default;

DWORD WinInetHttp::RemainingMs() const {
    const ULONGLONG spent = ::GetTickCount64() - start_tick_;
    return spent >= limits_.deadline_ms ? 0 : limits_.deadline_ms - static_cast<DWORD>(spent);
}

HINTERNET WinInetHttp::Current(const UniqueInternet& handle) {
    std::lock_guard lock(mutex_);
    if (aborted_ || RemainingMs() == 0)
        return nullptr;
    return handle.Get();
}

void WinInetHttp::BeginFetch() {
    std::lock_guard lock(mutex_);
    start_tick_ = ::GetTickCount64();
}

void WinInetHttp::Cancel() {
    std::lock_guard lock(mutex_);
    aborted_ = true;
}

void WinInetHttp::EndRequest() {
    std::lock_guard lock(mutex_);
    request_.Reset();
}

void WinInetHttp::Close() {
    std::lock_guard lock(mutex_);
    aborted_ = true;
    request_.Reset();
    connection_.Reset();
    root_.Reset();
}

// The request of one GET, on the connection to its host (kept while the
// host stays the same), with time-outs cut to what is left of the fetch's
// deadline; null when it cannot be made or the fetch has ended.
HINTERNET WinInetHttp::OpenRequest(const wchar_t* host, INTERNET_PORT port, const wchar_t* path,
                                   bool secure) {
    std::lock_guard lock(mutex_);
    request_.Reset();
    // A redirect is one more request against the same deadline.
    const DWORD remaining_ms = RemainingMs();
    if (aborted_ || remaining_ms == 0)
        return nullptr;
    if (!root_) {
        root_.Reset(::InternetOpenW(kAgentName, INTERNET_OPEN_TYPE_DIRECT, nullptr, nullptr, 0));
        if (!root_)
            return nullptr;
    }
    if (!connection_ || connected_host_ != host || connected_port_ != port) {
        connection_.Reset(::InternetConnectW(root_.Get(), host, port, nullptr, nullptr,
                                             INTERNET_SERVICE_HTTP, 0, 0));
        connected_host_ = connection_ ? host : L"";
        connected_port_ = port;
        if (!connection_)
            return nullptr;
    }
    // Redirects are the fetch's to follow, each counted.
    const DWORD flags = INTERNET_FLAG_NO_CACHE_WRITE | INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_UI |
                        INTERNET_FLAG_NO_COOKIES | INTERNET_FLAG_NO_AUTH |
                        INTERNET_FLAG_NO_AUTO_REDIRECT | (secure ? INTERNET_FLAG_SECURE : 0);
    request_.Reset(::HttpOpenRequestW(connection_.Get(), L"GET", path, L"HTTP/1.0", nullptr,
                                      nullptr, flags, 0));
    if (!request_)
        return nullptr;
    // On the request itself: a request does not take every time-out
    // from the handles above it on every platform.
    DWORD timeout = std::min(limits_.call_timeout_ms, remaining_ms);
    for (HINTERNET handle : {root_.Get(), request_.Get()}) {
        for (DWORD option : {INTERNET_OPTION_CONNECT_TIMEOUT, INTERNET_OPTION_SEND_TIMEOUT,
                             INTERNET_OPTION_RECEIVE_TIMEOUT}) {
            ::InternetSetOptionW(handle, option, &timeout, sizeof(timeout));
        }
    }
    return request_.Get();
}

std::unique_ptr<HttpReply> WinInetHttp::Get(const std::string& url) {
    const std::wstring wide_url = Widen(url);
    wchar_t host[256] = {};
    wchar_t path[2048] = {};
    URL_COMPONENTSW parts{};
    parts.dwStructSize = sizeof(parts);
    parts.lpszHostName = host;
    parts.dwHostNameLength = 256;
    parts.lpszUrlPath = path;
    parts.dwUrlPathLength = 2048;
    if (!::InternetCrackUrlW(wide_url.c_str(), 0, 0, &parts) ||
        (parts.nScheme != INTERNET_SCHEME_HTTP && parts.nScheme != INTERNET_SCHEME_HTTPS)) {
        return nullptr;
    }
    const HINTERNET request =
        OpenRequest(host, parts.nPort, path, parts.nScheme == INTERNET_SCHEME_HTTPS);
    if (!request)
        return nullptr;
    // Blocks until the headers are in, or until the receive time-out.
    if (!::HttpSendRequestW(request, nullptr, 0, nullptr, 0) || !Current(request_))
        return nullptr;
    DWORD status = 0;
    DWORD status_bytes = sizeof(status);
    if (!::HttpQueryInfoW(request, HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &status,
                          &status_bytes, nullptr)) {
        return nullptr;
    }
    auto reply = std::make_unique<WinInetReply>(*this);
    reply->head.status = static_cast<int>(status);
    reply->head.location = QueryHeader(request, HTTP_QUERY_LOCATION);
    reply->head.content_length = QueryHeader(request, HTTP_QUERY_CONTENT_LENGTH);
    reply->head.transfer_encoding = QueryHeader(request, HTTP_QUERY_TRANSFER_ENCODING);
    return reply;
}

bool WinInetHttp::Read(std::span<char> buffer, std::size_t& read_bytes) {
    HINTERNET request = Current(request_);
    if (!request)
        return false;
    // Ask only for what has arrived, so each read returns as soon as there
    // is something and the deadline is looked at between reads.
    DWORD available = 0;
    if (!::InternetQueryDataAvailable(request, &available, 0, 0))
        return false;
    if (!Current(request_))
        return false;
    DWORD read = 0;
    const DWORD wanted = std::min<DWORD>(static_cast<DWORD>(buffer.size()), available);
    if (wanted > 0 && !::InternetReadFile(request, buffer.data(), wanted, &read))
        return false;
    read_bytes = read;
    return true;
}

WinInetAdFetcher::WinInetAdFetcher(AdFetchLimits limits)
    : state_(std::make_shared<AdFetchState>(limits)) {
    Create(WindowClassSpec{kFetcherWindowClass}, 0, L"", 0, 0, 0, 0, 0, HWND_MESSAGE);
}

WinInetAdFetcher::~WinInetAdFetcher() {
    if (!worker_)
        return;
    bool idle = false;
    {
        std::lock_guard lock(state_->mutex);
        state_->quit = true;
        idle = !state_->asked || state_->done;
    }
    state_->wake.notify_one();
    // An idle worker only closes the session; one under way is cancelled
    // and ends by itself.
    if (idle) {
        ::WaitForSingleObject(worker_.Get(), INFINITE);
    } else {
        state_->http.Cancel();
    }
}

bool WinInetAdFetcher::Busy() const {
    std::lock_guard lock(state_->mutex);
    return state_->asked;
}

bool WinInetAdFetcher::Start(const std::string& url) {
    Collect();
    {
        std::lock_guard lock(state_->mutex);
        if (state_->asked)
            return false;
        state_->url = url;
        state_->asked = true;
    }
    if (!worker_ && !StartWorker()) {
        std::lock_guard lock(state_->mutex);
        state_->asked = false;
        return false;
    }
    state_->wake.notify_one();
    return true;
}

namespace {

struct WorkerStart {
    std::shared_ptr<AdFetchState> state;
    HWND window;
};

// The worker: one fetch per request of the fetcher, until it is told to end.
DWORD WINAPI AdFetchWorker(void* param) {
    const std::unique_ptr<WorkerStart> start(static_cast<WorkerStart*>(param));
    AdFetchState& state = *start->state;
    std::unique_lock lock(state.mutex);
    for (;;) {
        state.wake.wait(lock, [&] { return state.quit || (state.asked && !state.done); });
        if (state.quit)
            break;
        const std::string url = state.url;
        lock.unlock();
        state.http.BeginFetch();
        std::string text = AnsiToUtf8(GetAdText(state.http, url));
        // Closing can take a while (the platform may read on to the end of
        // a long reply); it happens here, never on the GUI thread.
        state.http.EndRequest();
        lock.lock();
        state.text = std::move(text);
        state.done = true;
        ::PostMessageW(start->window, kFetchedMessage, 0, 0);
    }
    lock.unlock();
    state.http.Close();
    return 0;
}

}  // namespace

bool WinInetAdFetcher::StartWorker() {
    auto start = std::make_unique<WorkerStart>(WorkerStart{state_, Handle()});
    // A small stack: a fetch needs little, and the thread lives as long as
    // the program.
    constexpr SIZE_T kStackBytes = 256 * 1024;
    worker_.Reset(::CreateThread(nullptr, kStackBytes, AdFetchWorker, start.get(),
                                 STACK_SIZE_PARAM_IS_A_RESERVATION, nullptr));
    if (!worker_)
        return false;
    start.release();  // the thread owns it now
    return true;
}

void WinInetAdFetcher::Collect() {
    std::string text;
    {
        std::lock_guard lock(state_->mutex);
        if (!state_->done)
            return;
        text = std::move(state_->text);
        state_->done = false;
        state_->asked = false;
    }
    if (onFetched)
        onFetched(text);
}

LRESULT WinInetAdFetcher::HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) {
    if (message == kFetchedMessage) {
        Collect();
        return 0;
    }
    return Window::HandleMessage(message, wparam, lparam);
}

}  // namespace vellumar::win32
