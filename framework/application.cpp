#include "framework/application.h"

#include "framework/error.h"
#include "framework/form.h"
#include "framework/timer.h"

#include <commctrl.h>

#include <cstdint>

namespace fw {

namespace {

const wchar_t kApplicationClass[] = L"FwApplication";

std::wstring ModuleBaseName() {
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring name(path);
    const size_t slash = name.find_last_of(L"\\/");
    if (slash != std::wstring::npos) name.erase(0, slash + 1);
    const size_t dot = name.rfind(L'.');
    if (dot != std::wstring::npos) name.erase(dot);
    return name;
}

BOOL CALLBACK CollectVisibleForm(HWND window, LPARAM param) {
    auto* forms = reinterpret_cast<std::vector<HWND>*>(param);
    if (Form::fromHandle(window) && IsWindowVisible(window)) forms->push_back(window);
    return TRUE;
}

}  // namespace

HINSTANCE ModuleInstance() {
    static const HINSTANCE module = [] {
        HMODULE self = nullptr;
        GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                           reinterpret_cast<LPCWSTR>(&ModuleInstance), &self);
        return self;
    }();
    return module;
}

std::wstring ModuleProperty(const wchar_t* name) {
    return name + (L"@" + std::to_wstring(reinterpret_cast<std::uintptr_t>(ModuleInstance())));
}

bool RegisterWindowClass(const wchar_t* name, WNDPROC windowProc, HBRUSH background) {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.style = CS_DBLCLKS;
    windowClass.lpfnWndProc = windowProc;
    windowClass.hInstance = ModuleInstance();
    windowClass.hIcon = LoadIconW(windowClass.hInstance, MAKEINTRESOURCEW(1));
    windowClass.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    windowClass.hbrBackground = background;
    windowClass.lpszClassName = name;
    return RegisterClassExW(&windowClass) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

std::string ProgramFolderFile(std::string_view name) {
    char path[MAX_PATH] = {};
    const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder(path, length < MAX_PATH ? length : 0);
    // A trail byte of a double-byte character may equal '\\': find the
    // last separator character by character.
    size_t separator = std::string::npos;
    for (const char* p = folder.c_str(); *p; p = CharNextA(p))
        if (*p == '\\') separator = static_cast<size_t>(p - folder.c_str());
    folder.erase(separator == std::string::npos ? 0 : separator);
    return folder + "\\" + std::string(name);
}

Application& Application::instance() {
    static Application application;
    return application;
}

Application::Application() : title_(ModuleBaseName()) {
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES};
    InitCommonControlsEx(&controls);

    RegisterWindowClass(kApplicationClass, windowProc);

    // A zero-sized window in the middle of the screen: when shown it has the
    // task-bar button but nothing to see; the forms it owns get no buttons.
    const int x = GetSystemMetrics(SM_CXSCREEN) / 2;
    const int y = GetSystemMetrics(SM_CYSCREEN) / 2;
    handle_ = CreateWindowExW(0, kApplicationClass, title_.c_str(),
                              WS_POPUP | WS_CAPTION | WS_CLIPSIBLINGS | WS_SYSMENU | WS_MINIMIZEBOX, x, y, 0, 0,
                              nullptr, nullptr, ModuleInstance(), this);
}

Application::~Application() {
    if (handle_) DestroyWindow(handle_);
}

void Application::setTitle(const std::wstring& title) {
    title_ = title;
    SetWindowTextW(handle_, title_.c_str());
}

void Application::setOnIdle(IdleHandler handler) { onIdle_ = std::move(handler); }

void Application::clearOnIdle() { onIdle_ = nullptr; }

bool Application::hasIdleHandler() const { return static_cast<bool>(onIdle_); }

int Application::run(Form& mainForm) {
    mainForm_ = &mainForm;
    terminated_ = false;
    mainForm.create();
    SetWindowPos(handle_, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    mainForm.show();
    while (!terminated_) loopStep();
    ShowWindow(handle_, SW_HIDE);
    mainForm_ = nullptr;
    terminated_ = false;
    return 0;
}

void Application::processMessages() {
    MSG message;
    while (!terminated_ && PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) handleMessage(message);
}

void Application::loopStep() {
    if (terminated_) return;
    MSG message;
    if (onIdle_) {
        if (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            handleMessage(message);
            return;
        }
        if (!idle() || terminated_) return;
    }
    // Nothing to do before the next message: wait for it and handle it at
    // once (as few requests to Wine's server as a plain GetMessage loop).
    if (GetMessageW(&message, nullptr, 0, 0) != -1) handleMessage(message);
}

void Application::handleMessage(MSG& message) {
    if (message.message == WM_QUIT) {
        terminated_ = true;
        return;
    }
    if (handleShortcut(message) || handleDialogKeys(message)) return;
    TranslateMessage(&message);
    DispatchMessageW(&message);
}

// Key presses that are a shortcut of the popup menu of the form they are
// meant for run that menu item instead.
bool Application::handleShortcut(const MSG& message) {
    if (message.message != WM_KEYDOWN && message.message != WM_SYSKEYDOWN) return false;
    Form* form = message.hwnd ? Form::fromHandle(GetAncestor(message.hwnd, GA_ROOT)) : nullptr;
    if (!form) return false;
    try {
        return form->handleShortcut(message);
    } catch (...) {
        ReportException();
        return true;
    }
}

// Tab, Enter and Esc in forms with windowed controls: the dialog keys, which
// the form's controls may take first (a page control turns its pages).
bool Application::handleDialogKeys(MSG& message) {
    if (!message.hwnd || message.message < WM_KEYFIRST || message.message > WM_KEYLAST) return false;
    HWND root = GetAncestor(message.hwnd, GA_ROOT);
    Form* form = Form::fromHandle(root);
    return form && form->hasWindowedControls() && (form->handleDialogKey(message) || IsDialogMessageW(root, &message));
}

bool Application::idle() {
    bool done = true;
    if (onIdle_) {
        IdleHandler handler = onIdle_;  // the handler may replace or clear itself
        try {
            handler(done);
        } catch (...) {
            ReportException();
        }
    }
    return done;
}

void Application::minimize() {
    if (minimized_) return;
    hiddenForms_.clear();
    EnumThreadWindows(GetCurrentThreadId(), CollectVisibleForm, reinterpret_cast<LPARAM>(&hiddenForms_));
    for (HWND form : hiddenForms_) ShowWindow(form, SW_HIDE);
    minimized_ = true;
    ShowWindow(handle_, SW_MINIMIZE);
}

void Application::restore() {
    minimized_ = false;
    for (HWND form : hiddenForms_)
        if (IsWindow(form)) ShowWindow(form, SW_SHOWNA);
    hiddenForms_.clear();
    if (mainForm_ && mainForm_->handle() && IsWindowVisible(mainForm_->handle()))
        SetForegroundWindow(mainForm_->handle());
}

// The window's messages may arrive while the constructor runs (inside
// instance()), so the procedure finds the object through the window.
LRESULT CALLBACK Application::windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE)
        SetWindowLongPtrW(window, GWLP_USERDATA,
                          reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams));
    auto* self = reinterpret_cast<Application*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (!self) return DefWindowProcW(window, message, wParam, lParam);
    try {
        switch (message) {
        case WM_TIMER:
            Timer::dispatch(wParam);
            return 0;
        case WM_SIZE:
            if (wParam != SIZE_MINIMIZED && self->minimized_) self->restore();
            break;
        case WM_CLOSE:
            if (self->mainForm_) self->mainForm_->close();
            return 0;
        default:
            break;
        }
    } catch (...) {
        ReportException();
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace fw
