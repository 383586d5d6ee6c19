// The fortune teller on real files: loading, the missing and the unreadable
// file, the message box, and the data file shipped beside the program.
#include "app/info/fortune.h"

#include <gtest/gtest.h>

#include "framework/controls.h"
#include "framework/menu.h"
#include "tests/framework/test_support.h"
#include "tests/info/fortune_listing.h"
#include "tests/spi/spi_test_support.h"

namespace {

using fortunetest::Listed;

class Fortunes : public ::testing::Test {
protected:
    // Points the teller at a file of the temporary folder with these bytes.
    void useFile(const std::string& bytes) {
        dir.write("fortune.dat", bytes);
        teller.FortuneDataPath = dir.file("fortune.dat");
    }

    fwtest::RecordingPlatform platform;
    fw::PlatformOverride usePlatform{platform};
    spitest::TempDir dir;
    fw::MenuItem command{L"Fortune"};
    fw::RadioGroup bgselector{{.items = {L"ミルア", L"ネオラ", L"ザクル", L"その他"}, .itemIndex = 3}};
    FortuneTeller teller{command, bgselector};
};

TEST_F(Fortunes, MissingFileIsReportedOnRequestAndAnExistingOneEnablesTheCommandAgain) {
    useFile("old\r\n");
    teller.LoadFortunes(true);
    ASSERT_TRUE(command.enabled());

    teller.FortuneDataPath = dir.file("missing.dat");
    teller.LoadFortunes(false);  // at start-up: silent
    EXPECT_TRUE(platform.beeps.empty());
    EXPECT_TRUE(platform.boxes.empty());
    EXPECT_FALSE(command.enabled());

    teller.LoadFortunes(true);  // a choice in the settings dialog
    ASSERT_EQ(platform.beeps, std::vector<UINT>{MB_ICONASTERISK});
    ASSERT_EQ(platform.boxes.size(), 1u);
    EXPECT_EQ(platform.boxes[0].text, L"Data File is not found.");
    EXPECT_EQ(platform.boxes[0].caption, L"ｴﾗｰ");
    EXPECT_FALSE(command.enabled());
    EXPECT_EQ(Listed(teller.FortuneList), std::vector<std::string>{"old"});

    useFile("first\r\n\r\nsecond\r\n");
    teller.LoadFortunes(true);
    EXPECT_TRUE(command.enabled());
    EXPECT_EQ(Listed(teller.FortuneList), (std::vector<std::string>{"first", "second"}));
    EXPECT_EQ(platform.boxes.size(), 1u);
}

TEST_F(Fortunes, AFileWithoutEntriesDisablesTheCommandSilently) {
    useFile(" \r\n\r\n\x1A");
    command.setEnabled(true);
    teller.LoadFortunes(true);
    EXPECT_FALSE(command.enabled());
    EXPECT_TRUE(teller.FortuneList.empty());
    EXPECT_TRUE(platform.boxes.empty());
}

// A file that exists but cannot be read changes nothing: one that another
// program holds open without sharing it, one larger than any fortune list,
// and one the address space has no room for.
TEST_F(Fortunes, AFileThatCannotBeReadOrHeldChangesNothing) {
    const struct {
        const char* name;
        bool held;
        long long size;    // 0: as written
        std::size_t hole;  // 0: all the room there is
    } cases[] = {
        {"held open", true, 0, 0},
        {"64 MiB and a byte", false, (64 << 20) + 1, 0},
        {"24 MiB without room for it", false, 24 << 20, 16 << 20},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        useFile("new\r\n");
        if (c.size != 0) dir.extend("fortune.dat", c.size);
        const HANDLE held = c.held ? CreateFileA(teller.FortuneDataPath.c_str(), GENERIC_READ, 0, nullptr,
                                                 OPEN_EXISTING, 0, nullptr)
                                   : nullptr;
        ASSERT_NE(held, INVALID_HANDLE_VALUE);
        teller.FortuneList = horolo::FortuneEntries("kept");
        for (bool enabled : {true, false}) {
            command.setEnabled(enabled);
            {
                std::optional<fwtest::AddressSpaceFill> fill;
                if (c.hole != 0) fill.emplace(c.hole);
                teller.LoadFortunes(true);
            }
            EXPECT_EQ(command.enabled(), enabled);
            EXPECT_EQ(Listed(teller.FortuneList), std::vector<std::string>{"kept"});
        }
        if (held) CloseHandle(held);
    }
    EXPECT_TRUE(platform.boxes.empty());
    useFile("new\r\n");
    teller.LoadFortunes(true);
    EXPECT_EQ(Listed(teller.FortuneList), std::vector<std::string>{"new"});
}

TEST_F(Fortunes, TheCommandBeepsAndShowsTheOnlyEntryInTheVoiceOfTheBackground) {
    useFile("\x91\xe5\x8b\x67\r\n");  // 大吉 in Shift-JIS
    teller.LoadFortunes(false);
    for (int voice : {1, 3}) {
        bgselector.setItemIndex(voice);
        teller.ShowFortune();
    }
    EXPECT_EQ(platform.beeps, (std::vector<UINT>{1, 1}));
    ASSERT_EQ(platform.boxes.size(), 2u);
    EXPECT_EQ(platform.boxes[0].text, L"あなたの運勢は\n「大吉」\nよ…");
    EXPECT_EQ(platform.boxes[1].text, L"今日の運勢は、\n「大吉」\nです");
    EXPECT_EQ(platform.boxes[1].caption, L"情報");
    EXPECT_EQ(platform.boxes[1].type, static_cast<UINT>(MB_ICONINFORMATION | MB_OK));
}

// The data file built beside the program (and this test); two tellers that
// start in the same second draw the same entries.
TEST_F(Fortunes, ShippedFileLoadsAtStartUpAndTheSameSecondDrawsTheSame) {
    teller.StartUp({}, 1765000000);
    EXPECT_EQ(teller.FortuneDataPath, DefaultFortuneDataPath());
    EXPECT_TRUE(command.enabled());
    ASSERT_GE(teller.FortuneList.size(), 60u);
    EXPECT_EQ(teller.FortuneList[0], "\x91\xe5\x8b\x67");  // 大吉

    fw::MenuItem otherCommand{L"Fortune"};
    FortuneTeller other{otherCommand, bgselector};
    other.StartUp({}, 1765000000);
    for (int i = 0; i < 20; ++i) EXPECT_EQ(teller.PickFortune(), other.PickFortune()) << "draw " << i;
}

}  // namespace
