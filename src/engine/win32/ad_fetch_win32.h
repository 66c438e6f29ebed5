#pragma once
// The advertisement fetch on Win32: one HTTP GET over WinINet (wide calls)
// on a worker thread, so a slow, silent or endless server never holds up the
// window.
//
// WinInetHttp is the HttpClient: direct connection, connect/send/receive
// time-outs set on the request itself, only 2xx replies, reads of what has
// arrived (so a dripping server cannot hold one read for long) that fail
// once the fetch is past its deadline or cancelled.
//
// WinInetAdFetcher is the AdFetcher: Start() runs GetAdText on a worker
// thread; the worker leaves the text in the job it shares with the fetcher
// and posts a message to the fetcher's own message-only window, whose
// handler (on the GUI thread, which created the fetcher) joins the worker
// and hands the text on. The message names work the fetcher owns, so
// nothing is lost when a post fails: the next Start() collects a finished
// worker itself. The GUI thread never calls WinINet: the worker also closes
// the handles. The destructor cancels what still runs and, rather than wait
// for a call to time out, leaves the worker to end on its own with the job
// it co-owns.

#include <windows.h>
// After windows.h, which it builds on.
#include <wininet.h>

#include <atomic>
#include <memory>
#include <mutex>
#include <span>
#include <string>
#include <thread>

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
    // The whole fetch, headers and body.
    DWORD deadline_ms = 8000;
};

class WinInetHttp : public HttpClient {
  public:
    explicit WinInetHttp(AdFetchLimits limits);
    ~WinInetHttp() override;
    WinInetHttp(const WinInetHttp&) = delete;
    WinInetHttp& operator=(const WinInetHttp&) = delete;

    std::unique_ptr<HttpBody> Get(const std::string& url) override;
    // From any thread: every later call fails.
    void Cancel();
    // Closes the handles; every later call fails.
    void Close();

  private:
    friend class WinInetBody;
    bool Read(std::span<char> buffer, std::size_t& read_bytes);
    // The handle to use, or nullptr once aborted.
    HINTERNET Current(const UniqueInternet& handle);

    AdFetchLimits limits_;
    ULONGLONG start_tick_;
    std::mutex mutex_;
    bool aborted_ = false;
    UniqueInternet root_;
    UniqueInternet connection_;
    UniqueInternet request_;
};

// One fetch, shared by the fetcher and its worker thread.
struct AdFetchJob {
    explicit AdFetchJob(AdFetchLimits limits) : http(limits) {}
    WinInetHttp http;
    std::atomic<bool> done{false};
    std::string text;  // written by the worker before `done`, read after
};

class WinInetAdFetcher : public AdFetcher, private Window {
  public:
    explicit WinInetAdFetcher(AdFetchLimits limits = {});
    ~WinInetAdFetcher() override;

    bool Start(const std::string& url) override;
    // Whether a fetch is under way (or finished and not yet handed on).
    bool Busy() const { return worker_.joinable(); }

  private:
    LRESULT HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) override;
    // Joins the finished worker and hands its text on.
    void Collect();

    AdFetchLimits limits_;
    std::shared_ptr<AdFetchJob> job_;
    std::thread worker_;
};

}  // namespace vellumar::win32
