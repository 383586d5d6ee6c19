// Where the clock window goes for any stored "PosX" and "PosY", against
// monitors as the system may report them (up to eight, each with a
// non-negative size, the first the primary one with its work area inside it)
// and a window of any size up to 4096 pixels with a title band no higher than
// the window. A window whose title band some monitor shows stays where it was;
// one moved lands in the work area wherever it fits there; and a placed window
// stays put at the next start.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "app/clock/placement.h"

using horolo::PlaceOnScreen;
using horolo::ScreenPoint;
using horolo::ScreenRect;

namespace {

class Input {
public:
    Input(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
    template <class T>
    T take() {
        T value{};
        const std::size_t n = std::min(sizeof value, size_ - std::min(at_, size_));
        std::memcpy(&value, data_ + at_, n);
        at_ += sizeof value;
        return value;
    }
    // A size from 0 to limit.
    int size(int limit) { return static_cast<int>(take<std::uint16_t>() % (limit + 1)); }

private:
    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t at_ = 0;
};

bool Overlap(const ScreenRect& a, const ScreenRect& b) {
    return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Input in(data, size);
    const ScreenPoint stored{in.take<std::int32_t>(), in.take<std::int32_t>()};
    const int width = in.size(4096), height = in.size(4096);
    const int band = std::min(in.size(4096), height);
    std::vector<ScreenRect> monitors(1 + in.take<std::uint8_t>() % 8);
    for (ScreenRect& monitor : monitors) {
        const int left = in.take<std::int16_t>(), top = in.take<std::int16_t>();
        monitor = {left, top, left + in.size(16384), top + in.size(16384)};
    }
    // Task bars on any side of the primary monitor.
    const ScreenRect& primary = monitors.front();
    const int left = in.size(primary.right - primary.left), top = in.size(primary.bottom - primary.top);
    const ScreenRect work{primary.left + left, primary.top + top,
                          primary.right - in.size(primary.right - primary.left - left),
                          primary.bottom - in.size(primary.bottom - primary.top - top)};

    const ScreenPoint placed = PlaceOnScreen(stored, width, height, band, monitors, work);
    const auto bandOf = [&](ScreenPoint p) {
        return ScreenRect{p.x, p.y, static_cast<int>(std::min<std::int64_t>(std::int64_t{p.x} + width, INT32_MAX)),
                          static_cast<int>(std::min<std::int64_t>(std::int64_t{p.y} + band, INT32_MAX))};
    };
    const bool seen = std::any_of(monitors.begin(), monitors.end(),
                                  [&](const ScreenRect& m) { return Overlap(bandOf(stored), m); });
    if (seen && !(placed == stored)) std::abort();
    if (!seen) {
        if (placed.x < work.left || placed.y < work.top) std::abort();
        if (width <= work.right - work.left && placed.x + width > work.right) std::abort();
        if (height <= work.bottom - work.top && placed.y + height > work.bottom) std::abort();
    }
    const bool showsBand = Overlap(bandOf(placed), work);
    if (showsBand && !(PlaceOnScreen(placed, width, height, band, monitors, work) == placed)) std::abort();
    return 0;
}
