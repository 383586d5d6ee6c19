// Horolo.ini read at start-up and written at close through the system's own
// profile calls, with the program's four windows. The file lives in the
// Windows directory of the test prefix: these cases run alone.
#include <gtest/gtest.h>
#include <windows.h>

#include <fstream>
#include <functional>
#include <iterator>
#include <string>

#include "app/alarm/alarmform.h"
#include "app/clock/clockform.h"
#include "app/info/aboutbox.h"
#include "app/info/fortune.h"
#include "app/settings/settings_file.h"
#include "app/settings/setupform.h"
#include "app/settings/startup.h"
#include "framework/application.h"
#include "framework/platform.h"
#include "tests/framework/test_support.h"

namespace {

std::string SettingsPath() {
    char folder[MAX_PATH];
    GetWindowsDirectoryA(folder, MAX_PATH);
    return std::string(folder) + "\\" + kSettingsFileName;
}

void WriteText(const std::string& path, const std::string& text) { std::ofstream(path, std::ios::binary) << text; }

std::string ReadText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The program's four windows, made in its order; the alarm window's creation
// loads the settings file. Closing the clock writes it back.
struct Program {
    Program() {
        clock.SaveOnClose = [this] { SaveAtClose(windows()); };
        clock.create();
        about.create();
        setup.create();
        alarm.create();
    }
    ~Program() {
        clock.SaveOnClose = nullptr;  // only a close the test asks for writes the file
        if (clock.handle()) clock.FormClose();
        fw::Application::instance().clearOnIdle();
    }
    ProgramWindows windows() { return {clock, about, setup, alarm}; }

    TSetupform setup;
    TAboutBox about;
    Tclockform clock{setup, &about};
    TAlarmForm alarm{clock, setup, [this] { LoadSettings(windows()); }};
};

class SettingsFileTest : public testing::Test {
protected:
    void SetUp() override { remove(); }
    void TearDown() override { remove(); }
    static void remove() {
        DeleteFileA(SettingsPath().c_str());
        WritePrivateProfileStringA(nullptr, nullptr, nullptr, kSettingsFileName);  // the system's cache
    }

    fwtest::RecordingPlatform fake;
    fw::PlatformOverride useFake{fake};
};

}  // namespace

TEST_F(SettingsFileTest, AFirstStartHasEveryDefault) {
    Program p;
    const TSetupform& d = p.setup;
    EXPECT_EQ(d.indtyp.itemIndex(), 0);
    EXPECT_FALSE(d.Staytop.checked());
    EXPECT_FALSE(p.clock.topmost());
    EXPECT_TRUE(d.chview.checked());
    EXPECT_TRUE(p.clock.tmLabel.visible());
    EXPECT_EQ(d.chrcol.color(), RGB(255, 255, 255));
    for (COLORREF black : {d.hrcol.color(), d.mncol.color(), d.sccol.color(), d.indcol.color(), d.bgspcol.color()})
        EXPECT_EQ(black, RGB(0, 0, 0));
    EXPECT_EQ(d.bgselector.itemIndex(), 0);
    EXPECT_TRUE(p.clock.BackgroundFile.empty());
    EXPECT_FALSE(d.str_type.checked());
    EXPECT_TRUE(fw::Application::instance().hasIdleHandler());
    EXPECT_EQ(p.clock.TimeTimer.interval(), 0u);
    EXPECT_FALSE(d.EnbAlm.checked());
    EXPECT_EQ(d.hrset.itemIndex(), 0);
    EXPECT_EQ(d.mnset.itemIndex(), 0);
    EXPECT_TRUE(p.alarm.AlarmFile.empty());
    EXPECT_EQ(p.clock.Fortune.FortuneDataPath, DefaultFortuneDataPath());
    EXPECT_EQ(d.udf.itemIndex(), 0);
    EXPECT_EQ(p.clock.position().x, 0);
    EXPECT_EQ(p.clock.position().y, 0);
    EXPECT_EQ(p.clock.borderStyle(), fw::BorderStyle::Single);
    EXPECT_TRUE(fake.boxes.empty());
}

