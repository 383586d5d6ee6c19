// Paths that name a device rather than a file. Opening one opens the device:
// a read from a serial port or a printer may never return. No Windows API
// here, so that the rule is tested natively too.
#pragma once

#include <string_view>

namespace fw {

// True when the system would open a device for this ANSI path: its last
// component is CON, NUL, PRN, AUX, COM1 to COM9 or LPT1 to LPT9 in any case,
// with or without an extension, and with the trailing spaces and dots the
// system strips; also any path in the device namespace ("\\.\"). `lead`
// tells the lead bytes of the code page, so that a trail byte 0x5C of a
// double-byte character is not taken for a backslash.
bool NamesDevice(std::string_view path, bool (*lead)(unsigned char));

}  // namespace fw
