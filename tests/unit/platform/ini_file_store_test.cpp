#include "platform/ini_file_store.h"

#include <gtest/gtest.h>

#include "fakes/fake_platform.h"

namespace vellumar {
namespace {

using testing::FakeFileSystem;

TEST(IniText, AnEditChangesOneLineAndKeepsTheRestAndTheEncoding) {
    auto utf16 = [](std::string_view ascii) {
        std::string bytes = "\xFF\xFE";
        for (char c : ascii) bytes += {c, '\0'};
        return bytes;
    };
    const struct {
        std::string before, after;  // after Set("Setting", "Ontop", "1")
    } cases[] = {
        {"", "[Setting]\r\nOntop=1\r\n"},
        {"; mine\r\n[setting]\r\n  ONTOP = 0 \r\nAutomin=1\r\n",
         "; mine\r\n[setting]\r\nONTOP=1\r\nAutomin=1\r\n"},
        {"[Setting]\nAutomin=1\n\n[Memory]\nx=1", "[Setting]\nAutomin=1\nOntop=1\n\n[Memory]\nx=1"},
        {"[Memory]\r\nx=\xC4\xE3", "[Memory]\r\nx=\xC4\xE3\r\n[Setting]\r\nOntop=1\r\n"},
        {"\xEF\xBB\xBF[Setting]\r\nOntop=0\r\n", "\xEF\xBB\xBF[Setting]\r\nOntop=1\r\n"},
        {utf16("[Setting]\r\n"), utf16("[Setting]\r\nOntop=1\r\n")},
    };
    for (const auto& c : cases) {
        IniText ini = IniText::FromBytes(c.before);
        EXPECT_EQ(ini.ToBytes(), c.before);
        ini.Set("Setting", "Ontop", "1");
        EXPECT_EQ(ini.ToBytes(), c.after);
        EXPECT_EQ(IniText::FromBytes(ini.ToBytes()).Get("SETTING", "ontop"), "1") << c.after;
    }
    const IniText quoted = IniText::FromBytes("[A]\r\nk = \"High\" \r\n;k=2\r\n");
    EXPECT_EQ(quoted.Get("a", "K"), "High");
    EXPECT_EQ(quoted.Get("a", ";k"), std::nullopt);
}

constexpr const char* kPath = "C:\\Tools\\Vellumar\\Config.ini";
const std::string kOld = "; keep\r\n[Setting]\r\nOntop=0\r\n";
const std::string kNew = "; keep\r\n[Setting]\r\nOntop=1\r\n";

// A crash after any number of changes to the disk, or a failure of any of
// them, leaves the old file or the new one, and no temporary file after a
// failure that the program lived through.
TEST(IniFileStore, ASaveIsAllOrNothingWhereverItStops) {
    const std::string temporary = std::string(kPath) + ".tmp";
    const std::string failures[] = {"", "write " + temporary, "replace " + std::string(kPath)};
    for (const std::string& fail : failures) {
        for (int crash_after = fail.empty() ? 0 : -1;; ++crash_after) {
            FakeFileSystem files;
            files.Put(kPath, kOld);
            files.crash_after = crash_after;
            files.fail_step = fail;
            IniFileStore store(files);
            const bool saved = store.Write(kPath, "Setting", "Ontop", "1");
            EXPECT_EQ(files.Bytes(kPath), saved ? kNew : kOld) << fail << crash_after;
            if (!files.crashed) {
                EXPECT_EQ(saved, fail.empty());
                EXPECT_EQ(files.files.count(temporary), 0u);
                break;
            }
        }
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
