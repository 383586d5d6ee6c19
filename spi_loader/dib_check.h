// Plausibility test of a decoded picture handed over by a plug-in, before
// the library passes it on: the header must fit the caller's buffer and the
// pixel block must hold every row the header describes, so that drawing it
// never reads past the block.
#pragma once

#include <cstddef>
#include <cstdint>

namespace hrlspi {

constexpr std::size_t kHeaderBufferBytes = 1064;  // 40-byte header + 256 colours, the caller's buffer

struct DibFields {
    std::uint32_t size;         // biSize
    std::int32_t width;         // biWidth
    std::int32_t height;        // biHeight, negative for top-down
    std::uint16_t bitCount;     // biBitCount
    std::uint32_t compression;  // biCompression
};

constexpr std::uint32_t kBiRgb = 0, kBiBitfields = 3;
constexpr std::size_t kInfoHeaderBytes = 40;

// Bytes of pixel data an uncompressed DIB needs (rows padded to 4 bytes);
// 0 when the fields describe no valid picture.
std::uint64_t pixelBytesNeeded(const DibFields& f);

// True when a header block of headerBytes and a pixel block of pixelBytes
// make a picture the caller can use.
bool pictureUsable(const DibFields& f, std::size_t headerBytes, std::size_t pixelBytes);

}  // namespace hrlspi
