// A file dialog's filter, from bar-separated pairs to the system's form.
#include "framework/file_filter.h"

#include <string>

#include <gtest/gtest.h>

namespace {

using namespace std::string_literals;

TEST(SystemFileFilter, PairsBecomeTextsEndingInNulsAndBrokenPairsAreLeftOut) {
    const struct {
        std::wstring filter;
        std::wstring expected;
    } cases[] = {
        {L"Windows Bitmap (*.BMP)|*.bmp", L"Windows Bitmap (*.BMP)\0*.bmp\0\0"s},
        {L"Windows Bitmap (*.BMP)|*.bmp|ポータブル|*.pbm;*.ppm", L"Windows Bitmap (*.BMP)\0*.bmp\0ポータブル\0*.pbm;*.ppm\0\0"s},
        {L"", L""},
        {L"All Files", L""},
        {L"All Files|*.*|Orphan", L"All Files\0*.*\0\0"s},
        {L"|*.png", L"*.png\0*.png\0\0"s},
        {L"JPEG||PNG|*.png", L"PNG\0*.png\0\0"s},
        {L"JPEG|", L""},
        {L"A|*.a\0B|*.b"s, L"A\0*.a\0\0"s},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.filter));
        EXPECT_EQ(fw::SystemFileFilter(c.filter), c.expected);
    }
}

}  // namespace
