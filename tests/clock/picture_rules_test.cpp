#include "app/clock/picture_rules.h"

#include <gtest/gtest.h>

#include <iterator>
#include <vector>

namespace horolo {
namespace {

bool ShiftJisLead(unsigned char c) { return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC); }

TEST(PictureRules, TheExtensionOfTheLastPathComponentDecidesThePath) {
    const struct {
        const char* path;
        PictureKind kind;
    } cases[] = {
        {"C:\\pics\\photo.BMP", PictureKind::Bitmap},
        {"C:\\pics.old\\photo", PictureKind::Unknown},     // the scan stops at the last backslash
        {"C:\\pics\\photo.tar.gz", PictureKind::Plugin},   // only "gz" counts
        {"C:\\pics\\photo.bmp.png", PictureKind::Plugin},
        {"C:\\pics\\photo.bmpx", PictureKind::Plugin},
        {"photo.", PictureKind::Plugin},                   // an empty extension goes to the plug-ins
        {"", PictureKind::Unknown},
        // "表" is 0x95 0x5C in CP932: its trail byte is no backslash.
        {"C:\\pics\\photo.\x95\x5C", PictureKind::Plugin},
        {"C:\\\x95\x5C.bmp", PictureKind::Bitmap},
    };
    for (const auto& c : cases) EXPECT_EQ(PictureKindOf(c.path, ShiftJisLead), c.kind) << c.path;
}

TEST(PictureRules, PicturesAreStretchedOrFittedAndCentred) {
    const struct {
        int w, h;
        bool stretch;
        std::optional<FaceEdges> edges;
        std::optional<FacePlacement> placement;
    } cases[] = {
        {400, 300, false, FaceEdges{0, 25, 200, 175}, FacePlacement{0, 25, 200, 150}},
        {300, 200, false, FaceEdges{0, 33, 200, 166}, FacePlacement{0, 33, 200, 133}},
        {300, 400, false, FaceEdges{25, 0, 175, 200}, FacePlacement{25, 0, 150, 200}},
        {123, 123, false, FaceEdges{0, 0, 200, 200}, FacePlacement{0, 0, 200, 200}},
        {400, 300, true, FaceEdges{0, 0, 200, 200}, FacePlacement{0, 0, 200, 200}},
        {4000, 3000, false, FaceEdges{0, 25, 200, 175}, FacePlacement{0, 25, 200, 150}},
        {0, 100, false, std::nullopt, std::nullopt},  // no pixels: no division by zero
        {100, 0, true, std::nullopt, std::nullopt},
        {-5, 10, false, std::nullopt, std::nullopt},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FitByEdges(c.w, c.h, c.stretch, 200), c.edges) << c.w << "x" << c.h;
        EXPECT_EQ(FitBySize(c.w, c.h, c.stretch, 200), c.placement) << c.w << "x" << c.h;
    }
}

TEST(PictureRules, SelectorItemsAndTheirBuiltInPictures) {
    EXPECT_EQ(StartupSelectorItem("Version 1.00-Release", 2), 2);
    EXPECT_EQ(StartupSelectorItem("", 2), 0);  // a first start, or an older file
    EXPECT_EQ(StartupSelectorItem("version 1.00-release", 1), 0);
    const int pictures[] = {BuiltInPictureOf(-1), BuiltInPictureOf(0), BuiltInPictureOf(1), BuiltInPictureOf(2),
                            BuiltInPictureOf(3)};
    EXPECT_EQ(std::vector<int>(std::begin(pictures), std::end(pictures)), (std::vector<int>{0, 0, 1, 2, 0}));
}

}  // namespace
}  // namespace horolo
