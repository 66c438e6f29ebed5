#pragma once
// The advertisement fetch on Win32: one HTTP GET over WinINet (wide calls)
// on a worker thread, so a slow, silent or endless server never holds up the
// window.
//
// WinInetHttp is the HttpClient: direct connection, one request per Get()
// with the platform's own redirect following off (the fetch follows them,
// engine/ad_fetch.h), connect/send/receive time-outs set on the request
// itself and cut to what is left of the fetch's deadline, and reads of what
// has arrived (so a dripping server cannot hold one read for long) that fail
// once the fetch is past its deadline or cancelled. BeginFetch() starts the
// deadline, which every request and read of the fetch counts against. It
// asks as HTTP/1.0, so a server answers with a length or until it closes,
// never in chunks: WinINet decodes chunks out of sight and cannot tell a
// chunked body that lost its end, so such a reply never counts. Its WinINet
// session (and the connection handle of the last host) lasts from one fetch
// to the next: a fetch every few seconds then costs one request, not a new
// session.
//
// WinInetAdFetcher is the AdFetcher: one worker thread, started by the first
// Start(), runs GetAdText for each Start() and sleeps in between. It leaves
// the text in the state it shares with the fetcher and posts a message to
// the fetcher's own message-only window, whose handler (on the GUI thread,
// which created the fetcher) hands the text on. The message names work the
// fetcher owns, so nothing is lost when a post fails: the next Start()
// collects a finished fetch itself. The GUI thread never calls WinINet: the
// worker also closes the handles. The destructor asks the worker to end and
// cancels a fetch still under way; rather than wait for a call to time out,
// it leaves the worker to end on its own with the state it co-owns.

#include <windows.h>
// After windows.h, which it builds on.
#include <wininet.h>

#include <condition_variable>
#include <memory>
#include <mutex>
#include <span>
#include <string>

#include "engine/ad_line.h"
#include "platform/http.h"
#include "platform/win32/handles.h"
#include "platform/win32/window_base.h"

namespace vellumar::win32 {

struct InternetHandleTraits {
    static HINTERNET Invalid() { return nullptr; }
    static bool IsValid(HINTERNET h) { return h != nullptr; }
    static void Close(HINTERNET h) { ::InternetCloseHandle(h); }
};
using UniqueInternet = UniqueResource<HINTERNET, InternetHandleTraits>;

struct AdFetchLimits {
    // Connect, send and receive time-outs of each WinINet call.
    DWORD call_timeout_ms = 5000;
    // The whole fetch: every request, header and body of it.
    DWORD deadline_ms = 8000;
};

class WinInetHttp : public HttpClient {
  public:
    explicit WinInetHttp(AdFetchLimits limits);
    ~WinInetHttp() override;
    WinInetHttp(const WinInetHttp&) = delete;
    WinInetHttp& operator=(const WinInetHttp&) = delete;

    // Starts the deadline of a fetch.
    void BeginFetch();
    // One request of the fetch; it reuses the session.
    std::unique_ptr<HttpReply> Get(const std::string& url) override;
    // Closes the request of the last Get(); the session stays for the next.
    void EndRequest();
    // From any thread: every later call fails.
    void Cancel();
    // Closes the handles; every later call fails.
    void Close();

  private:
    friend class WinInetReply;
    bool Read(std::span<char> buffer, std::size_t& read_bytes);
    // The handle to use, or nullptr once aborted or past the deadline.
    HINTERNET Current(const UniqueInternet& handle);
    // What is left of the deadline; 0 once it has passed. Under the mutex.
    DWORD RemainingMs() const;
    HINTERNET OpenRequest(const wchar_t* host, INTERNET_PORT port, const wchar_t* path,
                          bool secure);

    AdFetchLimits limits_;
    ULONGLONG start_tick_;
    std::mutex mutex_;
    bool aborted_ = false;
    UniqueInternet root_;
    UniqueInternet connection_;
    std::wstring connected_host_;
    INTERNET_PORT connected_port_ = 0;
    UniqueInternet request_;
};

// What the fetcher and its worker thread share; the worker co-owns it, so it
// outlives a fetcher that is gone before the worker ends.
struct AdFetchState {
    explicit AdFetchState(AdFetchLimits limits) : http(limits) {}
    WinInetHttp http;  // used by the worker thread only (Cancel from any)
    std::mutex mutex;
    std::condition_variable wake;
    std::string url;     // of the fetch asked for
    bool asked = false;  // a fetch is asked for or under way
    bool done = false;   // it has finished and `text` is not yet handed on
    bool quit = false;   // the worker ends once it is idle
    std::string text;
};

class WinInetAdFetcher : public AdFetcher, private Window {
  public:
    explicit WinInetAdFetcher(AdFetchLimits limits = {});
    ~WinInetAdFetcher() override;

    bool Start(const std::string& url) override;
    // Whether a fetch is under way (or finished and not yet handed on).
    bool Busy() const;

  private:
    LRESULT HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) override;
    // Hands on the text of a finished fetch, if there is one.
    void Collect();
    bool StartWorker();

    std::shared_ptr<AdFetchState> state_;
    UniqueHandle worker_;
};

}  // namespace vellumar::win32
