#pragma once
// The log the fakes write to, and the session services (instance lock,
// privileges, message boxes) faked.

#include <string>
#include <utility>
#include <vector>

#include "platform/session.h"

namespace vellumar::testing {

struct CallLog {
    std::vector<std::string> calls;
    void Add(std::string call) { calls.push_back(std::move(call)); }
};

class FakeSession : public InstanceLock, public Privileges, public MessageBoxes {
  public:
    explicit FakeSession(CallLog& log) : log_(log) {}
    bool Acquire() override {
        log_.Add("instance.acquire");
        return !other_instance;
    }
    void EnableDebugPrivilege() override { log_.Add("privilege.debug"); }
    void ShowMessage(const std::string& title, const std::string& text) override {
        log_.Add("message " + title + ": " + text);
    }
    void ShowInformation(const std::string& title, const std::string& text) override {
        log_.Add("information " + title + ": " + text);
    }
    void ShowWarning(const std::string& title, const std::string& text) override {
        log_.Add("warning " + title + ": " + text);
    }
    bool other_instance = false;

  private:
    CallLog& log_;
};

}  // namespace vellumar::testing
