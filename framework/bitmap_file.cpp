#include "framework/bitmap_file.h"

#include <memory>
#include <vector>

namespace fw {

namespace {

// A bitmap file larger than the biggest picture read, at 32 bits per pixel,
// with a whole colour table, is not read at all.
constexpr std::uint64_t kMaxFileBytes = kMaxDibPixels * 4 + 64 * 1024;

struct FileCloser {
    void operator()(HANDLE file) const noexcept { CloseHandle(file); }
};

}  // namespace

std::optional<Dib> LoadBitmapFile(const std::string& path) {
    const HANDLE opened = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                      FILE_ATTRIBUTE_NORMAL, nullptr);
    if (opened == INVALID_HANDLE_VALUE) return std::nullopt;
    const std::unique_ptr<void, FileCloser> file(opened);
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(opened, &size) || size.QuadPart <= 0 ||
        static_cast<std::uint64_t>(size.QuadPart) > kMaxFileBytes)
        return std::nullopt;
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(size.QuadPart));
    DWORD got = 0;
    if (!ReadFile(opened, bytes.data(), static_cast<DWORD>(bytes.size()), &got, nullptr) || got != bytes.size())
        return std::nullopt;
    return ReadBitmapFile(bytes);
}

std::optional<Dib> LoadBitmapResource(HMODULE module, const wchar_t* name) {
    HRSRC found = FindResourceW(module, name, reinterpret_cast<LPCWSTR>(RT_BITMAP));
    HGLOBAL loaded = found ? LoadResource(module, found) : nullptr;
    const void* data = loaded ? LockResource(loaded) : nullptr;
    if (!data) return std::nullopt;
    return ReadPackedDib({static_cast<const std::uint8_t*>(data), SizeofResource(module, found)});
}

void DrawDib(HDC dc, const RECT& dest, const Dib& dib) {
    const int previous = SetStretchBltMode(dc, COLORONCOLOR);
    StretchDIBits(dc, dest.left, dest.top, dest.right - dest.left, dest.bottom - dest.top, 0, 0, dib.width, dib.rows(),
                  dib.bits.data(),
                  reinterpret_cast<const BITMAPINFO*>(dib.info.data()), DIB_RGB_COLORS, SRCCOPY);
    SetStretchBltMode(dc, previous);
}

}  // namespace fw
