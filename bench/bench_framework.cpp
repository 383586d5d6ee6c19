// Window-layer figures: the cost of one repaint of a clock-sized form with
// its three graphic layers (what every tick pays), and how often the idle
// handler runs when it asks to be called again at once.
#include "framework/application.h"
#include "framework/control.h"
#include "framework/graphic_controls.h"
#include "framework/form.h"
#include "framework/gdi.h"

#include <cstdio>

namespace {

class LayeredForm : public fw::Form {
public:
    LayeredForm() : fw::Form({L"bench", 200, 200, fw::BorderStyle::Single}) {
        add(background);
        add(hands);
        add(label);
        background.ensureBitmap();
        hands.onPaint = [](HDC dc) {
            const POINT hour[] = {{102, 100}, {109, 95}, {150, 100}, {110, 104}};
            const POINT minute[] = {{100, 98}, {97, 80}, {100, 5}, {103, 80}};
            Polygon(dc, hour, 4);
            Polygon(dc, minute, 4);
            MoveToEx(dc, 100, 98, nullptr);
            LineTo(dc, 100, 20);
        };
    }
    fw::Image background{{0, 0, 200, 200}};
    fw::PaintBox hands{{0, 0, 200, 200}};
    fw::Label label{155, 187, L"88:88:88"};
};

double Seconds(LARGE_INTEGER from, LARGE_INTEGER to) {
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(to.QuadPart - from.QuadPart) / static_cast<double>(frequency.QuadPart);
}

LARGE_INTEGER Now() {
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return now;
}

}  // namespace

int main() {
    LayeredForm form;
    form.show();
    form.update();

    const int repaints = 2000;
    const int gdiBefore = fw::GdiObjectCount();
    const LARGE_INTEGER start = Now();
    for (int i = 0; i < repaints; ++i) {
        form.hands.invalidate();
        form.hands.update();
    }
    const double paintSeconds = Seconds(start, Now());
    std::printf("repaint of a 200x200 form with image, paint box and label: %.3f ms (%d repaints)\n",
                1000.0 * paintSeconds / repaints, repaints);
    std::printf("GDI objects before/after: %d/%d\n", gdiBefore, fw::GdiObjectCount());

    long idleCalls = 0;
    LARGE_INTEGER idleStart{};
    fw::Application::instance().setOnIdle([&](bool& done) {
        if (idleCalls++ == 0) idleStart = Now();
        done = false;
        if (Seconds(idleStart, Now()) >= 1.0) form.setModalResult(fw::mrOk);
    });
    form.hide();
    form.showModal();
    std::printf("idle handler calls per second (done = false, modal loop): %ld\n", idleCalls);
    return 0;
}
