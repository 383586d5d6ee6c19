// The loader's rules over what a plug-in answers: its texts (format filters,
// descriptions, version) and the header of a decoded picture. The first byte
// picks a Shift-JIS lead-byte test or none; the rest is the answer.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

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
    char dir[kPathBytes];
    normaliseDirectory(text.c_str(), dir, lead);
    char joined[kPathBytes];
    joinPath(dir, field, joined, sizeof joined);
    char ext[kExtensionBytes];
    if (extensionOf(text.c_str(), ext, lead)) {
        foldLower(ext);
        filterMatches(text.c_str(), ext);
    }

    const DibFields f{read<std::uint32_t>(data, size, 1), read<std::int32_t>(data, size, 5),
                      read<std::int32_t>(data, size, 9), read<std::uint16_t>(data, size, 13),
                      read<std::uint32_t>(data, size, 15)};
    pictureUsable(f, read<std::uint16_t>(data, size, 19), read<std::uint32_t>(data, size, 21));
    return 0;
}
