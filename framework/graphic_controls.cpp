#include "framework/graphic_controls.h"
#include "framework/form.h"

namespace fw {

// Label

namespace {

// A DC with the form font, made once, that measures the captions: a screen
// DC each time would cost a fresh DC and a font selection, and the clock's
// time label changes its caption every second.
HDC MeasuringDC() {
    static const MemoryDC dc;
    static const SelectGuard font(dc.get(), Form::sharedFont());
    return dc.get();
}

}  // namespace

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
    RECT extent{0, 0, 0, 0};
    const std::wstring& text = caption();
    // An empty text has no width and the height of one line.
    DrawTextW(MeasuringDC(), text.empty() ? L" " : text.c_str(), -1, &extent, DT_CALCRECT | DT_EXPANDTABS);
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
    const Bounds old = bounds();
    if (autoSize_) {
        autoSize();
    } else {
        widenToText();
    }
    // The same extent again is already invalid.
    if (bounds().width != old.width || bounds().height != old.height) invalidate();
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

HBITMAP Image::bitmap() const {
    selected_.reset();
    return bitmap_.get();
}

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
    selected_.reset();
    bitmap_ = std::move(bitmap);
    invalidate();
}

BitmapCanvas Image::canvas() {
    if (!bitmap_) ensureBitmap();
    invalidate();
    return BitmapCanvas(bitmap());
}

bool Image::opaque() const {
    const SIZE size = bitmapSize();
    return size.cx >= bounds().width && size.cy >= bounds().height && bitmap_;
}

void Image::paint(HDC dc) {
    if (!bitmap_) return;
    if (!selected_) {
        if (!source_) source_.emplace();
        selected_.emplace(source_->get(), bitmap_.get());
        // Still selected in a DC the caller holds: nothing to copy from
        // now, and the selection is tried again at the next paint.
        if (GetCurrentObject(source_->get(), OBJ_BITMAP) != bitmap_.get()) {
            selected_.reset();
            return;
        }
    }
    const SIZE size = bitmapSize();
    BitBlt(dc, 0, 0, size.cx, size.cy, source_->get(), 0, 0, SRCCOPY);
}

// PaintBox

PaintBox::PaintBox(Bounds bounds) : GraphicControl(bounds) {}

void PaintBox::paint(HDC dc) {
    if (onPaint) onPaint(dc);
}

}  // namespace fw
