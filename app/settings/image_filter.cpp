#include "app/settings/image_filter.h"

#include <cstring>

namespace horolo {

namespace {

template <std::size_t N>
std::string FieldText(const char (&field)[N]) {
    return std::string(field, strnlen(field, N));
}

}  // namespace

std::vector<PictureFormat> ChainFormats(const DataChainRecord* head, int count) {
    std::vector<PictureFormat> formats;
    for (const DataChainRecord* record = head; record && static_cast<int>(formats.size()) < count;
         record = record->next)
        formats.push_back({FieldText(record->description), FieldText(record->filter)});
    return formats;
}

std::string ImageFilterOf(const std::vector<PictureFormat>& formats) {
    std::string filter = kBitmapFilter;
    for (const PictureFormat& format : formats) filter += "|" + format.description + "|" + format.pattern;
    return filter;
}

}  // namespace horolo
