// The bitmap reader over the kinds of bitmap it reads and the broken files it
// must refuse (built natively with the sanitizers too).
#include "framework/dib_reader.h"

#include "framework/picture_limit.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;

void Put(Bytes& out, std::uint32_t v, int bytes) {
    for (int i = 0; i < bytes; ++i) out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}

struct FileParts {
    std::int32_t width = 2, height = 2;
    std::uint16_t bitCount = 24;
    std::uint32_t compression = 0;
    std::uint32_t headerSize = 40;
    std::uint32_t coloursUsed = 0;
    Bytes table{};  // colour table or masks, as stored
    Bytes rows{};
    std::int64_t offsetShift = 0;  // moves the pixel offset of the file header
};

// A bitmap file of the given parts; the rows follow the table at once.
Bytes File(const FileParts& s) {
    Bytes info;
    if (s.headerSize == 12) {
        Put(info, 12, 4);
        Put(info, static_cast<std::uint32_t>(s.width), 2);
        Put(info, static_cast<std::uint32_t>(s.height), 2);
        Put(info, 1, 2);
        Put(info, s.bitCount, 2);
    } else {
        Put(info, s.headerSize, 4);
        Put(info, static_cast<std::uint32_t>(s.width), 4);
        Put(info, static_cast<std::uint32_t>(s.height), 4);
        Put(info, 1, 2);
        Put(info, s.bitCount, 2);
        Put(info, s.compression, 4);
        Put(info, static_cast<std::uint32_t>(s.rows.size()), 4);
        Put(info, 2835, 4);
        Put(info, 2835, 4);
        Put(info, s.coloursUsed, 4);
        Put(info, 0, 4);
        info.resize(s.headerSize, 0);
    }
    const std::uint32_t offset = static_cast<std::uint32_t>(14 + info.size() + s.table.size() + s.offsetShift);
    Bytes file{'B', 'M'};
    Put(file, static_cast<std::uint32_t>(14 + info.size() + s.table.size() + s.rows.size()), 4);
    Put(file, 0, 4);
    Put(file, offset, 4);
    file.insert(file.end(), info.begin(), info.end());
    file.insert(file.end(), s.table.begin(), s.table.end());
    file.insert(file.end(), s.rows.begin(), s.rows.end());
    return file;
}

Bytes Palette(int entries, int bytesEach = 4) {
    Bytes t;
    for (int i = 0; i < entries; ++i) {
        t.insert(t.end(), {static_cast<std::uint8_t>(i), static_cast<std::uint8_t>(i * 2), static_cast<std::uint8_t>(255 - i)});
        if (bytesEach == 4) t.push_back(0);
    }
    return t;
}

std::uint32_t InfoField(const fw::Dib& dib, std::size_t at) {
    return dib.info[at] | dib.info[at + 1] << 8 | dib.info[at + 2] << 16 | static_cast<std::uint32_t>(dib.info[at + 3]) << 24;
}

struct Accepted {
    const char* name;
    FileParts file;
    std::uint16_t bitCount;     // of the picture handed on
    std::uint32_t compression;  // of the picture handed on
    std::size_t infoBytes;
    Bytes bits;                 // the rows handed on
};

