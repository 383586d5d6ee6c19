// End-to-end: starts the real Horolo.exe beside this test program, finds its
// clock window, reads its pixels off the screen and closes it as a user would.
#include <gtest/gtest.h>
#include <windows.h>

#include <array>
#include <optional>
#include <string>

#include "app/clock/geometry.h"
#include "framework/bitmap_file.h"

namespace {

std::wstring besideThisProgram(const wchar_t* name) {
    wchar_t path[MAX_PATH];
    DWORD n = GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring dir(path, n);
    return dir.substr(0, dir.find_last_of(L'\\') + 1) + name;
}

struct FindContext {
    DWORD processId;
    HWND found;
};

BOOL CALLBACK findClockWindow(HWND window, LPARAM param) {
    auto* context = reinterpret_cast<FindContext*>(param);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    wchar_t caption[64] = {};
    GetWindowTextW(window, caption, 64);
    if (owner == context->processId && IsWindowVisible(window) && std::wstring(caption) == L"Horolo") {
        context->found = window;
        return FALSE;
    }
    return TRUE;
}

// The clock as a separate process, ended by force if a test leaves it running.
class RunningClock : public ::testing::Test {
protected:
    void SetUp() override {
        std::wstring exe = besideThisProgram(L"Horolo.exe");
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        ASSERT_TRUE(CreateProcessW(exe.c_str(), nullptr, nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                                   &startup, &process_))
            << "cannot start " << std::string(exe.begin(), exe.end());
        CloseHandle(process_.hThread);
        for (int i = 0; i < 300 && !window_; ++i) {
            FindContext context{process_.dwProcessId, nullptr};
            EnumWindows(findClockWindow, reinterpret_cast<LPARAM>(&context));
            window_ = context.found;
            if (!window_) Sleep(50);
        }
        ASSERT_NE(window_, nullptr) << "no visible window captioned Horolo";
    }

    void TearDown() override {
        if (process_.hProcess) {
            if (WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT) TerminateProcess(process_.hProcess, 99);
            CloseHandle(process_.hProcess);
        }
    }

    // Waits for the process to end; returns its exit code, or -1 on time-out.
    long exitCode(DWORD timeoutMs = 15000) {
        if (WaitForSingleObject(process_.hProcess, timeoutMs) != WAIT_OBJECT_0) return -1;
        DWORD code = 0;
        GetExitCodeProcess(process_.hProcess, &code);
        return static_cast<long>(code);
    }

    static bool allBlack(const std::array<COLORREF, 200 * 200>& pixels) {
        for (COLORREF p : pixels)
            if (p != RGB(0, 0, 0)) return false;
        return true;
    }

