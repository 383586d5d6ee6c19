#include "app/clock/placement.h"

#include <algorithm>

namespace horolo {

namespace {

bool Overlap(const ScreenRect& a, const ScreenRect& b) {
    return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

int Clamp(int value, int low, int high) { return std::max(low, std::min(value, high)); }

}  // namespace

ScreenPoint PlaceOnScreen(ScreenPoint stored, int width, int height, int topBand,
                          std::span<const ScreenRect> monitors, const ScreenRect& primaryWorkArea) {
    const ScreenRect band{stored.x, stored.y, stored.x + width, stored.y + topBand};
    for (const ScreenRect& monitor : monitors)
        if (Overlap(band, monitor)) return stored;
    const ScreenRect& area = primaryWorkArea;
    return {Clamp(stored.x, area.left, std::max(area.left, area.right - width)),
            Clamp(stored.y, area.top, std::max(area.top, area.bottom - height))};
}

}  // namespace horolo
