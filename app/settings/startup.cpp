#include "app/settings/startup.h"

#include <windows.h>

#include <ctime>

#include "app/alarm/alarmform.h"
#include "app/clock/clockform.h"
#include "app/info/fortune.h"
#include "app/settings/settings_file.h"
#include "app/settings/setupform.h"

using horolo::StoredSettings;

void LoadSettings(const ProgramWindows& w) {
    // The controls filled here run their click handlers: they keep the
    // enabling in step but must not open dialogs or reload anything.
    const TSetupform::HandlersSuppressed quiet(w.setup);
    const StoredSettings stored = horolo::ReadStoredSettings(SettingsFileReader());
    w.clock.StartUp(stored);
    LoadAlarmSettings(w.setup, w.alarm, stored);
    if (stored.fortuneData.empty() || stored.fortuneData == DefaultFortuneDataPath()) w.setup.udf.setItemIndex(0);
    w.clock.Fortune.StartUp(stored.fortuneData, static_cast<std::uint32_t>(std::time(nullptr)));
}

void LoadAlarmSettings(TSetupform& setup, TAlarmForm& alarm, const StoredSettings& stored) {
    setup.FillControls(stored, TSetupform::StartUpPart::Alarm);
    alarm.AlarmAction = stored.alarmAction ? 1 : 0;
    alarm.AlarmFile = stored.alarmFile;
    if (!AlarmFileOpens(alarm.AlarmFile)) {
        setup.EnbAlm.setChecked(false);
        alarm.AlarmFile.clear();
    }
    alarm.AlarmOption = stored.alarmOption;
}

StoredSettings LiveSettings(const ProgramWindows& w) {
    StoredSettings s = w.setup.HeldValues();
    s.version = HOROLO_VERSION_TEXT;
    const POINT place = w.clock.position();
    s.posX = place.x;
    s.posY = place.y;
    s.hideTitle = w.clock.TitleHidden != 0;
    return s;
}

bool SaveSettings(const ProgramWindows& w, const StoredSettings& live) {
    return horolo::WriteDialogSettings(SettingsFileWriter(), live, w.clock.LoaderHandle != nullptr);
}

void SaveAtClose(const ProgramWindows& w) {
    const StoredSettings live = LiveSettings(w);
    const bool saved = horolo::WriteWindowKeys(SettingsFileWriter(), live) && SaveSettings(w, live) &&
                       w.alarm.SaveAlarmSettings(SettingsFileWriter());
    if (!saved) ReportRefusedWrite();
}
