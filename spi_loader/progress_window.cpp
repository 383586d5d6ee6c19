#include "spi_loader/progress_window.h"

#include "spi_loader/progress_report.h"

namespace hrlspi {

Tprogress::Tprogress()
    : fw::Form({.caption = L"Loading File...",
                .clientWidth = 233,
                .clientHeight = 61,
                .border = fw::BorderStyle::Dialog,
                .minimizeBox = false,
                .topmost = true}),
      status({.bounds = {8, 8, 217, 16}, .max = 100}),
      cancbtn({.bounds = {79, 32, 75, 25}, .kind = fw::ButtonKind::Abort, .caption = L"中止"}) {
    add(status);
    add(cancbtn);
    cancbtn.onClick = [this] { cancbtnClick(); };
}

// Centred on the whole screen, not on the work area.
void Tprogress::onCreate() {
    RECT frame;
    GetWindowRect(handle(), &frame);
    moveTo((GetSystemMetrics(SM_CXSCREEN) - (frame.right - frame.left)) / 2,
           (GetSystemMetrics(SM_CYSCREEN) - (frame.bottom - frame.top)) / 2);
}

void Tprogress::showInFront() {
    SetWindowPos(handle(), HWND_TOP, 0, 0, 0, 0, SWP_SHOWWINDOW | SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

// The bar control repaints itself at every new position, which a plug-in
// reporting each row would pay thousands of times: a position that leaves
// the drawn length as it is goes in with the bar's redrawing off.
void Tprogress::moveBar(int position) {
    const int units = barUnits(position, status.max(), status.bounds().width);
    if (units == shownUnits) {
        SendMessageW(status.handle(), WM_SETREDRAW, FALSE, 0);
        status.setPosition(position);
        SendMessageW(status.handle(), WM_SETREDRAW, TRUE, 0);
        return;
    }
    shownUnits = units;
    status.setPosition(position);
    redraw();
}

void Tprogress::redraw() { RedrawWindow(handle(), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN); }

}  // namespace hrlspi
