// The Win32 adapters against the real (Wine) API: INI functions, registry,
// files, the instance lock across processes, and window timers.

#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "app/autorun.h"
#include "platform/ini_file_store.h"
#include "platform/win32/dpi.h"
#include "platform/win32/handles.h"
#include "platform/win32/platform_win32.h"
#include "platform/win32/system_win32.h"
#include "platform/win32/text.h"
#include "wine_support.h"

namespace vellumar::win32 {
namespace {

std::string TempFolder(const std::wstring& name) {
    wchar_t temp[MAX_PATH] = {};
    ::GetTempPathW(MAX_PATH, temp);
    const std::wstring folder = std::wstring(temp) + name;
    ::CreateDirectoryW(folder.c_str(), nullptr);
    return Narrow(folder);
}

std::string ReadWholeFile(const std::string& path) {
    UniqueHandle file(::CreateFileW(Widen(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                    OPEN_EXISTING, 0, nullptr));
    if (!file)
        return {};
    std::string content(64 * 1024, '\0');
    DWORD read = 0;
    ::ReadFile(file.Get(), content.data(), static_cast<DWORD>(content.size()), &read, nullptr);
    content.resize(read);
    return content;
}

TEST(ProfileStoreOnWindows, RoundTripsKeysAndKeepsOtherLines) {
    const std::string path = TempFolder(L"vellumar-ini") + "\\Config.ini";
    ::DeleteFileW(Widen(path).c_str());
    Win32FileSystem files;
    IniFileStore store(files);
    EXPECT_EQ(store.Read(path, "Setting", "Ontop", 255), "");  // no file yet

    ASSERT_TRUE(store.Write(path, "Setting", "Ontop", "1"));
    ASSERT_TRUE(store.Write(path, "Process", "ImproveSpeed", "Above Normal"));
    ASSERT_TRUE(store.Write(path, "Setting", "Automin", "0"));
    EXPECT_EQ(store.Read(path, "Setting", "Ontop", 255), "1");
    // Section and key names match without regard to case.
    EXPECT_EQ(store.Read(path, "SETTING", "ontop", 255), "1");
    EXPECT_EQ(store.Read(path, "process", "IMPROVESPEED", 255), "Above Normal");
    EXPECT_EQ(store.Read(path, "Setting", "Missing", 255), "");

    ASSERT_TRUE(store.Write(path, "Setting", "Ontop", "0"));
    EXPECT_EQ(store.Read(path, "Setting", "Ontop", 255), "0");
    const std::string text = ReadWholeFile(path);
    EXPECT_NE(text.find("[Process]"), std::string::npos);
    EXPECT_NE(text.find("ImproveSpeed=Above Normal"), std::string::npos);
    EXPECT_NE(text.find("Automin=0"), std::string::npos);
    EXPECT_NE(text.find("Ontop=0"), std::string::npos);
    EXPECT_EQ(text.find("Ontop=1"), std::string::npos);

    // A read returns at most capacity - 1 characters.
    ASSERT_TRUE(store.Write(path, "Process", "Long", std::string(300, 'x')));
    EXPECT_EQ(store.Read(path, "Process", "Long", 255).size(), 254u);
}

std::wstring RegistryString(HKEY root, const wchar_t* path, const wchar_t* name) {
    wchar_t data[1024] = {};
    DWORD size = sizeof(data);
    if (::RegGetValueW(root, path, name, RRF_RT_REG_SZ, nullptr, data, &size) != ERROR_SUCCESS) {
        return L"<missing>";
    }
    return data;
}

TEST(RunKeyOnWindows, SetsAndClearsTheValueInBothRoots) {
    const wchar_t* path = L"Software\\VellumarTests\\Run";
    Win32RunKey key(path);
    for (RegistryRoot root : {RegistryRoot::LocalMachine, RegistryRoot::CurrentUser}) {
        const HKEY hkey =
            root == RegistryRoot::LocalMachine ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER;
        ASSERT_TRUE(key.SetValue(root, "VLM", "\"C:\\Program Files\\V\\vellumar.exe\""));
        EXPECT_EQ(RegistryString(hkey, path, L"VLM"), L"\"C:\\Program Files\\V\\vellumar.exe\"");
        EXPECT_TRUE(key.DeleteValue(root, "VLM"));
        EXPECT_EQ(RegistryString(hkey, path, L"VLM"), L"<missing>");
        EXPECT_TRUE(key.DeleteValue(root, "VLM"));  // already gone: still fine
    }
}

// The machine key refuses writes, as it does for a user without rights.
class MachineReadOnlyRunKey : public RunKey {
  public:
    explicit MachineReadOnlyRunKey(Win32RunKey& real) : real_(real) {}
    bool SetValue(RegistryRoot root, std::string_view name, std::string_view data) override {
        return root != RegistryRoot::LocalMachine && real_.SetValue(root, name, data);
    }
    bool DeleteValue(RegistryRoot root, std::string_view name) override {
        return root != RegistryRoot::LocalMachine && real_.DeleteValue(root, name);
    }

  private:
    Win32RunKey& real_;
};

TEST(RunKeyOnWindows, AutorunFallsBackToTheUserRunKey) {
    Win32RunKey real;  // the real Run key of this (test) prefix
    MachineReadOnlyRunKey restricted(real);
    Autorun autorun(restricted, "C:\\Tools\\vellumar.exe");
    autorun.SetAutorun();
    EXPECT_EQ(RegistryString(HKEY_CURRENT_USER, Win32RunKey::kRunKeyPath, L"VLM"),
              L"\"C:\\Tools\\vellumar.exe\"");
    autorun.ClearAutorun();
    EXPECT_EQ(RegistryString(HKEY_CURRENT_USER, Win32RunKey::kRunKeyPath, L"VLM"), L"<missing>");

    Autorun machine(real, "C:\\Tools\\vellumar.exe");
    machine.SetAutorun();
    EXPECT_EQ(RegistryString(HKEY_LOCAL_MACHINE, Win32RunKey::kRunKeyPath, L"VLM"),
              L"\"C:\\Tools\\vellumar.exe\"");
    machine.ClearAutorun();
    EXPECT_EQ(RegistryString(HKEY_LOCAL_MACHINE, Win32RunKey::kRunKeyPath, L"VLM"), L"<missing>");
}

TEST(FileSystemOnWindows, KnowsTheExecutableAndWhereItCanWrite) {
    Win32FileSystem files;
    const std::string exe = files.ExecutablePath();
    EXPECT_NE(exe.find("integration_tests.exe"), std::string::npos) << exe;
    EXPECT_TRUE(files.CanWriteInFolder(TempFolder(L"vellumar-write")));
    EXPECT_FALSE(files.CanWriteInFolder("C:\\no-such-folder-for-vellumar\\below"));
    const std::string nested = TempFolder(L"vellumar-nest") + "\\a\\b\\Vellumar";
    EXPECT_TRUE(files.EnsureFolder(nested));
    EXPECT_TRUE(files.EnsureFolder(nested));
    EXPECT_TRUE(files.CanWriteInFolder(nested));
    EXPECT_FALSE(files.UserAppDataFolder().empty());
}

// ---- instance lock across processes

constexpr wchar_t kLockName[] = L"Local\\VellumarTests.Lock";

// Runs only inside the child process that the test below starts.
TEST(InstanceLockChild, HoldsTheLockUntilTold) {
    wchar_t role[8] = {};
    if (!::GetEnvironmentVariableW(L"VELLUMAR_LOCK_CHILD", role, 8))
        GTEST_SKIP() << "child only";
    Win32InstanceLock lock(kLockName);
    ASSERT_TRUE(lock.Acquire());
    UniqueHandle ready(::OpenEventW(EVENT_MODIFY_STATE, FALSE, L"Local\\VellumarTests.Ready"));
    UniqueHandle done(::OpenEventW(SYNCHRONIZE, FALSE, L"Local\\VellumarTests.Done"));
    ASSERT_TRUE(ready && done);
    ::SetEvent(ready.Get());
    ::WaitForSingleObject(done.Get(), 30000);
}

TEST(InstanceLockOnWindows, SeesAnInstanceInAnotherProcess) {
    UniqueHandle ready(::CreateEventW(nullptr, TRUE, FALSE, L"Local\\VellumarTests.Ready"));
    UniqueHandle done(::CreateEventW(nullptr, TRUE, FALSE, L"Local\\VellumarTests.Done"));
    wchar_t exe[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, exe, MAX_PATH);
    std::wstring command =
        std::wstring(L"\"") + exe + L"\" --gtest_filter=InstanceLockChild.HoldsTheLockUntilTold";
    ::SetEnvironmentVariableW(L"VELLUMAR_LOCK_CHILD", L"1");
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info{};
    const BOOL started = ::CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0,
                                          nullptr, nullptr, &startup, &info);
    ::SetEnvironmentVariableW(L"VELLUMAR_LOCK_CHILD", nullptr);
    ASSERT_TRUE(started);
    UniqueHandle process(info.hProcess);
    UniqueHandle thread(info.hThread);
    ASSERT_EQ(::WaitForSingleObject(ready.Get(), 30000), WAIT_OBJECT_0);

    {
        Win32InstanceLock second(kLockName);
        EXPECT_FALSE(second.Acquire());
    }
    ::SetEvent(done.Get());
    ASSERT_EQ(::WaitForSingleObject(process.Get(), 30000), WAIT_OBJECT_0);
    Win32InstanceLock after(kLockName);
    EXPECT_TRUE(after.Acquire());
}

// ---- window timers

TEST(TimerServiceOnWindows, TicksThroughTheMessageLoopAndStops) {
    Win32TimerService service;
    int ticks = 0;
    Timer timer(service, 10, true, [&] { ++ticks; });
    const DWORD start = ::GetTickCount();
    MSG message{};
    while (ticks < 3 && ::GetTickCount() - start < 10000) {
        if (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            ::DispatchMessageW(&message);
        } else {
            ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
        }
    }
    EXPECT_GE(ticks, 3);
    timer.SetEnabled(false);
    const int stopped_at = ticks;
    const DWORD pause = ::GetTickCount();
    while (::GetTickCount() - pause < 100) {
        while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageW(&message);
        ::Sleep(5);
    }
    EXPECT_EQ(ticks, stopped_at);
}

// A timer that stops itself and starts another from inside its tick hands
// no tick to the other.
TEST(TimerServiceOnWindows, ATimerChangedInsideATickKeepsItsOwnTicks) {
    Win32TimerService service;
    int late_ticks = 0;
    Timer late(service, 60000, false, [&] { ++late_ticks; });
    Timer first(service, 10, true);
    first.SetHandler([&] {
        first.SetEnabled(false);
        late.SetEnabled(true);
    });
    ASSERT_TRUE(testing::PumpUntil([&] { return !first.Enabled(); }, 10000));
    testing::PumpMessages();  // a tick the first timer left queued
    EXPECT_TRUE(late.Enabled());
    EXPECT_EQ(late_ticks, 0);
}

TEST(MessagePumpOnWindows, NotesAQuitAndLeavesItForTheMainLoop) {
    Win32MessagePump pump;
    pump.ProcessPendingEvents();
    EXPECT_FALSE(pump.Quitting());
    ::PostQuitMessage(3);
    pump.ProcessPendingEvents();
    EXPECT_TRUE(pump.Quitting());
    MSG message{};
    ASSERT_TRUE(::PeekMessageW(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(message.wParam, 3U);
}

// A quick loop's yield looks at the queue again once the last look is old.
TEST(MessagePumpOnWindows, AQuickYieldLooksAgainOnceTheLastLookIsOld) {
    Win32MessagePump pump;
    pump.ProcessPendingEvents();
    ::PostQuitMessage(5);
    ::Sleep(static_cast<DWORD>(20 * Win32MessagePump::kJustChecked.count()));
    pump.ProcessPendingEventsUnlessJustChecked();
    EXPECT_TRUE(pump.Quitting());
    MSG message{};
    ASSERT_TRUE(::PeekMessageW(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
}

// A control's remembered scale follows each change of the recorded one.
TEST(LayoutDpiOnWindows, ARememberedScaleFollowsEachChangeOfTheRecordedOne) {
    const HWND top = ::CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                       nullptr, nullptr);
    const HWND child =
        ::CreateWindowExW(0, L"STATIC", L"", WS_CHILD, 0, 0, 5, 5, top, nullptr, nullptr, nullptr);
    LayoutDpiCache cache;
    EXPECT_EQ(cache.Get(child), WindowDpi(child));
    SetLayoutDpi(top, 144);
    EXPECT_EQ(cache.Get(child), 144);
    SetLayoutDpi(top, 0);
    EXPECT_EQ(cache.Get(child), WindowDpi(child));
    ::DestroyWindow(top);
}

// The main window and the limit dialog may lie on monitors of two scales.
TEST(LayoutDpiOnWindows, EachTopLevelWindowKeepsItsOwnScale) {
    HWND tops[2] = {};
    for (HWND& top : tops)
        top = ::CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                nullptr, nullptr);
    SetLayoutDpi(tops[0], 144);
    SetLayoutDpi(tops[1], 192);
    SetLayoutDpi(tops[0], 120);
    EXPECT_EQ(LayoutDpi(tops[0]), 120);
    EXPECT_EQ(LayoutDpi(tops[1]), 192);
    SetLayoutDpi(tops[1], 0);
    EXPECT_EQ(LayoutDpi(tops[0]), 120);
    EXPECT_EQ(LayoutDpi(tops[1]), WindowDpi(tops[1]));
    SetLayoutDpi(tops[0], 0);
    for (HWND top : tops) ::DestroyWindow(top);
}

// The clock formats the time once a second, and again the next second.
TEST(ClockOnWindows, TimeOfDayTextMovesOnEachSecond) {
    Win32Clock clock;
    const std::string first = clock.TimeOfDayText();
    EXPECT_FALSE(first.empty());
    EXPECT_TRUE(testing::PumpUntil([&] { return clock.TimeOfDayText() != first; }, 5000));
}

// The real pump, counting its calls and running `on_first` at the first.
class CountingPump : public MessagePump {
  public:
    void ProcessPendingEvents() override {
        if (++yields == 1 && on_first)
            on_first();
        pump.ProcessPendingEvents();
    }
    bool Quitting() const override { return pump.Quitting(); }
    Win32MessagePump pump;
    int yields = 0;
    std::function<void()> on_first;
};

TEST(ProcessSnapshotOnWindows, ComesBackByMessageAlsoNestedAndWhenTheProgramEnds) {
    Win32Processes processes;
    const auto has_self = [](const std::vector<ProcessId>& ids) {
        return std::find(ids.begin(), ids.end(), ::GetCurrentProcessId()) != ids.end();
    };
    // A second snapshot asked for while the first is awaited (a release
    // within a release) may receive the first one's message.
    CountingPump pump;
    std::vector<ProcessId> inner;
    pump.on_first = [&] { inner = processes.SnapshotWhileHandlingEvents(pump); };
    const std::vector<ProcessId> outer = processes.SnapshotWhileHandlingEvents(pump);
    EXPECT_GE(pump.yields, 2);
    EXPECT_TRUE(has_self(outer));
    EXPECT_TRUE(has_self(inner));

    // Told to end while waiting: the wait ends and the quit stays queued.
    CountingPump ending;
    ::PostQuitMessage(4);
    (void)processes.SnapshotWhileHandlingEvents(ending);
    EXPECT_TRUE(ending.Quitting());
    MSG message{};
    ASSERT_TRUE(::PeekMessageW(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(message.wParam, 4U);
}

}  // namespace
}  // namespace vellumar::win32
