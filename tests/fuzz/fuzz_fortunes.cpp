// The fortune data file: any bytes split into entries. Every entry is
// something the message box can show in full: 1 to 255 bytes, no line feed
// or NUL inside, nothing trimmable at its end.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "app/info/fortune_core.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const horolo::FortuneEntries entries(std::string(reinterpret_cast<const char*>(data), size));
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const std::string_view entry = entries[i];
        const char last = entry.empty() ? ' ' : entry.back();
        if (entry.empty() || entry.size() > horolo::kFortunePieceBytes ||
            entry.find_first_of(std::string_view("\n\0", 2)) != std::string_view::npos || last == '\r' ||
            last == ' ' || last == '\x1A')
            std::abort();
    }
    return 0;
}
