// The loader's platform-free rules; also run natively under the sanitizers.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

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

TEST(ProgressReports, BarUnitsChangeOnlyWithTheDrawnLength) {
    EXPECT_EQ(barUnits(0, 200, 217), 0);
    EXPECT_EQ(barUnits(100, 200, 217), 108);
    EXPECT_EQ(barUnits(200, 200, 217), 217);
    EXPECT_EQ(barUnits(5000, 1000000, 217), barUnits(5001, 1000000, 217));
    EXPECT_EQ(barUnits(999999999, 1000000000, 217), 216);  // no overflow
    EXPECT_EQ(barUnits(300, 200, 217), 217);
    EXPECT_EQ(barUnits(-5, 200, 217), 0);
    EXPECT_EQ(barUnits(5, 0, 217), 0);
}

TEST(PictureCheck, HeaderMustFitTheCallersBuffer) {
    const DibFields rgb{40, 4, 2, 24, kBiRgb};
    EXPECT_TRUE(pictureUsable(rgb, 40, 24));
    EXPECT_FALSE(pictureUsable(rgb, 1068, 24));
    const DibFields pal{40, 4, 2, 8, kBiRgb};
    EXPECT_TRUE(pictureUsable(pal, kHeaderBufferBytes, 8));
    EXPECT_FALSE(pictureUsable(rgb, 39, 24));               // not even a header
    EXPECT_FALSE(pictureUsable({124, 4, 2, 24, kBiRgb}, 40, 24));  // biSize beyond the block
}

TEST(PictureCheck, PixelBlockMustHoldEveryRow) {
    EXPECT_EQ(pixelBytesNeeded({40, 3, 2, 24, kBiRgb}), 24u);  // rows padded to 12 bytes
    EXPECT_EQ(pixelBytesNeeded({40, 3, -2, 24, kBiRgb}), 24u);  // top-down
    EXPECT_EQ(pixelBytesNeeded({40, 9, 1, 1, kBiRgb}), 4u);
    EXPECT_EQ(pixelBytesNeeded({40, 0, 1, 24, kBiRgb}), 0u);
    EXPECT_EQ(pixelBytesNeeded({40, 2, 2, 7, kBiRgb}), 0u);
    EXPECT_EQ(pixelBytesNeeded({40, 0x7FFFFFFF, 0x7FFFFFFF, 32, kBiRgb}), 4ull * 0x7FFFFFFF * 0x7FFFFFFF);
    EXPECT_FALSE(pictureUsable({40, 3, 2, 24, kBiRgb}, 40, 23));
    EXPECT_TRUE(pictureUsable({40, 3, 2, 24, kBiRgb}, 40, 24));
    EXPECT_FALSE(pictureUsable({40, 0, 2, 24, kBiRgb}, 40, 24));
    EXPECT_TRUE(pictureUsable({40, 3, 2, 8, 1 /* RLE8 */}, 1064, 5));
}
