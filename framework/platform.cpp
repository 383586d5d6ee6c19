#include "framework/platform.h"

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

Platform& platform() { return *current(); }

PlatformOverride::PlatformOverride(Platform& replacement) : previous_(current()) { current() = &replacement; }

PlatformOverride::~PlatformOverride() { current() = previous_; }

}  // namespace fw
