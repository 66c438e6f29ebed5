// Paints of the program's largest Command button (233 x 33, style 1,
// XpType 2) through GDI, as the button window does them: into its DIB
// picture, and into the picture plus the blit to the screen. Run under Wine:
//   wine win_benchmarks.exe
#include <windows.h>

#include <cstdio>

#include "app/command_instances.h"
#include "controls/command_button.h"
#include "controls/win32/command_button_window.h"
#include "per_call_time.h"
#include "platform/win32/platform_win32.h"

namespace {}  // namespace

int main() {
    using vellumar::FindCommandInstance;
    using vellumar::win32::CommandButtonWindow;
    const HWND container = ::CreateWindowExW(0, L"STATIC", L"bench", WS_POPUP | WS_VISIBLE, 0, 0,
                                             300, 100, nullptr, nullptr, nullptr, nullptr);
    vellumar::win32::Win32TimerService timers;
    CommandButtonWindow button(container, *FindCommandInstance("CommandFreeMemory"), 10, 10,
                               timers);
    constexpr int kCalls = 20000;

    auto paint = [](void* b) {
        static_cast<CommandButtonWindow*>(b)->Model().PaintButton(0, true);
    };
    auto paint_down = [](void* b) {
        static_cast<CommandButtonWindow*>(b)->Model().PaintButton(2, true);
    };
    auto paint_and_show = [](void* b) {
        auto* button = static_cast<CommandButtonWindow*>(b);
        button->Model().PaintButton(0, true);
        ::UpdateWindow(button->Handle());
    };
    for (int round = 0; round < 2; ++round) {  // the first round warms up
        const double up = MicrosecondsPerCall(kCalls, [&] { paint(&button); });
        const double down = MicrosecondsPerCall(kCalls, [&] { paint_down(&button); });
        const double shown = MicrosecondsPerCall(kCalls / 4, [&] { paint_and_show(&button); });
        if (round == 1) {
            std::printf("Command 233x33 style 1 up paint (GDI picture):    %8.2f us\n", up);
            std::printf("Command 233x33 style 1 down paint (GDI picture):  %8.2f us\n", down);
            std::printf("Command 233x33 style 1 paint + blit to window:    %8.2f us\n", shown);
        }
    }
    ::DestroyWindow(container);
    return 0;
}
