#include "app/alarm/alarmform.h"

#include <utility>

#include "app/clock/clockform.h"
#include "app/settings/setupform.h"
#include "framework/platform.h"

namespace {

// Posted to itself: take the activation back once the other window has it.
constexpr UINT kTakeFocus = WM_APP + 1;

// The type value of the alarm's refusal sound.
constexpr UINT kRefusalBeep = 1;

bool OfThisThread(HWND window) {
    return window && GetWindowThreadProcessId(window, nullptr) == GetCurrentThreadId();
}

}  // namespace

TAlarmForm::TAlarmForm(Tclockform& clock, TSetupform& setup, std::function<void()> startUp)
    : fw::Form({.caption = L"設定時間になりました",
                .clientWidth = 221,
                .clientHeight = 64,
                .border = fw::BorderStyle::None,
                .minimizeBox = false,
                .topmost = true,
                .centered = true}),
      clock_(clock),
      setup_(setup),
      startUp_(std::move(startUp)) {
    add(Label1);
    add(StpButton);
    StpButton.onClick = [this] { StpButtonClick(); };
    clock_.CheckAlarm = [this] { CheckAlarm(); };
    setup_.LinkAlarm({AlarmAction, AlarmFile, AlarmOption, [this] { return sounding_; }, [this] { TestAlarm(); }});
}

// A sound still playing when the program ends stops with it.
TAlarmForm::~TAlarmForm() {
    clock_.CheckAlarm = nullptr;
    setup_.UnlinkAlarm();
    closeDevice();
}

void TAlarmForm::FormCreate() {
    if (startUp_) startUp_();
}

void TAlarmForm::CheckAlarm() {
    const horolo::FaceTime& now = clock_.faceTime();
    const horolo::AlarmCheckState state{clock_.visible(), setup_.EnbAlm.checked(), triggered_,
                                        setup_.hrset.itemIndex(), setup_.mnset.itemIndex()};
    switch (horolo::CheckAlarmAt(state, now.hour, now.minute)) {
    case horolo::AlarmCheck::Rearm: triggered_ = false; break;
    case horolo::AlarmCheck::Start: StartAlarm(); break;
    case horolo::AlarmCheck::None: break;
    }
}

void TAlarmForm::StartAlarm() { startAlarm(kAlarmMessage); }

void TAlarmForm::TestAlarm() { startAlarm(kTestMessage); }

// The notice's text is set when the notice is shown, so a test leaves no
// test text behind for the next real alarm.
void TAlarmForm::startAlarm(const wchar_t* message) {
    fw::Platform& platform = fw::platform();
    if (sounding_ || triggered_) {
        platform.messageBeep(kRefusalBeep);
        return;
    }
    triggered_ = true;
    if (AlarmAction != 0) {
        platform.shellExecute(nullptr, "open", AlarmFile.c_str(), AlarmOption.c_str(), nullptr, SW_SHOW);
        return;
    }
    MCI_OPEN_PARMSA open{};
    open.lpstrDeviceType = "waveaudio";
    open.lpstrElementName = AlarmFile.c_str();
    // MCI opens the device even without a file name, with nothing to play.
    if (AlarmFile.empty() ||
        platform.sendMciCommand(0, MCI_OPEN, MCI_OPEN_TYPE | MCI_OPEN_ELEMENT, reinterpret_cast<DWORD_PTR>(&open))) {
        platform.messageBeep(kRefusalBeep);
        return;
    }
    device_ = open.wDeviceID;
    Label1.setCaption(message);
    show();
    update();  // drawn before the sound starts
    sounding_ = true;
    playParms_.dwCallback = reinterpret_cast<DWORD_PTR>(handle());
    if (platform.sendMciCommand(device_, MCI_PLAY, MCI_NOTIFY, reinterpret_cast<DWORD_PTR>(&playParms_)))
        closeDevice();  // the notice stays until the stop button
}

void TAlarmForm::PlaybackEnded(WPARAM notifyCode) {
    // Aborted and superseded plays are the echo of our own seek or close:
    // answering them with a replay would abort the replay in turn, for ever.
    if (!sounding_ || !device_ || (notifyCode != MCI_NOTIFY_SUCCESSFUL && notifyCode != MCI_NOTIFY_FAILURE))
        return;
    fw::Platform& platform = fw::platform();
    // Without a sound device every play fails at once: a replay would spin,
    // and hiding the notice would take it away before anyone saw it.
    if (notifyCode == MCI_NOTIFY_FAILURE) {
        closeDevice();
        platform.messageBeep(kRefusalBeep);
        return;
    }
    if (setup_.refrpl.checked()) {
        MCI_SEEK_PARMS seek{};  // Wine refuses a seek without a parameter block
        platform.sendMciCommand(device_, MCI_SEEK, MCI_SEEK_TO_START, reinterpret_cast<DWORD_PTR>(&seek));
        platform.sendMciCommand(device_, MCI_PLAY, MCI_NOTIFY, reinterpret_cast<DWORD_PTR>(&playParms_));
        return;
    }
    closeDevice();
    endNotice();
}

void TAlarmForm::StpButtonClick() {
    if (!sounding_) return;
    closeDevice();
    endNotice();
}

// A hidden window cannot take the focus.
void TAlarmForm::FormDeactivate() {
    if (visible()) PostMessageW(handle(), kTakeFocus, 0, 0);
}

bool TAlarmForm::SaveAlarmSettings(const horolo::SettingWriter& write) const {
    return horolo::WriteAlarmSettings(write, AlarmAction, AlarmFile, AlarmOption);
}

void TAlarmForm::closeDevice() {
    if (!device_) return;
    fw::platform().sendMciCommand(device_, MCI_CLOSE, 0, 0);
    device_ = 0;
}

void TAlarmForm::endNotice() {
    hide();
    sounding_ = false;
}

LRESULT TAlarmForm::wndProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case MM_MCINOTIFY:
        PlaybackEnded(wParam);
        return 0;
    case WM_ACTIVATE:
        // Only for another window of this program: the notice does not
        // fight other programs for the activation.
        if (LOWORD(wParam) == WA_INACTIVE && OfThisThread(reinterpret_cast<HWND>(lParam))) FormDeactivate();
        break;
    case kTakeFocus:
        if (visible()) SetActiveWindow(handle());
        return 0;
    default:
        break;
    }
    return fw::Form::wndProc(message, wParam, lParam);
}
