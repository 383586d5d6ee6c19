// Fortune data figures: loading a 50 MB file of one-byte lines (25 million
// entries, a log file picked by mistake) through the fortune teller, against
// reading the same file's bytes once in the same run, and the private bytes
// the loaded list adds to the process. The file is written at start.
#include <windows.h>
#include <psapi.h>

#include <cstdio>
#include <string>

#include "app/info/fortune.h"
#include "bench/loop_cpu.h"
#include "framework/controls.h"
#include "framework/file_bytes.h"
#include "framework/menu.h"

namespace {

constexpr int kMiB = 1 << 20;
constexpr int kFileMiB = 50;

double PrivateMiB() {
    PROCESS_MEMORY_COUNTERS_EX counters{};
    counters.cb = sizeof counters;
    GetProcessMemoryInfo(GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters), sizeof counters);
    return static_cast<double>(counters.PrivateUsage) / kMiB;
}

}  // namespace

int main() {
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    const std::string path = std::string(temp) + "horolo_bench_fortune" + std::to_string(GetCurrentProcessId()) + ".log";
    {
        std::string lines(kMiB, 'x');
        for (std::size_t i = 1; i < lines.size(); i += 2) lines[i] = '\n';
        const HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        DWORD written = 0;
        for (int i = 0; i < kFileMiB; ++i) WriteFile(file, lines.data(), kMiB, &written, nullptr);
        CloseHandle(file);
    }

    // The reference: the file's bytes read once (warms the file cache too).
    LONGLONG start = bench::Now();
    const std::size_t bytes = fw::ReadWholeFile(path, std::uint64_t{1} << 30).value_or(std::string()).size();
    const double readMs = 1000.0 * bench::Seconds(bench::Now() - start);

    fw::MenuItem command{L"Fortune"};
    fw::RadioGroup bgselector{{.items = {L"ミルア", L"ネオラ", L"ザクル", L"その他"}, .itemIndex = 3}};
    FortuneTeller teller{command, bgselector};
    teller.FortuneDataPath = path;
    const double privateBefore = PrivateMiB();
    start = bench::Now();
    teller.LoadFortunes(false);
    const double loadMs = 1000.0 * bench::Seconds(bench::Now() - start);
    const double added = PrivateMiB() - privateBefore;

    start = bench::Now();
    const int draws = 1000;
    std::size_t drawn = 0;
    for (int i = 0; i < draws; ++i) drawn += teller.PickFortune().size();
    const double drawUs = 1000.0 * 1000.0 * bench::Seconds(bench::Now() - start) / draws;

    std::printf("fortune file: %.1f MB of one-byte lines, %zu entries (command %s)\n",
                static_cast<double>(bytes) / kMiB, teller.FortuneList.size(), command.enabled() ? "on" : "off");
    std::printf("load: %.0f ms; reading its bytes once: %.0f ms; ratio %.2f\n", loadMs, readMs, loadMs / readMs);
    std::printf("private bytes added by the loaded list: %.1f MB (%.2f x the file)\n", added,
                added * kMiB / static_cast<double>(bytes));
    std::printf("one draw: %.2f us (%zu bytes drawn)\n", drawUs, drawn);
    DeleteFileA(path.c_str());
    return 0;
}
