// The graphic controls: Label, Image and PaintBox. They have no window of
// their own; their host window paints them in z order into its off-screen
// buffer.
#pragma once

#include "framework/control.h"
#include "framework/gdi.h"

#include <windows.h>

#include <functional>
#include <optional>
#include <string>

namespace fw {

enum class TextAlign { Left, Center };

// A text in the form's font, opaque in its colour (the button face by
// default): sized to its caption, or of a given size with the text aligned
// in it. A text too wide for the given size widens the label (a centred one
// evenly on both sides), so that a substitute font wider than the one the
// layout was made for cuts no character.
class Label : public GraphicControl {
public:
    Label(int left, int top, std::wstring caption);
    Label(Bounds bounds, std::wstring caption, TextAlign align);
    void setColor(COLORREF color);
    COLORREF color() const { return color_; }

    bool opaque() const override { return true; }
    void paint(HDC dc) override;

protected:
    void captionChanged() override;

private:
    SIZE textExtent() const;
    void autoSize();
    void widenToText();
    COLORREF color_;
    bool autoSize_ = true;
    UINT align_ = DT_LEFT;
};

// Shows a bitmap it owns at its top-left corner. Opaque once its bitmap
// covers the whole control.
class Image : public GraphicControl {
public:
    explicit Image(Bounds bounds);
    // The bitmap, free to be selected into another DC: between paints the
    // image keeps it selected in a DC of its own, and lets go of it here
    // until it paints again.
    HBITMAP bitmap() const;
    SIZE bitmapSize() const;
    // Creates a white bitmap of the given size (the control's by default)
    // unless one of that size exists.
    void ensureBitmap(int width, int height);
    void ensureBitmap();
    void setBitmap(BitmapHandle bitmap);
    // A DC to draw on the bitmap (created with the control's size if there is
    // none). Invalidates the control. Let it go before the image is painted:
    // a bitmap can be selected into one DC at a time.
    BitmapCanvas canvas();

    bool opaque() const override;
    void paint(HDC dc) override;

private:
    BitmapHandle bitmap_;
    // The DC the bitmap is copied from, and the bitmap's selection into it.
    // Kept from one paint to the next: under Wine, making a DC and selecting
    // a bitmap into it cost several times the copy of a clock face.
    mutable std::optional<MemoryDC> source_;
    mutable std::optional<SelectGuard> selected_;
};

// Has no background: what lies beneath shows through; onPaint draws on top.
class PaintBox : public GraphicControl {
public:
    explicit PaintBox(Bounds bounds);
    std::function<void(HDC)> onPaint;
    void paint(HDC dc) override;
};

}  // namespace fw
