// RAII owners for GDI objects, device contexts and modules, so that no
// handle leaks on any path (early returns and exceptions included).
#pragma once

#include <windows.h>

#include <memory>
#include <type_traits>

namespace fw {

struct GdiDeleter {
    void operator()(void* object) const noexcept { if (object) DeleteObject(static_cast<HGDIOBJ>(object)); }
};

template <class H>
using Gdi = std::unique_ptr<std::remove_pointer_t<H>, GdiDeleter>;

using BitmapHandle = Gdi<HBITMAP>;
using PenHandle = Gdi<HPEN>;
using BrushHandle = Gdi<HBRUSH>;
using FontHandle = Gdi<HFONT>;
using RegionHandle = Gdi<HRGN>;

struct ModuleDeleter {
    void operator()(HMODULE module) const noexcept { if (module) FreeLibrary(module); }
};
using ModuleHandle = std::unique_ptr<std::remove_pointer_t<HMODULE>, ModuleDeleter>;

// A function a module exports by name, as the function type Fn; null when
// the module is null or lacks it.
template <class Fn>
Fn Export(HMODULE module, const char* name) {
    if (!module) return nullptr;
    return reinterpret_cast<Fn>(reinterpret_cast<void (*)()>(GetProcAddress(module, name)));
}

// A memory device context compatible with `like` (the screen when null).
class MemoryDC {
public:
    explicit MemoryDC(HDC like = nullptr) : dc_(CreateCompatibleDC(like)) {}
    ~MemoryDC() { if (dc_) DeleteDC(dc_); }
    MemoryDC(const MemoryDC&) = delete;
    MemoryDC& operator=(const MemoryDC&) = delete;
    HDC get() const { return dc_; }

private:
    HDC dc_;
};

// The client-area device context of a window (the screen when null).
class WindowDC {
public:
    explicit WindowDC(HWND window = nullptr) : window_(window), dc_(GetDC(window)) {}
    ~WindowDC() { if (dc_) ReleaseDC(window_, dc_); }
    WindowDC(const WindowDC&) = delete;
    WindowDC& operator=(const WindowDC&) = delete;
    HDC get() const { return dc_; }

private:
    HWND window_;
    HDC dc_;
};

// Selects an object into a DC and puts the previous one back on destruction,
// so that the object can be deleted safely afterwards.
class SelectGuard {
public:
    SelectGuard(HDC dc, HGDIOBJ object) : dc_(dc), previous_(SelectObject(dc, object)) {}
    ~SelectGuard() { if (previous_) SelectObject(dc_, previous_); }
    SelectGuard(const SelectGuard&) = delete;
    SelectGuard& operator=(const SelectGuard&) = delete;

private:
    HDC dc_;
    HGDIOBJ previous_;
};

// A memory DC with a bitmap selected into it: the way to draw on a bitmap.
class BitmapCanvas {
public:
    explicit BitmapCanvas(HBITMAP bitmap) : select_(dc_.get(), bitmap) {}
    HDC get() const { return dc_.get(); }

private:
    MemoryDC dc_;
    SelectGuard select_;
};

// A bitmap that every DC can draw on and copy from, w by h pixels: a 32-bit
// DIB section. (Under Wine, each selection of a device-dependent bitmap into
// a DC asks the server about the display: that would cost every repaint.)
inline BitmapHandle CompatibleBitmap(int width, int height) {
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    return BitmapHandle(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
}

// The height of a line of text in a font.
int TextHeight(HFONT font);

// Number of GDI objects the process holds (for leak tests). Under Wine, where
// GetGuiResources is a stub that answers 0, the count comes from Wine's GDI
// handle table.
int GdiObjectCount();

}  // namespace fw
