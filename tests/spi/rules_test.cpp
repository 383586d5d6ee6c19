// The loader's platform-free rules; also run natively under the sanitizers.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "spi_loader/data_chain.h"  // must build without <windows.h>; 32-bit layout checked inside
#include "spi_loader/dib_check.h"
#include "spi_loader/progress_report.h"
#include "spi_loader/text_rules.h"

using namespace hrlspi;

namespace {

bool shiftJisLead(unsigned char c) { return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC); }

std::string normalised(const char* dir, LeadByteTest lead = noLeadBytes) {
    char out[kPathBytes];
    EXPECT_TRUE(normaliseDirectory(dir, out, lead));
    return out;
}

std::string extension(const char* path, LeadByteTest lead = noLeadBytes) {
    char ext[kExtensionBytes];
    return extensionOf(path, ext, lead) ? std::string("=") + ext : "none";
}

}  // namespace

TEST(DirectoryRule, AddsBackslashOnlyWhereNeeded) {
    EXPECT_EQ(normalised("C:\\SPI"), "C:\\SPI\\");
    EXPECT_EQ(normalised("C:\\SPI\\"), "C:\\SPI\\");
    EXPECT_EQ(normalised("C:"), "C:");
    EXPECT_EQ(normalised(""), "");
}

TEST(DirectoryRule, TrailByteThatLooksLikeABackslashIsNotOne) {
    // "C:\表" ends in 0x95 0x5C: a byte-wise test would take the trail byte
    // for a separator and search "C:\表*.SPI".
    EXPECT_EQ(normalised("C:\\\x95\x5C", shiftJisLead), "C:\\\x95\x5C\\");
    EXPECT_EQ(normalised("C:\\\x95\x5C\\", shiftJisLead), "C:\\\x95\x5C\\");
}

TEST(DirectoryRule, TooLongFailsWithEmptyResult) {
    char out[kPathBytes];
    const std::string fits(kPathBytes - 2, 'a');  // plus the backslash and the terminator
    EXPECT_TRUE(normaliseDirectory(fits.c_str(), out, noLeadBytes));
    EXPECT_EQ(std::strlen(out), kPathBytes - 1);
    const std::string tooLong(kPathBytes - 1, 'a');
    EXPECT_FALSE(normaliseDirectory(tooLong.c_str(), out, noLeadBytes));
    EXPECT_STREQ(out, "");
}

TEST(JoinPath, FailsInsteadOfOverrunning) {
    char out[8];
    EXPECT_TRUE(joinPath("ab\\", "cd", out, sizeof out));
    EXPECT_STREQ(out, "ab\\cd");
    EXPECT_TRUE(joinPath("abc", "defg", out, sizeof out));
    EXPECT_FALSE(joinPath("abc", "defgh", out, sizeof out));
    EXPECT_STREQ(out, "");
}

TEST(CopyText, TerminatesCutsAndClearsTheRest) {
    char field[8];
    std::memset(field, 'x', sizeof field);
    EXPECT_TRUE(copyText(field, sizeof field, "abc", 16));
    EXPECT_EQ(std::string(field, sizeof field), std::string("abc\0\0\0\0\0", 8));
    // An unterminated source is read only up to its stated length.
    const char unterminated[4] = {'w', 'x', 'y', 'z'};
    EXPECT_TRUE(copyText(field, sizeof field, unterminated, sizeof unterminated));
    EXPECT_STREQ(field, "wxyz");
    EXPECT_FALSE(copyText(field, sizeof field, "123456789", 16));
    EXPECT_STREQ(field, "1234567");
}

TEST(CopyText, NeverSplitsADoubleByteCharacter) {
    char field[4];
    // "a" + two double-byte characters: only "a" and the first fit in 3 bytes.
    EXPECT_FALSE(copyText(field, sizeof field, "a\x82\xA0\x82\xA2", 16, shiftJisLead));
    EXPECT_STREQ(field, "a\x82\xA0");
    EXPECT_FALSE(copyText(field, sizeof field, "ab\x82\xA0", 16, shiftJisLead));
    EXPECT_STREQ(field, "ab");
}

