// Selection rules of the list-like controls, kept free of <windows.h> so
// they also build (and are tested) natively.
#pragma once

#include <algorithm>

namespace fw {

// The item index "no item selected".
inline constexpr int kNoItem = -1;

// A radio group keeps an index above its last item at the last item and one
// below -1 at -1 (no item). With no items every index gives -1.
constexpr int clampRadioIndex(int index, int count) noexcept
{
    return std::max(kNoItem, std::min(index, count - 1));
}

// A drop-down list or list box given an index outside its items has no
// selection.
constexpr int listIndexOrNone(int index, int count) noexcept
{
    return index >= 0 && index < count ? index : kNoItem;
}

}  // namespace fw
