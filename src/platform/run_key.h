#pragma once
// The "Run" key of the registry, machine-wide or per user: the programs that
// Windows starts at sign-in.

#include <string>
#include <string_view>

namespace vellumar {

enum class RegistryRoot { LocalMachine, CurrentUser };

class RunKey {
  public:
    virtual ~RunKey() = default;
    // Creates the key when missing and writes a REG_SZ value.
    [[nodiscard]] virtual bool SetValue(RegistryRoot root, std::string_view name,
                                        std::string_view data) = 0;
    // Deletes the value; true when it is gone afterwards (also when it never was).
    virtual bool DeleteValue(RegistryRoot root, std::string_view name) = 0;
};

}  // namespace vellumar
