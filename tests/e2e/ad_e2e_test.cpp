// The advertisement line end to end: a real vellumar.exe pointed at a
// loopback server of the test (127.0.0.1 only, stopping by itself) that
// answers well, without the marker, with ten megabytes, never, one byte a
// second, with a redirect to itself or with a body cut short; and the two
// links, recorded by a stand-in http handler.

#include <windows.h>
#include <winsock2.h>
// After windows.h, which it builds on.
#include <psapi.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <string>
#include <thread>
#include <tuple>
#include <vector>

#include "e2e/driver.h"

namespace {

using e2e::FindChild;

enum class Reply { Text, TenMegabytes, Silent, Drip, RedirectLoop, ShortBody };

// Serves its connections one by one the way `reply` says; each connection
// and the server itself end by themselves after a bounded time.
class LoopbackServer {
  public:
    struct Log {
        std::vector<std::string> paths;
        std::vector<DWORD> ticks;          // when each request came
        std::vector<DWORD> connection_ms;  // how long each finished one lasted
    };

    explicit LoopbackServer(Reply reply, std::string text = "ADFaster PCs today\r\nmore")
        : reply_(reply), text_(std::move(text)) {
        WSADATA data{};
        ::WSAStartup(MAKEWORD(2, 2), &data);
        listener_ = ::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        int length = sizeof(address);
        ::bind(listener_, reinterpret_cast<sockaddr*>(&address), length);
        ::getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length);
        root_ = L"http://127.0.0.1:" + std::to_wstring(ntohs(address.sin_port));
        ::listen(listener_, 8);
        thread_ = std::thread([this] { Run(); });
    }
    ~LoopbackServer() {
        stop_ = true;
        thread_.join();
        ::closesocket(listener_);
        ::WSACleanup();
    }
    const std::wstring& Root() const { return root_; }
    void SetText(std::string text) {
        std::lock_guard lock(mutex_);
        text_ = std::move(text);
    }
    Log Logged() const {
        std::lock_guard lock(mutex_);
        return log_;
    }

  private:
    static bool Readable(SOCKET s, long wait_ms) {
        fd_set set;
        FD_ZERO(&set);
        FD_SET(s, &set);
        timeval wait{0, wait_ms * 1000};
        return ::select(0, &set, nullptr, nullptr, &wait) > 0;
    }
    static bool ClosedByClient(SOCKET s, long wait_ms) {
        char byte = 0;
        return Readable(s, wait_ms) && ::recv(s, &byte, 1, 0) <= 0;
    }
    static bool Send(SOCKET s, const std::string& data) {
        return ::send(s, data.data(), static_cast<int>(data.size()), 0) ==
               static_cast<int>(data.size());
    }

    void Run() {
        const DWORD start = ::GetTickCount();
        while (!stop_ && ::GetTickCount() - start < 120000) {
            SOCKET s =
                Readable(listener_, 100) ? ::accept(listener_, nullptr, nullptr) : INVALID_SOCKET;
            if (s == INVALID_SOCKET)
                continue;
            const DWORD opened = ::GetTickCount();
            Serve(s, [&] { return !stop_ && ::GetTickCount() - opened < 30000; });
            ::closesocket(s);
            std::lock_guard lock(mutex_);
            log_.connection_ms.push_back(::GetTickCount() - opened);
        }
    }

    template <typename Open>
    void Serve(SOCKET s, Open open) {
        std::string request;
        char buffer[1024];
        while (request.find("\r\n\r\n") == std::string::npos && open() && Readable(s, 2000)) {
            const int n = ::recv(s, buffer, sizeof(buffer), 0);
            if (n <= 0)
                return;
            request.append(buffer, static_cast<std::size_t>(n));
        }
        std::string text;
        const auto from = request.find(' ') + 1;
        const std::string path = request.substr(from, request.find(' ', from) - from);
        {
            std::lock_guard lock(mutex_);
            log_.paths.push_back(path);
            log_.ticks.push_back(::GetTickCount());
            text = text_;
        }
        DWORD send_timeout_ms = 2000;
        ::setsockopt(s, SOL_SOCKET, SO_SNDTIMEO, reinterpret_cast<const char*>(&send_timeout_ms),
                     sizeof(send_timeout_ms));
        const std::size_t length = reply_ == Reply::Text           ? text.size()
                                   : reply_ == Reply::TenMegabytes ? 10 * 1024 * 1024
                                                                   : 100000;
        const std::string headers = "HTTP/1.1 200 OK\r\nContent-Length: " + std::to_string(length) +
                                    "\r\nConnection: close\r\n\r\n";
        if (reply_ == Reply::RedirectLoop) {
            Send(s, "HTTP/1.1 302 Found\r\nLocation: " + path +
                        "\r\nContent-Length: 0\r\nConnection: close\r\n\r\n");
        } else if (reply_ == Reply::ShortBody) {
            // A billion bytes announced, about a kilobyte sent.
            Send(s, "HTTP/1.1 200 OK\r\nContent-Length: 1000000000\r\nConnection: close\r\n\r\nAD" +
                        std::string(1022, 'x'));
        } else if (reply_ == Reply::Text) {
            Send(s, headers + text);
        } else if (reply_ == Reply::TenMegabytes) {
            const std::string chunk = "AD" + std::string(64 * 1024 - 2, 'x');
            bool sending = Send(s, headers);
            for (std::size_t sent = 0; sending && sent < length && open(); sent += chunk.size())
                sending = Send(s, chunk);
        } else if (reply_ == Reply::Silent) {
            while (open() && !ClosedByClient(s, 100)) {
            }
        } else {  // Drip: "ADdrip..." one byte a second
            bool sending = Send(s, headers);
            for (char byte : "ADdrip" + std::string(length - 6, 'z')) {
                if (!sending || !open() || ClosedByClient(s, 1000))
                    break;
                sending = Send(s, std::string(1, byte));
            }
        }
    }

