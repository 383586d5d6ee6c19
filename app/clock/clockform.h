// The clock window: the face layers, the time label, the popup menu and the
// tick that keeps them up to date.
#pragma once

#include <windows.h>

#include <functional>

#include "app/clock/geometry.h"
#include "app/clock/tick.h"
#include "app/info/fortune.h"
#include "framework/control.h"
#include "framework/form.h"
#include "framework/gdi.h"
#include "framework/menu.h"
#include "framework/timer.h"

class TAboutBox;
class TSetupform;

// Face colour until background pictures exist: plain white.
inline constexpr COLORREF kPlainBackground = RGB(255, 255, 255);

class Tclockform : public fw::Form {
public:
    // The settings dialog holds the live settings the clock reads; it only
    // has to exist (not yet be created) when the clock window is made. The
    // About window is the one its menu shows.
    explicit Tclockform(TSetupform& setupform, TAboutBox* aboutBox = nullptr);

    // The layers, bottom to top, and the time label above them.
    fw::Image bgimg{{0, 0, horolo::kFaceSize, horolo::kFaceSize}};
    fw::PaintBox fgimg{{0, 0, horolo::kFaceSize, horolo::kFaceSize}};
    fw::Label tmLabel{155, 187, L"88:88:88"};

    fw::PopupMenu Menu;
    fw::MenuItem& FortuneItem = Menu.add(L"Fortune");
    fw::MenuItem& N2 = Menu.add(L"-");
    fw::MenuItem& Setting = Menu.add(L"&Setting...", fw::Shortcut::Ctrl('S'));
    fw::MenuItem& Help1 = Menu.add(L"&Help");
    fw::MenuItem& hlpContents = Help1.add(L"&Contents");
    fw::MenuItem& About = Help1.add(L"&About...");
    fw::MenuItem& N1 = Menu.add(L"-");
    fw::MenuItem& Close_Btn = Menu.add(L"&Close", fw::Shortcut::Ctrl('X'));

    // The entries behind "Fortune", which it enables while there are any.
    FortuneTeller Fortune;

    fw::Timer TimeTimer;

    // Client width and height the window restores after a border change.
    int faceSize = horolo::kFaceSize;
    // 1 while the title bar is hidden.
    int TitleHidden = 0;
    // hrl_spi.dll while it is loaded (from start-up to close); null without it.
    HMODULE LoaderHandle = nullptr;

    // The off-screen face: background picture with the indicators.
    HBITMAP faceBitmap() const { return faceBitmap_.get(); }
    // The time the face shows (lastHour, lastMinute, lastSecond).
    const horolo::FaceTime& faceTime() const { return ticker_.face(); }

    // The alarm test run last in every tick that does its work.
    std::function<void()> CheckAlarm;

    // The clock window's share of the program's start-up, run once all
    // windows exist: titles and help file, face bitmap and background,
    // border and client size, label placement, tick source, stay-on-top,
    // label colour and visibility, indicators, fortunes and their seed.
    void StartUp();

    void ClockTick(bool force);
    void AppIdle(bool& done);
    void TimeTimerTimer();
    void DrawClock(HDC dc);
    void DrawIndicators();
    void CopyFaceToBackground();
    void FormPaint();
    void FormDblClick();
    void FormClose();
    void SettingClick();
    void FortuneItemClick();
    void hlpContentsClick();
    void AboutClick();
    void Close_BtnClick();

    // Applies the settings dialog's values to the window (after the dialog).
    void ApplySettings();

protected:
    void onPaint(HDC dc) override;
    void onDblClick() override;
    void onClose() override;

private:
    void loadPictureLibrary();
    void unloadPictureLibrary();
    void loadBackground();
    void applyTickSource(const horolo::TickSource& source);
    void refreshTexts(const horolo::FaceTime& t);
    bool labelShownWithoutTitle() const;

    TSetupform& setupform_;
    TAboutBox* aboutBox_;
    fw::BitmapHandle faceBitmap_;
    horolo::ClockTicker ticker_;
};
