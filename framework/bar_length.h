// How much of a progress bar a position fills; free of <windows.h> so it is
// also tested natively.
#pragma once

namespace fw {

// The filled part, in units of a bar `length` units long, for a position
// clamped to 0..maximum.
constexpr int FilledLength(int position, int maximum, int length) {
    if (maximum <= 0 || length <= 0) return 0;
    if (position <= 0) return 0;
    if (position >= maximum) return length;
    return static_cast<int>(static_cast<long long>(position) * length / maximum);
}

}  // namespace fw
