// The clock window: the face layers, the time label, the popup menu and the
// tick that keeps them up to date.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

#include "app/clock/geometry.h"
#include "app/clock/tick.h"
#include "app/info/fortune.h"
#include "app/settings/stored_settings.h"
#include "framework/control.h"
#include "framework/graphic_controls.h"
#include "framework/form.h"
#include "framework/gdi.h"
#include "framework/menu.h"
#include "framework/timer.h"

class TAboutBox;
class TSetupform;

class Tclockform : public fw::Form {
public:
    // The settings dialog holds the live settings the clock reads; it only
    // has to exist (not yet be created) when the clock window is made. The
    // About window is the one its menu shows.
    explicit Tclockform(TSetupform& setupform, TAboutBox* aboutBox = nullptr);
    ~Tclockform() override;

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
    // The background's picture file (an ANSI path); empty while a built-in
    // picture is shown.
    std::string BackgroundFile;

    // The off-screen face: background picture with the indicators.
    HBITMAP faceBitmap() const { return faceBitmap_.get(); }
    // The time the face shows (lastHour, lastMinute, lastSecond).
    const horolo::FaceTime& faceTime() const { return ticker_.face(); }

    // The alarm test run last in every tick that does its work.
    std::function<void()> CheckAlarm;
    // Writes the settings file while the window closes, once the tick has
    // stopped and before the face and the picture library go.
    std::function<void()> SaveOnClose;

    // The clock window's share of the program's start-up, run once all
    // windows exist, from the values of the settings file (a first start's
    // without one): titles and help file, the picture library and its
    // plug-in directory, face bitmap, the display settings into the
    // settings dialog, background, position, border and client size, label
    // placement, tick source, stay-on-top, label colour and visibility,
    // indicators.
    void StartUp(const horolo::StoredSettings& stored = {});

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

    // Draws a picture file into the face: a bitmap file directly, any other
    // format through hrl_spi; stretched over the face or fitted on the blank
    // colour. False (after an error box for an unknown format or an
    // unreadable bitmap file) when nothing was drawn.
    bool LoadBackgroundFile(const std::string& name, bool stretch, COLORREF blank);
    // The background at start-up, from the stored values ("Background",
    // "Version", "Resource", "StretchMode", "BackSpace"): the picture file,
    // or the built-in picture of the stored item; "IMAGE0" when either fails.
    void ChooseStartupBackground(const horolo::StoredSettings& stored);
    // The background after the settings dialog: BackgroundFile with the
    // dialog's stretch and blank colour, or the selector's built-in picture.
    void ChooseAppliedBackground();

protected:
    void onPaint(HDC dc) override;
    void onDblClick() override;
    // While the settings dialog is up, ends it as Cancel first.
    bool onCloseQuery() override;
    void onClose() override;

private:
    void loadPictureLibrary(const horolo::StoredSettings& stored);
    void placeWindow(const horolo::StoredSettings& stored);
    void unloadPictureLibrary();
    void showBuiltInPicture(int item);
    bool drawPluginPicture(HDC face, const std::string& name, bool stretch);
    void showPictureFileOrFallback(bool stretch, COLORREF blank);
    horolo::FaceTime takeSnapshot();
    void repaintHands();
    void applyTickSource(const horolo::TickSource& source);
    void refreshTexts(const horolo::FaceTime& t);
    bool labelShownWithoutTitle() const;

    TSetupform& setupform_;
    TAboutBox* aboutBox_;
    fw::BitmapHandle faceBitmap_;
    horolo::ClockTicker ticker_;
    int snapshotMillisecond_ = 0;  // of the last time snapshot
    // A close request came while the settings dialog was up.
    bool closeAfterSetting_ = false;
    // Where the hands were last drawn (all of the face before the first time).
    horolo::FaceBox handsDrawn_{0, 0, horolo::kFaceSize, horolo::kFaceSize};
};