TEST(BitmapReader, ReadsEverySupportedKind) {
    const Bytes masks = {0x00, 0xF8, 0, 0, 0xE0, 0x07, 0, 0, 0x1F, 0, 0, 0};
    FileParts v5{.width = 1, .height = 1, .headerSize = 124, .rows = {1, 2, 3, 0}};
    const Accepted cases[] = {
        {"1 bit", {.bitCount = 1, .table = Palette(2), .rows = {0x80, 0, 0, 0, 0x40, 0, 0, 0}}, 1, 0, 48,
         {0x80, 0, 0, 0, 0x40, 0, 0, 0}},
        {"4 bits, 3 of 16 colours", {.bitCount = 4, .coloursUsed = 3, .table = Palette(3), .rows = {0x12, 0, 0, 0, 0x21, 0, 0, 0}},
         4, 0, 52, {0x12, 0, 0, 0, 0x21, 0, 0, 0}},
        {"8 bits", {.bitCount = 8, .table = Palette(256), .rows = {7, 8, 0, 0, 9, 10, 0, 0}}, 8, 0, 1064,
         {7, 8, 0, 0, 9, 10, 0, 0}},
        {"16 bits with masks", {.bitCount = 16, .compression = 3, .table = masks, .rows = {1, 2, 3, 4, 5, 6, 7, 8}}, 16, 3, 52,
         {1, 2, 3, 4, 5, 6, 7, 8}},
        {"24 bits top-down", {.height = -2, .rows = Bytes(16, 0x55)}, 24, 0, 40, Bytes(16, 0x55)},
        {"32 bits", {.bitCount = 32, .rows = Bytes(16, 0xAA)}, 32, 0, 40, Bytes(16, 0xAA)},
        {"version 5 header", v5, 24, 0, 40, {1, 2, 3, 0}},
        {"old core header, 3-byte colours", {.bitCount = 8, .headerSize = 12, .table = Palette(256, 3), .rows = {1, 2, 0, 0, 3, 4, 0, 0}},
         8, 0, 1064, {1, 2, 0, 0, 3, 4, 0, 0}},
        // RLE8: three literal pixels, end of line, a move one right and one
        // up, a run of 5s clipped at the right edge, end of picture.
        {"RLE8", {.width = 3, .height = 3, .bitCount = 8, .compression = 1, .table = Palette(256),
                  .rows = {0, 3, 6, 7, 8, 0, 0, 0, 0, 2, 1, 1, 3, 5, 0, 1}},
         8, 0, 1064, {6, 7, 8, 0, 0, 0, 0, 0, 0, 5, 5, 0}},
        // RLE4: a run of alternating nibbles, end of line, three literal nibbles.
        {"RLE4", {.width = 3, .bitCount = 4, .compression = 2, .table = Palette(16),
                  .rows = {3, 0x45, 0, 0, 0, 3, 0x12, 0x30, 0, 1}},
         8, 0, 104, {4, 5, 4, 0, 1, 2, 3, 0}},
    };
    for (const Accepted& c : cases) {
        SCOPED_TRACE(c.name);
        const std::optional<fw::Dib> dib = fw::ReadBitmapFile(File(c.file));
        ASSERT_TRUE(dib.has_value());
        EXPECT_EQ(dib->width, c.file.width);
        EXPECT_EQ(dib->height, c.file.height);
        EXPECT_EQ(dib->info.size(), c.infoBytes);
        EXPECT_EQ(InfoField(*dib, 0), 40u);
        EXPECT_EQ(dib->info[14], c.bitCount);
        EXPECT_EQ(InfoField(*dib, 16), c.compression);
        EXPECT_EQ(dib->bits, c.bits);
    }
}

TEST(BitmapReader, HandsOnColoursAsBlueGreenRedZero) {
    const auto old = fw::ReadBitmapFile(File({.bitCount = 1, .headerSize = 12, .table = Palette(2, 3), .rows = Bytes(8, 0)}));
    ASSERT_TRUE(old.has_value());
    const Bytes second(old->info.begin() + 44, old->info.begin() + 48);
    EXPECT_EQ(second, (Bytes{1, 2, 254, 0}));
}

