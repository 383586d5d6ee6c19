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

}  // namespace hrlspi