// What a stored value turns into, read through the system's own calls.
TEST_F(SettingsFileTest, StoredValuesAsTheWindowsShowThem) {
    const std::string missing = SettingsPath() + ".missing.wav";
    struct Case {
        const char* what;
        std::string file;
        std::function<bool(Program&)> holds;
    } const cases[] = {
        {"another version ignores Resource", "[Settings]\r\nVersion=1.0\r\nResource=1\r\n",
         [](Program& p) { return p.setup.bgselector.itemIndex() == 0; }},
        {"the version takes Resource", "[Settings]\r\nVersion=Version 1.00-Release\r\nResource=2\r\n",
         [](Program& p) { return p.setup.bgselector.itemIndex() == 2 && !p.setup.bgfsel.enabled(); }},
        {"Resource outside the pictures", "[Settings]\r\nVersion=Version 1.00-Release\r\nResource=7\r\n",
         [](Program& p) { return p.setup.bgselector.itemIndex() == 0; }},
        {"ff8000", "[Colors]\r\nHour=ff8000\r\nMinute=FF8000\r\nSecond=red\r\n",
         [](Program& p) {
             return p.setup.hrcol.color() == RGB(255, 128, 0) && p.setup.mncol.color() == RGB(255, 128, 0) &&
                    p.setup.sccol.color() == RGB(0, 0, 0);
         }},
        {"OnTop 2", "[Settings]\r\nOnTop=2\r\n", [](Program& p) { return p.setup.Staytop.checked() && p.clock.topmost(); }},
        {"OnTop yes", "[Settings]\r\nOnTop=yes\r\n", [](Program& p) { return !p.setup.Staytop.checked(); }},
        {"PosX 0x20", "[Settings]\r\nPosX=0x20\r\nPosY=$10\r\n",
         [](Program& p) { return p.clock.position().x == 32 && p.clock.position().y == 16; }},
        {"a lost window", "[Settings]\r\nPosX=-5000\r\nPosY=9000\r\n",
         [](Program& p) { return p.clock.position().x == 0 && p.clock.position().y > 0; }},
        {"HideTitle 5", "[Settings]\r\nHideTitle=5\r\n",
         [](Program& p) { return p.clock.TitleHidden == 1 && p.clock.borderStyle() == fw::BorderStyle::None; }},
        {"the alarm without its file", "[Alarm]\r\nUse=1\r\nFile=" + missing + "\r\n",
         [](Program& p) { return !p.setup.EnbAlm.checked() && p.alarm.AlarmFile.empty(); }},
        {"SPIDrive 3", "[SUSIE]\r\nSPIDrive=3\r\nSPIDirectory=C:\\windows\r\n",
         [](Program& p) {
             return p.setup.drvsel.drive() == 'c' && lstrcmpiA(p.setup.dirsel.directory().c_str(), "C:\\windows") == 0;
         }},
        {"SPIDrive 0 and an absolute directory", "[SUSIE]\r\nSPIDrive=0\r\nSPIDirectory=C:\\windows\r\n",
         [](Program& p) {
             return p.setup.drvsel.drive() == 'c' && lstrcmpiA(p.setup.dirsel.directory().c_str(), "C:\\windows") == 0;
         }},
        {"CPUSave with 500 ms", "[Settings]\r\nCPUSave=1\r\nRepaintInterval=1\r\n",
         [](Program& p) {
             return p.clock.TimeTimer.interval() == 500 && !fw::Application::instance().hasIdleHandler();
         }},
        {"an interval not offered", "[Settings]\r\nCPUSave=1\r\nRepaintInterval=9\r\n",
         [](Program& p) { return p.clock.TimeTimer.interval() == 1000 && p.setup.cpusi.itemIndex() == 0; }},
        {"a text longer than 1023 bytes", "[Alarm]\r\nOption=" + std::string(1500, 'o') + "\r\n",
         [](Program& p) { return p.alarm.AlarmOption == std::string(1023, 'o'); }},
    };
    for (const Case& c : cases) {
        WriteText(SettingsPath(), c.file);
        {
            Program p;
            EXPECT_TRUE(c.holds(p)) << c.what;
        }
        remove();
    }
}

