// Whole files read into memory, for the program's small data files.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace fw {

// The bytes of the file an ANSI path names; nothing when it cannot be opened
// as a disk file (a device name, a pipe) or read whole, or holds more than maxBytes (a file still being written
// does not block the read).
std::optional<std::string> ReadWholeFile(const std::string& path, std::uint64_t maxBytes);

}  // namespace fw
