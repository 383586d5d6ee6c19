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
#include <variant>

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

// Who writes a key, and when.
enum class SettingOwner {
    Window,          // the clock window's own keys, written first at close
    Dialog,          // the settings dialog's values and the fortune data path
    PictureLibrary,  // written only while the picture library is loaded
    AlarmWindow,     // written by the alarm window itself, last
};

// One key of the settings file: the member that holds its value, whose type
// says how the file spells it (text, integer, boolean as 0 or 1, colour as
// "rrggbb") and whose initialiser is the value of a missing key.
struct SettingKey {
    const char* section;
    const char* key;
    std::variant<std::string StoredSettings::*, std::int32_t StoredSettings::*, bool StoredSettings::*,
                 std::uint32_t StoredSettings::*>
        member;
    SettingOwner owner;
    // Written instead of the member's value when set.
    const char* fixedText = nullptr;
    // Read only when this holds for the keys read before it.
    bool (*readIf)(const StoredSettings&) = nullptr;
};

// Every key, in the order a first save leaves them in the file; reading
// follows the same order.
inline constexpr SettingKey kSettingKeys[] = {
    {kSettingsSection, "Version", &StoredSettings::version, SettingOwner::Window, HOROLO_VERSION_TEXT},
    {kSettingsSection, "Background", &StoredSettings::background, SettingOwner::Window},
    {kSettingsSection, "PosX", &StoredSettings::posX, SettingOwner::Window},
    {kSettingsSection, "PosY", &StoredSettings::posY, SettingOwner::Window},
    {kSettingsSection, "HideTitle", &StoredSettings::hideTitle, SettingOwner::Window},
    {kSettingsSection, "IndicatorType", &StoredSettings::indicatorType, SettingOwner::Dialog},
    {kSettingsSection, "OnTop", &StoredSettings::onTop, SettingOwner::Dialog},
    {kSettingsSection, "Character", &StoredSettings::character, SettingOwner::Dialog},
    {kSettingsSection, "CPUSave", &StoredSettings::cpuSave, SettingOwner::Dialog},
    {kSettingsSection, "Resource", &StoredSettings::resource, SettingOwner::Dialog},
    {kSettingsSection, "RepaintInterval", &StoredSettings::repaintInterval, SettingOwner::Dialog},
    {kSettingsSection, "StretchMode", &StoredSettings::stretchMode, SettingOwner::Dialog},
    {kColorsSection, "Hour", &StoredSettings::hourColor, SettingOwner::Dialog},
    {kColorsSection, "Minute", &StoredSettings::minuteColor, SettingOwner::Dialog},
    {kColorsSection, "Second", &StoredSettings::secondColor, SettingOwner::Dialog},
    {kColorsSection, "Indicator", &StoredSettings::indicatorColor, SettingOwner::Dialog},
    {kColorsSection, "Character", &StoredSettings::characterColor, SettingOwner::Dialog},
    {kColorsSection, "BackSpace", &StoredSettings::backSpaceColor, SettingOwner::Dialog},
    {kAlarmSection, "Use", &StoredSettings::alarmUse, SettingOwner::Dialog},
    {kAlarmSection, "Hour", &StoredSettings::alarmHour, SettingOwner::Dialog},
    {kAlarmSection, "Minute", &StoredSettings::alarmMinute, SettingOwner::Dialog},
    {kAlarmSection, "Refrain", &StoredSettings::alarmRefrain, SettingOwner::Dialog},
    {kSettingsSection, "FortuneData", &StoredSettings::fortuneData, SettingOwner::Dialog},
    {kSusieSection, "SPIDrive", &StoredSettings::spiDrive, SettingOwner::PictureLibrary},
    // A directory without a drive is not taken.
    {kSusieSection, "SPIDirectory", &StoredSettings::spiDirectory, SettingOwner::PictureLibrary, nullptr,
     [](const StoredSettings& s) { return s.spiDrive != -1; }},
    {kAlarmSection, "Action", &StoredSettings::alarmAction, SettingOwner::AlarmWindow},
    {kAlarmSection, "File", &StoredSettings::alarmFile, SettingOwner::AlarmWindow},
    {kAlarmSection, "Option", &StoredSettings::alarmOption, SettingOwner::AlarmWindow},
};

// The text of a key, or defaultText when the file does not have it.
using IniReader = std::function<std::string(const char* section, const char* key, const char* defaultText)>;

// Reads every key; a text that is not a value of the key's type gives the
// key's default.
StoredSettings ReadStoredSettings(const IniReader& read);

// Writes one value of the settings file; false when the system refused it.
using SettingWriter = std::function<bool(std::string_view section, std::string_view key, const std::string& value)>;

// Writes the keys of one owner in their order; stops at the first key the
// system refuses and returns false.
bool WriteSettings(const SettingWriter& write, const StoredSettings& s, SettingOwner owner);

// The clock window's own keys: "Version" (the program's, HOROLO_VERSION_TEXT,
// whatever s holds), "Background", "PosX", "PosY", "HideTitle".
bool WriteWindowKeys(const SettingWriter& write, const StoredSettings& s);

// The settings dialog's values and the fortune data path; the "SUSIE" keys
// only when withPictureLibrary.
bool WriteDialogSettings(const SettingWriter& write, const StoredSettings& s, bool withPictureLibrary);

}  // namespace horolo
