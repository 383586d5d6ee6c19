// Conversion of 8-bit texts in the system code page (paths, exception
// messages) to the UTF-16 the user interface shows.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

namespace fw {

inline std::wstring FromAnsi(std::string_view text) {
    if (text.empty()) return {};
    const int bytes = static_cast<int>(text.size());
    const int length = MultiByteToWideChar(CP_ACP, 0, text.data(), bytes, nullptr, 0);
    if (length <= 0) return {};
    std::wstring wide(static_cast<size_t>(length), L'\0');
    MultiByteToWideChar(CP_ACP, 0, text.data(), bytes, wide.data(), length);
    return wide;
}

}  // namespace fw