    const Reply reply_;
    std::wstring root_;
    SOCKET listener_ = INVALID_SOCKET;
    std::atomic<bool> stop_{false};
    std::thread thread_;
    mutable std::mutex mutex_;
    std::string text_;
    Log log_;
};

// A copy of the program whose web site is `server`.
struct ProgramOnServer {
    ProgramOnServer(const wchar_t* name, const LoopbackServer& server)
        : install(name), program((Point(server.Root()), install)) {
        ::SetEnvironmentVariableW(L"VELLUMAR_SITE_URL", had_site_ ? site_ : nullptr);
        main = program.WaitForMainWindow();
    }
    // The started program inherits the driver's environment.
    void Point(const std::wstring& root) {
        install.WritePlainSettings();
        had_site_ = ::GetEnvironmentVariableW(L"VELLUMAR_SITE_URL", site_, MAX_PATH) != 0;
        ::SetEnvironmentVariableW(L"VELLUMAR_SITE_URL", root.c_str());
    }
    bool had_site_ = false;
    wchar_t site_[MAX_PATH] = {};
    e2e::Installation install;
    e2e::Program program;
    HWND main = nullptr;
};

HWND AdLabel(HWND main) {
    for (HWND child : e2e::Descendants(main)) {
        const std::wstring text = e2e::WindowText(child);
        if (text.rfind(L"Faster PCs", 0) == 0 || text == L"Nothing")
            return child;
    }
    return nullptr;
}

// How the window answered while a server misbehaved.
struct Watch {
    int probes = 0;
    int late = 0;  // answered after more than 50 ms, or not at all
    double worst_ms = 0;
    SIZE_T first_private_bytes = 0;
    SIZE_T peak_private_bytes = 0;
};

Watch WatchWindow(HWND main, HANDLE process, DWORD duration_ms) {
    Watch watch;
    LARGE_INTEGER frequency{}, before{}, after{};
    ::QueryPerformanceFrequency(&frequency);
    for (const DWORD start = ::GetTickCount(); ::GetTickCount() - start < duration_ms;) {
        DWORD_PTR result = 0;
        ::QueryPerformanceCounter(&before);
        const bool answered = ::SendMessageTimeoutW(main, WM_NULL, 0, 0, 0, 2000, &result) != 0;
        ::QueryPerformanceCounter(&after);
        const double ms = 1000.0 * static_cast<double>(after.QuadPart - before.QuadPart) /
                          static_cast<double>(frequency.QuadPart);
        ++watch.probes;
        watch.late += (!answered || ms > 50.0) ? 1 : 0;
        watch.worst_ms = std::max(watch.worst_ms, ms);
        PROCESS_MEMORY_COUNTERS memory{};
        ::GetProcessMemoryInfo(process, &memory, sizeof(memory));
        watch.first_private_bytes =
            watch.probes == 1 ? memory.PagefileUsage : watch.first_private_bytes;
        watch.peak_private_bytes = std::max(watch.peak_private_bytes, memory.PagefileUsage);
        ::Sleep(20);
    }
    return watch;
}

