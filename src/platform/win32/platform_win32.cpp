#include "platform/win32/platform_win32.h"

#include <shlobj.h>

#include <vector>

#include "platform/win32/text.h"

namespace vellumar::win32 {

std::string Win32ProfileStore::Read(const std::string& path, std::string_view section,
                                    std::string_view key, int capacity) {
    if (capacity <= 0)
        return {};
    std::vector<wchar_t> buffer(static_cast<std::size_t>(capacity), L'\0');
    const DWORD length =
        ::GetPrivateProfileStringW(Widen(section).c_str(), Widen(key).c_str(), L"", buffer.data(),
                                   static_cast<DWORD>(capacity), Widen(path).c_str());
    return Narrow(std::wstring_view(buffer.data(), length));
}

bool Win32ProfileStore::Write(const std::string& path, std::string_view section,
                              std::string_view key, std::string_view value) {
    return ::WritePrivateProfileStringW(Widen(section).c_str(), Widen(key).c_str(),
                                        Widen(value).c_str(), Widen(path).c_str()) != FALSE;
}

namespace {
HKEY RootKey(RegistryRoot root) {
    return root == RegistryRoot::LocalMachine ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER;
}
}  // namespace

bool Win32RunKey::SetValue(RegistryRoot root, std::string_view name, std::string_view data) {
    HKEY raw = nullptr;
    if (::RegCreateKeyExW(RootKey(root), key_path_.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                          &raw, nullptr) != ERROR_SUCCESS) {
        return false;
    }
    UniqueRegKey key(raw);
    const std::wstring wide = Widen(data);
    const auto bytes = static_cast<DWORD>((wide.size() + 1) * sizeof(wchar_t));
    return ::RegSetValueExW(key.Get(), Widen(name).c_str(), 0, REG_SZ,
                            reinterpret_cast<const BYTE*>(wide.c_str()), bytes) == ERROR_SUCCESS;
}

bool Win32RunKey::DeleteValue(RegistryRoot root, std::string_view name) {
    HKEY raw = nullptr;
    const LONG opened = ::RegOpenKeyExW(RootKey(root), key_path_.c_str(), 0, KEY_SET_VALUE, &raw);
    if (opened == ERROR_FILE_NOT_FOUND)
        return true;
    if (opened != ERROR_SUCCESS)
        return false;
    UniqueRegKey key(raw);
    const LONG deleted = ::RegDeleteValueW(key.Get(), Widen(name).c_str());
    return deleted == ERROR_SUCCESS || deleted == ERROR_FILE_NOT_FOUND;
}

std::string Win32FileSystem::ExecutablePath() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length =
            ::GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0)
            return {};
        if (length < path.size()) {
            path.resize(length);
            return Narrow(path);
        }
        path.resize(path.size() * 2);
    }
}

std::string Win32FileSystem::UserAppDataFolder() {
    wchar_t path[MAX_PATH] = {};
    if (FAILED(::SHGetFolderPathW(nullptr, CSIDL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, path))) {
        return {};
    }
    return Narrow(path);
}

bool Win32FileSystem::CanWriteInFolder(const std::string& folder) {
    // Attributes and ACLs do not tell the whole story (virtualisation,
    // read-only media), so try: create a file that is deleted on close.
    const std::wstring probe =
        Widen(folder) + L"\\.vellumar-write-test-" + std::to_wstring(::GetCurrentProcessId());
    UniqueHandle file(::CreateFileW(probe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                    FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr));
    return static_cast<bool>(file);
}

bool Win32FileSystem::EnsureFolder(const std::string& folder) {
    const int result = ::SHCreateDirectoryExW(nullptr, Widen(folder).c_str(), nullptr);
    return result == ERROR_SUCCESS || result == ERROR_ALREADY_EXISTS || result == ERROR_FILE_EXISTS;
}

bool Win32InstanceLock::Acquire() {
    mutex_.Reset(::CreateMutexW(nullptr, FALSE, name_.c_str()));
    const DWORD error = ::GetLastError();
    if (!mutex_)
        return error != ERROR_ACCESS_DENIED;  // held by another user's elevated copy
    return error != ERROR_ALREADY_EXISTS;
}

void Win32Privileges::EnableDebugPrivilege() {
    HANDLE raw = nullptr;
    if (!::OpenProcessToken(::GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &raw)) {
        return;
    }
    UniqueHandle token(raw);
    TOKEN_PRIVILEGES privileges{};
    privileges.PrivilegeCount = 1;
    privileges.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
    if (!::LookupPrivilegeValueW(nullptr, L"SeDebugPrivilege", &privileges.Privileges[0].Luid)) {
        return;
    }
    DWORD returned = 0;
    ::AdjustTokenPrivileges(token.Get(), FALSE, &privileges, 0, nullptr, &returned);
}

void Win32MessageBoxes::ShowMessage(const std::string& title, const std::string& text) {
    ::MessageBoxW(owner_, Widen(text).c_str(), Widen(title).c_str(), MB_OK | MB_SETFOREGROUND);
}

void Win32MessageBoxes::ShowInformation(const std::string& title, const std::string& text) {
    ::MessageBoxW(owner_, Widen(text).c_str(), Widen(title).c_str(), MB_OK | MB_ICONINFORMATION);
}

void Win32MessageBoxes::ShowWarning(const std::string& title, const std::string& text) {
    ::MessageBoxW(owner_, Widen(text).c_str(), Widen(title).c_str(), MB_OK | MB_ICONWARNING);
}

Win32TimerService::Win32TimerService() {
    Create(WindowClassSpec{L"Vellumar.Timers"}, 0, L"", 0, 0, 0, 0, 0, HWND_MESSAGE);
}

void Win32TimerService::Start(Timer& timer) {
    auto [it, inserted] = ids_.try_emplace(&timer, next_id_);
    if (inserted) {
        timers_[next_id_] = &timer;
        ++next_id_;
    }
    // SetTimer with an existing id restarts it with the new interval.
    ::SetTimer(Handle(), it->second, static_cast<UINT>(timer.IntervalMs()), nullptr);
}

void Win32TimerService::Stop(Timer& timer) {
    const auto it = ids_.find(&timer);
    if (it == ids_.end())
        return;
    if (Handle())
        ::KillTimer(Handle(), it->second);
    timers_.erase(it->second);
    ids_.erase(it);
}

LRESULT Win32TimerService::HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) {
    if (message == WM_TIMER) {
        const auto it = timers_.find(static_cast<UINT_PTR>(wparam));
        if (it != timers_.end())
            it->second->Tick();
        return 0;
    }
    return Window::HandleMessage(message, wparam, lparam);
}

}  // namespace vellumar::win32
