// The notification icon's Win32 layer against the real (Wine) API: the frame
// icons, the shell's notification area and the window hook.

#include <gtest/gtest.h>
#include <windows.h>
// After windows.h, which it builds on.
#include <shellapi.h>

#include <string>
#include <vector>

#include "fakes/fake_timers.h"
#include "platform/win32/handles.h"
#include "platform/win32/text.h"
#include "shell/tray_frames.h"
#include "shell/win32/tray_icon_win32.h"
#include "shell/win32/tray_menu_win32.h"
#include "shell/win32/tray_shell_win32.h"
#include "shell/win32/window_hook_win32.h"
#include "wine_support.h"

namespace vellumar::win32 {
namespace {

const TrayArtwork kArtwork{OpaqueRgb(0xFF, 0xFF, 0xFF), OpaqueRgb(0xEE, 0x6E, 0x0C)};

// The pixels of an icon drawn on black and on white: one that shows the
// background is transparent ('.'), one that stays white is chevron ('#'),
// one that stays the rim colour is rim ('o').
std::vector<char> DrawnPixels(HICON icon) {
    std::vector<char> result;
    std::vector<COLORREF> on_black;
    for (COLORREF background : {RGB(0, 0, 0), RGB(255, 255, 255)}) {
        WindowDc screen(nullptr);
        UniqueMemoryDc dc(::CreateCompatibleDC(screen.Get()));
        UniqueBitmap bitmap(::CreateCompatibleBitmap(screen.Get(), 16, 16));
        ScopedSelect select(dc.Get(), bitmap.Get());
        UniqueBrush brush(::CreateSolidBrush(background));
        RECT all{0, 0, 16, 16};
        ::FillRect(dc.Get(), &all, brush.Get());
        ::DrawIconEx(dc.Get(), 0, 0, icon, 16, 16, 0, nullptr, DI_NORMAL);
        for (int y = 0; y < 16; ++y) {
            for (int x = 0; x < 16; ++x) {
                const COLORREF c = ::GetPixel(dc.Get(), x, y);
                if (background == RGB(0, 0, 0)) {
                    on_black.push_back(c);
                } else {
                    const COLORREF b = on_black[static_cast<std::size_t>(y * 16 + x)];
                    const COLORREF rim = ColorRefFromArgb(kArtwork.rim);
                    char kind = '?';
                    if (b == RGB(255, 255, 255) && c == RGB(255, 255, 255))
                        kind = '#';
                    else if (b == rim && c == rim)
                        kind = 'o';
                    else if (b == RGB(0, 0, 0) && c == RGB(255, 255, 255))
                        kind = '.';
                    result.push_back(kind);
                }
            }
        }
    }
    return result;
}

TEST(TrayFrameIconsOnWindows, EveryFrameIsASixteenPixelIconThatDrawsItsChevrons) {
    TrayFrameIconSet icons(kArtwork);
    for (int frame = 1; frame <= kTrayFrameCount; ++frame) {
        const auto icon = reinterpret_cast<HICON>(icons.FrameIcon(frame));
        ASSERT_TRUE(icon) << frame;
        ICONINFO info{};
        ASSERT_TRUE(::GetIconInfo(icon, &info));
        UniqueBitmap colour(info.hbmColor);
        UniqueBitmap mask(info.hbmMask);
        BITMAP bm{};
        ::GetObjectW(info.hbmColor ? info.hbmColor : info.hbmMask, sizeof(bm), &bm);
        EXPECT_EQ(bm.bmWidth, 16);

        const PixelBuffer expected = TrayFrame(frame, kArtwork);
        const auto drawn = DrawnPixels(icon);
        for (int y = 0; y < 16; ++y) {
            for (int x = 0; x < 16; ++x) {
                const Argb pixel = expected.At(x, y);
                const char want = pixel == kArtwork.chevron ? '#'
                                  : pixel == kArtwork.rim   ? 'o'
                                                            : '.';
                EXPECT_EQ(drawn[static_cast<std::size_t>(y * 16 + x)], want)
                    << "frame " << frame << " at " << x << "," << y;
            }
        }
    }
    EXPECT_EQ(icons.FrameIcon(0), 0U);
    EXPECT_EQ(icons.FrameIcon(7), 0U);
}

// A plain window whose own procedure records what reaches it.
struct RecordedMessage {
    UINT message;
    WPARAM wparam;
    LPARAM lparam;
};
std::vector<RecordedMessage>* g_recorded = nullptr;

LRESULT CALLBACK RecordingProc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
    if (g_recorded && message >= WM_USER)
        g_recorded->push_back({message, wparam, lparam});
    if (message >= WM_USER)
        return 77;
    return ::DefWindowProcW(hwnd, message, wparam, lparam);
}

class HookedWindow : public ::testing::Test {
  protected:
    void SetUp() override {
        g_recorded = &recorded;
        WNDCLASSW wc{};
        wc.lpfnWndProc = &RecordingProc;
        wc.hInstance = ::GetModuleHandleW(nullptr);
        wc.lpszClassName = L"VellumarHookTest";
        ::RegisterClassW(&wc);
        window = ::CreateWindowExW(0, L"VellumarHookTest", L"", WS_POPUP, 0, 0, 10, 10, nullptr,
                                   nullptr, wc.hInstance, nullptr);
        ASSERT_TRUE(window);
        hook.SetTaskbarCreatedMessage(taskbar_created);
        hook.AddGateForm([this] { return shown; });
    }
    void TearDown() override {
        ::DestroyWindow(window);
        g_recorded = nullptr;
    }

