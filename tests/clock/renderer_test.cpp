#include "app/clock/renderer.h"

#include <gtest/gtest.h>

#include <vector>

namespace horolo {
namespace {

constexpr COLORREF kBackground = RGB(0x20, 0x40, 0x80);
constexpr COLORREF kInk = RGB(0xF0, 0x30, 0x10);

// A 200 by 200 face bitmap in the screen's format, filled with one colour,
// with its pixels readable as COLORREFs.
class Face {
public:
    Face() : bitmap_(fw::CompatibleBitmap(kFaceSize, kFaceSize)) { fill(kBackground); }

    HBITMAP bitmap() const { return bitmap_.get(); }

    void fill(COLORREF colour) {
        const fw::BitmapCanvas canvas(bitmap_.get());
        const fw::BrushHandle brush(CreateSolidBrush(colour));
        const RECT all{0, 0, kFaceSize, kFaceSize};
        FillRect(canvas.get(), &all, brush.get());
    }

    void indicators(int style, COLORREF colour = kInk) {
        const fw::BitmapCanvas canvas(bitmap_.get());
        DrawIndicators(canvas.get(), style, colour, kFaceSize, kFaceSize);
        read();
    }

    void hands(const FaceTime& t, const HandColours& c) {
        const fw::BitmapCanvas canvas(bitmap_.get());
        DrawHands(canvas.get(), t, c, kFaceSize, kFaceSize);
        read();
    }

    void read() { pixels_ = ReadPixels(bitmap_.get(), kFaceSize, kFaceSize); }

    COLORREF at(int x, int y) const { return pixels_[y * kFaceSize + x]; }
    COLORREF at(FacePoint p) const { return at(p.x, p.y); }

    int count(COLORREF colour, RECT r = {0, 0, kFaceSize, kFaceSize}) const {
        int n = 0;
        for (int y = r.top; y < r.bottom; ++y)
            for (int x = r.left; x < r.right; ++x) n += at(x, y) == colour;
        return n;
    }

