#include "app/settings/stored_settings.h"

#include "app/settings/ini_values.h"

namespace horolo {

namespace {

class Keys {
public:
    Keys(const IniReader& read, const char* section) : read_(read), section_(section) {}

    std::string text(const char* key) const { return read_(section_, key, ""); }
    std::int32_t integer(const char* key, std::int32_t fallback) const {
        return ini::ReadInteger(read_(section_, key, ini::FormatInteger(fallback).c_str()), fallback);
    }
    bool boolean(const char* key, bool fallback) const {
        return ini::ReadBoolean(read_(section_, key, ini::FormatBoolean(fallback).c_str()), fallback);
    }
    // A text that is not six hexadecimal digits reads as the default.
    std::uint32_t color(const char* key, std::uint32_t fallback) const {
        return ini::ParseColor(read_(section_, key, ini::FormatColor(fallback).c_str())).value_or(fallback);
    }

private:
    const IniReader& read_;
    const char* section_;
};

}  // namespace

StoredSettings ReadStoredSettings(const IniReader& read) {
    StoredSettings s;
    const Keys settings(read, kSettingsSection), colors(read, kColorsSection), alarm(read, kAlarmSection),
        susie(read, kSusieSection);
    s.spiDrive = susie.integer("SPIDrive", s.spiDrive);
    if (s.spiDrive != -1) s.spiDirectory = susie.text("SPIDirectory");
    s.background = settings.text("Background");
    s.version = settings.text("Version");
    s.indicatorType = settings.integer("IndicatorType", s.indicatorType);
    s.onTop = settings.boolean("OnTop", s.onTop);
    s.character = settings.boolean("Character", s.character);
    s.stretchMode = settings.boolean("StretchMode", s.stretchMode);
    s.hourColor = colors.color("Hour", s.hourColor);
    s.minuteColor = colors.color("Minute", s.minuteColor);
    s.secondColor = colors.color("Second", s.secondColor);
    s.indicatorColor = colors.color("Indicator", s.indicatorColor);
    s.characterColor = colors.color("Character", s.characterColor);
    s.backSpaceColor = colors.color("BackSpace", s.backSpaceColor);
    s.resource = settings.integer("Resource", s.resource);
    s.posX = settings.integer("PosX", s.posX);
    s.posY = settings.integer("PosY", s.posY);
    s.hideTitle = settings.boolean("HideTitle", s.hideTitle);
    s.cpuSave = settings.boolean("CPUSave", s.cpuSave);
    s.repaintInterval = settings.integer("RepaintInterval", s.repaintInterval);
    s.alarmHour = alarm.integer("Hour", s.alarmHour);
    s.alarmMinute = alarm.integer("Minute", s.alarmMinute);
    s.alarmRefrain = alarm.boolean("Refrain", s.alarmRefrain);
    s.alarmUse = alarm.boolean("Use", s.alarmUse);
    s.alarmAction = alarm.boolean("Action", s.alarmAction);
    s.alarmFile = alarm.text("File");
    s.alarmOption = alarm.text("Option");
    s.fortuneData = settings.text("FortuneData");
    return s;
}

bool WriteWindowKeys(const SettingWriter& write, const StoredSettings& s) {
    using namespace ini;
    return write(kSettingsSection, "Version", HOROLO_VERSION_TEXT) && write(kSettingsSection, "Background", s.background) &&
           write(kSettingsSection, "PosX", FormatInteger(s.posX)) &&
           write(kSettingsSection, "PosY", FormatInteger(s.posY)) &&
           write(kSettingsSection, "HideTitle", FormatBoolean(s.hideTitle));
}

bool WriteDialogSettings(const SettingWriter& write, const StoredSettings& s, bool withPictureLibrary) {
    using namespace ini;
    const char* settings = kSettingsSection;
    const char* colors = kColorsSection;
    const char* alarm = kAlarmSection;
    return write(settings, "IndicatorType", FormatInteger(s.indicatorType)) &&
           write(settings, "OnTop", FormatBoolean(s.onTop)) &&
           write(settings, "Character", FormatBoolean(s.character)) &&
           write(settings, "CPUSave", FormatBoolean(s.cpuSave)) &&
           write(settings, "Resource", FormatInteger(s.resource)) &&
           write(settings, "RepaintInterval", FormatInteger(s.repaintInterval)) &&
           write(settings, "StretchMode", FormatBoolean(s.stretchMode)) &&
           write(colors, "Hour", FormatColor(s.hourColor)) && write(colors, "Minute", FormatColor(s.minuteColor)) &&
           write(colors, "Second", FormatColor(s.secondColor)) &&
           write(colors, "Indicator", FormatColor(s.indicatorColor)) &&
           write(colors, "Character", FormatColor(s.characterColor)) &&
           write(colors, "BackSpace", FormatColor(s.backSpaceColor)) &&
           write(alarm, "Use", FormatBoolean(s.alarmUse)) && write(alarm, "Hour", FormatInteger(s.alarmHour)) &&
           write(alarm, "Minute", FormatInteger(s.alarmMinute)) &&
           write(alarm, "Refrain", FormatBoolean(s.alarmRefrain)) &&
           write(settings, "FortuneData", s.fortuneData) &&
           (!withPictureLibrary || (write(kSusieSection, "SPIDrive", FormatInteger(s.spiDrive)) &&
                                    write(kSusieSection, "SPIDirectory", s.spiDirectory)));
}

}  // namespace horolo
