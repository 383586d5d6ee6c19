// Drawing of the clock face: the hands on the hands layer, the hour
// indicators into the face bitmap, and the copy to the background layer.
#pragma once

#include <windows.h>

#include <string_view>

#include "app/clock/geometry.h"
#include "framework/gdi.h"

namespace horolo {

struct HandColours {
    COLORREF hour;
    COLORREF minute;
    COLORREF second;
};

// The three hands for the face time, on a canvas of width by height pixels.
void DrawHands(HDC dc, const FaceTime& t, const HandColours& colours, int width, int height);

// The font a new drawing surface gets by default: 9-point "ＭＳ Ｐゴシック"
// on Shift-JIS systems, 8-point "MS Sans Serif" elsewhere.
fw::FontHandle CreateDefaultSurfaceFont();

// The twelve indicators of a style (bars, Arabic, Roman; anything else draws
// nothing), added to what faceDC holds.
void DrawIndicators(HDC faceDC, int style, COLORREF colour, int width, int height);

// One numeral centred on a point without a box: a white-background mask
// pass (SRCAND) then a black-background colour pass (SRCPAINT), so the
// picture stays visible around the glyphs. Uses the font selected in faceDC.
void DrawIndicatorText(HDC faceDC, FacePoint centre, std::wstring_view text, COLORREF colour);

// Copies the top-left width by height pixels of one bitmap into another.
void CopyBitmap(HBITMAP from, HBITMAP to, int width, int height);

}  // namespace horolo
