// How ProgressCallback reads one report of a plug-in.
#pragma once

namespace hrlspi {

enum class ProgressReport { Start, Intermediate, Final };

// 0 of anything (0 of 0 included) starts a load; numerator == denominator ends it.
constexpr ProgressReport classifyReport(int numerator, int denominator) {
    if (numerator == 0) return ProgressReport::Start;
    if (numerator == denominator) return ProgressReport::Final;
    return ProgressReport::Intermediate;
}

// How much of a bar `units` long a position fills (position clamped to
// 0..maximum): the window is repainted only when this changes.
constexpr int barUnits(int position, int maximum, int units) {
    if (maximum <= 0 || units <= 0) return 0;
    if (position <= 0) return 0;
    if (position >= maximum) return units;
    return static_cast<int>(static_cast<long long>(position) * units / maximum);
}

}  // namespace hrlspi
