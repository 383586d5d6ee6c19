// The stored window position against the monitors of the day.
#include <gtest/gtest.h>

#include <climits>
#include <vector>

#include "app/clock/placement.h"

using horolo::PlaceOnScreen;
using horolo::ScreenPoint;
using horolo::ScreenRect;

TEST(Placement, KeepsAVisiblePositionAndBringsALostWindowBack) {
    // A 206 by 229 window whose title bar is 23 pixels high; the primary
    // monitor is 1024 by 768 with a 40-pixel task bar at the bottom.
    const ScreenRect primary{0, 0, 1024, 768};
    const ScreenRect work{0, 0, 1024, 728};
    const ScreenRect left{-1280, 0, 0, 1024};
    struct Case {
        ScreenPoint stored;
        std::vector<ScreenRect> monitors;
        ScreenPoint expected;
    } const cases[] = {
        {{0, 0}, {primary}, {0, 0}},
        {{-150, 700}, {primary}, {-150, 700}},       // partly off the screen, title bar still seen
        {{1023, 767}, {primary}, {1023, 767}},       // one pixel of it
        {{-500, 10}, {primary, left}, {-500, 10}},   // on the second monitor
        {{-500, 10}, {primary}, {0, 10}},            // that monitor is gone
        {{2000, 100}, {primary}, {818, 100}},
        {{300, -30}, {primary}, {300, 0}},           // title bar above the screen, face below its edge
        {{-5000, 5000}, {primary}, {0, 499}},
        {{1024, 0}, {primary}, {818, 0}},            // just past the right edge
        {{INT_MAX, INT_MAX}, {primary}, {818, 499}},  // the far edges past the integer's range
        {{INT_MIN, INT_MIN}, {primary}, {0, 0}},
    };
    for (const Case& c : cases) {
        const ScreenPoint placed = PlaceOnScreen(c.stored, 206, 229, 23, c.monitors, work);
        EXPECT_EQ(placed, c.expected) << c.stored.x << ',' << c.stored.y;
    }
}