    // The client area as it is on the screen, 200 by 200 pixels, once the
    // window has been painted: the screen there is no longer all black and
    // the bar at 12 o'clock is.
    std::array<COLORREF, 200 * 200> clientPixels() {
        std::array<COLORREF, 200 * 200> pixels{};
        for (int attempt = 0; attempt < 100; ++attempt) {
            POINT origin{0, 0};
            ClientToScreen(window_, &origin);
            HDC screen = GetDC(nullptr);
            HDC memory = CreateCompatibleDC(screen);
            BITMAPINFO info{};
            info.bmiHeader = {sizeof(BITMAPINFOHEADER), 200, -200, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
            void* bits = nullptr;
            HBITMAP dib = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
            HGDIOBJ old = SelectObject(memory, dib);
            BitBlt(memory, 0, 0, 200, 200, screen, origin.x, origin.y, SRCCOPY);
            GdiFlush();
            auto* rgb = static_cast<const DWORD*>(bits);
            for (int i = 0; i < 200 * 200; ++i)
                pixels[i] = RGB((rgb[i] >> 16) & 0xFF, (rgb[i] >> 8) & 0xFF, rgb[i] & 0xFF);
            SelectObject(memory, old);
            DeleteObject(dib);
            DeleteDC(memory);
            ReleaseDC(nullptr, screen);
            if (at(pixels, 100, 6) == RGB(0, 0, 0) && !allBlack(pixels)) break;
            Sleep(50);
        }
        return pixels;
    }

    static COLORREF at(const std::array<COLORREF, 200 * 200>& pixels, int x, int y) { return pixels[y * 200 + x]; }

    // Presses Ctrl+key while the clock has the keyboard focus. Without a
    // window manager the focus can arrive late, so a press that did not end
    // the clock is repeated a few times.
    long pressCtrlUntilExit(WORD key) {
        for (int attempt = 0; attempt < 5; ++attempt) {
            SetForegroundWindow(window_);
            for (int i = 0; i < 20 && GetForegroundWindow() != window_; ++i) Sleep(50);
            std::array<INPUT, 4> input{};
            for (auto& i : input) i.type = INPUT_KEYBOARD;
            input[0].ki.wVk = VK_CONTROL;
            input[1].ki.wVk = key;
            input[2].ki.wVk = key;
            input[2].ki.dwFlags = KEYEVENTF_KEYUP;
            input[3].ki.wVk = VK_CONTROL;
            input[3].ki.dwFlags = KEYEVENTF_KEYUP;
            SendInput(static_cast<UINT>(input.size()), input.data(), sizeof(INPUT));
            long code = exitCode(3000);
            if (code != -1) return code;
        }
        return -1;
    }

    PROCESS_INFORMATION process_{};
    HWND window_ = nullptr;
};

TEST_F(RunningClock, OpensA200By200WindowCaptionedHorolo) {
    RECT client{};
    GetClientRect(window_, &client);
    EXPECT_EQ(client.right - client.left, 200);
    EXPECT_EQ(client.bottom - client.top, 200);
    LONG style = GetWindowLongW(window_, GWL_STYLE);
    EXPECT_TRUE(style & WS_MINIMIZEBOX);
    EXPECT_FALSE(style & WS_MAXIMIZEBOX);
    EXPECT_FALSE(style & WS_THICKFRAME);
}

// The indicators are drawn in the default indicator colour, black, as bars
// five pixels long whose end point (radius 97) is not set.
TEST_F(RunningClock, DrawsTheHourBarsWhereTheGeometrySays) {
    auto pixels = clientPixels();
    struct Bar { int x0, y0, dx, dy; };
    // Bars at 12, 3, 6 and 9 o'clock: from radius 92 outwards, four pixels set.
    const Bar bars[] = {{100, 8, 0, -1}, {192, 100, 1, 0}, {100, 192, 0, 1}, {8, 100, -1, 0}};
    for (const Bar& bar : bars) {
        for (int step = 0; step < 5; ++step) {
            int x = bar.x0 + bar.dx * step, y = bar.y0 + bar.dy * step;
            EXPECT_EQ(at(pixels, x, y), RGB(0, 0, 0)) << "bar pixel " << x << "," << y;
        }
        EXPECT_NE(at(pixels, bar.x0 + bar.dx * 5, bar.y0 + bar.dy * 5), RGB(0, 0, 0)) << "end point is not set";
    }
}

// The hour hand moves one degree every two minutes, so a point inside it
// stays put while the test reads the screen (unless the hour turns meanwhile).
TEST_F(RunningClock, ShowsTheCurrentHour) {
    auto pixels = clientPixels();
    SYSTEMTIME now;
    GetLocalTime(&now);
    horolo::FaceTime face{now.wHour, now.wMinute, now.wSecond};
    horolo::FacePoint inside = horolo::RotatePoint({0, 30}, horolo::HourAngle(face));
    EXPECT_EQ(at(pixels, inside.x, inside.y), RGB(0, 0, 0)) << "hour hand at " << inside.x << "," << inside.y;
}

// A first start (no settings) shows the built-in picture "IMAGE0": the
// screen holds the pixels of the program's own resource, apart from the
// hands and indicators (inside radius 98) and the time label's corner.
TEST_F(RunningClock, AFirstStartShowsThePictureImage0) {
    const auto screen = clientPixels();
    const HMODULE program = LoadLibraryExW(besideThisProgram(L"Horolo.exe").c_str(), nullptr,
                                           LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    ASSERT_NE(program, nullptr);
    const std::optional<fw::Dib> dib = fw::LoadBitmapResource(program, L"IMAGE0");
    FreeLibrary(program);
    ASSERT_TRUE(dib.has_value());
    ASSERT_EQ(dib->width, 200);
    ASSERT_EQ(dib->rows(), 200);
    // The resource's pixels, drawn the way the clock draws them.
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), 200, -200, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HDC memory = CreateCompatibleDC(nullptr);
    HBITMAP picture = CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(memory, picture);
    fw::DrawDib(memory, {0, 0, 200, 200}, *dib);
    GdiFlush();
    int inside = 0, insideSame = 0, outsideDiffering = 0;
    for (int y = 0; y < 200; ++y)
        for (int x = 0; x < 200; ++x) {
            const DWORD p = static_cast<const DWORD*>(bits)[y * 200 + x];
            const bool same = at(screen, x, y) == RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
            if ((x - 100) * (x - 100) + (y - 100) * (y - 100) <= 98 * 98) {
                ++inside;
                insideSame += same;
            } else if (!(x >= 140 && y >= 180) && !same) {
                ++outsideDiffering;
            }
        }
    SelectObject(memory, old);
    DeleteObject(picture);
    DeleteDC(memory);
    EXPECT_EQ(outsideDiffering, 0);
    EXPECT_GE(insideSame * 100, inside * 95) << insideSame << " of " << inside << " pixels inside the ring";
}

TEST_F(RunningClock, CtrlXClosesTheClockWithExitCodeZero) {
    EXPECT_EQ(pressCtrlUntilExit('X'), 0);
}

TEST_F(RunningClock, CloseRequestEndsTheProgramWithExitCodeZero) {
    PostMessageW(window_, WM_CLOSE, 0, 0);
    EXPECT_EQ(exitCode(), 0);
}

}  // namespace
