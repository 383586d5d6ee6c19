#include "app/settings/setupform.h"

#include "app/info/fortune.h"
#include "app/settings/ini_values.h"
#include "framework/ansi.h"
#include "framework/disk_file.h"
#include "framework/error.h"
#include "framework/gdi.h"
#include "spi_loader/hrl_spi.h"

#include <cstdio>
#include <initializer_list>
#include <variant>

bool AlarmFileOpens(const std::string& path) { return !path.empty() && fw::IsDiskFile(path.c_str()); }

namespace {

using horolo::StoredSettings;

// A control of the dialog that holds a stored value.
template <class Value, class Control>
struct Bound {
    Value StoredSettings::*value;
    Control TSetupform::*control;
};

// When the start-up load fills a control; the picture item is never filled
// from its key, the clock's picture choice selects it.
enum class Filled { ByClock, ByAlarm, Never };

struct ControlBinding {
    std::variant<Bound<std::int32_t, fw::RadioGroup>, Bound<std::int32_t, fw::ComboBox>, Bound<bool, fw::CheckBox>,
                 Bound<bool, fw::RadioGroup>, Bound<std::uint32_t, fw::ColorPanel>>
        bound;
    Filled atStartUp;
    bool putBackByCancel = true;
};

// In the order Cancel puts the values back and the start-up load fills them:
// the handlers that fire meanwhile keep the enabling in step, so a switch
// comes before what it enables.
const ControlBinding kControlBindings[] = {
    {Bound{&StoredSettings::resource, &TSetupform::bgselector}, Filled::Never},
    {Bound{&StoredSettings::indicatorType, &TSetupform::indtyp}, Filled::ByClock},
    {Bound{&StoredSettings::stretchMode, &TSetupform::str_type}, Filled::ByClock},
    {Bound{&StoredSettings::onTop, &TSetupform::Staytop}, Filled::ByClock},
    {Bound{&StoredSettings::character, &TSetupform::chview}, Filled::ByClock},
    {Bound{&StoredSettings::cpuSave, &TSetupform::cpusave}, Filled::ByClock},
    {Bound{&StoredSettings::repaintInterval, &TSetupform::cpusi}, Filled::ByClock},
    {Bound{&StoredSettings::hourColor, &TSetupform::hrcol}, Filled::ByClock},
    {Bound{&StoredSettings::minuteColor, &TSetupform::mncol}, Filled::ByClock},
    {Bound{&StoredSettings::secondColor, &TSetupform::sccol}, Filled::ByClock},
    {Bound{&StoredSettings::indicatorColor, &TSetupform::indcol}, Filled::ByClock},
    {Bound{&StoredSettings::characterColor, &TSetupform::chrcol}, Filled::ByClock},
    {Bound{&StoredSettings::backSpaceColor, &TSetupform::bgspcol}, Filled::ByClock},
    {Bound{&StoredSettings::alarmUse, &TSetupform::EnbAlm}, Filled::ByAlarm},
    {Bound{&StoredSettings::alarmHour, &TSetupform::hrset}, Filled::ByAlarm},
    {Bound{&StoredSettings::alarmMinute, &TSetupform::mnset}, Filled::ByAlarm},
    {Bound{&StoredSettings::alarmAction, &TSetupform::AlmAction}, Filled::ByAlarm},
    // Cancel leaves repeating as the dialog left it.
    {Bound{&StoredSettings::alarmRefrain, &TSetupform::refrpl}, Filled::ByAlarm, false},
};

std::int32_t ValueOf(const fw::RadioGroup& group, std::int32_t) { return group.itemIndex(); }
std::int32_t ValueOf(const fw::ComboBox& list, std::int32_t) { return list.itemIndex(); }
bool ValueOf(const fw::CheckBox& box, bool) { return box.checked(); }
// An action group: its second item is the stored true.
bool ValueOf(const fw::RadioGroup& group, bool) { return group.itemIndex() == 1; }
std::uint32_t ValueOf(const fw::ColorPanel& panel, std::uint32_t) { return panel.color(); }

void Show(fw::RadioGroup& group, std::int32_t item) { group.setItemIndex(item); }
void Show(fw::ComboBox& list, std::int32_t item) { list.setItemIndex(item); }
void Show(fw::CheckBox& box, bool on) { box.setChecked(on); }
void Show(fw::RadioGroup& group, bool second) { group.setItemIndex(second ? 1 : 0); }
void Show(fw::ColorPanel& panel, std::uint32_t color) { panel.setColor(color); }

// The formats of the plug-ins that hrl_spi's last search found.
std::vector<horolo::PictureFormat> PluginFormats(HMODULE library) {
    const auto getDataChain = fw::Export<hrlspi::GetDataChainFn>(library, "GetDataChain");
    if (!getDataChain) return {};
    DataChainRecord* head = nullptr;
    const int count = getDataChain(&head);
    return horolo::ChainFormats(head, count);
}

}  // namespace

