#include "app/clock/clockform.h"

#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <vector>

#include "app/settings/setupform.h"
#include "framework/application.h"
#include "framework/platform.h"
#include "tests/framework/test_support.h"

namespace {

using horolo::FaceTime;

// A platform whose clock the test sets.
class FakeClock : public fwtest::RecordingPlatform {
public:
    FakeClock() { set(8, 0, 0); }
    void set(WORD h, WORD m, WORD s) { setTime(h, m, s); }
};

// Client-area pixels of a window as COLORREFs.
std::vector<COLORREF> ReadClient(HWND window, int w, int h) {
    const fw::WindowDC source(window);
    const fw::BitmapHandle copy(CreateCompatibleBitmap(source.get(), w, h));
    {
        const fw::BitmapCanvas canvas(copy.get());
        BitBlt(canvas.get(), 0, 0, w, h, source.get(), 0, 0, SRCCOPY);
    }
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), w, -h, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    std::vector<DWORD> raw(static_cast<size_t>(w) * h);
    GetDIBits(source.get(), copy.get(), 0, h, raw.data(), &info, DIB_RGB_COLORS);
    std::vector<COLORREF> out(raw.size());
    for (size_t i = 0; i < raw.size(); ++i) out[i] = RGB((raw[i] >> 16) & 0xFF, (raw[i] >> 8) & 0xFF, raw[i] & 0xFF);
    return out;
}

COLORREF BitmapPixel(HBITMAP bitmap, int x, int y) {
    const fw::BitmapCanvas canvas(bitmap);
    return GetPixel(canvas.get(), x, y);
}

class ClockWindow : public ::testing::Test {
protected:
    static constexpr COLORREF kHour = RGB(200, 0, 0);
    static constexpr COLORREF kMinute = RGB(0, 160, 0);
    static constexpr COLORREF kSecond = RGB(0, 0, 220);
    static constexpr COLORREF kIndicator = RGB(30, 60, 90);

    void SetUp() override { clock.CheckAlarm = [this] { ++alarmChecks; }; }

    // The program's start-up order: clock window, settings dialog, then
    // the start-up routine once both exist, with the test's colours and the
    // switches the test set in the dialog as the stored settings.
    void start() {
        clock.create();
        setup.create();
        horolo::StoredSettings stored;
        stored.hourColor = kHour;
        stored.minuteColor = kMinute;
        stored.secondColor = kSecond;
        stored.indicatorColor = kIndicator;
        stored.character = setup.chview.checked();
        stored.indicatorType = setup.indtyp.itemIndex();
        stored.cpuSave = setup.cpusave.checked();
        stored.repaintInterval = setup.cpusi.itemIndex();
        clock.StartUp(stored);
    }

    void TearDown() override {
        if (clock.handle()) clock.FormClose();
        app.clearOnIdle();
    }

    std::wstring label() const { return clock.tmLabel.caption(); }

    fw::Application& app = fw::Application::instance();
    FakeClock fake;
    fw::PlatformOverride useFake{fake};
    TSetupform setup;
    Tclockform clock{setup};
    int alarmChecks = 0;
};

TEST_F(ClockWindow, StartUpSizesTheFaceAndPlacesTheLabelInTheCorner) {
    start();
    EXPECT_EQ(clock.clientSize().cx, 200);
    EXPECT_EQ(clock.clientSize().cy, 200);
    EXPECT_EQ(clock.caption(), L"Horolo");
    EXPECT_EQ(app.title(), L"Horolo Version 1.00-Release");
    const fw::Bounds b = clock.tmLabel.bounds();
    EXPECT_GT(b.width, 0);
    EXPECT_GT(b.height, 0);
    EXPECT_EQ(b.left + b.width, 200);
    EXPECT_EQ(b.top + b.height, 200);
    EXPECT_EQ(label(), L"88:88:88");
    EXPECT_FALSE(clock.tmLabel.visible());
    ASSERT_NE(clock.faceBitmap(), nullptr);
    // Bars in the indicator colour on the picture, their end points not set.
    EXPECT_EQ(BitmapPixel(clock.faceBitmap(), 100, 8), kIndicator);
    EXPECT_EQ(BitmapPixel(clock.faceBitmap(), 192, 100), kIndicator);
    EXPECT_NE(BitmapPixel(clock.faceBitmap(), 100, 3), kIndicator);
}

TEST_F(ClockWindow, TicksReadTheTimeThroughThePlatformAndSkipAnUnchangedSecond) {
    setup.chview.setChecked(true);
    start();
    clock.ApplySettings();  // title bar shown: the label hides, the caption carries the time
    alarmChecks = 0;
    fake.set(9, 5, 7);
    clock.ClockTick(false);
    EXPECT_EQ(clock.faceTime(), (FaceTime{9, 5, 7}));
    EXPECT_EQ(clock.caption(), L"Horolo [09:05:07]");
    EXPECT_EQ(app.title(), L"Horolo [09:05:07]");
    EXPECT_EQ(alarmChecks, 1);

    clock.setCaption(L"marker");
    clock.ClockTick(false);
    EXPECT_EQ(clock.caption(), L"marker");
    EXPECT_EQ(alarmChecks, 1);

    clock.ClockTick(true);
    EXPECT_EQ(clock.caption(), L"Horolo [09:05:07]");
    EXPECT_EQ(alarmChecks, 2);
}

