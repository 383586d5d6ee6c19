// Horolo.ini's values as a user or another program may have left them: any
// text must read as a value or as the key's default, and what is written back
// must read as what was written. Every text goes through the read the program
// makes: a 1024-byte buffer, so at most 1023 bytes of a value.
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

// What GetPrivateProfileStringA gives for a value into the program's buffer.
std::string ProfileRead(std::string_view value) { return std::string(value.substr(0, 1023)); }

// The input split at its newlines gives the texts of the keys in the order
// the start-up load asks for them.
horolo::StoredSettings ReadFrom(std::string_view text) {
    return horolo::ReadStoredSettings([&](const char*, const char*, const char* defaultText) {
        if (text.empty()) return std::string(defaultText);
        const size_t end = std::min(text.find('\n'), text.size());
        std::string value = ProfileRead(text.substr(0, end));
        text.remove_prefix(std::min(end + 1, text.size()));
        return value;
    });
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const std::string value = ProfileRead(input);
    if (const auto number = ParseInteger(value)) {
        if (ParseInteger(FormatInteger(*number)) != number) std::abort();
        if (const auto drive = DriveFromValue(*number); drive && DriveValue(*drive) != *number) std::abort();
    }
    if (const auto color = ParseColor(value); color && ParseColor(FormatColor(*color)) != color) std::abort();
    ReadBoolean(value, true);

    // What a start-up read, written back by a close, reads again the same.
    const horolo::StoredSettings read = ReadFrom(input);
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
            return ProfileRead(found != file.end() ? found->second : std::string_view(defaultText));
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
