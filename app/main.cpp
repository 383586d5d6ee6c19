// Horolo: creates the four windows in their fixed order and runs the clock.
#include <windows.h>

#include "app/alarm/alarmform.h"
#include "app/clock/clockform.h"
#include "app/info/aboutbox.h"
#include "app/settings/setupform.h"
#include "app/settings/startup.h"
#include "framework/application.h"
#include "framework/error.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    try {
        fw::Application& app = fw::Application::instance();
        TSetupform setupform;
        TAboutBox AboutBox;
        Tclockform clockform(setupform, &AboutBox);
        TAlarmForm AlarmForm(clockform, setupform, [&] { LoadSettings({clockform, AboutBox, setupform, AlarmForm}); });
        clockform.SaveOnClose = [&] { SaveAtClose({clockform, AboutBox, setupform, AlarmForm}); };
        clockform.create();
        AboutBox.create();
        setupform.create();
        AlarmForm.create();
        return app.run(clockform);
    } catch (...) {
        fw::ReportException();
        return 1;
    }
}
