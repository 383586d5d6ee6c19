#include "tests/alarm/alarm_fixture.h"

#include <fstream>
#include <iterator>
#include <tuple>
#include <vector>

using fwtest::PumpUntil;

namespace {

std::string ReadFile(const std::wstring& path) {
    std::ifstream in(path.c_str(), std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

}  // namespace

TEST_F(AlarmTest, NoticeIsABorderlessTopmostWindowCentredAndDrawnBeforeTheSoundStarts) {
    tickAt(8, 0, 0);
    HWND window = alarm.handle();
    // Painted inside the alarm action, before any message was handled.
    EXPECT_FALSE(GetUpdateRect(window, nullptr, FALSE));
    EXPECT_EQ(GetWindowLongW(window, GWL_STYLE) & (WS_CAPTION | WS_BORDER | WS_THICKFRAME), 0);
    EXPECT_TRUE(GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_TOPMOST);
    RECT client, outer, work;
    GetClientRect(window, &client);
    GetWindowRect(window, &outer);
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    EXPECT_EQ(client.right, 221);
    EXPECT_EQ(client.bottom, 64);
    EXPECT_NEAR(outer.left - work.left, work.right - outer.right, 1);
    EXPECT_NEAR(outer.top - work.top, work.bottom - outer.bottom, 1);
    EXPECT_TRUE(PumpUntil([this] { return GetFocus() == alarm.StpButton.handle(); }));
    wchar_t caption[32] = {};
    GetWindowTextW(alarm.StpButton.handle(), caption, 32);
    EXPECT_STREQ(caption, L"再生停止");
    RECT button;
    GetWindowRect(alarm.StpButton.handle(), &button);
    MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&button), 2);
    EXPECT_EQ(std::make_tuple(button.left, button.top, button.right, button.bottom), std::make_tuple(73, 32, 148, 57));

    // The message is centred where the layout puts its 163 by 12 label at
    // 29, 8, and shows whole even in a font wider than the layout's.
    const fw::Bounds label = alarm.Label1.bounds();
    EXPECT_EQ(label.top, 8);
    EXPECT_EQ(label.height, 12);
    EXPECT_NEAR(label.left + label.width / 2.0, 29 + 163 / 2.0, 1);
    const fw::WindowDC dc;
    const fw::SelectGuard font(dc.get(), fw::Form::sharedFont());
    SIZE text;
    GetTextExtentPoint32W(dc.get(), kAlarmMessage, static_cast<int>(wcslen(kAlarmMessage)), &text);
    EXPECT_GE(label.width, std::max(163L, text.cx));
    const fw::WindowDC surface(window);
    int first = 221, last = -1;
    for (int y = 8; y < 20; ++y)
        for (int x = 0; x < 221; ++x)
            if (GetPixel(surface.get(), x, y) != GetSysColor(COLOR_BTNFACE)) {
                first = std::min(first, x);
                last = std::max(last, x);
            }
    ASSERT_GE(last, first) << "no text drawn";
    EXPECT_GE(first, label.left);
    EXPECT_LT(last, label.left + label.width);
    EXPECT_NEAR((first + last) / 2.0, 110.5, 4);  // glyphs sit unevenly in their cells
}

TEST_F(AlarmTest, RingsAtMidnightWithTheDefaultsOncePerMinuteAndAgainTheNextDay) {
    setup.hrset.setItemIndex(0);
    setup.mnset.setItemIndex(0);
    tickAt(23, 59, 59);
    EXPECT_FALSE(alarm.visible());
    tickAt(0, 0, 0);
    EXPECT_TRUE(alarm.AlarmSounding());
    EXPECT_TRUE(alarm.visible());
    EXPECT_EQ(alarm.Label1.caption(), kAlarmMessage);
    clickStop();
    EXPECT_FALSE(alarm.visible());
    for (int second = 0; second < 60; ++second) {
        tickAt(0, 0, second);
        clock.ClockTick(true);  // ticks many times a second
        clock.ClockTick(true);
    }
    tickAt(0, 1, 0);
    EXPECT_FALSE(alarm.AlarmTriggered());
    tickAt(0, 0, 0);  // the next day
    EXPECT_EQ(sent(MCI_OPEN), 2);
    EXPECT_TRUE(fake.beeps.empty());
}

