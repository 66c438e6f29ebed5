#include "platform/ini_file_store.h"

#include <gtest/gtest.h>

#include "fakes/fake_platform.h"

namespace vellumar {
namespace {

using testing::FakeFileSystem;

struct EditCase {
    const char* name;
    std::string before;
    std::string after;  // after Set("Setting", "Ontop", "1")
};

TEST(IniText, AnEditChangesOneLineAndKeepsTheRestAndTheEncoding) {
    auto utf16 = [](std::string_view ascii) {
        std::string bytes = "\xFF\xFE";
        for (char c : ascii) bytes += {c, '\0'};
        return bytes;
    };
    const std::string utf16_before = utf16("[Setting]\r\n");
    const std::string utf16_after = utf16("[Setting]\r\nOntop=1\r\n");
    const EditCase cases[] = {
        {"new file", "", "[Setting]\r\nOntop=1\r\n"},
        {"value replaced, case kept, comments kept",
         "; mine\r\n[setting]\r\n  ONTOP = 0 \r\nAutomin=1\r\n",
         "; mine\r\n[setting]\r\nONTOP=1\r\nAutomin=1\r\n"},
        {"key added after the section's last line", "[Setting]\nAutomin=1\n\n[Memory]\nx=1",
         "[Setting]\nAutomin=1\nOntop=1\n\n[Memory]\nx=1"},
        {"section added after a last line without break", "[Memory]\r\nx=\xC4\xE3",
         "[Memory]\r\nx=\xC4\xE3\r\n[Setting]\r\nOntop=1\r\n"},
        {"UTF-8 mark kept", "\xEF\xBB\xBF[Setting]\r\nOntop=0\r\n",
         "\xEF\xBB\xBF[Setting]\r\nOntop=1\r\n"},
        {"UTF-16 stays UTF-16", utf16_before, utf16_after},
    };
    for (const auto& c : cases) {
        IniText ini = IniText::FromBytes(c.before);
        EXPECT_EQ(IniText::FromBytes(c.before).ToBytes(), c.before) << c.name;
        ini.Set("Setting", "Ontop", "1");
        EXPECT_EQ(ini.ToBytes(), c.after) << c.name;
        EXPECT_EQ(IniText::FromBytes(ini.ToBytes()).Get("SETTING", "ontop"), "1") << c.name;
    }
    const IniText quoted = IniText::FromBytes("[A]\r\nk = \"High\" \r\n;k=2\r\n");
    EXPECT_EQ(quoted.Get("a", "K"), "High");
    EXPECT_EQ(quoted.Get("a", ";k"), std::nullopt);
}

constexpr const char* kPath = "C:\\Tools\\Vellumar\\Config.ini";
const std::string kOld = "; keep\r\n[Setting]\r\nOntop=0\r\n";
const std::string kNew = "; keep\r\n[Setting]\r\nOntop=1\r\n";

TEST(IniFileStore, ASaveCutShortAtAnyStepLeavesTheOldFileOrTheNewOne) {
    for (int crash_after = 0;; ++crash_after) {
        FakeFileSystem files;
        files.Put(kPath, kOld);
        files.crash_after = crash_after;
        IniFileStore store(files);
        const bool saved = store.Write(kPath, "Setting", "Ontop", "1");
        const std::string on_disk = files.Bytes(kPath);
        EXPECT_TRUE(on_disk == kOld || on_disk == kNew) << crash_after << ": " << on_disk;
        if (!files.crashed) {
            EXPECT_TRUE(saved);
            EXPECT_EQ(on_disk, kNew);
            break;
        }
    }
}

TEST(IniFileStore, AFailedStepLeavesTheOldFileAndNoTemporaryFile) {
    const std::string temporary = std::string(kPath) + ".tmp";
    for (const std::string& step : {"write " + temporary, "replace " + std::string(kPath)}) {
        FakeFileSystem files;
        files.Put(kPath, kOld);
        files.fail_step = step;
        IniFileStore store(files);
        EXPECT_FALSE(store.Write(kPath, "Setting", "Ontop", "1")) << step;
        EXPECT_EQ(files.Bytes(kPath), kOld) << step;
        EXPECT_EQ(files.files.count(temporary), 0u) << step;
    }
}

TEST(IniFileStore, ALockedFileIsTriedAgainForAboutASecondThenLeftAlone) {
    FakeFileSystem files;
    files.Put(kPath, kOld);
    files.files[kPath].locked_for = 2;
    IniFileStore store(files);
    EXPECT_EQ(store.Read(kPath, "setting", "ONTOP", 255), "0");
    EXPECT_EQ(files.waited_ms, 2 * IniFileStore::kLockRetryWaitMs);

    files.files[kPath].locked_for = 1000;
    files.waited_ms = 0;
    EXPECT_FALSE(store.Write(kPath, "Setting", "Ontop", "1"));
    EXPECT_EQ(files.Bytes(kPath), kOld);
    EXPECT_GE(files.waited_ms, 750);
    EXPECT_LE(files.waited_ms, 1500);
}

}  // namespace
}  // namespace vellumar
