#include "app/clock/placement.h"

#include <algorithm>

namespace horolo {

namespace {

// The band's far edges are computed wide: a stored position near the
// integer's limit would overflow them.
bool BandOverlaps(ScreenPoint at, int width, int height, const ScreenRect& monitor) {
    const long long right = static_cast<long long>(at.x) + width, bottom = static_cast<long long>(at.y) + height;
    return at.x < monitor.right && monitor.left < right && at.y < monitor.bottom && monitor.top < bottom;
}

int Clamp(int value, int low, int high) { return std::max(low, std::min(value, high)); }

}  // namespace

ScreenPoint PlaceOnScreen(ScreenPoint stored, int width, int height, int topBand,
                          std::span<const ScreenRect> monitors, const ScreenRect& primaryWorkArea) {
    for (const ScreenRect& monitor : monitors)
        if (BandOverlaps(stored, width, topBand, monitor)) return stored;
    const ScreenRect& area = primaryWorkArea;
    return {Clamp(stored.x, area.left, std::max(area.left, area.right - width)),
            Clamp(stored.y, area.top, std::max(area.top, area.bottom - height))};
}

}  // namespace horolo
