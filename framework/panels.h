// Panels: the plain panel and the group box, frames that hold other controls,
// and the colour panel, a clickable area filled with one colour.
#pragma once

#include "framework/control.h"

#include <string>

namespace fw {

// A container for other controls (pass it as the parent to Form::add) in the
// button face colour, framed by up to two bevels.
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

// A frame with a caption; a container for other controls (pass it as the
// parent to Form::add). Clicks on it fall through to what lies beneath, and
// its frame leaves out sibling controls laid over it (a check box as title).
struct GroupBoxSpec {
    Bounds bounds{};
    std::wstring caption{};
    bool enabled = true;
};

class GroupBox : public WindowedControl {
public:
    explicit GroupBox(const GroupBoxSpec& layout);

protected:
    void createHandle() override;
    LRESULT wndProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void enabledChanged() override;
    // Height of a line of text in the form's font.
    int textHeight() const;

private:
    void excludeSiblings(HDC dc) const;
    void paintFrame(HDC dc);
};


// A panel filled with its colour (a Colour: red in the low byte); clicking it
// runs onClick.
struct ColorPanelSpec {
    Bounds bounds{};
    COLORREF color = RGB(0, 0, 0);
};

class ColorPanel : public WindowedControl {
public:
    explicit ColorPanel(const ColorPanelSpec& layout);
    COLORREF color() const { return color_; }
    void setColor(COLORREF color);

protected:
    void createHandle() override;
    LRESULT wndProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    COLORREF color_;
    bool pressed_ = false;
};

}  // namespace fw
