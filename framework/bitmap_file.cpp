#include "framework/bitmap_file.h"

#include <new>

#include "framework/file_bytes.h"
#include "framework/picture_limit.h"

namespace fw {

namespace {

// A bitmap file larger than the biggest picture read, with its headers and a
// whole colour table, is not read at all.
constexpr std::uint64_t kMaxFileBytes = kMaxPictureBytes + 64 * 1024;

}  // namespace

// The file's bytes and the picture are held at once: when the address space
// has no room for them, the file is one that cannot be read.
std::optional<Dib> LoadBitmapFile(const std::string& path) {
    try {
        const std::optional<std::string> bytes = ReadWholeFile(path, kMaxFileBytes);
        if (!bytes) return std::nullopt;
        return ReadBitmapFile({reinterpret_cast<const std::uint8_t*>(bytes->data()), bytes->size()});
    } catch (const std::bad_alloc&) {
        return std::nullopt;
    }
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
