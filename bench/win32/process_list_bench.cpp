// One refresh of the process list under Wine with the real snapshots and
// shell icons, into a real list view with its image list: the whole
// refresh, and its parts (process snapshot, module snapshots, icons). Extra
// idle processes started by this program bring the count up.
//
//   win_process_list_bench.exe [extra-process-count] [refreshes] [bare]

#include <windows.h>
// After windows.h, which it builds on.
#include <commctrl.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "controls/win32/child_window.h"
#include "engine/process_list.h"
#include "idle_copies.h"
#include "platform/win32/platform_win32.h"
#include "platform/win32/process_snapshot_win32.h"

namespace {

using namespace vellumar;

double Milliseconds(LONGLONG ticks) {
    LARGE_INTEGER frequency{};
    ::QueryPerformanceFrequency(&frequency);
    return 1000.0 * static_cast<double>(ticks) / static_cast<double>(frequency.QuadPart);
}

LONGLONG Now() {
    LARGE_INTEGER now{};
    ::QueryPerformanceCounter(&now);
    return now.QuadPart;
}

// Times what passes through it.
class TimedSnapshots : public ProcessSnapshots, public FileIcons {
  public:
    std::vector<ProcessEntry> ProcessEntries() override {
        const LONGLONG start = Now();
        auto entries = snapshots_.ProcessEntries();
        process_ticks += Now() - start;
        return entries;
    }
    void VisitModulePaths(ProcessId process,
                          const std::function<bool(const std::string&)>& visit) override {
        const LONGLONG start = Now();
        snapshots_.VisitModulePaths(process, visit);
        module_ticks += Now() - start;
    }
    SharedIcon FileIcon(const std::string& path, bool small) override {
        const LONGLONG start = Now();
        auto icon = icons_.FileIcon(path, small);
        icon_ticks += Now() - start;
        return icon;
    }
    LONGLONG process_ticks = 0;
    LONGLONG module_ticks = 0;
    LONGLONG icon_ticks = 0;

  private:
    win32::Win32ProcessSnapshots snapshots_;
    win32::Win32FileIcons icons_;
};

class Blank : public win32::BackgroundSource {
  public:
    void PaintBackground(HDC, const RECT&) override {}
};

}  // namespace

int main(int argc, char** argv) {
    if (argc > 1 && std::string(argv[1]) == "--idle") {
        ::Sleep(180000);
        return 0;
    }
    const int extra = argc > 1 ? std::atoi(argv[1]) : 150;
    const int refreshes = argc > 2 ? std::atoi(argv[2]) : 10;
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_LISTVIEW_CLASSES};
    ::InitCommonControlsEx(&controls);

    const IdleCopies children(extra);
    ::Sleep(5000);

    win32::Win32TimerService timers;
    win32::FontCache fonts;
    win32::ViewContext context{fonts, timers, [](int) { return static_cast<HBITMAP>(nullptr); }};
    Blank blank;
    HWND host = ::CreateWindowExW(0, L"STATIC", L"host", WS_POPUP, 0, 0, 500, 300, nullptr, nullptr,
                                  nullptr, nullptr);
    ListView list{"ListViewProcesses",
                  {0, 0, 6585, 2625},
                  {},
                  {{"ID", 800}, {"PID", 800}, {"Process", 2600}, {"CPU Usage limited", 2000}}};
    list.SetOnDemand(true);  // as the CPU page's list
    ImageList images{"ImageListProcesses"};
    // "bare" leaves the list without a window: the portable work alone.
    const bool bare = argc > 3 && std::string(argv[3]) == "bare";
    auto window = bare ? nullptr : win32::CreateChildWindow(list, host, blank, context, 1);
    TimedSnapshots snapshots;
    ProcessList processes(snapshots, snapshots, list, images);

    processes.RefreshProcessList();  // warm the shell's icon cache
    snapshots.process_ticks = snapshots.module_ticks = snapshots.icon_ticks = 0;
    const LONGLONG start = Now();
    for (int i = 0; i < refreshes; ++i) processes.RefreshProcessList();
    const double total = Milliseconds(Now() - start) / refreshes;
    const LONGLONG parts = snapshots.process_ticks + snapshots.module_ticks + snapshots.icon_ticks;
    std::printf("processes in the snapshot: %zu (%zu extra), rows listed: %d\n",
                snapshots.ProcessEntries().size(), children.size(), list.RowCount());
    std::printf(
        "one refresh: %.1f ms (process snapshot %.1f, module snapshots %.1f, icons %.1f, "
        "list view and the rest %.1f)\n",
        total, Milliseconds(snapshots.process_ticks) / refreshes,
        Milliseconds(snapshots.module_ticks) / refreshes,
        Milliseconds(snapshots.icon_ticks) / refreshes, total - Milliseconds(parts) / refreshes);

    window.reset();
    ::DestroyWindow(host);
    return 0;
}