TEST_F(ClockWindow, LabelCarriesTheTimeWhenVisibleAndTheCaptionStays) {
    setup.chview.setChecked(true);
    start();  // at start-up the label shows with the title bar
    EXPECT_TRUE(clock.tmLabel.visible());
    fake.set(23, 59, 58);
    clock.ClockTick(false);
    EXPECT_EQ(label(), L"23:59:58");
    EXPECT_EQ(clock.caption(), L"Horolo");
    EXPECT_EQ(app.title(), L"Horolo [23:59:58]");
}

TEST_F(ClockWindow, WithoutTimeTextTheTitlesKeepTheirTexts) {
    start();
    fake.set(1, 2, 3);
    clock.ClockTick(false);
    clock.ClockTick(true);
    EXPECT_EQ(clock.caption(), L"Horolo");
    EXPECT_EQ(app.title(), L"Horolo Version 1.00-Release");
    EXPECT_EQ(label(), L"88:88:88");
    EXPECT_EQ(alarmChecks, 2);
}

TEST_F(ClockWindow, TitleToggleKeepsTheClientAreaAndSetsTheLabel) {
    setup.chview.setChecked(true);
    start();
    for (int round = 0; round < 2; ++round) {
        clock.FormDblClick();
        EXPECT_EQ(clock.TitleHidden, 1);
        EXPECT_EQ(clock.borderStyle(), fw::BorderStyle::None);
        EXPECT_EQ(clock.clientSize().cx, 200);
        EXPECT_EQ(clock.clientSize().cy, 200);
        EXPECT_TRUE(clock.tmLabel.visible());
        clock.FormDblClick();
        EXPECT_EQ(clock.TitleHidden, 0);
        EXPECT_EQ(clock.borderStyle(), fw::BorderStyle::Single);
        EXPECT_EQ(clock.clientSize().cx, 200);
        EXPECT_EQ(clock.clientSize().cy, 200);
        EXPECT_FALSE(clock.tmLabel.visible());
    }
    RECT r{};
    GetClientRect(clock.handle(), &r);
    EXPECT_EQ(r.right, 200);
    EXPECT_EQ(r.bottom, 200);
}

TEST_F(ClockWindow, DoubleClickOnTheLabelDoesNothingElsewhereToggles) {
    setup.chview.setChecked(true);
    start();
    clock.show();
    const fw::Bounds b = clock.tmLabel.bounds();
    SendMessageW(clock.handle(), WM_LBUTTONDBLCLK, MK_LBUTTON,
                 MAKELPARAM(b.left + b.width / 2, b.top + b.height / 2));
    EXPECT_EQ(clock.TitleHidden, 0);
    SendMessageW(clock.handle(), WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(50, 50));
    EXPECT_EQ(clock.TitleHidden, 1);
    EXPECT_EQ(clock.clientSize().cx, 200);
}

TEST_F(ClockWindow, TickSourceFollowsTheEconomySettings) {
    start();
    EXPECT_TRUE(app.hasIdleHandler());
    EXPECT_EQ(clock.TimeTimer.interval(), 0u);

    setup.cpusave.setChecked(true);
    setup.cpusi.setItemIndex(1);
    clock.ApplySettings();
    EXPECT_FALSE(app.hasIdleHandler());
    EXPECT_EQ(clock.TimeTimer.interval(), 500u);

    setup.cpusi.setItemIndex(-1);
    clock.ApplySettings();
    EXPECT_FALSE(app.hasIdleHandler());
    EXPECT_EQ(clock.TimeTimer.interval(), 500u);

    setup.cpusave.setChecked(false);
    clock.ApplySettings();
    EXPECT_TRUE(app.hasIdleHandler());
    EXPECT_EQ(clock.TimeTimer.interval(), 0u);
}

TEST_F(ClockWindow, IdleHandlerDrivesTheTickFromTheMessageLoop) {
    start();
    // Each loop step handles one waiting message or, with none, idles.
    auto stepUntil = [&](const FaceTime& t) {
        for (int i = 0; i < 1000 && clock.faceTime() != t; ++i) app.loopStep();
        return clock.faceTime() == t;
    };
    fake.set(10, 0, 0);
    ASSERT_TRUE(stepUntil({10, 0, 0}));
    const int afterFirst = alarmChecks;
    for (int i = 0; i < 10; ++i) app.loopStep();
    EXPECT_EQ(alarmChecks, afterFirst);
    fake.set(10, 0, 1);
    ASSERT_TRUE(stepUntil({10, 0, 1}));
    EXPECT_EQ(alarmChecks, afterFirst + 1);
}

TEST_F(ClockWindow, TimerDrivesTheTickInEconomyMode) {
    setup.cpusave.setChecked(true);
    setup.cpusi.setItemIndex(2);
    start();
    fake.set(11, 12, 13);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (clock.faceTime() != FaceTime{11, 12, 13} && std::chrono::steady_clock::now() < deadline) app.loopStep();
    EXPECT_EQ(clock.faceTime(), (FaceTime{11, 12, 13}));
}

