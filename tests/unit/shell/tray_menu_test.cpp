#include "shell/tray_menu.h"

#include <gtest/gtest.h>

#include "app/main_window_tray.h"
#include "fakes/form_fixture.h"
#include "shell/tray_icon.h"
#include "shell/window_hook.h"

namespace vellumar {
namespace {

class FakeMenuWindow : public TrayMenuWindow {
  public:
    explicit FakeMenuWindow(testing::CallLog& log) : log_(log) {}
    void Load() override {
        log_.Add("menu.load");
        loaded = true;
    }
    bool Shown() override { return loaded && shown; }
    void SetForeground() override { log_.Add("menu.foreground"); }
    void PopupAtCursor() override { log_.Add("menu.popup"); }
    void Unload() override {
        log_.Add("menu.unload");
        loaded = false;
    }
    bool loaded = false;
    bool shown = false;

  private:
    testing::CallLog& log_;
};

class FakeWebPages : public WebPages {
  public:
    void Open(const std::string& url) override { opened.push_back(url); }
    std::vector<std::string> opened;
};

class TrayMenu : public testing::FormFixture {
  protected:
    FakeMenuWindow window{log};
    FakeWebPages web;
    ProgramShutdown shutdown{ProgramShutdown::Steps{
        [this] { log.Add("icon.delete"); }, [this] { log.Add("hook.remove"); },
        [this] { window.Unload(); }, [this] { log.Add("dialog.unload"); },
        [this] { log.Add("main.unload"); }, [this] { log.Add("modal.end"); }}};
    bool minimised = false;
    void ShowMainWindow() {
        log.Add("window.show");
        host.shown = true;
    }
    void RestoreMainWindow() {
        log.Add("window.restore");
        minimised = false;
    }
    MainWindowTray tray_view{form};
    FormMenu menu{tray_view, [this] { ShowMainWindow(); }, window, web, shutdown};

    void SetUp() override {
        FormFixture::SetUp();
        form.InitialLayout();
    }
};

TEST(TrayMenuItems, TenItemsWithTheirCaptionsAndTwoSeparators) {
    std::vector<std::string_view> captions;
    for (const auto& entry : kTrayMenuItems) captions.push_back(entry.caption);
    EXPECT_EQ(captions, (std::vector<std::string_view>{"State", "More process priority",
                                                       "Process CPU usage limit",
                                                       "Intelligent release memory", "Setting",
                                                       "About", "-", "Home Page", "-", "Exit"}));
    EXPECT_TRUE(IsSeparator(kTrayMenuItems[6]));
    EXPECT_TRUE(IsSeparator(kTrayMenuItems[8]));
    EXPECT_EQ(kTrayMenuItems[9].name, "m_Exit");
    // The page items carry the captions of the pages they select.
    for (const auto& entry : kTrayMenuItems) {
        if (const auto page = PageOfItem(entry.item)) {
            EXPECT_EQ(PageName(PageOfTrayPage(*page)), entry.caption);
        }
    }
}

TEST_F(TrayMenu, APageItemShowsTheWindowThenSelectsItsPageWithoutARestore) {
    host.shown = false;
    log.calls.clear();
    menu.m_Click(TrayMenuItem::Setting);
    EXPECT_TRUE(host.shown);
    EXPECT_EQ(form.SelectedPage(), Page::Setting);
    EXPECT_TRUE(form.PageOf(Page::Setting).panel->Visible());
    EXPECT_FALSE(form.PageOf(Page::State).panel->Visible());
    EXPECT_EQ(log.calls, (std::vector<std::string>{"window.show"}));

    for (const auto& [item, page] :
         {std::pair{TrayMenuItem::State, Page::State},
          std::pair{TrayMenuItem::Process, Page::Process}, std::pair{TrayMenuItem::CPU, Page::CPU},
          std::pair{TrayMenuItem::Memory, Page::Memory},
          std::pair{TrayMenuItem::About, Page::About}}) {
        menu.m_Click(item);
        EXPECT_EQ(form.SelectedPage(), page);
    }
    EXPECT_TRUE(web.opened.empty());
    EXPECT_FALSE(shutdown.HasRun());
}

TEST_F(TrayMenu, HomePageOpensTheProductsHomePage) {
    menu.m_Click(TrayMenuItem::HomePage);
    ASSERT_EQ(web.opened.size(), 1U);
    EXPECT_EQ(web.opened[0], HomePageUrl());
    EXPECT_EQ(web.opened[0].substr(web.opened[0].size() - 10), "/vellumar/");
    EXPECT_TRUE(host.shown);  // untouched
}

TEST_F(TrayMenu, ThePopupLoadsTheFormAndBringsItToTheFrontFirst) {
    menu.ShowPopup();
    EXPECT_EQ(log.calls, (std::vector<std::string>{"menu.load", "menu.foreground", "menu.popup"}));
}

TEST_F(TrayMenu, ExitShutsDownInOrderAndOnlyOnce) {
    menu.ShowPopup();
    log.calls.clear();
    menu.m_Click(TrayMenuItem::Exit);
    EXPECT_EQ(log.calls, (std::vector<std::string>{"modal.end", "icon.delete", "hook.remove",
                                                   "menu.unload", "dialog.unload", "main.unload"}));
    EXPECT_TRUE(shutdown.HasRun());
    log.calls.clear();
    shutdown.Run();  // the session ending as well
    menu.m_Click(TrayMenuItem::Exit);
    EXPECT_TRUE(log.calls.empty());
}

// The hook, the menu and the icon wired as the program wires them.
class TrayShell : public TrayMenu {
  protected:
    struct Area : NotificationArea {
        bool Notify(TrayOperation op, const TrayIconRecord&) override {
            operations.push_back(op);
            return true;
        }
        std::vector<TrayOperation> operations;
    } area;
    struct Frames : TrayFrameIcons {
        NativeIcon FrameIcon(int frame) override { return static_cast<NativeIcon>(frame); }
    } frames;
    ModuleTrayIcon icon{area, frames, [] { return NativeWindow{1}; }};
    ModuleSubClass hook{HookActions{[this] {
                                        ShowMainWindow();
                                        RestoreMainWindow();
                                    },
                                    [this] { menu.ShowPopup(); }, [this] { icon.AddTrayIcon(); }}};

