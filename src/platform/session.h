#pragma once
// Process-wide facts and effects of the running session: the single-instance
// test, the debug privilege and modal messages to the user.

#include <string>

namespace vellumar {

class InstanceLock {
  public:
    virtual ~InstanceLock() = default;
    // Claims the program's instance lock; false when another instance of the
    // program, started by any means, holds it already.
    virtual bool Acquire() = 0;
};

class Privileges {
  public:
    virtual ~Privileges() = default;
    // Enables SeDebugPrivilege on the process token when the user may have it;
    // without it the program simply runs with less reach.
    virtual void EnableDebugPrivilege() = 0;
};

class MessageBoxes {
  public:
    virtual ~MessageBoxes() = default;
    // A modal message with an OK button only; returns when it is closed.
    virtual void ShowMessage(const std::string& title, const std::string& text) = 0;
    // The same with the information icon.
    virtual void ShowInformation(const std::string& title, const std::string& text) = 0;
    // The same with the warning icon.
    virtual void ShowWarning(const std::string& title, const std::string& text) = 0;
};

}  // namespace vellumar
