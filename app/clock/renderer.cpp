#include "app/clock/renderer.h"

#include <array>

namespace horolo {
namespace {

template <std::size_t N>
std::array<POINT, N> ToPoints(const std::array<FacePoint, N>& in) {
    std::array<POINT, N> out{};
    for (std::size_t i = 0; i < N; ++i) out[i] = {in[i].x, in[i].y};
    return out;
}

// Expects the DC pen and DC brush selected in dc.
void FilledPolygon(HDC dc, const std::array<FacePoint, 4>& shape, COLORREF colour) {
    SetDCPenColor(dc, colour);
    SetDCBrushColor(dc, colour);
    const auto points = ToPoints(shape);
    Polygon(dc, points.data(), static_cast<int>(points.size()));
}

// A line that leaves its end point unset.
void Line(HDC dc, FacePoint from, FacePoint to) {
    MoveToEx(dc, from.x, from.y, nullptr);
    LineTo(dc, to.x, to.y);
}

}  // namespace

// The hands are drawn every second: the DC's own pen and brush take each
// hand's colour, so no GDI object is made per paint.
void DrawHands(HDC dc, const FaceTime& t, const HandColours& colours, int width, int height) {
    const HandPoints hands = ComputeHands(t, width, height);
    const fw::SelectGuard usePen(dc, GetStockObject(DC_PEN));
    const fw::SelectGuard useBrush(dc, GetStockObject(DC_BRUSH));
    FilledPolygon(dc, hands.hour, colours.hour);
    FilledPolygon(dc, hands.minute, colours.minute);
    SetDCPenColor(dc, colours.second);
    Line(dc, hands.second[0], hands.second[1]);
}

fw::FontHandle CreateDefaultSurfaceFont() {
    const bool japanese = GetACP() == 932;
    const fw::WindowDC screen;
    LOGFONTW lf{};
    lf.lfHeight = -MulDiv(japanese ? 9 : 8, GetDeviceCaps(screen.get(), LOGPIXELSY), 72);
    lf.lfWeight = FW_NORMAL;
    lf.lfCharSet = japanese ? SHIFTJIS_CHARSET : DEFAULT_CHARSET;
    lf.lfOutPrecision = OUT_DEFAULT_PRECIS;
    lf.lfClipPrecision = CLIP_DEFAULT_PRECIS;
    lf.lfQuality = DEFAULT_QUALITY;
    lf.lfPitchAndFamily = DEFAULT_PITCH;
    lstrcpynW(lf.lfFaceName, japanese ? L"ＭＳ Ｐゴシック" : L"MS Sans Serif", LF_FACESIZE);
    return fw::FontHandle(CreateFontIndirectW(&lf));
}

void DrawIndicators(HDC faceDC, int style, COLORREF colour, int width, int height) {
    if (style == kBars) {
        const fw::PenHandle pen(CreatePen(PS_SOLID, 1, colour));
        const fw::SelectGuard usePen(faceDC, pen.get());
        for (int i = 0; i < kIndicatorCount; ++i)
            Line(faceDC, IndicatorCentre(i, width, height), IndicatorBarEnd(i, width, height));
    } else if (style == kArabic || style == kRoman) {
        const fw::FontHandle font = CreateDefaultSurfaceFont();
        const fw::SelectGuard useFont(faceDC, font.get());
        for (int i = 0; i < kIndicatorCount; ++i)
            DrawIndicatorText(faceDC, IndicatorCentre(i, width, height), IndicatorText(style, i), colour);
    }
}

void DrawIndicatorText(HDC faceDC, FacePoint centre, std::wstring_view text, COLORREF colour) {
    const int length = static_cast<int>(text.size());
    SIZE size{};
    if (length == 0 || !GetTextExtentPoint32W(faceDC, text.data(), length, &size) || size.cx <= 0 || size.cy <= 0)
        return;
    const int x = centre.x - size.cx / 2;
    const int y = centre.y - size.cy / 2;
    const fw::BitmapHandle block(CreateCompatibleBitmap(faceDC, size.cx, size.cy));
    const fw::MemoryDC dc(faceDC);
    if (!block || !dc.get()) return;
    const fw::SelectGuard useBlock(dc.get(), block.get());
    const fw::SelectGuard useFont(dc.get(), GetCurrentObject(faceDC, OBJ_FONT));
    const RECT box{0, 0, size.cx, size.cy};

    SetBkMode(dc.get(), OPAQUE);
    SetTextColor(dc.get(), RGB(0, 0, 0));
    SetBkColor(dc.get(), RGB(255, 255, 255));
    ExtTextOutW(dc.get(), 0, 0, ETO_OPAQUE, &box, text.data(), static_cast<UINT>(length), nullptr);
    BitBlt(faceDC, x, y, size.cx, size.cy, dc.get(), 0, 0, SRCAND);

    SetTextColor(dc.get(), colour);
    SetBkColor(dc.get(), RGB(0, 0, 0));
    ExtTextOutW(dc.get(), 0, 0, ETO_OPAQUE, &box, text.data(), static_cast<UINT>(length), nullptr);
    BitBlt(faceDC, x, y, size.cx, size.cy, dc.get(), 0, 0, SRCPAINT);
}

void CopyBitmap(HBITMAP from, HBITMAP to, int width, int height) {
    const fw::BitmapCanvas source(from);
    const fw::BitmapCanvas target(to);
    BitBlt(target.get(), 0, 0, width, height, source.get(), 0, 0, SRCCOPY);
}

}  // namespace horolo
