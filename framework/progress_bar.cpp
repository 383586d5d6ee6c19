#include "framework/progress_bar.h"

#include <algorithm>

#include "framework/bar_length.h"

namespace fw {

// ProgressBar

ProgressBar::ProgressBar(const ProgressBarSpec& layout)
    : WindowedControl(layout.bounds), max_(layout.max), position_(layout.position) {}

void ProgressBar::createHandle() {
    HWND window = createWindow(PROGRESS_CLASSW, 0);
    SendMessageW(window, PBM_SETRANGE32, 0, max_);
    SendMessageW(window, PBM_SETPOS, static_cast<WPARAM>(position_), 0);
    shownLength_ = filledLength();
}

int ProgressBar::filledLength() const { return FilledLength(position_, max_, bounds().width); }

void ProgressBar::setMax(int max) {
    max_ = max;
    position_ = std::min(position_, max_);
    if (HWND window = handle()) {
        SendMessageW(window, PBM_SETRANGE32, 0, max_);
        SendMessageW(window, PBM_SETPOS, static_cast<WPARAM>(position_), 0);
        shownLength_ = filledLength();
    }
}

bool ProgressBar::setPosition(int position) {
    position_ = std::clamp(position, 0, std::max(0, max_));
    HWND window = handle();
    if (!window || filledLength() == shownLength_) return false;
    shownLength_ = filledLength();
    SendMessageW(window, PBM_SETPOS, static_cast<WPARAM>(position_), 0);
    return true;
}

LRESULT ProgressBar::wndProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == PBM_GETPOS) return position_;
    return WindowedControl::wndProc(message, wParam, lParam);
}

}  // namespace fw
