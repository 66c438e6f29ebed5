#include "platform/win32/platform_win32.h"

#include <knownfolders.h>
#include <shlobj.h>

#include <algorithm>
#include <memory>
#include <utility>
#include <vector>

#include "platform/win32/common_controls.h"
#include "platform/win32/modal_loops.h"
#include "platform/win32/text.h"

namespace vellumar::win32 {

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
            // Started through an extended-length path: the plain form is the
            // one the Run value and the settings paths are built from.
            if (path.starts_with(L"\\\\?\\UNC\\"))
                path = L"\\" + path.substr(7);
            else if (path.starts_with(L"\\\\?\\"))
                path = path.substr(4);
            return Narrow(path);
        }
        if (path.size() >= 32768)
            return {};
        path.resize(path.size() * 2);
    }
}

std::wstring FileApiPath(std::string_view path) {
    std::wstring wide = Widen(path);
    for (auto& c : wide) {
        if (c == L'/')
            c = L'\\';
    }
    // Below this length every function takes the plain form (folders are
    // limited to MAX_PATH - 12 so that 8.3 names fit in them).
    if (wide.size() < MAX_PATH - 12 || wide.starts_with(L"\\\\?\\"))
        return wide;
    if (wide.starts_with(L"\\\\"))
        return L"\\\\?\\UNC\\" + wide.substr(2);
    return L"\\\\?\\" + wide;
}

std::string Win32FileSystem::UserAppDataFolder() {
    PWSTR raw = nullptr;
    const HRESULT result = ::SHGetKnownFolderPath(FOLDERID_RoamingAppData, 0, nullptr, &raw);
    const std::unique_ptr<wchar_t, decltype(&::CoTaskMemFree)> path(raw, &::CoTaskMemFree);
    return SUCCEEDED(result) && raw ? Narrow(raw) : std::string();
}

bool Win32FileSystem::CanWriteInFolder(const std::string& folder) {
    // Attributes and ACLs do not tell the whole story (virtualisation,
    // read-only media), so try: create a file that is deleted on close.
    const std::wstring probe =
        FileApiPath(folder + "\\.vellumar-write-test-" + std::to_string(::GetCurrentProcessId()));
    UniqueHandle file(::CreateFileW(probe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                    FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr));
    return static_cast<bool>(file);
}

namespace {

bool IsFolder(const std::wstring& path) {
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

FileStatus StatusOf(DWORD error) {
    switch (error) {
        case ERROR_SUCCESS:
            return FileStatus::Ok;
        case ERROR_FILE_NOT_FOUND:
        case ERROR_PATH_NOT_FOUND:
            return FileStatus::Missing;
        case ERROR_SHARING_VIOLATION:
        case ERROR_LOCK_VIOLATION:
            return FileStatus::Locked;
        case ERROR_ACCESS_DENIED:
        case ERROR_WRITE_PROTECT:
            return FileStatus::Denied;
        default:
            return FileStatus::Failed;
    }
}

}  // namespace

bool Win32FileSystem::EnsureFolder(const std::string& folder) {
    // One level at a time from the top, so that no call meets a path longer
    // than it accepts (SHCreateDirectoryEx stops at MAX_PATH).
    const std::wstring path = FileApiPath(folder);
    for (std::size_t end = path.find(L'\\', 1); end != std::wstring::npos;
         end = path.find(L'\\', end + 1)) {
        const std::wstring part = path.substr(0, end);
        if (!part.empty() && part.back() != L':' && part.back() != L'?' && !IsFolder(part))
            ::CreateDirectoryW(part.c_str(), nullptr);
    }
    if (!IsFolder(path))
        ::CreateDirectoryW(path.c_str(), nullptr);
    return IsFolder(path);
}

FileStatus Win32FileSystem::ReadFile(const std::string& path, std::string& bytes) {
    UniqueHandle file(::CreateFileW(FileApiPath(path).c_str(), GENERIC_READ,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file)
        return StatusOf(::GetLastError());
    LARGE_INTEGER size{};
    if (!::GetFileSizeEx(file.Get(), &size) || size.QuadPart > 16 * 1024 * 1024)
        return FileStatus::Failed;
    std::string content(static_cast<std::size_t>(size.QuadPart), '\0');
    DWORD read = 0;
    if (!content.empty() && (!::ReadFile(file.Get(), content.data(),
                                         static_cast<DWORD>(content.size()), &read, nullptr) ||
                             read != content.size())) {
        return StatusOf(::GetLastError());
    }
    bytes = std::move(content);
    return FileStatus::Ok;
}

std::optional<std::int64_t> Win32FileSystem::LastWriteTime(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!::GetFileAttributesExW(FileApiPath(path).c_str(), GetFileExInfoStandard, &data))
        return std::nullopt;
    return static_cast<std::int64_t>(
        (static_cast<std::uint64_t>(data.ftLastWriteTime.dwHighDateTime) << 32u) |
        data.ftLastWriteTime.dwLowDateTime);
}

FileStatus Win32FileSystem::WriteNewFile(const std::string& path, std::string_view bytes) {
    UniqueHandle file(::CreateFileW(FileApiPath(path).c_str(), GENERIC_WRITE, 0, nullptr,
                                    CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file)
        return StatusOf(::GetLastError());
    DWORD written = 0;
    if (!bytes.empty() && (!::WriteFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()),
                                        &written, nullptr) ||
                           written != bytes.size())) {
        return StatusOf(::GetLastError());
    }
    // On the disk before it takes the old file's place.
    if (!::FlushFileBuffers(file.Get()))
        return StatusOf(::GetLastError());
    return FileStatus::Ok;
}