// A first save, byte for byte: sections in their order, keys in the order of
// their first write, "FortuneData" last in "Settings".
TEST_F(SettingsFileTest, AFirstSaveWritesEveryKeyInItsOrder) {
    std::string directory;
    {
        Program p;
        directory = p.setup.dirsel.directory();
        p.clock.close();
    }
    const std::string expected =
        "[Settings]\r\nVersion=Version 1.00-Release\r\nBackground=\r\nPosX=0\r\nPosY=0\r\nHideTitle=0\r\n"
        "IndicatorType=0\r\nOnTop=0\r\nCharacter=1\r\nCPUSave=0\r\nResource=0\r\nRepaintInterval=0\r\n"
        "StretchMode=0\r\nFortuneData=" + DefaultFortuneDataPath() + "\r\n"
        "[Colors]\r\nHour=000000\r\nMinute=000000\r\nSecond=000000\r\nIndicator=000000\r\nCharacter=ffffff\r\n"
        "BackSpace=000000\r\n"
        "[Alarm]\r\nUse=0\r\nHour=0\r\nMinute=0\r\nRefrain=0\r\nAction=0\r\nFile=\r\nOption=\r\n"
        "[SUSIE]\r\nSPIDrive=" + std::to_string(directory[0] - 'a' + 1) + "\r\nSPIDirectory=" + directory + "\r\n";
    EXPECT_EQ(ReadText(SettingsPath()), expected);
}

// Every value that is not a default survives a close and a start, and a
// double-click's hidden title bar is what the close writes.
TEST_F(SettingsFileTest, EveryValueComesBackAfterACloseAndAStart) {
    const std::string wav = SettingsPath() + ".wav";
    WriteText(wav, "RIFF");
    const std::string stored =
        "[Settings]\r\nVersion=Version 1.00-Release\r\nBackground=\r\nPosX=40\r\nPosY=30\r\nHideTitle=0\r\n"
        "IndicatorType=2\r\nOnTop=1\r\nCharacter=0\r\nCPUSave=1\r\nResource=1\r\nRepaintInterval=2\r\n"
        "StretchMode=1\r\nFortuneData=C:\\my.dat\r\n"
        "[Colors]\r\nHour=ff8000\r\nMinute=123456\r\nSecond=abcdef\r\nIndicator=010203\r\nCharacter=fedcba\r\n"
        "BackSpace=00ff00\r\n"
        "[Alarm]\r\nUse=1\r\nHour=23\r\nMinute=59\r\nRefrain=1\r\nAction=1\r\nFile=" + wav + "\r\nOption=-x \"y\"\r\n"
        "[SUSIE]\r\nSPIDrive=3\r\nSPIDirectory=c:\\windows\r\n";
    WriteText(SettingsPath(), stored);
    {
        Program p;
        EXPECT_EQ(p.setup.udf.itemIndex(), 1);
        p.clock.close();
    }
    EXPECT_EQ(ReadText(SettingsPath()), stored);
    {
        Program p;
        p.clock.FormDblClick();
        p.clock.close();
    }
    EXPECT_NE(ReadText(SettingsPath()).find("HideTitle=1\r\n"), std::string::npos);
    DeleteFileA(wav.c_str());
}

// A file the system will not write (here: another program holds it open
// without sharing; a read-only file is refused the same way on Windows,
// while Wine takes the write into its cache): the save stops with the error
// box, and the clock still closes.
TEST_F(SettingsFileTest, AWriteTheSystemRefusesIsReportedAndTheClockStillCloses) {
    WriteText(SettingsPath(), "[Settings]\r\nIndicatorType=1\r\n");
    {
        Program p;
        EXPECT_EQ(p.setup.indtyp.itemIndex(), 1);
        const HANDLE held = CreateFileA(SettingsPath().c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                        0, nullptr);
        ASSERT_NE(held, INVALID_HANDLE_VALUE);
        p.clock.close();
        CloseHandle(held);
        EXPECT_FALSE(p.clock.visible());
    }
    ASSERT_EQ(fake.boxes.size(), 1u);
    EXPECT_EQ(fake.boxes[0].text, L"Horolo.ini に書き込めません");
    EXPECT_EQ(fake.boxes[0].caption, L"ｴﾗｰ");
    EXPECT_EQ(fake.beeps, std::vector<UINT>{MB_ICONASTERISK});
    EXPECT_EQ(ReadText(SettingsPath()), "[Settings]\r\nIndicatorType=1\r\n");
}
