#include "app/settings/startup.h"

#include <windows.h>

#include <ctime>

#include "app/alarm/alarmform.h"
#include "app/clock/clockform.h"
#include "app/info/fortune.h"
#include "app/settings/ini_values.h"
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
    setup.hrset.setItemIndex(stored.alarmHour);
    setup.mnset.setItemIndex(stored.alarmMinute);
    setup.refrpl.setChecked(stored.alarmRefrain);
    setup.EnbAlm.setChecked(stored.alarmUse);
    setup.refrpl.setEnabled(setup.EnbAlm.checked());
    alarm.AlarmAction = stored.alarmAction ? 1 : 0;
    setup.AlmAction.setItemIndex(alarm.AlarmAction);
    alarm.AlarmFile = stored.alarmFile;
    if (!AlarmFileOpens(alarm.AlarmFile)) {
        setup.EnbAlm.setChecked(false);
        alarm.AlarmFile.clear();
    }
    alarm.AlarmOption = stored.alarmOption;
}

StoredSettings LiveSettings(const ProgramWindows& w) {
    const TSetupform& d = w.setup;
    StoredSettings s;
    s.version = HOROLO_VERSION_TEXT;
    s.background = w.clock.BackgroundFile;
    const POINT place = w.clock.position();
    s.posX = place.x;
    s.posY = place.y;
    s.hideTitle = w.clock.TitleHidden != 0;
    s.indicatorType = d.indtyp.itemIndex();
    s.onTop = d.Staytop.checked();
    s.character = d.chview.checked();
    s.cpuSave = d.cpusave.checked();
    s.resource = d.bgselector.itemIndex();
    s.repaintInterval = d.cpusi.itemIndex();
    s.stretchMode = d.str_type.checked();
    s.fortuneData = w.clock.Fortune.FortuneDataPath;
    s.hourColor = d.hrcol.color();
    s.minuteColor = d.mncol.color();
    s.secondColor = d.sccol.color();
    s.indicatorColor = d.indcol.color();
    s.characterColor = d.chrcol.color();
    s.backSpaceColor = d.bgspcol.color();
    s.alarmUse = d.EnbAlm.checked();
    s.alarmHour = d.hrset.itemIndex();
    s.alarmMinute = d.mnset.itemIndex();
    s.alarmRefrain = d.refrpl.checked();
    s.spiDrive = horolo::ini::DriveValue(d.drvsel.drive());
    s.spiDirectory = d.dirsel.directory();
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