TEST(BitmapReader, RefusesBrokenAndUnsupportedFiles) {
    Bytes random(300);
    for (std::size_t i = 0; i < random.size(); ++i) random[i] = static_cast<std::uint8_t>(i * 73 + 19);
    Bytes huge = File({.rows = Bytes(16, 0)});
    huge[18] = 0x40, huge[19] = 0x9C, huge[22] = 0x40, huge[23] = 0x9C;  // 40000 by 40000
    const Bytes fine = File({.rows = Bytes(16, 0)});
    const Bytes paletted = File({.bitCount = 8, .table = Palette(256)});
    const struct {
        const char* name;
        Bytes file;
    } cases[] = {
        {"empty", {}},
        {"only the signature", {'B', 'M'}},
        {"random bytes", random},
        {"cut inside the header", Bytes(fine.begin(), fine.begin() + 30)},
        {"one byte of the rows missing", Bytes(fine.begin(), fine.end() - 1)},
        {"40000 by 40000 in a tiny file", huge},
        {"JPEG compression", File({.compression = 4, .rows = Bytes(16, 0)})},
        {"PNG compression", File({.compression = 5, .rows = Bytes(16, 0)})},
        {"RLE8 at 24 bits", File({.compression = 1, .rows = {0, 1}})},
        {"RLE top-down", File({.height = -2, .bitCount = 8, .compression = 1, .table = Palette(256), .rows = {0, 1}})},
        {"RLE data ending early", File({.bitCount = 8, .compression = 1, .table = Palette(256), .rows = {2, 5, 0}})},
        {"bit fields at 24 bits", File({.compression = 3, .table = Bytes(12, 0xFF), .rows = Bytes(16, 0)})},
        {"width 0", File({.width = 0, .rows = Bytes(16, 0)})},
        {"height 0", File({.height = 0, .rows = Bytes(16, 0)})},
        {"negative width", File({.width = -2, .rows = Bytes(16, 0)})},
        {"2 bits per pixel", File({.bitCount = 2, .table = Palette(4), .rows = Bytes(8, 0)})},
        {"header of 64 bytes", File({.headerSize = 64, .rows = Bytes(16, 0)})},
        {"300 colours at 8 bits", File({.bitCount = 8, .coloursUsed = 300, .table = Palette(300), .rows = Bytes(8, 0)})},
        {"colour table past the end", Bytes(paletted.begin(), paletted.begin() + 200)},
        {"pixel offset past the end", File({.rows = Bytes(16, 0), .offsetShift = 100})},
        {"pixel offset inside the colour table", File({.bitCount = 8, .table = Palette(256), .rows = Bytes(8, 0), .offsetShift = -4})},
        {"RLE4 beyond the limit once decoded to 8 bits",
         File({.width = 16384, .height = 16385, .bitCount = 4, .compression = 2, .table = Palette(16), .rows = {0, 1}})},
    };
    for (const auto& c : cases) EXPECT_FALSE(fw::ReadBitmapFile(c.file).has_value()) << c.name;
}

// The limit is on the bytes of the decoded rows, padding included, not on
// the pixels: a 6000 by 6000 picture of one bit per pixel takes 4.5 MB.
TEST(PictureLimit, CountsTheBytesOfTheDecodedRows) {
    const struct {
        std::uint32_t width, rows;
        std::uint16_t bitCount;
        bool fits;
    } cases[] = {
        {6000, 6000, 1, true},
        {8192, 8192, 32, true},  // 256 MiB exactly
        {8192, 8193, 32, false},
        {8193, 8192, 32, false},
        {3, 22369621, 24, true},  // rows of 9 bytes padded to 12
        {3, 22369622, 24, false},
        {65535, 65535, 1, false},
        {0x7FFFFFFF, 0x7FFFFFFF, 32, false},
        {0xFFFFFFFF, 0xFFFFFFFF, 0xFFFF, false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(fw::PictureFits(c.width, c.rows, c.bitCount), c.fits) << c.width << "x" << c.rows << "x" << c.bitCount;
    EXPECT_TRUE(fw::ReadBitmapFile(File({.width = 6000, .height = 6000, .bitCount = 1, .table = Palette(2),
                                         .rows = Bytes(752 * 6000, 0)})).has_value());
}

TEST(BitmapReader, ReadsAPackedDibAsAResourceHoldsIt) {
    const Bytes file = File({.bitCount = 8, .table = Palette(256), .rows = {1, 2, 0, 0, 3, 4, 0, 0}});
    const auto dib = fw::ReadPackedDib(Bytes(file.begin() + 14, file.end()));
    ASSERT_TRUE(dib.has_value());
    EXPECT_EQ(dib->bits, (Bytes{1, 2, 0, 0, 3, 4, 0, 0}));
    EXPECT_FALSE(fw::ReadPackedDib(Bytes(file.begin() + 14, file.end() - 1)).has_value());
}

}  // namespace
