#pragma once
// The process list of "The second way": ListViewProcesses shows every
// running process whose executable path can be found, in snapshot order,
// with the small shell icon of its executable from ImageListProcesses.
// RefreshProcessList rebuilds rows and icons from nothing; it runs at
// startup and on the "Refresh" command (engine/process_limits.h), which then
// puts the CPU-usage limits back into the rows. Between refreshes the list
// is a still picture.
//
// Each step of a refresh is attempted even when an earlier one failed: a
// process without an icon still gets its row, a process without a path is
// left out. One icon is fetched per distinct executable path per refresh
// and shared by the rows that show it.

#include <string>
#include <string_view>

#include "controls/controls.h"
#include "controls/image_list.h"
#include "platform/process_snapshot.h"

namespace vellumar {

// Columns of ListViewProcesses.
inline constexpr int kColumnRowNumber = 0;
inline constexpr int kColumnPid = 1;
inline constexpr int kColumnProcess = 2;
inline constexpr int kColumnLimit = 3;

// The full path of the executable of `process`: the first module whose path,
// upper-cased and trimmed, contains `name` upper-cased and trimmed (a
// substring test), lower-cased and trimmed; empty when none matches.
std::string GetProcessPath(ProcessSnapshots& snapshots, ProcessId process, std::string_view name);

// A file's shell icon, small or large; null when it cannot be had.
SharedIcon GetFileIcon(FileIcons& icons, const std::string& path, bool small);

// Letter case of UTF-8 text: ASCII and the Latin-1 letters; other text is
// left as it is.
std::string UpperCaseText(std::string_view text);
std::string LowerCaseText(std::string_view text);

class ProcessList {
  public:
    ProcessList(ProcessSnapshots& snapshots, FileIcons& icons, ListView& list, ImageList& images)
        : snapshots_(snapshots), icons_(icons), list_(list), images_(images) {}

    // Rebuilds the rows and the image list from a fresh snapshot, scrolls
    // to the last row and selects the first.
    void RefreshProcessList();
    std::string GetProcessPath(ProcessId process, std::string_view name) {
        return vellumar::GetProcessPath(snapshots_, process, name);
    }
    SharedIcon GetFileIcon(const std::string& path, bool small) {
        return vellumar::GetFileIcon(icons_, path, small);
    }

  private:
    ProcessSnapshots& snapshots_;
    FileIcons& icons_;
    ListView& list_;
    ImageList& images_;
};

}  // namespace vellumar