TEST(AdEndToEnd, AValidReplyShowsTheLineOnceAndAHideFetchesItAgain) {
    LoopbackServer server(Reply::Text);
    ProgramOnServer started(L"ad valid", server);
    HWND main = started.main;
    HWND label = AdLabel(main);
    ASSERT_TRUE(label);
    // Two ticks of 3 s, with room for a loaded machine.
    ASSERT_TRUE(e2e::WaitUntil([&] { return ::IsWindowVisible(label) != FALSE; }, 15000));
    EXPECT_EQ(e2e::WindowText(label), L"Faster PCs today");
    const std::vector<std::string> asked = server.Logged().paths;
    EXPECT_LE(asked.size(), 2u);
    for (const auto& path : asked) EXPECT_EQ(path, "/vellumar/ad/");
    e2e::SaveScreenshot(main, "advertisement-line");
    // Under the pointer the line is underlined like a link.
    ::SendMessageW(label, WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
    ::UpdateWindow(label);
    e2e::SaveScreenshot(main, "advertisement-line-hover");

    // Three more ticks' time: the timer has stopped.
    ::Sleep(9500);
    EXPECT_EQ(server.Logged().paths.size(), asked.size());

    // The close image hides the window and re-arms the fetch.
    server.SetText("ADFaster PCs, newer line");
    e2e::ClickAt(main, 760, 12);
    ASSERT_TRUE(e2e::WaitUntil([&] { return !::IsWindowVisible(main); }, 5000));
    EXPECT_TRUE(
        e2e::WaitUntil([&] { return e2e::WindowText(label) == L"Faster PCs, newer line"; }, 15000));
    EXPECT_EQ(server.Logged().paths.size(), asked.size() + 1);
}

TEST(AdEndToEnd, AReplyWithoutTheMarkerKeepsPollingEveryThreeSeconds) {
    LoopbackServer server(Reply::Text, "Faster PCs without a marker");
    ProgramOnServer started(L"ad no marker", server);
    ASSERT_TRUE(e2e::WaitUntil([&] { return server.Logged().ticks.size() >= 4; }, 25000));
    const auto ticks = server.Logged().ticks;
    // Window timers may run a little early, never a whole second.
    for (std::size_t i = 1; i < ticks.size(); ++i) EXPECT_GE(ticks[i] - ticks[i - 1], 2000u);
    EXPECT_FALSE(::IsWindowVisible(AdLabel(started.main)));
}

TEST(AdEndToEnd, HostileServersLeaveTheWindowAnsweringAndMemoryBounded) {
    const std::tuple<Reply, const wchar_t*, DWORD> cases[] = {
        {Reply::TenMegabytes, L"ad ten megabytes", 9000},
        {Reply::Silent, L"ad silent", 20000},
        {Reply::Drip, L"ad drip", 20000},
    };
    for (const auto& [reply, name, watch_ms] : cases) {
        const std::string title(name, name + wcslen(name));
        LoopbackServer server(reply);
        ProgramOnServer started(name, server);
        ASSERT_TRUE(started.main) << title;
        const Watch watch = WatchWindow(started.main, started.program.Process(), watch_ms);
        const LoopbackServer::Log log = server.Logged();
        EXPECT_FALSE(::IsWindowVisible(AdLabel(started.main))) << title;
        // Exit does not wait for a fetch still under way.
        const DWORD exit_start = ::GetTickCount();
        ::PostMessageW(started.main, ::RegisterWindowMessageW(L"Vellumar.ExitRequest"), 0, 0);
        EXPECT_TRUE(started.program.WaitForExit(15000)) << title;
        const DWORD exit_ms = ::GetTickCount() - exit_start;
        std::string connections;
        for (DWORD ms : log.connection_ms) connections.append(" ").append(std::to_string(ms));
        std::printf(
            "[%s] probes %d, late %d, worst %.1f ms, private bytes %zu -> peak %zu, "
            "requests %zu, finished connections (ms):%s, exit %lu ms\n",
            title.c_str(), watch.probes, watch.late, watch.worst_ms, watch.first_private_bytes,
            watch.peak_private_bytes, log.paths.size(), connections.c_str(), exit_ms);
        // Each fetch ends, by its own time limits if need be, and a later
        // tick asks again.
        EXPECT_GE(log.paths.size(), 2u) << title;
        EXPECT_GE(log.connection_ms.size(), 1u) << title;
        // A window frozen by the fetch misses every probe while it lasts; a
        // loaded machine may delay a few.
        EXPECT_LE(watch.late * 20, watch.probes) << title;
        EXPECT_LT(watch.peak_private_bytes - watch.first_private_bytes, 8u << 20) << title;
    }
}

TEST(AdEndToEnd, ARedirectLoopCostsAtMostSixRequestsAFetch) {
    LoopbackServer server(Reply::RedirectLoop);
    ProgramOnServer started(L"ad redirect loop", server);
    ASSERT_TRUE(started.main);
    const DWORD watch_ms = 10000;
    const Watch watch = WatchWindow(started.main, started.program.Process(), watch_ms);
    const LoopbackServer::Log log = server.Logged();
    // The requests of one fetch come within milliseconds; fetches a tick
    // (3 s) apart.
    std::vector<std::size_t> fetches;
    for (std::size_t i = 0; i < log.ticks.size(); ++i) {
        if (i == 0 || log.ticks[i] - log.ticks[i - 1] > 1000)
            fetches.push_back(0);
        ++fetches.back();
    }
    std::string sizes;
    for (std::size_t n : fetches) sizes.append(" ").append(std::to_string(n));
    std::printf(
        "[ad redirect loop] %zu requests in %lu ms (%.1f a second), per fetch:%s; "
        "probes %d, late %d, worst %.1f ms\n",
        log.paths.size(), watch_ms, 1000.0 * static_cast<double>(log.paths.size()) / watch_ms,
        sizes.c_str(), watch.probes, watch.late, watch.worst_ms);
    ASSERT_GE(fetches.size(), 2u);
    EXPECT_EQ(fetches.front(), 6u);  // the first request and five redirects
    for (std::size_t n : fetches) EXPECT_LE(n, 6u);
    EXPECT_LE(watch.late * 20, watch.probes);
    EXPECT_FALSE(::IsWindowVisible(AdLabel(started.main)));
}

TEST(AdEndToEnd, ABodyCutShortShowsNoLineAndTheFetchGoesOn) {
    LoopbackServer server(Reply::ShortBody);
    ProgramOnServer started(L"ad short body", server);
    ASSERT_TRUE(started.main);
    // Three fetches: the first two were not taken as a line.
    ASSERT_TRUE(e2e::WaitUntil([&] { return server.Logged().paths.size() >= 3; }, 25000));
    EXPECT_FALSE(::IsWindowVisible(AdLabel(started.main)));
    EXPECT_EQ(e2e::WindowText(AdLabel(started.main)), L"Nothing");
}

// A stand-in handler of http addresses in the test prefix that appends each
// address it opens to a file; the prefix's own handler comes back after.
class RecordingBrowser {
  public:
    explicit RecordingBrowser(std::wstring record_path) : record_path_(std::move(record_path)) {
        ::DeleteFileW(record_path_.c_str());
        DWORD bytes = sizeof(old_);
        ::RegGetValueW(HKEY_LOCAL_MACHINE, kKey, nullptr, RRF_RT_REG_SZ, nullptr, old_, &bytes);
        Set(L"C:\\windows\\system32\\cmd.exe /c echo %1>>\"" + record_path_ + L"\"");
    }
    ~RecordingBrowser() { Set(old_); }
    std::vector<std::string> Opened() const {
        std::ifstream in{std::filesystem::path(record_path_)};
        std::vector<std::string> lines;
        for (std::string line; std::getline(in, line);)
            lines.push_back(line.substr(0, line.find_last_not_of("\r ") + 1));
        return lines;
    }

  private:
    static constexpr wchar_t kKey[] = L"Software\\Classes\\http\\shell\\open\\command";
    static void Set(const std::wstring& command) {
        ::RegSetKeyValueW(HKEY_LOCAL_MACHINE, kKey, nullptr, REG_SZ, command.c_str(),
                          static_cast<DWORD>((command.size() + 1) * sizeof(wchar_t)));
    }
    std::wstring record_path_;
    wchar_t old_[1024] = {};
};

TEST(AdEndToEnd, TheLabelsOpenTheAdvertisementAndHomePages) {
    LoopbackServer server(Reply::Text);
    ProgramOnServer started(L"ad links", server);
    HWND main = started.main;
    RecordingBrowser browser(started.install.Folder() + L"\\opened.txt");
    HWND label = AdLabel(main);
    ASSERT_TRUE(e2e::WaitUntil([&] { return ::IsWindowVisible(label) != FALSE; }, 15000));
    e2e::ClickWindow(label);
    ASSERT_TRUE(e2e::WaitUntil([&] { return browser.Opened().size() == 1; }, 15000));
    e2e::ClickWindow(FindChild(main, L"About"));
    e2e::ClickWindow(FindChild(main, server.Root() + L"/vellumar/"));
    ASSERT_TRUE(e2e::WaitUntil([&] { return browser.Opened().size() == 2; }, 15000));
    const std::string root(server.Root().begin(), server.Root().end());
    EXPECT_EQ(browser.Opened(),
              (std::vector<std::string>{root + "/vellumar/ad/page/", root + "/vellumar/"}));
}

}  // namespace
