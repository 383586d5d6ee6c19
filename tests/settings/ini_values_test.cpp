// The spelling of Horolo.ini's values; also run natively under the sanitizers.
#include <gtest/gtest.h>

#include <climits>

#include "app/settings/ini_values.h"

using namespace horolo::ini;

TEST(IniInteger, ReadsDecimalAndBothHexadecimalForms) {
    struct Case {
        const char* text;
        std::int32_t expected;  // with the fallback 7
    } const cases[] = {
        {"0", 0},           {"42", 42},          {"-3", -3},         {"+5", 5},
        {"007", 7},         {"0x20", 32},        {"0X1f", 31},       {"$FF", 255},
        {"$ffffffff", -1},  {"2147483647", INT_MAX}, {"-2147483648", INT_MIN},
        // no numbers: the fallback
        {"", 7},            {"yes", 7},          {"0x", 7},          {"$", 7},
        {"-", 7},           {"1.5", 7},          {" 1", 7},          {"0x1G", 7},
        {"$123456789", 7},  {"2147483648", 7},   {"-2147483649", 7}, {"99999999999999999999", 7},
        {"-0x10", 7},
    };
    for (const Case& c : cases) EXPECT_EQ(ReadInteger(c.text, 7), c.expected) << '"' << c.text << '"';
    EXPECT_EQ(FormatInteger(-12), "-12");
}

TEST(IniBoolean, AnyNonZeroNumberIsTrue) {
    EXPECT_TRUE(ReadBoolean("2", false));
    EXPECT_TRUE(ReadBoolean("-1", false));
    EXPECT_FALSE(ReadBoolean("0", true));
    EXPECT_FALSE(ReadBoolean("yes", false));  // no number: the default
    EXPECT_TRUE(ReadBoolean("", true));
    EXPECT_EQ(FormatBoolean(true), "1");
    EXPECT_EQ(FormatBoolean(false), "0");
}

TEST(IniColor, RedFirstEitherCaseOnReadingLowerCaseOnWriting) {
    EXPECT_EQ(ParseColor("ff8000"), 0x0080FFu);
    EXPECT_EQ(ParseColor("FF8000"), 0x0080FFu);
    EXPECT_EQ(ParseColor("0000ff"), 0xFF0000u);
    EXPECT_EQ(FormatColor(0x0080FFu), "ff8000");
    EXPECT_EQ(FormatColor(0x12FFFFFFu), "ffffff");  // the high byte is dropped
    for (const char* bad : {"", "fff", "ff80001", "gg8000", "ff 800", "-f8000", "0xff80"})
        EXPECT_FALSE(ParseColor(bad)) << '"' << bad << '"';
}

TEST(IniDrive, LetterPositionsBothWays) {
    EXPECT_EQ(DriveFromValue(3), 'c');
    EXPECT_EQ(DriveFromValue(26), 'z');
    EXPECT_EQ(DriveValue('c'), 3);
    EXPECT_EQ(DriveValue('C'), 3);
    for (std::int32_t value : {kNoDrive, 0, 27, 64}) EXPECT_FALSE(DriveFromValue(value)) << value;
}

// A drive value that names no letter does not cost an absolute directory.
TEST(IniDrive, ThePluginDirectorysDrive) {
    const struct {
        std::int32_t drive;
        const char* directory;
        std::optional<char> expected;
    } cases[] = {
        {3, "C:\\spi", 'c'},        {4, "", 'd'},
        {3, "z:\\spi", 'c'},        {0, "C:\\spi", 'c'},
        {99, "z:/spi", 'z'},        {-7, "D:\\", 'd'},
        {0, "spi", std::nullopt},   {0, "C:spi", std::nullopt},
        {0, "\\\\host\\spi", std::nullopt}, {0, "1:\\spi", std::nullopt},
        {0, "", std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(PluginDirectoryDrive(c.drive, c.directory), c.expected) << c.drive << ' ' << c.directory;
}
