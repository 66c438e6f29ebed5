#include "e2e/driver.h"

#include <commctrl.h>
#include <gtest/gtest.h>
#include <shellapi.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <utility>

namespace e2e {

bool WaitUntil(const std::function<bool()>& done, DWORD timeout_ms) {
    const DWORD start = ::GetTickCount();
    for (;;) {
        if (done())
            return true;
        if (::GetTickCount() - start > timeout_ms)
            return false;
        ::Sleep(50);
    }
}

namespace {
std::wstring ProgramUnderTest() {
    wchar_t path[MAX_PATH] = {};
    ::GetEnvironmentVariableW(L"VELLUMAR_EXE", path, MAX_PATH);
    std::wstring p = path;
    // CTest passes a Linux path; Wine sees the Linux root as drive Z:.
    if (!p.empty() && p[0] == L'/') {
        for (auto& c : p) c = c == L'/' ? L'\\' : c;
        p = L"Z:" + p;
    }
    return p;
}
}  // namespace

Installation::Installation(const std::wstring& name) {
    wchar_t temp[MAX_PATH] = {};
    ::GetTempPathW(MAX_PATH, temp);
    folder_ = std::wstring(temp) + L"Vellumar " + name;
    ::CreateDirectoryW(folder_.c_str(), nullptr);
    ::DeleteFileW(ConfigPath().c_str());
    ::CopyFileW(ProgramUnderTest().c_str(), Exe().c_str(), FALSE);
}

void Installation::WriteSetting(const wchar_t* section, const wchar_t* key,
                                const wchar_t* value) const {
    ::WritePrivateProfileStringW(section, key, value, ConfigPath().c_str());
}

std::wstring Installation::ReadSetting(const wchar_t* section, const wchar_t* key) const {
    wchar_t value[256] = {};
    ::GetPrivateProfileStringW(section, key, L"<missing>", value, 256, ConfigPath().c_str());
    return value;
}

void Installation::WritePlainSettings(const wchar_t* autorun, const wchar_t* automin,
                                      const wchar_t* ontop) const {
    WriteSetting(L"Process", L"EnableImproveProcess", L"0");
    WriteSetting(L"Process", L"ImproveSpeed", L"Above Normal");
    WriteSetting(L"Memory", L"EnableFreeMemory", L"0");
    WriteSetting(L"Memory", L"AutoFreeMemoryInterval", L"1 minute");
    WriteSetting(L"Setting", L"Autorun", autorun);
    WriteSetting(L"Setting", L"Automin", automin);
    WriteSetting(L"Setting", L"Ontop", ontop);
}

StartedProgram::StartedProgram(const wchar_t* name)
    : install(name), program((install.WritePlainSettings(), install)) {
    main = program.WaitForMainWindow();
}

ChildProcess::ChildProcess(std::wstring command_line, const std::wstring& folder) {
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    started_ = ::CreateProcessW(nullptr, command_line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                                folder.empty() ? nullptr : folder.c_str(), &startup, &info_) != 0;
}

void ChildProcess::End() {
    if (!info_.hProcess)
        return;
    if (Running()) {
        ::TerminateProcess(info_.hProcess, 0);
        ::WaitForSingleObject(info_.hProcess, 10000);
    }
    ::CloseHandle(info_.hProcess);
    ::CloseHandle(info_.hThread);
    info_.hProcess = info_.hThread = nullptr;
}

bool ChildProcess::Running() const {
    return info_.hProcess && ::WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT;
}

bool ChildProcess::WaitForExit(DWORD timeout_ms) const {
    return info_.hProcess && ::WaitForSingleObject(info_.hProcess, timeout_ms) == WAIT_OBJECT_0;
}

long ChildProcess::ExitCode(DWORD timeout_ms) const {
    DWORD code = static_cast<DWORD>(-1);
    if (WaitForExit(timeout_ms))
        ::GetExitCodeProcess(info_.hProcess, &code);
    return static_cast<long>(code);
}

Program::Program(const Installation& installation)
    : process_(L"\"" + installation.Exe() + L"\"", installation.Folder()) {}

HWND Program::WaitForMainWindow() {
    const bool found = WaitUntil([&] {
        const auto windows = TopLevelWindows(Pid(), L"FormVellumar");
        main_ = windows.empty() ? nullptr : windows.front();
        return main_ != nullptr;
    });
    if (!found) {
        ADD_FAILURE() << "vellumar.exe (process " << Pid() << ") showed no main window in 15 s"
                      << (Running() ? "" : "; it has ended");
        return nullptr;
    }
    // The icon is the last step of startup; once it is there and the program
    // answers a message sent to its main window, it sits in its message loop.
    ::WaitForInputIdle(Process(), 10000);
    NOTIFYICONDATAW icon{};
    icon.cbSize = sizeof(icon);
    icon.hWnd = main_;
    DWORD_PTR ignored = 0;
    if (!WaitUntil([&] { return ::Shell_NotifyIconW(NIM_MODIFY, &icon) != FALSE; }) ||
        !::SendMessageTimeoutW(main_, WM_NULL, 0, 0, SMTO_NORMAL, 15000, &ignored)) {
        ADD_FAILURE() << "vellumar.exe (process " << Pid()
                      << ") did not finish its startup in 15 s";
    }
    return main_;
}

std::vector<HWND> TopLevelWindows(DWORD pid, const wchar_t* class_name) {
    struct Search {
        DWORD pid;
        const wchar_t* class_name;
        std::vector<HWND> found;
    } search{pid, class_name, {}};
    ::EnumWindows(
        [](HWND hwnd, LPARAM param) -> BOOL {
            auto* s = reinterpret_cast<Search*>(param);
            DWORD owner = 0;
            ::GetWindowThreadProcessId(hwnd, &owner);
            if (owner == s->pid && ClassName(hwnd) == s->class_name)
                s->found.push_back(hwnd);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND WaitForMessageBox(DWORD pid, DWORD timeout_ms) {
    HWND box = nullptr;
    WaitUntil(
        [&] {
            const auto boxes = TopLevelWindows(pid, L"#32770");
            box = boxes.empty() ? nullptr : boxes.front();
            // The text arrives while the dialog initialises.
            return box && !WindowText(::GetDlgItem(box, 0xFFFF)).empty();
        },
        timeout_ms);
    return box;
}

std::wstring WindowText(HWND hwnd) {
    wchar_t text[512] = {};
    ::SendMessageTimeoutW(hwnd, WM_GETTEXT, 512, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG,
                          5000, nullptr);
    return text;
}

std::wstring ClassName(HWND hwnd) {
    wchar_t name[128] = {};
    ::GetClassNameW(hwnd, name, 128);
    return name;
}

std::vector<HWND> Descendants(HWND parent) {
    std::vector<HWND> all;
    ::EnumChildWindows(
        parent,
        [](HWND hwnd, LPARAM param) -> BOOL {
            reinterpret_cast<std::vector<HWND>*>(param)->push_back(hwnd);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&all));
    return all;
}

HWND FindChild(HWND parent, const std::wstring& text, bool visible_only) {
    for (HWND child : Descendants(parent)) {
        if (visible_only && !::IsWindowVisible(child))
            continue;
        if (WindowText(child) == text)
            return child;
    }
    return nullptr;
}

void ClickWindow(HWND child) {
    RECT r{};
    ::GetClientRect(child, &r);
    ClickAt(child, r.right / 2, r.bottom / 2);
}

void PostClick(HWND child) {
    RECT r{};
    ::GetClientRect(child, &r);
    const LPARAM centre = MAKELPARAM(r.right / 2, r.bottom / 2);
    ::PostMessageW(child, WM_LBUTTONDOWN, MK_LBUTTON, centre);
    ::PostMessageW(child, WM_LBUTTONUP, 0, centre);
}

HWND FocusOf(HWND window) {
    GUITHREADINFO info{};
    info.cbSize = sizeof(info);
    return ::GetGUIThreadInfo(::GetWindowThreadProcessId(window, nullptr), &info) ? info.hwndFocus
                                                                                  : nullptr;
}

void ClickAt(HWND window, int x, int y, UINT down, UINT up) {
    const LPARAM at = MAKELPARAM(x, y);
    const WPARAM held = down == WM_RBUTTONDOWN ? MK_RBUTTON : MK_LBUTTON;
    ::SendMessageW(window, WM_MOUSEMOVE, 0, at);
    ::SendMessageW(window, down, held, at);
    ::SendMessageW(window, up, 0, at);
}

void SaveScreenshot(HWND window, const std::string& name) {
    char folder[MAX_PATH] = {};
    if (!::GetEnvironmentVariableA("VELLUMAR_SCREENSHOTS", folder, MAX_PATH))
        return;
    std::string path = folder;
    if (!path.empty() && path[0] == '/') {
        for (auto& c : path) c = c == '/' ? '\\' : c;
        path = "Z:" + path;
    }
    ::CreateDirectoryA(path.c_str(), nullptr);
    path += "\\" + name + ".bmp";

    // A window just shown (the taskbar while the desktop starts, say) may
    // have no size yet; a picture without pixels is worse than none.
    RECT r{};
    const bool sized = WaitUntil(
        [&] { return ::GetWindowRect(window, &r) && r.right > r.left && r.bottom > r.top; }, 10000);
    if (!sized) {
        std::fprintf(stderr, "screenshot %s: the window has no size, no picture taken\n",
                     name.c_str());
        return;
    }
    const int width = r.right - r.left;
    const int height = r.bottom - r.top;
    HDC screen = ::GetDC(nullptr);
    HDC memory = ::CreateCompatibleDC(screen);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height;  // bottom-up, as BMP files store rows
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    void* bits = nullptr;
    HBITMAP bitmap = ::CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = ::SelectObject(memory, bitmap);
    const int stride = ((width * 3 + 3) / 4) * 4;
    const std::size_t size = static_cast<std::size_t>(stride) * static_cast<std::size_t>(height);
    // Copies the window's part (x, y, w, h), now at screen (left, top).
    auto capture = [&](int x, int y, int w, int h, int left, int top) {
        ::RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
        // The owner has painted once it answers a message sent after the redraw.
        DWORD_PTR ignored = 0;
        ::SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, 15000, &ignored);
        // The screen has caught up once two captures in a row agree.
        std::string previous;
        WaitUntil(
            [&] {
                ::BitBlt(memory, x, y, w, h, screen, left, top, SRCCOPY);
                ::GdiFlush();
                std::string shot(static_cast<const char*>(bits), bits ? size : 0);
                const bool settled = shot == previous;
                previous = std::move(shot);
                return settled;
            },
            5000);
    };
    // A top-level window larger than the work area (a large display scale
    // on a small desktop) is moved so each part in turn lies in the work
    // area, then put back.
    RECT work{};
    ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    const int work_width = work.right - work.left;
    const int work_height = work.bottom - work.top;
    if (window != ::GetDesktopWindow() && !::GetParent(window) &&
        (width > work_width || height > work_height) && work_width > 0 && work_height > 0) {
        for (int y = 0; y < height; y += work_height) {
            for (int x = 0; x < width; x += work_width) {
                const int part_x = std::min(x, std::max(0, width - work_width));
                const int part_y = std::min(y, std::max(0, height - work_height));
                ::SetWindowPos(window, nullptr, work.left - part_x, work.top - part_y, 0, 0,
                               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
                capture(part_x, part_y, std::min(width, work_width), std::min(height, work_height),
                        work.left, work.top);
            }
        }
        ::SetWindowPos(window, nullptr, r.left, r.top, 0, 0,
                       SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    } else {
        capture(0, 0, width, height, r.left, r.top);
    }
    BITMAPFILEHEADER file{};
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER);
    file.bfSize = file.bfOffBits + static_cast<DWORD>(stride * height);
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(&file), sizeof(file));
    out.write(reinterpret_cast<const char*>(&info.bmiHeader), sizeof(info.bmiHeader));
    out.write(static_cast<const char*>(bits), static_cast<std::streamsize>(stride) * height);
    ::SelectObject(memory, old);
    ::DeleteObject(bitmap);
    ::DeleteDC(memory);
    ::ReleaseDC(nullptr, screen);
}

std::wstring ListViewCell(HWND list, DWORD pid, int row, int column) {
    HANDLE process =
        ::OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid);
    if (!process)
        return L"<no access>";
    constexpr SIZE_T kChars = 512;
    const SIZE_T size = sizeof(LVITEMW) + kChars * sizeof(wchar_t);
    auto* remote = static_cast<char*>(
        ::VirtualAllocEx(process, nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE));
    std::wstring text = L"<failed>";
    if (remote) {
        LVITEMW item{};
        item.iSubItem = column;
        item.cchTextMax = kChars;
        item.pszText = reinterpret_cast<wchar_t*>(remote + sizeof(LVITEMW));
        ::WriteProcessMemory(process, remote, &item, sizeof(item), nullptr);
        ::SendMessageW(list, LVM_GETITEMTEXTW, static_cast<WPARAM>(row),
                       reinterpret_cast<LPARAM>(remote));
        wchar_t buffer[kChars] = {};
        ::ReadProcessMemory(process, remote + sizeof(LVITEMW), buffer,
                            sizeof(buffer) - sizeof(wchar_t), nullptr);
        text = buffer;
        ::VirtualFreeEx(process, remote, 0, MEM_RELEASE);
    }
    ::CloseHandle(process);
    return text;
}

void SelectListViewRow(HWND list, DWORD pid, int row) {
    HANDLE process = ::OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_WRITE, FALSE, pid);
    if (!process)
        return;
    void* remote = ::VirtualAllocEx(process, nullptr, sizeof(LVITEMW), MEM_COMMIT | MEM_RESERVE,
                                    PAGE_READWRITE);
    if (remote) {
        LVITEMW item{};
        item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
        item.state = LVIS_SELECTED | LVIS_FOCUSED;
        ::WriteProcessMemory(process, remote, &item, sizeof(item), nullptr);
        ::SendMessageW(list, LVM_SETITEMSTATE, static_cast<WPARAM>(row),
                       reinterpret_cast<LPARAM>(remote));
        ::VirtualFreeEx(process, remote, 0, MEM_RELEASE);
    }
    ::CloseHandle(process);
}

int ListViewRows(HWND list) {
    return static_cast<int>(::SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
}

HWND ValueRightOf(HWND caption) {
    HWND parent = ::GetParent(caption);
    RECT r{};
    ::GetWindowRect(caption, &r);
    POINT origin{r.right, (r.top + r.bottom) / 2};
    ::ScreenToClient(parent, &origin);
    // The nearest window to the right on the caption's line.
    for (int dx = 1; dx < 200; ++dx) {
        const POINT pt{origin.x + dx, origin.y};
        HWND found = ::ChildWindowFromPointEx(parent, pt, CWP_ALL);
        if (found && found != parent && found != caption)
            return found;
    }
    return nullptr;
}

HWND FindChildOfClass(HWND parent, const std::wstring& class_name, const std::wstring& text) {
    for (HWND child : Descendants(parent)) {
        if (ClassName(child) == class_name && WindowText(child) == text)
            return child;
    }
    return nullptr;
}

std::string RunAndCapture(const std::wstring& command_line) {
    SECURITY_ATTRIBUTES inherit{sizeof(inherit), nullptr, TRUE};
    HANDLE read = nullptr;
    HANDLE write = nullptr;
    if (!::CreatePipe(&read, &write, &inherit, 0))
        return {};
    ::SetHandleInformation(read, HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = write;
    startup.hStdError = write;
    PROCESS_INFORMATION info{};
    std::wstring command = command_line;
    std::string output;
    if (::CreateProcessW(nullptr, command.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr,
                         nullptr, &startup, &info)) {
        ::CloseHandle(write);
        write = nullptr;
        char buffer[4096];
        DWORD got = 0;
        while (::ReadFile(read, buffer, sizeof(buffer), &got, nullptr) && got > 0) {
            output.append(buffer, got);
        }
        ::WaitForSingleObject(info.hProcess, 15000);
        ::CloseHandle(info.hProcess);
        ::CloseHandle(info.hThread);
    }
    if (write)
        ::CloseHandle(write);
    ::CloseHandle(read);
    return output;
}

}  // namespace e2e
