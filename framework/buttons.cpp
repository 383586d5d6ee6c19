#include "framework/buttons.h"

#include "framework/application.h"
#include "framework/error.h"
#include "framework/form.h"
#include "framework/graphic_host.h"
#include "framework/item_index.h"

#include <algorithm>

namespace fw {

namespace {

const int kGlyphSize = 18;
const COLORREF kGlyphKey = RGB(255, 0, 255);  // transparent pixels of a glyph

// The glyph of a kind, on the key colour; grey for the disabled state.
BitmapHandle DrawGlyph(ButtonKind kind, bool enabledState) {
    WindowDC screen;
    BitmapHandle glyph(CreateCompatibleBitmap(screen.get(), kGlyphSize, kGlyphSize));
    BitmapCanvas canvas(glyph.get());
    HDC dc = canvas.get();
    BrushHandle key(CreateSolidBrush(kGlyphKey));
    RECT all{0, 0, kGlyphSize, kGlyphSize};
    FillRect(dc, &all, key.get());
    COLORREF ink = RGB(0, 0, 0);
    switch (kind) {
    case ButtonKind::Ok: ink = RGB(0, 128, 0); break;
    case ButtonKind::Cancel: ink = RGB(192, 0, 0); break;
    case ButtonKind::Abort: ink = RGB(200, 0, 0); break;
    }
    if (!enabledState) ink = GetSysColor(COLOR_GRAYTEXT);
    PenHandle pen(CreatePen(PS_SOLID, 3, ink));
    BrushHandle fill(CreateSolidBrush(ink));
    SelectGuard selectPen(dc, pen.get());
    SelectGuard selectBrush(dc, fill.get());
    switch (kind) {
    case ButtonKind::Ok: {
        const POINT check[] = {{3, 9}, {7, 13}, {15, 4}};
        Polyline(dc, check, 3);
        break;
    }
    case ButtonKind::Cancel:
        MoveToEx(dc, 4, 4, nullptr);
        LineTo(dc, 14, 14);
        MoveToEx(dc, 14, 4, nullptr);
        LineTo(dc, 4, 14);
        break;
    case ButtonKind::Abort: {
        // A stop sign: a filled octagon with a white bar.
        const POINT octagon[] = {{6, 1}, {12, 1}, {17, 6}, {17, 12}, {12, 17}, {6, 17}, {1, 12}, {1, 6}};
        SelectGuard noOutline(dc, GetStockObject(NULL_PEN));
        Polygon(dc, octagon, 8);
        RECT bar{4, 8, 14, 10};
        FillRect(dc, &bar, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
        break;
    }
    }
    return glyph;
}

bool ArrowKeyDown() {
    return GetKeyState(VK_UP) < 0 || GetKeyState(VK_DOWN) < 0 || GetKeyState(VK_LEFT) < 0 ||
           GetKeyState(VK_RIGHT) < 0;
}

std::wstring StandardCaption(ButtonKind kind) {
    switch (kind) {
    case ButtonKind::Ok: return L"OK";
    case ButtonKind::Cancel: return L"ｷｬﾝｾﾙ";
    case ButtonKind::Abort: return L"中止";
    }
    return {};
}

}  // namespace

// Button

Button::Button(const ButtonSpec& layout) : WindowedControl(layout.bounds, layout.caption) { setEnabled(layout.enabled); }

void Button::createHandle() { createWindow(L"BUTTON", pushStyle_ | WS_TABSTOP | WS_GROUP); }

bool Button::command(WORD code) {
    if (code != BN_CLICKED) return false;
    if (onClick) onClick();
    clicked();
    return true;
}

// BitmapButton

BitmapButton::BitmapButton(const BitmapButtonSpec& layout)
    : Button({layout.bounds, layout.caption.empty() ? StandardCaption(layout.kind) : layout.caption, layout.enabled}),
      kind_(layout.kind),
      glyphs_(ImageList_Create(kGlyphSize, kGlyphSize, ILC_COLOR24 | ILC_MASK, 2, 0)) {
    for (bool state : {true, false}) {
        BitmapHandle glyph = DrawGlyph(kind_, state);
        ImageList_AddMasked(glyphs_.get(), glyph.get(), kGlyphKey);
    }
    switch (kind_) {
    case ButtonKind::Ok:
        setId(IDOK);
        pushStyle_ = BS_DEFPUSHBUTTON;
        break;
    case ButtonKind::Cancel: setId(IDCANCEL); break;
    case ButtonKind::Abort: break;
    }
}

void BitmapButton::clicked() {
    Form* owner = form();
    if (!owner || !owner->modal()) return;
    if (kind_ == ButtonKind::Ok) owner->setModalResult(mrOk);
    if (kind_ == ButtonKind::Cancel) owner->setModalResult(mrCancel);
}

// The button class keeps its behaviour (mouse, keys, focus, notifications);
// only its face is ours. A state change the class draws by itself is painted
// over again at once.
LRESULT BitmapButton::wndProc(UINT message, WPARAM wParam, LPARAM lParam) {
    HWND window = handle();
    switch (message) {
    case WM_ERASEBKGND:
        return 1;
    case WM_PAINT: {
        PaintSession session(window);
        paint(session.dc());
        return 0;
    }
    case WM_PRINTCLIENT:
        paint(reinterpret_cast<HDC>(wParam));
        return 0;
    default:
        break;
    }
    const LRESULT result = Button::wndProc(message, wParam, lParam);
    if (handle() && message != BM_GETSTATE) {
        const UINT state = static_cast<UINT>(SendMessageW(window, BM_GETSTATE, 0, 0)) | (IsWindowEnabled(window) ? 0x10000u : 0u);
        const bool faceChanged = message == WM_SETTEXT || message == WM_SETFONT || message == BM_SETSTYLE;
        if (state != paintedState_ || faceChanged) {
            InvalidateRect(window, nullptr, FALSE);
            UpdateWindow(window);
        }
    }
    return result;
}

void BitmapButton::paint(HDC target) {
    HWND window = handle();
    RECT client;
    GetClientRect(window, &client);
    const UINT state = static_cast<UINT>(SendMessageW(window, BM_GETSTATE, 0, 0));
    const bool isEnabled = IsWindowEnabled(window) != FALSE;
    paintedState_ = state | (isEnabled ? 0x10000u : 0u);
    const bool pushed = (state & BST_PUSHED) != 0;

    MemoryDC buffer(target);
    BitmapHandle bitmap(CreateCompatibleBitmap(target, client.right, client.bottom));
    SelectGuard selectBitmap(buffer.get(), bitmap.get());
    HDC dc = buffer.get();

    RECT face = client;
    FillRect(dc, &face, GetSysColorBrush(COLOR_BTNFACE));
    if (kind_ == ButtonKind::Ok) {
        // The default button's extra dark frame.
        FrameRect(dc, &face, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
        InflateRect(&face, -1, -1);
    }
    DrawFrameControl(dc, &face, DFC_BUTTON, DFCS_BUTTONPUSH | (pushed ? DFCS_PUSHED : 0u));

    // Glyph and caption side by side, centred; pressed: one pixel down right.
    SelectGuard selectFont(dc, font());
    const std::wstring& text = caption();
    RECT extent{0, 0, 0, 0};
    DrawTextW(dc, text.c_str(), -1, &extent, DT_CALCRECT | DT_SINGLELINE);
    const int gap = text.empty() ? 0 : 4;
    const int total = kGlyphSize + gap + extent.right;
    const int shift = pushed ? 1 : 0;
    const int left = (client.right - total) / 2 + shift;
    const int glyphTop = (client.bottom - kGlyphSize) / 2 + shift;
    ImageList_Draw(glyphs_.get(), isEnabled ? 0 : 1, dc, left, glyphTop, ILD_TRANSPARENT);
    RECT textRect{left + kGlyphSize + gap, shift, left + total + 1, client.bottom + shift};
    SetBkMode(dc, TRANSPARENT);
    if (isEnabled) {
        SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
        DrawTextW(dc, text.c_str(), -1, &textRect, DT_SINGLELINE | DT_VCENTER);
    } else {
        // Engraved grey text, as the system draws disabled captions.
        RECT light = textRect;
        OffsetRect(&light, 1, 1);
        SetTextColor(dc, GetSysColor(COLOR_3DHILIGHT));
        DrawTextW(dc, text.c_str(), -1, &light, DT_SINGLELINE | DT_VCENTER);
        SetTextColor(dc, GetSysColor(COLOR_GRAYTEXT));
        DrawTextW(dc, text.c_str(), -1, &textRect, DT_SINGLELINE | DT_VCENTER);
    }
    if (state & BST_FOCUS) {
        RECT focus = face;
        InflateRect(&focus, -3, -3);
        DrawFocusRect(dc, &focus);
    }
    BitBlt(target, 0, 0, client.right, client.bottom, dc, 0, 0, SRCCOPY);
}

// CheckBox

CheckBox::CheckBox(const CheckBoxSpec& layout) : WindowedControl(layout.bounds, layout.caption), checked_(layout.checked) {
    setEnabled(layout.enabled);
}

void CheckBox::createHandle() {
    HWND window = createWindow(L"BUTTON", BS_AUTOCHECKBOX | WS_TABSTOP | WS_GROUP);
    SendMessageW(window, BM_SETCHECK, checked_ ? BST_CHECKED : BST_UNCHECKED, 0);
}

void CheckBox::setChecked(bool checked) {
    if (checked == checked_) return;
    checked_ = checked;
    if (HWND window = handle()) SendMessageW(window, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
    if (onClick) onClick();
}

bool CheckBox::command(WORD code) {
    if (code != BN_CLICKED) return false;
    setChecked(SendMessageW(handle(), BM_GETCHECK, 0, 0) == BST_CHECKED);
    return true;
}

// RadioGroup

RadioGroup::RadioGroup(const RadioGroupSpec& layout)
    : GroupBox({layout.bounds, layout.caption, layout.enabled}),
      items_(layout.items),
      columns_(std::max(1, layout.columns)),
      itemIndex_(clampRadioIndex(layout.itemIndex, static_cast<int>(layout.items.size()))) {}

HWND RadioGroup::buttonHandle(int item) const {
    return item >= 0 && item < static_cast<int>(buttons_.size()) ? buttons_[static_cast<size_t>(item)] : nullptr;
}

// The buttons fill the inside of the frame in columns of equal height, the
// first column first.
void RadioGroup::createHandle() {
    buttons_.clear();  // those of an earlier window went with it
    GroupBox::createHandle();
    const int count = static_cast<int>(items_.size());
    if (count == 0) return;
    const Bounds b = bounds();
    const int lineHeight = textHeight();
    const int perColumn = (count + columns_ - 1) / columns_;
    const int buttonWidth = (b.width - 10) / columns_;
    const int inner = b.height - lineHeight - 5;
    const int buttonHeight = inner / perColumn;
    const int topMargin = lineHeight + 1 + (inner % perColumn) / 2;
    const int boxWidth = GetSystemMetrics(SM_CXMENUCHECK) + 6;
    WindowDC screen;
    SelectGuard selectFont(screen.get(), font());
    for (int i = 0; i < count; ++i) {
        // As wide as its text, so that controls laid beside a short item
        // inside the frame stay reachable.
        RECT extent{0, 0, 0, 0};
        DrawTextW(screen.get(), items_[static_cast<size_t>(i)].c_str(), -1, &extent, DT_CALCRECT | DT_SINGLELINE);
        const int width = std::min(buttonWidth, boxWidth + static_cast<int>(extent.right) + 2);
        const DWORD style = WS_CHILD | WS_VISIBLE | BS_RADIOBUTTON | BS_NOTIFY | (i == 0 ? WS_GROUP : 0u) |
                            (enabled() ? 0u : WS_DISABLED);
        HWND button = CreateWindowExW(0, L"BUTTON", items_[static_cast<size_t>(i)].c_str(), style,
                                      (i / perColumn) * buttonWidth + 8, (i % perColumn) * buttonHeight + topMargin,
                                      width, buttonHeight, handle(), nullptr, ModuleInstance(), nullptr);
        if (!button) throw Error(L"Cannot create the radio button \"" + items_[static_cast<size_t>(i)] + L"\"");
        SendMessageW(button, WM_SETFONT, reinterpret_cast<WPARAM>(font()), FALSE);
        SetWindowSubclass(button, buttonProc, 0, reinterpret_cast<DWORD_PTR>(this));
        buttons_.push_back(button);
    }
    showIndex();
}

// Checks the selected button; it alone is the group's tab stop (the first
// button when none is selected).
void RadioGroup::showIndex() {
    for (size_t i = 0; i < buttons_.size(); ++i) {
        const bool selected = static_cast<int>(i) == itemIndex_;
        SendMessageW(buttons_[i], BM_SETCHECK, selected ? BST_CHECKED : BST_UNCHECKED, 0);
        const bool stop = selected || (itemIndex_ < 0 && i == 0);
        LONG_PTR style = GetWindowLongPtrW(buttons_[i], GWL_STYLE);
        style = stop ? (style | WS_TABSTOP) : (style & ~static_cast<LONG_PTR>(WS_TABSTOP));
        SetWindowLongPtrW(buttons_[i], GWL_STYLE, style);
    }
}

void RadioGroup::setItemIndex(int index) {
    index = clampRadioIndex(index, static_cast<int>(items_.size()));
    if (index == itemIndex_) return;
    itemIndex_ = index;
    showIndex();
    if (onClick) onClick();
}

void RadioGroup::enabledChanged() {
    GroupBox::enabledChanged();
    for (HWND button : buttons_) EnableWindow(button, enabled());
}

LRESULT CALLBACK RadioGroup::buttonProc(HWND button, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                        DWORD_PTR refData) {
    if (message == WM_NCDESTROY) {
        RemoveWindowSubclass(button, buttonProc, 0);
        return DefSubclassProc(button, message, wParam, lParam);
    }
    if (message != WM_SETFOCUS) return DefSubclassProc(button, message, wParam, lParam);
    auto* self = reinterpret_cast<RadioGroup*>(refData);
    self->focusArriving_ = button;
    const LRESULT result = DefSubclassProc(button, message, wParam, lParam);
    self->focusArriving_ = nullptr;
    // The mouse captures a button before focusing it; the arrow keys move
    // the selection with the focus.
    const HWND checked = self->buttonHandle(self->itemIndex_);
    if (checked && checked != button && GetCapture() != button && !ArrowKeyDown() && GetFocus() == button &&
        IsWindowEnabled(checked))
        SetFocus(checked);
    return result;
}

LRESULT RadioGroup::wndProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_COMMAND) {
        const HWND button = reinterpret_cast<HWND>(lParam);
        const auto found = std::find(buttons_.begin(), buttons_.end(), button);
        const WORD code = HIWORD(wParam);
        // A click selects; so does moving to a button with the arrow keys.
        const bool selects = ArrowKeyDown() ? (code == BN_CLICKED || code == BN_SETFOCUS)
                                            : (code == BN_CLICKED && button != focusArriving_);
        if (found != buttons_.end() && selects) {
            setItemIndex(static_cast<int>(found - buttons_.begin()));
            return 0;
        }
    }
    return GroupBox::wndProc(message, wParam, lParam);
}

}  // namespace fw
