// Tprogress: the small window with a progress bar and an abort button that
// hrl_spi shows while a plug-in decodes. Created hidden by StartupLibrary,
// destroyed by TerminateLibrary; ProgressCallback drives it.
#pragma once

#include <windows.h>

#include "framework/controls.h"
#include "framework/form.h"

namespace hrlspi {

class Tprogress : public fw::Form {
public:
    Tprogress();

    fw::ProgressBar status;
    fw::BitmapButton cancbtn;

    // Set by a click on cancbtn, reset by every start report.
    int cancelFlag = 0;
    void cancbtnClick() { cancelFlag = 1; }

    // How much of status the drawn bar fills (barUnits).
    int shownUnits = 0;

    // Sets the position of status; repaints the window only when that
    // changes the drawn length.
    void moveBar(int position);

    // Visible and in front, without taking the activation (and the
    // keyboard focus) from the program's window; hidden again by hide().
    void showInFront();
    bool shown() const { return IsWindowVisible(handle()) != FALSE; }

    // Paints what changed, the controls included, now.
    void redraw();

protected:
    void onCreate() override;
};

// The single progress window of the library; null outside StartupLibrary ..
// TerminateLibrary.
Tprogress* progressWindow();

// The progress function hrl_spi hands to a plug-in's GetPicture.
int __stdcall ProgressCallback(int numerator, int denominator, long userData);

}  // namespace hrlspi
