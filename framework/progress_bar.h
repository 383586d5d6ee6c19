// The progress bar.
#pragma once

#include "framework/control.h"

namespace fw {

// A bar from 0 to max over the full 32-bit range. It takes every position
// (and answers PBM_GETPOS with it), but hands the system's control only those
// that change the filled length: the control repaints itself at every new
// position, which a caller reporting thousands of small steps would pay each
// time.
struct ProgressBarSpec {
    Bounds bounds{};
    int max = 100;
    int position = 0;
};

class ProgressBar : public WindowedControl {
public:
    explicit ProgressBar(const ProgressBarSpec& layout);
    int max() const { return max_; }
    void setMax(int max);
    int position() const { return position_; }
    // True when the filled length changed (and the bar was repainted).
    bool setPosition(int position);

protected:
    void createHandle() override;
    LRESULT wndProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    int filledLength() const;
    int max_;
    int position_;
    int shownLength_ = 0;
};

}  // namespace fw
