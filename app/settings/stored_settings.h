// Every value Horolo.ini holds, as the start-up load reads it: the text of
// each key (or its default when the key is missing) turned into a value of
// its type. No Windows API here: the file is read through a reader function
// (GetPrivateProfileStringA in the program), so the conversions are tested
// and fuzzed natively.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "horolo_version.h"

namespace horolo {

// The settings file's sections.
inline constexpr const char* kSettingsSection = "Settings";
inline constexpr const char* kColorsSection = "Colors";
inline constexpr const char* kAlarmSection = "Alarm";
inline constexpr const char* kSusieSection = "SUSIE";

// Colours have red in the low byte, as the platform's colour values.
struct StoredSettings {
    // "Settings"
    std::string version{};
    std::string background{};
    std::int32_t posX = 0;
    std::int32_t posY = 0;
    bool hideTitle = false;
    std::int32_t indicatorType = 0;
    bool onTop = false;
    bool character = true;
    bool cpuSave = false;
    std::int32_t resource = 0;
    std::int32_t repaintInterval = 0;
    bool stretchMode = false;
    std::string fortuneData{};
    // "Colors"
    std::uint32_t hourColor = 0x000000;
    std::uint32_t minuteColor = 0x000000;
    std::uint32_t secondColor = 0x000000;
    std::uint32_t indicatorColor = 0x000000;
    std::uint32_t characterColor = 0xFFFFFF;
    std::uint32_t backSpaceColor = 0x000000;
    // "Alarm"
    bool alarmUse = false;
    std::int32_t alarmHour = 0;
    std::int32_t alarmMinute = 0;
    bool alarmRefrain = false;
    bool alarmAction = false;
    std::string alarmFile{};
    std::string alarmOption{};
    // "SUSIE": used only while the picture library is loaded
    std::int32_t spiDrive = -1;  // a letter's place in the alphabet; -1 for none
    std::string spiDirectory{};

    friend bool operator==(const StoredSettings&, const StoredSettings&) = default;
};

// The text of a key, or defaultText when the file does not have it.
using IniReader = std::function<std::string(const char* section, const char* key, const char* defaultText)>;

// Reads every key; a text that is not a value of the key's type gives the
// key's default.
StoredSettings ReadStoredSettings(const IniReader& read);

// Writes one value of the settings file; false when the system refused it.
using SettingWriter = std::function<bool(std::string_view section, std::string_view key, const std::string& value)>;

// The clock window's own keys, written first at close: "Version" (the
// program's, HOROLO_VERSION_TEXT), "Background", "PosX", "PosY", "HideTitle".
bool WriteWindowKeys(const SettingWriter& write, const StoredSettings& s);

// The settings dialog's values and the fortune data path, in the order a
// first save leaves them in the file; the "SUSIE" keys only when
// withPictureLibrary. Each writer stops at the first key the system refuses
// and returns false.
bool WriteDialogSettings(const SettingWriter& write, const StoredSettings& s, bool withPictureLibrary);

}  // namespace horolo
