// The program's start-up load and its save at close: Horolo.ini into the
// four windows, and the live values back into the file.
#pragma once

#include "app/settings/stored_settings.h"

class Tclockform;
class TAboutBox;
class TSetupform;
class TAlarmForm;

struct ProgramWindows {
    Tclockform& clock;
    TAboutBox& about;
    TSetupform& setup;
    TAlarmForm& alarm;
};

// Run once by the alarm window's creation, when every window exists: reads
// the settings file and brings every part up in its fixed order, with the
// settings dialog's handlers quiet meanwhile.
void LoadSettings(const ProgramWindows& w);

// The alarm keys into the settings dialog and the alarm window. An alarm file
// that cannot be opened for reading switches the alarm off, silently.
void LoadAlarmSettings(TSetupform& setup, TAlarmForm& alarm, const horolo::StoredSettings& stored);

// The values the windows hold now, as the settings file stores them (the
// alarm window's own keys aside: it writes them itself).
horolo::StoredSettings LiveSettings(const ProgramWindows& w);

// The settings dialog's values and the fortune data path, from the live
// values; the plug-in directory only while the picture library is loaded.
bool SaveSettings(const ProgramWindows& w, const horolo::StoredSettings& live);

// Run by the clock window's close: its own keys, SaveSettings, then the alarm
// window's keys. A write the system refuses stops the save there with an
// error box; the window closes all the same.
void SaveAtClose(const ProgramWindows& w);
