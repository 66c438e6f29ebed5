// The Command button's window against the real (Wine) API: the GDI faces
// equal the software raster's outside the caption's text, the region cuts
// the corners, nothing leaks, and mouse, keyboard and assistive tools reach
// the control as a push button.

#include <gtest/gtest.h>
#include <oleacc.h>
#include <windows.h>

#include <memory>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "app/command_instances.h"
#include "controls/button_painter.h"
#include "controls/command_button.h"
#include "controls/software_raster.h"
#include "controls/win32/command_accessible.h"
#include "controls/win32/command_button_window.h"
#include "controls/win32/gdi_surface.h"
#include "platform/win32/platform_win32.h"
#include "platform/win32/text.h"
#include "wine_support.h"

namespace vellumar::win32 {
namespace {

using testing::GdiObjectCount;
using testing::PumpMessages;
using testing::PumpUntil;
using testing::TestContainer;
using testing::UserObjectCount;

constexpr std::uint32_t kRgbMask = 0xFFFFFF;
// IAccessible's interface id, spelled out so the test needs no import library.
constexpr IID kIAccessible = {
    0x618736E0, 0x3C3D, 0x11CF, {0x81, 0x0C, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71}};

struct FaceComparison {
    int text_pixels = 0;
    int mismatches = 0;
    int first_x = -1;
    int first_y = -1;
};

// The window's picture against the raster's drawing of the same look. The
// caption's text is told apart by painting the look once more through GDI
// without a caption: pixels that differ between those two are text.
FaceComparison CompareWithRaster(CommandButtonWindow& button) {
    const GdiSurface& picture = button.Picture();
    const int w = picture.Width();
    const int h = picture.Height();
    ButtonLook look = button.Model().Look();

    GdiSurface measure;
    measure.Resize(1, 1);
    measure.SetFont(button.Model().Font());
    PixelBuffer pixels(w, h);
    SoftwareRaster raster(pixels, [&](std::string_view text) { return measure.MeasureText(text); });
    PaintButtonFace(raster, look);

    GdiSurface plain;
    plain.Resize(w, h);
    plain.SetFont(button.Model().Font());
    look.caption.clear();
    PaintButtonFace(plain, look);

    FaceComparison result;
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            const std::size_t i = static_cast<std::size_t>(y) * static_cast<std::size_t>(w) +
                                  static_cast<std::size_t>(x);
            const std::uint32_t with_text = picture.Bits()[i] & kRgbMask;
            const std::uint32_t without = plain.Bits()[i] & kRgbMask;
            const std::uint32_t soft = BitsOf(pixels.pixels[i]) & kRgbMask;
            if (without != soft && result.mismatches++ == 0) {
                result.first_x = x;
                result.first_y = y;
            }
            if (with_text != without) {
                ++result.text_pixels;
            } else if (with_text != soft && result.mismatches++ == 0) {
                result.first_x = x;
                result.first_y = y;
            }
        }
    }
    return result;
}

class CommandOnWindows : public ::testing::Test {
  protected:
    std::unique_ptr<CommandButtonWindow> MakeButton(std::string_view instance, int x = 10,
                                                    int y = 10) {
        return std::make_unique<CommandButtonWindow>(container.Handle(),
                                                     *FindCommandInstance(instance), x, y, timers);
    }

    TestContainer container;
    Win32TimerService timers;
};

TEST_F(CommandOnWindows, GdiFacesEqualTheRasterOutsideTheCaption) {
    struct Case {
        int type;
        int scheme;
        int xp;
        const char* caption;
    };
    const std::vector<Case> cases = {
        {1, 1, 2, "release memory now"},
        {1, 1, 1, "Limit"},
        {1, 1, 3, "Refresh"},
        {1, 2, 2, "Cancel"},
        {1, 3, 1, "OK"},
        {2, 1, 1, "Adjustment"},
        {2, 2, 1, "Release"},
        {3, 1, 1, "Style three"},
        {3, 2, 1, "Style three"},
        {4, 1, 1, "Style four"},
        {5, 1, 1, "Style five"},
        {5, 3, 1, "Style five"},
        {1, 1, 2, "a caption that is much wider than the button"},
    };
    for (const Case& c : cases) {
        auto button = MakeButton("CommandFreeMemory");
        CommandButton& model = button->Model();
        model.SetButtonType(c.type);
        model.SetColorScheme(c.scheme);
        model.SetXpType(c.xp);
        model.SetCaption(c.caption);
        std::ostringstream label;
        label << "style " << c.type << " scheme " << c.scheme << " xp " << c.xp << " ";
        const std::string name = label.str();
        auto check = [&](const std::string& look) {
            const FaceComparison r = CompareWithRaster(*button);
            EXPECT_EQ(r.mismatches, 0)
                << name << look << " first at " << r.first_x << "," << r.first_y;
            EXPECT_GT(r.text_pixels, 0) << name << look;
        };
        check("up");
        model.SetDisplayAsDefault(true);
        check("default");
        model.SetDisplayAsDefault(false);
        model.OnGotFocus();
        check("focused");
        model.OnMouseMove(0, 0, 5, 5);
        check("focused hover");
        model.OnMouseDown(1, 0, 5, 5);
        check("focused down");
        model.OnMouseUp(1, 0, 5, 5);
        model.SetEnabled(false);
        check("disabled");
    }
}

