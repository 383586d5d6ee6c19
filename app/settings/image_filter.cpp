#include "app/settings/image_filter.h"

#include <cstring>
#include <string_view>

namespace horolo {

namespace {

template <std::size_t N>
std::string FieldText(const char (&field)[N]) {
    return std::string(field, strnlen(field, N));
}

// The text with each bar replaced; a double-byte character is kept whole.
std::string ReplaceBars(const std::string& text, std::string_view with, bool (*lead)(unsigned char)) {
    std::string kept;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '|') {
            kept += with;
            continue;
        }
        if (lead(static_cast<unsigned char>(text[i])) && i + 1 < text.size()) kept += text[i++];
        kept += text[i];
    }
    return kept;
}

}  // namespace

std::vector<PictureFormat> ChainFormats(const DataChainRecord* head, int count) {
    std::vector<PictureFormat> formats;
    for (const DataChainRecord* record = head; record && static_cast<int>(formats.size()) < count;
         record = record->next)
        formats.push_back({FieldText(record->description), FieldText(record->filter)});
    return formats;
}

std::string ImageFilterOf(const std::vector<PictureFormat>& formats, bool (*lead)(unsigned char)) {
    std::string filter = kBitmapFilter;
    for (const PictureFormat& format : formats)
        filter += "|" + ReplaceBars(format.description, "", lead) + "|" + ReplaceBars(format.pattern, ";", lead);
    return filter;
}

}  // namespace horolo
