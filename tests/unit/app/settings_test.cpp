#include "app/settings.h"

#include <gtest/gtest.h>

#include "fakes/fake_platform.h"
#include "fakes/form_fixture.h"
#include "platform/ini_file_store.h"

namespace vellumar {
namespace {

using testing::FakeFileSystem;
using testing::FormFixture;

TEST(CheckValueFromText, AcceptsOnlyZeroAndOne) {
    EXPECT_EQ(CheckValueFromText("1"), 1);
    EXPECT_EQ(CheckValueFromText("0"), 0);
    for (const char* bad : {"", "2", "-1", "yes", "1x", " 1", "99999999999999999999"}) {
        EXPECT_EQ(CheckValueFromText(bad), 0) << bad;
    }
}

TEST(SettingsPath, BesideTheExecutableWhenItsFolderCanBeWritten) {
    FakeFileSystem files;
    const SettingsLocations locations = SettingsLocationsOf(files);
    EXPECT_EQ(locations.beside_program, "C:\\Tools\\Vellumar\\Config.ini");
    EXPECT_EQ(locations.app_data, "C:\\Users\\ann\\AppData\\Roaming\\Vellumar\\Config.ini");
    EXPECT_TRUE(files.created.empty());
}

TEST(SettingsPath, InAppDataWhenTheExecutableFolderIsReadOnly) {
    FakeFileSystem files;
    files.executable_path = "C:\\Program Files\\Vellumar\\vellumar.exe";
    files.read_only_folders.insert("C:\\Program Files\\Vellumar");
    IniFileStore store(files);
    SettingsFile settings(store, SettingsLocationsOf(files));
    settings.Write(settings::kOntop, "1");
    EXPECT_EQ(files.Bytes("C:\\Users\\ann\\AppData\\Roaming\\Vellumar\\Config.ini"),
              "[Setting]\r\nOntop=1\r\n");
    EXPECT_EQ(files.created.back(), "C:\\Users\\ann\\AppData\\Roaming\\Vellumar");

    // Without an application-data folder only the place beside the program is left.
    files.app_data.clear();
    EXPECT_EQ(SettingsLocationsOf(files).app_data, "");
}

using SettingsMapping = FormFixture;

TEST_F(SettingsMapping, ValidValuesReachTheirControlsAndAreWrittenBackUnchanged) {
    Store(settings::kEnableImproveProcess, "1");
    Store(settings::kImproveSpeed, "High");
    Store(settings::kEnableFreeMemory, "1");
    Store(settings::kAutoFreeMemoryInterval, "10 minute");
    Store(settings::kAutorun, "0");
    Store(settings::kAutomin, "1");
    Store(settings::kOntop, "1");
    const auto before = store.values;

    LoadLayoutAndSettings();

    EXPECT_EQ(form.ProcessPage.CheckNowImproveProcess->Value(), 1);
    EXPECT_EQ(form.ProcessPage.ComboSpeed->Text(), "High");
    EXPECT_EQ(form.MemoryPage.CheckEnableAutoFreeMemory->Value(), 1);
    EXPECT_EQ(form.MemoryPage.ComboInterval->Text(), "10 minute");
    EXPECT_EQ(form.SettingPage.CheckAutoRun->Value(), 0);
    EXPECT_EQ(form.SettingPage.CheckAutoMin->Value(), 1);
    EXPECT_EQ(form.SettingPage.CheckAlwaysOnTop->Value(), 1);
    // Boxes that became 1 ran their handlers, which wrote the same value back.
    EXPECT_EQ(store.writes, 4);
    EXPECT_EQ(store.values, before);
    EXPECT_FALSE(host.shown);
    EXPECT_TRUE(host.topmost);
}

TEST_F(SettingsMapping, MissingFileGivesUncheckedBoxesAndFirstItemsAndWritesNothing) {
    LoadLayoutAndSettings();
    EXPECT_EQ(form.ProcessPage.CheckNowImproveProcess->Value(), 0);
    EXPECT_EQ(form.MemoryPage.CheckEnableAutoFreeMemory->Value(), 0);
    EXPECT_EQ(form.SettingPage.CheckAutoRun->Value(), 0);
    EXPECT_EQ(form.SettingPage.CheckAutoMin->Value(), 0);
    EXPECT_EQ(form.SettingPage.CheckAlwaysOnTop->Value(), 0);
    EXPECT_EQ(form.ProcessPage.ComboSpeed->Text(), "Above Normal");
    EXPECT_EQ(form.MemoryPage.ComboInterval->Text(), "1 minute");
    EXPECT_EQ(store.writes, 0);
    EXPECT_TRUE(host.shown);
    EXPECT_FALSE(host.topmost);
}

TEST_F(SettingsMapping, BadValuesFallBackWithoutRewritingTheFile) {
    Store(settings::kEnableImproveProcess, "yes");
    Store(settings::kImproveSpeed, "Realtime");
    Store(settings::kEnableFreeMemory, "2");
    Store(settings::kAutoFreeMemoryInterval, "7 minute");
    Store(settings::kAutorun, "");
    Store(settings::kAutomin, "-1");
    Store(settings::kOntop, "on");
    const auto before = store.values;

    LoadLayoutAndSettings();

    EXPECT_EQ(form.ProcessPage.CheckNowImproveProcess->Value(), 0);
    EXPECT_EQ(form.ProcessPage.ComboSpeed->Text(), "Above Normal");
    EXPECT_EQ(form.MemoryPage.CheckEnableAutoFreeMemory->Value(), 0);
    EXPECT_EQ(form.MemoryPage.ComboInterval->Text(), "1 minute");
    EXPECT_EQ(form.SettingPage.CheckAutoMin->Value(), 0);
    EXPECT_EQ(store.writes, 0);
    EXPECT_EQ(store.values, before);
}

TEST_F(SettingsMapping, ListTextsMatchAfterTrimmingAndIgnoringCase) {
    Store(settings::kImproveSpeed, "  high ");
    Store(settings::kAutoFreeMemoryInterval, "5 MINUTE");
    LoadLayoutAndSettings();
    EXPECT_EQ(form.ProcessPage.ComboSpeed->Text(), "High");
    EXPECT_EQ(form.MemoryPage.ComboInterval->Text(), "5 minute");
}

TEST_F(SettingsMapping, EveryControlChangeIsWrittenAtOnceWithItsExactText) {
    LoadLayoutAndSettings();
    form.ProcessPage.CheckNowImproveProcess->UserToggle();
    EXPECT_EQ(Stored(settings::kEnableImproveProcess), "1");
    form.ProcessPage.ComboSpeed->UserPick(1);
    EXPECT_EQ(Stored(settings::kImproveSpeed), "High");
    form.MemoryPage.CheckEnableAutoFreeMemory->UserToggle();
    EXPECT_EQ(Stored(settings::kEnableFreeMemory), "1");
    form.MemoryPage.ComboInterval->UserPick(3);
    EXPECT_EQ(Stored(settings::kAutoFreeMemoryInterval), "10 minute");
    form.SettingPage.CheckAutoMin->UserToggle();
    EXPECT_EQ(Stored(settings::kAutomin), "1");
    form.SettingPage.CheckAutoMin->UserToggle();
    EXPECT_EQ(Stored(settings::kAutomin), "0");
    // Changing Automin has no effect on the window now.
    EXPECT_TRUE(host.shown);
}

TEST_F(SettingsMapping, AlwaysOnTopActsBeforeTheFileIsWritten) {
    LoadLayoutAndSettings();
    log.calls.clear();
    form.SettingPage.CheckAlwaysOnTop->UserToggle();
    form.SettingPage.CheckAlwaysOnTop->UserToggle();
    EXPECT_EQ(log.calls,
              (std::vector<std::string>{"window.topmost", "ini.write Setting.Ontop=1",
                                        "window.notopmost", "ini.write Setting.Ontop=0"}));
}

TEST_F(SettingsMapping, StartWithWindowsWritesAndClearsTheRunValueAtOnce) {
    LoadLayoutAndSettings();
    form.SettingPage.CheckAutoRun->UserToggle();
    EXPECT_EQ(run_key.Data(RegistryRoot::LocalMachine, "VLM"),
              "\"C:\\Tools\\Vellumar\\vellumar.exe\"");
    EXPECT_EQ(Stored(settings::kAutorun), "1");
    form.SettingPage.CheckAutoRun->UserToggle();
    EXPECT_FALSE(run_key.Has(RegistryRoot::LocalMachine, "VLM"));
    EXPECT_EQ(Stored(settings::kAutorun), "0");
}

TEST_F(SettingsMapping, AFailedWriteKeepsTheControlsValue) {
    LoadLayoutAndSettings();
    store.fail_writes = true;
    form.SettingPage.CheckAutoMin->UserToggle();
    EXPECT_EQ(form.SettingPage.CheckAutoMin->Value(), 1);
}

TEST_F(SettingsMapping, AutorunIsRewrittenOrDeletedAtEveryStart) {
    Store(settings::kAutorun, "1");
    LoadLayoutAndSettings();
    EXPECT_TRUE(run_key.Has(RegistryRoot::LocalMachine, "VLM"));

    // A second start with the setting off deletes a value that exists.
    Store(settings::kAutorun, "0");
    MainWindow again(timers, settings, autorun, system);
    again.AttachHost(&host);
    again.FillLists();
    again.ReadSettings();
    EXPECT_FALSE(run_key.Has(RegistryRoot::LocalMachine, "VLM"));
}

}  // namespace
}  // namespace vellumar
