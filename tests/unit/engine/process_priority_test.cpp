#include "engine/process_priority.h"

#include <gtest/gtest.h>

#include "fakes/fake_system.h"

namespace vellumar {
namespace {

using testing::FakeClock;
using testing::FakeDesktop;
using testing::FakeProcesses;
using testing::FakeRandom;

class PriorityRaising : public ::testing::Test {
  protected:
    FakeDesktop desktop;
    FakeProcesses processes;
    FakeClock clock;
    FakeRandom random;
    CheckBox enable{"CheckNowImproveProcess", {}, "Enable improve", {}};
    ComboList speed{"ComboSpeed", {}, {}};
    Label now_improving{"LabelNowImproveProcess", {}, "None", {}};
    Label state_now_improving{"LabelStateNowImproving", {}, "None", {}};
    Label speed_figure{"LabelSpeed", {}, "0%", {}};
    Label improved_count{"LabelImprovedCount", {}, "None", {}};
    ListView history{"ListViewHistory",
                     {},
                     {},
                     {{"NO.", 600}, {"Time", 1000}, {"Target", 2800}, {"Priority", 1440}}};
    PriorityRaiser raiser{
        desktop,
        processes,
        clock,
        random,
        {enable, speed, now_improving, state_now_improving, speed_figure, improved_count, history}};

