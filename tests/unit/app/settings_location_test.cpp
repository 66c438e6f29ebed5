#include <gtest/gtest.h>

#include "app/settings.h"
#include "fakes/fake_platform.h"
#include "platform/ini_file_store.h"

namespace vellumar {
namespace {

using testing::FakeFileSystem;

enum class Folder { Writable, ReadOnly };
enum class File { Absent, Present, ReadOnly, Locked };
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
        {Folder::Writable, File::Locked, Fallback::Absent, Nowhere, AppData},
        {Folder::Writable, File::Locked, Fallback::Older, AppData, AppData},
        {Folder::ReadOnly, File::Absent, Fallback::Absent, Nowhere, AppData},
        {Folder::ReadOnly, File::Present, Fallback::Absent, Program, AppData},
        {Folder::ReadOnly, File::Present, Fallback::Older, Program, AppData},
        {Folder::ReadOnly, File::Present, Fallback::Newer, AppData, AppData},
        {Folder::ReadOnly, File::Locked, Fallback::Newer, AppData, AppData},
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
            files.files[kBeside].locked_for = c.file == File::Locked ? 1000 : 0;
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

        for (auto& [path, file] : files.files) file.locked_for = 0;
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

}  // namespace
}  // namespace vellumar
