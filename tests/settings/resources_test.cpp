// The resources that the executable carries, read back from a program that
// links the same resource object.
#include "app/resources/built_in_pictures.h"
#include "app/resources/resource_ids.h"

#include <windows.h>

#include <cstdlib>
#include <cwctype>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace {

std::vector<BYTE> ownVersionInfo()
{
    wchar_t path[MAX_PATH];
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    DWORD ignored = 0;
    DWORD size = GetFileVersionInfoSizeW(path, &ignored);
    std::vector<BYTE> block(size);
    if (size == 0 || !GetFileVersionInfoW(path, 0, size, block.data()))
        block.clear();
    return block;
}

std::wstring versionString(std::vector<BYTE>& block, const wchar_t* name)
{
    void* value = nullptr;
    UINT length = 0;
    std::wstring key = std::wstring(L"\\StringFileInfo\\041104B0\\") + name;
    if (!VerQueryValueW(block.data(), key.c_str(), &value, &length) || length == 0)
        return L"(missing)";
    return static_cast<const wchar_t*>(value);
}

TEST(Resources, VersionInformation)
{
    std::vector<BYTE> block = ownVersionInfo();
    ASSERT_FALSE(block.empty());

    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueW(block.data(), L"\\", reinterpret_cast<void**>(&fixed), &length));
    EXPECT_EQ(fixed->dwFileVersionMS, 0x00010000u);
    EXPECT_EQ(fixed->dwFileVersionLS, 0u);

    EXPECT_EQ(versionString(block, L"ProductName"), L"Horolo");
    EXPECT_EQ(versionString(block, L"FileVersion"), L"1.0.0.0");
    EXPECT_EQ(versionString(block, L"ProductVersion"), L"Version 1.00-Release");
    // Japanese text survives the UTF-8 resource script.
    EXPECT_EQ(versionString(block, L"FileDescription"), L"Horolo デスクトップ時計");
}

// Every built-in picture the table names is in the program, a face-sized bitmap.
TEST(Resources, EveryBuiltInPictureIsAFaceSizedBitmap)
{
    for (const horolo::BuiltInPicture& picture : horolo::kBuiltInPictureTable) {
        const std::wstring name(picture.resource);
        HRSRC found = FindResourceW(nullptr, name.c_str(), MAKEINTRESOURCEW(2));  // RT_BITMAP
        ASSERT_NE(found, nullptr) << "no resource " << std::string(name.begin(), name.end());
        const auto* header = static_cast<const BITMAPINFOHEADER*>(LockResource(LoadResource(nullptr, found)));
        ASSERT_NE(header, nullptr);
        EXPECT_EQ(header->biWidth, 200);
        EXPECT_EQ(std::abs(header->biHeight), 200);
    }
}

// Draws the 32-pixel icon on white and reads two pixels back.
TEST(Resources, IconIsAClockFaceWithTransparentCorners)
{
    HICON icon = static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_HOROLO),
                                               IMAGE_ICON, 32, 32, 0));
    ASSERT_NE(icon, nullptr);

    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = 32;
    info.bmiHeader.biHeight = -32;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(dc, bitmap);
    RECT all{0, 0, 32, 32};
    FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    DrawIconEx(dc, 0, 0, icon, 32, 32, 0, nullptr, DI_NORMAL);
    GdiFlush();
    COLORREF corner = GetPixel(dc, 0, 0);
    // Between the marks of four and five o'clock: the ivory dial.
    COLORREF dial = GetPixel(dc, 22, 24);
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
    DestroyIcon(icon);

    EXPECT_EQ(corner, RGB(255, 255, 255));
    EXPECT_EQ(dial, RGB(250, 246, 232));
}

TEST(Resources, ManifestSelectsCommonControls6)
{
    HMODULE comctl = LoadLibraryW(L"comctl32.dll");
    ASSERT_NE(comctl, nullptr);
    wchar_t path[MAX_PATH];
    GetModuleFileNameW(comctl, path, MAX_PATH);
    std::wstring loaded = path;
    FreeLibrary(comctl);
    for (wchar_t& c : loaded)
        c = towlower(c);
    EXPECT_NE(loaded.find(L"common-controls"), std::wstring::npos) << loaded;
    EXPECT_NE(loaded.find(L"_6.0."), std::wstring::npos) << loaded;
}

// The program stays DPI-unaware: the system scales the whole window. (Wine
// reports every process as DPI-aware, so the manifest itself is checked.)
// It declares no execution level, which would switch off the file
// virtualisation that lets a standard user's settings file be written.
TEST(Resources, ManifestDeclaresNoDpiAwarenessAndNoExecutionLevel)
{
    HRSRC found = FindResourceW(nullptr, MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(24));
    ASSERT_NE(found, nullptr);
    const char* text = static_cast<const char*>(LockResource(LoadResource(nullptr, found)));
    std::string manifest(text, SizeofResource(nullptr, found));
    EXPECT_NE(manifest.find("Microsoft.Windows.Common-Controls"), std::string::npos);
    EXPECT_EQ(manifest.find("dpiAware"), std::string::npos);
    EXPECT_EQ(manifest.find("requestedExecutionLevel"), std::string::npos);
    EXPECT_NE(manifest.find("supportedOS"), std::string::npos);
}

}  // namespace
