// The message loops: idle handler, modal loop, timers, error reports, close.
#include "framework/application.h"
#include "framework/error.h"
#include "framework/form.h"
#include "framework/timer.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace {

using fwtest::PumpFor;
using fwtest::PumpUntil;
using fwtest::RecordingPlatform;

class PlainForm : public fw::Form {
public:
    explicit PlainForm(const wchar_t* caption = L"plain") : fw::Form({caption, 120, 80, fw::BorderStyle::Single}) {}
    int closes = 0;
    std::function<void()> whenClosed;

protected:
    void onClose() override {
        ++closes;
        if (whenClosed) whenClosed();
    }
};

class ThrowingForm : public PlainForm {
protected:
    void onDblClick() override { throw fw::Error(L"二重クリックの失敗"); }
};

class LoopTest : public testing::Test {
protected:
    void SetUp() override { fw::Application::instance().setTitle(L"Horolo test"); }
    void TearDown() override { fw::Application::instance().clearOnIdle(); }
};

TEST_F(LoopTest, ModalLoopKeepsIdleHandlerAndTimersRunningAndDisablesOtherForms) {
    PlainForm owner(L"owner");
    owner.show();
    PlainForm dialog(L"dialog");
    int idleCalls = 0;
    int ticks = 0;
    bool ownerDisabledMeanwhile = false;
    fw::Timer timer(5, [&] { ++ticks; });
    fw::Application::instance().setOnIdle([&](bool& done) {
        ++idleCalls;
        done = false;  // call again at once
        ownerDisabledMeanwhile = !IsWindowEnabled(owner.handle());
        if (idleCalls >= 50 && ticks >= 3) dialog.setModalResult(fw::mrOk);
    });

    EXPECT_EQ(dialog.showModal(), fw::mrOk);

    EXPECT_GE(idleCalls, 50);
    EXPECT_GE(ticks, 3);
    EXPECT_TRUE(ownerDisabledMeanwhile);
    EXPECT_TRUE(IsWindowEnabled(owner.handle()));
    EXPECT_FALSE(dialog.visible());
    EXPECT_FALSE(IsWindowVisible(dialog.handle()));
    EXPECT_EQ(dialog.closes, 1);  // onClose runs once, however the loop ends
}

TEST_F(LoopTest, IdleHandlerThatIsDoneLetsTheLoopWaitForMessages) {
    PlainForm dialog;
    int idleCalls = 0;
    fw::Timer closer(30, [&] { dialog.setModalResult(fw::mrOk); });
    fw::Application::instance().setOnIdle([&](bool&) { ++idleCalls; });
    EXPECT_EQ(dialog.showModal(), fw::mrOk);
    // Waiting, the loop idles once per batch of messages, not continuously.
    EXPECT_LT(idleCalls, 1000);
}

TEST_F(LoopTest, ModalResultSetByAnIdleHandlerThatIsDoneEndsTheLoopWithoutWaiting) {
    PlainForm dialog;
    bool rescued = false;
    fw::Timer rescue(3000, [&] {
        rescued = true;
        dialog.setModalResult(fw::mrCancel);
    });
    fw::Application::instance().setOnIdle([&](bool&) { dialog.setModalResult(fw::mrOk); });
    EXPECT_EQ(dialog.showModal(), fw::mrOk);
    EXPECT_FALSE(rescued);
}

TEST_F(LoopTest, ClosingAModalFormEndsItsLoopWithCancelAndRunsOnCloseOnce) {
    PlainForm dialog;
    fw::Timer closer(10, [&] { PostMessageW(dialog.handle(), WM_CLOSE, 0, 0); });
    EXPECT_EQ(dialog.showModal(), fw::mrCancel);
    EXPECT_EQ(dialog.closes, 1);
    EXPECT_TRUE(IsWindow(dialog.handle()));  // a modal form is hidden, not destroyed
}

TEST_F(LoopTest, ClosingAnotherFormHidesIt) {
    PlainForm form;
    form.show();
    form.close();
    EXPECT_EQ(form.closes, 1);
    EXPECT_FALSE(form.visible());
    EXPECT_TRUE(IsWindow(form.handle()));
}

