// The progress bar.
#pragma once

#include "framework/control.h"

namespace fw {

// A bar from 0 to max over the full 32-bit range.
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
    void setPosition(int position);

protected:
    void createHandle() override;

private:
    int max_;
    int position_;
};

}  // namespace fw
