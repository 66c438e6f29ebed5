#include "app/main_window.h"

#include <gtest/gtest.h>

#include "fakes/form_fixture.h"

namespace vellumar {
namespace {

using MainWindowPages = testing::FormFixture;
using MainWindowChrome = testing::FormFixture;

TEST_F(MainWindowPages, InitialLayoutSelectsStateAndPlacesEveryPanelAtOneSpot) {
    form.InitialLayout();
    EXPECT_EQ(form.SelectedPage(), Page::State);
    EXPECT_EQ(VisiblePanels(), 1);
    EXPECT_EQ(HighlightedButtons(), 1);
    EXPECT_TRUE(form.PageOf(Page::State).panel->Visible());
    EXPECT_FALSE(form.PageOf(Page::State).button[0]->Visible());
    for (auto& page : form.Pages) {
        EXPECT_EQ(page.panel->Bounds().left, 3840);
        EXPECT_EQ(page.panel->Bounds().top, 2160);
    }
    EXPECT_EQ(form.MinLook(), ChromeLook::Normal);
    EXPECT_EQ(form.ExitLook(), ChromeLook::Normal);
}

// Their windows are made from the controls as built: the first layout must
// find nothing to change, or each change costs a window round trip at start.
TEST_F(MainWindowPages, ControlsAreBuiltAsTheFirstLayoutLeavesThem) {
    struct Counter : ControlObserver {
        int changes = 0;
        void OnControlChanged(ControlChange, ChangeDetail) override { ++changes; }
    } counter;
    for (Control* control : form.WindowControls()) control->SetObserver(&counter);
    form.InitialLayout();
    EXPECT_EQ(counter.changes, 0);
    for (Control* control : form.WindowControls()) control->SetObserver(nullptr);
}

TEST_F(MainWindowPages, EverySwitchLeavesExactlyOnePanelAndOneHighlightedButton) {
    form.InitialLayout();
    for (Page target : kPageOrder) {
        form.PageOf(target).button[0]->onClick();
        EXPECT_EQ(form.SelectedPage(), target);
        EXPECT_EQ(VisiblePanels(), 1);
        EXPECT_EQ(HighlightedButtons(), 1);
        EXPECT_TRUE(form.PageOf(target).panel->Visible());
        EXPECT_TRUE(form.PageOf(target).button[1]->Visible());
        EXPECT_FALSE(form.PageOf(target).button[0]->Visible());
    }
    // Selecting the page already shown changes nothing.
    form.SelectPage(Page::About);
    EXPECT_EQ(VisiblePanels(), 1);
    EXPECT_TRUE(form.PageOf(Page::About).panel->Visible());
}

TEST_F(MainWindowPages, PageLabelsAndHighlightedImagesSelectLikeThePlainImage) {
    form.InitialLayout();
    form.PageOf(Page::Memory).label->UserClick();
    EXPECT_EQ(form.SelectedPage(), Page::Memory);
    form.PageOf(Page::Memory).button[1]->onClick();
    EXPECT_EQ(form.SelectedPage(), Page::Memory);
    form.PageOf(Page::Setting).label->UserClick();
    EXPECT_TRUE(form.PageOf(Page::Setting).panel->Visible());
    EXPECT_FALSE(form.PageOf(Page::Memory).panel->Visible());
}

TEST_F(MainWindowPages, HidingAndShowingKeepsTheSelectedPage) {
    form.InitialLayout();
    form.SelectPage(Page::About);
    form.ImageExit_Click();
    EXPECT_FALSE(host.shown);
    EXPECT_EQ(form.SelectedPage(), Page::About);
    EXPECT_TRUE(form.PageOf(Page::About).panel->Visible());
}

TEST_F(MainWindowChrome, CaptionDragsWithTheLeftButtonOnly) {
    form.Chrome.ImageCaption->onMouseDown(MouseButton::Right);
    form.Chrome.ImageCaption->onMouseDown(MouseButton::Middle);
    EXPECT_TRUE(log.calls.empty());
    form.Chrome.ImageCaption->onMouseDown(MouseButton::Left);
    EXPECT_EQ(log.calls, std::vector<std::string>{"window.drag"});
    // The title text lies above the strip and has no press handler.
    EXPECT_FALSE(form.Chrome.Label9->onClick);
}

TEST_F(MainWindowChrome, ButtonsGoNormalHoverPressedAndBackOverTheBackground) {
    form.InitialLayout();
    form.Chrome.ImageMin[0]->onMouseMove(MouseButton::None);
    EXPECT_EQ(form.MinLook(), ChromeLook::Hover);
    form.Chrome.ImageMin[1]->onMouseDown(MouseButton::Left);
    EXPECT_EQ(form.MinLook(), ChromeLook::Pressed);
    form.Chrome.ImageExit[0]->onMouseMove(MouseButton::None);
    EXPECT_EQ(form.ExitLook(), ChromeLook::Hover);
    // Leaving over anything but the background keeps the hover look.
    EXPECT_EQ(form.MinLook(), ChromeLook::Pressed);
    form.Chrome.LabelAd->SetUnderline(true);
    form.Form_MouseMove();
    EXPECT_EQ(form.MinLook(), ChromeLook::Normal);
    EXPECT_EQ(form.ExitLook(), ChromeLook::Normal);
    EXPECT_FALSE(form.Chrome.LabelAd->Style().underline);
    for (int i = 1; i < 3; ++i) {
        EXPECT_FALSE(form.Chrome.ImageMin[static_cast<std::size_t>(i)]->Visible());
        EXPECT_FALSE(form.Chrome.ImageExit[static_cast<std::size_t>(i)]->Visible());
    }
}

TEST_F(MainWindowChrome, MinimiseSendsItsRequestOnlyFromThePressedLook) {
    form.InitialLayout();
    // Press, move over it (back to hover), release: nothing happens.
    form.Chrome.ImageMin[0]->onMouseDown(MouseButton::Left);
    form.Chrome.ImageMin[2]->onMouseMove(MouseButton::Left);
    form.Chrome.ImageMin[1]->onMouseUp(MouseButton::Left);
    form.Chrome.ImageMin[1]->onClick();
    EXPECT_EQ(host.minimise_requests, 0);
    // A plain click sends it from MouseUp and again from Click.
    form.Chrome.ImageMin[1]->onMouseDown(MouseButton::Left);
    form.Chrome.ImageMin[2]->onMouseUp(MouseButton::Left);
    form.Chrome.ImageMin[2]->onClick();
    EXPECT_EQ(host.minimise_requests, 2);
    // The right button minimises too.
    form.Form_MouseMove();
    form.Chrome.ImageMin[0]->onMouseDown(MouseButton::Right);
    form.Chrome.ImageMin[2]->onMouseUp(MouseButton::Right);
    EXPECT_EQ(host.minimise_requests, 3);
    EXPECT_TRUE(host.shown);
}

TEST_F(MainWindowChrome, CloseHidesAndArmsTheAdTimer) {
    form.InitialLayout();
    form.TimerAd.SetEnabled(false);
    // Right press and release on close hides (no click follows a right press).
    form.Chrome.ImageExit[0]->onMouseDown(MouseButton::Right);
    form.Chrome.ImageExit[2]->onMouseUp(MouseButton::Right);
    EXPECT_FALSE(host.shown);
    EXPECT_TRUE(form.TimerAd.Enabled());
    EXPECT_TRUE(timers.IsRunning(form.TimerAd));

    // Press, move over it, release: the release does nothing, the click hides.
    host.shown = true;
    form.Chrome.ImageExit[0]->onMouseDown(MouseButton::Left);
    form.Chrome.ImageExit[2]->onMouseMove(MouseButton::Left);
    form.Chrome.ImageExit[1]->onMouseUp(MouseButton::Left);
    EXPECT_TRUE(host.shown);
    form.Chrome.ImageExit[1]->onClick();
    EXPECT_FALSE(host.shown);
}

TEST_F(MainWindowChrome, APlatformCloseHidesLikeTheCloseImage) {
    form.TimerAd.SetEnabled(false);
    form.Form_PlatformClose();
    EXPECT_FALSE(host.shown);
    EXPECT_TRUE(form.TimerAd.Enabled());
}

TEST_F(MainWindowChrome, CentresWithFractionsOfTwips) {
    host.screen_width = 1025 * 15;
    host.screen_height = 768 * 15;
    form.CentreOnScreen();
    EXPECT_DOUBLE_EQ(host.left, (1025 * 15 - 11790) / 2.0);
    EXPECT_DOUBLE_EQ(host.top, (768 * 15 - 8355) / 2.0);
}

TEST(TwipsToPixels, RoundsToTheNearestPixel) {
    EXPECT_EQ(TwipsToPixels(10800), 720);
    EXPECT_EQ(TwipsToPixels(2540), 169);
    EXPECT_EQ(TwipsToPixels(3590), 239);
    EXPECT_EQ(TwipsToPixels(8), 1);
    EXPECT_EQ(TwipsToPixels(7), 0);
}

}  // namespace
}  // namespace vellumar
