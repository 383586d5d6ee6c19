#include "spi_loader/progress_window.h"

#include <commctrl.h>

namespace hrlspi {

namespace {

constexpr wchar_t kClassName[] = L"Tprogress";
constexpr int kCancbtnId = IDABORT;
constexpr int kClientWidth = 233, kClientHeight = 61;
constexpr DWORD kStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;
constexpr DWORD kExStyle = WS_EX_DLGMODALFRAME | WS_EX_TOPMOST;

HINSTANCE thisModule() {
    HMODULE module = nullptr;
    GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCWSTR>(&thisModule), &module);
    return module;
}

}  // namespace

Tprogress::~Tprogress() {
    if (window_ != nullptr) DestroyWindow(window_);
    if (font_ != nullptr) DeleteObject(font_);
    UnregisterClassW(kClassName, thisModule());
}

bool Tprogress::create() {
    const INITCOMMONCONTROLSEX controls{sizeof controls, ICC_PROGRESS_CLASS};
    InitCommonControlsEx(&controls);
    const HINSTANCE module = thisModule();
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = windowProc;
    wc.hInstance = module;
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = kClassName;
    if (RegisterClassExW(&wc) == 0 && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) return false;

    RECT frame{0, 0, kClientWidth, kClientHeight};
    AdjustWindowRectEx(&frame, kStyle, FALSE, kExStyle);
    const int width = frame.right - frame.left, height = frame.bottom - frame.top;
    const int left = (GetSystemMetrics(SM_CXSCREEN) - width) / 2;
    const int top = (GetSystemMetrics(SM_CYSCREEN) - height) / 2;
    window_ = CreateWindowExW(kExStyle, kClassName, L"Loading File...", kStyle, left, top, width, height,
                              nullptr, nullptr, module, this);
    if (window_ == nullptr) return false;

    font_ = CreateFontW(-12, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, SHIFTJIS_CHARSET, OUT_DEFAULT_PRECIS,
                        CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, VARIABLE_PITCH | FF_SWISS, L"ＭＳ Ｐゴシック");
    status_ = CreateWindowExW(0, PROGRESS_CLASSW, L"", WS_CHILD | WS_VISIBLE, 8, 8, 217, 16, window_, nullptr,
                              module, nullptr);
    cancbtn_ = CreateWindowExW(0, L"BUTTON", L"中止", WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_OWNERDRAW, 79, 32, 75,
                               25, window_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(kCancbtnId)), module,
                               nullptr);
    SendMessageW(window_, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
    SendMessageW(cancbtn_, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
    setRange(100);
    return status_ != nullptr && cancbtn_ != nullptr;
}

bool Tprogress::visible() const { return IsWindowVisible(window_) != FALSE; }

void Tprogress::show() {
    ShowWindow(window_, SW_SHOW);
    SetWindowPos(window_, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
}

void Tprogress::hide() { ShowWindow(window_, SW_HIDE); }

void Tprogress::redraw() {
    RedrawWindow(window_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
}

void Tprogress::setRange(int maximum) {
    SendMessageW(status_, PBM_SETRANGE32, 0, maximum);
    SendMessageW(status_, PBM_SETPOS, 0, 0);
}

void Tprogress::setPosition(int position) { SendMessageW(status_, PBM_SETPOS, position, 0); }

LRESULT CALLBACK Tprogress::windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* self = static_cast<Tprogress*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
        self->window_ = window;
    }
    auto* self = reinterpret_cast<Tprogress*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    return self != nullptr ? self->onMessage(message, wParam, lParam) : DefWindowProcW(window, message, wParam, lParam);
}

LRESULT Tprogress::onMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_COMMAND:
        if (LOWORD(wParam) == kCancbtnId && HIWORD(wParam) == BN_CLICKED) cancbtnClick();
        return 0;
    case WM_DRAWITEM:
        if (wParam == static_cast<WPARAM>(kCancbtnId)) {
            drawAbortButton(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
            return TRUE;
        }
        break;
    case WM_CLOSE:  // the close box only hides: the window lives as long as the library is started
        hide();
        return 0;
    case WM_NCDESTROY:
        SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
        window_ = nullptr;
        break;
    default:
        break;
    }
    return DefWindowProcW(window_, message, wParam, lParam);
}

// The abort kind of bitmap button: the standard push-button face, a red
// round glyph with a white cross, and the caption beside it.
void Tprogress::drawAbortButton(const DRAWITEMSTRUCT& item) const {
    const HDC dc = item.hDC;
    RECT face = item.rcItem;
    const bool pushed = (item.itemState & ODS_SELECTED) != 0;
    DrawFrameControl(dc, &face, DFC_BUTTON, DFCS_BUTTONPUSH | (pushed ? DFCS_PUSHED : 0));

    const HGDIOBJ oldFont = SelectObject(dc, font_);
    SIZE text{};
    GetTextExtentPoint32W(dc, L"中止", 2, &text);
    constexpr int kGlyph = 13, kGap = 4;
    const int shift = pushed ? 1 : 0;
    const int left = (face.right - face.left - kGlyph - kGap - text.cx) / 2 + face.left + shift;
    const int middle = (face.top + face.bottom) / 2 + shift;

    const HBRUSH red = CreateSolidBrush(RGB(0xC0, 0x00, 0x00));
    const HPEN dark = CreatePen(PS_SOLID, 1, RGB(0x80, 0x00, 0x00));
    const HPEN white = CreatePen(PS_SOLID, 2, RGB(0xFF, 0xFF, 0xFF));
    const HGDIOBJ oldBrush = SelectObject(dc, red);
    const HGDIOBJ oldPen = SelectObject(dc, dark);
    const int gt = middle - kGlyph / 2;
    Ellipse(dc, left, gt, left + kGlyph, gt + kGlyph);
    SelectObject(dc, white);
    MoveToEx(dc, left + 4, gt + 4, nullptr);
    LineTo(dc, left + kGlyph - 4, gt + kGlyph - 4);
    MoveToEx(dc, left + kGlyph - 5, gt + 4, nullptr);
    LineTo(dc, left + 3, gt + kGlyph - 4);
    SelectObject(dc, oldPen);
    SelectObject(dc, oldBrush);
    DeleteObject(white);
    DeleteObject(dark);
    DeleteObject(red);

    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
    TextOutW(dc, left + kGlyph + kGap, middle - text.cy / 2, L"中止", 2);
    SelectObject(dc, oldFont);
    if (item.itemState & ODS_FOCUS) {
        RECT focus = face;
        InflateRect(&focus, -4, -4);
        DrawFocusRect(dc, &focus);
    }
}

}  // namespace hrlspi
