#include "app/command_instances.h"

#include <array>

namespace vellumar {

namespace {

constexpr std::array<CommandInstance, 7> kInstances = {{
    {"FormVellumar", "CommandFreeMemory", "release memory now", 233, 33},
    {"FormVellumar", "CommandLimitProcessCPU", "Limit", 97, 25},
    {"FormVellumar", "CommandRefreshProcess", "Refresh", 97, 25},
    {"FormSetProcessCpuPercent", "CommandOK", "OK", 89, 25},
    {"FormSetProcessCpuPercent", "CommandCancel", "Cancel", 89, 25},
    {"FormSetProcessCpuPercent", "CommandFree", "Release", 89, 25},
    {"FormSetProcessCpuPercent", "CommandModify", "Adjustment", 89, 25},
}};

}  // namespace

std::span<const CommandInstance> ProgramCommandInstances() {
    return kInstances;
}

const CommandInstance* FindCommandInstance(std::string_view name) {
    for (const CommandInstance& instance : kInstances) {
        if (instance.name == name)
            return &instance;
    }
    return nullptr;
}

}  // namespace vellumar