    std::vector<RecordedMessage> recorded;
    std::vector<std::string> actions;
    bool shown = false;
    HWND window = nullptr;
    const UINT taskbar_created = ::RegisterWindowMessageW(L"TaskbarCreated");
    ModuleSubClass hook{HookActions{[this] { actions.push_back("restore"); },
                                    [this] { actions.push_back("menu"); },
                                    [this] { actions.push_back("add"); }}};
};

TEST_F(HookedWindow, ActsOnTheTrayMessagesAndPassesEverythingElseUnchanged) {
    Win32WindowHook installed(hook);
    installed.Install(window);
    EXPECT_NE(::GetWindowLongPtrW(window, GWLP_WNDPROC),
              reinterpret_cast<LONG_PTR>(&RecordingProc));

    EXPECT_EQ(::SendMessageW(window, 2025, 0, WM_LBUTTONDBLCLK), 0);
    EXPECT_EQ(::SendMessageW(window, 2025, 0, WM_RBUTTONDOWN), 0);
    EXPECT_EQ(::SendMessageW(window, taskbar_created, 0, 0), 0);
    shown = true;
    EXPECT_EQ(::SendMessageW(window, 2025, 0, WM_RBUTTONDOWN), 0);
    EXPECT_EQ(actions, (std::vector<std::string>{"restore", "menu", "add"}));
    EXPECT_TRUE(recorded.empty());

    // A pointer-wide lParam and wParam reach the previous procedure intact.
    const auto wide = static_cast<LPARAM>(0x123456789ABCLL);
    EXPECT_EQ(::SendMessageW(window, 2025, 0x77, WM_LBUTTONUP), 77);
    EXPECT_EQ(::SendMessageW(window, WM_USER + 5, static_cast<WPARAM>(wide), wide), 77);
    ASSERT_EQ(recorded.size(), 2U);
    EXPECT_EQ(recorded[0].message, 2025U);
    EXPECT_EQ(recorded[0].wparam, 0x77U);
    EXPECT_EQ(recorded[0].lparam, WM_LBUTTONUP);
    EXPECT_EQ(recorded[1].lparam, wide);
    EXPECT_EQ(recorded[1].wparam, static_cast<WPARAM>(wide));

    installed.Remove();
    EXPECT_EQ(::GetWindowLongPtrW(window, GWLP_WNDPROC),
              reinterpret_cast<LONG_PTR>(&RecordingProc));
    EXPECT_EQ(::SendMessageW(window, 2025, 0, WM_LBUTTONDBLCLK), 77);
    EXPECT_EQ(actions.size(), 3U);
}

TEST_F(HookedWindow, AWindowDestroyedUnderTheHookLeavesNothingToRestore) {
    Win32WindowHook installed(hook);
    installed.Install(window);
    ::DestroyWindow(window);
    EXPECT_FALSE(installed.Installed());
    installed.Remove();  // nothing left to touch
    window = nullptr;
}

TEST(TrayMenuFormOnWindows, HoldsTheTenItemsAndReportsTheChosenOne) {
    TrayMenuForm form;
    std::vector<TrayMenuItem> chosen;
    form.onItem = [&](TrayMenuItem item) { chosen.push_back(item); };
    EXPECT_FALSE(form.Shown());
    form.Load();
    ASSERT_TRUE(form.Handle());
    EXPECT_FALSE(form.Shown());
    wchar_t text[64] = {};
    ::GetWindowTextW(form.Handle(), text, 64);
    EXPECT_EQ(std::wstring(text), L"Vellumar");
    ::GetClassNameW(form.Handle(), text, 64);
    EXPECT_EQ(std::wstring(text), L"FormMenu");

    HMENU popup = form.PopupMenu();
    ASSERT_TRUE(popup);
    ASSERT_EQ(::GetMenuItemCount(popup), 10);
    for (int i = 0; i < 10; ++i) {
        MENUITEMINFOW info{};
        info.cbSize = sizeof(info);
        info.fMask = MIIM_FTYPE | MIIM_ID | MIIM_STRING | MIIM_SUBMENU;
        wchar_t caption[64] = {};
        info.dwTypeData = caption;
        info.cch = 64;
        ASSERT_TRUE(::GetMenuItemInfoW(popup, static_cast<UINT>(i), TRUE, &info));
        const auto& entry = kTrayMenuItems[static_cast<std::size_t>(i)];
        EXPECT_EQ(info.hSubMenu, nullptr);
        if (IsSeparator(entry)) {
            EXPECT_TRUE(info.fType & MFT_SEPARATOR) << i;
        } else {
            EXPECT_EQ(info.wID, static_cast<UINT>(i + 1));
            EXPECT_EQ(Narrow(caption), entry.caption) << i;
        }
    }

    // Every item chosen through the menu's command id.
    for (UINT id = 1; id <= 10; ++id) ::SendMessageW(form.Handle(), WM_COMMAND, id, 0);
    EXPECT_EQ(chosen, (std::vector<TrayMenuItem>{TrayMenuItem::State, TrayMenuItem::Process,
                                                 TrayMenuItem::CPU, TrayMenuItem::Memory,
                                                 TrayMenuItem::Setting, TrayMenuItem::About,
                                                 TrayMenuItem::HomePage, TrayMenuItem::Exit}));

    form.Unload();
    EXPECT_FALSE(form.Handle());
    form.Unload();  // unloading what is not loaded does nothing
    form.Load();    // and it loads again on the next use
    EXPECT_TRUE(form.Handle());
}

TEST(TrayOnWindows, LoadingMenusAndMakingFrameIconsLeaksNothing) {
    auto cycle = [] {
        TrayMenuForm form;
        form.Load();
        form.Unload();
        form.Load();  // and the destructor unloads
        TrayFrameIconSet icons(kArtwork);
    };
    cycle();
    testing::PumpMessages();
    const int user = testing::UserObjectCount();
    const int gdi = testing::GdiObjectCount();
    for (int i = 0; i < 30; ++i) cycle();
    testing::PumpMessages();
    EXPECT_EQ(testing::UserObjectCount(), user);
    EXPECT_EQ(testing::GdiObjectCount(), gdi);
}

// Whether the shell holds the icon of `window` (id 0): a modify that
// changes nothing succeeds only on an icon that exists.
bool IconPresent(HWND window) {
    NOTIFYICONDATAW data{};
    data.cbSize = sizeof(data);
    data.hWnd = window;
    return ::Shell_NotifyIconW(NIM_MODIFY, &data) != FALSE;
}

// What the main window's own procedure sees as the window is destroyed.
struct AtDestroy {
    bool destroyed = false;
    bool icon_present = true;
    bool hooked = true;
    bool menu_form_loaded = true;
};
AtDestroy* g_at_destroy = nullptr;

LRESULT CALLBACK MainWindowProc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
    if (message == WM_DESTROY && g_at_destroy) {
        g_at_destroy->destroyed = true;
        g_at_destroy->icon_present = IconPresent(hwnd);
        g_at_destroy->hooked =
            ::GetWindowLongPtrW(hwnd, GWLP_WNDPROC) != reinterpret_cast<LONG_PTR>(&MainWindowProc);
        g_at_destroy->menu_form_loaded = testing::FindWindowHere(kFormMenuClass) != nullptr;
    }
    return ::DefWindowProcW(hwnd, message, wparam, lparam);
}