TEST(CopyFilter, TooLongKeepsItsWholePatterns) {
    const struct {
        const char* filter;
        const char* field;
    } cases[] = {
        {"*.jpg", "*.jpg"},
        {"*.jpg;*.jpeg;*.jfif", "*.jpg;*.jpeg"},
        {"*.abc;*.def;*.g", "*.abc;*.def;*.g"},   // 15 bytes: fits as it is
        {"*.abc;*.def;*.gh", "*.abc;*.def"},
        {"*.abcdefghijklmn;*.x", "*.abcdefghijklm"},  // not even the first pattern fits
        {";*.abcdefghijklmn", ";*.abcdefghijkl"},
        {"*.\x82\xA0;*.abcdefghijkl", "*.\x82\xA0"},
        {"*.\x82\xA0\x82\xA0\x82\xA0\x82\xA0\x82\xA0\x82\xA0\x82\xA0",  // 16 bytes: no cut inside a character
         "*.\x82\xA0\x82\xA0\x82\xA0\x82\xA0\x82\xA0\x82\xA0"},
    };
    for (const auto& c : cases) {
        char field[16];
        copyFilter(field, sizeof field, c.filter, 1024, shiftJisLead);
        EXPECT_STREQ(field, c.field) << c.filter;
    }
}

TEST(FoldLower, OnlyAsciiCapitals) {
    char text[] = "*.JPG;*.Tif@[\x82";
    foldLower(text);
    EXPECT_STREQ(text, "*.jpg;*.tif@[\x82");
}

TEST(ExtensionScan, LastComponentOnly) {
    EXPECT_EQ(extension("C:\\pic\\photo.JPG"), "=JPG");
    EXPECT_EQ(extension("C:\\pic.dir\\photo"), "none");
    EXPECT_EQ(extension(".jpg"), "=jpg");
    EXPECT_EQ(extension("C:\\pic\\photo."), "=");
    EXPECT_EQ(extension("photo"), "none");
    EXPECT_EQ(extension("a.b.png"), "=png");
    EXPECT_EQ(extension(""), "none");
}

TEST(ExtensionScan, CutToSevenCharacters) {
    EXPECT_EQ(extension("C:\\x.abcdefghij"), "=abcdefg");
    EXPECT_EQ(extension("C:\\x.abcdefg"), "=abcdefg");
}

TEST(ExtensionScan, ShiftJisTrailBytesAreNotSeparators) {
    // "写真.表": the trail byte 0x5C of 表 is no backslash.
    EXPECT_EQ(extension("C:\\\x8E\xCA\x90\x5E.\x95\x5C", shiftJisLead), "=\x95\x5C");
    EXPECT_EQ(extension("C:\\\x83\x5C\x83\x74\x83\x67\\photo.png", shiftJisLead), "=png");
}

TEST(FilterMatch, WorkedExamples) {
    EXPECT_FALSE(filterMatches("*.jpg", "png"));
    EXPECT_TRUE(filterMatches("*.jpg;*.jpeg", "jpeg"));  // fails on the first pattern, matches the second
    EXPECT_TRUE(filterMatches("*.jpg;*.jpeg", "jp"));
    for (const char* ext : {"jpg", "jp", "j", "jpgx"}) EXPECT_TRUE(filterMatches("*.jpg", ext)) << ext;
    EXPECT_FALSE(filterMatches("*.jpg", "jpx"));
    EXPECT_TRUE(filterMatches("*.", "anything"));
    EXPECT_TRUE(filterMatches("*.jpg", ""));
    EXPECT_FALSE(filterMatches("*", ""));  // skipping the dot passes the end
    EXPECT_FALSE(filterMatches("jpg", "jpg"));  // no star
    EXPECT_FALSE(filterMatches("", ""));
    EXPECT_TRUE(filterMatches("*.jpg;*.jpeg", "jpg;"));  // the semicolon is compared like any character
    EXPECT_TRUE(filterMatches("*.t?f", "t?f"));
}