TEST_F(AlarmTest, NeverRingsWithoutATimeInTheListsOrWhileTheClockIsHidden) {
    const auto aWholeDay = [this] {
        for (int minute = 0; minute < 24 * 60; ++minute) tickAt(minute / 60, minute % 60, 0);
    };
    setup.hrset.setItemIndex(24);  // a stored hour outside the list selects nothing
    aWholeDay();
    setup.hrset.setItemIndex(8);
    setup.mnset.setItemIndex(60);
    aWholeDay();
    setup.mnset.setItemIndex(0);
    clock.hide();  // as while the settings dialog is up
    for (int second = 0; second < 60; ++second) tickAt(8, 0, second);
    clock.show();
    tickAt(8, 1, 0);
    EXPECT_EQ(sent(MCI_OPEN), 0);
    EXPECT_FALSE(alarm.visible());
}

TEST_F(AlarmTest, ATestPlayUsesUpTheMinuteAndTheNextAlarmSaysItIsTheAlarm) {
    clock.hide();  // the settings dialog is up
    tickAt(8, 0, 5);
    setup.PlayButtonClick();
    EXPECT_TRUE(alarm.visible());
    EXPECT_EQ(alarm.Label1.caption(), kTestMessage);
    const MCIDEVICEID device = alarm.AlarmDevice();
    ASSERT_TRUE(PumpUntil([this] { return !alarm.visible(); }));  // played once, then hidden
    EXPECT_TRUE(DeviceClosed(device));
    clock.show();
    tickAt(8, 0, 30);
    EXPECT_EQ(sent(MCI_OPEN), 1);
    tickAt(8, 1, 0);
    tickAt(8, 0, 0);
    EXPECT_TRUE(alarm.visible());
    EXPECT_EQ(alarm.Label1.caption(), kAlarmMessage);
}

TEST_F(AlarmTest, RepeatsUntilStoppedOrUntilRepeatingIsSwitchedOff) {
    setup.refrpl.setChecked(true);
    tickAt(8, 0, 0);
    // Aborted and superseded plays are the echo of a stop or a replay: no reply.
    const size_t commands = fake.mciCommands.size();
    for (const WPARAM code : {MCI_NOTIFY_ABORTED, MCI_NOTIFY_SUPERSEDED})
        SendMessageW(alarm.handle(), MM_MCINOTIFY, code, static_cast<LPARAM>(alarm.AlarmDevice()));
    EXPECT_EQ(fake.mciCommands.size(), commands);
    ASSERT_TRUE(PumpUntil([this] { return sent(MCI_PLAY) >= 3; }));
    EXPECT_GE(sent(MCI_SEEK), 2);
    EXPECT_TRUE(alarm.visible());
    MCIDEVICEID device = alarm.AlarmDevice();
    clickStop();
    EXPECT_FALSE(alarm.visible());
    EXPECT_FALSE(alarm.AlarmSounding());
    EXPECT_TRUE(DeviceClosed(device));

    tickAt(8, 1, 0);
    tickAt(8, 0, 0);
    const long plays = sent(MCI_PLAY);
    ASSERT_TRUE(PumpUntil([&] { return sent(MCI_PLAY) > plays; }));
    device = alarm.AlarmDevice();
    setup.refrpl.setChecked(false);  // read when a playback ends
    ASSERT_TRUE(PumpUntil([this] { return !alarm.visible(); }));
    EXPECT_FALSE(alarm.AlarmSounding());
    EXPECT_TRUE(DeviceClosed(device));
}

