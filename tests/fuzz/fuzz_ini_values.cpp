// Horolo.ini's values as a user or another program may have left them: any
// text must read as a value or as the key's default, and what is written back
// must read as what was written.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "app/settings/ini_values.h"

using namespace horolo::ini;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    if (const auto value = ParseInteger(text)) {
        if (ParseInteger(FormatInteger(*value)) != value) std::abort();
        if (const auto drive = DriveFromValue(*value); drive && DriveValue(*drive) != *value) std::abort();
    }
    if (const auto color = ParseColor(text); color && ParseColor(FormatColor(*color)) != color) std::abort();
    ReadBoolean(text, true);
    return 0;
}
