#include "framework/panels.h"

#include "framework/gdi.h"
#include "framework/graphic_host.h"

namespace fw {

// Panel

namespace {

UINT OuterEdge(Bevel bevel) {
    switch (bevel) {
    case Bevel::Raised: return BDR_RAISEDOUTER;
    case Bevel::Lowered: return BDR_SUNKENOUTER;
    case Bevel::None: break;
    }
    return 0;
}

UINT InnerEdge(Bevel bevel) {
    switch (bevel) {
    case Bevel::Raised: return BDR_RAISEDINNER;
    case Bevel::Lowered: return BDR_SUNKENINNER;
    case Bevel::None: break;
    }
    return 0;
}

}  // namespace

Panel::Panel(const PanelSpec& layout) : WindowedControl(layout.bounds), outer_(layout.outer), inner_(layout.inner) {}

void Panel::createHandle() { createWindow(panelClass(), WS_CLIPCHILDREN, WS_EX_CONTROLPARENT); }

LRESULT Panel::wndProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message != WM_PAINT) return WindowedControl::wndProc(message, wParam, lParam);
    PaintSession session(handle());
    RECT client;
    GetClientRect(handle(), &client);
    if (const UINT edge = OuterEdge(outer_) | InnerEdge(inner_)) DrawEdge(session.dc(), &client, edge, BF_RECT);
    return 0;
}

// GroupBox

GroupBox::GroupBox(const GroupBoxSpec& layout) : WindowedControl(layout.bounds, layout.caption) { setEnabled(layout.enabled); }

void GroupBox::createHandle() { createWindow(panelClass(), WS_CLIPCHILDREN, WS_EX_CONTROLPARENT); }

int GroupBox::textHeight() const { return TextHeight(font()); }

void GroupBox::enabledChanged() {
    WindowedControl::enabledChanged();
    invalidate();
}

// Siblings laid over the frame (a check box serving as its title) are left
// alone, whichever of the two paints last.
void GroupBox::excludeSiblings(HDC dc) const {
    HWND self = handle();
    RECT own;
    GetWindowRect(self, &own);
    for (HWND sibling = GetWindow(GetParent(self), GW_CHILD); sibling; sibling = GetWindow(sibling, GW_HWNDNEXT)) {
        if (sibling == self || !IsWindowVisible(sibling)) continue;
        RECT other, common;
        GetWindowRect(sibling, &other);
        if (!IntersectRect(&common, &own, &other)) continue;
        MapWindowPoints(HWND_DESKTOP, self, reinterpret_cast<POINT*>(&common), 2);
        ExcludeClipRect(dc, common.left, common.top, common.right, common.bottom);
    }
}

void GroupBox::paintFrame(HDC dc) {
    RECT client;
    GetClientRect(handle(), &client);
    const int lineHeight = textHeight();
    RECT frame{0, lineHeight / 2, client.right, client.bottom};
    DrawEdge(dc, &frame, EDGE_ETCHED, BF_RECT);
    const std::wstring& text = caption();
    if (text.empty()) return;
    SelectGuard selectFont(dc, font());
    RECT extent{0, 0, 0, 0};
    DrawTextW(dc, text.c_str(), -1, &extent, DT_CALCRECT | DT_SINGLELINE);
    RECT label{8, 0, 8 + extent.right, lineHeight};
    RECT gap{label.left - 1, 0, label.right + 1, lineHeight};
    FillRect(dc, &gap, GetSysColorBrush(COLOR_BTNFACE));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(enabled() ? COLOR_BTNTEXT : COLOR_GRAYTEXT));
    DrawTextW(dc, text.c_str(), -1, &label, DT_SINGLELINE);
}

LRESULT GroupBox::wndProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_NCHITTEST:
        // Like a system group box: the mouse reaches what lies beneath.
        return HTTRANSPARENT;
    case WM_ERASEBKGND: {
        HDC dc = reinterpret_cast<HDC>(wParam);
        const int saved = SaveDC(dc);
        excludeSiblings(dc);
        RECT client;
        GetClientRect(handle(), &client);
        FillRect(dc, &client, GetSysColorBrush(COLOR_BTNFACE));
        RestoreDC(dc, saved);
        return 1;
    }
    case WM_PAINT: {
        PaintSession session(handle());
        excludeSiblings(session.dc());
        paintFrame(session.dc());
        return 0;
    }
    default:
        return WindowedControl::wndProc(message, wParam, lParam);
    }
}

// ColorPanel

ColorPanel::ColorPanel(const ColorPanelSpec& layout) : WindowedControl(layout.bounds), color_(layout.color) {}

void ColorPanel::createHandle() { createWindow(panelClass(), 0); }

void ColorPanel::setColor(COLORREF color) {
    color_ = color & 0xFFFFFF;
    invalidate();
}

LRESULT ColorPanel::wndProc(UINT message, WPARAM wParam, LPARAM lParam) {
    HWND window = handle();
    switch (message) {
    case WM_ERASEBKGND:
        return 1;
    case WM_PAINT: {
        PaintSession session(window);
        RECT client;
        GetClientRect(window, &client);
        BrushHandle brush(CreateSolidBrush(color_));
        FillRect(session.dc(), &client, brush.get());
        DrawEdge(session.dc(), &client, BDR_RAISEDINNER, BF_RECT);
        return 0;
    }
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        pressed_ = true;
        SetCapture(window);
        return 0;
    case WM_LBUTTONUP: {
        if (!pressed_) return 0;
        pressed_ = false;
        ReleaseCapture();
        const POINT point{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
        RECT client;
        GetClientRect(window, &client);
        if (PtInRect(&client, point) && onClick) onClick();
        return 0;
    }
    case WM_CAPTURECHANGED:
        pressed_ = false;
        break;
    default:
        break;
    }
    return WindowedControl::wndProc(message, wParam, lParam);
}

}  // namespace fw
