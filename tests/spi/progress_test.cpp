// The progress window, ProgressCallback and the fault guard, from inside
// the library's own code.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include "spi_loader/hrl_spi.h"
#include "spi_loader/progress_window.h"
#include "spi_loader/seh_guard.h"

using namespace hrlspi;

namespace {

class Progress : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(StartupLibrary(), 1);
        w = progressWindow();
        ASSERT_NE(w, nullptr);
        ASSERT_NE(w->handle(), nullptr);
        drain();
    }
    void TearDown() override { TerminateLibrary(); }

    // Handles whatever creating or showing the window left in the queue, so
    // that the pump only sees what a test posts.
    void drain() {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
    }
    int range() const { return static_cast<int>(SendMessageA(w->status.handle(), PBM_GETRANGE, FALSE, 0)); }
    int position() const { return static_cast<int>(SendMessageA(w->status.handle(), PBM_GETPOS, 0, 0)); }
    int pending(HWND window) const {
        int n = 0;
        MSG msg;
        while (PeekMessageA(&msg, window, WM_APP, WM_APP, PM_REMOVE)) ++n;
        return n;
    }

    Tprogress* w = nullptr;
};

RECT childRect(HWND parent, HWND child) {
    RECT r;
    GetWindowRect(child, &r);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

}  // namespace

TEST_F(Progress, WindowIsCreatedHiddenWithItsLayout) {
    const HWND h = w->handle();
    EXPECT_FALSE(IsWindowVisible(h));
    wchar_t caption[64] = {};
    GetWindowTextW(h, caption, 64);
    EXPECT_STREQ(caption, L"Loading File...");
    RECT client;
    GetClientRect(h, &client);
    EXPECT_EQ(client.right, 233);
    EXPECT_EQ(client.bottom, 61);
    EXPECT_TRUE(GetWindowLongW(h, GWL_EXSTYLE) & WS_EX_TOPMOST);
    EXPECT_TRUE(GetWindowLongW(h, GWL_STYLE) & WS_SYSMENU);
    RECT frame;
    GetWindowRect(h, &frame);
    EXPECT_LE(std::abs((frame.left + frame.right) / 2 - GetSystemMetrics(SM_CXSCREEN) / 2), 1);
    EXPECT_LE(std::abs((frame.top + frame.bottom) / 2 - GetSystemMetrics(SM_CYSCREEN) / 2), 1);

    const RECT bar = childRect(h, w->status.handle());
    EXPECT_EQ(bar.left, 8);
    EXPECT_EQ(bar.top, 8);
    EXPECT_EQ(bar.right - bar.left, 217);
    EXPECT_EQ(bar.bottom - bar.top, 16);
    const RECT button = childRect(h, w->cancbtn.handle());
    EXPECT_EQ(button.left, 79);
    EXPECT_EQ(button.top, 32);
    EXPECT_EQ(button.right - button.left, 75);
    EXPECT_EQ(button.bottom - button.top, 25);
    GetWindowTextW(w->cancbtn.handle(), caption, 64);
    EXPECT_STREQ(caption, L"中止");
    LOGFONTW font{};
    GetObjectW(reinterpret_cast<HFONT>(SendMessageW(w->cancbtn.handle(), WM_GETFONT, 0, 0)), sizeof font, &font);
    EXPECT_STREQ(font.lfFaceName, L"ＭＳ Ｐゴシック");
    EXPECT_EQ(font.lfHeight, -12);
    EXPECT_EQ(font.lfCharSet, SHIFTJIS_CHARSET);
}

TEST_F(Progress, StartMiddleAndFinalReports) {
    EXPECT_EQ(ProgressCallback(0, 200, 0), 0);
    EXPECT_TRUE(w->shown());
    EXPECT_EQ(range(), 200);
    EXPECT_EQ(position(), 0);
    EXPECT_EQ(ProgressCallback(100, 200, 0), 0);
    EXPECT_TRUE(w->shown());
    EXPECT_EQ(position(), 100);
    EXPECT_EQ(ProgressCallback(200, 200, 0), 0);
    EXPECT_FALSE(w->shown());
    EXPECT_NE(w->handle(), nullptr);
}

TEST_F(Progress, ZeroOfZeroIsAStartReport) {
    EXPECT_EQ(ProgressCallback(0, 0, 0), 0);
    EXPECT_TRUE(w->shown());
}

// Positions far below one pixel of the bar included, and denominators above
// 16 bits: the scale is the plug-in's own.
TEST_F(Progress, BarPositionIsTheNumeratorOfEveryReport) {
    ProgressCallback(0, 1000000, 0);
    EXPECT_EQ(range(), 1000000);
    for (int n : {100, 101, 500000, 500001}) {
        ProgressCallback(n, 1000000, 0);
        EXPECT_EQ(position(), n);
    }
    ProgressCallback(0, 10, 0);  // a new load starts from an empty bar
    EXPECT_EQ(position(), 0);
}

// Reports too small to change the drawn length go in without a repaint;
// the bar still shows every change it can.
TEST_F(Progress, BarShowsThePositionAfterManySmallReports) {
    ProgressCallback(0, 1000, 0);
    for (int n = 1; n <= 500; ++n) ProgressCallback(n, 1000, 0);
    const HWND bar = w->status.handle();
    RECT client;
    GetClientRect(bar, &client);
    const HDC dc = GetDC(bar);
    const COLORREF empty = GetPixel(dc, client.right - 3, client.bottom / 2);
    int filled = 0;
    for (int x = 0; x < client.right; ++x) filled += GetPixel(dc, x, client.bottom / 2) != empty ? 1 : 0;
    ReleaseDC(bar, dc);
    EXPECT_NEAR(filled, client.right / 2, client.right / 10);
}

