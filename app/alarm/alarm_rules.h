// The alarm's rules that need no window: whether a tick rings the alarm, and
// the "Alarm" keys the alarm window writes when the clock closes.
#pragma once

#include <string>

#include "app/settings/stored_settings.h"

namespace horolo {

// What the alarm test does at the end of a tick.
enum class AlarmCheck {
    None,   // nothing
    Rearm,  // clear the minute latch: the set minute is over
    Start,  // run the alarm action
};

struct AlarmCheckState {
    bool clockVisible;  // the clock window is shown (not while the settings dialog is up)
    bool enabled;       // the alarm is switched on
    bool triggered;     // the minute latch: the action ran in the current set minute
    int hourItem;       // selected hour, -1 for none
    int minuteItem;     // selected minute, -1 for none
};

// The alarm runs at most once per occurrence of its minute: the latch set by
// the action holds until a tick in another minute (the hour is not compared
// there), so the alarm comes again the next day.
AlarmCheck CheckAlarmAt(const AlarmCheckState& state, int hour, int minute);

// Writes the alarm window's own keys to the "Alarm" section in their order:
// "Action" as a boolean ("0" or "1"), "File" and "Option" as they are. Stops
// at the first key refused and returns false.
bool WriteAlarmSettings(const SettingWriter& write, int action, const std::string& file, const std::string& option);

}  // namespace horolo
