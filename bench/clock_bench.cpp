// Prints what the clock costs: the median time of one forced tick (hands
// repaint and texts), the process's share of one core while the message
// loop runs in economy mode (1000 ms timer; without and with the time text)
// and in idle mode, and the time to load and compose a background picture
// (a built-in one, and a 4000x3000 JPEG through hrl_spi and hrlwic.spi).
//   bench_clock.exe [seconds per CPU measurement, default 60]
// With "economy" it is the clock of economy_vs_floor.sh instead: the clock
// window in economy mode at 1000 ms with a fresh installation's other
// settings ("text": with the time text in the label), run until it is
// closed; it then prints how long after each change of the local time's
// second the hands were repainted.
//   bench_clock.exe economy [text]
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "app/clock/clockform.h"
#include "app/settings/setupform.h"
#include "bench/loop_cpu.h"
#include "framework/application.h"
#include "spi_loader/hrl_spi.h"

namespace {

using bench::LoopCpuPercent;
using bench::Now;
using bench::ProcessCpuSeconds;
using bench::Seconds;

// One forced tick (hands repaint and texts): the median of the wall-clock
// times, and the process's CPU time per tick over all the runs, in us.
struct TickCost {
    double medianWall;
    double cpu;
};

TickCost ForcedTickCost(Tclockform& clock, int runs) {
    std::vector<double> costs;
    costs.reserve(static_cast<size_t>(runs));
    const double cpu0 = ProcessCpuSeconds();
    for (int i = 0; i < runs; ++i) {
        const LONGLONG start = Now();
        clock.ClockTick(true);
        costs.push_back(Seconds(Now() - start) * 1e6);
    }
    const double cpu = (ProcessCpuSeconds() - cpu0) * 1e6 / runs;
    std::nth_element(costs.begin(), costs.begin() + runs / 2, costs.end());
    return {costs[static_cast<size_t>(runs / 2)], cpu};
}

void PrintForcedTick(Tclockform& clock, const char* what) {
    const TickCost cost = ForcedTickCost(clock, 2000);
    std::printf("forced tick (%s), 2000 runs: median %.1f us, CPU %.1f us a tick\n", what, cost.medianWall, cost.cpu);
}

double Percentile(std::vector<double> values, double p) {
    if (values.empty()) return 0;
    std::sort(values.begin(), values.end());
    return values[static_cast<size_t>(p * static_cast<double>(values.size() - 1) + 0.5)];
}

std::string BinDir() {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    *std::strrchr(path, '\\') = '\0';
    return path;
}

// Median time of loading a background picture and composing the face with
// it (indicators, copy to the background layer), in milliseconds.
template <class Load>
double MedianComposeMilliseconds(Tclockform& clock, int runs, Load load) {
    std::vector<double> costs;
    for (int i = 0; i < runs; ++i) {
        const LONGLONG start = Now();
        load();
        clock.DrawIndicators();
        clock.CopyFaceToBackground();
        costs.push_back(Seconds(Now() - start) * 1e3);
    }
    return Percentile(costs, 0.5);
}

void PrintBackgroundFigures(Tclockform& clock) {
    std::printf("built-in picture IMAGE0, load and compose, median of 100: %.2f ms\n",
                MedianComposeMilliseconds(clock, 100, [&] { clock.ChooseStartupBackground({}); }));
    const auto search = fw::Export<hrlspi::SearchPluginFn>(clock.LoaderHandle, "SearchPlugin");
    search(BinDir().c_str());
    const std::string photo = BinDir() + "\\bench_pictures\\photo.jpg";
    bool loaded = true;
    const double jpeg = MedianComposeMilliseconds(clock, 5, [&] { loaded &= clock.LoadBackgroundFile(photo, false, 0); });
    std::printf("4000x3000 JPEG through hrl_spi and hrlwic.spi, load and compose, median of 5: %.0f ms%s\n", jpeg,
                loaded ? "" : " (LOAD FAILED)");
    for (int i = 0; i < 50; ++i) clock.ClockTick(true);
    PrintForcedTick(clock, "over that picture: no scaling per second");
    std::fflush(stdout);
}

// The clock of the side-by-side measurement: runs the program's loop until
// the window is closed, recording for each new second on the face how many
// milliseconds into that second the hands were painted.
int ServeEconomyClock(bool timeText) {
    fw::Application& app = fw::Application::instance();
    TSetupform setupform;
    Tclockform clock(setupform);
    clock.create();
    setupform.create();
    // A fresh installation's settings in economy mode (1000 ms); a fresh
    // installation shows the time text, in the label beside the title bar.
    horolo::StoredSettings stored;
    stored.character = timeText;
    stored.cpuSave = true;
    clock.StartUp(stored);

    std::vector<double> lags;
    int shownSecond = -1;
    const auto drawHands = clock.fgimg.onPaint;
    clock.fgimg.onPaint = [&](HDC dc) {
        // The system time, cheaper than the local time: both change their
        // second at the same moment.
        FILETIME now;
        GetSystemTimeAsFileTime(&now);
        const ULONGLONG ms = ((static_cast<ULONGLONG>(now.dwHighDateTime) << 32) | now.dwLowDateTime) / 10000;
        if (clock.faceTime().second != shownSecond && clock.faceTime().second == static_cast<int>(ms / 1000 % 60)) {
            if (shownSecond >= 0) lags.push_back(static_cast<double>(ms % 1000));
            shownSecond = clock.faceTime().second;
        }
        drawHands(dc);
    };
    app.run(clock);
    std::printf("hands repainted after the change of second, %zu changes: median %.0f ms, 95th percentile %.0f ms\n",
                lags.size(), Percentile(lags, 0.5), Percentile(lags, 0.95));
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc > 1 && std::strcmp(argv[1], "economy") == 0)
        return ServeEconomyClock(argc > 2 && std::strcmp(argv[2], "text") == 0);
    const double seconds = argc > 1 ? std::max(1.0, std::atof(argv[1])) : 60.0;
    fw::Application& app = fw::Application::instance();
    TSetupform setupform;
    Tclockform clock(setupform);
    clock.create();
    setupform.create();
    horolo::StoredSettings withoutTimeText;
    withoutTimeText.character = false;
    clock.StartUp(withoutTimeText);
    clock.show();
    app.processMessages();
    PrintBackgroundFigures(clock);
    clock.ChooseStartupBackground({});
    clock.DrawIndicators();
    clock.CopyFaceToBackground();

    // Economy mode without the time text, then with the time shown in the
    // label, which adds a text repaint a second.
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
    PrintForcedTick(clock, "hands repaint and the time text");
    std::printf("economy mode with the time text, %.0f s: CPU %.3f %% of one core\n", seconds,
                LoopCpuPercent(seconds).process);
    std::fflush(stdout);

    setupform.cpusave.setChecked(false);
    clock.ApplySettings();
    std::printf("idle mode, %.0f s: CPU %.1f %% of one core\n", seconds, LoopCpuPercent(seconds).process);

    clock.FormClose();
    return 0;
}