    static std::vector<COLORREF> ReadPixels(HBITMAP bitmap, int w, int h) {
        BITMAPINFO info{};
        info.bmiHeader = {sizeof(BITMAPINFOHEADER), w, -h, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
        std::vector<DWORD> raw(static_cast<size_t>(w) * h);
        const fw::WindowDC screen;
        GetDIBits(screen.get(), bitmap, 0, h, raw.data(), &info, DIB_RGB_COLORS);
        std::vector<COLORREF> out(raw.size());
        for (size_t i = 0; i < raw.size(); ++i)
            out[i] = RGB((raw[i] >> 16) & 0xFF, (raw[i] >> 8) & 0xFF, raw[i] & 0xFF);
        return out;
    }

private:
    fw::BitmapHandle bitmap_;
    std::vector<COLORREF> pixels_;
};

// The box a numeral occupies around its centre, from the same font.
RECT TextBox(FacePoint centre, std::wstring_view text) {
    const fw::MemoryDC dc;
    const fw::FontHandle font = CreateDefaultSurfaceFont();
    const fw::SelectGuard use(dc.get(), font.get());
    SIZE s{};
    GetTextExtentPoint32W(dc.get(), text.data(), static_cast<int>(text.size()), &s);
    const int x = centre.x - s.cx / 2, y = centre.y - s.cy / 2;
    return {x, y, x + s.cx, y + s.cy};
}

TEST(Renderer, BarsAreFivePixelsFromTheCentrePointWithoutTheEndPoint) {
    Face face;
    face.indicators(kBars);
    for (int i = 0; i < 12; ++i) {
        EXPECT_EQ(face.at(IndicatorCentre(i)), kInk) << "position " << i;
        EXPECT_EQ(face.at(IndicatorBarEnd(i)), kBackground) << "position " << i;
    }
    EXPECT_EQ(face.count(kInk), 12 * 5);
    EXPECT_EQ(face.count(kBackground), 200 * 200 - 12 * 5);
}

TEST(Renderer, NoStyleDrawsNothing) {
    Face face;
    face.indicators(-1);
    EXPECT_EQ(face.count(kBackground), 200 * 200);
}

TEST(Renderer, NumeralsKeepTheBackgroundAroundTheGlyphs) {
    for (int style : {kArabic, kRoman}) {
        Face face;
        face.indicators(style);
        std::vector<bool> inBox(200 * 200, false);
        for (int i = 0; i < 12; ++i) {
            const RECT box = TextBox(IndicatorCentre(i), IndicatorText(style, i));
            const int ink = face.count(kInk, box);
            EXPECT_GT(ink, 0) << "style " << style << " position " << i;
            EXPECT_GT(face.count(kBackground, box), ink) << "style " << style << " position " << i;
            // Neither the white mask nor the black colour-pass background shows.
            EXPECT_EQ(face.count(RGB(255, 255, 255), box), 0);
            EXPECT_EQ(face.count(RGB(0, 0, 0), box), 0);
            for (int y = box.top; y < box.bottom; ++y)
                for (int x = box.left; x < box.right; ++x) inBox[y * 200 + x] = true;
        }
        int changedOutside = 0;
        for (int y = 0; y < 200; ++y)
            for (int x = 0; x < 200; ++x) changedOutside += !inBox[y * 200 + x] && face.at(x, y) != kBackground;
        EXPECT_EQ(changedOutside, 0);
    }
}

// The glyph pixels at position 0 are those of "12" (Arabic) or "XII"
// (Roman), drawn plainly with the same font at the same place.
TEST(Renderer, TopPositionShowsTwelve) {
    for (int style : {kArabic, kRoman}) {
        Face face;
        face.indicators(style);
        const std::wstring_view text = style == kArabic ? L"12" : L"XII";
        const RECT box = TextBox(IndicatorCentre(0), text);

        Face plain;
        plain.fill(RGB(0, 0, 0));
        {
            const fw::BitmapCanvas canvas(plain.bitmap());
            const fw::FontHandle font = CreateDefaultSurfaceFont();
            const fw::SelectGuard use(canvas.get(), font.get());
            SetBkMode(canvas.get(), TRANSPARENT);
            SetTextColor(canvas.get(), RGB(255, 255, 255));
            TextOutW(canvas.get(), box.left, box.top, text.data(), static_cast<int>(text.size()));
        }
        plain.read();
        int glyph = 0;
        for (int y = box.top; y < box.bottom; ++y)
            for (int x = box.left; x < box.right; ++x) {
                if (plain.at(x, y) == RGB(255, 255, 255)) {
                    ++glyph;
                    EXPECT_EQ(face.at(x, y), kInk) << x << "," << y;
                } else if (plain.at(x, y) == RGB(0, 0, 0)) {
                    EXPECT_EQ(face.at(x, y), kBackground) << x << "," << y;
                }
            }
        EXPECT_GT(glyph, 4);
    }
}

TEST(Renderer, HandsAtThreeOClockInTheirColours) {
    Face face;
    const HandColours c{RGB(255, 0, 0), RGB(0, 255, 0), RGB(0, 0, 255)};
    face.hands({3, 0, 0}, c);
    // Hour hand points right, minute hand up, second hand up but drawn last.
    EXPECT_EQ(face.at(140, 100), c.hour);
    EXPECT_EQ(face.at(101, 85), c.minute);
    EXPECT_EQ(face.at(99, 82), c.minute);
    EXPECT_EQ(face.at(100, 60), c.second);
    EXPECT_EQ(face.at(100, 21), c.second);
    EXPECT_EQ(face.at(100, 20), c.minute);  // the line's end point is not set
    EXPECT_EQ(face.at(100, 10), c.minute);
    EXPECT_EQ(face.at(100, 4), kBackground);
    EXPECT_EQ(face.at(60, 100), kBackground);
}

TEST(Renderer, NoGdiObjectLeaksOverManyDraws) {
    Face face;
    face.indicators(kRoman);
    const int before = fw::GdiObjectCount();
    for (int i = 0; i < 300; ++i) {
        const fw::BitmapCanvas canvas(face.bitmap());
        DrawHands(canvas.get(), {i % 24, i % 60, i % 60}, {RGB(1, 1, 1), RGB(2, 2, 2), RGB(3, 3, 3)}, kFaceSize, kFaceSize);
        DrawIndicators(canvas.get(), i % 3, kInk, kFaceSize, kFaceSize);
    }
    EXPECT_EQ(fw::GdiObjectCount(), before);
}

}  // namespace
}  // namespace horolo
