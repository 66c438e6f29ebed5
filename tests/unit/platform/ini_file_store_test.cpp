#include "platform/ini_file_store.h"

#include <gtest/gtest.h>

#include "fakes/fake_platform.h"

namespace vellumar {
namespace {

using testing::FakeFileSystem;

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

TEST(IniFileStore, AHeldFileIsAnsweredAtOnceAndAskedAgainNextTime) {
    FakeFileSystem files;
    files.Put(kPath, kOld);
    files.files[kPath].locked_for = 1;
    IniFileStore store(files);
    EXPECT_EQ(store.Status(kPath), FileStatus::Locked);
    EXPECT_EQ(store.Read(kPath, "setting", "ONTOP", 255), "0");

    files.files[kPath].locked_for = 1;
    EXPECT_EQ(store.WriteAll(kPath, {{"Setting", "Ontop", "1"}}), FileStatus::Locked);
    EXPECT_EQ(files.Bytes(kPath), kOld);
    EXPECT_EQ(files.files.count(std::string(kPath) + ".tmp"), 0u);
}

}  // namespace
}  // namespace vellumar
