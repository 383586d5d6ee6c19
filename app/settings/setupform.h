// The settings dialog. Its controls are the live store of most settings:
// the start-up load writes into them, the clock reads them at each use, the
// save at close reads them back. Each member's initialiser is its row of the
// layout: position and size (left, top, width, height, in pixels within its
// page or group box), caption or items, and the value it holds before any
// setting is loaded.
#pragma once

#include "app/resources/built_in_pictures.h"
#include "app/settings/image_filter.h"
#include "app/settings/stored_settings.h"
#include "framework/control.h"
#include "framework/controls.h"
#include "framework/dialogs.h"
#include "framework/form.h"

#include <array>
#include <functional>
#include <optional>
#include <string>

class FortuneTeller;

// The alarm file can be played or opened: it is named, exists, is a file on
// a disk and may be read (a file the alarm could not open is switched off,
// not kept; a device could hang the alarm's playback).
bool AlarmFileOpens(const std::string& path);

class TSetupform : public fw::Form {
public:
    TSetupform();

    fw::PageControl pager{{0, 0, 281, 177}};

    // Page "表示設定", shown first.
    fw::Page general_setting{pager, {.caption = L"表示設定"}};
    fw::RadioGroup bgselector{{.bounds = {16, 0, 153, 57},
                               .caption = L"背景イメージ",
                               .items = horolo::BackgroundSelectorItems(),
                               .columns = 2,
                               .itemIndex = 3}};
    fw::CheckBox str_type{{.bounds = {16, 64, 73, 17}, .caption = L"全体に(&A)"}};
    fw::Button bgfsel{{.bounds = {96, 64, 73, 17}, .caption = L"ﾌｧｲﾙ選択(&R)"}};
    fw::CheckBox Staytop{{.bounds = {16, 96, 153, 17}, .caption = L"常に手前に表示する (&A)"}};
    fw::CheckBox chview{{.bounds = {16, 120, 161, 17}, .caption = L"文字でも時刻を表示する(&C)"}};
    fw::RadioGroup indtyp{{.bounds = {184, 0, 81, 81},
                           .caption = L"インジケータ",
                           .items = {L"棒", L"1,2,3", L"I,II,III"},
                           .itemIndex = 0}};

    // Page "色設定": the colours of the hands, the indicators, the time
    // text's background and the blank margin around a picture.
    fw::Page Colsetting{pager, {.caption = L"色設定"}};
    fw::Label hrcolLabel{24, 16, L"短針色"};
    fw::ColorPanel hrcol{{.bounds = {80, 13, 33, 17}, .color = RGB(0, 0, 0)}};
    fw::Label mncolLabel{24, 40, L"長針色"};
    fw::ColorPanel mncol{{.bounds = {80, 37, 33, 17}, .color = RGB(0, 0, 0)}};
    fw::Label sccolLabel{24, 64, L"秒針色"};
    fw::ColorPanel sccol{{.bounds = {80, 61, 33, 17}, .color = RGB(0, 0, 0)}};
    fw::Label indcolLabel{128, 16, L"インジケータ色"};
    fw::ColorPanel indcol{{.bounds = {216, 13, 33, 17}, .color = RGB(0, 0, 0)}};
    fw::Label chrcolLabel{128, 40, L"文字表示背景色"};
    fw::ColorPanel chrcol{{.bounds = {216, 37, 33, 17}, .color = RGB(255, 255, 255)}};
    fw::Label bgspcolLabel{128, 64, L"背景空白色"};
    fw::ColorPanel bgspcol{{.bounds = {216, 61, 33, 17}, .color = RGB(0, 0, 0)}};

    // Page "アラーム": everything inside the group box BoxBox, whose title is
    // the check box EnbAlm.
    fw::Page AlarmSet{pager, {.caption = L"アラーム"}};
    fw::GroupBox BoxBox{{.bounds = {8, 8, 257, 137}}};
    fw::CheckBox EnbAlm{{.bounds = {8, 0, 113, 17}, .caption = L"アラームを使う(&E)"}};
    fw::Label Label6{16, 28, L"時刻"};
    fw::ComboBox hrset{{.bounds = {56, 24, 41, 20}, .items = numberItems(24), .enabled = false}};
    fw::Label Label7{98, 28, L"時"};
    fw::ComboBox mnset{{.bounds = {120, 24, 41, 20}, .items = numberItems(60), .enabled = false}};
    fw::Label Label8{162, 28, L"分"};
    fw::RadioGroup AlmAction{{.bounds = {16, 56, 129, 49},
                              .caption = L"アラーム挙動",
                              .items = {L"WAV再生", L"ファイルを開く"},
                              .itemIndex = 0,
                              .enabled = false}};
    fw::Button Filsel{{.bounds = {152, 64, 89, 17}, .caption = L"ﾌｧｲﾙ選択(&R)", .enabled = false}};
    fw::Button PlayButton{{.bounds = {152, 88, 89, 17}, .caption = L"再生(&P)"}};
    fw::CheckBox refrpl{{.bounds = {24, 112, 81, 17}, .caption = L"繰り返す(&R)", .enabled = false}};

    // Page "その他": the fortune data file and the economy mode, whose
    // switch cpusave is the title of the interval group cpusi.
    fw::Page OtherSet{pager, {.caption = L"その他"}};
    fw::RadioGroup udf{{.bounds = {8, 8, 193, 57},
                        .caption = L"占い データファイル",
                        .items = {L"デフォルト", L"ユーザ設定"},
                        .itemIndex = 1}};
    fw::Button SeldfButton{{.bounds = {112, 40, 75, 17}, .caption = L"ﾌｧｲﾙ選択(&R)"}};
    fw::RadioGroup cpusi{{.bounds = {8, 72, 193, 73},
                          .items = {L"1000mSec/Update", L"500mSec/Update", L"100mSec/Update"},
                          .itemIndex = 0,
                          .enabled = false}};
    fw::CheckBox cpusave{{.bounds = {16, 70, 121, 15}, .caption = L"&CPU負荷軽減モード"}};

