#include "framework/progress_bar.h"

#include <algorithm>

namespace fw {

// ProgressBar

ProgressBar::ProgressBar(const ProgressBarSpec& layout)
    : WindowedControl(layout.bounds), max_(layout.max), position_(layout.position) {}

void ProgressBar::createHandle() {
    HWND window = createWindow(PROGRESS_CLASSW, 0);
    SendMessageW(window, PBM_SETRANGE32, 0, max_);
    SendMessageW(window, PBM_SETPOS, static_cast<WPARAM>(position_), 0);
}

void ProgressBar::setMax(int max) {
    max_ = max;
    position_ = std::min(position_, max_);
    if (HWND window = handle()) SendMessageW(window, PBM_SETRANGE32, 0, max_);
}

void ProgressBar::setPosition(int position) {
    position_ = std::clamp(position, 0, std::max(0, max_));
    if (HWND window = handle()) SendMessageW(window, PBM_SETPOS, static_cast<WPARAM>(position_), 0);
}

}  // namespace fw
