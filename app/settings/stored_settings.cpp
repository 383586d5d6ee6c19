#include "app/settings/stored_settings.h"

#include "app/settings/ini_values.h"

namespace horolo {

namespace {

// The text a key is written as, and its value read back from a text.
std::string Format(const std::string& text) { return text; }
std::string Format(std::int32_t value) { return ini::FormatInteger(value); }
std::string Format(bool value) { return ini::FormatBoolean(value); }
std::string Format(std::uint32_t color) { return ini::FormatColor(color); }

std::string Parse(std::string_view text, const std::string&) { return std::string(text); }
std::int32_t Parse(std::string_view text, std::int32_t fallback) { return ini::ReadInteger(text, fallback); }
bool Parse(std::string_view text, bool fallback) { return ini::ReadBoolean(text, fallback); }
// A text that is not six hexadecimal digits reads as the default.
std::uint32_t Parse(std::string_view text, std::uint32_t fallback) { return ini::ParseColor(text).value_or(fallback); }

}  // namespace

StoredSettings ReadStoredSettings(const IniReader& read) {
    StoredSettings s;
    for (const SettingKey& key : kSettingKeys) {
        if (key.readIf && !key.readIf(s)) continue;
        std::visit(
            [&](auto member) {
                auto& value = s.*member;
                value = Parse(read(key.section, key.key, Format(value).c_str()), value);
            },
            key.member);
    }
    return s;
}

bool WriteSettings(const SettingWriter& write, const StoredSettings& s, SettingOwner owner) {
    for (const SettingKey& key : kSettingKeys) {
        if (key.owner != owner) continue;
        const std::string text =
            key.fixedText ? key.fixedText : std::visit([&](auto member) { return Format(s.*member); }, key.member);
        if (!write(key.section, key.key, text)) return false;
    }
    return true;
}

bool WriteWindowKeys(const SettingWriter& write, const StoredSettings& s) {
    return WriteSettings(write, s, SettingOwner::Window);
}

bool WriteDialogSettings(const SettingWriter& write, const StoredSettings& s, bool withPictureLibrary) {
    return WriteSettings(write, s, SettingOwner::Dialog) &&
           (!withPictureLibrary || WriteSettings(write, s, SettingOwner::PictureLibrary));
}

}  // namespace horolo