    // Page "Susie": the plug-in directory; its tab is shown only when the
    // plug-in loader library is loaded.
    fw::Page susp{pager, {.caption = L"Susie", .tabVisible = false}};
    fw::Label Label9{16, 8, L"ドライブ"};
    fw::DriveList drvsel{{80, 8, 177, 18}};
    fw::Label Label10{16, 40, L"ディレクトリ"};
    fw::DirectoryList dirsel{{80, 32, 177, 57}};
    fw::Label Label11{16, 96, L"対応形式"};
    fw::ListBox fmtl{{.bounds = {80, 96, 177, 49}}};

    fw::BitmapButton okbtn{{.bounds = {288, 8, 75, 25}, .kind = fw::ButtonKind::Ok, .caption = L"OK"}};
    fw::BitmapButton CancelBtn{{.bounds = {288, 40, 75, 25}, .kind = fw::ButtonKind::Cancel, .caption = L"ｷｬﾝｾﾙ"}};

    // The file dialog for pictures, alarm files and fortune data files (its
    // filter is set before every use), and the colour dialog of the panels.
    fw::FileOpenDialog FileOpen{.defaultExt = "bmp"};
    fw::ColorDialog coldlg;

    // The picture dialog's filter (an ANSI text): bitmaps, then the formats
    // of the plug-ins found in the plug-in directory.
    std::string ImageFilter = horolo::kBitmapFilter;
    // Set while the program itself changes controls (from creation until the
    // start-up load ends or the dialog is first shown, and while Cancel puts
    // values back): the handlers then keep the enabling in step but open no
    // dialog and reload nothing.
    bool SuppressHandlers = true;
    // Sets SuppressHandlers for its scope and clears it at the end.
    class HandlersSuppressed {
    public:
        explicit HandlersSuppressed(TSetupform& form) : flag_(form.SuppressHandlers) { flag_ = true; }
        ~HandlersSuppressed() { flag_ = false; }
        HandlersSuppressed(const HandlersSuppressed&) = delete;
        HandlersSuppressed& operator=(const HandlersSuppressed&) = delete;

    private:
        bool& flag_;
    };
    // The picture item that a cancelled picture dialog returns to: the item
    // selected before, as it follows every change of bgselector.
    int LastBackgroundIndex = 0;

    // What the dialog changes beside its own controls, held by the clock
    // window and the alarm window, which link themselves in when they are
    // made and out when they go.
    struct ClockLink {
        fw::Form& window;  // hidden while the dialog is up
        std::string& BackgroundFile;
        const HMODULE& LoaderHandle;
        FortuneTeller& Fortune;
    };
    struct AlarmLink {
        int& AlarmAction;
        std::string& AlarmFile;
        std::string& AlarmOption;
        std::function<bool()> AlarmSounding;
        std::function<void()> TestAlarm;  // the test play of "WAV再生"
    };
    void LinkClock(const ClockLink& link) { clock_.emplace(link); }
    void UnlinkClock() { clock_.reset(); }
    void LinkAlarm(const AlarmLink& link) { alarm_.emplace(link); }
    void UnlinkAlarm() { alarm_.reset(); }

    // The parts of the start-up load that fill the dialog's controls: the
    // clock window's (before it shows its face) and the alarm's.
    enum class StartUpPart { Clock, Alarm };
    // Fills the controls of one part from stored values; the handlers that
    // fire keep the enabling in step.
    void FillControls(const horolo::StoredSettings& stored, StartUpPart part);
    // The stored values the dialog holds now: its controls, the values of
    // the clock and the alarm window it changes, and the plug-in directory.
    horolo::StoredSettings HeldValues();

    void FormShow();
    void FormClose();
    void okbtnClick();
    void CancelBtnClick();
    void bgselectorClick();
    void bgfselClick();
    void colpane_Click(fw::ColorPanel& panel);
    void EnbAlmClick();
    void AlmActionClick();
    void FilselClick();
    void PlayButtonClick();
    void udfClick();
    void SeldfButtonClick();
    void cpusaveClick();
    void dirselChange();
    // Searches a directory for plug-ins and rebuilds ImageFilter; returns
    // the number of formats the search found (0 without hrl_spi).
    int UpdateImageFilter(const std::string& directory);

protected:
    void onShow() override { FormShow(); }
    bool onCloseQuery() override;
    void onClose() override { FormClose(); }

private:
    // The values taken when the dialog is shown, which Cancel puts back;
    // the fortune data choice is not stored, so it is taken beside them.
    struct Snapshot {
        horolo::StoredSettings values;
        int udf = 0;
    };

    // "00", "01", ... up to count - 1.
    static std::vector<std::wstring> numberItems(int count);
    // The six colour panels in the order of the page.
    std::array<fw::ColorPanel*, 6> colorPanels();
    ClockLink& clock();
    AlarmLink& alarm();
    // Runs FileOpen: the path picked, or nothing when the user cancelled or
    // picked a path the ANSI code page cannot hold (after an error box).
    std::optional<std::string> pickFile();

    Snapshot ShowSnapshot;
    // The formats of the plug-ins the last search found.
    std::vector<horolo::PictureFormat> pluginFormats_;
    std::optional<ClockLink> clock_;
    std::optional<AlarmLink> alarm_;
};
