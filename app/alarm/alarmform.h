// The alarm window and the alarm: the test at the end of each clock tick,
// the two actions (a WAV played through MCI, a file opened through the
// shell) and the small always-on-top notice with its stop button.
#pragma once

#include <windows.h>
#include <mmsystem.h>

#include <functional>
#include <string>

#include "app/alarm/alarm_rules.h"
#include "framework/control.h"
#include "framework/controls.h"
#include "framework/form.h"

class Tclockform;
class TSetupform;

inline constexpr wchar_t kAlarmMessage[] = L"アラーム設定時刻になりました。";
inline constexpr wchar_t kTestMessage[] = L"アラームのテストです。";

class TAlarmForm : public fw::Form {
public:
    // Takes the clock's alarm hook and links its fields, its sounding state
    // and its test play into the settings dialog (and gives them back when
    // destroyed). startUp is the program's start-up, run by the creation
    // handler once every window exists.
    TAlarmForm(Tclockform& clock, TSetupform& setup, std::function<void()> startUp);
    ~TAlarmForm() override;

    fw::Label Label1{{29, 8, 163, 12}, kAlarmMessage, fw::TextAlign::Center};
    fw::Button StpButton{{.bounds = {73, 32, 75, 25}, .caption = L"再生停止"}};

    // 0: play AlarmFile as a WAV sound; otherwise open it through the shell
    // with AlarmOption as the parameters. Paths are ANSI texts.
    int AlarmAction = 0;
    std::string AlarmFile;
    std::string AlarmOption;

    // A WAV alarm is open on its device and the notice is up.
    bool AlarmSounding() const { return sounding_; }
    // The action ran in the current set minute.
    bool AlarmTriggered() const { return triggered_; }
    // The device of the current sound; 0 when none is open.
    MCIDEVICEID AlarmDevice() const { return device_; }

    void FormCreate();
    void FormDeactivate();
    // The alarm test, run last in every tick of the clock that does its work.
    void CheckAlarm();
    void StartAlarm();
    // The settings dialog's test play: StartAlarm with a notice that says so.
    void TestAlarm();
    void StpButtonClick();
    // A playback started with MCI_NOTIFY ended (MM_MCINOTIFY).
    void PlaybackEnded(WPARAM notifyCode);
    // Writes AlarmAction, AlarmFile and AlarmOption; false when a key was refused.
    bool SaveAlarmSettings(const horolo::SettingWriter& write) const;

protected:
    void onCreate() override { FormCreate(); }
    LRESULT wndProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void startAlarm(const wchar_t* message);
    void closeDevice();
    void endNotice();

    Tclockform& clock_;
    TSetupform& setup_;
    std::function<void()> startUp_;
    bool sounding_ = false;
    bool triggered_ = false;
    MCIDEVICEID device_ = 0;
    // Kept for every replay of one sounding: the notice is told when it ends.
    MCI_PLAY_PARMS playParms_{};
};
