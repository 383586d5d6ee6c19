// How Horolo.ini spells its values: integers, booleans, colours and drive
// letters. Nothing here touches the file; the settings-file routines read and
// write the texts through the system and convert them here. Kept free of
// <windows.h> so it is also built, tested and fuzzed natively.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace horolo::ini {

// Signed decimal; a text of more than two characters beginning "0x" or "0X",
// or any text beginning "$", is hexadecimal (at most eight digits, read as a
// 32-bit pattern, so "$FFFFFFFF" is -1). Anything else, a decimal outside the
// 32-bit range included, is no number.
std::optional<std::int32_t> ParseInteger(std::string_view text);
std::int32_t ReadInteger(std::string_view text, std::int32_t fallback);
std::string FormatInteger(std::int32_t value);

// Read as an integer; any non-zero number is true.
bool ReadBoolean(std::string_view text, bool fallback);
std::string FormatBoolean(bool value);

// "rrggbb": red, green and blue as two hexadecimal digits each (either case
// on reading, lower case on writing), as a colour value with red in the low
// byte. A text that is not exactly six hexadecimal digits is no colour.
std::optional<std::uint32_t> ParseColor(std::string_view text);
std::string FormatColor(std::uint32_t color);

// Drives are stored as the letter's place in the alphabet (A = 1). A value
// that names no letter from A to Z is no drive; a drive is a lower-case letter.
inline constexpr std::int32_t kNoDrive = -1;
std::optional<char> DriveFromValue(std::int32_t value);
std::int32_t DriveValue(char letter);

// The drive of the stored plug-in directory: the stored drive when it names
// a letter, otherwise the drive an absolute stored directory begins with
// ("c:\spi"), so that a damaged drive value does not cost a good directory.
// Nothing when neither names a drive: then no directory is stored.
std::optional<char> PluginDirectoryDrive(std::int32_t storedDrive, std::string_view storedDirectory);

}  // namespace horolo::ini