TEST_F(LoopTest, RunEndsWhenTheMainFormIsClosedAndReturnsZero) {
    PlainForm main(L"main");
    int ticks = 0;
    fw::Timer timer(5, [&] {
        if (++ticks == 3) PostMessageW(main.handle(), WM_CLOSE, 0, 0);
    });
    EXPECT_EQ(fw::Application::instance().run(main), 0);
    EXPECT_EQ(main.closes, 1);
    EXPECT_EQ(main.handle(), nullptr);  // the main form is destroyed
    EXPECT_EQ(fw::Application::instance().mainForm(), nullptr);
}

TEST_F(LoopTest, MainFormClosedDuringAModalLoopEndsBothLoops) {
    PlainForm main(L"main");
    PlainForm dialog(L"dialog");
    int result = -1;
    main.whenClosed = [] {};
    fw::Timer opener(5, [&] {
        opener.setInterval(0);
        fw::Timer closer(5, [&] { main.close(); });
        result = dialog.showModal();
    });
    EXPECT_EQ(fw::Application::instance().run(main), 0);
    EXPECT_EQ(result, fw::mrCancel);
}

TEST_F(LoopTest, MinimizingTheMainFormMinimizesTheApplicationWindowAndRestoringShowsItAgain) {
    PlainForm main(L"main");
    HWND application = fw::Application::instance().handle();
    bool iconic = false, hiddenWhileIconic = false, shownAfterRestore = false;
    fw::Timer driver(5, [&] {
        driver.setInterval(0);
        SendMessageW(main.handle(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
        iconic = IsIconic(application);
        hiddenWhileIconic = !IsWindowVisible(main.handle());
        ShowWindow(application, SW_RESTORE);
        shownAfterRestore = IsWindowVisible(main.handle());
        main.close();
    });
    fw::Application::instance().run(main);
    EXPECT_TRUE(iconic);
    EXPECT_TRUE(hiddenWhileIconic);
    EXPECT_TRUE(shownAfterRestore);
}

TEST_F(LoopTest, TimerIntervalZeroStopsIt) {
    int ticks = 0;
    fw::Timer timer(5, [&] { ++ticks; });
    ASSERT_TRUE(PumpUntil([&] { return ticks >= 2; }));
    timer.setInterval(0);
    EXPECT_EQ(timer.interval(), 0u);
    const int stoppedAt = ticks;
    PumpFor(100);
    EXPECT_EQ(ticks, stoppedAt);
    timer.setInterval(5);
    EXPECT_TRUE(PumpUntil([&] { return ticks > stoppedAt; }));
}

// A minute's timer whose first call comes after 20 ms: the first delay is
// used once, and the interval stays the one asked for.
TEST_F(LoopTest, TimerFirstDelayComesOnceAndTheIntervalStays) {
    int ticks = 0;
    fw::Timer timer;
    timer.onTimer = [&] { ++ticks; };
    timer.setInterval(60000, 20);
    EXPECT_EQ(timer.interval(), 60000u);
    ASSERT_TRUE(PumpUntil([&] { return ticks == 1; }));
    PumpFor(200);
    EXPECT_EQ(ticks, 1);
    EXPECT_EQ(timer.interval(), 60000u);
}

TEST_F(LoopTest, ExceptionInATimerHandlerIsReportedAndTheLoopGoesOn) {
    RecordingPlatform fake;
    fw::PlatformOverride use(fake);
    int calls = 0;
    fw::Timer failing(5, [&] {
        ++calls;
        throw fw::Error(L"設定ファイルが読めません");
    });
    ASSERT_TRUE(PumpUntil([&] { return fake.boxes.size() >= 2; }));
    failing.setInterval(0);
    EXPECT_GE(calls, 2);
    EXPECT_EQ(fake.boxes[0].text, L"設定ファイルが読めません.");
    EXPECT_EQ(fake.boxes[0].caption, L"Horolo test");
    EXPECT_EQ(fake.boxes[0].type, static_cast<UINT>(MB_ICONSTOP | MB_OK));
}

TEST_F(LoopTest, ExceptionInAWindowHandlerIsReportedAndTheWindowLivesOn) {
    RecordingPlatform fake;
    fw::PlatformOverride use(fake);
    ThrowingForm form;
    form.create();
    SendMessageW(form.handle(), WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(10, 10));
    SendMessageW(form.handle(), WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(10, 10));
    ASSERT_EQ(fake.boxes.size(), 2u);
    EXPECT_EQ(fake.boxes[1].text, L"二重クリックの失敗.");
    EXPECT_TRUE(IsWindow(form.handle()));
}

TEST_F(LoopTest, ExceptionInTheIdleHandlerIsReported) {
    RecordingPlatform fake;
    fw::PlatformOverride use(fake);
    PlainForm dialog;
    int idleCalls = 0;
    fw::Application::instance().setOnIdle([&](bool& done) {
        done = false;
        if (++idleCalls == 3) dialog.setModalResult(fw::mrOk);
        if (idleCalls <= 2) throw std::runtime_error("idle failed");
    });
    EXPECT_EQ(dialog.showModal(), fw::mrOk);
    ASSERT_EQ(fake.boxes.size(), 2u);
    EXPECT_EQ(fake.boxes[0].text, L"idle failed.");
}

BOOL CALLBACK FindIconControl(HWND child, LPARAM param) {
    if ((GetWindowLongPtrW(child, GWL_STYLE) & SS_TYPEMASK) != SS_ICON) return TRUE;
    *reinterpret_cast<HICON*>(param) = reinterpret_cast<HICON>(SendMessageW(child, STM_GETICON, 0, 0));
    return FALSE;
}

// The icon a message box shows (from its icon control).
HICON BoxIcon(HWND box) {
    HICON icon = nullptr;
    EnumChildWindows(box, FindIconControl, reinterpret_cast<LPARAM>(&icon));
    return icon;
}

TEST_F(LoopTest, ReportShowsARealMessageBoxThatClosesWithOk) {
    fw::Application::instance().setTitle(L"Horolo real box");
    std::wstring shownText;
    HICON shownIcon = nullptr;
    // The box runs its own message loop, which still dispatches our timer.
    fw::Timer closer(20, [&] {
        HWND box = FindWindowW(L"#32770", L"Horolo real box");
        if (!box) return;
        wchar_t text[256] = {};
        GetDlgItemTextW(box, 0xFFFF, text, 256);
        shownText = text;
        shownIcon = BoxIcon(box);
        PostMessageW(box, WM_COMMAND, IDOK, 0);
    });
    try {
        throw fw::Error(L"本物の箱");
    } catch (...) {
        fw::ReportException();
    }
    EXPECT_EQ(shownText, L"本物の箱.");
    EXPECT_EQ(shownIcon, LoadIconW(nullptr, reinterpret_cast<LPCWSTR>(IDI_HAND)));
}

TEST(PlatformOverride, RestoresThePreviousPlatform) {
    fw::Platform* real = &fw::platform();
    {
        RecordingPlatform fake;
        fw::PlatformOverride use(fake);
        EXPECT_EQ(&fw::platform(), &fake);
        {
            RecordingPlatform inner;
            fw::PlatformOverride useInner(inner);
            EXPECT_EQ(&fw::platform(), &inner);
        }
        EXPECT_EQ(&fw::platform(), &fake);
    }
    EXPECT_EQ(&fw::platform(), real);
    EXPECT_NE(dynamic_cast<fw::RealPlatform*>(real), nullptr);
}

TEST(Application, TitleIsTheApplicationWindowCaption) {
    fw::Application& application = fw::Application::instance();
    application.setTitle(L"Horolo [09:05:07]");
    wchar_t text[64] = {};
    GetWindowTextW(application.handle(), text, 64);
    EXPECT_STREQ(text, L"Horolo [09:05:07]");
    EXPECT_EQ(application.title(), L"Horolo [09:05:07]");
}

}  // namespace
