#include "framework/form.h"

#include "framework/application.h"
#include "framework/control.h"
#include "framework/error.h"
#include "framework/gdi.h"
#include "framework/graphic_host.h"
#include "framework/menu.h"

#include <algorithm>
#include <unordered_map>

namespace fw {

namespace {

const wchar_t kFormClass[] = L"FwForm";

// The forms of this copy of the framework by window. Kept in the process
// rather than as a window property: a property is a request to Wine's server
// for every message a form receives.
std::unordered_map<HWND, Form*>& formsByWindow() {
    static std::unordered_map<HWND, Form*> forms;
    return forms;
}

void RegisterFormClass(WNDPROC windowProc) {
    static const bool registered = RegisterWindowClass(kFormClass, windowProc);
    if (!registered) throw Error(L"Cannot register the form window class");
}

struct Frame {
    DWORD style;
    DWORD exStyle;
};

Frame FrameOf(BorderStyle border, bool minimizeBox) {
    const DWORD common = WS_CLIPCHILDREN | WS_CLIPSIBLINGS;
    switch (border) {
    case BorderStyle::None:
        return {common | WS_POPUP, 0};
    case BorderStyle::Dialog:
        return {common | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME, WS_EX_DLGMODALFRAME};
    case BorderStyle::Single:
        break;
    }
    return {common | WS_CAPTION | WS_SYSMENU | (minimizeBox ? WS_MINIMIZEBOX : 0u), 0};
}

// The bits of the style that the border does not decide.
constexpr DWORD kStateBits = WS_VISIBLE | WS_DISABLED | WS_MINIMIZE;

SIZE OuterSize(DWORD style, DWORD exStyle, int clientWidth, int clientHeight) {
    RECT rect{0, 0, clientWidth, clientHeight};
    AdjustWindowRectEx(&rect, style, FALSE, exStyle);
    return {rect.right - rect.left, rect.bottom - rect.top};
}

struct DisableContext {
    HWND except;
    std::vector<HWND> disabled;
};

BOOL CALLBACK DisableWindow(HWND window, LPARAM param) {
    auto* context = reinterpret_cast<DisableContext*>(param);
    if (window != context->except && IsWindowVisible(window) && IsWindowEnabled(window)) {
        context->disabled.push_back(window);
        EnableWindow(window, FALSE);
    }
    return TRUE;
}

// Disables every visible, enabled top-level window of this thread but one.
std::vector<HWND> DisableOtherWindows(HWND except) {
    DisableContext context{except, {}};
    EnumThreadWindows(GetCurrentThreadId(), DisableWindow, reinterpret_cast<LPARAM>(&context));
    return context.disabled;
}

}  // namespace

Form::Form(FormSpec layout) : spec_(std::move(layout)) {}

Form::~Form() {
    for (Control* control : controls_) control->form_ = nullptr;
    if (handle_) DestroyWindow(handle_);
}

Form* Form::fromHandle(HWND window) {
    const auto found = formsByWindow().find(window);
    return found != formsByWindow().end() ? found->second : nullptr;
}

HFONT Form::sharedFont() {
    static const FontHandle font(CreateFontW(-12, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, SHIFTJIS_CHARSET,
                                             OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                                             DEFAULT_PITCH | FF_DONTCARE, L"ＭＳ Ｐゴシック"));
    return font.get();
}

void Form::create() {
    if (handle_) return;
    RegisterFormClass(windowProc);
    Application& application = Application::instance();
    const Frame frame = FrameOf(spec_.border, spec_.minimizeBox);
    const DWORD exStyle = frame.exStyle | (spec_.topmost ? WS_EX_TOPMOST : 0u);
    const SIZE outer = OuterSize(frame.style, exStyle, spec_.clientWidth, spec_.clientHeight);
    int left = spec_.left;
    int top = spec_.top;
    if (spec_.centered) {
        RECT work;
        SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
        left = work.left + (work.right - work.left - outer.cx) / 2;
        top = work.top + (work.bottom - work.top - outer.cy) / 2;
    }
    CreateWindowExW(exStyle, kFormClass, spec_.caption.c_str(), frame.style, left, top, outer.cx, outer.cy,
                    application.handle(), nullptr, ModuleInstance(), this);
    if (!handle_) throw Error(L"Cannot create the window \"" + spec_.caption + L"\"");
    for (Control* control : controls_) createControl(*control);
    onCreate();
}

void Form::add(Control& control, Control* parent) {
    if (parent && (!parent->windowed() || parent->form_ != this))
        throw Error(L"A control's parent must be a windowed control of the same form, added before it");
    control.form_ = this;
    control.parent_ = parent;
    controls_.push_back(&control);
    if (handle_) createControl(control);
}

void Form::createControl(Control& control) {
    if (control.created_) return;
    control.createControl();
    control.created_ = true;
}

void Form::forget(Control& control) {
    controls_.erase(std::remove(controls_.begin(), controls_.end(), &control), controls_.end());
}

bool Form::hasWindowedControls() const {
    return std::any_of(controls_.begin(), controls_.end(), [](const Control* c) { return c->windowed(); });
}

void Form::show() {
    create();
    onShow();
    if (modal_ && modalResult_ != mrNone) return;
    visible_ = true;
    ShowWindow(handle_, SW_SHOW);
    // ShowWindow does not bring a window of an inactive program forward.
    SetForegroundWindow(handle_);
}

void Form::hide() {
    visible_ = false;
    paintBuffer_.reset();
    if (handle_) ShowWindow(handle_, SW_HIDE);
}

void Form::setModalResult(int result) {
    modalResult_ = result;
    // The modal loop may be about to wait for a message (an idle handler
    // that set the result and left done == true): give it one.
    if (modal_ && handle_) PostMessageW(handle_, WM_NULL, 0, 0);
}

int Form::showModal() {
    if (modal_) throw Error(L"The window \"" + spec_.caption + L"\" is already shown modally");
    create();
    Application& application = Application::instance();
    HWND previouslyActive = GetActiveWindow();
    ReleaseCapture();

    const std::vector<HWND> disabled = DisableOtherWindows(handle_);
    modal_ = true;
    modalResult_ = mrNone;
    show();
    while (modalResult_ == mrNone) {
        application.loopStep();
        if (application.terminated() || !handle_) modalResult_ = mrCancel;
    }
    if (handle_) runClose();

    for (HWND window : disabled)
        if (IsWindow(window)) EnableWindow(window, TRUE);
    hide();
    if (previouslyActive && IsWindow(previouslyActive)) SetActiveWindow(previouslyActive);
    modal_ = false;
    return modalResult_;
}

void Form::runClose() {
    try {
        onClose();
    } catch (...) {
        ReportException();
    }
}

bool Form::close() {
    if (modal_ && modalResult_ != mrNone) return true;  // already ending
    if (!onCloseQuery()) return false;
    if (modal_) {
        // The modal loop ends and runs onClose once.
        modalResult_ = mrCancel;
        return true;
    }
    onClose();
    if (Application::instance().mainForm() == this) {
        if (handle_) DestroyWindow(handle_);
    } else {
        hide();
    }
    return true;
}

void Form::setCaption(const std::wstring& caption) {
    spec_.caption = caption;
    if (handle_) SetWindowTextW(handle_, caption.c_str());
}

void Form::applyFrame(DWORD style, DWORD exStyle, int clientWidth, int clientHeight, UINT flags) {
    const SIZE outer = OuterSize(style, exStyle, clientWidth, clientHeight);
    SetWindowPos(handle_, nullptr, 0, 0, outer.cx, outer.cy, flags | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Form::setClientSize(int width, int height) {
    spec_.clientWidth = width;
    spec_.clientHeight = height;
    if (!handle_) return;
    applyFrame(static_cast<DWORD>(GetWindowLongPtrW(handle_, GWL_STYLE)),
               static_cast<DWORD>(GetWindowLongPtrW(handle_, GWL_EXSTYLE)), width, height, 0);
}

void Form::setClientWidth(int width) { setClientSize(width, clientSize().cy); }

void Form::setClientHeight(int height) { setClientSize(clientSize().cx, height); }

SIZE Form::clientSize() const {
    if (!handle_) return {spec_.clientWidth, spec_.clientHeight};
    RECT client;
    GetClientRect(handle_, &client);
    return {client.right, client.bottom};
}

void Form::setBorderStyle(BorderStyle border) {
    spec_.border = border;
    if (!handle_) return;
    const Frame frame = FrameOf(border, spec_.minimizeBox);
    const DWORD state = static_cast<DWORD>(GetWindowLongPtrW(handle_, GWL_STYLE)) & kStateBits;
    const DWORD keptEx = static_cast<DWORD>(GetWindowLongPtrW(handle_, GWL_EXSTYLE)) & WS_EX_TOPMOST;
    SetWindowLongPtrW(handle_, GWL_STYLE, static_cast<LONG_PTR>(frame.style | state));
    SetWindowLongPtrW(handle_, GWL_EXSTYLE, static_cast<LONG_PTR>(frame.exStyle | keptEx));
    SetWindowPos(handle_, nullptr, 0, 0, 0, 0,
                 SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    RedrawWindow(handle_, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_ALLCHILDREN);
}

void Form::setTopmost(bool topmost) {
    spec_.topmost = topmost;
    applyTopmost();
}

void Form::applyTopmost() {
    if (!handle_) return;
    const bool now = (GetWindowLongPtrW(handle_, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
    if (now == spec_.topmost) return;
    if (spec_.topmost) {
        SetWindowPos(handle_, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        return;
    }
    // Wine keeps an owned window in the topmost band when its owner lies just
    // below that band; without an owner the change takes.
    const LONG_PTR owner = GetWindowLongPtrW(handle_, GWLP_HWNDPARENT);
    SetWindowLongPtrW(handle_, GWLP_HWNDPARENT, 0);
    SetWindowPos(handle_, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    SetWindowLongPtrW(handle_, GWLP_HWNDPARENT, owner);
}

POINT Form::position() const {
    if (!handle_) return {spec_.left, spec_.top};
    RECT rect;
    GetWindowRect(handle_, &rect);
    return {rect.left, rect.top};
}

void Form::moveTo(int left, int top) {
    spec_.left = left;
    spec_.top = top;
    spec_.centered = false;
    if (handle_) SetWindowPos(handle_, nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Form::invalidate() {
    if (handle_) InvalidateRect(handle_, nullptr, FALSE);
}

void Form::update() {
    if (handle_) UpdateWindow(handle_);
}

bool Form::handleShortcut(const MSG& message) {
    if (!popupMenu_ || !IsWindowEnabled(handle_)) return false;
    const UINT key = static_cast<UINT>(message.wParam);
    if (key == VK_CONTROL || key == VK_SHIFT || key == VK_MENU) return false;
    const Shortcut pressed{key, GetKeyState(VK_CONTROL) < 0, GetKeyState(VK_SHIFT) < 0, GetKeyState(VK_MENU) < 0};
    return popupMenu_->runShortcut(pressed);
}

bool Form::handleDialogKey(const MSG& message) {
    for (HWND window = message.hwnd; window && window != handle_; window = GetParent(window)) {
        WindowedControl* control = WindowedControl::fromHandle(window);
        if (control && control->form() == this && control->dialogKey(message)) return true;
    }
    for (Control* control : controls_)
        if (control->windowed() && static_cast<WindowedControl*>(control)->dialogKey(message)) return true;
    return false;
}

void Form::focusFirstControl() {
    HWND focus = (lastFocus_ && IsWindow(lastFocus_) && IsChild(handle_, lastFocus_))
                     ? lastFocus_
                     : GetNextDlgTabItem(handle_, nullptr, FALSE);
    if (focus) SetFocus(focus);
}

LRESULT CALLBACK Form::windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    Form* form = fromHandle(window);
    if (!form && message == WM_NCCREATE) {
        form = static_cast<Form*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        form->handle_ = window;
        formsByWindow()[window] = form;
    }
    if (!form) return DefWindowProcW(window, message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        formsByWindow().erase(window);
        form->handle_ = nullptr;
        form->visible_ = false;
        form->paintBuffer_.reset();
        // A later create() makes the controls anew with the window.
        for (Control* control : form->controls_) control->created_ = false;
        return DefWindowProcW(window, message, wParam, lParam);
    }
    try {
        return form->wndProc(message, wParam, lParam);
    } catch (...) {
        ReportException();
        return 0;
    }
}

LRESULT Form::wndProc(UINT message, WPARAM wParam, LPARAM lParam) {
    LRESULT result = 0;
    if (WindowedControl::reflect(message, wParam, lParam, result)) return result;
    if (HostGraphicsMessage(*this, handle_, message, wParam, lParam)) return 0;
    switch (message) {
    case WM_ERASEBKGND:
        return 1;  // WM_PAINT paints every pixel
    case WM_PAINT:
        paint();
        return 0;
    case WM_LBUTTONDBLCLK:
        onDblClick();
        return 0;
    case WM_CLOSE:
        close();
        return 0;
    case WM_DESTROY:
        if (Application::instance().mainForm() == this) PostQuitMessage(0);
        break;
    case WM_CONTEXTMENU:
        if (popupMenu_) {
            POINT point{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
            if (lParam == -1) GetCursorPos(&point);
            popupMenu_->popup(handle_, point);
            return 0;
        }
        break;
    case WM_SYSCOMMAND:
        // The task-bar button belongs to the application window: minimising
        // the main form minimises the application.
        if ((wParam & 0xFFF0) == SC_MINIMIZE && Application::instance().mainForm() == this) {
            Application::instance().minimize();
            return 0;
        }
        break;
    case WM_ACTIVATE:
        if (hasWindowedControls()) {
            if (LOWORD(wParam) == WA_INACTIVE) {
                HWND focus = GetFocus();
                if (focus && IsChild(handle_, focus)) lastFocus_ = focus;
            } else {
                focusFirstControl();
            }
            return 0;
        }
        break;
    default:
        break;
    }
    return DefWindowProcW(handle_, message, wParam, lParam);
}

// Paints the area to update into an off-screen buffer: the background and
// onPaint where no opaque graphic control covers it, then the graphic
// controls in z order; then copies that area of the buffer to the screen at
// once.
void Form::paint() {
    PaintSession session(handle_);
    const RECT area = session.area();
    if (IsRectEmpty(&area)) return;
    const SIZE client = clientSize();
    if (!paintBuffer_ || paintBuffer_->area().right != client.cx || paintBuffer_->area().bottom != client.cy)
        paintBuffer_ = std::make_unique<OffscreenBuffer>(session.dc(), RECT{0, 0, client.cx, client.cy}, font());
    OffscreenBuffer& buffer = *paintBuffer_;
    HDC dc = buffer.dc();

    RegionHandle uncovered = UncoveredRegion(*this, handle_, area);
    if (uncovered) {
        buffer.selectClip(uncovered.get());
        FillRect(dc, &area, GetSysColorBrush(COLOR_BTNFACE));
        const int saved = SaveDC(dc);
        SetBkMode(dc, OPAQUE);
        SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
        SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
        onPaint(dc);
        RestoreDC(dc, saved);
        buffer.selectClip(nullptr);
    }
    PaintGraphics(*this, handle_, dc, area);
    buffer.copyTo(session.dc(), area);
}

}  // namespace fw
