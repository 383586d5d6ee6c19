// Face pictures for the tests that read the clock's pixels: a bitmap file to
// load, the 200 by 200 pixels of a bitmap, the built-in pictures as the
// program's resources hold them, and the comparison of a face with one.
#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "app/resources/built_in_pictures.h"
#include "framework/bitmap_file.h"
#include "framework/gdi.h"

namespace facetest {

constexpr COLORREF kTop = RGB(200, 40, 40);
constexpr COLORREF kBottom = RGB(40, 40, 200);

inline void Put(std::string& out, std::uint32_t v, int bytes) {
    for (int i = 0; i < bytes; ++i) out.push_back(static_cast<char>(v >> (8 * i)));
}

// A 24-bit bitmap file whose upper half is kTop and lower half kBottom.
inline std::string TwoColourBmp(int width, int height, bool topDown = false) {
    const int stride = (width * 3 + 3) / 4 * 4;
    std::string rows;
    for (int r = 0; r < height; ++r) {
        const int y = topDown ? r : height - 1 - r;  // the picture's row, from the top
        const COLORREF c = y < height / 2 ? kTop : kBottom;
        std::string row;
        for (int x = 0; x < width; ++x) row += {static_cast<char>(GetBValue(c)), static_cast<char>(GetGValue(c)),
                                                static_cast<char>(GetRValue(c))};
        row.resize(static_cast<size_t>(stride), '\0');
        rows += row;
    }
    std::string file = "BM";
    Put(file, static_cast<std::uint32_t>(54 + rows.size()), 4);
    Put(file, 0, 4);
    Put(file, 54, 4);
    Put(file, 40, 4);
    Put(file, static_cast<std::uint32_t>(width), 4);
    Put(file, static_cast<std::uint32_t>(topDown ? -height : height), 4);
    Put(file, 1, 2);
    Put(file, 24, 2);
    file += std::string(24, '\0');
    return file + rows;
}

// The 200 by 200 pixels of a bitmap, row by row from the top.
inline std::vector<COLORREF> Pixels(HBITMAP bitmap) {
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), 200, -200, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    std::vector<DWORD> raw(200 * 200);
    const fw::WindowDC screen;
    GetDIBits(screen.get(), bitmap, 0, 200, raw.data(), &info, DIB_RGB_COLORS);
    std::vector<COLORREF> out(raw.size());
    for (size_t i = 0; i < raw.size(); ++i) out[i] = RGB((raw[i] >> 16) & 0xFF, (raw[i] >> 8) & 0xFF, raw[i] & 0xFF);
    return out;
}

// A built-in picture as the program's resource holds it.
inline std::vector<COLORREF> BuiltIn(int index) {
    const std::wstring name(horolo::kBuiltInPictureTable[index].resource);
    const std::optional<fw::Dib> dib = fw::LoadBitmapResource(GetModuleHandleW(nullptr), name.c_str());
    EXPECT_TRUE(dib.has_value());
    const fw::BitmapHandle bitmap = fw::CompatibleBitmap(200, 200);
    {
        const fw::BitmapCanvas canvas(bitmap.get());
        if (dib) fw::DrawDib(canvas.get(), {0, 0, 200, 200}, *dib);
    }
    return Pixels(bitmap.get());
}

// Whether the face shows the picture, the indicator ring (radius 88 to 98)
// left out.
inline bool ShowsPicture(const std::vector<COLORREF>& face, const std::vector<COLORREF>& picture) {
    for (int y = 0; y < 200; ++y)
        for (int x = 0; x < 200; ++x) {
            const int d2 = (x - 100) * (x - 100) + (y - 100) * (y - 100);
            if (d2 >= 88 * 88 && d2 <= 98 * 98) continue;
            if (face[y * 200 + x] != picture[y * 200 + x]) return false;
        }
    return true;
}

}  // namespace facetest
