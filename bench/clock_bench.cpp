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
#include "bench/loop_cpu.h"
#include "framework/application.h"

namespace {

using bench::LoopCpuPercent;
using bench::Now;
using bench::Seconds;

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
    std::printf("economy mode, 1000 ms timer, %.0f s: CPU %.3f %% of one core\n", seconds,
                LoopCpuPercent(seconds).process);
    std::fflush(stdout);

    setupform.chview.setChecked(true);
    clock.FormDblClick();  // no title bar: the label shows the time
    clock.ApplySettings();
    for (int i = 0; i < 50; ++i) clock.ClockTick(true);
    std::printf("forced tick (hands repaint and texts), median of 2000: %.1f us\n",
                MedianForcedTickMicroseconds(clock, 2000));
    std::printf("economy mode with the time text, %.0f s: CPU %.3f %% of one core\n", seconds,
                LoopCpuPercent(seconds).process);
    std::fflush(stdout);

    setupform.cpusave.setChecked(false);
    clock.ApplySettings();
    std::printf("idle mode, %.0f s: CPU %.1f %% of one core\n", seconds, LoopCpuPercent(seconds).process);

    clock.FormClose();
    return 0;
}
