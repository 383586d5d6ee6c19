#include "framework/graphic_host.h"

#include "framework/control.h"
#include "framework/form.h"

namespace fw {

namespace {

template <class F>
void ForEachGraphic(const Form& form, HWND host, F f) {
    for (Control* control : form.controls()) {
        if (control->windowed() || !control->created() || !control->visible()) continue;
        if (control->hostHandle() != host) continue;
        f(static_cast<GraphicControl&>(*control));
    }
}

GraphicControl* pressed = nullptr;

}  // namespace

OffscreenBuffer::OffscreenBuffer(HDC like, const RECT& area, HFONT font)
    : area_(area),
      dc_(like),
      bitmap_(CompatibleBitmap(area.right - area.left, area.bottom - area.top)),
      select_(dc_.get(), bitmap_.get()),
      font_(dc_.get(), font) {
    SetViewportOrgEx(dc_.get(), -area.left, -area.top, nullptr);
}

void OffscreenBuffer::selectClip(HRGN region) {
    if (!region) {
        SelectClipRgn(dc_.get(), nullptr);
        return;
    }
    // Clip regions are in device coordinates: the buffer's origin is the area's corner.
    RegionHandle shifted(CreateRectRgn(0, 0, 0, 0));
    CombineRgn(shifted.get(), region, nullptr, RGN_COPY);
    OffsetRgn(shifted.get(), -area_.left, -area_.top);
    SelectClipRgn(dc_.get(), shifted.get());
}

void OffscreenBuffer::copyFrom(HDC source) {
    BitBlt(dc_.get(), area_.left, area_.top, area_.right - area_.left, area_.bottom - area_.top, source, area_.left,
           area_.top, SRCCOPY);
}

void OffscreenBuffer::copyTo(HDC target) { copyTo(target, area_); }

void OffscreenBuffer::copyTo(HDC target, const RECT& part) {
    BitBlt(target, part.left, part.top, part.right - part.left, part.bottom - part.top, dc_.get(), part.left, part.top,
           SRCCOPY);
}

RegionHandle UncoveredRegion(const Form& form, HWND host, const RECT& area) {
    // The common case first, without any region: one opaque control covers
    // all of the area (a repaint of the clock face).
    bool covered = false;
    ForEachGraphic(form, host, [&](GraphicControl& control) {
        const RECT rect = control.rect();
        RECT common;
        covered = covered || (control.opaque() && IntersectRect(&common, &rect, &area) && EqualRect(&common, &area));
    });
    if (covered) return nullptr;
    RegionHandle region(CreateRectRgnIndirect(&area));
    int kind = SIMPLEREGION;
    ForEachGraphic(form, host, [&](GraphicControl& control) {
        if (kind == NULLREGION || !control.opaque()) return;
        const RECT rect = control.rect();
        RegionHandle opaque(CreateRectRgnIndirect(&rect));
        kind = CombineRgn(region.get(), region.get(), opaque.get(), RGN_DIFF);
    });
    if (kind == NULLREGION) region.reset();
    return region;
}

void PaintGraphics(const Form& form, HWND host, HDC dc, const RECT& area) {
    // Every control starts with the same state, set by hand rather than by
    // SaveDC / RestoreDC: under Wine each RestoreDC selects the font again,
    // which reads the X resource defaults anew, and the clock repaints every
    // second. A control puts back any object it selects into the DC.
    POINT origin;
    GetViewportOrgEx(dc, &origin);
    const auto clipToArea = [&] { IntersectClipRect(dc, area.left, area.top, area.right, area.bottom); };
    clipToArea();  // no work outside the area
    ForEachGraphic(form, host, [&](GraphicControl& control) {
        const RECT rect = control.rect();
        RECT common;
        if (!IntersectRect(&common, &rect, &area)) return;
        const bool clipped = !EqualRect(&common, &area);
        if (clipped) IntersectClipRect(dc, rect.left, rect.top, rect.right, rect.bottom);
        SetViewportOrgEx(dc, origin.x + rect.left, origin.y + rect.top, nullptr);
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
        control.paint(dc);
        SetViewportOrgEx(dc, origin.x, origin.y, nullptr);
        if (clipped) {
            SelectClipRgn(dc, nullptr);
            clipToArea();
        }
    });
    SelectClipRgn(dc, nullptr);
}

LRESULT PaintOverWindow(const Form& form, HWND host, const std::function<LRESULT()>& paintWindow) {
    bool hosts = false;
    ForEachGraphic(form, host, [&](GraphicControl&) { hosts = true; });
    RECT area;
    if (!hosts || !GetUpdateRect(host, &area, FALSE)) return paintWindow();
    RegionHandle invalid(CreateRectRgn(0, 0, 0, 0));
    GetUpdateRgn(host, invalid.get(), FALSE);
    const LRESULT result = paintWindow();
    WindowDC dc(host);
    OffscreenBuffer buffer(dc.get(), area, form.font());
    buffer.copyFrom(dc.get());
    PaintGraphics(form, host, buffer.dc(), area);
    SelectClipRgn(dc.get(), invalid.get());
    buffer.copyTo(dc.get());
    return result;
}

GraphicControl* GraphicAt(const Form& form, HWND host, POINT point) {
    GraphicControl* hit = nullptr;
    ForEachGraphic(form, host, [&](GraphicControl& control) {
        const RECT rect = control.rect();
        if (control.enabled() && PtInRect(&rect, point)) hit = &control;  // later ones lie above
    });
    return hit;
}

bool HostGraphicsMessage(Form& form, HWND host, UINT message, WPARAM, LPARAM lParam) {
    if (message != WM_LBUTTONDOWN && message != WM_LBUTTONUP && message != WM_LBUTTONDBLCLK) return false;
    const POINT point{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
    GraphicControl* hit = GraphicAt(form, host, point);
    switch (message) {
    case WM_LBUTTONDOWN:
        pressed = hit;
        return false;
    case WM_LBUTTONUP: {
        GraphicControl* clicked = (hit && hit == pressed) ? hit : nullptr;
        pressed = nullptr;
        if (clicked && clicked->onClick) clicked->onClick();
        return false;
    }
    default:  // WM_LBUTTONDBLCLK
        pressed = nullptr;
        if (!hit) return false;
        if (hit->onDblClick) hit->onDblClick();
        return true;
    }
}

}  // namespace fw
