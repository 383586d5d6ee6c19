#include "framework/panel.h"

namespace fw {

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
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(handle(), &ps);
    RECT client;
    GetClientRect(handle(), &client);
    if (const UINT edge = OuterEdge(outer_) | InnerEdge(inner_)) DrawEdge(dc, &client, edge, BF_RECT);
    EndPaint(handle(), &ps);
    return 0;
}

}  // namespace fw