TEST(ProgressReports, StartIntermediateFinal) {
    EXPECT_EQ(classifyReport(0, 200), ProgressReport::Start);
    EXPECT_EQ(classifyReport(0, 0), ProgressReport::Start);
    EXPECT_EQ(classifyReport(100, 200), ProgressReport::Intermediate);
    EXPECT_EQ(classifyReport(200, 200), ProgressReport::Final);
    EXPECT_EQ(classifyReport(250, 200), ProgressReport::Intermediate);
}

namespace {

// A header block of blockBytes whose bytes after the 40-byte header count
// up, so that a copy shows where it came from.
std::vector<unsigned char> headerBlock(std::uint32_t size, std::uint16_t bits, std::uint32_t compression,
                                       std::uint32_t colours, std::size_t blockBytes, bool profile = false) {
    std::vector<unsigned char> block(blockBytes);
    for (std::size_t i = 0; i < blockBytes; ++i) block[i] = static_cast<unsigned char>(i * 7 + 3);
    const std::int32_t width = 4, height = 2;
    std::memcpy(&block[0], &size, 4);
    std::memcpy(&block[4], &width, 4);
    std::memcpy(&block[8], &height, 4);
    std::memcpy(&block[14], &bits, 2);
    std::memcpy(&block[16], &compression, 4);
    std::memcpy(&block[32], &colours, 4);
    if (blockBytes >= 60) {
        const std::uint32_t space = profile ? 0x4D424544 : 0x73524742;  // 'MBED' or 'sRGB'
        std::memcpy(&block[56], &space, 4);
    }
    return block;
}

}  // namespace

TEST(HeaderBlock, CopiesWhatTheCallersBufferCanHold) {
    const struct {
        const char* what;
        std::uint32_t size;
        std::uint16_t bits;
        std::uint32_t compression, colours;
        std::size_t block;
        bool profile;
        std::size_t written;   // 0: refused
        std::size_t tableAt;   // where the bytes after a shortened header come from; 0: copied as it stands
        std::uint32_t coloursAfter;
    } cases[] = {
        {"24 bits", 40, 24, kBiRgb, 0, 40, false, 40, 0, 0},
        {"24 bits in a 1068-byte block", 40, 24, kBiRgb, 0, 1068, false, 40, 0, 0},
        {"4 bits, 16 colours", 40, 4, kBiRgb, 0, 104, false, 104, 0, 0},
        {"8 bits, 256 colours", 40, 8, kBiRgb, 0, 1064, false, 1064, 0, 0},
        {"8 bits, table missing from the block", 40, 8, kBiRgb, 256, 40, false, 0, 0, 0},
        {"8 bits, 2000 colours", 40, 8, kBiRgb, 2000, 8040, false, 0, 0, 0},
        {"16-bit masks after the header", 40, 16, kBiBitfields, 0, 52, false, 52, 0, 0},
        {"16-bit masks missing", 40, 16, kBiBitfields, 0, 48, false, 0, 0, 0},
        {"V5 without a profile", 124, 24, kBiRgb, 0, 124, false, 124, 0, 0},
        {"V4 with masks", 108, 32, kBiBitfields, 0, 108, false, 108, 0, 0},
        {"V5 and an embedded profile", 124, 24, kBiRgb, 0, 124 + 3072, true, 40, 124, 0},
        {"V5 with masks and a profile", 124, 32, kBiBitfields, 0, 124 + 3072, true, 52, 124, 0},
        {"V4 with 256 colours", 108, 8, kBiRgb, 256, 108 + 1024, false, 1064, 108, 256},
        {"24 bits, a palette hint that is not there", 40, 24, kBiRgb, 2000, 40, false, 40, 0, 0},
        {"24 bits, a palette hint too big to hand on", 40, 24, kBiRgb, 300, 1240, false, 40, 0, 0},
        {"24 bits, a palette hint that fits", 40, 24, kBiRgb, 16, 104, false, 104, 0, 16},
        {"core header", 12, 24, kBiRgb, 0, 40, false, 0, 0, 0},
        {"header larger than its block", 200, 24, kBiRgb, 0, 100, false, 0, 0, 0},
        {"block shorter than a header", 40, 24, kBiRgb, 0, 39, false, 0, 0, 0},
    };
    for (const auto& c : cases) {
        const auto block = headerBlock(c.size, c.bits, c.compression, c.colours, c.block, c.profile);
        unsigned char out[kHeaderBufferBytes + 16];
        std::memset(out, 0xCD, sizeof out);
        const std::size_t written = copyHeaderBlock(block.data(), block.size(),
                                                    *reinterpret_cast<unsigned char(*)[kHeaderBufferBytes]>(out));
        EXPECT_EQ(written, c.written) << c.what;
        for (std::size_t i = kHeaderBufferBytes; i < sizeof out; ++i) ASSERT_EQ(out[i], 0xCD) << c.what;
        if (written == 0 || written != c.written) continue;
        const DibFields f = readFields(out);
        EXPECT_EQ(f.size, c.tableAt != 0 ? kInfoHeaderBytes : c.size) << c.what;
        EXPECT_EQ(f.bitCount, c.bits) << c.what;
        EXPECT_EQ(f.compression, c.compression) << c.what;
        EXPECT_EQ(f.colorsUsed, c.coloursAfter) << c.what;
        if (c.tableAt == 0) {
            const std::size_t rest = written - kInfoHeaderBytes;
            EXPECT_EQ(std::memcmp(out + kInfoHeaderBytes, block.data() + kInfoHeaderBytes, rest), 0) << c.what;
            continue;
        }
        const std::size_t masks = c.compression == kBiBitfields ? 12 : 0;
        EXPECT_EQ(std::memcmp(out + kInfoHeaderBytes, block.data() + kInfoHeaderBytes, masks), 0) << c.what;
        EXPECT_EQ(std::memcmp(out + kInfoHeaderBytes + masks, block.data() + c.tableAt,
                              written - kInfoHeaderBytes - masks), 0)
            << c.what;
    }
}

