#pragma once
// Fakes of the process and module snapshots and of the shell's file icons.

#include <map>
#include <set>
#include <string>
#include <vector>

#include "engine/cpu_limit_dialog.h"
#include "platform/process_snapshot.h"

namespace vellumar::testing {

class FakeIcon : public IconPicture {
  public:
    FakeIcon(std::string path, bool small) : path(std::move(path)), small(small) {}
    std::uintptr_t IconHandle() const override { return reinterpret_cast<std::uintptr_t>(this); }
    std::string path;
    bool small;
};

class FakeSnapshots : public ProcessSnapshots, public FileIcons {
  public:
    struct Process {
        ProcessId id;
        std::string exe_file;
        std::vector<std::string> modules;  // none: cannot be inspected
    };
    std::vector<ProcessEntry> ProcessEntries() override {
        std::vector<ProcessEntry> entries;
        for (const Process& p : processes) entries.push_back({p.id, p.exe_file});
        return entries;
    }
    void VisitModulePaths(ProcessId process,
                          const std::function<bool(const std::string&)>& visit) override {
        for (const Process& p : processes) {
            if (p.id != process)
                continue;
            for (const std::string& module : p.modules) {
                if (visit(module))
                    return;
            }
        }
    }
    SharedIcon FileIcon(const std::string& path, bool small) override {
        ++icon_fetches;
        if (no_icon.count(path))
            return nullptr;
        return std::make_shared<FakeIcon>(path, small);
    }
    // A process whose first module is its executable.
    void Add(ProcessId id, const std::string& name, const std::string& folder = "C:\\Apps\\") {
        processes.push_back({id, name, {folder + name}});
    }
    void Remove(ProcessId id) {
        std::erase_if(processes, [&](const Process& p) { return p.id == id; });
    }

    std::vector<Process> processes;
    std::set<std::string> no_icon;
    int icon_fetches = 0;
};

// Runs `on_show` while the dialog is "on the screen"; Close ends it.
class FakeDialogHost : public CpuLimitDialogHost {
  public:
    void ShowModal() override {
        ++shows;
        if (on_show)
            on_show();
    }
    void Close() override { ++closes; }
    std::function<void()> on_show;
    int shows = 0;
    int closes = 0;
};

}  // namespace vellumar::testing
