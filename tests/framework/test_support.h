// Helpers for the window-layer tests: a recording platform and a message pump
// that waits for a condition (generously: tests must not depend on speed).
#pragma once

#include "framework/application.h"
#include "framework/platform.h"

#include <windows.h>

#include <string>
#include <vector>

namespace fwtest {

struct RecordedBox {
    HWND owner;
    std::wstring text;
    std::wstring caption;
    UINT type;
};

class RecordingPlatform : public fw::Platform {
public:
    SYSTEMTIME localTime() override {
        SYSTEMTIME time{};
        time.wHour = 9;
        time.wMinute = 5;
        time.wSecond = 7;
        return time;
    }
    int messageBox(HWND owner, const std::wstring& text, const std::wstring& caption, UINT type) override {
        boxes.push_back({owner, text, caption, type});
        return IDOK;
    }
    void messageBeep(UINT type) override { beeps.push_back(type); }

    std::vector<RecordedBox> boxes;
    std::vector<UINT> beeps;
};

// Handles messages until the condition holds; false after ten seconds.
template <class Condition>
bool PumpUntil(Condition condition) {
    const DWORD start = GetTickCount();
    while (!condition()) {
        if (GetTickCount() - start > 10000) return false;
        fw::Application::instance().processMessages();
        Sleep(1);
    }
    return true;
}

// Handles messages for a while (to show that something does not happen).
inline void PumpFor(DWORD milliseconds) {
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < milliseconds) {
        fw::Application::instance().processMessages();
        Sleep(1);
    }
}

}  // namespace fwtest
