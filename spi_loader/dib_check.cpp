#include "spi_loader/dib_check.h"

#include <cstring>

#include "framework/picture_limit.h"

namespace hrlspi {

namespace {

constexpr std::size_t kMaskBytes = 12;          // red, green and blue masks
constexpr std::size_t kMasksInHeaderBytes = 52;  // headers this long hold the masks themselves
constexpr std::size_t kV5HeaderBytes = 124;
constexpr std::size_t kColorSpaceAt = 56, kColorsUsedAt = 32;
constexpr std::uint32_t kProfileEmbedded = 0x4D424544, kProfileLinked = 0x4C494E4B;  // 'MBED', 'LINK'

template <class T>
T at(const unsigned char* bytes, std::size_t offset) {
    T value;
    std::memcpy(&value, bytes + offset, sizeof value);
    return value;
}

bool refersToProfile(const unsigned char* header, std::size_t size) {
    if (size < kV5HeaderBytes) return false;
    const std::uint32_t space = at<std::uint32_t>(header, kColorSpaceAt);
    return space == kProfileEmbedded || space == kProfileLinked;
}

}  // namespace

DibFields readFields(const unsigned char* header) {
    return {at<std::uint32_t>(header, 0),  at<std::int32_t>(header, 4),  at<std::int32_t>(header, 8),
            at<std::uint16_t>(header, 14), at<std::uint32_t>(header, 16), at<std::uint32_t>(header, kColorsUsedAt)};
}

std::size_t copyHeaderBlock(const unsigned char* block, std::size_t blockBytes,
                            unsigned char (&out)[kHeaderBufferBytes]) {
    if (blockBytes < kInfoHeaderBytes) return 0;
    const DibFields f = readFields(block);
    if (f.size < kInfoHeaderBytes || f.size > blockBytes) return 0;

    const bool tableNeeded = f.bitCount >= 1 && f.bitCount <= 8;
    const std::uint64_t colours = f.colorsUsed != 0 ? f.colorsUsed : tableNeeded ? 1u << f.bitCount : 0;
    const std::size_t masks = f.compression == kBiBitfields ? kMaskBytes : 0;
    const std::size_t masksAfter = f.size < kMasksInHeaderBytes ? masks : 0;
    const std::uint64_t tableAt = f.size + masksAfter;
    if (tableAt > blockBytes) return 0;
    std::uint64_t table = colours * 4;
    if (tableAt + table > blockBytes || kInfoHeaderBytes + masks + table > kHeaderBufferBytes) {
        if (tableNeeded) return 0;
        table = 0;
    }

    std::size_t written;
    if (tableAt + table <= kHeaderBufferBytes && !refersToProfile(block, f.size)) {
        written = static_cast<std::size_t>(tableAt + table);
        std::memcpy(out, block, written);
    } else {
        std::memcpy(out, block, kInfoHeaderBytes);
        const std::uint32_t shortSize = kInfoHeaderBytes;
        std::memcpy(out, &shortSize, sizeof shortSize);
        std::memcpy(out + kInfoHeaderBytes, block + (masksAfter != 0 ? f.size : kInfoHeaderBytes), masks);
        std::memcpy(out + kInfoHeaderBytes + masks, block + tableAt, static_cast<std::size_t>(table));
        written = kInfoHeaderBytes + masks + static_cast<std::size_t>(table);
    }
    if (table == 0 && colours != 0) std::memset(out + kColorsUsedAt, 0, sizeof f.colorsUsed);
    return written;
}

std::uint64_t pixelBytesNeeded(const DibFields& f) {
    if (f.width <= 0 || f.height == 0) return 0;
    switch (f.bitCount) {
    case 1: case 4: case 8: case 16: case 24: case 32: break;
    default: return 0;
    }
    const std::uint64_t rows = f.height < 0 ? -static_cast<std::int64_t>(f.height) : f.height;
    const std::uint64_t stride = (static_cast<std::uint64_t>(f.width) * f.bitCount + 31) / 32 * 4;
    return stride * rows;
}

bool pixelsUsable(const DibFields& f, std::size_t pixelBytes) {
    if (f.compression != kBiRgb && f.compression != kBiBitfields) return pixelBytes > 0;
    const std::uint64_t need = pixelBytesNeeded(f);
    const std::uint64_t rows = f.height < 0 ? -static_cast<std::int64_t>(f.height) : f.height;
    return need != 0 && need <= pixelBytes &&
           fw::PictureFits(static_cast<std::uint32_t>(f.width), static_cast<std::uint32_t>(rows), f.bitCount);
}

}  // namespace hrlspi
