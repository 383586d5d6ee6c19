// What a plug-in answers to GetPluginInfo, taken into the data chain the way
// hrl_spi takes it (each answer in a zeroed 1024-byte buffer, filled to the
// end or not), then asked for by QueryExtension and shown by the settings
// dialog. The first byte picks a Shift-JIS lead-byte test or none; the rest,
// split at line feeds, is the queried extension and then a filter and a
// description per format.
//
// A record's texts end inside their fields, keep whole characters and start
// like the answers; a picture named with any whole pattern a record kept is
// found by the query; the dialog's filter holds one bar between each of its
// texts.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "app/settings/image_filter.h"
#include "spi_loader/data_chain.h"
#include "spi_loader/text_rules.h"

using namespace hrlspi;

namespace {

constexpr std::size_t kAnswerBytes = 1024;

bool shiftJisLead(unsigned char c) { return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC); }

struct Answer {
    char bytes[kAnswerBytes] = {};
    explicit Answer(std::string_view text) { std::memcpy(bytes, text.data(), std::min(text.size(), kAnswerBytes)); }
    std::string_view text() const { return {bytes, strnlen(bytes, kAnswerBytes)}; }
};

// A field's text: it must end inside the field, start the answer, end on a
// character boundary of it, and hold all its whole characters when it fits.
template <std::size_t N>
void CheckField(const char (&field)[N], std::string answer, LeadByteTest lead, bool folded) {
    const char* end = static_cast<const char*>(std::memchr(field, '\0', N));
    if (end == nullptr) std::abort();
    const std::string_view kept(field, static_cast<std::size_t>(end - field));
    if (folded) foldLower(answer.data());
    if (answer.compare(0, kept.size(), kept) != 0) std::abort();
    std::size_t boundary = 0, whole = 0;
    while (whole < answer.size()) {
        const std::size_t step = lead(static_cast<unsigned char>(answer[whole])) ? 2 : 1;
        if (whole + step > answer.size()) break;  // a lead byte left alone at the end
        whole += step;
        if (whole <= kept.size()) boundary = whole;
    }
    if (boundary != kept.size() || (answer.size() < N && kept.size() != whole)) std::abort();
}

// The index QueryExtension gives for ext from the start of the chain.
int Query(const DataChainRecord* head, std::string_view ext, LeadByteTest lead) {
    char folded[kQueryBytes];
    copyText(folded, sizeof folded, ext.data(), ext.size(), lead);
    foldLower(folded);
    int index = 0;
    for (const DataChainRecord* r = head; r != nullptr; r = r->next, ++index)
        if (filterMatches(r->filter, folded)) return index;
    return -1;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const LeadByteTest lead = (data[0] & 1) ? shiftJisLead : noLeadBytes;
    std::vector<std::string_view> parts;
    std::string_view rest(reinterpret_cast<const char*>(data + 1), size - 1);
    for (std::size_t end; (end = rest.find('\n')) != std::string_view::npos; rest.remove_prefix(end + 1))
        parts.push_back(rest.substr(0, end));
    parts.push_back(rest);

    // The records of one plug-in, newest first as hrl_spi links them.
    const std::size_t count = (parts.size() - 1) / 2;
    std::vector<DataChainRecord> chain(count);
    for (std::size_t n = 0; n < count; ++n) {
        DataChainRecord& record = chain[count - 1 - n];
        const Answer filter(parts[1 + 2 * n]), description(parts[2 + 2 * n]);
        copyFilter(record.filter, sizeof record.filter, filter.bytes, kAnswerBytes, lead);
        foldLower(record.filter);
        copyText(record.description, sizeof record.description, description.bytes, kAnswerBytes, lead);
        record.next = n > 0 ? &chain[count - n] : nullptr;
        CheckField(record.filter, std::string(filter.text()), lead, true);
        CheckField(record.description, std::string(description.text()), lead, false);
    }
    const DataChainRecord* head = chain.empty() ? nullptr : chain.data();

    Query(head, parts[0], lead);
    for (std::size_t i = 0; i < chain.size(); ++i) {
        const std::string_view filter = chain[i].filter;
        for (std::size_t at = 0; at <= filter.size();) {
            const std::size_t end = std::min(filter.find(';', at), filter.size());
            const std::string_view pattern = filter.substr(at, end - at);
            at = end + 1;
            if (pattern.size() < 3 || pattern.substr(0, 2) != "*." ||
                pattern.find_first_of(".\\*", 2) != std::string_view::npos)
                continue;
            const std::string picture = "picture." + std::string(pattern.substr(2));
            char ext[kExtensionBytes];
            if (!extensionOf(picture.c_str(), ext, lead)) std::abort();
            const int found = Query(head, ext, lead);
            if (found < 0 || found > static_cast<int>(i)) std::abort();
        }
    }

    // The dialog splits its filter after the conversion to UTF-16: a trail
    // byte that looks like a bar is part of its character.
    const std::string dialog = horolo::ImageFilterOf(horolo::ChainFormats(head, static_cast<int>(count)), lead);
    std::size_t bars = 0;
    for (std::size_t at = 0; at < dialog.size(); at += lead(static_cast<unsigned char>(dialog[at])) ? 2 : 1)
        bars += dialog[at] == '|';
    if (bars != 1 + 2 * count) std::abort();
    return 0;
}
