#pragma once
// Win32 process and module snapshots (Toolhelp) and shell file icons
// (made from the file the shell names). IconToPicture wraps an icon handle in a picture object
// that owns it and destroys it with the last reference.

#include <windows.h>

#include <memory>

#include "platform/process_snapshot.h"

namespace vellumar::win32 {

class Win32ProcessSnapshots : public ProcessSnapshots {
  public:
    std::vector<ProcessEntry> ProcessEntries() override;
    void VisitModulePaths(ProcessId process,
                          const std::function<bool(const std::string&)>& visit) override;
};

class Win32FileIcons : public FileIcons {
  public:
    SharedIcon FileIcon(const std::string& path, bool small) override;
};

// The width of an icon in pixels; 0 for no icon.
int IconWidth(HICON icon);
// A picture that owns `icon`; null for no icon.
std::unique_ptr<IconPicture> IconToPicture(HICON icon);
// The shell icon of a file, small (SHGFI_SMALLICON) or large; null when the
// shell has none.
std::unique_ptr<IconPicture> GetFileIcon(const std::wstring& path, bool small);

}  // namespace vellumar::win32
