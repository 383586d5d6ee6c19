// The loader's rules over what a plug-in answers: its texts (format filters,
// descriptions, version) and the header block of a decoded picture. The first byte
// picks a Shift-JIS lead-byte test or none; the rest is the answer.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "spi_loader/dib_check.h"
#include "spi_loader/text_rules.h"

using namespace hrlspi;

namespace {

bool shiftJisLead(unsigned char c) { return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC); }

template <class T>
T read(const std::uint8_t* data, std::size_t size, std::size_t at) {
    T value{};
    if (at + sizeof value <= size) std::memcpy(&value, data + at, sizeof value);
    return value;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const LeadByteTest lead = (data[0] & 1) ? shiftJisLead : noLeadBytes;
    const std::string text(reinterpret_cast<const char*>(data + 1), size - 1);

    char field[16];
    copyText(field, sizeof field, text.data(), text.size(), lead);
    char filter[16];
    copyFilter(filter, sizeof filter, text.data(), text.size(), lead);
    char dir[kPathBytes];
    normaliseDirectory(text.c_str(), dir, lead);
    char joined[kPathBytes];
    joinPath(dir, field, joined, sizeof joined);
    char ext[kExtensionBytes];
    if (extensionOf(text.c_str(), ext, lead)) {
        foldLower(ext);
        filterMatches(text.c_str(), ext);
    }

    // The answer as a plug-in's header block, in a heap block of its exact
    // size; the last four bytes also give the size of its pixel block.
    const std::vector<unsigned char> block(data + 1, data + size);
    unsigned char header[kHeaderBufferBytes];
    if (copyHeaderBlock(block.data(), block.size(), header) != 0)
        pixelsUsable(readFields(header), read<std::uint32_t>(data, size, size >= 4 ? size - 4 : 0));
    return 0;
}
