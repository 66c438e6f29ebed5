#include "shell/tray_icon.h"

#include <gtest/gtest.h>

#include <vector>

namespace vellumar {
namespace {

struct Call {
    TrayOperation operation;
    TrayIconRecord record;
};

class RecordingArea : public NotificationArea {
  public:
    bool Notify(TrayOperation operation, const TrayIconRecord& record) override {
        calls.push_back({operation, record});
        return accept;
    }
    std::vector<Call> calls;
    bool accept = true;
};

// Frame N is the icon handle 100 + N.
class NumberedFrames : public TrayFrameIcons {
  public:
    NativeIcon FrameIcon(int frame) override { return static_cast<NativeIcon>(100 + frame); }
};

int FrameShown(const Call& call) {
    return static_cast<int>(call.record.icon) - 100;
}

class TrayIcon : public ::testing::Test {
  protected:
    RecordingArea area;
    NumberedFrames frames;
    NativeWindow main_window = 0x4242;
    ModuleTrayIcon icon{area, frames, [this] { return main_window; }};
    int TrayIconFrame = 1;

    void Tick() { TimerTrayIcon_Timer(TrayIconFrame, icon); }
};

TEST_F(TrayIcon, AddAndModifyFillTheWholeRecordAfresh) {
    icon.AddTrayIcon();
    main_window = 0x5151;  // the handle is read at every operation
    icon.ModifyTrayIcon(4);
    ASSERT_EQ(area.calls.size(), 2U);
    EXPECT_EQ(area.calls[0].operation, TrayOperation::Add);
    EXPECT_EQ(FrameShown(area.calls[0]), 1);
    EXPECT_EQ(area.calls[0].record.window, 0x4242U);
    EXPECT_EQ(area.calls[1].operation, TrayOperation::Modify);
    EXPECT_EQ(FrameShown(area.calls[1]), 4);
    EXPECT_EQ(area.calls[1].record.window, 0x5151U);
    for (const Call& call : area.calls) {
        EXPECT_EQ(call.record.id, 0U);
        EXPECT_EQ(call.record.flags, 7U);
        EXPECT_EQ(call.record.callback_message, 2025U);
        EXPECT_EQ(call.record.tip, "Vellumar");
    }
}

TEST_F(TrayIcon, DeleteUsesTheRecordAsTheLastOperationLeftIt) {
    icon.AddTrayIcon();
    icon.ModifyTrayIcon(3);
    icon.AddTrayIcon();
    icon.ModifyTrayIcon(5);
    main_window = 0x9999;  // not read by delete
    icon.DeleteTrayIcon();
    ASSERT_EQ(area.calls.size(), 5U);
    const Call& del = area.calls.back();
    EXPECT_EQ(del.operation, TrayOperation::Delete);
    EXPECT_EQ(del.record.window, 0x4242U);
    EXPECT_EQ(del.record.id, 0U);
    EXPECT_EQ(FrameShown(del), 5);
}

TEST_F(TrayIcon, TheCycleRunsTwoToSixThenOneAndStoresBeforeTheCall) {
    icon.AddTrayIcon();
    std::vector<int> shown;
    std::vector<int> stored_at_call;
    for (int tick = 1; tick <= 13; ++tick) {
        Tick();
        shown.push_back(FrameShown(area.calls.back()));
        stored_at_call.push_back(TrayIconFrame);
    }
    EXPECT_EQ(shown, (std::vector<int>{2, 3, 4, 5, 6, 1, 2, 3, 4, 5, 6, 1, 2}));
    EXPECT_EQ(shown[6], 2);  // the seventh tick shows frame 2 again
    EXPECT_EQ(stored_at_call, shown);
    for (std::size_t i = 1; i < area.calls.size(); ++i)
        EXPECT_EQ(area.calls[i].operation, TrayOperation::Modify);
}

TEST_F(TrayIcon, SixGoesToOneAndACounterOutsideOneToSixMakesTheTickANoOp) {
    TrayIconFrame = 6;
    Tick();
    EXPECT_EQ(TrayIconFrame, 1);
    ASSERT_EQ(area.calls.size(), 1U);
    EXPECT_EQ(FrameShown(area.calls[0]), 1);

    for (int bad : {0, 7, -1, 1000}) {
        area.calls.clear();
        TrayIconFrame = bad;
        Tick();
        EXPECT_EQ(TrayIconFrame, bad);
        EXPECT_TRUE(area.calls.empty()) << bad;
    }
}

TEST_F(TrayIcon, AReAddMidCycleShowsOneWithoutTouchingTheCounter) {
    icon.AddTrayIcon();
    Tick();
    Tick();
    Tick();  // frame 4 on show
    icon.AddTrayIcon();
    EXPECT_EQ(FrameShown(area.calls.back()), 1);
    EXPECT_EQ(TrayIconFrame, 4);
    Tick();
    EXPECT_EQ(FrameShown(area.calls.back()), 5);
}

TEST_F(TrayIcon, AFailingShellChangesNothingAndTheCounterGoesOn) {
    area.accept = false;
    icon.AddTrayIcon();
    Tick();
    Tick();
    EXPECT_EQ(TrayIconFrame, 3);
    EXPECT_EQ(area.calls.size(), 3U);
}

}  // namespace
}  // namespace vellumar
