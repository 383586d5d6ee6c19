// The seam for what a headless test must not run for real, or must observe.
// The program uses RealPlatform; a test installs its own with PlatformOverride.
#pragma once

#include <windows.h>
#include <mmsystem.h>

#include <array>
#include <string>

namespace fw {

class Platform {
public:
    virtual ~Platform() = default;
    virtual SYSTEMTIME localTime() = 0;
    virtual int messageBox(HWND owner, const std::wstring& text, const std::wstring& caption, UINT type) = 0;
    virtual void messageBeep(UINT type) = 0;

    // The common dialogs (framework/dialogs.h), modal over the active window;
    // each answers true when the user confirmed. The file dialog takes a
    // filter of the form "Description|*.ext|..." and the file name to start
    // at, which becomes the file picked; the colour dialog starts at `color`
    // and keeps the user's custom colours in `customColors`; the input box
    // shows `text` and gives back what the user typed.
    virtual bool openFileDialog(const std::wstring& filter, const std::wstring& defaultExt, std::wstring& fileName) = 0;
    virtual bool colorDialog(COLORREF& color, std::array<COLORREF, 16>& customColors) = 0;
    virtual bool inputQuery(const std::wstring& caption, const std::wstring& prompt, std::wstring& text) = 0;
    // The help viewer (WinHelpA); for HELP_COMMAND, data points to the macro text.
    virtual bool winHelp(HWND owner, const std::string& file, UINT command, ULONG_PTR data) = 0;
    // Whether the system has a WinHelp viewer: Windows before Vista, and Wine.
    virtual bool hasWinHelpViewer() = 0;

    // The alarm's sound and file opening: mciSendCommandA, ShellExecuteA.
    virtual MCIERROR sendMciCommand(MCIDEVICEID device, UINT message, DWORD_PTR flags, DWORD_PTR parameters) = 0;
    virtual HINSTANCE shellExecute(HWND owner, const char* verb, const char* file, const char* parameters,
                                   const char* directory, int show) = 0;
};

class RealPlatform : public Platform {
public:
    SYSTEMTIME localTime() override;
    int messageBox(HWND owner, const std::wstring& text, const std::wstring& caption, UINT type) override;
    void messageBeep(UINT type) override;

    // Defined with the dialogs, in framework/dialogs.cpp.
    bool openFileDialog(const std::wstring& filter, const std::wstring& defaultExt, std::wstring& fileName) override;
    bool colorDialog(COLORREF& color, std::array<COLORREF, 16>& customColors) override;
    bool inputQuery(const std::wstring& caption, const std::wstring& prompt, std::wstring& text) override;
    bool winHelp(HWND owner, const std::string& file, UINT command, ULONG_PTR data) override;
    bool hasWinHelpViewer() override;

    MCIERROR sendMciCommand(MCIDEVICEID device, UINT message, DWORD_PTR flags, DWORD_PTR parameters) override;
    HINSTANCE shellExecute(HWND owner, const char* verb, const char* file, const char* parameters,
                           const char* directory, int show) override;
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
