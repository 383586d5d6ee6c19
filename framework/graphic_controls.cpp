#include "framework/control.h"
#include "framework/form.h"

namespace fw {

// Label

Label::Label(int left, int top, std::wstring caption)
    : GraphicControl({left, top, 0, 0}, std::move(caption)),
      color_(GetSysColor(COLOR_BTNFACE)) {
    autoSize();
}

Label::Label(Bounds bounds, std::wstring caption, TextAlign align)
    : GraphicControl(bounds, std::move(caption)),
      color_(GetSysColor(COLOR_BTNFACE)),
      autoSize_(false),
      align_(align == TextAlign::Center ? DT_CENTER : DT_LEFT) {
    widenToText();
}

SIZE Label::textExtent() const {
    WindowDC screen;
    SelectGuard select(screen.get(), font());
    RECT extent{0, 0, 0, 0};
    const std::wstring& text = caption();
    // An empty text has no width and the height of one line.
    DrawTextW(screen.get(), text.empty() ? L" " : text.c_str(), -1, &extent, DT_CALCRECT | DT_EXPANDTABS);
    return {text.empty() ? 0 : extent.right, extent.bottom};
}

void Label::autoSize() {
    const SIZE extent = textExtent();
    Bounds b = bounds();
    b.width = extent.cx;
    b.height = extent.cy;
    storeBounds(b);
}

void Label::widenToText() {
    const int width = textExtent().cx;
    Bounds b = bounds();
    if (width <= b.width) return;
    if (align_ == DT_CENTER) b.left -= (width - b.width + 1) / 2;
    b.width = width;
    storeBounds(b);
}

void Label::captionChanged() {
    invalidate();  // the old extent
    if (autoSize_) {
        autoSize();
    } else {
        widenToText();
    }
    invalidate();
}

void Label::setColor(COLORREF color) {
    color_ = color;
    invalidate();
}

void Label::paint(HDC dc) {
    RECT r{0, 0, bounds().width, bounds().height};
    // The DC brush in the label's colour: no brush made per paint.
    SetDCBrushColor(dc, color_);
    FillRect(dc, &r, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
    SetTextColor(dc, GetSysColor(enabled() ? COLOR_WINDOWTEXT : COLOR_GRAYTEXT));
    const std::wstring& text = caption();
    DrawTextW(dc, text.c_str(), -1, &r, DT_EXPANDTABS | align_);
}

// Image

Image::Image(Bounds bounds) : GraphicControl(bounds) {}

SIZE Image::bitmapSize() const {
    BITMAP info{};
    if (!bitmap_ || !GetObjectW(bitmap_.get(), sizeof(info), &info)) return {0, 0};
    return {info.bmWidth, info.bmHeight};
}

void Image::ensureBitmap(int width, int height) {
    const SIZE size = bitmapSize();
    if (bitmap_ && size.cx == width && size.cy == height) return;
    BitmapHandle bitmap = CompatibleBitmap(width, height);
    {
        BitmapCanvas canvas(bitmap.get());
        PatBlt(canvas.get(), 0, 0, width, height, WHITENESS);
    }
    setBitmap(std::move(bitmap));
}

void Image::ensureBitmap() { ensureBitmap(bounds().width, bounds().height); }

void Image::setBitmap(BitmapHandle bitmap) {
    bitmap_ = std::move(bitmap);
    invalidate();
}

BitmapCanvas Image::canvas() {
    if (!bitmap_) ensureBitmap();
    invalidate();
    return BitmapCanvas(bitmap_.get());
}

bool Image::opaque() const {
    const SIZE size = bitmapSize();
    return size.cx >= bounds().width && size.cy >= bounds().height && bitmap_;
}

void Image::paint(HDC dc) {
    if (!bitmap_) return;
    const SIZE size = bitmapSize();
    BitmapCanvas source(bitmap_.get());
    BitBlt(dc, 0, 0, size.cx, size.cy, source.get(), 0, 0, SRCCOPY);
}

// PaintBox

PaintBox::PaintBox(Bounds bounds) : GraphicControl(bounds) {}

void PaintBox::paint(HDC dc) {
    if (onPaint) onPaint(dc);
}

}  // namespace fw
