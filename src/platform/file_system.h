#pragma once
// Where the program is and where it may keep its file. Paths are UTF-8 with
// the platform's separators.

#include <string>

namespace vellumar {

class FileSystem {
  public:
    virtual ~FileSystem() = default;
    // Full path of the running executable.
    virtual std::string ExecutablePath() = 0;
    // The signed-in user's roaming application-data folder; empty if unknown.
    virtual std::string UserAppDataFolder() = 0;
    // Whether a file can be created in `folder` (tried, not guessed from
    // attributes, since ACLs and virtualisation decide).
    virtual bool CanWriteInFolder(const std::string& folder) = 0;
    // Creates `folder` and its missing parents; true when it exists afterwards.
    virtual bool EnsureFolder(const std::string& folder) = 0;
};

}  // namespace vellumar
