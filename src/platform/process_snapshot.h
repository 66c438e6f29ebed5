#pragma once
// Process and module snapshots and the shell's file icons, as the process
// list (engine/process_list.h) reads them.

#include <functional>
#include <string>
#include <vector>

#include "platform/picture.h"
#include "platform/system.h"

namespace vellumar {

struct ProcessEntry {
    ProcessId id = 0;
    // The executable's file name as the snapshot gives it (a fixed-length
    // buffer: it may carry NUL padding or spaces).
    std::string exe_file;
};

class ProcessSnapshots {
  public:
    virtual ~ProcessSnapshots() = default;
    // The entries of a fresh process snapshot, in snapshot order; empty when
    // the snapshot cannot be taken.
    virtual std::vector<ProcessEntry> ProcessEntries() = 0;
    // Walks a module snapshot of `process` in order, giving each module's
    // full path to `visit` until it returns true. A process that cannot be
    // inspected has no modules. Process 0 is this program.
    virtual void VisitModulePaths(ProcessId process,
                                  const std::function<bool(const std::string&)>& visit) = 0;
};

class FileIcons {
  public:
    virtual ~FileIcons() = default;
    // The shell icon of a file, small (16 x 16) or large; null when the icon
    // cannot be had.
    virtual SharedIcon FileIcon(const std::string& path, bool small) = 0;
};

}  // namespace vellumar
