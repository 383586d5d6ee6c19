#include "app/clock/clockform.h"

#include <algorithm>
#include <vector>

#include "app/clock/placement.h"
#include "app/clock/renderer.h"
#include "app/info/aboutbox.h"
#include "app/info/help.h"
#include "app/settings/ini_values.h"
#include "app/settings/setupform.h"
#include "framework/application.h"
#include "framework/platform.h"
#include "spi_loader/hrl_spi.h"

using namespace horolo;

namespace {

BOOL CALLBACK AddMonitor(HMONITOR, HDC, LPRECT r, LPARAM list) {
    reinterpret_cast<std::vector<ScreenRect>*>(list)->push_back({r->left, r->top, r->right, r->bottom});
    return TRUE;
}

std::vector<ScreenRect> Monitors() {
    std::vector<ScreenRect> monitors;
    EnumDisplayMonitors(nullptr, nullptr, AddMonitor, reinterpret_cast<LPARAM>(&monitors));
    return monitors;
}

ScreenRect PrimaryWorkArea() {
    RECT work{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    return {work.left, work.top, work.right, work.bottom};
}

}  // namespace

Tclockform::Tclockform(TSetupform& setupform, TAboutBox* aboutBox)
    : fw::Form({std::wstring(kAppName), kFaceSize, kFaceSize, fw::BorderStyle::Single, true, false, false}),
      Fortune(FortuneItem, setupform.bgselector),
      setupform_(setupform),
      aboutBox_(aboutBox),
      ticker_({[this] { return takeSnapshot(); }, [this] { repaintHands(); },
               [this](const FaceTime& t) { refreshTexts(t); },
               [this] { if (CheckAlarm) CheckAlarm(); }}) {
    setupform_.LinkClock({*this, BackgroundFile, LoaderHandle, Fortune});
    add(bgimg);
    add(fgimg);
    add(tmLabel);
    bgimg.onDblClick = [this] { FormDblClick(); };
    fgimg.onDblClick = [this] { FormDblClick(); };
    fgimg.onPaint = [this](HDC dc) { DrawClock(dc); };
    setPopupMenu(&Menu);
    // No fortunes until the data file has been read.
    FortuneItem.setEnabled(false);
    FortuneItem.onClick = [this] { FortuneItemClick(); };
    Setting.onClick = [this] { SettingClick(); };
    hlpContents.onClick = [this] { hlpContentsClick(); };
    About.onClick = [this] { AboutClick(); };
    Close_Btn.onClick = [this] { Close_BtnClick(); };
    TimeTimer.onTimer = [this] { TimeTimerTimer(); };
}

Tclockform::~Tclockform() { setupform_.UnlinkClock(); }

void Tclockform::StartUp(const StoredSettings& stored) {
    fw::Application::instance().setTitle(ApplicationTitle());
    fw::Application::instance().setHelpFile(DefaultHelpFilePath());
    setCaption(std::wstring(kAppName));
    loadPictureLibrary(stored);
    const SIZE client = clientSize();
    faceBitmap_ = fw::CompatibleBitmap(client.cx, client.cy);
    StoredSettings shown = stored;
    // An interval the list does not offer is the first one, 1000 ms, not the
    // last (a radio group keeps too large an item at its last: 100 ms).
    if (shown.repaintInterval < 0 || shown.repaintInterval > 2) shown.repaintInterval = 0;
    setupform_.FillControls(shown, TSetupform::StartUpPart::Clock);
    ChooseStartupBackground(stored);
    placeWindow(stored);
    applyTickSource(StartupTickSource(setupform_.cpusave.checked(), setupform_.cpusi.itemIndex()));
    setupform_.susp.setTabVisible(LoaderHandle != nullptr);
    setTopmost(setupform_.Staytop.checked());
    tmLabel.setColor(setupform_.chrcol.color());
    // At start-up the label follows the check box alone, title bar or not.
    tmLabel.setVisible(setupform_.chview.checked());
    DrawIndicators();
}

// The stored place, unless no monitor would show the title bar there; then
// the border, the square client area and the time label in its corner.
void Tclockform::placeWindow(const StoredSettings& stored) {
    moveTo(stored.posX, stored.posY);
    TitleHidden = stored.hideTitle ? 1 : 0;
    setBorderStyle(TitleHidden == 1 ? fw::BorderStyle::None : fw::BorderStyle::Single);
    faceSize = kFaceSize;
    setClientSize(faceSize, faceSize);
    RECT outer{};
    GetWindowRect(handle(), &outer);
    const ScreenPoint place = PlaceOnScreen({stored.posX, stored.posY}, outer.right - outer.left,
                                            outer.bottom - outer.top, GetSystemMetrics(SM_CYCAPTION), Monitors(),
                                            PrimaryWorkArea());
    if (place.x != stored.posX || place.y != stored.posY) moveTo(place.x, place.y);
    tmLabel.setCaption(L"88:88:88");
    const fw::Bounds label = tmLabel.bounds();
    tmLabel.setBounds({kFaceSize - label.width, kFaceSize - label.height, label.width, label.height});
}

void Tclockform::ClockTick(bool force) { ticker_.tick(force); }

void Tclockform::AppIdle(bool& done) {
    ClockTick(false);
    done = false;
}

FaceTime Tclockform::takeSnapshot() {
    const SYSTEMTIME t = fw::platform().localTime();
    snapshotMillisecond_ = t.wMilliseconds;
    return {t.wHour, t.wMinute, t.wSecond};
}

// The tick's own time snapshot tells whether the timer is still in phase.
void Tclockform::TimeTimerTimer() {
    ClockTick(false);
    const unsigned interval = TimeTimer.interval();
    if (OutOfPhase(interval, snapshotMillisecond_))
        TimeTimer.setInterval(interval, DelayToPhase(interval, snapshotMillisecond_));
}

void Tclockform::refreshTexts(const FaceTime& t) {
    const TickTexts texts = TextsForTick(setupform_.chview.checked(), tmLabel.visible(), t);
    if (!texts.applicationTitle) return;
    fw::Application::instance().setTitle(*texts.applicationTitle);
    if (texts.label) tmLabel.setCaption(*texts.label);
    if (texts.caption) setCaption(*texts.caption);
}

void Tclockform::DrawClock(HDC dc) {
    const SIZE client = clientSize();
    DrawHands(dc, faceTime(),
              {setupform_.hrcol.color(), setupform_.mncol.color(), setupform_.sccol.color()},
              client.cx, client.cy);
}

// Only where the hands were and where they go is painted again: the rest of
// the face does not change, and each second's copy stays small.
void Tclockform::repaintHands() {
    if (!handle()) return;
    const SIZE client = clientSize();
    const FaceBox now = HandsBox(ComputeHands(faceTime(), client.cx, client.cy));
    const RECT dirty{std::min(now.left, handsDrawn_.left), std::min(now.top, handsDrawn_.top),
                     std::max(now.right, handsDrawn_.right), std::max(now.bottom, handsDrawn_.bottom)};
    InvalidateRect(handle(), &dirty, FALSE);
    handsDrawn_ = now;
    fgimg.update();
}

void Tclockform::DrawIndicators() {
    if (!faceBitmap_) return;
    const SIZE client = clientSize();
    const fw::BitmapCanvas face(faceBitmap_.get());
    horolo::DrawIndicators(face.get(), setupform_.indtyp.itemIndex(), setupform_.indcol.color(), client.cx,
                           client.cy);
    if (!handle()) return;
    const fw::WindowDC window(handle());
    BitBlt(window.get(), 0, 0, client.cx, client.cy, face.get(), 0, 0, SRCCOPY);
}

void Tclockform::CopyFaceToBackground() {
    if (!faceBitmap_) return;
    const SIZE client = clientSize();
    bgimg.ensureBitmap();
    CopyBitmap(faceBitmap_.get(), bgimg.bitmap(), client.cx, client.cy);
    bgimg.invalidate();
}

void Tclockform::applyTickSource(const TickSource& source) {
    fw::Application& app = fw::Application::instance();
    SwitchTickSource(source, {[&app] { app.clearOnIdle(); },
                              [this](unsigned interval) {
                                  TimeTimer.setInterval(
                                      interval, DelayToPhase(interval, fw::platform().localTime().wMilliseconds));
                              },
                              [this, &app] { app.setOnIdle([this](bool& done) { AppIdle(done); }); }});
}

bool Tclockform::labelShownWithoutTitle() const {
    return setupform_.chview.checked() && borderStyle() == fw::BorderStyle::None;
}

void Tclockform::FormPaint() {
    CopyFaceToBackground();
    ClockTick(true);
}

void Tclockform::FormDblClick() {
    TitleHidden = TitleHidden == 1 ? 0 : 1;
    setBorderStyle(TitleHidden == 1 ? fw::BorderStyle::None : fw::BorderStyle::Single);
    setClientSize(faceSize, faceSize);
    tmLabel.setVisible(labelShownWithoutTitle());
}

void Tclockform::ApplySettings() {
    setTopmost(setupform_.Staytop.checked());
    setCaption(std::wstring(kAppName));
    fw::Application::instance().setTitle(ApplicationTitle());
    tmLabel.setColor(setupform_.chrcol.color());
    tmLabel.setVisible(labelShownWithoutTitle());
    applyTickSource(AppliedTickSource(setupform_.cpusave.checked(), setupform_.cpusi.itemIndex()));
    ChooseAppliedBackground();
    DrawIndicators();
    CopyFaceToBackground();
    ClockTick(true);
}

// A shortcut that reaches the clock through the dialog's own loop finds the
// dialog up and does nothing. A close request meanwhile has ended the dialog
// as Cancel: the window then closes instead of taking up the settings.
void Tclockform::SettingClick() {
    if (setupform_.modal()) return;
    closeAfterSetting_ = false;
    setupform_.showModal();
    if (closeAfterSetting_) {
        close();
        return;
    }
    ApplySettings();
}

bool Tclockform::onCloseQuery() {
    if (!setupform_.modal()) return true;
    if (setupform_.close()) closeAfterSetting_ = true;
    return false;
}

void Tclockform::FormClose() {
    fw::Application::instance().clearOnIdle();
    if (SaveOnClose) SaveOnClose();
    faceBitmap_.reset();
    unloadPictureLibrary();
}

// The picture library is optional: without it only bitmaps serve as
// pictures and the plug-in page stays hidden. Only the copy beside the
// program is taken: through the search order a missing one would be looked
// for in the current directory too, where anybody may have put a file of
// that name.
void Tclockform::loadPictureLibrary(const StoredSettings& stored) {
    LoaderHandle = LoadLibraryExA(fw::ProgramFolderFile("hrl_spi.dll").c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
    if (aboutBox_) aboutBox_->withsusie.setVisible(LoaderHandle != nullptr);
    if (!LoaderHandle) return;
    if (auto startup = fw::Export<hrlspi::StartupLibraryFn>(LoaderHandle, "StartupLibrary")) startup();
    // The plug-ins of the stored directory fill the picture filter and the
    // format list. Without one, those of the program's own folder (the
    // shipped plug-in) fill the filter: never the current directory, where
    // anybody may have put a plug-in that would then run.
    const std::string shown = setupform_.dirsel.directory();
    if (const auto drive = ini::PluginDirectoryDrive(stored.spiDrive, stored.spiDirectory)) {
        setupform_.drvsel.setDrive(*drive);
        setupform_.dirsel.setDirectory(stored.spiDirectory);
        // A change of directory has run the handler already.
        if (setupform_.dirsel.directory() == shown) setupform_.dirselChange();
        return;
    }
    const std::string folder = fw::ProgramFolderFile("");
    if (!setupform_.dirsel.setDirectory(folder) || setupform_.dirsel.directory() == shown)
        setupform_.UpdateImageFilter(folder);
}

void Tclockform::unloadPictureLibrary() {
    if (!LoaderHandle) return;
    if (auto terminate = fw::Export<hrlspi::TerminateLibraryFn>(LoaderHandle, "TerminateLibrary")) terminate();
    FreeLibrary(LoaderHandle);
    LoaderHandle = nullptr;
}

void Tclockform::FortuneItemClick() { Fortune.ShowFortune(); }

void Tclockform::hlpContentsClick() { ShowHelpContents(handle(), fw::Application::instance().helpFile()); }

void Tclockform::AboutClick() {
    if (aboutBox_) aboutBox_->showModal();
}

void Tclockform::Close_BtnClick() { close(); }

void Tclockform::onPaint(HDC) { FormPaint(); }
void Tclockform::onDblClick() { FormDblClick(); }
void Tclockform::onClose() { FormClose(); }
