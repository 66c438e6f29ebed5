#pragma once
// Extra idle processes for a benchmark to walk: copies of the running
// benchmark program started with "--idle", ended when the object goes.

#include <windows.h>

#include <string>
#include <vector>

class IdleCopies {
  public:
    explicit IdleCopies(int count) {
        wchar_t self[MAX_PATH] = {};
        ::GetModuleFileNameW(nullptr, self, MAX_PATH);
        for (int i = 0; i < count; ++i) {
            std::wstring command = std::wstring(L"\"") + self + L"\" --idle";
            STARTUPINFOW startup{};
            startup.cb = sizeof(startup);
            PROCESS_INFORMATION info{};
            if (::CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                                 nullptr, &startup, &info)) {
                children_.push_back(info);
            }
        }
    }
    ~IdleCopies() {
        for (PROCESS_INFORMATION& child : children_) {
            ::TerminateProcess(child.hProcess, 0);
            ::CloseHandle(child.hProcess);
            ::CloseHandle(child.hThread);
        }
    }
    IdleCopies(const IdleCopies&) = delete;
    IdleCopies& operator=(const IdleCopies&) = delete;

    std::size_t size() const { return children_.size(); }

  private:
    std::vector<PROCESS_INFORMATION> children_;
};
