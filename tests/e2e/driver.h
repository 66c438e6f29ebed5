#pragma once
// Drives a real vellumar.exe from outside, as a user or a screen reader
// would: starts copies of it in folders of their own, finds its windows by
// class and text, clicks, reads texts, files and the registry.

#include <windows.h>

#include <functional>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace e2e {

// Waits until `done` holds or the time is up; true when it held.
bool WaitUntil(const std::function<bool()>& done, DWORD timeout_ms = 15000);

// A folder of its own (its name holds a space) with a copy of the program.
class Installation {
  public:
    explicit Installation(const std::wstring& name);
    // A program already in place (installed or unpacked), left as it is.
    struct InPlace {};
    Installation(InPlace, std::wstring folder) : folder_(std::move(folder)) {}
    const std::wstring& Folder() const { return folder_; }
    std::wstring Exe() const { return folder_ + L"\\vellumar.exe"; }
    std::wstring ConfigPath() const { return folder_ + L"\\Config.ini"; }
    void WriteSetting(const wchar_t* section, const wchar_t* key, const wchar_t* value) const;
    std::wstring ReadSetting(const wchar_t* section, const wchar_t* key) const;
    // All seven settings: every feature off, the first list items, and the
    // three Setting keys as given.
    void WritePlainSettings(const wchar_t* autorun = L"0", const wchar_t* automin = L"0",
                            const wchar_t* ontop = L"0") const;

  private:
    std::wstring folder_;
};

// A process a test started: still running when the test is done with it
// (also when an assertion stopped the test), it is ended, and its handles are
// closed.
class ChildProcess {
  public:
    // Runs `command_line` in `folder` (the driver's own when empty).
    explicit ChildProcess(std::wstring command_line, const std::wstring& folder = {});
    ~ChildProcess() { End(); }
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    bool Started() const { return started_; }
    DWORD Pid() const { return info_.dwProcessId; }
    HANDLE Process() const { return info_.hProcess; }
    bool Running() const;
    bool WaitForExit(DWORD timeout_ms = 15000) const;
    // Its exit code once it has ended within the time, or -1.
    long ExitCode(DWORD timeout_ms) const;
    // Ends the process now when it still runs; Pid() stays.
    void End();

  private:
    PROCESS_INFORMATION info_{};
    bool started_ = false;
};

class Program {
  public:
    explicit Program(const Installation& installation);

    DWORD Pid() const { return process_.Pid(); }
    HANDLE Process() const { return process_.Process(); }
    bool Running() const { return process_.Running(); }
    // Waits for startup to finish; the main window (shown or not).
    HWND WaitForMainWindow();
    HWND MainWindow() const { return main_; }
    bool WaitForExit(DWORD timeout_ms = 15000) const { return process_.WaitForExit(timeout_ms); }

  private:
    ChildProcess process_;
    HWND main_ = nullptr;
};

// A copy of the program with plain settings, started, its startup done.
struct StartedProgram {
    explicit StartedProgram(const wchar_t* name);
    Installation install;
    Program program;
    HWND main = nullptr;
};

// Top-level windows of a process with a class name.
std::vector<HWND> TopLevelWindows(DWORD pid, const wchar_t* class_name);
std::wstring WindowText(HWND hwnd);
// A message box of the process once its text is there; nullptr on time-out.
HWND WaitForMessageBox(DWORD pid, DWORD timeout_ms = 15000);
std::wstring ClassName(HWND hwnd);
// A descendant with this text (the visible one when several share it).
HWND FindChild(HWND parent, const std::wstring& text, bool visible_only = true);
std::vector<HWND> Descendants(HWND parent);
// A left click on a child window at its centre, as the mouse delivers it.
void ClickWindow(HWND child);
// A left click posted to the middle of `child`, for a click that waits in a
// modal box or dialog; the press gives a button the focus.
void PostClick(HWND child);
// The window that has the keyboard focus in the thread of `window`.
HWND FocusOf(HWND window);
// A press and release of `button` at client point (x, y) of a window.
void ClickAt(HWND window, int x, int y, UINT down = WM_LBUTTONDOWN, UINT up = WM_LBUTTONUP);
// Saves the screen area of a window as a 24-bit BMP file named `name`.bmp in
// the folder that VELLUMAR_SCREENSHOTS names (a Linux path); no-op without it.
void SaveScreenshot(HWND window, const std::string& name);
// The text of a cell of a report list view in another process.
std::wstring ListViewCell(HWND list, DWORD pid, int row, int column);
int ListViewRows(HWND list);
// Selects and focuses a row of a report list view in another process, as a
// click on it does.
void SelectListViewRow(HWND list, DWORD pid, int row);
// The window just right of a caption window, on the same line (the value a
// caption names), shown or not.
HWND ValueRightOf(HWND caption);
// A descendant of a class whose text is `text` (visible or not).
HWND FindChildOfClass(HWND parent, const std::wstring& class_name, const std::wstring& text);
// Runs a console program and returns what it printed.
std::string RunAndCapture(const std::wstring& command_line);

}  // namespace e2e
