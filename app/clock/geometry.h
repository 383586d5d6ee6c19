// Geometry of the analogue face: the hand and indicator shapes in model
// units, their rotation onto the client area, and the hand angles.
#pragma once

#include <array>
#include <bit>
#include <cstdint>
#include <string_view>

namespace horolo {

// Degrees to radians as the face has always computed it. The value is a
// little below pi/180 and several pixel positions (e.g. the hour hand at
// three o'clock) depend on exactly these bits.
inline constexpr double kDegreesToRadians = 0.017453292519444445;
static_assert(std::bit_cast<std::uint64_t>(kDegreesToRadians) == 0x3F91DF46A2506B91ULL);

inline constexpr int kFaceSize = 200;

// Model point of an unrotated shape pointing at 12 o'clock: py runs from the
// centre towards 12, px from the centre towards 9.
struct ModelPoint {
    int px;
    int py;
};

// A point in client pixels.
struct FacePoint {
    int x;
    int y;
    friend bool operator==(const FacePoint&, const FacePoint&) = default;
};

inline constexpr std::array<ModelPoint, 4> hourHandShape{{{0, 2}, {5, 10}, {0, 50}, {-5, 10}}};
inline constexpr std::array<ModelPoint, 4> minuteHandShape{{{0, 2}, {3, 20}, {0, 95}, {-3, 20}}};
inline constexpr std::array<ModelPoint, 2> secondHandShape{{{0, 2}, {0, 80}}};
// Bars run from the first point to the second; numerals are centred on the first.
inline constexpr std::array<ModelPoint, 2> indicatorShape{{{0, 92}, {0, 97}}};

inline constexpr std::array<std::wstring_view, 12> romanNumerals{
    L"XII", L"I", L"II", L"III", L"IV", L"V", L"VI", L"VII", L"VIII", L"IX", L"X", L"XI"};

// Turns a model point clockwise by whole degrees onto a face of the given
// client size. The products are truncated towards zero at each step.
FacePoint RotatePoint(ModelPoint p, int angle, int width = kFaceSize, int height = kFaceSize);

// The time the face shows: hour 0-23, minute, second.
struct FaceTime {
    std::int32_t hour = 0;
    std::int32_t minute = 0;
    std::int32_t second = 0;
    friend bool operator==(const FaceTime&, const FaceTime&) = default;
};

int HourAngle(const FaceTime& t);
int MinuteAngle(const FaceTime& t);
int SecondAngle(const FaceTime& t);

struct HandPoints {
    std::array<FacePoint, 4> hour;
    std::array<FacePoint, 4> minute;
    std::array<FacePoint, 2> second;
};

HandPoints ComputeHands(const FaceTime& t, int width = kFaceSize, int height = kFaceSize);

// The pixels the three hands can touch: the box of all their points, one
// pixel wider on each side for the pen; right and bottom exclusive.
struct FaceBox {
    int left, top, right, bottom;
    friend bool operator==(const FaceBox&, const FaceBox&) = default;
};
FaceBox HandsBox(const HandPoints& hands);

// Indicator styles as the items of the style radio group; anything else
// (no item selected) draws no indicators.
enum IndicatorStyle : int { kBars = 0, kArabic = 1, kRoman = 2 };

inline constexpr int kIndicatorCount = 12;

FacePoint IndicatorCentre(int position, int width = kFaceSize, int height = kFaceSize);
FacePoint IndicatorBarEnd(int position, int width = kFaceSize, int height = kFaceSize);

// The numeral at an hour position (0 = top) for the numeral styles; empty
// for bars and for no style.
std::wstring_view IndicatorText(int style, int position);

}  // namespace horolo
