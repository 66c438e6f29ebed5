#include "platform/timer.h"

#include <utility>

namespace vellumar {

Timer::Timer(TimerService& service, int interval_ms, bool enabled, Handler handler)
    : service_(service),
      interval_ms_(interval_ms),
      enabled_(enabled),
      handler_(std::move(handler)) {
    Reschedule();
}

Timer::~Timer() {
    service_.Stop(*this);
}

void Timer::SetEnabled(bool enabled) {
    enabled_ = enabled;
    Reschedule();
}

void Timer::SetIntervalMs(int interval_ms) {
    interval_ms_ = interval_ms;
    Reschedule();
}

void Timer::Tick() {
    if (handler_)
        handler_();
}

void Timer::Reschedule() {
    // An interval of 0 never ticks, whatever the enabled flag says.
    if (enabled_ && interval_ms_ > 0) {
        service_.Start(*this);
    } else {
        service_.Stop(*this);
    }
}

}  // namespace vellumar
