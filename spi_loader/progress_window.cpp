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

void Tprogress::moveBar(int position) {
    if (status.setPosition(position)) redraw();
}

void Tprogress::redraw() { RedrawWindow(handle(), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN); }

namespace {

int handleReport(Tprogress& w, int numerator, int denominator) {
    MSG msg;
    if (PeekMessageA(&msg, w.handle(), 0, 0, PM_NOREMOVE) && GetMessageA(&msg, w.handle(), 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    switch (classifyReport(numerator, denominator)) {
    case ProgressReport::Start:
        w.cancelFlag = 0;
        w.status.setMax(denominator);
        w.status.setPosition(0);
        w.showInFront();
        w.redraw();
        return 0;
    case ProgressReport::Final:
        w.hide();
        return 0;
    case ProgressReport::Intermediate:
        w.moveBar(numerator);
        return w.cancelFlag;
    }
    return 0;
}

}  // namespace

// Called from inside a plug-in: nothing may unwind through its frames.
int __stdcall ProgressCallback(int numerator, int denominator, long) {
    Tprogress* w = progressWindow();
    if (w == nullptr || w->handle() == nullptr) return 0;
    try {
        return handleReport(*w, numerator, denominator);
    } catch (...) {
        return 0;
    }
}

}  // namespace hrlspi
