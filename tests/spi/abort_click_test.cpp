// A real mouse click on the progress window's abort button, through the
// system's input queue. It runs alone: the click goes to whatever window is
// at that place on the shared screen, and every progress window is centred.
#include <gtest/gtest.h>

#include <string>

#include "spi_test_support.h"

using namespace spitest;

namespace {

struct ProgressWindows {
    HWND window;
    HWND abortButton;
};

// Clicks the abort button with the mouse, through the system's input queue,
// while the progress window shows (again every 200 ms, should a click land
// before the window is ready for it). Returns the number of clicks.
DWORD WINAPI ClickAbortWhileShown(void* windows) {
    const auto& w = *static_cast<const ProgressWindows*>(windows);
    DWORD clicks = 0;
    for (int i = 0; i < 500; ++i) {
        if (!IsWindowVisible(w.window)) {
            if (clicks > 0) break;
            Sleep(10);
            continue;
        }
        Sleep(50);
        RECT button;
        GetWindowRect(w.abortButton, &button);
        SetCursorPos((button.left + button.right) / 2, (button.top + button.bottom) / 2);
        INPUT input[2] = {};
        input[0].type = input[1].type = INPUT_MOUSE;
        input[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
        input[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
        SendInput(2, input, sizeof(INPUT));
        ++clicks;
        Sleep(150);
    }
    return clicks;
}

}  // namespace

TEST(AbortClick, MouseClickOnTheAbortButtonStopsTheLoad) {
    Library lib;
    TempDir dir;
    dir.addPlugins({"slowprog.spi"});
    ASSERT_EQ(lib.SearchPlugin(dir.path().c_str()), 1);
    dir.write("pic.hrl", hrltPicture(3, 2, {255, 0, 0, 0, 255, 0, 0, 0, 255, 255, 255, 255, 0, 0, 0, 10, 20, 30}));
    takeLog();
    const std::string pic = dir.file("pic.hrl");
    ProgressWindows windows{lib.progressWindow(), lib.abortButton()};
    ASSERT_NE(windows.abortButton, nullptr);
    const HANDLE clicker = CreateThread(nullptr, 0, ClickAbortWhileShown, &windows, 0, nullptr);
    HLOCAL pixels = nullptr;
    HeaderBuffer header;
    EXPECT_EQ(lib.SPI_LoadImageEx(pic.c_str(), &pixels, header.info()), 0);
    WaitForSingleObject(clicker, INFINITE);
    DWORD clicked = 0;
    GetExitCodeThread(clicker, &clicked);
    CloseHandle(clicker);
    EXPECT_GE(clicked, 1u);
    const std::string log = takeLog();
    // Stopped by an intermediate report that returned 1, long before the end.
    const std::size_t reports = log.find("slowprog.spi:GetPicture(0,0,0)=1 reports=0");
    ASSERT_NE(reports, std::string::npos) << log;
    EXPECT_EQ(log[log.find(';', reports) - 1], '1') << log;
    EXPECT_EQ(pixels, nullptr);
    EXPECT_FALSE(IsWindowVisible(lib.progressWindow()));
}