TEST_F(CommandOnWindows, RegionCutsTheCornersOfTypesThreeAndFour) {
    auto button = MakeButton("CommandLimitProcessCPU");  // 97 x 25
    auto inside = [&](int x, int y) {
        UniqueRegion region(::CreateRectRgn(0, 0, 0, 0));
        if (::GetWindowRgn(button->Handle(), region.Get()) == ERROR)
            return true;
        return ::PtInRegion(region.Get(), x, y) != FALSE;
    };
    EXPECT_TRUE(inside(0, 0));
    for (const int type : {3, 4}) {
        button->Model().SetButtonType(type);
        for (const auto& [x, y] : std::vector<std::pair<int, int>>{{0, 0},
                                                                   {1, 0},
                                                                   {0, 1},
                                                                   {96, 0},
                                                                   {95, 0},
                                                                   {96, 1},
                                                                   {0, 24},
                                                                   {1, 24},
                                                                   {0, 23},
                                                                   {96, 24},
                                                                   {95, 24},
                                                                   {96, 23}}) {
            EXPECT_FALSE(inside(x, y)) << type << " at " << x << "," << y;
        }
        for (const auto& [x, y] : std::vector<std::pair<int, int>>{
                 {1, 1}, {2, 0}, {0, 2}, {95, 1}, {94, 0}, {96, 2}, {1, 23}, {95, 23}, {48, 12}}) {
            EXPECT_TRUE(inside(x, y)) << type << " at " << x << "," << y;
        }
    }
    button->Model().SetButtonType(1);
    EXPECT_TRUE(inside(0, 0));
    EXPECT_TRUE(inside(96, 24));
}

TEST_F(CommandOnWindows, TenThousandPaintsLeakNoObjects) {
    auto button = MakeButton("CommandFreeMemory");
    CommandButton& model = button->Model();
    model.SetCaption("release memory now");
    PumpMessages();
    const int gdi = GdiObjectCount();
    const int user = UserObjectCount();
    for (int i = 0; i < 10000; ++i) {
        switch (i % 4) {
            case 0:
                model.PaintButton(0, true);
                break;
            case 1:
                model.OnGotFocus();
                break;
            case 2:
                model.OnMouseDown(1, 0, 5, 5);
                break;
            default:
                model.OnMouseUp(1, 0, 5, 5);
                break;
        }
        if (i % 100 == 0) {
            ::UpdateWindow(button->Handle());
            PumpMessages();
        }
    }
    PumpMessages();
    EXPECT_EQ(GdiObjectCount(), gdi);
    EXPECT_EQ(UserObjectCount(), user);
}

TEST_F(CommandOnWindows, CreatingAndDestroyingAThousandButtonsLeaksNoObjects) {
    auto cycle = [&](int type) {
        auto button = MakeButton("CommandOK");
        button->Model().SetButtonType(type);
        button->Model().OnGotFocus();
        ::UpdateWindow(button->Handle());
    };
    for (int i = 0; i < 5; ++i) cycle(3);
    PumpMessages();
    const int gdi = GdiObjectCount();
    const int user = UserObjectCount();
    for (int i = 0; i < 1000; ++i) cycle(1 + i % 5);
    PumpMessages();
    EXPECT_EQ(GdiObjectCount(), gdi);
    EXPECT_EQ(UserObjectCount(), user);
}