TSetupform::TSetupform()
    : fw::Form({.caption = L"Horolo  Setup",
                .clientWidth = 369,
                .clientHeight = 177,
                .border = fw::BorderStyle::Dialog,
                .minimizeBox = false}) {
    Label6.setEnabled(false);
    Label7.setEnabled(false);
    Label8.setEnabled(false);

    // The order of adding is the tab order.
    add(pager);

    add(general_setting, &pager);
    for (fw::Control* control : std::initializer_list<fw::Control*>{&bgselector, &str_type, &bgfsel, &Staytop, &chview, &indtyp})
        add(*control, &general_setting);

    add(Colsetting, &pager);
    for (fw::Control* control : std::initializer_list<fw::Control*>{&hrcolLabel, &hrcol, &mncolLabel, &mncol, &sccolLabel,
                                                                   &sccol, &indcolLabel, &indcol, &chrcolLabel, &chrcol,
                                                                   &bgspcolLabel, &bgspcol})
        add(*control, &Colsetting);

    add(AlarmSet, &pager);
    add(BoxBox, &AlarmSet);
    for (fw::Control* control : std::initializer_list<fw::Control*>{&EnbAlm, &Label6, &hrset, &Label7, &mnset, &Label8,
                                                                   &AlmAction, &Filsel, &PlayButton, &refrpl})
        add(*control, &BoxBox);

    add(OtherSet, &pager);
    for (fw::Control* control : std::initializer_list<fw::Control*>{&udf, &SeldfButton, &cpusi, &cpusave})
        add(*control, &OtherSet);

    add(susp, &pager);
    for (fw::Control* control : std::initializer_list<fw::Control*>{&Label9, &drvsel, &Label10, &dirsel, &Label11, &fmtl})
        add(*control, &susp);
    drvsel.setDirectoryList(&dirsel);
    dirsel.onChange = [this] { dirselChange(); };

    add(okbtn);
    add(CancelBtn);

    okbtn.onClick = [this] { okbtnClick(); };
    CancelBtn.onClick = [this] { CancelBtnClick(); };
    bgselector.onClick = [this] { bgselectorClick(); };
    bgfsel.onClick = [this] { bgfselClick(); };
    for (fw::ColorPanel* panel : colorPanels()) panel->onClick = [this, panel] { colpane_Click(*panel); };
    EnbAlm.onClick = [this] { EnbAlmClick(); };
    AlmAction.onClick = [this] { AlmActionClick(); };
    Filsel.onClick = [this] { FilselClick(); };
    PlayButton.onClick = [this] { PlayButtonClick(); };
    udf.onClick = [this] { udfClick(); };
    SeldfButton.onClick = [this] { SeldfButtonClick(); };
    cpusave.onClick = [this] { cpusaveClick(); };
}

std::vector<std::wstring> TSetupform::numberItems(int count) {
    std::vector<std::wstring> items;
    for (int i = 0; i < count; ++i) {
        wchar_t text[8];
        std::swprintf(text, 8, L"%02d", i);
        items.emplace_back(text);
    }
    return items;
}

std::array<fw::ColorPanel*, 6> TSetupform::colorPanels() { return {&hrcol, &mncol, &sccol, &indcol, &chrcol, &bgspcol}; }

TSetupform::ClockLink& TSetupform::clock() {
    if (!clock_) throw fw::Error(L"The settings dialog has no clock window");
    return *clock_;
}

TSetupform::AlarmLink& TSetupform::alarm() {
    if (!alarm_) throw fw::Error(L"The settings dialog has no alarm window");
    return *alarm_;
}

// A dialog shown while the alarm sounds closes again at once, before it is
// seen: the clock stays as it is.
void TSetupform::FormShow() {
    if (alarm().AlarmSounding()) {
        setModalResult(fw::mrCancel);
        return;
    }
    const POINT corner = clock().window.position();
    moveTo(corner.x, corner.y);
    clock().window.hide();
    ShowSnapshot = {HeldValues(), udf.itemIndex()};
    SuppressHandlers = false;
}