FileStatus Win32FileSystem::ReplaceFile(const std::string& replacement, const std::string& target) {
    const std::wstring target_path = FileApiPath(target);
    // Windows refuses to replace a read-only file; say so before trying, so
    // that every platform treats the user's read-only mark alike.
    const DWORD attributes = ::GetFileAttributesW(target_path.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY))
        return FileStatus::Denied;
    if (::MoveFileExW(FileApiPath(replacement).c_str(), target_path.c_str(),
                      MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        return FileStatus::Ok;
    }
    return StatusOf(::GetLastError());
}

void Win32FileSystem::RemoveFile(const std::string& path) {
    ::DeleteFileW(FileApiPath(path).c_str());
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

namespace {

// The window a message box of ours is centred on while it opens; boxes of
// one thread open one inside another, so each opening keeps the previous.
thread_local HWND box_anchor = nullptr;

// Centres the box that is activating over its owner, kept inside the work
// area of the owner's monitor. The system would centre it on the screen,
// which at a large display scale may be far from the window the box is
// about.
LRESULT CALLBACK CentreBoxOverOwner(int code, WPARAM wparam, LPARAM lparam) {
    if (code == HCBT_ACTIVATE && box_anchor) {
        const HWND box = reinterpret_cast<HWND>(wparam);
        if (::GetWindow(box, GW_OWNER) == box_anchor) {
            RECT over{};
            RECT rect{};
            MONITORINFO monitor{};
            monitor.cbSize = sizeof(monitor);
            if (::GetWindowRect(box_anchor, &over) && ::GetWindowRect(box, &rect) &&
                ::GetMonitorInfoW(::MonitorFromWindow(box_anchor, MONITOR_DEFAULTTONEAREST),
                                  &monitor)) {
                const RECT& work = monitor.rcWork;
                const LONG width = rect.right - rect.left;
                const LONG height = rect.bottom - rect.top;
                const LONG left = std::max(
                    work.left, std::min((over.left + over.right - width) / 2, work.right - width));
                const LONG top = std::max(work.top, std::min((over.top + over.bottom - height) / 2,
                                                             work.bottom - height));
                ::SetWindowPos(box, nullptr, left, top, 0, 0,
                               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
            }
            box_anchor = nullptr;
        }
    }
    return ::CallNextHookEx(nullptr, code, wparam, lparam);
}

// A box belongs to the window the user is looking at: a dialog of ours that
// is open over the main window owns it (so the box is modal to the dialog
// too), else the main window. A main window that is hidden or minimised
// leaves the box where the system puts it.
int ShowBox(HWND owner, const std::string& title, const std::string& text, UINT flags) {
    UseCommonControls();
    if (owner && ::IsWindowVisible(owner) && !::IsIconic(owner)) {
        const HWND popup = ::GetLastActivePopup(owner);
        if (popup && popup != owner && ::IsWindowVisible(popup) && ::IsWindowEnabled(popup))
            owner = popup;
    } else {
        return ::MessageBoxW(owner, Widen(text).c_str(), Widen(title).c_str(), flags);
    }
    const HWND outer_anchor = std::exchange(box_anchor, owner);
    const ScopedFocusReturn focus;
    HHOOK hook = ::SetWindowsHookExW(WH_CBT, &CentreBoxOverOwner, nullptr, ::GetCurrentThreadId());
    const int result = ::MessageBoxW(owner, Widen(text).c_str(), Widen(title).c_str(), flags);
    if (hook)
        ::UnhookWindowsHookEx(hook);
    box_anchor = outer_anchor;
    return result;
}

}  // namespace

void Win32MessageBoxes::ShowMessage(const std::string& title, const std::string& text) {
    ShowBox(owner_, title, text, MB_OK | MB_SETFOREGROUND);
}

void Win32MessageBoxes::ShowInformation(const std::string& title, const std::string& text) {
    ShowBox(owner_, title, text, MB_OK | MB_ICONINFORMATION);
}

void Win32MessageBoxes::ShowWarning(const std::string& title, const std::string& text) {
    ShowBox(owner_, title, text, MB_OK | MB_ICONWARNING);
}

Win32TimerService::Win32TimerService() {
    Create(WindowClassSpec{L"Vellumar.Timers"}, 0, L"", 0, 0, 0, 0, 0, HWND_MESSAGE);
}

std::vector<Win32TimerService::Entry>::iterator Win32TimerService::EntryOf(const Timer& timer) {
    return std::find_if(entries_.begin(), entries_.end(),
                        [&timer](const Entry& entry) { return entry.timer == &timer; });
}

void Win32TimerService::Start(Timer& timer) {
    auto it = EntryOf(timer);
    if (it == entries_.end())
        it = entries_.insert(entries_.end(), Entry{next_id_++, &timer});
    // SetTimer with an existing id restarts it with the new interval.
    ::SetTimer(Handle(), it->id, static_cast<UINT>(timer.IntervalMs()), nullptr);
}

void Win32TimerService::Stop(Timer& timer) {
    const auto it = EntryOf(timer);
    if (it == entries_.end())
        return;
    if (Handle())
        ::KillTimer(Handle(), it->id);
    entries_.erase(it);
}

LRESULT Win32TimerService::HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) {
    if (message == WM_TIMER) {
        for (const Entry& entry : entries_) {
            if (entry.id == static_cast<UINT_PTR>(wparam)) {
                entry.timer->Tick();
                break;
            }
        }
        return 0;
    }
    return Window::HandleMessage(message, wparam, lparam);
}

}  // namespace vellumar::win32
