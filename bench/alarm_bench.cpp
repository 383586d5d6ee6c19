// Prints what the alarm costs: the program's share of one core while a WAV
// repeats, beside the same clock with no sound, both in economy mode (1000 ms
// timer). With "nodevice" (run with ALSA pointed at nothing, so that every
// play fails at once) it measures the time after the first failed play
// instead, and counts the MCI commands sent after it. Process and thread
// times advance in steps of 10 ms under Wine: 0.033 % of one core over 30 s.
//   bench_alarm.exe [nodevice] [seconds per measurement, default 30]
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "app/alarm/alarmform.h"
#include "app/clock/clockform.h"
#include "app/settings/setupform.h"
#include "bench/loop_cpu.h"
#include "framework/application.h"
#include "framework/platform.h"

namespace {

// The real platform, counting the plays, all MCI commands and the beeps.
class CountingPlatform : public fw::RealPlatform {
public:
    MCIERROR sendMciCommand(MCIDEVICEID device, UINT message, DWORD_PTR flags, DWORD_PTR parameters) override {
        ++commands;
        if (message == MCI_PLAY) ++plays;
        const LONGLONG start = bench::Now();
        const double cpu = bench::ThreadCpuSeconds();
        const MCIERROR result = fw::RealPlatform::sendMciCommand(device, message, flags, parameters);
        inMciSeconds += bench::Seconds(bench::Now() - start);
        inMciCpuSeconds += bench::ThreadCpuSeconds() - cpu;
        return result;
    }
    void messageBeep(UINT type) override {
        ++beeps;
        fw::RealPlatform::messageBeep(type);
    }
    int commands = 0;
    int plays = 0;
    double inMciSeconds = 0;     // wall time inside the MCI calls
    double inMciCpuSeconds = 0;  // the calling thread's CPU time in them
    int beeps = 0;
};

std::string BesideThisProgram(const char* name) {
    char path[MAX_PATH];
    const std::string self(path, GetModuleFileNameA(nullptr, path, MAX_PATH));
    return self.substr(0, self.find_last_of('\\') + 1) + name;
}

// How long the sound lasts, as MCI reads it.
double WavSeconds(const std::string& path) {
    const std::string open = "open \"" + path + "\" type waveaudio alias length_probe";
    char answer[32] = {};
    mciSendStringA(open.c_str(), nullptr, 0, nullptr);
    mciSendStringA("set length_probe time format milliseconds", nullptr, 0, nullptr);
    mciSendStringA("status length_probe length", answer, sizeof answer, nullptr);
    mciSendStringA("close length_probe", nullptr, 0, nullptr);
    return std::atof(answer) / 1000;
}

}  // namespace

int main(int argc, char** argv) {
    const bool noDevice = argc > 1 && std::strcmp(argv[1], "nodevice") == 0;
    const int secondsArgument = noDevice ? 2 : 1;
    const double seconds = argc > secondsArgument ? std::max(1.0, std::atof(argv[secondsArgument])) : 30.0;
    // The notice shows in the middle of the screen, where Xvfb keeps the
    // pointer; Wine's buttons poll a pointer resting on them a hundred times
    // a second (a hover time of 1 ms), which is Wine's cost, not the alarm's.
    // The pointer goes to the far corner before any window shows.
    SetCursorPos(GetSystemMetrics(SM_CXSCREEN) - 1, GetSystemMetrics(SM_CYSCREEN) - 1);
    CountingPlatform platform;
    fw::PlatformOverride counting(platform);
    fw::Application& app = fw::Application::instance();
    TSetupform setupform;
    Tclockform clock(setupform);
    TAlarmForm alarm(clock, setupform, [&clock] { clock.StartUp(); });
    clock.create();
    setupform.create();
    alarm.create();
    clock.show();
    setupform.cpusave.setChecked(true);
    setupform.cpusi.setItemIndex(0);
    clock.ApplySettings();
    app.processMessages();

    // Wine's sound output runs on threads of its own (a timer thread and,
    // for every play, a player thread): the whole process is shown beside
    // the thread that runs the program's own code.
    const auto print = [&](const char* what, const bench::CpuShare& share, const bench::CpuShare& reference) {
        std::printf("%s, %.0f s: CPU %.3f %% of one core (%.1f x the clock alone), of which the program's own "
                    "thread %.3f %% (%.1f x)\n",
                    what, seconds, share.process, share.process / reference.process, share.uiThread,
                    share.uiThread / reference.uiThread);
        std::fflush(stdout);
    };
    const bench::CpuShare reference = bench::LoopCpuPercent(seconds);
    print("clock alone, economy mode", reference, reference);

    alarm.AlarmFile = BesideThisProgram("Horolo.wav");
    setupform.refrpl.setChecked(true);
    alarm.TestAlarm();
    if (!alarm.AlarmSounding()) {
        std::printf("Horolo.wav did not open\n");
        return 1;
    }
    if (noDevice) {
        const LONGLONG start = bench::Now();
        while (platform.beeps == 0 && bench::Seconds(bench::Now() - start) < 10) app.loopStep();
        if (platform.beeps == 0) {
            std::printf("the play did not fail: is ALSA pointed at nothing?\n");
            return 1;
        }
        bench::LoopCpuPercent(1);  // the beep's own sound
        const int commands = platform.commands;
        print("after the failed play, notice still up", bench::LoopCpuPercent(seconds), reference);
        std::printf("MCI commands after the failure: %d; beeps: %d\n", platform.commands - commands, platform.beeps);
    } else {
        const int before = platform.plays;
        const double inMci = platform.inMciSeconds, inMciCpu = platform.inMciCpuSeconds;
        const bench::CpuShare repeating = bench::LoopCpuPercent(seconds);
        print("Horolo.wav repeating", repeating, reference);
        const int plays = platform.plays - before;
        // The null device takes the sound faster than it would sound, and
        // most of the cost comes with each play: the same cost per play, at
        // the pace of the sound's own length.
        const double length = WavSeconds(alarm.AlarmFile);
        const auto atPace = [&](double share, double alone) {
            return alone + (share - alone) * seconds / plays / length;
        };
        std::printf("plays: %d in %.0f s, the sound lasting %.2f s; at that pace: CPU %.3f %% of one core, of which the "
                    "program's own thread %.3f %%\n",
                    plays, seconds, length, atPace(repeating.process, reference.process),
                    atPace(repeating.uiThread, reference.uiThread));
        std::printf("inside the MCI calls, per play: %.1f ms, of which CPU of the program's thread %.1f ms\n",
                    (platform.inMciSeconds - inMci) * 1000 / plays, (platform.inMciCpuSeconds - inMciCpu) * 1000 / plays);
    }
    alarm.StpButtonClick();
    clock.FormClose();
    return 0;
}
