#include "app/settings/image_filter.h"

#include <cstring>
#include <vector>

#include <gtest/gtest.h>

namespace horolo {
namespace {

DataChainRecord Record(const char* description, const char* filter) {
    DataChainRecord record{};
    std::strncpy(record.description, description, sizeof record.description);
    std::strncpy(record.filter, filter, sizeof record.filter);
    return record;
}

// The chain is walked in its order, no further than the count it came with
// or its last link, and a text that fills its field ends with the field.
TEST(ImageFilter, FormatsOfTheChainInChainOrder) {
    DataChainRecord records[] = {Record("JPEG", "*.jpg;*.jpeg"), Record("PNG", "*.png"), Record("GIF", "*.gif")};
    records[0].next = &records[1];
    records[1].next = &records[2];
    EXPECT_EQ(ChainFormats(records, 3),
              (std::vector<PictureFormat>{{"JPEG", "*.jpg;*.jpeg"}, {"PNG", "*.png"}, {"GIF", "*.gif"}}));
    EXPECT_EQ(ChainFormats(records, 2).size(), 2u);
    EXPECT_EQ(ChainFormats(records, 9).size(), 3u);
    EXPECT_TRUE(ChainFormats(nullptr, 4).empty());
    EXPECT_TRUE(ChainFormats(records, 0).empty());

    DataChainRecord full{};
    std::memset(full.description, 'D', sizeof full.description);
    std::memset(full.filter, 'F', sizeof full.filter);
    EXPECT_EQ(ChainFormats(&full, 1), (std::vector<PictureFormat>{{std::string(32, 'D'), std::string(16, 'F')}}));
}

// A bar of a plug-in's text would split its entry: it goes from a
// description and separates patterns, but a trail byte 0x7C stays.
TEST(ImageFilter, BitmapsFirstThenOneEntryPerFormat) {
    const auto shiftJisLead = [](unsigned char c) { return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC); };
    const struct {
        std::vector<PictureFormat> formats;
        std::string filter;
    } cases[] = {
        {{}, "Windows Bitmap (*.BMP)|*.bmp"},
        {{{"JPEG", "*.jpg;*.jpeg"}, {"PNG", "*.png"}}, "Windows Bitmap (*.BMP)|*.bmp|JPEG|*.jpg;*.jpeg|PNG|*.png"},
        {{{"A|B", "*.a|*.b"}, {"|", "|"}}, "Windows Bitmap (*.BMP)|*.bmp|AB|*.a;*.b||;"},
        {{{"\x83\x7C|", "*.p"}}, "Windows Bitmap (*.BMP)|*.bmp|\x83\x7C|*.p"},
    };
    for (const auto& c : cases) EXPECT_EQ(ImageFilterOf(c.formats, shiftJisLead), c.filter) << c.filter;
}

}  // namespace
}  // namespace horolo
