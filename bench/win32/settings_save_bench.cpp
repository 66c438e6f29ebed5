// How long one change of a setting takes to reach the disk: the whole file
// written to a temporary file, flushed and put in place of Config.ini, next
// to the platform's in-place profile write it replaced.
//
//   win_settings_save_bench.exe [saves]

#include <windows.h>

#include <cstdio>
#include <cstdlib>

#include "app/settings.h"
#include "platform/ini_file_store.h"
#include "platform/win32/platform_win32.h"

namespace {

double MillisecondsSince(const LARGE_INTEGER& start) {
    LARGE_INTEGER now{};
    LARGE_INTEGER frequency{};
    ::QueryPerformanceCounter(&now);
    ::QueryPerformanceFrequency(&frequency);
    return 1000.0 * static_cast<double>(now.QuadPart - start.QuadPart) /
           static_cast<double>(frequency.QuadPart);
}

}  // namespace

int main(int argc, char** argv) {
    using namespace vellumar;
    const int saves = argc > 1 ? std::atoi(argv[1]) : 200;
    win32::Win32FileSystem files;
    const std::string folder = "C:\\vellumar-settings-bench";
    files.EnsureFolder(folder);
    IniFileStore store(files);
    SettingsFile settings(store, SettingsLocations{folder + "\\Config.ini", {}});

    LARGE_INTEGER start{};
    ::QueryPerformanceCounter(&start);
    for (int i = 0; i < saves; ++i) settings.Write(settings::kOntop, i % 2 ? "1" : "0");
    std::printf("all-or-nothing save: %.2f ms each (%d saves)\n", MillisecondsSince(start) / saves,
                saves);

    const std::wstring old_path = win32::FileApiPath(folder + "\\InPlace.ini");
    ::QueryPerformanceCounter(&start);
    for (int i = 0; i < saves; ++i) {
        ::WritePrivateProfileStringW(L"Setting", L"Ontop", i % 2 ? L"1" : L"0", old_path.c_str());
    }
    std::printf("in-place profile write: %.2f ms each\n", MillisecondsSince(start) / saves);
    return 0;
}
