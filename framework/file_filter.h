// The filter of a file dialog, written as pairs of a description and its
// patterns separated by bars: "Windows Bitmap (*.BMP)|*.bmp|JPEG|*.jpg;*.jpeg".
// The system's dialog takes each description and pattern as a text ending
// with a NUL, and one more NUL after the last pair. Kept free of <windows.h>
// so that it is also built and tested natively.
#pragma once

#include <string>
#include <string_view>

namespace fw {

// The system's form of a filter. A pair without a pattern (a last
// description standing alone, or an empty pattern) is left out, since an
// empty text would end the list there; an empty description shows its
// pattern instead. The filter ends at a NUL inside it. Empty when no pair is
// left: the dialog then lists every file.
inline std::wstring SystemFileFilter(std::wstring_view filter) {
    filter = filter.substr(0, filter.find(L'\0'));
    std::wstring result;
    size_t at = 0;
    for (;;) {
        const size_t bar = filter.find(L'|', at);
        if (bar == std::wstring_view::npos) break;
        const size_t end = filter.find(L'|', bar + 1);
        const std::wstring_view description = filter.substr(at, bar - at);
        const std::wstring_view pattern =
            filter.substr(bar + 1, end == std::wstring_view::npos ? std::wstring_view::npos : end - bar - 1);
        if (!pattern.empty()) {
            result.append(description.empty() ? pattern : description).push_back(L'\0');
            result.append(pattern).push_back(L'\0');
        }
        if (end == std::wstring_view::npos) break;
        at = end + 1;
    }
    if (!result.empty()) result.push_back(L'\0');
    return result;
}

}  // namespace fw
