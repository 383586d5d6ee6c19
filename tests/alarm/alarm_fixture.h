// The alarm with the real clock window and settings dialog, a settable
// clock, recorded beeps and MCI commands, and the real MCI and shell.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>
#include <mmsystem.h>

#include <algorithm>
#include <string>

#include "app/alarm/alarmform.h"
#include "app/clock/clockform.h"
#include "app/settings/setupform.h"
#include "framework/application.h"
#include "framework/platform.h"
#include "tests/framework/test_support.h"

// A file in the folder of the test program (the program's own folder too).
inline std::wstring BesideThisProgram(const std::wstring& name) {
    wchar_t path[MAX_PATH];
    const std::wstring self(path, GetModuleFileNameW(nullptr, path, MAX_PATH));
    return self.substr(0, self.find_last_of(L'\\') + 1) + name;
}

inline std::string Ansi(const std::wstring& text) {
    const int size = WideCharToMultiByte(CP_ACP, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string ansi(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(CP_ACP, 0, text.c_str(), -1, ansi.data(), size, nullptr, nullptr);
    ansi.pop_back();
    return ansi;
}

// True once MCI no longer knows the device.
inline bool DeviceClosed(MCIDEVICEID device) {
    MCI_STATUS_PARMS status{};
    status.dwItem = MCI_STATUS_MODE;
    return mciSendCommandA(device, MCI_STATUS, MCI_STATUS_ITEM, reinterpret_cast<DWORD_PTR>(&status)) ==
           MCIERR_INVALID_DEVICE_ID;
}

// The alarm set to 08:00 with the chime that ships beside the program; the
// clock window shown.
class AlarmTest : public ::testing::Test {
protected:
    void SetUp() override {
        clock.create();
        setup.create();
        alarm.create();  // runs the clock's start-up, as in the program
        clock.show();
        setup.EnbAlm.setChecked(true);
        setup.hrset.setItemIndex(8);
        setup.mnset.setItemIndex(0);
        alarm.AlarmFile = Ansi(BesideThisProgram(L"Horolo.wav"));
    }

    void TearDown() override { clock.FormClose(); }

    // One tick of the clock at that time; it ends in the alarm test.
    void tickAt(int hour, int minute, int second) {
        fake.setTime(static_cast<WORD>(hour), static_cast<WORD>(minute), static_cast<WORD>(second));
        clock.ClockTick(false);
    }

    long sent(UINT message) const {
        return std::count_if(fake.mciCommands.begin(), fake.mciCommands.end(),
                             [message](const fwtest::RecordedMciCommand& c) { return c.message == message; });
    }

    void clickStop() { SendMessageW(alarm.StpButton.handle(), BM_CLICK, 0, 0); }

    fw::Application& app = fw::Application::instance();
    fwtest::RecordingPlatform fake;
    fw::PlatformOverride useFake{fake};
    TSetupform setup;
    Tclockform clock{setup};
    TAlarmForm alarm{clock, setup, [this] { clock.StartUp(); }};
};