TEST_F(AlarmTest, ClickingAnotherWindowOfTheProgramGivesTheFocusBack) {
    setup.refrpl.setChecked(true);
    tickAt(8, 0, 0);
    ASSERT_TRUE(PumpUntil([this] { return GetActiveWindow() == alarm.handle(); }));
    SetActiveWindow(clock.handle());
    EXPECT_TRUE(PumpUntil([this] {
        return GetActiveWindow() == alarm.handle() && GetFocus() == alarm.StpButton.handle();
    }));
}

TEST_F(AlarmTest, AFileMciCannotOpenBeepsOnceAndUsesUpTheMinute) {
    const std::wstring text = BesideThisProgram(L"not_a_wave.wav");
    std::ofstream(text.c_str()) << "RIFF? no, just text\n";
    const std::string files[] = {Ansi(BesideThisProgram(L"missing.wav")), Ansi(text), ""};
    for (const std::string& file : files) {
        SCOPED_TRACE(file);
        fake.beeps.clear();
        alarm.AlarmFile = file;
        tickAt(7, 59, 0);  // another minute ends the latch
        tickAt(8, 0, 0);
        tickAt(8, 0, 30);
        EXPECT_EQ(fake.beeps, std::vector<UINT>{1});
        EXPECT_TRUE(alarm.AlarmTriggered());
        EXPECT_FALSE(alarm.visible());
        EXPECT_FALSE(alarm.AlarmSounding());
    }
    DeleteFileW(text.c_str());
}

TEST_F(AlarmTest, AJapaneseFileNamePlays) {
    const std::wstring chime = BesideThisProgram(L"目覚まし時計の音.wav");
    ASSERT_TRUE(CopyFileW(BesideThisProgram(L"Horolo.wav").c_str(), chime.c_str(), FALSE));
    alarm.AlarmFile = Ansi(chime);
    tickAt(8, 0, 0);
    EXPECT_TRUE(alarm.AlarmSounding());
    EXPECT_TRUE(PumpUntil([this] { return !alarm.visible(); }));  // to its end
    EXPECT_TRUE(fake.beeps.empty());
    DeleteFileW(chime.c_str());
}

TEST_F(AlarmTest, TheOpenActionRunsTheFileThroughTheShellWithoutANotice) {
    const std::wstring recorder = BesideThisProgram(L"arg_recorder.exe");
    const std::wstring record = recorder + L".txt";
    DeleteFileW(record.c_str());
    alarm.AlarmAction = 1;
    alarm.AlarmFile = Ansi(recorder);
    alarm.AlarmOption = Ansi(L"alpha 二番目 \"three words\"");
    tickAt(8, 0, 0);
    EXPECT_FALSE(alarm.visible());
    EXPECT_FALSE(alarm.AlarmSounding());
    ASSERT_TRUE(PumpUntil([&] { return GetFileAttributesW(record.c_str()) != INVALID_FILE_ATTRIBUTES; }));
    EXPECT_EQ(ReadFile(record), "show=5\n" + alarm.AlarmOption);
    DeleteFileW(record.c_str());

    // Files the shell cannot open: nothing happens, nothing is reported.
    for (const std::string& file : {Ansi(BesideThisProgram(L"missing.exe")), std::string()}) {
        alarm.AlarmFile = file;
        tickAt(7, 59, 0);  // another minute ends the latch
        tickAt(8, 0, 0);
        EXPECT_TRUE(alarm.AlarmTriggered());
    }
    fwtest::PumpFor(200);
    EXPECT_FALSE(alarm.visible());
    EXPECT_TRUE(fake.beeps.empty());
    EXPECT_TRUE(fake.boxes.empty());
    EXPECT_EQ(sent(MCI_OPEN), 0);
}

TEST_F(AlarmTest, ASoundStillPlayingStopsWhenTheAlarmWindowGoes) {
    MCIDEVICEID device = 0;
    {
        TAlarmForm ending(clock, setup, nullptr);
        ending.create();
        ending.AlarmFile = alarm.AlarmFile;
        setup.refrpl.setChecked(true);
        tickAt(8, 0, 0);
        ASSERT_TRUE(ending.AlarmSounding());
        device = ending.AlarmDevice();
    }
    EXPECT_TRUE(DeviceClosed(device));
}