    void SetUp() override {
        TrayMenu::SetUp();
        hook.SetTaskbarCreatedMessage(0xC0DE);
        hook.AddGateForm([this] { return menu.Shown(); });
        hook.AddGateForm([this] { return host.WindowShown(); });
    }
};

TEST_F(TrayShell, DoubleClickRestoresAHiddenWindowAndIsSwallowedOnceItShows) {
    host.shown = false;
    minimised = true;
    log.calls.clear();
    EXPECT_EQ(hook.WindowProc(2025, 0, 0x203), 0);
    EXPECT_EQ(log.calls, (std::vector<std::string>{"window.show", "window.restore"}));
    EXPECT_FALSE(minimised);
    log.calls.clear();
    EXPECT_EQ(hook.WindowProc(2025, 0, 0x203), 0);
    EXPECT_EQ(hook.WindowProc(2025, 0, 0x204), 0);
    EXPECT_TRUE(log.calls.empty());
}

TEST_F(TrayShell, ChoosingSettingFromTheMenuShowsTheSettingPageAndClosesTheGate) {
    host.shown = false;
    log.calls.clear();
    EXPECT_EQ(hook.WindowProc(2025, 0, 0x204), 0);
    EXPECT_EQ(log.calls, (std::vector<std::string>{"menu.load", "menu.foreground", "menu.popup"}));
    menu.m_Click(TrayMenuItem::Setting);
    EXPECT_TRUE(host.shown);
    EXPECT_EQ(form.SelectedPage(), Page::Setting);
    log.calls.clear();
    EXPECT_EQ(hook.WindowProc(2025, 0, 0x204), 0);
    EXPECT_TRUE(log.calls.empty());
}

TEST_F(TrayShell, TaskbarCreatedReAddsTheIcon) {
    icon.AddTrayIcon();
    EXPECT_EQ(hook.WindowProc(0xC0DE, 0, 0), 0);
    EXPECT_EQ(area.operations,
              (std::vector<TrayOperation>{TrayOperation::Add, TrayOperation::Add}));
}

}  // namespace
}  // namespace vellumar
