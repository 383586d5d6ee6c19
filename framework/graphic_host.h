// Internal to the framework: how a window (a form or a windowed container)
// paints and routes the mouse to the graphic controls it hosts.
#pragma once

#include "framework/gdi.h"

#include <windows.h>

#include <functional>

namespace fw {

class Form;
class GraphicControl;

// BeginPaint / EndPaint.
class PaintSession {
public:
    explicit PaintSession(HWND window) : window_(window) { BeginPaint(window, &paint_); }
    ~PaintSession() { EndPaint(window_, &paint_); }
    PaintSession(const PaintSession&) = delete;
    PaintSession& operator=(const PaintSession&) = delete;
    HDC dc() const { return paint_.hdc; }
    RECT area() const { return paint_.rcPaint; }

private:
    HWND window_;
    PAINTSTRUCT paint_{};
};

// An off-screen bitmap for one area of a window, addressed in the window's
// client coordinates, with the window's font selected for good (under Wine
// each selection of a font reads the X resource defaults anew).
class OffscreenBuffer {
public:
    OffscreenBuffer(HDC like, const RECT& area, HFONT font);
    HDC dc() const { return dc_.get(); }
    // Clips drawing to a region given in client coordinates (null: no clip).
    void selectClip(HRGN region);
    void copyFrom(HDC source);
    void copyTo(HDC target);
    // Copies one part of the buffer, in client coordinates.
    void copyTo(HDC target, const RECT& part);
    const RECT& area() const { return area_; }

private:
    RECT area_;
    MemoryDC dc_;
    BitmapHandle bitmap_;
    SelectGuard select_;
    SelectGuard font_;
};

// The part of `area` that no visible opaque graphic control of `host` covers;
// null when nothing is left.
RegionHandle UncoveredRegion(const Form& form, HWND host, const RECT& area);

// Paints the visible graphic controls of `host` that meet `area`, bottom first,
// on a DC without a clip region, which it leaves without one.
void PaintGraphics(const Form& form, HWND host, HDC dc, const RECT& area);

// WM_PAINT of a windowed container: its own painting first, then the
// graphic controls it hosts on top, where the window was invalid.
LRESULT PaintOverWindow(const Form& form, HWND host, const std::function<LRESULT()>& paintWindow);

// The topmost visible, enabled graphic control of `host` under a client point.
GraphicControl* GraphicAt(const Form& form, HWND host, POINT point);

// Mouse messages for graphic controls: a click goes to the control pressed
// and released; a double-click to the control under the mouse, which
// swallows it even without a handler. True when the message was consumed.
bool HostGraphicsMessage(Form& form, HWND host, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace fw