void TSetupform::FormClose() { clock().window.show(); }

// The close box (or a close of the clock window) is the same as Cancel; not
// while a dialog of the dialog's own is up, whose answer would still change
// what Cancel had put back.
bool TSetupform::onCloseQuery() {
    if (!modal()) return true;
    if (!IsWindowEnabled(handle())) return false;
    CancelBtnClick();
    return true;
}

void TSetupform::okbtnClick() {
    if (bgselector.itemIndex() < horolo::kPictureFileItem) clock().BackgroundFile.clear();
    if (EnbAlm.checked() && !AlarmFileOpens(alarm().AlarmFile)) {
        EnbAlm.setChecked(false);
        fw::ShowErrorBox(L"アラームファイルが存在しないか選択されていません。\nアラーム設定は無効です");
    }
}

// Puts back every value taken when the dialog was shown. The handlers that
// fire keep the enabling in step; the fortunes of a data file chosen
// meanwhile are replaced by those of the file put back.
void TSetupform::CancelBtnClick() {
    const StoredSettings& s = ShowSnapshot.values;
    const HandlersSuppressed quiet(*this);
    for (const ControlBinding& binding : kControlBindings)
        if (binding.putBackByCancel) std::visit([&](auto b) { Show(this->*b.control, s.*b.value); }, binding.bound);
    clock().BackgroundFile = s.background;
    alarm().AlarmFile = s.alarmFile;
    alarm().AlarmAction = s.alarmAction ? 1 : 0;
    alarm().AlarmOption = s.alarmOption;
    FortuneTeller& fortune = clock().Fortune;
    if (fortune.FortuneDataPath != s.fortuneData) {
        fortune.FortuneDataPath = s.fortuneData;
        fortune.LoadFortunes(false);
    }
    udf.setItemIndex(ShowSnapshot.udf);
    // The directory brings its drive along (one plug-in search, not two).
    if (!dirsel.setDirectory(s.spiDirectory))
        if (const std::optional<char> drive = horolo::ini::DriveFromValue(s.spiDrive)) drvsel.setDrive(*drive);
}

void TSetupform::FillControls(const StoredSettings& stored, StartUpPart part) {
    const Filled filled = part == StartUpPart::Clock ? Filled::ByClock : Filled::ByAlarm;
    for (const ControlBinding& binding : kControlBindings)
        if (binding.atStartUp == filled)
            std::visit([&](auto b) { Show(this->*b.control, stored.*b.value); }, binding.bound);
}

StoredSettings TSetupform::HeldValues() {
    StoredSettings s;
    for (const ControlBinding& binding : kControlBindings)
        std::visit([&](auto b) { s.*b.value = ValueOf(this->*b.control, s.*b.value); }, binding.bound);
    s.background = clock().BackgroundFile;
    s.fortuneData = clock().Fortune.FortuneDataPath;
    s.alarmFile = alarm().AlarmFile;
    s.alarmOption = alarm().AlarmOption;
    s.spiDrive = horolo::ini::DriveValue(drvsel.drive());
    s.spiDirectory = dirsel.directory();
    return s;
}

std::optional<std::string> TSetupform::pickFile() {
    switch (FileOpen.execute()) {
    case fw::FileOpenDialog::Result::Picked:
        return FileOpen.fileName;
    case fw::FileOpenDialog::Result::NotInCodePage:
        fw::ShowErrorBox(L"Error:\nこのファイル名は使えません");
        return std::nullopt;
    case fw::FileOpenDialog::Result::Cancelled:
        break;
    }
    return std::nullopt;
}

// Also while the handlers are quiet, the item to return to and the file
// button's enabling follow the selection: Cancel may bring back "その他"
// with its file.
void TSetupform::bgselectorClick() {
    if (!SuppressHandlers && bgselector.itemIndex() == horolo::kPictureFileItem) {
        FileOpen.filter = ImageFilter;
        FileOpen.fileName = clock().BackgroundFile;
        if (const std::optional<std::string> picked = pickFile())
            clock().BackgroundFile = *picked;
        else
            bgselector.setItemIndex(LastBackgroundIndex);  // runs this handler for that item
    }
    LastBackgroundIndex = bgselector.itemIndex();
    const bool file = LastBackgroundIndex == horolo::kPictureFileItem;
    bgfsel.setEnabled(file);
    str_type.setEnabled(file);
}

