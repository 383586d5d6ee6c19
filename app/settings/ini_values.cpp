#include "app/settings/ini_values.h"

#include <cstdio>

namespace horolo::ini {

namespace {

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

std::optional<std::int32_t> ParseHex(std::string_view digits) {
    if (digits.empty() || digits.size() > 8) return std::nullopt;
    std::uint32_t value = 0;
    for (char c : digits) {
        const int d = HexDigit(c);
        if (d < 0) return std::nullopt;
        value = value << 4 | static_cast<std::uint32_t>(d);
    }
    return static_cast<std::int32_t>(value);
}

std::optional<std::int32_t> ParseDecimal(std::string_view text) {
    bool negative = false;
    if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    if (text.empty()) return std::nullopt;
    std::int64_t value = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return std::nullopt;
        value = value * 10 + (c - '0');
        if (value > std::int64_t{INT32_MAX} + 1) return std::nullopt;
    }
    if (negative) value = -value;
    if (value > INT32_MAX) return std::nullopt;
    return static_cast<std::int32_t>(value);
}

}  // namespace

std::optional<std::int32_t> ParseInteger(std::string_view text) {
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) return ParseHex(text.substr(2));
    if (!text.empty() && text[0] == '$') return ParseHex(text.substr(1));
    return ParseDecimal(text);
}

std::int32_t ReadInteger(std::string_view text, std::int32_t fallback) { return ParseInteger(text).value_or(fallback); }

std::string FormatInteger(std::int32_t value) { return std::to_string(value); }

bool ReadBoolean(std::string_view text, bool fallback) { return ReadInteger(text, fallback ? 1 : 0) != 0; }

std::string FormatBoolean(bool value) { return value ? "1" : "0"; }

std::optional<std::uint32_t> ParseColor(std::string_view text) {
    if (text.size() != 6) return std::nullopt;
    std::uint32_t color = 0;
    for (int pair = 0; pair < 3; ++pair) {
        const int high = HexDigit(text[pair * 2]), low = HexDigit(text[pair * 2 + 1]);
        if (high < 0 || low < 0) return std::nullopt;
        color |= static_cast<std::uint32_t>(high * 16 + low) << (8 * pair);
    }
    return color;
}

std::string FormatColor(std::uint32_t color) {
    char text[8];
    std::snprintf(text, sizeof text, "%02x%02x%02x", color & 0xFFu, color >> 8 & 0xFFu, color >> 16 & 0xFFu);
    return text;
}

std::optional<char> DriveFromValue(std::int32_t value) {
    if (value < 1 || value > 26) return std::nullopt;
    return static_cast<char>('a' + value - 1);
}

std::int32_t DriveValue(char letter) {
    if (letter >= 'a' && letter <= 'z') letter = static_cast<char>(letter - 'a' + 'A');
    return letter - 64;
}

std::optional<char> PluginDirectoryDrive(std::int32_t storedDrive, std::string_view storedDirectory) {
    if (const std::optional<char> drive = DriveFromValue(storedDrive)) return drive;
    if (storedDirectory.size() < 3 || storedDirectory[1] != ':' ||
        (storedDirectory[2] != '\\' && storedDirectory[2] != '/'))
        return std::nullopt;
    const char letter = static_cast<char>(storedDirectory[0] | 0x20);
    if (letter < 'a' || letter > 'z') return std::nullopt;
    return letter;
}

}  // namespace horolo::ini
