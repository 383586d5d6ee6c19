#include "app/alarm/alarm_rules.h"

namespace horolo {

AlarmCheck CheckAlarmAt(const AlarmCheckState& state, int hour, int minute) {
    if (!state.clockVisible || !state.enabled) return AlarmCheck::None;
    if (state.triggered) return state.minuteItem != minute ? AlarmCheck::Rearm : AlarmCheck::None;
    return state.hourItem == hour && state.minuteItem == minute ? AlarmCheck::Start : AlarmCheck::None;
}

bool WriteAlarmSettings(const SettingWriter& write, int action, const std::string& file, const std::string& option) {
    StoredSettings keys;
    keys.alarmAction = action != 0;
    keys.alarmFile = file;
    keys.alarmOption = option;
    return WriteSettings(write, keys, SettingOwner::AlarmWindow);
}

}  // namespace horolo
