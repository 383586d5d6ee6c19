#include "framework/timer.h"

#include "framework/application.h"
#include "framework/error.h"

#include <set>

namespace fw {

namespace {

// Timers alive now: a WM_TIMER already queued for a destroyed timer is ignored.
std::set<Timer*>& liveTimers() {
    static std::set<Timer*> timers;
    return timers;
}

UINT_PTR IdOf(Timer* timer) { return reinterpret_cast<UINT_PTR>(timer); }

}  // namespace

Timer::Timer(UINT interval, std::function<void()> handler) : onTimer(std::move(handler)) { setInterval(interval); }

Timer::~Timer() {
    if (interval_ != 0) setInterval(0);
}

void Timer::setInterval(UINT milliseconds, UINT firstDelay) {
    HWND window = Application::instance().handle();
    interval_ = milliseconds;
    delayed_ = milliseconds != 0 && firstDelay != 0 && firstDelay != milliseconds;
    if (milliseconds == 0) {
        KillTimer(window, IdOf(this));
        liveTimers().erase(this);
        return;
    }
    if (!SetTimer(window, IdOf(this), delayed_ ? firstDelay : milliseconds, nullptr))
        throw Error(L"Cannot start a timer");
    liveTimers().insert(this);
}

void Timer::dispatch(UINT_PTR id) {
    Timer* timer = reinterpret_cast<Timer*>(id);
    if (!liveTimers().count(timer)) return;
    try {
        if (timer->delayed_) timer->setInterval(timer->interval_);  // the first delay is over
        if (!timer->onTimer) return;
        std::function<void()> handler = timer->onTimer;  // the handler may destroy or reset the timer
        handler();
    } catch (...) {
        ReportException();
    }
}

}  // namespace fw