class TestMainWindow : public TrayMainWindow {
  public:
    void SelectPage(TrayPage) override {}
    std::string HomePageUrl() const override { return {}; }
    Timer& TrayIconTimer() override { return timer_; }
    int& TrayIconFrame() override { return frame_; }
    TrayArtwork TrayIconArtwork() const override { return kArtwork; }

  private:
    vellumar::testing::IdleTimerService timers_;
    Timer timer_{timers_, 990, true};
    int frame_ = 1;
};

// The real TrayShell, its real notification icon and menu form: by the time
// the main window is destroyed, the icon is gone, the hook removed and the
// menu form unloaded. (After the process has ended the shell would have
// removed the icon by itself, which proves nothing.)
TEST(TrayShellOnWindows, ShutdownRemovesIconHookAndMenuFormBeforeTheMainWindow) {
    AtDestroy at_destroy;
    g_at_destroy = &at_destroy;
    WNDCLASSW wc{};
    wc.lpfnWndProc = &MainWindowProc;
    wc.hInstance = ::GetModuleHandleW(nullptr);
    wc.lpszClassName = L"VellumarTrayShellTest";
    ::RegisterClassW(&wc);
    HWND main = ::CreateWindowExW(0, wc.lpszClassName, L"", WS_POPUP, 0, 0, 10, 10, nullptr,
                                  nullptr, wc.hInstance, nullptr);
    ASSERT_TRUE(main);
    TestMainWindow form;
    TrayShell tray(
        form, [main] { return ::IsWindow(main) ? main : nullptr; }, nullptr);
    tray.RegisterTaskbarCreated();
    tray.InstallWindowHook();
    tray.AddTrayIcon();
    ASSERT_TRUE(testing::PumpUntil([&] { return IconPresent(main); }));

    // The right button loads the menu form and opens the menu; a timer
    // closes it from within the menu's own loop.
    ::SetTimer(nullptr, 0, 50, [](HWND, UINT, UINT_PTR id, DWORD) {
        ::KillTimer(nullptr, id);
        ::EndMenu();
    });
    ::SendMessageW(main, 2025, 0, WM_RBUTTONDOWN);
    ASSERT_TRUE(testing::FindWindowHere(kFormMenuClass) != nullptr);

    tray.Shutdown();
    g_at_destroy = nullptr;
    EXPECT_TRUE(at_destroy.destroyed);
    EXPECT_FALSE(::IsWindow(main));
    EXPECT_FALSE(at_destroy.icon_present);
    EXPECT_FALSE(at_destroy.hooked);
    EXPECT_FALSE(at_destroy.menu_form_loaded);
}

}  // namespace
}  // namespace vellumar::win32
