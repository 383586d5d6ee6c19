// Timing for the benchmark programs: the performance counter, the process's
// CPU time and its share of one core while the program's message loop runs.
#pragma once

#include <windows.h>

#include "framework/application.h"

namespace bench {

inline double Seconds(LONGLONG ticks) {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return static_cast<double>(ticks) / static_cast<double>(f.QuadPart);
}

inline LONGLONG Now() {
    LARGE_INTEGER c;
    QueryPerformanceCounter(&c);
    return c.QuadPart;
}

inline double Seconds(const FILETIME& kernel, const FILETIME& user) {
    auto value = [](const FILETIME& t) {
        return static_cast<double>((static_cast<ULONGLONG>(t.dwHighDateTime) << 32) | t.dwLowDateTime) * 1e-7;
    };
    return value(kernel) + value(user);
}

// Kernel plus user time of this process, in seconds, threads that have
// ended included (MCI plays each sound on threads of its own).
inline double ProcessCpuSeconds() {
    FILETIME created, exited, kernel, user;
    GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
    return Seconds(kernel, user);
}

// The same for the calling thread alone: the program's own work.
inline double ThreadCpuSeconds() {
    FILETIME created, exited, kernel, user;
    GetThreadTimes(GetCurrentThread(), &created, &exited, &kernel, &user);
    return Seconds(kernel, user);
}

// Shares of one core, in percent.
struct CpuShare {
    double process;   // every thread of the program
    double uiThread;  // the thread that runs the message loop
};

// Runs the program's own message loop for the given time.
inline CpuShare LoopCpuPercent(double seconds) {
    fw::Application& app = fw::Application::instance();
    const double process0 = ProcessCpuSeconds();
    const double thread0 = ThreadCpuSeconds();
    const LONGLONG start = Now();
    while (Seconds(Now() - start) < seconds) app.loopStep();
    const double wall = Seconds(Now() - start);
    return {(ProcessCpuSeconds() - process0) / wall * 100.0, (ThreadCpuSeconds() - thread0) / wall * 100.0};
}

}  // namespace bench
