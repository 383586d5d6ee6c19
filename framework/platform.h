// The seam for what a headless test must not run for real, or must observe.
// The program uses RealPlatform; a test installs its own with PlatformOverride.
#pragma once

#include <windows.h>

#include <string>

namespace fw {

class Platform {
public:
    virtual ~Platform() = default;
    virtual SYSTEMTIME localTime() = 0;
    virtual int messageBox(HWND owner, const std::wstring& text, const std::wstring& caption, UINT type) = 0;
    virtual void messageBeep(UINT type) = 0;
};

class RealPlatform : public Platform {
public:
    SYSTEMTIME localTime() override;
    int messageBox(HWND owner, const std::wstring& text, const std::wstring& caption, UINT type) override;
    void messageBeep(UINT type) override;
};

// The platform in use: a RealPlatform unless a test installed another.
Platform& platform();

// Installs a platform for the scope of the object; restores the previous one.
class PlatformOverride {
public:
    explicit PlatformOverride(Platform& replacement);
    ~PlatformOverride();
    PlatformOverride(const PlatformOverride&) = delete;
    PlatformOverride& operator=(const PlatformOverride&) = delete;

private:
    Platform* previous_;
};

}  // namespace fw
