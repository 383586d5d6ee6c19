// The About window: the program's name, version and credits, and whether
// the picture plug-in library is in use. One instance, created at start-up
// and shown modally by the clock window's menu.
#pragma once

#include "framework/control.h"
#include "framework/controls.h"
#include "framework/form.h"

class TAboutBox : public fw::Form {
public:
    TAboutBox();

    // A push button that is the window's default button and ends its modal
    // showing with the result OK.
    class DefaultButton : public fw::Button {
    public:
        explicit DefaultButton(const fw::ButtonSpec& layout);
    };

    fw::Panel Panel1{{.bounds = {8, 8, 281, 113}, .outer = fw::Bevel::Lowered, .inner = fw::Bevel::Raised}};
    fw::Image ProgramIcon{{8, 8, 64, 64}};
    fw::Label ProductName{88, 16, L"Horolo"};
    fw::Label Version{160, 16, L"Version"};
    fw::Label withsusie{112, 32, L"with SPI(Susie Plugin) Loader"};
    fw::Label Label1{88, 56, L"Programming"};
    fw::Label Label2{88, 72, L"Back Graphics"};
    fw::Label Label3{88, 88, L"Special Thanks"};
    fw::Label Label4{176, 56, L"Horolo 開発班"};
    fw::Label Label5{176, 72, L"Horolo 描画班"};
    fw::Label Label6{176, 88, L"ご利用の皆さま"};
    DefaultButton OKButton{{.bounds = {111, 132, 75, 25}, .caption = L"OK"}};

    // Runs once at creation: the version text, and the plug-in line shown
    // exactly when the plug-in library is loaded.
    void FormCreate();

protected:
    void onCreate() override { FormCreate(); }
};
