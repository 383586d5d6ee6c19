// Tprogress: the small window with a progress bar and an abort button that
// hrl_spi shows while a plug-in decodes. Created hidden by StartupLibrary,
// destroyed by TerminateLibrary; ProgressCallback drives it.
#pragma once

#include <windows.h>

namespace hrlspi {

class Tprogress {
public:
    Tprogress() = default;
    ~Tprogress();
    Tprogress(const Tprogress&) = delete;
    Tprogress& operator=(const Tprogress&) = delete;

    bool create();  // hidden, centred on the screen, no owner
    HWND handle() const { return window_; }
    HWND status() const { return status_; }
    HWND cancbtn() const { return cancbtn_; }
    bool visible() const;

    void show();                    // visible and in front
    void hide();
    void redraw();                  // repaint window and controls now
    void setRange(int maximum);     // upper bound of status, position 0
    void setPosition(int position);

    // Set by a click on cancbtn, reset by every start report.
    int cancelFlag = 0;
    void cancbtnClick() { cancelFlag = 1; }

private:
    static LRESULT CALLBACK windowProc(HWND, UINT, WPARAM, LPARAM);
    LRESULT onMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void drawAbortButton(const DRAWITEMSTRUCT& item) const;

    HWND window_ = nullptr;
    HWND status_ = nullptr;
    HWND cancbtn_ = nullptr;
    HFONT font_ = nullptr;
};

// The single progress window of the library; null outside StartupLibrary ..
// TerminateLibrary.
Tprogress* progressWindow();

// The progress function hrl_spi hands to a plug-in's GetPicture.
int __stdcall ProgressCallback(int numerator, int denominator, long userData);

}  // namespace hrlspi
