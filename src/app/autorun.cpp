#include "app/autorun.h"

namespace vellumar {

std::string AutorunCommand(std::string_view executable_path) {
    const auto slash = executable_path.find_last_of("\\/");
    const std::string_view folder =
        slash == std::string_view::npos ? std::string_view() : executable_path.substr(0, slash);
    std::string_view base =
        slash == std::string_view::npos ? executable_path : executable_path.substr(slash + 1);
    if (const auto dot = base.find_last_of('.'); dot != std::string_view::npos) {
        base = base.substr(0, dot);
    }
    std::string command;
    command.reserve(executable_path.size() + 8);
    command.append(folder).append("\\").append(base).append(".exe");
    return "\"" + command + "\"";
}

void Autorun::SetAutorun() {
    const std::string command = AutorunCommand(executable_path_);
    if (run_key_.SetValue(RegistryRoot::LocalMachine, kAutorunValueName, command)) {
        // A per-user copy left from a run without rights would start the
        // program twice at sign-in.
        run_key_.DeleteValue(RegistryRoot::CurrentUser, kAutorunValueName);
    } else {
        (void)run_key_.SetValue(RegistryRoot::CurrentUser, kAutorunValueName, command);
    }
}

void Autorun::ClearAutorun() {
    run_key_.DeleteValue(RegistryRoot::LocalMachine, kAutorunValueName);
    run_key_.DeleteValue(RegistryRoot::CurrentUser, kAutorunValueName);
}

}  // namespace vellumar
