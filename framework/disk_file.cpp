#include "framework/disk_file.h"

#include "framework/ansi.h"
#include "framework/device_names.h"

namespace fw {

bool IsDiskHandle(HANDLE file) { return GetFileType(file) == FILE_TYPE_DISK; }

HANDLE OpenDiskFile(const char* path, DWORD share, DWORD flags) {
    if (path == nullptr || NamesDevice(path, IsAnsiLeadByte)) return INVALID_HANDLE_VALUE;
    const HANDLE file = CreateFileA(path, GENERIC_READ, share, nullptr, OPEN_EXISTING, flags, nullptr);
    if (file == INVALID_HANDLE_VALUE || IsDiskHandle(file)) return file;
    CloseHandle(file);
    return INVALID_HANDLE_VALUE;
}

bool IsDiskFile(const char* path) {
    const HANDLE file = OpenDiskFile(path, FILE_SHARE_READ | FILE_SHARE_WRITE, 0);
    if (file == INVALID_HANDLE_VALUE) return false;
    CloseHandle(file);
    return true;
}

}  // namespace fw
