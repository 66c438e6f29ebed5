#include "platform/win32/process_snapshot_win32.h"

// After windows.h, which they build on.
#include <shellapi.h>
#include <tlhelp32.h>

#include "platform/win32/handles.h"
#include "platform/win32/text.h"

namespace vellumar::win32 {

namespace {

class OwnedIcon : public IconPicture {
  public:
    explicit OwnedIcon(HICON icon) : icon_(icon) {}
    std::uintptr_t IconHandle() const override {
        return reinterpret_cast<std::uintptr_t>(icon_.Get());
    }

  private:
    UniqueIcon icon_;
};

}  // namespace

std::vector<ProcessEntry> Win32ProcessSnapshots::ProcessEntries() {
    std::vector<ProcessEntry> entries;
    UniqueHandle snapshot(::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    if (!snapshot)
        return entries;
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof(entry);
    for (BOOL more = ::Process32FirstW(snapshot.Get(), &entry); more;
         more = ::Process32NextW(snapshot.Get(), &entry)) {
        entries.push_back({entry.th32ProcessID, Narrow(entry.szExeFile)});
    }
    return entries;
}

// The first module of a module snapshot is the process's executable, whose
// path the system gives in one call; the whole snapshot, which is far
// slower, is taken only when the walk goes past it. A process that may not
// be read has no modules, as its snapshot would have none.
void Win32ProcessSnapshots::VisitModulePaths(ProcessId process,
                                             const std::function<bool(const std::string&)>& visit) {
    bool first_given = false;
    if (process != 0) {
        UniqueHandle handle(
            ::OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, process));
        if (!handle)
            return;
        wchar_t image[MAX_PATH] = {};
        DWORD length = MAX_PATH;
        if (::QueryFullProcessImageNameW(handle.Get(), 0, image, &length)) {
            if (visit(Narrow(std::wstring_view(image, length))))
                return;
            first_given = true;
        }
    }
    UniqueHandle snapshot(::CreateToolhelp32Snapshot(TH32CS_SNAPMODULE, process));
    if (!snapshot)
        return;
    MODULEENTRY32W entry{};
    entry.dwSize = sizeof(entry);
    for (BOOL more = ::Module32FirstW(snapshot.Get(), &entry); more;
         more = ::Module32NextW(snapshot.Get(), &entry)) {
        if (first_given) {
            first_given = false;
            continue;
        }
        if (visit(Narrow(entry.szExePath)))
            return;
    }
}

std::unique_ptr<IconPicture> IconToPicture(HICON icon) {
    if (!icon)
        return nullptr;
    return std::make_unique<OwnedIcon>(icon);
}

std::unique_ptr<IconPicture> GetFileIcon(const std::wstring& path, bool small) {
    if (path.empty())
        return nullptr;
    SHFILEINFOW info{};
    const UINT flags = SHGFI_ICON | (small ? SHGFI_SMALLICON : 0u);
    if (!::SHGetFileInfoW(path.c_str(), 0, &info, sizeof(info), flags))
        return nullptr;
    return IconToPicture(info.hIcon);
}

SharedIcon Win32FileIcons::FileIcon(const std::string& path, bool small) {
    return GetFileIcon(Widen(path), small);
}

}  // namespace vellumar::win32
