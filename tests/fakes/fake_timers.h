#pragma once
// Timer services for tests: ticked by hand, or never.

#include <cstddef>
#include <set>

#include "platform/timer.h"

namespace vellumar::testing {

// Timers that tick only when the test says so.
class ManualTimerService : public TimerService {
  public:
    void Start(Timer& timer) override { running_.insert(&timer); }
    void Stop(Timer& timer) override { running_.erase(&timer); }
    bool IsRunning(const Timer& timer) const {
        return running_.count(const_cast<Timer*>(&timer)) != 0;
    }
    std::size_t RunningCount() const { return running_.size(); }
    // Ticks a timer the way the platform would: only while it runs. (A
    // control hands out its timers read-only; the platform ticks them.)
    void Fire(const Timer& timer) {
        if (IsRunning(timer))
            const_cast<Timer&>(timer).Tick();
    }
    // One tick of every running timer.
    void FireAll() {
        const auto running = running_;
        for (Timer* timer : running) Fire(*timer);
    }

  private:
    std::set<Timer*> running_;
};

// Timers that never tick, for code that needs a timer service but no ticks.
class IdleTimerService : public TimerService {
  public:
    void Start(Timer&) override {}
    void Stop(Timer&) override {}
};

}  // namespace vellumar::testing
