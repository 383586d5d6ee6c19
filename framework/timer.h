// A periodic timer on the application window; its handler runs from the
// message loop (also inside modal loops).
#pragma once

#include <windows.h>

#include <functional>

namespace fw {

class Timer {
public:
    Timer() = default;
    explicit Timer(UINT interval, std::function<void()> onTimer = {});
    ~Timer();
    Timer(const Timer&) = delete;
    Timer& operator=(const Timer&) = delete;

    // Milliseconds between calls; 0 stops the timer. A first delay puts the
    // first call that many milliseconds from now and the later ones an
    // interval apart from it (to keep the calls in phase with a clock).
    void setInterval(UINT milliseconds, UINT firstDelay = 0);
    UINT interval() const { return interval_; }

    std::function<void()> onTimer;

private:
    friend class Application;
    static void dispatch(UINT_PTR id);
    UINT interval_ = 0;
    bool delayed_ = false;  // the running period is the first delay
};

}  // namespace fw
