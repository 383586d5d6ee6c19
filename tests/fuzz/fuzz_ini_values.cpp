// Horolo.ini's values as a user or another program may have left them: any
// text must read as a value or as the key's default, and what is written back
// must read as what was written.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <map>
#include <string>
#include <string_view>

#include "app/settings/ini_values.h"
#include "app/settings/stored_settings.h"

using namespace horolo::ini;

namespace {

// The input split at its newlines gives the texts of the keys in the order
// the start-up load asks for them.
horolo::StoredSettings ReadFrom(std::string_view text) {
    return horolo::ReadStoredSettings([&](const char*, const char*, const char* defaultText) {
        if (text.empty()) return std::string(defaultText);
        const size_t end = std::min(text.find('\n'), text.size());
        std::string value(text.substr(0, end));
        text.remove_prefix(std::min(end + 1, text.size()));
        return value;
    });
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    if (const auto value = ParseInteger(text)) {
        if (ParseInteger(FormatInteger(*value)) != value) std::abort();
        if (const auto drive = DriveFromValue(*value); drive && DriveValue(*drive) != *value) std::abort();
    }
    if (const auto color = ParseColor(text); color && ParseColor(FormatColor(*color)) != color) std::abort();
    ReadBoolean(text, true);

    // What a start-up read, written back by a close, reads again the same.
    const horolo::StoredSettings read = ReadFrom(text);
    std::map<std::pair<std::string, std::string>, std::string> file;
    const horolo::SettingWriter write = [&](std::string_view section, std::string_view key, const std::string& value) {
        file[{std::string(section), std::string(key)}] = value;
        return true;
    };
    horolo::StoredSettings saved = read;
    saved.version = HOROLO_VERSION_TEXT;
    horolo::WriteWindowKeys(write, saved);
    horolo::WriteDialogSettings(write, saved, true);
    const horolo::StoredSettings again =
        horolo::ReadStoredSettings([&](const char* section, const char* key, const char* defaultText) {
            const auto found = file.find({section, key});
            return found != file.end() ? found->second : std::string(defaultText);
        });
    horolo::StoredSettings expected = saved;
    if (expected.spiDrive == -1) expected.spiDirectory.clear();  // a directory is read only with a drive
    const horolo::StoredSettings defaults;  // the alarm window writes its own keys
    expected.alarmAction = defaults.alarmAction;
    expected.alarmFile = defaults.alarmFile;
    expected.alarmOption = defaults.alarmOption;
    if (!(again == expected)) std::abort();
    return 0;
}
