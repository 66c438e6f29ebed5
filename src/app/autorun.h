#pragma once
// "Start with windows": the value "VLM" of the registry's Run key, whose
// data is the command that starts this executable.
//
// The value goes to the machine-wide key. When that cannot be written (no
// administrator rights) it goes to the user's own Run key instead, so the
// setting still works; clearing removes it from both. Errors are otherwise
// passed over: the Autorun key of Config.ini still records the choice.

#include <string>
#include <string_view>

#include "platform/run_key.h"

namespace vellumar {

inline constexpr std::string_view kAutorunValueName = "VLM";

// The command stored in the Run value: the executable's folder, "\", its base
// name and ".exe", always in quotation marks, so that Windows cannot take a
// prefix of a path with spaces for the program to start.
std::string AutorunCommand(std::string_view executable_path);

class Autorun {
  public:
    Autorun(RunKey& run_key, std::string executable_path)
        : run_key_(run_key), executable_path_(std::move(executable_path)) {}

    void SetAutorun();
    void ClearAutorun();

  private:
    RunKey& run_key_;
    std::string executable_path_;
};

}  // namespace vellumar
