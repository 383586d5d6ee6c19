// Files the user or the settings file names, opened only when they are files
// on a disk: a device (a serial port, a printer, the console) or a pipe
// would block the first read, for ever.
#pragma once

#include <windows.h>

namespace fw {

// True when the handle is a disk file.
bool IsDiskHandle(HANDLE file);

// Opens an ANSI path for reading with the given sharing and flags of
// CreateFileA; INVALID_HANDLE_VALUE when it cannot be opened, names a device
// or is no disk file. The caller closes what it gets.
HANDLE OpenDiskFile(const char* path, DWORD share, DWORD flags);

// True when the path opens for reading as a disk file.
bool IsDiskFile(const char* path);

}  // namespace fw
