// The bitmap file reader of the window layer, without the Windows API: it
// parses and checks a Windows bitmap (a file, or a packed DIB as a bitmap
// resource holds it) and gives a picture that the drawing functions can hand
// to the system as it is. Anything that is not a complete picture of a
// supported kind is refused, so that no drawing call ever reads past the
// data or decodes a picture of absurd size.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace fw {

// A picture as the system draws device-independent bitmaps: `info` is a
// 40-byte BITMAPINFOHEADER followed by its colour table (up to 256 entries
// of blue, green, red, 0) or its three colour masks; `bits` holds the rows
// that header describes, each padded to 4 bytes. Compressed pictures (RLE4,
// RLE8) arrive decoded to 8 bits per pixel.
struct Dib {
    std::vector<std::uint8_t> info;
    std::vector<std::uint8_t> bits;
    std::int32_t width = 0;
    std::int32_t height = 0;  // negative: the rows run top-down
    std::int32_t rows() const { return height < 0 ? -height : height; }
};

// A whole bitmap file: "BM", the file header, the info header (12, 40, 52,
// 56, 108 or 124 bytes), the colour table or masks, and the rows at the
// offset the file header gives. 1, 4, 8, 16, 24 and 32 bits per pixel; no
// compression, bit fields, RLE4 and RLE8; bottom-up and top-down. A picture
// whose decoded rows pass the picture limit (picture_limit.h) is refused.
std::optional<Dib> ReadBitmapFile(std::span<const std::uint8_t> file);

// A packed DIB (the header, the colour table, the rows, without the file
// header), as in a bitmap resource.
std::optional<Dib> ReadPackedDib(std::span<const std::uint8_t> data);

}  // namespace fw