TEST_F(Progress, DispatchedClickStopsEveryIntermediateReportUntilTheNextStart) {
    ProgressCallback(0, 10, 0);
    drain();
    PostMessageA(w->cancbtn.handle(), BM_CLICK, 0, 0);
    EXPECT_EQ(ProgressCallback(1, 10, 0), 1);  // this report's own pump dispatched the click
    EXPECT_EQ(w->cancelFlag, 1);
    EXPECT_EQ(ProgressCallback(2, 10, 0), 1);
    EXPECT_EQ(ProgressCallback(10, 10, 0), 0);  // final reports return 0 whatever the flag
    EXPECT_FALSE(w->shown());
    PostMessageA(w->cancbtn.handle(), BM_CLICK, 0, 0);
    EXPECT_EQ(ProgressCallback(0, 10, 0), 0);   // start: the click is dispatched, then the flag reset
    EXPECT_EQ(ProgressCallback(1, 10, 0), 0);
}

TEST_F(Progress, PumpTakesOneMessageOfTheProgressWindowPerReport) {
    ProgressCallback(0, 10, 0);
    drain();
    for (int i = 0; i < 3; ++i) PostMessageA(w->handle(), WM_APP, 0, 0);
    ProgressCallback(1, 10, 0);
    EXPECT_EQ(pending(w->handle()), 2);
}

TEST_F(Progress, PumpLeavesOtherWindowsMessagesQueued) {
    const HWND other = CreateWindowExA(0, "STATIC", "", 0, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    ProgressCallback(0, 10, 0);
    drain();
    PostMessageA(other, WM_APP, 0, 0);
    ProgressCallback(1, 10, 0);
    ProgressCallback(2, 10, 0);
    EXPECT_EQ(pending(other), 1);
    DestroyWindow(other);
}

TEST_F(Progress, CloseBoxHidesTheWindowOnly) {
    ProgressCallback(0, 10, 0);
    SendMessageA(w->handle(), WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_FALSE(w->shown());
    EXPECT_TRUE(IsWindow(w->handle()));
}

TEST_F(Progress, TerminateDestroysAndStartupCreatesAgain) {
    const HWND first = w->handle();
    TerminateLibrary();
    EXPECT_FALSE(IsWindow(first));
    EXPECT_EQ(progressWindow(), nullptr);
    EXPECT_EQ(ProgressCallback(0, 10, 0), 0);  // no window: nothing to show, no crash
    ASSERT_EQ(StartupLibrary(), 1);
    w = progressWindow();
    EXPECT_TRUE(IsWindow(w->handle()));
}

TEST_F(Progress, AbortButtonPaintsItsGlyphAndCaption) {
    ProgressCallback(0, 10, 0);
    UpdateWindow(w->handle());
    const HDC dc = GetDC(w->cancbtn.handle());
    int red = 0, dark = 0;
    for (int y = 0; y < 25; ++y)
        for (int x = 0; x < 75; ++x) {
            const COLORREF c = GetPixel(dc, x, y);
            if (GetRValue(c) >= 0xB0 && GetGValue(c) < 0x40 && GetBValue(c) < 0x40) ++red;
            if (c == GetSysColor(COLOR_BTNTEXT)) ++dark;
        }
    ReleaseDC(w->cancbtn.handle(), dc);
    EXPECT_GT(red, 40);   // the round glyph
    EXPECT_GT(dark, 10);  // the caption's strokes
}

namespace {

void nullWrite(void*) {
    volatile int* p = nullptr;
    *p = 1;
}

void divideByZero(void* zero) { *static_cast<volatile int*>(zero) = 10 / *static_cast<volatile int*>(zero); }

void raiseSoftware(void*) { RaiseException(0xE06D7363, 0, 0, nullptr); }

// A plug-in that handles its own fault must never see ours.
void handlesItsOwn(void* result) {
    *static_cast<int*>(result) = hrlspi::guarded([] { nullWrite(nullptr); }) ? 1 : 2;
}

}  // namespace

void* handlerChain() {
    void* head;
    asm volatile("movl %%fs:0, %0" : "=r"(head));
    return head;
}

TEST(FaultGuard, CatchesFaultsAndRestoresTheHandlerChain) {
    void* const before = handlerChain();
    for (int i = 0; i < 200; ++i) EXPECT_FALSE(runGuarded(nullWrite, nullptr));
    int zero = 0;
    EXPECT_FALSE(runGuarded(divideByZero, &zero));
    EXPECT_FALSE(runGuarded(raiseSoftware, nullptr));
    int value = 0;
    EXPECT_TRUE(guarded([&] { value = 7; }));
    EXPECT_EQ(value, 7);
    EXPECT_EQ(handlerChain(), before);
}

TEST(FaultGuard, InnerFramesHandleTheirOwnFaultsFirst) {
    int inner = 0;
    EXPECT_TRUE(runGuarded(handlesItsOwn, &inner));
    EXPECT_EQ(inner, 2);
}