TEST(PictureCheck, PixelBlockMustHoldEveryRow) {
    EXPECT_EQ(pixelBytesNeeded({40, 3, 2, 24, kBiRgb, 0}), 24u);  // rows padded to 12 bytes
    EXPECT_EQ(pixelBytesNeeded({40, 3, -2, 24, kBiRgb, 0}), 24u);  // top-down
    EXPECT_EQ(pixelBytesNeeded({40, 9, 1, 1, kBiRgb, 0}), 4u);
    EXPECT_EQ(pixelBytesNeeded({40, 0, 1, 24, kBiRgb, 0}), 0u);
    EXPECT_EQ(pixelBytesNeeded({40, 2, 2, 7, kBiRgb, 0}), 0u);
    EXPECT_EQ(pixelBytesNeeded({40, 0x7FFFFFFF, 0x7FFFFFFF, 32, kBiRgb, 0}), 4ull * 0x7FFFFFFF * 0x7FFFFFFF);
    EXPECT_FALSE(pixelsUsable({40, 3, 2, 24, kBiRgb, 0}, 23));
    EXPECT_TRUE(pixelsUsable({40, 3, 2, 24, kBiRgb, 0}, 24));
    EXPECT_FALSE(pixelsUsable({40, 0, 2, 24, kBiRgb, 0}, 24));
    EXPECT_TRUE(pixelsUsable({40, 3, 2, 8, 1 /* RLE8 */, 0}, 5));
    EXPECT_TRUE(pixelsUsable({40, 8192, -8192, 32, kBiRgb, 0}, 256u << 20));  // the picture limit exactly
    EXPECT_FALSE(pixelsUsable({40, 8193, 8192, 32, kBiRgb, 0}, SIZE_MAX));   // beyond it, whatever the block
}
