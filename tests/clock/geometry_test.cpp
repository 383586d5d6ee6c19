#include "app/clock/geometry.h"

#include <gtest/gtest.h>

#include <array>
#include <numbers>

namespace horolo {
namespace {

TEST(Geometry, IndicatorCentresAndBarEndsOnTheFullFace) {
    const std::array<FacePoint, 12> centres{{{100, 8}, {145, 21}, {179, 54}, {192, 100},
                                             {179, 145}, {146, 179}, {100, 192}, {55, 179},
                                             {21, 146}, {8, 100}, {21, 55}, {54, 21}}};
    const std::array<FacePoint, 12> ends{{{100, 3}, {148, 16}, {184, 52}, {197, 100},
                                          {184, 148}, {148, 184}, {100, 197}, {52, 184},
                                          {16, 148}, {3, 100}, {16, 52}, {52, 16}}};
    for (int i = 0; i < 12; ++i) {
        EXPECT_EQ(IndicatorCentre(i), centres[i]) << "position " << i;
        EXPECT_EQ(IndicatorBarEnd(i), ends[i]) << "position " << i;
    }
}

TEST(Geometry, HandsAtThreeOClock) {
    const HandPoints h = ComputeHands({3, 0, 0});
    const std::array<FacePoint, 4> hour{{{102, 100}, {109, 95}, {150, 100}, {110, 104}}};
    EXPECT_EQ(h.hour, hour);
}

TEST(Geometry, ExactPiOver180WouldMoveAPixel) {
    // Guards the constant: the true value gives (110, 95) for this point.
    EXPECT_NE(kDegreesToRadians, std::numbers::pi / 180);
    EXPECT_EQ(RotatePoint({5, 10}, 90), (FacePoint{109, 95}));
}

TEST(Geometry, HandsAtTwelveOClock) {
    const HandPoints h = ComputeHands({12, 0, 0});
    const std::array<FacePoint, 4> hour{{{100, 98}, {95, 90}, {100, 50}, {105, 90}}};
    const std::array<FacePoint, 4> minute{{{100, 98}, {97, 80}, {100, 5}, {103, 80}}};
    const std::array<FacePoint, 2> second{{{100, 98}, {100, 20}}};
    EXPECT_EQ(h.hour, hour);
    EXPECT_EQ(h.minute, minute);
    EXPECT_EQ(h.second, second);
    EXPECT_EQ(ComputeHands({0, 0, 0}).hour, hour);
}

TEST(Geometry, HandAngles) {
    EXPECT_EQ(HourAngle({0, 0, 0}), HourAngle({12, 0, 0}));
    EXPECT_EQ(HourAngle({0, 59, 0}), HourAngle({12, 59, 0}));
    EXPECT_EQ(HourAngle({15, 45, 0}), 112);
    EXPECT_EQ(HourAngle({23, 59, 59}), 359);
    EXPECT_EQ(MinuteAngle({10, 20, 59}), 125);
    EXPECT_EQ(MinuteAngle({10, 20, 9}), 120);
    EXPECT_EQ(SecondAngle({0, 0, 59}), 354);
}

TEST(Geometry, RotationScalesWithTheClientSize) {
    EXPECT_EQ(RotatePoint({0, 92}, 0, 400, 100), (FacePoint{200, 4}));
    EXPECT_EQ(RotatePoint({0, 92}, 90, 400, 100), (FacePoint{384, 50}));
}

TEST(Geometry, IndicatorTexts) {
    EXPECT_EQ(IndicatorText(kArabic, 0), L"12");
    EXPECT_EQ(IndicatorText(kArabic, 11), L"11");
    EXPECT_EQ(IndicatorText(kRoman, 0), L"XII");
    EXPECT_EQ(IndicatorText(kRoman, 8), L"VIII");
    EXPECT_TRUE(IndicatorText(kBars, 3).empty());
    EXPECT_TRUE(IndicatorText(-1, 3).empty());
    EXPECT_TRUE(IndicatorText(kArabic, 12).empty());
}

}  // namespace
}  // namespace horolo
