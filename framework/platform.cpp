#include "framework/platform.h"

#include <shellapi.h>

namespace fw {

namespace {

Platform*& current() {
    static RealPlatform real;
    static Platform* installed = &real;
    return installed;
}

}  // namespace

SYSTEMTIME RealPlatform::localTime() {
    SYSTEMTIME time;
    GetLocalTime(&time);
    return time;
}

int RealPlatform::messageBox(HWND owner, const std::wstring& text, const std::wstring& caption, UINT type) {
    return MessageBoxW(owner, text.c_str(), caption.c_str(), type);
}

void RealPlatform::messageBeep(UINT type) { MessageBeep(type); }

bool RealPlatform::winHelp(HWND owner, const std::string& file, UINT command, ULONG_PTR data) {
    return WinHelpA(owner, file.c_str(), command, data) != FALSE;
}

// Windows shipped its viewer up to XP (version 5.x); Vista and later have
// none. Wine keeps one at every version it reports, and its ntdll tells
// itself apart by an export of its own.
bool RealPlatform::hasWinHelpViewer() {
    if (LOBYTE(LOWORD(GetVersion())) < 6) return true;
    const HMODULE ntdll = GetModuleHandleA("ntdll.dll");
    return ntdll && GetProcAddress(ntdll, "wine_get_version");
}

MCIERROR RealPlatform::sendMciCommand(MCIDEVICEID device, UINT message, DWORD_PTR flags, DWORD_PTR parameters) {
    return mciSendCommandA(device, message, flags, parameters);
}

HINSTANCE RealPlatform::shellExecute(HWND owner, const char* verb, const char* file, const char* parameters,
                                     const char* directory, int show) {
    return ShellExecuteA(owner, verb, file, parameters, directory, show);
}

Platform& platform() { return *current(); }

PlatformOverride::PlatformOverride(Platform& replacement) : previous_(current()) { current() = &replacement; }

PlatformOverride::~PlatformOverride() { current() = previous_; }

}  // namespace fw
