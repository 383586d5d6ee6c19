#include "framework/control.h"

#include "framework/application.h"
#include "framework/error.h"
#include "framework/form.h"
#include "framework/graphic_host.h"

namespace fw {

namespace {

const wchar_t* ControlProperty() {
    static const std::wstring name = ModuleProperty(L"FwControl");
    return name.c_str();
}

const wchar_t kPanelClass[] = L"FwPanel";

int NextControlId() {
    static int next = 100;
    return next++;
}

RECT RectOf(const Bounds& b) { return {b.left, b.top, b.left + b.width, b.top + b.height}; }

}  // namespace

// Control

Control::Control(Bounds bounds, std::wstring caption) : bounds_(bounds), caption_(std::move(caption)) {}

Control::~Control() {
    if (form_) form_->forget(*this);
}

HWND Control::hostHandle() const {
    if (parent_) return parent_->handle();
    return form_ ? form_->handle() : nullptr;
}

HFONT Control::font() const { return Form::sharedFont(); }

void Control::setBounds(Bounds bounds) {
    const Bounds old = bounds_;
    bounds_ = bounds;
    if (created_) boundsChanged(old);
}

void Control::setVisible(bool visible) {
    if (visible_ == visible) return;
    visible_ = visible;
    if (created_) visibleChanged();
}

void Control::setEnabled(bool enabled) {
    if (enabled_ == enabled) return;
    enabled_ = enabled;
    if (created_) enabledChanged();
}

void Control::setCaption(const std::wstring& caption) {
    caption_ = caption;
    captionChanged();
}

void Control::invalidate() {
    if (HWND window = handle()) {
        InvalidateRect(window, nullptr, TRUE);
    } else if (HWND host = hostHandle(); host && created_) {
        const RECT rect = RectOf(bounds_);
        InvalidateRect(host, &rect, FALSE);
    }
}

void Control::update() {
    if (HWND window = handle())
        UpdateWindow(window);
    else if (HWND host = hostHandle())
        UpdateWindow(host);
}

// GraphicControl

RECT GraphicControl::rect() const { return RectOf(bounds()); }

void GraphicControl::createControl() {
    if (HWND host = hostHandle()) {
        const RECT r = rect();
        InvalidateRect(host, &r, FALSE);
    }
}

void GraphicControl::boundsChanged(const Bounds& old) {
    if (HWND host = hostHandle()) {
        const RECT before = RectOf(old);
        InvalidateRect(host, &before, FALSE);
        invalidate();
    }
}

void GraphicControl::visibleChanged() {
    if (HWND host = hostHandle()) {
        const RECT r = rect();
        InvalidateRect(host, &r, FALSE);
    }
}

void GraphicControl::enabledChanged() { invalidate(); }

void GraphicControl::captionChanged() { invalidate(); }

// WindowedControl

WindowedControl::WindowedControl(Bounds bounds, std::wstring caption)
    : Control(bounds, std::move(caption)), id_(NextControlId()) {}

WindowedControl::~WindowedControl() {
    if (handle_) DestroyWindow(handle_);
}

WindowedControl* WindowedControl::fromHandle(HWND window) {
    return window ? static_cast<WindowedControl*>(GetPropW(window, ControlProperty())) : nullptr;
}

const wchar_t* WindowedControl::panelClass() {
    static const bool registered =
        RegisterWindowClass(kPanelClass, DefWindowProcW, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));
    if (!registered) throw Error(L"Cannot register the panel window class");
    return kPanelClass;
}

void WindowedControl::createControl() { createHandle(); }

HWND WindowedControl::createWindow(const wchar_t* className, DWORD style, DWORD exStyle) {
    HWND parent = hostHandle();
    if (!parent) throw Error(L"A control's parent window must exist before the control");
    style |= WS_CHILD | (visible() ? WS_VISIBLE : 0u) | (enabled() ? 0u : WS_DISABLED);
    const Bounds b = bounds();
    HWND window = CreateWindowExW(exStyle, className, caption().c_str(), style, b.left, b.top, b.width, b.height,
                                  parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id_)),
                                  ModuleInstance(), nullptr);
    if (!window) throw Error(L"Cannot create the control \"" + caption() + L"\"");
    handle_ = window;
    SetPropW(window, ControlProperty(), this);
    SetWindowSubclass(window, subclassProc, 0, reinterpret_cast<DWORD_PTR>(this));
    SendMessageW(window, WM_SETFONT, reinterpret_cast<WPARAM>(font()), FALSE);
    return window;
}

void WindowedControl::boundsChanged(const Bounds&) {
    const Bounds b = bounds();
    if (handle_) MoveWindow(handle_, b.left, b.top, b.width, b.height, TRUE);
}

void WindowedControl::visibleChanged() {
    if (handle_) ShowWindow(handle_, visible() ? SW_SHOW : SW_HIDE);
}

void WindowedControl::enabledChanged() {
    if (handle_) EnableWindow(handle_, enabled());
}

void WindowedControl::captionChanged() {
    if (handle_) SetWindowTextW(handle_, caption().c_str());
}

bool WindowedControl::reflect(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    switch (message) {
    case WM_COMMAND:
        if (WindowedControl* child = fromHandle(reinterpret_cast<HWND>(lParam)))
            return child->command(HIWORD(wParam));
        return false;
    case WM_NOTIFY: {
        auto* header = reinterpret_cast<NMHDR*>(lParam);
        if (WindowedControl* child = fromHandle(header->hwndFrom)) return child->notify(header, result);
        return false;
    }
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
        if (WindowedControl* child = fromHandle(reinterpret_cast<HWND>(lParam))) {
            if (HBRUSH brush = child->ctlColor(reinterpret_cast<HDC>(wParam))) {
                result = reinterpret_cast<LRESULT>(brush);
                return true;
            }
        }
        return false;
    default:
        return false;
    }
}

LRESULT WindowedControl::wndProc(UINT message, WPARAM wParam, LPARAM lParam) {
    return DefSubclassProc(handle_, message, wParam, lParam);
}

LRESULT CALLBACK WindowedControl::subclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                               DWORD_PTR refData) {
    auto* self = reinterpret_cast<WindowedControl*>(refData);
    if (message == WM_NCDESTROY) {
        RemoveWindowSubclass(window, subclassProc, 0);
        RemovePropW(window, ControlProperty());
        self->handle_ = nullptr;
        return DefSubclassProc(window, message, wParam, lParam);
    }
    try {
        LRESULT result = 0;
        if (reflect(message, wParam, lParam, result)) return result;
        Form* form = self->form();
        if (form && HostGraphicsMessage(*form, window, message, wParam, lParam)) return 0;
        if (message == WM_PAINT && form)
            return PaintOverWindow(*form, window, [&] { return self->wndProc(message, wParam, lParam); });
        return self->wndProc(message, wParam, lParam);
    } catch (...) {
        ReportException();
        return 0;
    }
}

}  // namespace fw
