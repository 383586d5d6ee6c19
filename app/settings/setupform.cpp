#include "app/settings/setupform.h"

#include <cstdio>
#include <initializer_list>

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

    add(okbtn);
    add(CancelBtn);

    EnbAlm.onClick = [this] { EnbAlmClick(); };
    AlmAction.onClick = [this] { AlmActionClick(); };
    udf.onClick = [this] { udfClick(); };
    cpusave.onClick = [this] { cpusaveClick(); };
    PlayButton.onClick = [this] { PlayButtonClick(); };
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

void TSetupform::EnbAlmClick() {
    const bool on = EnbAlm.checked();
    for (fw::Control* control : std::initializer_list<fw::Control*>{&Label8, &mnset, &Label7, &hrset, &Label6, &Filsel,
                                                                   &AlmAction, &refrpl, &PlayButton})
        control->setEnabled(on);
}

// Repeating applies to sound only; the second action has options to edit.
void TSetupform::AlmActionClick() {
    refrpl.setEnabled(EnbAlm.checked() && AlmAction.itemIndex() == 0);
    PlayButton.setCaption(AlmAction.itemIndex() == 0 ? L"再生(&P)" : L"ｵﾌﾟｼｮﾝ編集");
}

void TSetupform::PlayButtonClick() {
    if (AlmAction.itemIndex() == 0 && TestAlarm) TestAlarm();
}

void TSetupform::udfClick() { SeldfButton.setEnabled(udf.itemIndex() == 1); }

void TSetupform::cpusaveClick() { cpusi.setEnabled(cpusave.checked()); }
