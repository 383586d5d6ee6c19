#include "framework/dib_reader.h"

#include "framework/picture_limit.h"

namespace fw {

namespace {

constexpr std::uint32_t kRgb = 0, kRle8 = 1, kRle4 = 2, kBitfields = 3;
constexpr std::size_t kFileHeaderBytes = 14;
constexpr std::size_t kInfoBytes = 40;
constexpr std::size_t kCoreBytes = 12;

using Bytes = std::span<const std::uint8_t>;

std::uint32_t U32(Bytes b, std::size_t at) {
    return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | static_cast<std::uint32_t>(b[at + 3]) << 24;
}
std::uint16_t U16(Bytes b, std::size_t at) { return static_cast<std::uint16_t>(b[at] | b[at + 1] << 8); }

void Put32(std::vector<std::uint8_t>& out, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}
void Put16(std::vector<std::uint8_t>& out, std::uint16_t v) {
    out.push_back(static_cast<std::uint8_t>(v));
    out.push_back(static_cast<std::uint8_t>(v >> 8));
}

struct Header {
    std::size_t size;  // of the info header in the data
    std::int64_t width;
    std::int64_t height;
    std::uint16_t bitCount;
    std::uint32_t compression;
    std::uint64_t coloursStored;  // colour table entries in the data
    std::size_t entryBytes;       // 3 for the old core header, else 4
};

std::optional<Header> ParseHeader(Bytes data, std::size_t at) {
    if (data.size() < at + 4) return std::nullopt;
    Header h{};
    h.size = U32(data, at);
    if (h.size == kCoreBytes) {
        if (data.size() < at + kCoreBytes) return std::nullopt;
        h.width = U16(data, at + 4);
        h.height = U16(data, at + 6);
        h.bitCount = U16(data, at + 10);
        h.compression = kRgb;
        h.entryBytes = 3;
    } else if (h.size == 40 || h.size == 52 || h.size == 56 || h.size == 108 || h.size == 124) {
        if (data.size() < at + h.size) return std::nullopt;
        h.width = static_cast<std::int32_t>(U32(data, at + 4));
        h.height = static_cast<std::int32_t>(U32(data, at + 8));
        h.bitCount = U16(data, at + 14);
        h.compression = U32(data, at + 16);
        h.coloursStored = U32(data, at + 32);
        h.entryBytes = 4;
    } else {
        return std::nullopt;
    }
    switch (h.bitCount) {
    case 1: case 4: case 8: case 16: case 24: case 32: break;
    default: return std::nullopt;
    }
    const bool bottomUp = h.height > 0;
    const bool fits = (h.compression == kRgb) || (h.compression == kRle8 && h.bitCount == 8 && bottomUp) ||
                      (h.compression == kRle4 && h.bitCount == 4 && bottomUp) ||
                      (h.compression == kBitfields && (h.bitCount == 16 || h.bitCount == 32));
    if (!fits || h.width <= 0 || h.height == 0) return std::nullopt;
    const std::uint64_t rows = static_cast<std::uint64_t>(h.height < 0 ? -h.height : h.height);
    // Run-length pictures are decoded to 8 bits per pixel.
    const bool rle = h.compression == kRle8 || h.compression == kRle4;
    if (!PictureFits(static_cast<std::uint32_t>(h.width), static_cast<std::uint32_t>(rows), rle ? 8 : h.bitCount))
        return std::nullopt;
    if (h.bitCount <= 8 && h.coloursStored == 0) h.coloursStored = std::uint64_t{1} << h.bitCount;
    if (h.bitCount <= 8 && h.coloursStored > (std::uint64_t{1} << h.bitCount)) return std::nullopt;
    return h;
}

std::uint64_t Stride(std::int64_t width, int bitCount) {
    return (static_cast<std::uint64_t>(width) * static_cast<std::uint64_t>(bitCount) + 31) / 32 * 4;
}

// Run-length rows decoded to one byte per pixel, bottom-up. False when the
// data ends before the picture does.
bool DecodeRle(Bytes data, const Header& h, std::vector<std::uint8_t>& out) {
    const std::uint64_t width = static_cast<std::uint64_t>(h.width);
    const std::uint64_t height = static_cast<std::uint64_t>(h.height);
    const std::uint64_t stride = Stride(h.width, 8);
    out.assign(static_cast<std::size_t>(stride * height), 0);
    const bool four = h.compression == kRle4;
    std::uint64_t x = 0, y = 0;
    auto put = [&](std::uint8_t index) {
        if (x < width && y < height) out[static_cast<std::size_t>(y * stride + x)] = index;
        ++x;
    };
    std::size_t i = 0;
    while (y < height) {
        if (i + 2 > data.size()) return false;
        const std::uint8_t count = data[i], value = data[i + 1];
        i += 2;
        if (count > 0) {  // a run of one value (two alternating nibbles in RLE4)
            for (int k = 0; k < count; ++k)
                put(four ? static_cast<std::uint8_t>(k % 2 == 0 ? value >> 4 : value & 15) : value);
            continue;
        }
        if (value == 0) {  // end of line
            x = 0;
            ++y;
        } else if (value == 1) {  // end of picture
            return true;
        } else if (value == 2) {  // move right and up
            if (i + 2 > data.size()) return false;
            x += data[i];
            y += data[i + 1];
            i += 2;
        } else {  // `value` literal pixels, padded to a whole 16-bit word
            const std::size_t bytes = four ? (value + 1u) / 2 : value;
            if (i + bytes > data.size()) return false;
            for (int k = 0; k < value; ++k)
                put(four ? static_cast<std::uint8_t>(k % 2 == 0 ? data[i + k / 2] >> 4 : data[i + k / 2] & 15)
                         : data[i + k]);
            i += bytes + (bytes & 1);
        }
    }
    return true;
}

std::optional<Dib> Read(Bytes data, std::size_t headerAt, std::optional<std::uint32_t> bitsAt) {
    const std::optional<Header> parsed = ParseHeader(data, headerAt);
    if (!parsed) return std::nullopt;
    const Header& h = *parsed;

    // Masks follow a plain 40-byte header; the larger headers hold them.
    std::size_t at = headerAt + h.size;
    std::uint32_t masks[3] = {};
    if (h.compression == kBitfields) {
        const std::size_t masksAt = h.size == kInfoBytes ? at : headerAt + kInfoBytes;
        if (data.size() < masksAt + 12) return std::nullopt;
        for (int k = 0; k < 3; ++k) masks[k] = U32(data, masksAt + 4 * k);
        if (h.size == kInfoBytes) at += 12;
    }
    const std::uint64_t tableBytes = h.coloursStored * h.entryBytes;
    if (tableBytes > data.size() - at) return std::nullopt;
    const std::size_t tableAt = at;
    const std::uint64_t rowsAt = bitsAt ? *bitsAt : at + tableBytes;
    if (rowsAt < at + tableBytes || rowsAt > data.size()) return std::nullopt;
    const Bytes rows = data.subspan(static_cast<std::size_t>(rowsAt));

    Dib dib;
    dib.width = static_cast<std::int32_t>(h.width);
    dib.height = static_cast<std::int32_t>(h.height);
    const bool rle = h.compression == kRle8 || h.compression == kRle4;
    const int bitCount = rle ? 8 : h.bitCount;
    if (rle) {
        if (!DecodeRle(rows, h, dib.bits)) return std::nullopt;
    } else {
        const std::uint64_t need = Stride(h.width, h.bitCount) * static_cast<std::uint64_t>(h.height < 0 ? -h.height : h.height);
        if (need > rows.size()) return std::nullopt;
        dib.bits.assign(rows.begin(), rows.begin() + static_cast<std::ptrdiff_t>(need));
    }

    const std::uint32_t colours = h.bitCount <= 8 ? static_cast<std::uint32_t>(h.coloursStored) : 0;
    dib.info.reserve(kInfoBytes + 4 * 256);
    Put32(dib.info, kInfoBytes);
    Put32(dib.info, static_cast<std::uint32_t>(dib.width));
    Put32(dib.info, static_cast<std::uint32_t>(dib.height));
    Put16(dib.info, 1);
    Put16(dib.info, static_cast<std::uint16_t>(bitCount));
    Put32(dib.info, h.compression == kBitfields ? kBitfields : kRgb);
    Put32(dib.info, static_cast<std::uint32_t>(dib.bits.size()));
    Put32(dib.info, 0);
    Put32(dib.info, 0);
    Put32(dib.info, colours);
    Put32(dib.info, 0);
    if (h.compression == kBitfields)
        for (std::uint32_t mask : masks) Put32(dib.info, mask);
    for (std::uint32_t k = 0; k < colours; ++k) {
        const std::size_t e = tableAt + k * h.entryBytes;
        dib.info.insert(dib.info.end(), {data[e], data[e + 1], data[e + 2], 0});
    }
    return dib;
}

}  // namespace

std::optional<Dib> ReadBitmapFile(std::span<const std::uint8_t> file) {
    if (file.size() < kFileHeaderBytes || file[0] != 'B' || file[1] != 'M') return std::nullopt;
    return Read(file, kFileHeaderBytes, U32(file, 10));
}

std::optional<Dib> ReadPackedDib(std::span<const std::uint8_t> data) { return Read(data, 0, std::nullopt); }

}  // namespace fw
