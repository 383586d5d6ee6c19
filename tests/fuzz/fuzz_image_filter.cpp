// The formats the plug-ins declare, as hrl_spi hands them over: any bytes in
// the description and pattern fields, terminated or not. The dialog's texts
// are read within the fields, and the filter is the bitmap entry followed by
// one description and one pattern for each record up to the count.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "app/settings/image_filter.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    constexpr std::size_t kFields = sizeof(DataChainRecord::description) + sizeof(DataChainRecord::filter);
    if (size == 0) return 0;
    std::vector<DataChainRecord> chain((size - 1) / kFields);
    for (std::size_t i = 0; i < chain.size(); ++i) {
        const std::uint8_t* fields = data + 1 + i * kFields;
        std::memcpy(chain[i].description, fields, sizeof chain[i].description);
        std::memcpy(chain[i].filter, fields + sizeof chain[i].description, sizeof chain[i].filter);
        chain[i].next = i + 1 < chain.size() ? &chain[i + 1] : nullptr;
    }
    const int count = data[0] % 8;
    const std::vector<horolo::PictureFormat> formats = horolo::ChainFormats(chain.empty() ? nullptr : chain.data(), count);
    if (formats.size() != std::min<std::size_t>(chain.size(), static_cast<std::size_t>(count))) std::abort();
    std::size_t length = std::strlen(horolo::kBitmapFilter);
    for (const horolo::PictureFormat& format : formats) {
        if (format.description.size() > sizeof(DataChainRecord::description) ||
            format.pattern.size() > sizeof(DataChainRecord::filter) ||
            format.description.find('\0') != std::string::npos || format.pattern.find('\0') != std::string::npos)
            std::abort();
        length += 2 + format.description.size() + format.pattern.size();
    }
    // Shift-JIS lead bytes; the bars of the texts are dropped.
    const std::string filter = horolo::ImageFilterOf(formats, [](unsigned char c) { return c >= 0x81 && c <= 0x9F; });
    if (filter.size() > length || filter.rfind(horolo::kBitmapFilter, 0) != 0) std::abort();
    return 0;
}