TEST_F(ClockWindow, ForcedTickRepaintsTheHandsOnTheWindow) {
    start();
    clock.show();
    app.processMessages();  // first paint: face copied to the background layer
    ASSERT_NE(clock.bgimg.bitmap(), nullptr);

    fake.set(3, 0, 30);
    clock.ClockTick(true);
    auto pixels = ReadClient(clock.handle(), 200, 200);
    auto at = [&](int x, int y) { return pixels[y * 200 + x]; };
    EXPECT_EQ(at(140, 100), kHour);          // hour hand towards three
    EXPECT_EQ(at(102, 61), kMinute);         // minute hand up, three degrees on
    EXPECT_EQ(at(100, 140), kSecond);        // second hand down
    EXPECT_EQ(at(100, 8), kIndicator);       // indicator beneath
    EXPECT_EQ(at(60, 100), BitmapPixel(clock.faceBitmap(), 60, 100));  // the face shows through

    fake.set(9, 0, 30);
    clock.ClockTick(false);
    pixels = ReadClient(clock.handle(), 200, 200);
    EXPECT_EQ(at(60, 100), kHour);           // the hand moved to nine
    EXPECT_EQ(at(140, 100), BitmapPixel(clock.faceBitmap(), 140, 100));  // and the old one is gone
}

// The first paint, before any layer covers the window, copies the face to
// the background layer and forces a tick: the texts and the alarm check run
// although the second has not changed.
TEST_F(ClockWindow, FirstPaintCopiesTheFaceAndForcesATick) {
    setup.chview.setChecked(true);
    start();
    fake.set(9, 5, 7);
    clock.ClockTick(false);
    clock.tmLabel.setCaption(L"marker");
    const int checks = alarmChecks;
    ASSERT_EQ(clock.bgimg.bitmap(), nullptr);
    clock.show();
    app.processMessages();
    EXPECT_EQ(alarmChecks, checks + 1);
    EXPECT_EQ(label(), L"09:05:07");
    ASSERT_NE(clock.bgimg.bitmap(), nullptr);
    EXPECT_EQ(BitmapPixel(clock.bgimg.bitmap(), 100, 8), kIndicator);
}

TEST_F(ClockWindow, CloseRemovesTheIdleHandlerAndFreesTheFace) {
    start();
    EXPECT_TRUE(app.hasIdleHandler());
    clock.FormClose();
    EXPECT_FALSE(app.hasIdleHandler());
    EXPECT_EQ(clock.faceBitmap(), nullptr);
}

// hrl_spi.dll lies beside the program (and this test): start-up loads and
// starts it and shows the plug-in page; close ends and unloads it.
TEST_F(ClockWindow, PictureLibraryLivesFromStartUpToClose) {
    EXPECT_FALSE(setup.susp.tabVisible());
    start();
    ASSERT_NE(clock.LoaderHandle, nullptr);
    EXPECT_EQ(GetModuleHandleA("hrl_spi.dll"), clock.LoaderHandle);
    EXPECT_TRUE(setup.susp.tabVisible());
    clock.FormClose();
    EXPECT_EQ(clock.LoaderHandle, nullptr);
    EXPECT_EQ(GetModuleHandleA("hrl_spi.dll"), nullptr);
}

TEST_F(ClockWindow, NoGdiObjectsLeakOverRepaintsAndSettingsApplies) {
    setup.chview.setChecked(true);
    setup.indtyp.setItemIndex(2);
    start();
    clock.show();
    app.processMessages();
    clock.ApplySettings();
    const int before = fw::GdiObjectCount();
    for (int i = 0; i < 1000; ++i) {
        fake.set(static_cast<WORD>(i / 3600 % 24), static_cast<WORD>(i / 60 % 60), static_cast<WORD>(i % 60));
        clock.ClockTick(true);
    }
    for (int i = 0; i < 100; ++i) {
        setup.indtyp.setItemIndex(i % 3);
        clock.ApplySettings();
    }
    app.processMessages();
    EXPECT_EQ(fw::GdiObjectCount(), before);
}

TEST(ClockWindowRealTime, TickTakesTheSystemsLocalTime) {
    TSetupform setup;
    Tclockform clock(setup);
    clock.create();
    setup.create();
    clock.StartUp();
    SYSTEMTIME before{}, after{};
    GetLocalTime(&before);
    clock.ClockTick(true);
    GetLocalTime(&after);
    const int seconds = clock.faceTime().hour * 3600 + clock.faceTime().minute * 60 + clock.faceTime().second;
    const int lo = before.wHour * 3600 + before.wMinute * 60 + before.wSecond;
    const int hi = after.wHour * 3600 + after.wMinute * 60 + after.wSecond;
    if (lo <= hi) {  // not across midnight
        EXPECT_GE(seconds, lo);
        EXPECT_LE(seconds, hi);
    }
    clock.FormClose();
}

}  // namespace
