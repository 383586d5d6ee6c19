#include "framework/file_bytes.h"

#include <windows.h>

#include "framework/disk_file.h"

#include <memory>

namespace fw {

namespace {

struct FileCloser {
    void operator()(HANDLE file) const noexcept { CloseHandle(file); }
};

}  // namespace

std::optional<std::string> ReadWholeFile(const std::string& path, std::uint64_t maxBytes) {
    const HANDLE opened = OpenDiskFile(path.c_str(), FILE_SHARE_READ | FILE_SHARE_WRITE, FILE_FLAG_SEQUENTIAL_SCAN);
    if (opened == INVALID_HANDLE_VALUE) return std::nullopt;
    const std::unique_ptr<void, FileCloser> file(opened);
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(opened, &size) || static_cast<std::uint64_t>(size.QuadPart) > maxBytes) return std::nullopt;
    std::string bytes(static_cast<std::size_t>(size.QuadPart), '\0');
    DWORD got = 0;
    if (!bytes.empty() && (!ReadFile(opened, bytes.data(), static_cast<DWORD>(bytes.size()), &got, nullptr) ||
                           got != bytes.size()))
        return std::nullopt;
    return bytes;
}

}  // namespace fw
