// The one limit on the pictures the program decodes, whichever path decodes
// them (the bitmap reader or a plug-in): the bytes the decoded rows take. A
// background shows 200 by 200 pixels; the limit leaves room for any camera's
// photograph while a 32-bit process keeps the address space to decode it
// beside the reader's own buffers. No Windows API here: the plug-in and the
// library include it as the reader does.
#pragma once

#include <cstdint>

namespace fw {

inline constexpr std::uint64_t kMaxPictureBytes = std::uint64_t{256} << 20;

// Whether a picture of that many pixels across, rows and bits per pixel,
// each row padded to 4 bytes as a device-independent bitmap stores it, stays
// within the limit. Computed without overflow for any field values.
constexpr bool PictureFits(std::uint32_t width, std::uint32_t rows, std::uint16_t bitCount) {
    const std::uint64_t rowBytes = (std::uint64_t{width} * bitCount + 31) / 32 * 4;
    return rows == 0 || rowBytes <= kMaxPictureBytes / rows;
}

}  // namespace fw
