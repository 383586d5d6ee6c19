// Where the clock window goes for the position stored in the settings file.
// No window code here.
#pragma once

#include <span>

namespace horolo {

struct ScreenRect {
    int left, top, right, bottom;
};

struct ScreenPoint {
    int x, y;
    friend bool operator==(const ScreenPoint&, const ScreenPoint&) = default;
};

// The stored top-left is kept exactly when some monitor shows any part of the
// window's top band (its title bar, or where the title bar would be), so the
// user can see it and drag it. Otherwise (a monitor removed since, a
// hand-edited file) the window is moved into the primary monitor's work area,
// as near to the stored place as that allows.
ScreenPoint PlaceOnScreen(ScreenPoint stored, int width, int height, int topBand,
                          std::span<const ScreenRect> monitors, const ScreenRect& primaryWorkArea);

}  // namespace horolo
