#include "shell/window_hook.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace vellumar {
namespace {

constexpr unsigned kTaskbarCreated = 0xC123;

class Hook : public ::testing::Test {
  protected:
    std::vector<std::string> actions;
    bool main_shown = false;
    bool menu_shown = false;
    bool dialog_shown = false;
    ModuleSubClass hook{HookActions{[this] { actions.push_back("restore"); },
                                    [this] { actions.push_back("menu"); },
                                    [this] { actions.push_back("add"); }}};

    void SetUp() override {
        hook.SetTaskbarCreatedMessage(kTaskbarCreated);
        hook.AddGateForm([this] { return menu_shown; });
        hook.AddGateForm([this] { return main_shown; });
        hook.AddGateForm([this] { return dialog_shown; });
    }
};

TEST_F(Hook, TheIconActionsRunWhileEveryFormIsHiddenAndReturnZero) {
    EXPECT_EQ(hook.WindowProc(2025, 0, 0x203), 0);
    EXPECT_EQ(hook.WindowProc(2025, 0, 0x204), 0);
    EXPECT_EQ(actions, (std::vector<std::string>{"restore", "menu"}));
}

TEST_F(Hook, AnyShownFormSwallowsTheIconActions) {
    for (bool* shown : {&menu_shown, &main_shown, &dialog_shown}) {
        menu_shown = main_shown = dialog_shown = false;
        *shown = true;
        EXPECT_EQ(hook.WindowProc(2025, 0, 0x203), 0);
        EXPECT_EQ(hook.WindowProc(2025, 0, 0x204), 0);
    }
    EXPECT_TRUE(actions.empty());
}

TEST_F(Hook, TaskbarCreatedAddsTheIconWhateverIsShown) {
    main_shown = true;
    EXPECT_EQ(hook.WindowProc(kTaskbarCreated, 0, 0), 0);
    EXPECT_EQ(actions, (std::vector<std::string>{"add"}));
}

TEST_F(Hook, EveryOtherMessagePassesOnWithoutAnAction) {
    // Other notifications of the icon: moves, clicks, releases, middle button.
    for (std::intptr_t lparam : {0x200, 0x201, 0x202, 0x205, 0x206, 0x207, 0x208, 0x209, 0}) {
        EXPECT_EQ(hook.WindowProc(2025, 0, lparam), std::nullopt) << lparam;
    }
    // The acted-on lParams under another message id.
    for (unsigned message : {2024U, 2026U, 0x0111U, 0x0400U + 2025U}) {
        EXPECT_EQ(hook.WindowProc(message, 0, 0x203), std::nullopt) << message;
        EXPECT_EQ(hook.WindowProc(message, 0, 0x204), std::nullopt) << message;
    }
    EXPECT_TRUE(actions.empty());
}

TEST(HookDecisionTable, MapsMessagesToDecisions) {
    const auto hidden = [] { return false; };
    const auto shown = [] { return true; };
    EXPECT_EQ(DecideHook(2025, 0x203, kTaskbarCreated, hidden), HookDecision::Restore);
    EXPECT_EQ(DecideHook(2025, 0x204, kTaskbarCreated, hidden), HookDecision::OpenMenu);
    EXPECT_EQ(DecideHook(2025, 0x203, kTaskbarCreated, shown), HookDecision::Swallow);
    EXPECT_EQ(DecideHook(2025, 0x204, kTaskbarCreated, shown), HookDecision::Swallow);
    EXPECT_EQ(DecideHook(kTaskbarCreated, 0x203, kTaskbarCreated, shown),
              HookDecision::AddTrayIcon);
    EXPECT_EQ(DecideHook(2025, 0x202, kTaskbarCreated, hidden), HookDecision::PassOn);
    EXPECT_EQ(DecideHook(0x0201, 0x203, kTaskbarCreated, hidden), HookDecision::PassOn);
}

TEST(HookDecisionTable, AFailedRegistrationMatchesNoMessage) {
    const auto hidden = [] { return false; };
    EXPECT_EQ(DecideHook(0, 0, 0, hidden), HookDecision::PassOn);  // WM_NULL
    ModuleSubClass hook{HookActions{}};
    EXPECT_EQ(hook.WindowProc(0, 0, 0), std::nullopt);
}

TEST(HookDecisionTable, TheGateIsAskedOnlyForIconActions) {
    int asked = 0;
    const auto counting = [&] {
        ++asked;
        return false;
    };
    (void)DecideHook(2025, 0x200, kTaskbarCreated, counting);
    (void)DecideHook(kTaskbarCreated, 0, kTaskbarCreated, counting);
    (void)DecideHook(0x000F, 0, kTaskbarCreated, counting);
    EXPECT_EQ(asked, 0);
    (void)DecideHook(2025, 0x204, kTaskbarCreated, counting);
    EXPECT_EQ(asked, 1);
}

}  // namespace
}  // namespace vellumar
