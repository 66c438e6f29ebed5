#include <gtest/gtest.h>

#include "app/settings.h"
#include "fakes/fake_platform.h"
#include "platform/ini_file_store.h"

namespace vellumar {
namespace {

using testing::FakeFileSystem;
using testing::ManualTimerService;

enum class Folder { Writable, ReadOnly };
enum class File { Absent, Present, ReadOnly };
enum class Fallback { Absent, Older, Newer };
enum class Place { Program, AppData, Nowhere };

struct LocationCase {
    Folder folder;
    File file;
    Fallback fallback;
    Place read_from;  // at start
    Place saved_to;   // a change
};

constexpr const char* kBeside = "C:\\Tools\\Vellumar\\Config.ini";
constexpr const char* kAppData = "C:\\Users\\ann\\AppData\\Roaming\\Vellumar\\Config.ini";

TEST(SettingsLocation, ReadsTheNewestCopyAndSavesWhereItCanWithEverySetting) {
    using enum Place;
    const LocationCase cases[] = {
        {Folder::Writable, File::Absent, Fallback::Absent, Nowhere, Program},
        {Folder::Writable, File::Absent, Fallback::Older, AppData, Program},
        {Folder::Writable, File::Present, Fallback::Absent, Program, Program},
        {Folder::Writable, File::Present, Fallback::Older, Program, Program},
        {Folder::Writable, File::Present, Fallback::Newer, AppData, Program},
        {Folder::Writable, File::ReadOnly, Fallback::Absent, Program, AppData},
        {Folder::Writable, File::ReadOnly, Fallback::Newer, AppData, AppData},
        {Folder::ReadOnly, File::Absent, Fallback::Absent, Nowhere, AppData},
        {Folder::ReadOnly, File::Present, Fallback::Absent, Program, AppData},
        {Folder::ReadOnly, File::Present, Fallback::Older, Program, AppData},
        {Folder::ReadOnly, File::Present, Fallback::Newer, AppData, AppData},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << static_cast<int>(c.folder) << static_cast<int>(c.file)
                                          << static_cast<int>(c.fallback));
        FakeFileSystem files;
        const std::string fallback = "[Setting]\r\nOntop=0\r\n[Memory]\r\nEnableFreeMemory=1\r\n";
        if (c.fallback == Fallback::Older)
            files.Put(kAppData, fallback);
        if (c.file != File::Absent) {
            files.Put(kBeside,
                      "; mine\r\n[Setting]\r\nOntop=1\r\n[Memory]\r\nEnableFreeMemory=1\r\n");
            files.files[kBeside].read_only = c.file == File::ReadOnly;
        }
        if (c.fallback == Fallback::Newer)
            files.Put(kAppData, fallback);
        if (c.folder == Folder::ReadOnly)
            files.read_only_folders.insert("C:\\Tools\\Vellumar");

        IniFileStore store(files);
        SettingsFile settings(store, SettingsLocationsOf(files));
        const std::string ontop = settings.Read(settings::kOntop);
        EXPECT_EQ(ontop, c.read_from == Program ? "1" : c.read_from == AppData ? "0" : "");
        const std::string before = files.Bytes(c.saved_to == Program ? kAppData : kBeside);
        settings.Write(settings::kAutomin, "1");
        // The other place is untouched; the file saved holds every setting.
        EXPECT_EQ(files.Bytes(c.saved_to == Program ? kAppData : kBeside), before);

        IniFileStore restarted_store(files);
        SettingsFile restarted(restarted_store, SettingsLocationsOf(files));
        EXPECT_EQ(restarted.Path(), c.saved_to == Program ? kBeside : kAppData);
        EXPECT_EQ(restarted.Read(settings::kAutomin), "1");
        EXPECT_EQ(restarted.Read(settings::kOntop), ontop);
        if (c.read_from != Nowhere) {
            EXPECT_EQ(restarted.Read(settings::kEnableFreeMemory), "1");
        }
    }
}

TEST(SettingsLocation, ASaveThatFailsEverywhereIsTriedAgainAtTheNextChangeAndAtExit) {
    for (const bool at_exit : {false, true}) {
        FakeFileSystem files;
        files.read_only_folders = {"C:\\Tools\\Vellumar",
                                   "C:\\Users\\ann\\AppData\\Roaming\\Vellumar"};
        IniFileStore store(files);
        SettingsFile settings(store, SettingsLocationsOf(files));
        settings.Write(settings::kOntop, "1");
        EXPECT_FALSE(settings.Flush());

        files.read_only_folders.erase("C:\\Users\\ann\\AppData\\Roaming\\Vellumar");
        if (at_exit) {
            EXPECT_TRUE(settings.Flush());
            EXPECT_EQ(files.Bytes(kAppData), "[Setting]\r\nOntop=1\r\n");
        } else {
            settings.Write(settings::kAutomin, "1");
            EXPECT_EQ(files.Bytes(kAppData), "[Setting]\r\nOntop=1\r\nAutomin=1\r\n");
        }
    }
}

constexpr int kForever = 1 << 30;

// A copy another program holds open is present with its true age. The newer
// one is waited for on timer ticks and read once free; meanwhile the other
// copy (or the defaults) is shown and nothing is written, write-backs
// included, so an older copy never becomes the newer one.
TEST(SettingsLocation, AHeldCopyCountsWithItsAgeAndIsWaitedForBeforeAnythingIsSaved) {
    const struct {
        const char* held;
        bool newer, other_present, released;
    } cases[] = {{kBeside, true, true, true},   {kBeside, true, false, true},
                 {kBeside, false, true, true},  {kAppData, true, true, true},
                 {kAppData, false, true, true}, {kBeside, true, true, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.held << c.newer << c.other_present << c.released);
        const std::string held = c.held, other = held == kBeside ? kAppData : kBeside;
        FakeFileSystem files;
        auto put = [&](const std::string& path) {
            files.Put(path, path == kBeside ? "[Setting]\r\nOntop=1\r\nAutomin=0\r\n"
                                            : "[Setting]\r\nOntop=0\r\nAutomin=1\r\n");
        };
        if (c.other_present && c.newer)
            put(other);
        put(held);
        if (!c.newer)
            put(other);
        files.files[held].locked_for = kForever;
        const std::string newest = c.newer ? held : other;
        ManualTimerService timers;
        IniFileStore store(files);
        SettingsFile settings(store, SettingsLocationsOf(files), &timers);
        int applied = 0;
        settings.onFileRead = [&] { ++applied; };
        EXPECT_EQ(settings.WaitingForHeldFile(), c.newer);
        const std::string shown = c.newer ? other : newest;
        EXPECT_EQ(settings.Read(settings::kOntop), !c.other_present   ? ""
                                                   : shown == kBeside ? "1"
                                                                      : "0");

        // A start's write-back of a box the shown values tick, and a change.
        CheckBox automin("CheckAutoMin", {}, "", {});
        automin.onClick = [&] { settings.WriteFrom(settings::kAutomin, automin); };
        const auto before = files.files;
        settings.ReadInto(settings::kAutomin, automin);
        settings.Write(settings::kAutorun, "1");
        for (int tick = 0; tick < (c.released ? 10 : 41); ++tick) timers.FireAll();
        if (c.newer) {
            EXPECT_EQ(files.files, before);
        }
        if (!c.released) {
            EXPECT_EQ(timers.RunningCount(), 0u);  // done waiting, still unread
            EXPECT_FALSE(settings.Flush());
            EXPECT_EQ(files.files, before);
            continue;
        }
        files.files[held].locked_for = 0;
        for (int tick = 0; tick < 10; ++tick) timers.FireAll();
        EXPECT_EQ(timers.RunningCount(), 0u);
        EXPECT_EQ(applied, c.newer ? 1 : 0);

        IniFileStore restarted_store(files);
        SettingsFile restarted(restarted_store, SettingsLocationsOf(files));
        EXPECT_EQ(restarted.Read(settings::kOntop), newest == kBeside ? "1" : "0");
        EXPECT_EQ(restarted.Read(settings::kAutomin), newest == kBeside ? "0" : "1");
        EXPECT_EQ(restarted.Read(settings::kAutorun), "1");
    }
}

// Saves that meet a held file are tried again on ticks, each with the
// settings as they are then, so the latest change wins; after about a
// second of tries the save falls back with every setting.
TEST(SettingsLocation, SavesThatRaceALockKeepTheLatestSettings) {
    FakeFileSystem files;
    files.Put(kBeside, "[Setting]\r\nOntop=0\r\n");
    ManualTimerService timers;
    IniFileStore store(files);
    SettingsFile settings(store, SettingsLocationsOf(files), &timers);
    files.files[kBeside].locked_for = 2;
    settings.Write(settings::kOntop, "1");
    settings.Write(settings::kOntop, "0");
    settings.Write(settings::kAutomin, "1");
    timers.FireAll();
    EXPECT_EQ(files.Bytes(kBeside), "[Setting]\r\nOntop=0\r\nAutomin=1\r\n");

    files.files[kBeside].locked_for = kForever;
    settings.Write(settings::kOntop, "1");    // try 1
    timers.FireAll();                         // 2
    settings.Write(settings::kAutomin, "0");  // 3
    timers.FireAll();                         // 4
    EXPECT_EQ(files.Bytes(kAppData), "<missing>");
    timers.FireAll();  // the last try falls back
    EXPECT_EQ(files.Bytes(kAppData), "[Setting]\r\nOntop=1\r\nAutomin=0\r\n");
    EXPECT_EQ(timers.RunningCount(), 0u);
}

}  // namespace
}  // namespace vellumar
