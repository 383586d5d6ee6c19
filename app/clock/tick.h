// The clock's tick: at most one real update per second unless forced, and
// the texts and tick source that go with it. No window code here.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "app/clock/geometry.h"
#include "horolo_version.h"

namespace horolo {

inline constexpr std::wstring_view kAppName = L"" HOROLO_NAME;

// "Horolo Version 1.00-Release": the application title outside the time display.
std::wstring ApplicationTitle();

// "hh:mm:ss" with two digits each.
std::wstring FormatTime(const FaceTime& t);

// What one tick writes into the titles and the label; a value that is
// absent stays as it was.
struct TickTexts {
    std::optional<std::wstring> applicationTitle;
    std::optional<std::wstring> caption;
    std::optional<std::wstring> label;
};

TickTexts TextsForTick(bool showTimeText, bool labelVisible, const FaceTime& t);

// The tick itself. The hooks are the outside world: the local time, the
// time texts, the hands repaint and the alarm check, run in that order. The
// texts come before the repaint, so that a label's new text is painted in
// the same paint as the hands.
class ClockTicker {
public:
    struct Hooks {
        std::function<FaceTime()> now;
        std::function<void()> repaintHands;
        std::function<void(const FaceTime&)> refreshTexts;
        std::function<void()> checkAlarm;
    };

    explicit ClockTicker(Hooks hooks);

    // Returns whether the tick did its work (a new second, or forced).
    bool tick(bool force);

    const FaceTime& face() const { return face_; }

private:
    Hooks hooks_;
    FaceTime face_;
};

// Which driver runs the tick: the idle handler, or the periodic timer with
// the interval of the economy item. An absent interval leaves the timer as
// it is.
struct TickSource {
    bool idleHandler;
    std::optional<unsigned> timerInterval;
    friend bool operator==(const TickSource&, const TickSource&) = default;
};

// The two drivers' switches.
struct TickDrivers {
    std::function<void()> removeIdleHandler;
    std::function<void(unsigned)> setTimerInterval;  // 0 stops the timer
    std::function<void()> installIdleHandler;
};

// Never two drivers at once: without the idle handler it is removed before
// the timer starts; with it the timer is stopped before it is installed.
void SwitchTickSource(const TickSource& source, const TickDrivers& drivers);

// Timer interval of an economy item (0: 1000 ms, 1: 500 ms, 2: 100 ms).
std::optional<unsigned> EconomyInterval(int item);

TickSource StartupTickSource(bool economy, int item);
TickSource AppliedTickSource(bool economy, int item);

// The tick timer keeps the interval chosen but runs in phase with the local
// time's seconds: each call comes just after a boundary of its interval
// within the second (the change of second among them), so that a new second
// shows at once rather than up to a whole interval late. A call up to
// kPhaseTolerance ms after its place still counts as in phase (the timers of
// Windows step in about 16 ms).
inline constexpr int kPhaseLead = 3;
inline constexpr int kPhaseTolerance = 25;

// Milliseconds from a moment `millisecond` into the second until the next
// call in phase (0: one whole interval).
unsigned DelayToPhase(unsigned interval, int millisecond);
// Whether a timer call that came `millisecond` into the second is out of phase.
bool OutOfPhase(unsigned interval, int millisecond);

}  // namespace horolo