    void SetUp() override {
        speed.AddItem("Above Normal");
        speed.AddItem("High");
        speed.SelectIndex(0);
        enable.SetValue(1);
        desktop.windows = {{1, {"Notepad", 11}},
                           {2, {"Calculator", 22}},
                           {3, {"", 33}},
                           {4, {"Notepad - second", 44}},
                           {5, {"None of these", 55}},
                           {6, {"Mail \xE9\x82\xAE\xE4\xBB\xB6", 66}}};
    }
    void TickWith(WindowHandle window) {
        desktop.Front(window);
        raiser.Tick();
    }
};

TEST_F(PriorityRaising, ARaiseSetsThePreviousWindowBackAndLogsTheNewTarget) {
    TickWith(1);
    // The window before the first raise was none: this program goes to normal.
    EXPECT_EQ(processes.classes[1000], kNormalPriorityClass);
    EXPECT_EQ(processes.classes[11], kAboveNormalPriorityClass);
    EXPECT_EQ(now_improving.Text(), "Notepad");
    EXPECT_EQ(now_improving.ToolTip(), "Notepad");
    EXPECT_EQ(state_now_improving.Text(), "Notepad");
    EXPECT_EQ(improved_count.Text(), "1");
    ASSERT_EQ(history.RowCount(), 1);
    EXPECT_EQ(history.Row(0),
              (std::vector<std::string>{" 1", "12:34:56", "Notepad", "Above Normal"}));
    EXPECT_EQ(speed_figure.Text(), "25%");  // "2", a digit 2..8 (0.5 * 7 + 2 = 5), "%"

    speed.UserPick(1);
    TickWith(2);
    EXPECT_EQ(processes.classes[11], kNormalPriorityClass);
    EXPECT_EQ(processes.classes[22], kHighPriorityClass);
    EXPECT_EQ(history.Row(1), (std::vector<std::string>{" 2", "12:34:56", "Calculator", "High"}));
    EXPECT_EQ(speed_figure.Text(), "15%");
    EXPECT_EQ(raiser.ImprovedCount(), 2);
}

TEST_F(PriorityRaising, PutBackRestoresOnlyTheClassTheProgramGaveAndOnlyOnce) {
    const struct {
        const char* what;
        std::uint32_t set_by_user;  // 0: untouched since the raise
        std::uint32_t expected;
    } cases[] = {
        {"still raised", 0, kNormalPriorityClass},
        {"changed by the user", 0x40 /* idle */, 0x40},
    };
    for (const auto& c : cases) {
        processes.classes.clear();
        TickWith(c.set_by_user == 0 ? 1 : 4);
        const ProcessId raised = c.set_by_user == 0 ? 11 : 44;
        if (c.set_by_user != 0)
            processes.classes[raised] = c.set_by_user;
        raiser.PutBack();
        EXPECT_EQ(processes.classes[raised], c.expected) << c.what;
        processes.classes[raised] = kHighPriorityClass;
        raiser.PutBack();  // nothing raised any more
        EXPECT_EQ(processes.classes[raised], kHighPriorityClass) << c.what;
    }
}

TEST_F(PriorityRaising, TheSameWindowOrTheSameTargetRaisesNothing) {
    TickWith(1);
    TickWith(1);
    EXPECT_EQ(history.RowCount(), 1);
    // A title that begins with the current target's title counts as it.
    TickWith(4);
    EXPECT_EQ(history.RowCount(), 1);
    EXPECT_EQ(raiser.ImprovedCount(), 1);
    EXPECT_EQ(processes.classes.count(44), 0u);
}

TEST_F(PriorityRaising, BeforeTheFirstRaiseTitlesBeginningWithNoneAreNotTaken) {
    TickWith(5);
    EXPECT_EQ(history.RowCount(), 0);
    EXPECT_EQ(now_improving.Text(), "None");
    TickWith(2);
    EXPECT_EQ(history.RowCount(), 1);
}

TEST_F(PriorityRaising, EmptyTitlesRaiseNothingButTheirProcessGoesBackToNormalNext) {
    TickWith(1);  // A raised
    TickWith(3);  // empty title
    EXPECT_EQ(history.RowCount(), 1);
    processes.classes[33] = kHighPriorityClass;
    TickWith(2);  // B: the empty-titled window's process goes to normal, A keeps its class
    EXPECT_EQ(processes.classes[33], kNormalPriorityClass);
    EXPECT_EQ(processes.classes[11], kAboveNormalPriorityClass);
    EXPECT_EQ(processes.classes[22], kAboveNormalPriorityClass);
}

TEST_F(PriorityRaising, UntickingFreezesTheWindowsAndChangingTheClassAppliesToTheNextTarget) {
    TickWith(1);
    enable.SetValue(0);
    TickWith(2);
    EXPECT_EQ(raiser.ForegroundWindow(), 1u);
    EXPECT_EQ(history.RowCount(), 1);
    speed.UserPick(1);
    EXPECT_EQ(processes.classes[11], kAboveNormalPriorityClass);
    enable.SetValue(1);
    TickWith(2);
    EXPECT_EQ(processes.classes[22], kHighPriorityClass);
    EXPECT_EQ(raiser.LastForegroundWindow(), 1u);
}

TEST_F(PriorityRaising, LongTitlesAreCutTo254CharactersAndUnicodeTitlesStayIntact) {
    desktop.windows[7] = {std::string(300, 'x'), 77};
    TickWith(7);
    EXPECT_EQ(now_improving.Text().size(), 254u);
    EXPECT_EQ(history.Row(0)[2].size(), 254u);
    TickWith(6);
    EXPECT_EQ(now_improving.Text(), "Mail \xE9\x82\xAE\xE4\xBB\xB6");
}

TEST_F(PriorityRaising, AProcessThatCannotBeOpenedStillLogsTheRaise) {
    processes.locked[22] = true;
    TickWith(2);
    EXPECT_EQ(processes.classes.count(22), 0u);
    EXPECT_EQ(history.RowCount(), 1);
}

TEST_F(PriorityRaising, TheLogKeepsTheNewestRowsAndTheCountStaysTrue) {
    const int raises = kHistoryRowCap + 2;
    for (int i = 0; i < raises; ++i) {
        TickWith(i % 2 ? 2 : 1);
        if (i == 10)
            history.SelectRow(5);
    }
    ASSERT_EQ(history.RowCount(), kHistoryRowCap);
    EXPECT_EQ(history.Row(0)[0], " 3");
    EXPECT_EQ(history.Row(kHistoryRowCap - 1),
              (std::vector<std::string>{" 1002", "12:34:56", "Calculator", "Above Normal"}));
    EXPECT_EQ(history.SelectedRow(), 3);  // the same row, moved up with the others
    EXPECT_EQ(improved_count.Text(), "1002");
}

TEST(SetProcessPriority, ChoosesTheProcessByIdThenWindowThenItself) {
    FakeDesktop desktop;
    FakeProcesses processes;
    desktop.windows[9] = {"w", 99};
    SetProcessPriority(desktop, processes, 5, 9, kHighPriorityClass);
    SetProcessPriority(desktop, processes, 0, 9, kHighPriorityClass);
    SetProcessPriority(desktop, processes, 0, 0, kNormalPriorityClass);
    ASSERT_EQ(processes.applied.size(), 3u);
    EXPECT_EQ(processes.applied[0].first, 5u);
    EXPECT_EQ(processes.applied[1].first, 99u);
    EXPECT_EQ(processes.applied[2].first, 1000u);
}

TEST(RandomDigits, GivesDigitsFromTwoToEight) {
    FakeRandom random;
    for (double r : {0.0, 0.142857, 0.5, 0.999999}) {
        random.value = r;
        const std::string digits = RandomDigits(3, random);
        ASSERT_EQ(digits.size(), 3u);
        for (char d : digits) {
            EXPECT_GE(d, '2');
            EXPECT_LE(d, '8');
        }
    }
    random.value = 0.0;
    EXPECT_EQ(RandomDigits(1, random), "2");
    random.value = 0.999999;
    EXPECT_EQ(RandomDigits(1, random), "8");
    EXPECT_EQ(RandomDigits(0, random), "");
}

}  // namespace
}  // namespace vellumar