TEST_F(CommandOnWindows, MouseDownAndUpMessagesRaiseExactlyOneClick) {
    auto button = MakeButton("CommandRefreshProcess");
    std::vector<std::string> events;
    CommandEvents& e = button->Model().Events();
    e.Click = [&] { events.push_back("Click"); };
    e.MouseDown = [&](std::int16_t& b, std::int16_t&, float&, float&) {
        events.push_back(b == 1 ? "MouseDown 1" : "MouseDown 2");
    };
    e.MouseUp = [&](std::int16_t& b, std::int16_t&, float&, float&) {
        events.push_back(b == 1 ? "MouseUp 1" : "MouseUp 2");
    };
    const HWND hwnd = button->Handle();
    ::PostMessageW(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10));
    ::PostMessageW(hwnd, WM_LBUTTONUP, 0, MAKELPARAM(10, 10));
    PumpMessages();
    EXPECT_EQ(events, (std::vector<std::string>{"MouseDown 1", "MouseUp 1", "Click"}));
    EXPECT_EQ(::GetFocus(), hwnd);
    EXPECT_EQ(button->Model().ButtonState(), 0);

    // Released outside: no click. A right click: no click either.
    events.clear();
    ::PostMessageW(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10));
    ::PostMessageW(hwnd, WM_LBUTTONUP, 0, MAKELPARAM(200, 10));
    ::PostMessageW(hwnd, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(10, 10));
    ::PostMessageW(hwnd, WM_RBUTTONUP, 0, MAKELPARAM(10, 10));
    PumpMessages();
    EXPECT_EQ(events,
              (std::vector<std::string>{"MouseDown 1", "MouseUp 1", "MouseDown 2", "MouseUp 2"}));
}

TEST_F(CommandOnWindows, KeyboardClicksAndMovesTheFocusWithinTheContainer) {
    auto first = MakeButton("CommandOK", 10, 10);
    auto second = MakeButton("CommandCancel", 110, 10);
    auto third = MakeButton("CommandFree", 210, 10);
    int clicks = 0;
    first->Model().Events().Click = [&] { ++clicks; };
    ::SetFocus(first->Handle());
    EXPECT_TRUE(first->Model().FocusVisible());
    ::SendMessageW(first->Handle(), WM_KEYDOWN, VK_SPACE, 0);
    EXPECT_EQ(first->Model().ButtonState(), 2);
    ::SendMessageW(first->Handle(), WM_KEYUP, VK_SPACE, 0);
    EXPECT_EQ(clicks, 1);
    ::SendMessageW(first->Handle(), WM_KEYDOWN, VK_RETURN, 0);
    EXPECT_EQ(clicks, 1);

    ::SendMessageW(first->Handle(), WM_KEYDOWN, VK_RIGHT, 0);
    EXPECT_EQ(::GetFocus(), second->Handle());
    EXPECT_FALSE(first->Model().FocusVisible());
    EXPECT_TRUE(second->Model().FocusVisible());
    ::SendMessageW(second->Handle(), WM_KEYDOWN, VK_DOWN, 0);
    EXPECT_EQ(::GetFocus(), third->Handle());
    ::SendMessageW(third->Handle(), WM_KEYDOWN, VK_UP, 0);
    ::SendMessageW(second->Handle(), WM_KEYDOWN, VK_LEFT, 0);
    EXPECT_EQ(::GetFocus(), first->Handle());
}

