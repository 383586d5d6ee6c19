// Which paths name a device, as the system reads them.
#include "framework/device_names.h"

#include <gtest/gtest.h>

namespace {

// Shift-JIS lead bytes: a trail byte may be 0x5C, the backslash.
bool ShiftJisLead(unsigned char c) { return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC); }

TEST(DeviceNames, TheReservedNamesInAnyPlaceAndSpelling) {
    const struct {
        const char* path;
        bool device;
    } cases[] = {
        {"CON", true},
        {"nul", true},
        {"Prn.txt", true},
        {"aux.tar.gz", true},
        {"COM1.png", true},
        {"c:\\pictures\\com9.bmp", true},
        {"C:/pictures/Lpt1", true},
        {"c:lpt5.jpg", true},
        {"COM1 .png", true},
        {"con. .", true},
        {"COM1:", true},
        {"\\\\.\\pipe\\clock", true},
        {"\\\\.\\C:", true},
        {"COM0.png", false},
        {"COM10", false},
        {"LPT", false},
        {"console.png", false},
        {"c:\\con\\picture.png", false},
        {"c:\\pictures\\acon.png", false},
        {"", false},
        {"c:\\", false},
        {"\\\\?\\c:\\pictures\\sky.png", false},
        {"\x83\x5C" "COM1.png", false},  // the second byte of ソ is no separator
        {"\x83\x5C\\COM1.png", true},
    };
    for (const auto& c : cases) EXPECT_EQ(fw::NamesDevice(c.path, ShiftJisLead), c.device) << c.path;
}

}  // namespace
