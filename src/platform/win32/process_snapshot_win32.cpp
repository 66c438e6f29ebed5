#include "platform/win32/process_snapshot_win32.h"

// After windows.h, which they build on.
#include <shellapi.h>
#include <shlobj.h>
#include <tlhelp32.h>

#include <map>

#include "platform/win32/handles.h"
#include "platform/win32/text.h"

namespace vellumar::win32 {

int IconWidth(HICON icon) {
    ICONINFO info{};
    if (!::GetIconInfo(icon, &info))
        return 0;
    const UniqueBitmap mask(info.hbmMask);
    const UniqueBitmap colour(info.hbmColor);
    BITMAP bitmap{};
    if (!::GetObjectW(info.hbmMask, sizeof(bitmap), &bitmap))
        return 0;
    return bitmap.bmWidth;
}

namespace {

// The icon of a file made at a size of our choosing from the file its
// picture comes from: a program's own first icon, else the picture the
// shell shows for it (the default program icon); null when there is none.
HICON ExtractFileIcon(const std::wstring& path, int size_px) {
    HICON icon = nullptr;
    const UINT size = static_cast<UINT>(size_px) & 0xFFFF;
    if (::SHDefExtractIconW(path.c_str(), 0, 0, &icon, nullptr, size) == S_OK && icon)
        return icon;
    SHFILEINFOW info{};
    if (!::SHGetFileInfoW(path.c_str(), 0, &info, sizeof(info), SHGFI_ICONLOCATION) ||
        info.szDisplayName[0] == L'\0') {
        return nullptr;
    }
    icon = nullptr;
    if (::SHDefExtractIconW(info.szDisplayName, info.iIcon, 0, &icon, nullptr, size) != S_OK)
        return nullptr;
    return icon;
}

// An icon with the file it was taken from, so that it can be made again at
// the size of another display scale instead of being stretched.
class OwnedIcon : public IconPicture {
  public:
    OwnedIcon(HICON icon, std::wstring source) : icon_(icon), source_(std::move(source)) {}
    std::uintptr_t IconHandle() const override {
        return reinterpret_cast<std::uintptr_t>(icon_.Get());
    }
    std::uintptr_t IconHandleAt(int size_px) const override {
        if (size_px <= 0 || source_.empty() || size_px == IconWidth(icon_.Get()))
            return IconHandle();
        auto it = sized_.find(size_px);
        if (it == sized_.end()) {
            // Icons without a file of their own (the shell's defaults) are
            // scaled from the nearest picture the system keeps.
            HICON made = ExtractFileIcon(source_, size_px);
            if (!made) {
                made = static_cast<HICON>(
                    ::CopyImage(icon_.Get(), IMAGE_ICON, size_px, size_px, LR_COPYFROMRESOURCE));
            }
            it = sized_.emplace(size_px, UniqueIcon(made)).first;
        }
        return it->second ? reinterpret_cast<std::uintptr_t>(it->second.Get()) : IconHandle();
    }

  private:
    UniqueIcon icon_;
    std::wstring source_;
    mutable std::map<int, UniqueIcon> sized_;
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
    return std::make_unique<OwnedIcon>(icon, std::wstring());
}

std::unique_ptr<IconPicture> GetFileIcon(const std::wstring& path, bool small) {
    if (path.empty())
        return nullptr;
    // Made from the file the shell names rather than taken from the shell's
    // system image list: asking for the list makes the shell build it, with a
    // 256-pixel copy of its default icons, for the life of the program.
    HICON icon = ExtractFileIcon(path, ::GetSystemMetrics(small ? SM_CXSMICON : SM_CXICON));
    if (!icon)
        return nullptr;
    return std::make_unique<OwnedIcon>(icon, path);
}

SharedIcon Win32FileIcons::FileIcon(const std::string& path, bool small) {
    return GetFileIcon(Widen(path), small);
}

}  // namespace vellumar::win32