void TSetupform::bgfselClick() {
    if (SuppressHandlers) return;
    FileOpen.filter = ImageFilter;
    FileOpen.fileName = clock().BackgroundFile;
    if (const std::optional<std::string> picked = pickFile()) clock().BackgroundFile = *picked;
}

void TSetupform::colpane_Click(fw::ColorPanel& panel) {
    coldlg.color = panel.color();
    if (coldlg.execute()) panel.setColor(coldlg.color);
}

void TSetupform::EnbAlmClick() {
    const bool on = EnbAlm.checked();
    for (fw::Control* control : std::initializer_list<fw::Control*>{&Label8, &mnset, &Label7, &hrset, &Label6, &Filsel,
                                                                   &AlmAction, &refrpl, &PlayButton})
        control->setEnabled(on);
}

// Repeating applies to sound only; the second action has options to edit.
// A new action asks at once for its file.
void TSetupform::AlmActionClick() {
    refrpl.setEnabled(EnbAlm.checked() && AlmAction.itemIndex() == 0);
    PlayButton.setCaption(AlmAction.itemIndex() == 0 ? L"再生(&P)" : L"ｵﾌﾟｼｮﾝ編集");
    if (!SuppressHandlers && visible()) FilselClick();
}

// The file name is the one last picked in the dialog, whatever it was for.
void TSetupform::FilselClick() {
    if (SuppressHandlers) return;
    const bool open = AlmAction.itemIndex() == 1;
    FileOpen.filter = open ? "All Files|*.*" : "WAVE File (*.WAV)|*.wav";
    AlarmLink& link = alarm();
    link.AlarmFile = pickFile().value_or(std::string());
    link.AlarmAction = open ? 1 : 0;
    if (open) link.AlarmOption.clear();
}

void TSetupform::PlayButtonClick() {
    AlarmLink& link = alarm();
    if (AlmAction.itemIndex() == 0) {
        link.TestAlarm();
        return;
    }
    if (AlmAction.itemIndex() != 1) return;
    const std::wstring preset = fw::FromAnsi(link.AlarmOption);
    const std::wstring entered = fw::InputBox(L"Command Line for Alarm", L"オプションを編集して下さい", preset);
    if (entered == preset) return;  // also the stored bytes as they are
    if (const std::optional<std::string> option = fw::ToAnsiExact(entered))
        link.AlarmOption = *option;
    else
        fw::ShowErrorBox(L"Error:\nこのオプションは使えません");
}

void TSetupform::udfClick() {
    SeldfButton.setEnabled(udf.itemIndex() == 1);
    if (SuppressHandlers) return;
    if (udf.itemIndex() == 1) {
        SeldfButtonClick();
    } else if (udf.itemIndex() == 0) {
        FortuneTeller& fortune = clock().Fortune;
        fortune.FortuneDataPath = DefaultFortuneDataPath();
        fortune.LoadFortunes(true);
    }
}

void TSetupform::SeldfButtonClick() {
    FileOpen.filter = "Data File (*.DAT)|*.dat";
    if (SuppressHandlers) return;
    if (const std::optional<std::string> picked = pickFile()) {
        FortuneTeller& fortune = clock().Fortune;
        fortune.FortuneDataPath = *picked;
        fortune.LoadFortunes(true);
    }
}

void TSetupform::cpusaveClick() { cpusi.setEnabled(cpusave.checked()); }

void TSetupform::dirselChange() {
    const HMODULE library = clock().LoaderHandle;
    if (!library) return;
    UpdateImageFilter(dirsel.directory());
    fmtl.clear();
    fmtl.addItem(fw::FromAnsi(horolo::kBitmapFormat));
    for (const horolo::PictureFormat& format : pluginFormats_) fmtl.addItem(fw::FromAnsi(format.description));
}

int TSetupform::UpdateImageFilter(const std::string& directory) {
    const HMODULE library = clock().LoaderHandle;
    if (!library) {
        pluginFormats_.clear();
        ImageFilter = horolo::kBitmapFilter;
        return 0;
    }
    const auto searchPlugin = fw::Export<hrlspi::SearchPluginFn>(library, "SearchPlugin");
    const int found = searchPlugin ? searchPlugin(directory.c_str()) : 0;
    pluginFormats_ = PluginFormats(library);
    ImageFilter = horolo::ImageFilterOf(pluginFormats_, fw::IsAnsiLeadByte);
    return found;
}
