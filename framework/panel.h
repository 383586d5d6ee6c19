// A panel: a container for other controls (pass it as the parent to
// Form::add) in the button face colour, framed by up to two bevels.
#pragma once

#include "framework/control.h"

namespace fw {

enum class Bevel { None, Raised, Lowered };

struct PanelSpec {
    Bounds bounds{};
    Bevel outer = Bevel::Raised;  // the outer line of the frame
    Bevel inner = Bevel::None;    // the line inside it
};

class Panel : public WindowedControl {
public:
    explicit Panel(const PanelSpec& layout);

protected:
    void createHandle() override;
    LRESULT wndProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    Bevel outer_;
    Bevel inner_;
};

}  // namespace fw
