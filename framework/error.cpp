#include "framework/error.h"

#include "framework/ansi.h"
#include "framework/application.h"
#include "framework/platform.h"

#include <windows.h>

namespace fw {

std::wstring CurrentExceptionText() {
    try {
        throw;
    } catch (const Error& error) {
        return error.text();
    } catch (const std::exception& error) {
        return FromAnsi(error.what());
    } catch (...) {
        return L"Unknown error";
    }
}

void ReportException() noexcept {
    try {
        const std::wstring text = CurrentExceptionText() + L".";
        HWND owner = GetActiveWindow();
        platform().messageBox(owner, text, Application::instance().title(), MB_ICONSTOP | MB_OK);
    } catch (...) {
        // Nothing is left to report with; the program goes on.
    }
}

void ShowErrorBox(const std::wstring& text) {
    platform().messageBeep(MB_ICONASTERISK);
    platform().messageBox(nullptr, text, L"ｴﾗｰ", MB_ICONSTOP | MB_OK | MB_TASKMODAL);
}

}  // namespace fw
