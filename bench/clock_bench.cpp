// Prints what the clock costs: the median time of one forced tick (hands
// repaint and texts), and the process's share of one core while the message
// loop runs in economy mode (1000 ms timer; without and with the time text)
// and in idle mode.
//   bench_clock.exe [seconds per CPU measurement, default 60]
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "app/clock/clockform.h"
#include "app/settings/setupform.h"
#include "framework/application.h"

namespace {

double Seconds(LONGLONG ticks) {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return static_cast<double>(ticks) / static_cast<double>(f.QuadPart);
}

LONGLONG Now() {
    LARGE_INTEGER c;
    QueryPerformanceCounter(&c);
    return c.QuadPart;
}

// Kernel plus user time of this process, in seconds.
double ProcessCpuSeconds() {
    FILETIME created, exited, kernel, user;
    GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
    auto value = [](const FILETIME& t) {
        return static_cast<double>((static_cast<ULONGLONG>(t.dwHighDateTime) << 32) | t.dwLowDateTime) * 1e-7;
    };
    return value(kernel) + value(user);
}

double MedianForcedTickMicroseconds(Tclockform& clock, int runs) {
    std::vector<double> costs;
    costs.reserve(static_cast<size_t>(runs));
    for (int i = 0; i < runs; ++i) {
        const LONGLONG start = Now();
        clock.ClockTick(true);
        costs.push_back(Seconds(Now() - start) * 1e6);
    }
    std::nth_element(costs.begin(), costs.begin() + runs / 2, costs.end());
    return costs[static_cast<size_t>(runs / 2)];
}

// Runs the program's own message loop for the given time; returns the CPU
// share of one core in percent.
double LoopCpuPercent(double seconds) {
    fw::Application& app = fw::Application::instance();
    const double cpu0 = ProcessCpuSeconds();
    const LONGLONG start = Now();
    while (Seconds(Now() - start) < seconds) app.loopStep();
    const double wall = Seconds(Now() - start);
    return (ProcessCpuSeconds() - cpu0) / wall * 100.0;
}

}  // namespace

int main(int argc, char** argv) {
    const double seconds = argc > 1 ? std::max(1.0, std::atof(argv[1])) : 60.0;
    fw::Application& app = fw::Application::instance();
    TSetupform setupform;
    Tclockform clock(setupform);
    clock.create();
    setupform.create();
    clock.StartUp();
    clock.show();
    app.processMessages();

    // The settings as a fresh installation has them (no time text), then
    // with the time shown in the label, which adds a text repaint a second.
    setupform.cpusave.setChecked(true);
    setupform.cpusi.setItemIndex(0);
    clock.ApplySettings();
    std::printf("economy mode, 1000 ms timer, %.0f s: CPU %.3f %% of one core\n", seconds, LoopCpuPercent(seconds));
    std::fflush(stdout);

    setupform.chview.setChecked(true);
    clock.FormDblClick();  // no title bar: the label shows the time
    clock.ApplySettings();
    for (int i = 0; i < 50; ++i) clock.ClockTick(true);
    std::printf("forced tick (hands repaint and texts), median of 2000: %.1f us\n",
                MedianForcedTickMicroseconds(clock, 2000));
    std::printf("economy mode with the time text, %.0f s: CPU %.3f %% of one core\n", seconds,
                LoopCpuPercent(seconds));
    std::fflush(stdout);

    setupform.cpusave.setChecked(false);
    clock.ApplySettings();
    std::printf("idle mode, %.0f s: CPU %.1f %% of one core\n", seconds, LoopCpuPercent(seconds));

    clock.FormClose();
    return 0;
}
