#include "app/clock/geometry.h"

#include <algorithm>
#include <cmath>

namespace horolo {
namespace {

constexpr std::array<std::wstring_view, 12> kArabicNumerals{
    L"12", L"1", L"2", L"3", L"4", L"5", L"6", L"7", L"8", L"9", L"10", L"11"};

struct Rotation {
    double c;
    double s;
};

Rotation RotationBy(int angle) {
    const double a = angle * kDegreesToRadians;
    return {std::cos(a), std::sin(a)};
}

FacePoint Apply(const Rotation& r, ModelPoint p, int width, int height) {
    const int u = static_cast<int>(p.px * r.c - p.py * r.s);
    const int v = static_cast<int>(p.px * r.s + p.py * r.c);
    return {width / 2 - (width * u) / kFaceSize, height / 2 - (height * v) / kFaceSize};
}

// All points of a shape turn by the same angle: its sine and cosine are
// worked out once per shape, not once per point.
template <std::size_t N>
std::array<FacePoint, N> Rotate(const std::array<ModelPoint, N>& shape, int angle, int width, int height) {
    const Rotation r = RotationBy(angle);
    std::array<FacePoint, N> out{};
    for (std::size_t i = 0; i < N; ++i) out[i] = Apply(r, shape[i], width, height);
    return out;
}

}  // namespace

FacePoint RotatePoint(ModelPoint p, int angle, int width, int height) {
    return Apply(RotationBy(angle), p, width, height);
}

int HourAngle(const FaceTime& t) { return (t.hour % 12) * 30 + t.minute / 2; }
int MinuteAngle(const FaceTime& t) { return t.minute * 6 + t.second / 10; }
int SecondAngle(const FaceTime& t) { return t.second * 6; }

HandPoints ComputeHands(const FaceTime& t, int width, int height) {
    return {Rotate(hourHandShape, HourAngle(t), width, height),
            Rotate(minuteHandShape, MinuteAngle(t), width, height),
            Rotate(secondHandShape, SecondAngle(t), width, height)};
}

FacePoint IndicatorCentre(int position, int width, int height) {
    return RotatePoint(indicatorShape[0], 30 * position, width, height);
}

FacePoint IndicatorBarEnd(int position, int width, int height) {
    return RotatePoint(indicatorShape[1], 30 * position, width, height);
}

std::wstring_view IndicatorText(int style, int position) {
    if (position < 0 || position >= kIndicatorCount) return {};
    switch (style) {
        case kArabic: return kArabicNumerals[position];
        case kRoman: return romanNumerals[position];
        default: return {};
    }
}

FaceBox HandsBox(const HandPoints& hands) {
    FaceBox box{hands.second[0].x, hands.second[0].y, hands.second[0].x, hands.second[0].y};
    auto add = [&box](const FacePoint& p) {
        box.left = std::min(box.left, p.x);
        box.top = std::min(box.top, p.y);
        box.right = std::max(box.right, p.x);
        box.bottom = std::max(box.bottom, p.y);
    };
    for (const FacePoint& p : hands.hour) add(p);
    for (const FacePoint& p : hands.minute) add(p);
    for (const FacePoint& p : hands.second) add(p);
    return {box.left - 1, box.top - 1, box.right + 2, box.bottom + 2};
}

}  // namespace horolo
