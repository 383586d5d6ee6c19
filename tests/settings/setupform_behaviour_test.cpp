// The settings dialog at work among the program's windows: shown from the
// clock's menu, changed by clicks on its real controls, with the file,
// colour and input dialogs answered through the platform, and closed by OK,
// Cancel, Esc or the close box; then the clock takes the settings up.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cwctype>
#include <functional>
#include <initializer_list>
#include <optional>
#include <string>
#include <vector>

#include "app/alarm/alarmform.h"
#include "app/clock/clockform.h"
#include "app/info/fortune.h"
#include "app/settings/setupform.h"
#include "framework/ansi.h"
#include "framework/application.h"
#include "framework/gdi.h"
#include "framework/timer.h"
#include "tests/clock/face_pictures.h"
#include "tests/framework/test_support.h"
#include "tests/info/fortune_listing.h"
#include "tests/spi/spi_test_support.h"

namespace {

enum class End { Ok, Cancel, Escape, CloseBox, None };

const char* NameOf(End end) {
    switch (end) {
    case End::Ok: return "OK";
    case End::Cancel: return "Cancel";
    case End::Escape: return "Esc";
    case End::CloseBox: return "close box";
    case End::None: break;
    }
    return "none";
}

// The recording platform, with something to do while a file dialog is up.
class Platform : public fwtest::RecordingPlatform {
public:
    bool openFileDialog(const std::wstring& filter, const std::wstring& defaultExt, std::wstring& fileName) override {
        if (whileFileDialog) whileFileDialog();
        return RecordingPlatform::openFileDialog(filter, defaultExt, fileName);
    }
    std::function<void()> whileFileDialog;
};

void Click(HWND window) { SendMessageW(window, BM_CLICK, 0, 0); }

void Click(fw::ColorPanel& panel) {
    SendMessageW(panel.handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
    SendMessageW(panel.handle(), WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
}

// A user's choice in a list: the selection, then its notification.
void Choose(HWND list, int index, UINT setSelection, WORD notification) {
    SendMessageW(list, setSelection, static_cast<WPARAM>(index), 0);
    SendMessageW(GetParent(list), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(list), notification),
                 reinterpret_cast<LPARAM>(list));
}

BOOL CALLBACK CountWindow(HWND, LPARAM count) {
    ++*reinterpret_cast<int*>(count);
    return TRUE;
}

BOOL CALLBACK CountWindowAndChildren(HWND window, LPARAM count) {
    CountWindow(window, count);
    EnumChildWindows(window, CountWindow, count);
    return TRUE;
}

int WindowsOfThisThread() {
    int count = 0;
    EnumThreadWindows(GetCurrentThreadId(), CountWindowAndChildren, reinterpret_cast<LPARAM>(&count));
    return count;
}

class SettingsDialog : public testing::Test {
protected:
    void SetUp() override {
        // Away from the top-left corner, where the end-to-end clock is read.
        clock.moveTo(340, 300);
        clock.create();
        setup.create();
        alarm.create();  // the program's start-up
        clock.show();
        app.processMessages();
    }

    void TearDown() override {
        if (clock.handle()) clock.FormClose();
        app.clearOnIdle();
    }

    // Opens the dialog with the clock's shortcut; once it is up, `whileUp`
    // runs inside its loop and `end` closes it. Returns whether it was up.
    bool showSettings(const std::function<void()>& whileUp, End end = End::Ok) {
        bool shown = false;
        fw::Timer script(10);
        script.onTimer = [&] {
            script.setInterval(0);
            shown = setup.visible() && IsWindowVisible(setup.handle());
            if (whileUp) whileUp();
            switch (end) {
            case End::Ok: Click(setup.okbtn.handle()); break;
            case End::Cancel: Click(setup.CancelBtn.handle()); break;
            case End::Escape: {
                HWND focus = GetFocus();
                PostMessageW(focus ? focus : setup.handle(), WM_KEYDOWN, VK_ESCAPE, 0);
                break;
            }
            case End::CloseBox: SendMessageW(setup.handle(), WM_SYSCOMMAND, SC_CLOSE, 0); break;
            case End::None: break;
            }
        };
        EXPECT_TRUE(clock.Menu.runShortcut(fw::Shortcut::Ctrl('S')));
        return shown;
    }

    // A file dialog's answer: the file picked, or nothing for Cancel.
    void answerFile(std::optional<std::wstring> path) { fake.fileAnswers.push_back(std::move(path)); }

    void expectErrorBox(const wchar_t* text) {
        ASSERT_EQ(fake.boxes.size(), 1u);
        EXPECT_EQ(fake.boxes[0].text, text);
        EXPECT_EQ(fake.boxes[0].caption, L"ｴﾗｰ");
        EXPECT_EQ(fake.boxes[0].type & MB_ICONMASK, static_cast<UINT>(MB_ICONSTOP));
        EXPECT_EQ(fake.beeps, (std::vector<UINT>{MB_ICONASTERISK}));
    }

    fw::Application& app = fw::Application::instance();
    Platform fake;
    fw::PlatformOverride useFake{fake};
    TSetupform setup;
    Tclockform clock{setup};
    // A start without the time text: the caption stays the program's name.
    TAlarmForm alarm{clock, setup, [this] {
        horolo::StoredSettings stored;
        stored.character = false;
        clock.StartUp(stored);
    }};
    spitest::TempDir files;
    const std::string chime = spitest::binDir() + "\\Horolo.wav";
};

// Whichever way the dialog ends, it stood where the clock stands while the
// clock was hidden, and the clock comes back in front and takes the settings
// up. A second Setting command meanwhile does nothing.
TEST_F(SettingsDialog, ShowsInPlaceOfTheClockAndTheClockAppliesWhicheverWayItEnds) {
    for (End end : {End::Ok, End::Cancel, End::Escape, End::CloseBox}) {
        SCOPED_TRACE(NameOf(end));
        clock.setCaption(L"before");
        setup.indtyp.setItemIndex(-1);
        setup.Staytop.setChecked(true);
        POINT dialogAt{-1, -1};
        bool clockHidden = false;
        EXPECT_TRUE(showSettings(
            [&] {
                dialogAt = setup.position();
                clockHidden = !IsWindowVisible(clock.handle());
                EXPECT_TRUE(clock.Menu.runShortcut(fw::Shortcut::Ctrl('S')));
            },
            end));
        EXPECT_EQ(dialogAt.x, clock.position().x);
        EXPECT_EQ(dialogAt.y, clock.position().y);
        EXPECT_TRUE(clockHidden);
        EXPECT_TRUE(fake.boxes.empty());
        EXPECT_FALSE(IsWindowVisible(setup.handle()));
        EXPECT_TRUE(IsWindowVisible(clock.handle()));
        EXPECT_TRUE(IsWindowEnabled(clock.handle()));
        EXPECT_EQ(GetActiveWindow(), clock.handle());
        EXPECT_EQ(clock.caption(), L"Horolo");
        EXPECT_TRUE(clock.topmost());
        // The face was rebuilt without indicators and copied to the window's layer.
        EXPECT_EQ(facetest::Pixels(clock.faceBitmap()), facetest::BuiltIn(0));
        EXPECT_EQ(facetest::Pixels(clock.bgimg.bitmap()), facetest::Pixels(clock.faceBitmap()));
    }
}

// The item before "その他" comes back when its file dialog gives no file.
TEST_F(SettingsDialog, PictureFileChoice) {
    const std::wstring picked = fw::FromAnsi(files.file("photo.bmp"));
    const struct {
        const char* name;
        std::optional<std::wstring> answer;
        int item;
        std::string file;
        const wchar_t* box;
    } cases[] = {
        {"cancelled", std::nullopt, 2, "", nullptr},
        {"a name outside the code page", L"C:\\写真\\caf\u00e9.bmp", 2, "", L"Error:\nこのファイル名は使えません"},
        {"picked", picked, 3, files.file("photo.bmp"), nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        fake.boxes.clear();
        fake.beeps.clear();
        fake.fileDialogs.clear();
        answerFile(c.answer);
        showSettings(
            [&] {
                Click(setup.bgselector.buttonHandle(2));
                Click(setup.bgselector.buttonHandle(3));
                EXPECT_EQ(setup.bgselector.itemIndex(), c.item);
                EXPECT_EQ(clock.BackgroundFile, c.file);
                EXPECT_EQ(setup.bgfsel.enabled(), c.item == 3);
                EXPECT_EQ(setup.str_type.enabled(), c.item == 3);
            },
            End::Cancel);
        ASSERT_EQ(fake.fileDialogs.size(), 1u);
        EXPECT_EQ(fake.fileDialogs[0].filter, fw::FromAnsi(setup.ImageFilter));
        EXPECT_EQ(fake.fileDialogs[0].defaultExt, L"bmp");
        EXPECT_EQ(fake.fileDialogs[0].fileName, L"");
        if (c.box) {
            expectErrorBox(c.box);
        } else {
            EXPECT_TRUE(fake.boxes.empty());
        }
    }
}

// After "その他" gave no file the focus stays on its unchecked button; when
// the user comes back from another window, the focus returns to the checked
// item and no file dialog opens by itself.
TEST_F(SettingsDialog, ComingBackAfterACancelledPictureFileOpensNothing) {
    answerFile(std::nullopt);
    showSettings(
        [&] {
            Click(setup.bgselector.buttonHandle(2));
            Click(setup.bgselector.buttonHandle(3));
            EXPECT_EQ(GetFocus(), setup.bgselector.buttonHandle(3));
            HWND other = CreateWindowExW(0, L"STATIC", L"other", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 100, 50,
                                         nullptr, nullptr, nullptr, nullptr);
            SetForegroundWindow(other);
            EXPECT_EQ(GetActiveWindow(), other);
            SetForegroundWindow(setup.handle());
            app.processMessages();
            DestroyWindow(other);
            EXPECT_EQ(GetFocus(), setup.bgselector.buttonHandle(2));
            EXPECT_EQ(setup.bgselector.itemIndex(), 2);
        },
        End::Cancel);
    EXPECT_EQ(fake.fileDialogs.size(), 1u);
}

// OK with a built-in picture drops the picture file: the clock shows IMAGE1.
TEST_F(SettingsDialog, NeoraWithOkClearsThePictureFileAndShowsImage1) {
    files.write("photo.bmp", facetest::TwoColourBmp(20, 20));
    clock.BackgroundFile = files.file("photo.bmp");
    setup.bgselector.setItemIndex(3);
    clock.ApplySettings();
    ASSERT_FALSE(facetest::ShowsPicture(facetest::Pixels(clock.faceBitmap()), facetest::BuiltIn(1)));
    showSettings([&] { Click(setup.bgselector.buttonHandle(1)); }, End::Ok);
    EXPECT_TRUE(clock.BackgroundFile.empty());
    EXPECT_EQ(setup.bgselector.itemIndex(), 1);
    EXPECT_FALSE(setup.bgfsel.enabled());
    EXPECT_TRUE(facetest::ShowsPicture(facetest::Pixels(clock.bgimg.bitmap()), facetest::BuiltIn(1)));
    EXPECT_TRUE(fake.boxes.empty());
}

// Cancel, Esc and the close box put back every value the dialog changed,
// also the alarm's action and option, the fortunes of the data file put back
// and the file button of "その他".
TEST_F(SettingsDialog, CancelPutsBackEverything) {
    files.write("photo.bmp", facetest::TwoColourBmp(20, 20));
    files.write("mine.dat", "mine one\r\nmine two\r\n");
    spitest::TempDir other;
    for (End end : {End::Cancel, End::Escape, End::CloseBox}) {
        SCOPED_TRACE(NameOf(end));
        clock.BackgroundFile = files.file("photo.bmp");
        setup.bgselector.setItemIndex(3);
        clock.ApplySettings();
        setup.EnbAlm.setChecked(true);
        setup.hrset.setItemIndex(7);
        setup.mnset.setItemIndex(30);
        alarm.AlarmFile = chime;
        alarm.AlarmOption = "-keep";
        clock.Fortune.FortuneDataPath = files.file("mine.dat");
        clock.Fortune.LoadFortunes(false);
        setup.udf.setItemIndex(1);
        ASSERT_TRUE(setup.dirsel.setDirectory(files.path()));
        const std::vector<COLORREF> colours = {RGB(1, 2, 3), RGB(4, 5, 6), RGB(7, 8, 9),
                                               RGB(10, 11, 12), RGB(13, 14, 15), RGB(16, 17, 18)};
        fw::ColorPanel* panels[] = {&setup.hrcol, &setup.mncol, &setup.sccol,
                                    &setup.indcol, &setup.chrcol, &setup.bgspcol};
        for (int i = 0; i < 6; ++i) panels[i]->setColor(colours[i]);
        fake.colorDialogs.clear();
        answerFile(L"C:\\tools\\open.exe");

        showSettings(
            [&] {
                Click(setup.bgselector.buttonHandle(1));
                Click(setup.indtyp.buttonHandle(2));
                Click(setup.str_type.handle());
                Click(setup.Staytop.handle());
                Click(setup.chview.handle());
                Click(setup.cpusave.handle());
                Click(setup.cpusi.buttonHandle(2));
                for (fw::ColorPanel* panel : panels) {
                    fake.colorAnswers.push_back(RGB(200, 100, 50));
                    Click(*panel);
                }
                Choose(setup.hrset.handle(), 21, CB_SETCURSEL, CBN_SELCHANGE);
                Choose(setup.mnset.handle(), 45, CB_SETCURSEL, CBN_SELCHANGE);
                Click(setup.AlmAction.buttonHandle(1));  // asks for the file to open
                Click(setup.EnbAlm.handle());
                Click(setup.udf.buttonHandle(0));
                ASSERT_TRUE(setup.dirsel.setDirectory(other.path()));
                EXPECT_EQ(clock.Fortune.FortuneDataPath, DefaultFortuneDataPath());
                EXPECT_EQ(alarm.AlarmAction, 1);
                EXPECT_EQ(setup.hrset.itemIndex(), 21);
                EXPECT_EQ(setup.hrcol.color(), RGB(200, 100, 50));
            },
            end);

        EXPECT_EQ(setup.bgselector.itemIndex(), 3);
        EXPECT_EQ(clock.BackgroundFile, files.file("photo.bmp"));
        EXPECT_TRUE(setup.bgfsel.enabled());
        EXPECT_TRUE(setup.str_type.enabled());
        EXPECT_EQ(setup.indtyp.itemIndex(), 0);
        EXPECT_FALSE(setup.str_type.checked());
        EXPECT_FALSE(setup.Staytop.checked());
        EXPECT_FALSE(setup.chview.checked());
        EXPECT_FALSE(setup.cpusave.checked());
        EXPECT_FALSE(setup.cpusi.enabled());
        EXPECT_EQ(setup.cpusi.itemIndex(), 0);
        EXPECT_EQ(fake.colorDialogs, colours);  // each dialog started at its panel's colour
        for (int i = 0; i < 6; ++i) EXPECT_EQ(panels[i]->color(), colours[i]) << i;
        EXPECT_TRUE(setup.EnbAlm.checked());
        EXPECT_TRUE(setup.hrset.enabled());
        EXPECT_TRUE(setup.refrpl.enabled());
        EXPECT_EQ(setup.hrset.itemIndex(), 7);
        EXPECT_EQ(setup.mnset.itemIndex(), 30);
        EXPECT_EQ(setup.AlmAction.itemIndex(), 0);
        EXPECT_EQ(setup.PlayButton.caption(), L"再生(&P)");
        EXPECT_EQ(alarm.AlarmAction, 0);
        EXPECT_EQ(alarm.AlarmFile, chime);
        EXPECT_EQ(alarm.AlarmOption, "-keep");
        EXPECT_EQ(clock.Fortune.FortuneDataPath, files.file("mine.dat"));
        EXPECT_EQ(fortunetest::Listed(clock.Fortune.FortuneList), (std::vector<std::string>{"mine one", "mine two"}));
        EXPECT_EQ(setup.udf.itemIndex(), 1);
        EXPECT_TRUE(setup.SeldfButton.enabled());
        EXPECT_EQ(lstrcmpiA(setup.dirsel.directory().c_str(), files.path().c_str()), 0);
        EXPECT_EQ(setup.drvsel.drive(), setup.dirsel.directory()[0]);
        EXPECT_TRUE(fake.boxes.empty());
        EXPECT_TRUE(fake.fileAnswers.empty());
    }
}

// Changing the action asks at once for its file; the open action's option is
// edited in the input box, the sound's button tests the alarm.
TEST_F(SettingsDialog, AlarmActionFileAndOption) {
    alarm.AlarmOption = "-old";
    answerFile(std::nullopt);
    answerFile(fw::FromAnsi(chime));
    fake.inputAnswers.push_back(L"-new");
    fake.inputAnswers.push_back(L"\U0001F514");  // not in the code page: refused
    fake.inputAnswers.push_back(std::nullopt);
    showSettings([&] {
        Click(setup.EnbAlm.handle());
        Click(setup.AlmAction.buttonHandle(1));
        ASSERT_EQ(fake.fileDialogs.size(), 1u);
        EXPECT_EQ(fake.fileDialogs[0].filter, L"All Files|*.*");
        EXPECT_EQ(alarm.AlarmFile, "");
        EXPECT_EQ(alarm.AlarmOption, "");
        EXPECT_EQ(alarm.AlarmAction, 1);
        EXPECT_FALSE(setup.refrpl.enabled());
        EXPECT_EQ(setup.PlayButton.caption(), L"ｵﾌﾟｼｮﾝ編集");

        for (const char* expected : {"-new", "-new", "-new"}) {
            Click(setup.PlayButton.handle());
            EXPECT_EQ(alarm.AlarmOption, expected);
        }
        ASSERT_EQ(fake.inputs.size(), 3u);
        EXPECT_EQ(fake.inputs[0].caption, L"Command Line for Alarm");
        EXPECT_EQ(fake.inputs[0].prompt, L"オプションを編集して下さい");
        EXPECT_EQ(fake.inputs[0].preset, L"");
        EXPECT_EQ(fake.inputs[1].preset, L"-new");
        expectErrorBox(L"Error:\nこのオプションは使えません");

        Click(setup.AlmAction.buttonHandle(0));
        ASSERT_EQ(fake.fileDialogs.size(), 2u);
        EXPECT_EQ(fake.fileDialogs[1].filter, L"WAVE File (*.WAV)|*.wav");
        EXPECT_EQ(alarm.AlarmFile, chime);
        EXPECT_EQ(alarm.AlarmAction, 0);
        EXPECT_EQ(alarm.AlarmOption, "-new");
        EXPECT_TRUE(setup.refrpl.enabled());

        Click(setup.PlayButton.handle());  // the test play
        EXPECT_TRUE(alarm.AlarmSounding());
        EXPECT_EQ(alarm.Label1.caption(), kTestMessage);
        alarm.StpButtonClick();
    });
    EXPECT_TRUE(setup.EnbAlm.checked());  // the file opens: OK keeps the alarm on
    EXPECT_EQ(fake.boxes.size(), 1u);
}

// OK tests the alarm file: without one that opens, the alarm goes off.
TEST_F(SettingsDialog, OkSwitchesTheAlarmOffWithoutAFileThatOpens) {
    const struct {
        const char* name;
        std::string file;
        bool stays;
    } cases[] = {
        {"no file", "", false},
        {"a missing file", files.file("gone.wav"), false},
        {"the chime", chime, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        fake.boxes.clear();
        fake.beeps.clear();
        alarm.AlarmFile = c.file;
        setup.EnbAlm.setChecked(false);
        showSettings([&] { Click(setup.EnbAlm.handle()); }, End::Ok);
        EXPECT_EQ(setup.EnbAlm.checked(), c.stays);
        for (fw::Control* control : std::initializer_list<fw::Control*>{
                 &setup.Label6, &setup.hrset, &setup.Label7, &setup.mnset, &setup.Label8, &setup.AlmAction,
                 &setup.Filsel, &setup.PlayButton, &setup.refrpl})
            EXPECT_EQ(control->enabled(), c.stays);
        if (c.stays) {
            EXPECT_TRUE(fake.boxes.empty());
        } else {
            expectErrorBox(L"アラームファイルが存在しないか選択されていません。\nアラーム設定は無効です");
        }
    }
}

TEST_F(SettingsDialog, FortuneDataChoice) {
    files.write("mine.dat", "mine\r\n");
    answerFile(fw::FromAnsi(files.file("mine.dat")));
    answerFile(std::nullopt);
    answerFile(fw::FromAnsi(files.file("gone.dat")));
    showSettings([&] {
        Click(setup.SeldfButton.handle());
        EXPECT_EQ(fake.fileDialogs.back().filter, L"Data File (*.DAT)|*.dat");
        EXPECT_EQ(fortunetest::Listed(clock.Fortune.FortuneList), (std::vector<std::string>{"mine"}));
        EXPECT_TRUE(clock.FortuneItem.enabled());

        Click(setup.udf.buttonHandle(0));
        EXPECT_EQ(clock.Fortune.FortuneDataPath, DefaultFortuneDataPath());
        EXPECT_FALSE(setup.SeldfButton.enabled());
        EXPECT_GT(clock.Fortune.FortuneList.size(), 1u);

        Click(setup.udf.buttonHandle(1));  // asks for a file; cancelled
        EXPECT_EQ(clock.Fortune.FortuneDataPath, DefaultFortuneDataPath());
        EXPECT_TRUE(setup.SeldfButton.enabled());

        Click(setup.SeldfButton.handle());
        EXPECT_EQ(clock.Fortune.FortuneDataPath, files.file("gone.dat"));
        EXPECT_FALSE(clock.FortuneItem.enabled());
        expectErrorBox(L"Data File is not found.");
    });
    EXPECT_EQ(fake.fileDialogs.size(), 3u);
}

// The plug-in page on Wine's real drives: each directory the user opens is
// searched for plug-ins, and the format list and the picture filter follow.
TEST_F(SettingsDialog, PluginDirectoryOnTheRealDrives) {
    ASSERT_NE(clock.LoaderHandle, nullptr);
    files.addPlugins({"one.spi"});
    spitest::TempDir empty;
    CreateDirectoryA(files.file("sub").c_str(), nullptr);
    showSettings([&] {
        setup.pager.setActivePage(setup.susp);
        ASSERT_TRUE(setup.dirsel.setDirectory(files.file("sub")));
        // The user opens the parent's line, then the empty folder's.
        const auto& lines = setup.dirsel.lines();
        const auto parent = std::find_if(lines.begin(), lines.end(), [&](const std::string& line) {
            return lstrcmpiA(line.c_str(), files.path().c_str()) == 0;
        });
        ASSERT_NE(parent, lines.end());
        Choose(setup.dirsel.handle(), static_cast<int>(parent - lines.begin()), LB_SETCURSEL, LBN_DBLCLK);
        EXPECT_EQ(setup.fmtl.items(), (std::vector<std::wstring>{L"Windows Bitmap", L"HRL test picture"}));
        EXPECT_EQ(setup.ImageFilter, "Windows Bitmap (*.BMP)|*.bmp|HRL test picture|*.hrl");

        ASSERT_TRUE(setup.dirsel.setDirectory(empty.path()));
        EXPECT_EQ(setup.fmtl.items(), (std::vector<std::wstring>{L"Windows Bitmap"}));
        EXPECT_EQ(setup.ImageFilter, "Windows Bitmap (*.BMP)|*.bmp");

        // Choosing a drive moves the directory list to it.
        for (char drive : {'z', 'c'}) {
            const std::vector<std::wstring>& items = setup.drvsel.items();
            const auto item = std::find_if(items.begin(), items.end(), [drive](const std::wstring& text) {
                return !text.empty() && towlower(text[0]) == static_cast<wchar_t>(drive);
            });
            ASSERT_NE(item, items.end()) << drive;
            setup.fmtl.clear();
            Choose(setup.drvsel.handle(), static_cast<int>(item - items.begin()), CB_SETCURSEL, CBN_SELCHANGE);
            EXPECT_EQ(setup.drvsel.drive(), drive);
            EXPECT_EQ(setup.dirsel.directory()[0], drive);
            EXPECT_EQ(setup.fmtl.items().front(), L"Windows Bitmap");
        }
    });
}

// The keys of a tabbed dialog, as a user presses them: each change of page
// selects the page's tab and shows the page alone, as a click on the tab
// does, and the focus goes to the page's first control (to the tab strip on
// the colour page, which has none). The strip is the tab stop after Cancel.
TEST_F(SettingsDialog, KeysTurnThePages) {
    showSettings([&] {
        HWND strip = setup.pager.handle();
        const struct {
            const char* name;
            HWND from;  // where the focus is put first, if anywhere
            std::initializer_list<WORD> keys;
            fw::Page& page;
            HWND focused;
        } steps[] = {
            {"Ctrl+Shift+Tab wraps", nullptr, {VK_CONTROL, VK_SHIFT, VK_TAB}, setup.susp, setup.drvsel.handle()},
            {"Ctrl+Tab wraps", nullptr, {VK_CONTROL, VK_TAB}, setup.general_setting,
             setup.bgselector.buttonHandle(setup.bgselector.itemIndex())},
            {"Ctrl+PgDn", nullptr, {VK_CONTROL, VK_NEXT}, setup.Colsetting, strip},
            {"Right on the strip", nullptr, {VK_RIGHT}, setup.AlarmSet, strip},
            {"Tab into the page", nullptr, {VK_TAB}, setup.AlarmSet, setup.EnbAlm.handle()},
            {"Ctrl+PgUp", nullptr, {VK_CONTROL, VK_PRIOR}, setup.Colsetting, strip},
            {"Tab after Cancel", setup.CancelBtn.handle(), {VK_TAB}, setup.Colsetting, strip},
        };
        for (const auto& step : steps) {
            SCOPED_TRACE(step.name);
            if (step.from) SetFocus(step.from);
            ASSERT_TRUE(fwtest::PressKeys(setup.handle(), step.keys));
            const std::vector<fw::Page*> shown = setup.pager.visiblePages();
            const auto tab = std::find(shown.begin(), shown.end(), &step.page) - shown.begin();
            EXPECT_EQ(SendMessageW(strip, TCM_GETCURSEL, 0, 0), tab);
            EXPECT_EQ(setup.pager.activePage(), &step.page);
            for (fw::Page* page : setup.pager.pages())
                EXPECT_EQ(IsWindowVisible(page->handle()) != FALSE, page == &step.page);
            EXPECT_EQ(GetFocus(), step.focused);
        }
    });
}

// While the alarm sounds the dialog closes before it shows; the clock stays
// and takes up the settings as they were.
TEST_F(SettingsDialog, ClosesAtOnceWhileTheAlarmSounds) {
    alarm.AlarmFile = chime;
    alarm.StartAlarm();
    ASSERT_TRUE(alarm.AlarmSounding());
    clock.setCaption(L"before");
    EXPECT_FALSE(showSettings({}, End::Cancel));
    EXPECT_FALSE(IsWindowVisible(setup.handle()));
    EXPECT_TRUE(IsWindowVisible(clock.handle()));
    EXPECT_EQ(clock.caption(), L"Horolo");
    alarm.StpButtonClick();
}

// A close request for the clock while the dialog is up ends the dialog as
// Cancel, then closes the clock without taking the settings up; not while a
// dialog of the settings dialog's own is up.
TEST_F(SettingsDialog, CloseRequestWhileUpCancelsThenCloses) {
    fake.whileFileDialog = [&] {
        EnableWindow(setup.handle(), FALSE);  // as the system's dialog does with its owner
        SendMessageW(clock.handle(), WM_CLOSE, 0, 0);
        EnableWindow(setup.handle(), TRUE);
    };
    answerFile(std::nullopt);
    showSettings(
        [&] {
            Click(setup.SeldfButton.handle());
            EXPECT_TRUE(setup.modal());
            Click(setup.Staytop.handle());
        },
        End::Ok);
    EXPECT_TRUE(setup.Staytop.checked());
    EXPECT_NE(clock.faceBitmap(), nullptr);
    EXPECT_TRUE(app.hasIdleHandler());

    showSettings(
        [&] {
            Click(setup.Staytop.handle());
            SendMessageW(clock.handle(), WM_CLOSE, 0, 0);
        },
        End::None);
    EXPECT_TRUE(setup.Staytop.checked());
    EXPECT_EQ(clock.faceBitmap(), nullptr);  // closed
    EXPECT_FALSE(app.hasIdleHandler());      // and nothing applied after
    EXPECT_FALSE(IsWindowVisible(setup.handle()));
}

// The clock keeps ticking behind the dialog, by either driver.
TEST_F(SettingsDialog, TheTickRunsWhileTheDialogIsUp) {
    for (bool economy : {false, true}) {
        SCOPED_TRACE(economy ? "timer" : "idle handler");
        setup.cpusave.setChecked(economy);
        setup.cpusi.setItemIndex(2);
        clock.ApplySettings();
        const horolo::FaceTime later{10, 20, economy ? 31 : 30};
        showSettings([&] {
            fake.setTime(static_cast<WORD>(later.hour), static_cast<WORD>(later.minute),
                         static_cast<WORD>(later.second));
            const DWORD start = GetTickCount();
            while (clock.faceTime() != later && GetTickCount() - start < 10000) app.loopStep();
        });
        EXPECT_EQ(clock.faceTime(), later);
    }
}

TEST_F(SettingsDialog, NoGdiObjectOrWindowLeaksOverAHundredShowings) {
    const End ends[] = {End::Ok, End::Cancel, End::CloseBox};
    for (End end : ends) showSettings({}, end);  // first showings may keep caches
    const int objects = fw::GdiObjectCount();
    const int windows = WindowsOfThisThread();
    for (int i = 0; i < 100; ++i) showSettings({}, ends[i % 3]);
    app.processMessages();
    EXPECT_EQ(fw::GdiObjectCount(), objects);
    EXPECT_EQ(WindowsOfThisThread(), windows);
}

}  // namespace
