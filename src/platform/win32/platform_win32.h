#pragma once
// Win32 implementations of the portable platform interfaces: the Run key, files and folders, the
// instance lock, the debug privilege, message boxes and window timers.

#include <windows.h>

#include <string>
#include <vector>

#include "platform/file_system.h"
#include "platform/run_key.h"
#include "platform/session.h"
#include "platform/timer.h"
#include "platform/win32/handles.h"
#include "platform/win32/window_base.h"

namespace vellumar::win32 {

class Win32RunKey : public RunKey {
  public:
    // The key path below the root; tests point it elsewhere.
    explicit Win32RunKey(std::wstring key_path = kRunKeyPath) : key_path_(std::move(key_path)) {}
    bool SetValue(RegistryRoot root, std::string_view name, std::string_view data) override;
    bool DeleteValue(RegistryRoot root, std::string_view name) override;

    static constexpr const wchar_t* kRunKeyPath =
        L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";

  private:
    std::wstring key_path_;
};

class Win32FileSystem : public FileSystem {
  public:
    std::string ExecutablePath() override;
    std::string UserAppDataFolder() override;
    bool CanWriteInFolder(const std::string& folder) override;
    bool EnsureFolder(const std::string& folder) override;
    FileStatus ReadFile(const std::string& path, std::string& bytes) override;
    std::optional<std::int64_t> LastWriteTime(const std::string& path) override;
    FileStatus WriteNewFile(const std::string& path, std::string_view bytes) override;
    FileStatus ReplaceFile(const std::string& replacement, const std::string& target) override;
    void RemoveFile(const std::string& path) override;
};

// A path as the wide file functions take it: long paths get the
// extended-length prefix (\\?\ or \\?\UNC\), which lifts the MAX_PATH limit.
std::wstring FileApiPath(std::string_view path);

// The lock is a named mutex of the signed-in session; it is held until the
// object is destroyed (the end of the process).
class Win32InstanceLock : public InstanceLock {
  public:
    explicit Win32InstanceLock(std::wstring name = kMutexName) : name_(std::move(name)) {}
    bool Acquire() override;

    static constexpr const wchar_t* kMutexName = L"Local\\Vellumar.SingleInstance";

  private:
    std::wstring name_;
    UniqueHandle mutex_;
};

class Win32Privileges : public Privileges {
  public:
    void EnableDebugPrivilege() override;
};

class Win32MessageBoxes : public MessageBoxes {
  public:
    void SetOwner(HWND owner) { owner_ = owner; }
    void ShowMessage(const std::string& title, const std::string& text) override;
    void ShowInformation(const std::string& title, const std::string& text) override;
    void ShowWarning(const std::string& title, const std::string& text) override;

  private:
    HWND owner_ = nullptr;
};

// Window-message timers on a hidden message-only window of the GUI thread.
class Win32TimerService : public TimerService, private Window {
  public:
    Win32TimerService();
    void Start(Timer& timer) override;
    void Stop(Timer& timer) override;

  private:
    LRESULT HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) override;

    struct Entry {
        UINT_PTR id;
        Timer* timer;
    };
    std::vector<Entry>::iterator EntryOf(const Timer& timer);

    // A handful of timers, looked up at every tick: a flat table keeps the
    // lookup on one or two cache lines. Ids are never reused, so a tick
    // already queued for a stopped timer reaches no other.
    std::vector<Entry> entries_;
    UINT_PTR next_id_ = 1;
};

}  // namespace vellumar::win32
