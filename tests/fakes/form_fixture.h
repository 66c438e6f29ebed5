#pragma once
// A main window wired to fakes, for tests of its behaviour.

#include <gtest/gtest.h>

#include "app/autorun.h"
#include "app/main_window.h"
#include "app/settings.h"
#include "fakes/fake_platform.h"
#include "fakes/fake_system.h"

namespace vellumar::testing {

inline const std::string kIniPath = "C:\\Tools\\Vellumar\\Config.ini";
inline const std::string kExePath = "C:\\Tools\\Vellumar\\vellumar.exe";

class FormFixture : public ::testing::Test {
  protected:
    CallLog log;
    FakeProfileStore store{&log};
    FakeRunKey run_key{&log};
    ManualTimerService timers;
    SettingsFile settings{store, kIniPath};
    Autorun autorun{run_key, kExePath};
    FakeHost host{log};
    FakeDesktop desktop;
    FakeProcesses processes;
    FakeMemoryStatus memory;
    FakeClock clock;
    FakePump pump;
    FakeRandom random;
    FakeSession boxes{log};
    SystemServices system{desktop, processes, memory, clock, pump, random, boxes};
    MainWindow form{timers, settings, autorun, system};

    void SetUp() override { form.AttachHost(&host); }

    void Store(SettingKey key, std::string value) {
        store.Set(kIniPath, key.section, key.key, std::move(value));
    }
    std::string Stored(SettingKey key) const { return store.Get(kIniPath, key.section, key.key); }
    // Startup's layout, lists and settings, as the load sequence runs them.
    void LoadLayoutAndSettings() {
        form.InitialLayout();
        form.FillLists();
        form.ReadSettings();
    }
    int VisiblePanels() const {
        int n = 0;
        for (auto& page : form.Pages) n += page.panel->Visible() ? 1 : 0;
        return n;
    }
    int HighlightedButtons() const {
        int n = 0;
        for (auto& page : form.Pages) n += page.button[1]->Visible() ? 1 : 0;
        return n;
    }
};

}  // namespace vellumar::testing