TEST_F(CommandOnWindows, PointerWatchRaisesMouseOutOnceThePointerHasLeft) {
    auto button = MakeButton("CommandOK");
    int outs = 0;
    button->Model().Events().MouseOut = [&] { ++outs; };
    ::SetCursorPos(1000, 740);
    ::SendMessageW(button->Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
    EXPECT_TRUE(button->Model().IsHovering());
    EXPECT_TRUE(PumpUntil([&] { return outs > 0; }));
    EXPECT_EQ(outs, 1);
    EXPECT_FALSE(button->Model().IsHovering());
    EXPECT_FALSE(button->Model().Timer1().Enabled());
}

TEST_F(CommandOnWindows, ScreenReadersSeeAPushButtonNamedByTheCaption) {
    auto button = MakeButton("CommandLimitProcessCPU");
    const HWND hwnd = button->Handle();
    button->Model().SetCaption("&Limit");
    wchar_t text[64] = {};
    ::GetWindowTextW(hwnd, text, 64);
    EXPECT_STREQ(text, L"&Limit");
    wchar_t class_name[32] = {};
    ::GetClassNameW(hwnd, class_name, 32);
    EXPECT_EQ(_wcsicmp(class_name, L"Button"), 0);

    int clicks = 0;
    button->Model().Events().Click = [&] { ++clicks; };
    ::SendMessageW(hwnd, BM_CLICK, 0, 0);
    EXPECT_EQ(clicks, 1);
    // Through the dialog manager's mnemonic handling: Alt+L.
    MSG alt_l{container.Handle(), WM_SYSCHAR, L'l', 0x20000000, 0, {}};
    ::IsDialogMessageW(container.Handle(), &alt_l);
    EXPECT_EQ(clicks, 2);

    ::CoInitialize(nullptr);
    HMODULE oleacc = ::LoadLibraryW(L"oleacc.dll");
    ASSERT_NE(oleacc, nullptr);
    using FromWindow = HRESULT(WINAPI*)(HWND, DWORD, REFIID, void**);
    auto from_window = reinterpret_cast<FromWindow>(
        reinterpret_cast<void (*)()>(::GetProcAddress(oleacc, "AccessibleObjectFromWindow")));
    ASSERT_NE(from_window, nullptr);
    IAccessible* accessible = nullptr;
    ASSERT_EQ(from_window(hwnd, static_cast<DWORD>(OBJID_CLIENT), kIAccessible,
                          reinterpret_cast<void**>(&accessible)),
              S_OK);
    VARIANT self{};
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    VARIANT role{};
    EXPECT_EQ(accessible->get_accRole(self, &role), S_OK);
    EXPECT_EQ(role.vt, VT_I4);
    EXPECT_EQ(role.lVal, ROLE_SYSTEM_PUSHBUTTON);
    BSTR name = nullptr;
    EXPECT_EQ(accessible->get_accName(self, &name), S_OK);
    EXPECT_EQ(name ? std::wstring(name) : std::wstring(), L"Limit");
    ::SysFreeString(name);
    EXPECT_EQ(accessible->accDoDefaultAction(self), S_OK);
    PumpMessages();
    EXPECT_EQ(clicks, 3);
    accessible->Release();
    ::FreeLibrary(oleacc);
    ::CoUninitialize();

    // Access keys of other alphabets, typed in either case.
    button->Model().SetCaption("&\xCE\xA9");  // "&Ω"
    ::SendMessageW(hwnd, WM_SYSCHAR, L'\u03C9', 0x20000000);
    button->Model().SetCaption("&\xD0\xB1");  // "&б"
    ::SendMessageW(hwnd, WM_SYSCHAR, L'\u0411', 0x20000000);
    EXPECT_EQ(clicks, 5);
}

// COM's identity rule: IUnknown queried from any interface the object hands
// out is one pointer, and every handed-out interface gives every other.
TEST_F(CommandOnWindows, TheAccessibleObjectHasOneIdentity) {
    auto button = MakeButton("CommandRefreshProcess");
    IAccessible* accessible = CreateCommandAccessible(button->Handle());
    ASSERT_NE(accessible, nullptr);
    const IID kIOleWindow = {
        0x00000114, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
    const IID kIEnumVariant = {
        0x00020404, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
    const IID handed_out[] = {IID_IUnknown, IID_IDispatch, kIAccessible, kIOleWindow};
    IUnknown* identity = nullptr;
    ASSERT_EQ(accessible->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&identity)), S_OK);
    for (const IID& from : handed_out) {
        IUnknown* start = nullptr;
        ASSERT_EQ(accessible->QueryInterface(from, reinterpret_cast<void**>(&start)), S_OK);
        for (const IID& to : handed_out) {
            IUnknown* other = nullptr;
            ASSERT_EQ(start->QueryInterface(to, reinterpret_cast<void**>(&other)), S_OK);
            IUnknown* unknown = nullptr;
            ASSERT_EQ(other->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&unknown)),
                      S_OK);
            EXPECT_EQ(unknown, identity);
            unknown->Release();
            other->Release();
        }
        void* missing = &missing;
        EXPECT_EQ(start->QueryInterface(kIEnumVariant, &missing), E_NOINTERFACE);
        EXPECT_EQ(missing, nullptr);
        start->Release();
    }
    IOleWindow* ole_window = nullptr;
    ASSERT_EQ(accessible->QueryInterface(kIOleWindow, reinterpret_cast<void**>(&ole_window)), S_OK);
    HWND window = nullptr;
    EXPECT_EQ(ole_window->GetWindow(&window), S_OK);
    EXPECT_EQ(window, button->Handle());
    ole_window->Release();
    identity->Release();
    EXPECT_EQ(accessible->Release(), 0U);
}

TEST_F(CommandOnWindows, PropertyErrorsReachTheCaller) {
    auto button = MakeButton("CommandOK");
    try {
        button->Model().SetHWnd(0);
        ADD_FAILURE();
    } catch (const PropertyError& e) {
        EXPECT_EQ(e.Number(), 382);
    }
    EXPECT_EQ(button->Model().hWnd(), reinterpret_cast<std::uintptr_t>(button->Handle()));
}

}  // namespace
}  // namespace vellumar::win32
