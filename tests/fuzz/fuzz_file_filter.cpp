// A file dialog's filter built from what plug-ins declare: whatever the
// descriptions and patterns hold, the system's form is a whole number of
// pairs of non-empty texts, each ending with a NUL, and one NUL after them.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "framework/file_filter.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::wstring filter;
    for (std::size_t i = 0; i + 1 < size; i += 2) filter.push_back(static_cast<wchar_t>(data[i] | data[i + 1] << 8));
    const std::wstring system = fw::SystemFileFilter(filter);
    if (system.empty()) return 0;
    if (system.size() < 5 || system.back() != L'\0' || system[system.size() - 2] != L'\0') std::abort();
    std::size_t texts = 0;
    for (std::size_t at = 0; at + 1 < system.size(); ++texts) {
        const std::size_t end = system.find(L'\0', at);
        if (end == at) std::abort();  // an empty text would end the list early
        at = end + 1;
    }
    if (texts % 2 != 0) std::abort();
    return 0;
}
