#include "app/autorun.h"

#include <gtest/gtest.h>

#include "fakes/fake_platform.h"

namespace vellumar {
namespace {

using testing::FakeRunKey;

TEST(AutorunCommand, IsTheQuotedExecutablePathWithItsExtensionAsExe) {
    // Quoted always: Windows must never take a prefix of the path (a folder
    // with a space, or one added later on the way) for the program to start.
    EXPECT_EQ(AutorunCommand("C:\\Tools\\vellumar.exe"), "\"C:\\Tools\\vellumar.exe\"");
    EXPECT_EQ(AutorunCommand("C:\\Tools\\VELLUMAR.EXE"), "\"C:\\Tools\\VELLUMAR.exe\"");
    EXPECT_EQ(AutorunCommand("D:\\a.b\\vellumar.v2.exe"), "\"D:\\a.b\\vellumar.v2.exe\"");
    EXPECT_EQ(AutorunCommand("C:\\Tools\\vellumar"), "\"C:\\Tools\\vellumar.exe\"");
    EXPECT_EQ(AutorunCommand("C:\\Program Files\\Vellumar\\vellumar.exe"),
              "\"C:\\Program Files\\Vellumar\\vellumar.exe\"");
    EXPECT_EQ(AutorunCommand("C:\\Tools\\my vellumar.exe"), "\"C:\\Tools\\my vellumar.exe\"");
}

TEST(Autorun, WritesTheMachineValueAndClearsBothRoots) {
    FakeRunKey key;
    Autorun autorun(key, "C:\\Tools\\vellumar.exe");
    key.values[{RegistryRoot::CurrentUser, "VLM"}] = "stale";
    autorun.SetAutorun();
    EXPECT_EQ(key.Data(RegistryRoot::LocalMachine, "VLM"), "\"C:\\Tools\\vellumar.exe\"");
    // A per-user copy would start the program twice at sign-in.
    EXPECT_FALSE(key.Has(RegistryRoot::CurrentUser, "VLM"));

    autorun.ClearAutorun();
    EXPECT_TRUE(key.values.empty());
    autorun.ClearAutorun();  // clearing a missing value is silent
    EXPECT_TRUE(key.values.empty());
}

TEST(Autorun, FallsBackToTheUserKeyWithoutMachineRights) {
    FakeRunKey key;
    key.machine_read_only = true;
    Autorun autorun(key, "C:\\Tools\\vellumar.exe");
    autorun.SetAutorun();
    EXPECT_FALSE(key.Has(RegistryRoot::LocalMachine, "VLM"));
    EXPECT_EQ(key.Data(RegistryRoot::CurrentUser, "VLM"), "\"C:\\Tools\\vellumar.exe\"");
    autorun.ClearAutorun();
    EXPECT_FALSE(key.Has(RegistryRoot::CurrentUser, "VLM"));
}

}  // namespace
}  // namespace vellumar
