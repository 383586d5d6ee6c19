// Horolo.ini's keys read into values and written back; also run natively
// under the sanitizers. The file here is a map: the real file is tested
// through the system's calls under Wine.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <utility>
#include <vector>

#include "app/settings/stored_settings.h"

using horolo::StoredSettings;

namespace {

using Key = std::pair<std::string, std::string>;
using File = std::map<Key, std::string>;

StoredSettings Read(const File& file) {
    return horolo::ReadStoredSettings([&](const char* section, const char* key, const char* defaultText) {
        const auto found = file.find({section, key});
        return found != file.end() ? found->second : std::string(defaultText);
    });
}

}  // namespace

TEST(StoredSettings, AFirstStartHasEveryDefault) {
    const StoredSettings s = Read({});
    EXPECT_EQ(s, StoredSettings{});
    EXPECT_TRUE(s.character);
    EXPECT_EQ(s.characterColor, 0xFFFFFFu);
    EXPECT_EQ(s.spiDrive, -1);
}

TEST(StoredSettings, ValuesAsTheFileSpellsThem) {
    struct Case {
        File file;
        std::function<bool(const StoredSettings&)> holds;
        const char* what;
    } const cases[] = {
        {{{{"Settings", "Version"}, "x"}, {{"Settings", "Background"}, "C:\\a.bmp"}, {{"Settings", "Resource"}, "2"}},
         [](auto& s) { return s.version == "x" && s.background == "C:\\a.bmp" && s.resource == 2; }, "texts"},
        {{{{"Colors", "Hour"}, "ff8000"}}, [](auto& s) { return s.hourColor == 0x0080FFu; }, "ff8000"},
        {{{{"Colors", "Hour"}, "FF8000"}}, [](auto& s) { return s.hourColor == 0x0080FFu; }, "FF8000"},
        {{{{"Colors", "Character"}, "12345"}}, [](auto& s) { return s.characterColor == 0xFFFFFFu; }, "short colour"},
        {{{{"Colors", "BackSpace"}, "zz0000"}}, [](auto& s) { return s.backSpaceColor == 0u; }, "no hex colour"},
        {{{{"Settings", "OnTop"}, "2"}}, [](auto& s) { return s.onTop; }, "OnTop 2"},
        {{{{"Settings", "OnTop"}, "yes"}}, [](auto& s) { return !s.onTop; }, "OnTop yes"},
        {{{{"Settings", "Character"}, "yes"}}, [](auto& s) { return s.character; }, "Character yes keeps its default"},
        {{{{"Settings", "PosX"}, "0x20"}}, [](auto& s) { return s.posX == 32; }, "PosX 0x20"},
        {{{{"Settings", "HideTitle"}, "-7"}}, [](auto& s) { return s.hideTitle; }, "HideTitle -7"},
        {{{{"SUSIE", "SPIDrive"}, "3"}, {{"SUSIE", "SPIDirectory"}, "C:\\spi"}},
         [](auto& s) { return s.spiDrive == 3 && s.spiDirectory == "C:\\spi"; }, "SPIDrive 3"},
        {{{{"SUSIE", "SPIDirectory"}, "C:\\spi"}}, [](auto& s) { return s.spiDirectory.empty(); },
         "a directory without a drive"},
        {{{{"Settings", "CPUSave"}, "1"}, {{"Settings", "RepaintInterval"}, "1"}},
         [](auto& s) { return s.cpuSave && s.repaintInterval == 1; }, "CPUSave and RepaintInterval"},
        {{{{"Alarm", "Use"}, "1"}, {{"Alarm", "Action"}, "1"}, {{"Alarm", "File"}, "a.exe"}, {{"Alarm", "Option"}, "-x"}},
         [](auto& s) { return s.alarmUse && s.alarmAction && s.alarmFile == "a.exe" && s.alarmOption == "-x"; },
         "alarm keys"},
    };
    for (const Case& c : cases) EXPECT_TRUE(c.holds(Read(c.file))) << c.what;
}

// Everything written reads back as it was; a first save writes the keys in
// this order, so the file shows sections and keys in it.
TEST(StoredSettings, WrittenInOrderAndReadBackAsTheyWere) {
    StoredSettings s;
    s.version = HOROLO_VERSION_TEXT;
    s.posX = -12;
    s.posY = 345;
    s.hideTitle = true;
    s.indicatorType = 2;
    s.onTop = true;
    s.character = false;
    s.cpuSave = true;
    s.resource = 1;
    s.repaintInterval = 2;
    s.stretchMode = true;
    s.fortuneData = "C:\\\x95\x5C\\f.dat";
    s.hourColor = 0x0080FF;
    s.minuteColor = 0x123456;
    s.secondColor = 0xABCDEF;
    s.indicatorColor = 0x010203;
    s.characterColor = 0xFEDCBA;
    s.backSpaceColor = 0x00FF00;
    s.alarmUse = true;
    s.alarmHour = 23;
    s.alarmMinute = 59;
    s.alarmRefrain = true;
    s.spiDrive = 26;
    s.spiDirectory = "Z:\\spi";

    File file;
    std::vector<std::string> order;
    const horolo::SettingWriter write = [&](std::string_view section, std::string_view key, const std::string& value) {
        file[{std::string(section), std::string(key)}] = value;
        order.push_back(std::string(section) + "/" + std::string(key));
        return true;
    };
    ASSERT_TRUE(horolo::WriteWindowKeys(write, s));
    ASSERT_TRUE(horolo::WriteDialogSettings(write, s, true));
    EXPECT_EQ(order, (std::vector<std::string>{
                         "Settings/Version", "Settings/Background", "Settings/PosX", "Settings/PosY",
                         "Settings/HideTitle", "Settings/IndicatorType", "Settings/OnTop", "Settings/Character",
                         "Settings/CPUSave", "Settings/Resource", "Settings/RepaintInterval",
                         "Settings/StretchMode", "Colors/Hour", "Colors/Minute", "Colors/Second",
                         "Colors/Indicator", "Colors/Character", "Colors/BackSpace", "Alarm/Use", "Alarm/Hour",
                         "Alarm/Minute", "Alarm/Refrain", "Settings/FortuneData", "SUSIE/SPIDrive",
                         "SUSIE/SPIDirectory"}));
    EXPECT_EQ(file.at({"Colors", "Hour"}), "ff8000");
    EXPECT_EQ(Read(file), s);

    order.clear();
    ASSERT_TRUE(horolo::WriteDialogSettings(write, s, false));
    EXPECT_EQ(order.back(), "Settings/FortuneData") << "no plug-in keys without the library";
}

TEST(StoredSettings, ARefusedWriteStopsTheSave) {
    std::vector<std::string> written;
    const horolo::SettingWriter write = [&](std::string_view, std::string_view key, const std::string&) {
        if (key == "Minute") return false;
        written.emplace_back(key);
        return true;
    };
    EXPECT_FALSE(horolo::WriteDialogSettings(write, StoredSettings{}, true));
    EXPECT_EQ(written.back(), "Hour");
    EXPECT_EQ(written.size(), 8u);
}
