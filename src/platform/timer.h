#pragma once
// Window-message timers as the portable code sees them: an interval in
// milliseconds, an enabled flag and a handler. A TimerService turns enabled
// timers into ticks; the Win32 one uses SetTimer on the GUI thread, the test
// one is ticked by hand, so no portable test ever sleeps.

#include <functional>

namespace vellumar {

class Timer;

class TimerService {
  public:
    virtual ~TimerService() = default;
    // Starts (or restarts with a new interval) the ticks of `timer`.
    virtual void Start(Timer& timer) = 0;
    virtual void Stop(Timer& timer) = 0;
};

class Timer {
  public:
    using Handler = std::function<void()>;

    Timer(TimerService& service, int interval_ms, bool enabled, Handler handler = {});
    ~Timer();
    Timer(const Timer&) = delete;
    Timer& operator=(const Timer&) = delete;

    int IntervalMs() const { return interval_ms_; }
    bool Enabled() const { return enabled_; }
    // Enabling a running timer restarts its interval, as a form timer does.
    void SetEnabled(bool enabled);
    void SetIntervalMs(int interval_ms);
    void SetHandler(Handler handler) { handler_ = std::move(handler); }

    // One tick: runs the handler. Called by the service, or by startup code
    // that wants a tick at once.
    void Tick();

  private:
    void Reschedule();

    TimerService& service_;
    int interval_ms_;
    bool enabled_;
    Handler handler_;
};

}  // namespace vellumar
