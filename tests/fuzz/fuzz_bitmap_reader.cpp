// The bitmap reader over any file: it must never read out of bounds, and a
// picture it accepts must hold every row its header describes, with a header
// that fits the 1064 bytes of a BITMAPINFO with 256 colours.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <optional>

#include "framework/dib_reader.h"

namespace {

void CheckPicture(const std::optional<fw::Dib>& dib) {
    if (!dib) return;
    const auto& info = dib->info;
    if (info.size() < 40 || info.size() > 1064) std::abort();
    const unsigned bitCount = info[14] | info[15] << 8;
    const std::uint64_t stride = (static_cast<std::uint64_t>(dib->width) * bitCount + 31) / 32 * 4;
    if (dib->width <= 0 || dib->rows() <= 0 || dib->bits.size() < stride * static_cast<std::uint64_t>(dib->rows()))
        std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    CheckPicture(fw::ReadBitmapFile({data, size}));
    if (size > 14) CheckPicture(fw::ReadPackedDib({data + 14, size - 14}));
    return 0;
}
