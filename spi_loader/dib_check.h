// What the library hands on of a decoded picture: the header block as the
// caller's buffer can hold it, and the plausibility test of the pixel block,
// so that drawing it never reads past either block.
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
    std::uint32_t colorsUsed;   // biClrUsed
};

constexpr std::uint32_t kBiRgb = 0, kBiBitfields = 3;
constexpr std::size_t kInfoHeaderBytes = 40;

// The fields above from the first kInfoHeaderBytes of a header.
DibFields readFields(const unsigned char* header);

// Copies a plug-in's header block into the caller's buffer: the header with
// its bit masks and colour table as it stands when that fits; a larger
// header (V4, V5) shortened to a 40-byte one with the same fields, masks and
// colours when only it makes the block too big or when it refers to a colour
// profile that is not handed on. A colour table of a picture of more than 8
// bits draws nothing and is dropped when it does not fit. Returns the bytes
// written (never more than the buffer), 0 when the block cannot be handed on.
std::size_t copyHeaderBlock(const unsigned char* block, std::size_t blockBytes,
                            unsigned char (&out)[kHeaderBufferBytes]);

// Bytes of pixel data an uncompressed DIB needs (rows padded to 4 bytes);
// 0 when the fields describe no valid picture.
std::uint64_t pixelBytesNeeded(const DibFields& f);

// True when a pixel block of pixelBytes holds the picture the header
// describes and that picture is within the picture limit (picture_limit.h):
// one beyond it is neither handed on nor drawn.
bool pixelsUsable(const DibFields& f, std::size_t pixelBytes);

}  // namespace hrlspi
