#include "app/clock/tick.h"

#include <cwchar>
#include <iterator>
#include <utility>

namespace horolo {

std::wstring ApplicationTitle() {
    return std::wstring(kAppName) + L" " + std::wstring(L"" HOROLO_VERSION_TEXT);
}

std::wstring FormatTime(const FaceTime& t) {
    wchar_t text[9];  // hh:mm:ss and the terminator; swprintf cuts rather than overruns
    std::swprintf(text, std::size(text), L"%02d:%02d:%02d", static_cast<int>(t.hour),
                  static_cast<int>(t.minute), static_cast<int>(t.second));
    return text;
}

TickTexts TextsForTick(bool showTimeText, bool labelVisible, const FaceTime& t) {
    TickTexts out;
    if (!showTimeText) return out;
    const std::wstring time = FormatTime(t);
    out.applicationTitle = std::wstring(kAppName) + L" [" + time + L"]";
    if (labelVisible) {
        out.label = time;
    } else {
        out.caption = out.applicationTitle;
    }
    return out;
}

ClockTicker::ClockTicker(Hooks hooks) : hooks_(std::move(hooks)) {}

bool ClockTicker::tick(bool force) {
    const FaceTime now = hooks_.now();
    if (!force && now == face_) return false;
    face_ = now;
    hooks_.refreshTexts(face_);
    hooks_.repaintHands();
    hooks_.checkAlarm();
    return true;
}

std::optional<unsigned> EconomyInterval(int item) {
    switch (item) {
        case 0: return 1000u;
        case 1: return 500u;
        case 2: return 100u;
        default: return std::nullopt;
    }
}

TickSource StartupTickSource(bool economy, int item) {
    if (economy) return {false, EconomyInterval(item)};
    return {true, std::nullopt};
}

TickSource AppliedTickSource(bool economy, int item) {
    if (economy) return {false, EconomyInterval(item)};
    return {true, 0u};
}

void SwitchTickSource(const TickSource& source, const TickDrivers& drivers) {
    if (!source.idleHandler) drivers.removeIdleHandler();
    if (source.timerInterval) drivers.setTimerInterval(*source.timerInterval);
    if (source.idleHandler) drivers.installIdleHandler();
}

unsigned DelayToPhase(unsigned interval, int millisecond) {
    if (interval == 0) return 0;
    const unsigned offset = static_cast<unsigned>(millisecond) % interval;
    return (interval + kPhaseLead - offset) % interval;
}

bool OutOfPhase(unsigned interval, int millisecond) {
    return interval != 0 && static_cast<unsigned>(millisecond) % interval > kPhaseLead + kPhaseTolerance;
}

}  // namespace horolo
