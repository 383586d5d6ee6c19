// Conversion between 8-bit texts in the system code page (paths, exception
// messages) and the UTF-16 the user interface shows.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <string_view>

namespace fw {

// Whether a byte starts a double-byte character of the system code page:
// what a byte-wise walk over an ANSI path or text must not split.
inline bool IsAnsiLeadByte(unsigned char c) { return IsDBCSLeadByte(c) != FALSE; }

inline std::wstring FromAnsi(std::string_view text) {
    if (text.empty()) return {};
    const int bytes = static_cast<int>(text.size());
    const int length = MultiByteToWideChar(CP_ACP, 0, text.data(), bytes, nullptr, 0);
    if (length <= 0) return {};
    std::wstring wide(static_cast<size_t>(length), L'\0');
    MultiByteToWideChar(CP_ACP, 0, text.data(), bytes, wide.data(), length);
    return wide;
}

// The text in the system code page; nothing when a character has no exact
// counterpart there. Written as another character (a '?' or a look-alike),
// a path would name another file.
inline std::optional<std::string> ToAnsiExact(std::wstring_view text) {
    if (text.empty()) return std::string();
    const int length = static_cast<int>(text.size());
    const int bytes = WideCharToMultiByte(CP_ACP, 0, text.data(), length, nullptr, 0, nullptr, nullptr);
    if (bytes <= 0) return std::nullopt;
    std::string ansi(static_cast<size_t>(bytes), '\0');
    WideCharToMultiByte(CP_ACP, 0, text.data(), length, ansi.data(), bytes, nullptr, nullptr);
    if (FromAnsi(ansi) != text) return std::nullopt;
    return ansi;
}

}  // namespace fw
