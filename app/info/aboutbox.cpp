#include "app/info/aboutbox.h"

#include "app/resources/resource_ids.h"
#include "framework/gdi.h"
#include "horolo_version.h"

#include <initializer_list>

namespace {

// The program's clock face drawn for this window: a 256-colour bitmap whose
// palette entry 0 is the background around the face, given the colour of
// the panel here.
fw::BitmapHandle ProgramPicture() {
    fw::BitmapHandle picture(static_cast<HBITMAP>(
        LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDB_ABOUT), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
    if (!picture) return picture;
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    const RGBQUAD background{GetBValue(face), GetGValue(face), GetRValue(face), 0};
    const fw::BitmapCanvas canvas(picture.get());
    SetDIBColorTable(canvas.get(), 0, 1, &background);
    return picture;
}

}  // namespace

TAboutBox::DefaultButton::DefaultButton(const fw::ButtonSpec& layout) : fw::Button(layout) {
    pushStyle_ = BS_DEFPUSHBUTTON;
    setId(IDOK);
    onClick = [this] {
        if (form() && form()->modal()) form()->setModalResult(fw::mrOk);
    };
}

TAboutBox::TAboutBox() : fw::Form({L"ﾊﾞｰｼﾞｮﾝ情報", 298, 161, fw::BorderStyle::Dialog, false, false, true}) {
    add(Panel1);
    for (fw::Control* item : std::initializer_list<fw::Control*>{&ProgramIcon, &ProductName, &Version, &withsusie,
                                                                 &Label1, &Label2, &Label3, &Label4, &Label5, &Label6})
        add(*item, &Panel1);
    add(OKButton);
    withsusie.setVisible(false);
    ProgramIcon.setBitmap(ProgramPicture());
}

void TAboutBox::FormCreate() {
    withsusie.setVisible(GetModuleHandleA("hrl_spi.dll") != nullptr);
    Version.setCaption(L"" HOROLO_VERSION_TEXT);
}
