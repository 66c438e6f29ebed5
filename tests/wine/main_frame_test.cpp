// The main window's Win32 frame against real windows: every control has a
// child window that mirrors it, input on those windows reaches the portable
// handlers, and painting leaks no GDI or USER objects.

#include <gtest/gtest.h>
#include <windows.h>
// After windows.h, which it builds on.
#include <commctrl.h>

#include <commctrl.h>

#include "app/autorun.h"
#include "app/main_window.h"
#include "app/settings.h"
#include "app/win32/main_frame.h"
#include "fakes/fake_platform.h"
#include "main_frame_fixture.h"
#include "platform/win32/icon_metrics.h"
#include "platform/win32/platform_win32.h"
#include "platform/win32/system_win32.h"
#include "platform/win32/text.h"
#include "wine_support.h"

namespace vellumar::win32 {
namespace {

HWND FindChildByText(HWND parent, const std::wstring& text, bool visible_only = false) {
    struct Search {
        std::wstring text;
        bool visible_only;
        HWND found = nullptr;
    } search{text, visible_only};
    ::EnumChildWindows(
        parent,
        [](HWND hwnd, LPARAM param) -> BOOL {
            auto* s = reinterpret_cast<Search*>(param);
            wchar_t buffer[256] = {};
            ::GetWindowTextW(hwnd, buffer, 256);
            if (s->text == buffer && (!s->visible_only || ::IsWindowVisible(hwnd))) {
                s->found = hwnd;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

using testing::PumpMessages;

class MainFrameOnWindows : public ::testing::Test, protected RealMainWindow {
  protected:
    void SetUp() override {
        form.InitialLayout();
        form.FillLists();
        form.ReadSettings();
        frame.ShowAfterLoad();
        PumpMessages();
    }
};

TEST_F(MainFrameOnWindows, PanelsAndPageImagesFollowTheSelectedPage) {
    HWND state = FindChildByText(frame.Handle(), L"PictureState");
    HWND setting = FindChildByText(frame.Handle(), L"PictureSetting");
    ASSERT_TRUE(state && setting);
    EXPECT_TRUE(::IsWindowVisible(state));
    EXPECT_FALSE(::IsWindowVisible(setting));

    // A click on the page's label window selects the page.
    HWND label = FindChildByText(frame.Handle(), L"Setting", true);
    ASSERT_TRUE(label);
    ::SendMessageW(label, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
    ::SendMessageW(label, WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
    EXPECT_EQ(form.SelectedPage(), Page::Setting);
    EXPECT_TRUE(::IsWindowVisible(setting));
    EXPECT_FALSE(::IsWindowVisible(state));
}

TEST_F(MainFrameOnWindows, TextsAboveImagesReceiveThePointer) {
    // Page labels lie above their images: the window under a label's
    // centre is the label itself.
    HWND label = FindChildByText(frame.Handle(), L"About", true);
    ASSERT_TRUE(label);
    RECT r{};
    ::GetWindowRect(label, &r);
    POINT centre{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    ::ScreenToClient(frame.Handle(), &centre);
    EXPECT_EQ(::ChildWindowFromPointEx(frame.Handle(), centre, CWP_SKIPINVISIBLE), label);
}

TEST_F(MainFrameOnWindows, ChromeImagesAreHitTestedByTheWindow) {
    // Pointer over the close image, then over the background.
    ::SendMessageW(frame.Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(760, 12));
    EXPECT_EQ(form.ExitLook(), ChromeLook::Hover);
    ::SendMessageW(frame.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(760, 12));
    EXPECT_EQ(form.ExitLook(), ChromeLook::Pressed);
    ::SendMessageW(frame.Handle(), WM_LBUTTONUP, 0, MAKELPARAM(760, 12));
    EXPECT_FALSE(::IsWindowVisible(frame.Handle()));
    ::ShowWindow(frame.Handle(), SW_SHOW);
    ::SendMessageW(frame.Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(400, 300));
    EXPECT_EQ(form.ExitLook(), ChromeLook::Normal);
    EXPECT_EQ(form.MinLook(), ChromeLook::Normal);
    // The chrome images are push buttons to assistive tools.
    HWND close_button = FindChildByText(frame.Handle(), L"Close", true);
    ASSERT_TRUE(close_button);
    wchar_t class_name[32] = {};
    ::GetClassNameW(close_button, class_name, 32);
    EXPECT_STREQ(class_name, L"Button");
}

TEST_F(MainFrameOnWindows, APageHiddenAtStartGetsItsWindowsWhenFirstShownWithItsState) {
    EXPECT_FALSE(FindChildByText(frame.Handle(), L"Automatic release memory"));
    // Changes while the page has no windows yet.
    form.MemoryPage.CheckEnableAutoFreeMemory->SetValue(1);
    form.MemoryPage.LabelMemoryAll->SetText("1234 MB");
    form.MemoryPage.LabelMemoryAll->SetToolTip("total");
    for (const char* event : {"first", "second"}) {
        const int row = form.MemoryPage.ListViewMemoryLog->AddRow("n");
        form.MemoryPage.ListViewMemoryLog->SetCell(row, 2, event);
    }
    form.SelectPage(Page::Memory);

    HWND box = FindChildByText(frame.Handle(), L"Automatic release memory", true);
    ASSERT_TRUE(box);
    EXPECT_EQ(::SendMessageW(box, BM_GETCHECK, 0, 0), BST_CHECKED);
    EXPECT_TRUE(FindChildByText(frame.Handle(), L"1234 MB", true));
    HWND list = FindChildByText(frame.Handle(), L"ListViewMemoryLog", true);
    ASSERT_TRUE(list);
    ASSERT_EQ(::SendMessageW(list, LVM_GETITEMCOUNT, 0, 0), 2);
    wchar_t text[32] = {};
    LVITEMW item{};
    item.iSubItem = 2;
    item.pszText = text;
    item.cchTextMax = 32;
    ::SendMessageW(list, LVM_GETITEMTEXTW, 1, reinterpret_cast<LPARAM>(&item));
    EXPECT_STREQ(text, L"second");
    // A log dropping its oldest row drops it from the window too.
    form.MemoryPage.ListViewMemoryLog->RemoveRow(0);
    ASSERT_EQ(::SendMessageW(list, LVM_GETITEMCOUNT, 0, 0), 1);
    ::SendMessageW(list, LVM_GETITEMTEXTW, 0, reinterpret_cast<LPARAM>(&item));
    EXPECT_STREQ(text, L"second");
    // Its handlers are the control's from the start.
    ::SendMessageW(box, BM_CLICK, 0, 0);
    EXPECT_EQ(form.MemoryPage.CheckEnableAutoFreeMemory->Value(), 0);
}

TEST_F(MainFrameOnWindows, CheckBoxesAndListsWriteTheirSettings) {
    form.SelectPage(Page::Setting);
    HWND box = FindChildByText(frame.Handle(), L"Always on top");
    ASSERT_TRUE(box);
    ::SendMessageW(box, BM_CLICK, 0, 0);
    EXPECT_EQ(form.SettingPage.CheckAlwaysOnTop->Value(), 1);
    EXPECT_EQ(store.Get("C:\\x\\Config.ini", "Setting", "Ontop"), "1");
    EXPECT_TRUE(::GetWindowLongW(frame.Handle(), GWL_EXSTYLE) & WS_EX_TOPMOST);
    ::SendMessageW(box, BM_CLICK, 0, 0);
    EXPECT_FALSE(::GetWindowLongW(frame.Handle(), GWL_EXSTYLE) & WS_EX_TOPMOST);

    // Picking a list item the way the list reports it.
    // ComboSpeed: the drop-down list with two items.
    form.SelectPage(Page::Process);
    HWND combo = nullptr;
    ::EnumChildWindows(
        frame.Handle(),
        [](HWND hwnd, LPARAM found) -> BOOL {
            wchar_t class_name[32] = {};
            ::GetClassNameW(hwnd, class_name, 32);
            if (wcscmp(class_name, L"ComboBox") == 0 &&
                ::SendMessageW(hwnd, CB_GETCOUNT, 0, 0) == 2) {
                *reinterpret_cast<HWND*>(found) = hwnd;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&combo));
    ASSERT_TRUE(combo);
    EXPECT_EQ(::SendMessageW(combo, CB_GETCOUNT, 0, 0), 2);
    ::SendMessageW(combo, CB_SETCURSEL, 1, 0);
    ::SendMessageW(::GetParent(combo), WM_COMMAND, MAKEWPARAM(::GetDlgCtrlID(combo), CBN_SELCHANGE),
                   reinterpret_cast<LPARAM>(combo));
    EXPECT_EQ(form.ProcessPage.ComboSpeed->Text(), "High");
    EXPECT_EQ(store.Get("C:\\x\\Config.ini", "Process", "ImproveSpeed"), "High");
}

// A label whose text changes while the window is hidden shows the new text
// once the window is shown again.
TEST_F(MainFrameOnWindows, ALabelChangedWhileHiddenShowsItsTextWhenShown) {
    ::ShowWindow(frame.Handle(), SW_HIDE);
    // A label no timer of this fixture writes.
    form.StatePage.LabelStateProcessLimited->SetText("88%");
    ::ShowWindow(frame.Handle(), SW_SHOWNA);
    PumpMessages();
    HWND label = FindChildByText(frame.Handle(), L"88%", true);
    ASSERT_TRUE(label);
    const auto shown = testing::ScreenPixels(label);
    ::RedrawWindow(label, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    EXPECT_EQ(shown, testing::ScreenPixels(label));
}

TEST_F(MainFrameOnWindows, PaintingAndPageSwitchingLeakNoObjects) {
    auto churn = [&](int rounds) {
        for (int i = 0; i < rounds; ++i) {
            form.SelectPage(kPageOrder[static_cast<std::size_t>(i) % kPageOrder.size()]);
            form.Chrome.ImageMin[0]->onMouseMove(MouseButton::None);
            form.MemoryPage.LabelMemoryAll->SetText(std::to_string(i) + " MB");
            form.Form_MouseMove();
            ::RedrawWindow(frame.Handle(), nullptr, nullptr,
                           RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
        }
        PumpMessages();
    };
    // Warm up: fonts, brushes and the system's own caches made on first use.
    churn(30);
    const int gdi_before = testing::GdiObjectCount();
    const int user_before = testing::UserObjectCount();
    ASSERT_GT(gdi_before, 0);
    churn(300);
    EXPECT_EQ(testing::GdiObjectCount(), gdi_before);
    EXPECT_EQ(testing::UserObjectCount(), user_before);
}

TEST_F(MainFrameOnWindows, AMoveToAnotherScaleLaysEverythingOutAgain) {
    form.SelectPage(Page::Memory);
    form.MemoryPage.ListViewMemoryLog->AddRow("1");
    form.MemoryPage.ListViewMemoryLog->SelectRow(0);
    auto layout = [&] {
        std::vector<RECT> rects;
        for (HWND child = ::GetWindow(frame.Handle(), GW_CHILD); child;
             child = ::GetWindow(child, GW_HWNDNEXT)) {
            RECT r{};
            ::GetWindowRect(child, &r);
            ::MapWindowPoints(nullptr, frame.Handle(), reinterpret_cast<POINT*>(&r), 2);
            rects.push_back(r);
        }
        return rects;
    };
    const std::vector<RECT> standard = layout();
    struct Step {
        int dpi;
        LONG width, height;
    };
    for (const Step step : {Step{144, 1179, 836}, Step{192, 1572, 1114}, Step{96, 786, 557}}) {
        SCOPED_TRACE(step.dpi);
        RECT suggested{40, 30, 40 + step.width, 30 + step.height};
        ::SendMessageW(frame.Handle(), WM_DPICHANGED, MAKEWPARAM(step.dpi, step.dpi),
                       reinterpret_cast<LPARAM>(&suggested));
        RECT window{};
        ::GetWindowRect(frame.Handle(), &window);
        EXPECT_EQ(window.left, 40);
        EXPECT_EQ(window.right - window.left, step.width);
        EXPECT_EQ(window.bottom - window.top, step.height);
        // The title-bar and task-switcher icons are drawn again at the new scale.
        for (const auto& [which, pixels] : {std::pair{ICON_SMALL, SmallIconPixels(step.dpi)},
                                            std::pair{ICON_BIG, LargeIconPixels(step.dpi)}}) {
            ICONINFO info{};
            ASSERT_TRUE(::GetIconInfo(
                reinterpret_cast<HICON>(::SendMessageW(frame.Handle(), WM_GETICON, which, 0)),
                &info));
            UniqueBitmap colour(info.hbmColor), mask(info.hbmMask);
            BITMAP bitmap{};
            ::GetObjectW(info.hbmColor, sizeof(bitmap), &bitmap);
            EXPECT_EQ(bitmap.bmWidth, pixels);
        }
        const std::vector<RECT> now = layout();
        ASSERT_EQ(now.size(), standard.size());
        const double scale = step.dpi / 96.0;
        for (std::size_t i = 0; i < now.size(); ++i) {
            EXPECT_NEAR(now[i].left, standard[i].left * scale, 1.0) << i;
            EXPECT_NEAR(now[i].top, standard[i].top * scale, 1.0) << i;
        }
    }
    // The page's list still shows its row, selected.
    EXPECT_EQ(form.SelectedPage(), Page::Memory);
    HWND log = FindChildByText(frame.Handle(), L"ListViewMemoryLog");
    EXPECT_EQ(::SendMessageW(log, LVM_GETITEMCOUNT, 0, 0), 1);
    EXPECT_EQ(::SendMessageW(log, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED), 0);
    // Back at the standard scale, everything is where it was.
    const std::vector<RECT> again = layout();
    for (std::size_t i = 0; i < again.size(); ++i)
        EXPECT_TRUE(::EqualRect(&again[i], &standard[i])) << i;
}

}  // namespace
}  // namespace vellumar::win32
