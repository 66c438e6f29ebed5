#include "engine/process_list.h"

#include <gtest/gtest.h>

#include "fakes/fake_process_list.h"

namespace vellumar {
namespace {

using testing::FakeIcon;
using testing::FakeSnapshots;

TEST(GetProcessPath, TakesTheFirstModuleThatContainsTheNameWhateverItsCase) {
    struct Case {
        std::vector<std::string> modules;
        std::string name;
        std::string expected;
    };
    const Case cases[] = {
        {{"C:\\Windows\\Explorer.EXE"}, "explorer.exe", "c:\\windows\\explorer.exe"},
        // A library whose path holds the executable's name comes first.
        {{"C:\\Tools\\app.exe.plugins\\x.dll", "C:\\Tools\\App.exe"},
         "APP.EXE",
         "c:\\tools\\app.exe.plugins\\x.dll"},
        {{"  C:\\A\\Trim.exe\0junk"}, " trim.exe ", "c:\\a\\trim.exe"},
        {{"C:\\\xC3\x84RGER\\\xC3\x84.exe"}, "\xC3\xA4.exe", "c:\\\xC3\xA4rger\\\xC3\xA4.exe"},
        {{"C:\\Other\\other.exe"}, "missing.exe", ""},
        {{}, "denied.exe", ""},
    };
    for (const Case& c : cases) {
        FakeSnapshots snapshots;
        snapshots.processes.push_back({7, c.name, c.modules});
        EXPECT_EQ(GetProcessPath(snapshots, 7, c.name), c.expected) << c.name;
    }
}

TEST(ProcessList, RefreshListsPathedProcessesInOrderWithNumbersKeysAndSharedIcons) {
    FakeSnapshots snapshots;
    snapshots.processes.push_back({0, "[System Process]", {}});
    snapshots.Add(40, "explorer.exe");
    snapshots.processes.push_back({44, "secret.exe", {}});
    snapshots.Add(52, "notepad.exe");
    snapshots.Add(60, "notepad.exe");
    snapshots.Add(64, "plain.exe", "C:\\NoIcon\\");
    snapshots.no_icon.insert("c:\\noicon\\plain.exe");
    ListView list{"ListViewProcesses",
                  {},
                  {},
                  {{"ID", 800}, {"PID", 800}, {"Process", 2600}, {"CPU Usage limited", 2000}}};
    struct LastScroll : ControlObserver {
        int row = -1;
        void OnControlChanged(ControlChange change, ChangeDetail detail) override {
            if (change == ControlChange::ScrollToRow)
                row = detail.row;
        }
    } scrolled;
    list.SetObserver(&scrolled);
    ImageList images{"ImageListProcesses"};
    ProcessList processes(snapshots, snapshots, list, images);
    for (int refresh = 0; refresh < 2; ++refresh) {
        snapshots.icon_fetches = 0;
        processes.RefreshProcessList();
        ASSERT_EQ(list.RowCount(), 4);
        const std::vector<std::vector<std::string>> rows = {{"1", "40", "explorer.exe", ""},
                                                            {"2", "52", "notepad.exe", ""},
                                                            {"3", "60", "notepad.exe", ""},
                                                            {"4", "64", "plain.exe", ""}};
        for (int row = 0; row < 4; ++row) EXPECT_EQ(list.Row(row), rows[row]);
        EXPECT_EQ(list.RowIcon(0), "P2");
        EXPECT_EQ(list.RowIcon(2), "P4");
        EXPECT_EQ(list.RowIcon(3), "");  // no icon, still a row
        ASSERT_EQ(images.Entries().size(), 3u);
        EXPECT_EQ(images.Entries()[1].picture, images.Entries()[2].picture);
        EXPECT_TRUE(static_cast<const FakeIcon&>(*images.Entries()[0].picture).small);
        EXPECT_EQ(snapshots.icon_fetches, 3);
        EXPECT_EQ(list.SmallIcons(), &images);
        EXPECT_EQ(list.SelectedRow(), 3);  // the last row, in view
        EXPECT_EQ(scrolled.row, 3);        // scrolled to the last row
    }
    snapshots.processes.clear();
    processes.RefreshProcessList();
    EXPECT_EQ(list.RowCount(), 0);
    EXPECT_TRUE(images.Entries().empty());
    EXPECT_EQ(list.SelectedRow(), -1);
}

}  // namespace
}  // namespace vellumar
