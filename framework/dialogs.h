// The common dialogs: the file-open dialog, the colour dialog and the input
// box. Each runs modally through the platform (framework/platform.h), so that
// a test can answer it; the real ones are the system's file and colour
// dialogs and a small form of our own.
#pragma once

#include <windows.h>

#include <array>
#include <string>

namespace fw {

// Asks for an existing file in an existing folder. Texts are ANSI texts in
// the system code page, as the paths they name.
struct FileOpenDialog {
    // Pairs of a description and its patterns: "Windows Bitmap (*.BMP)|*.bmp".
    std::string filter{};
    // Added to a name typed without an extension: "bmp".
    std::string defaultExt{};
    // The file the dialog starts at; after Picked, the file picked.
    std::string fileName{};

    enum class Result {
        Cancelled,
        Picked,
        // The user picked a file whose path the code page cannot write;
        // fileName is left as it was.
        NotInCodePage,
    };
    Result execute();
};

// Asks for a colour. The custom colours the user keeps in the dialog last as
// long as this object and are saved nowhere; they start white.
class ColorDialog {
public:
    ColorDialog() { customColors_.fill(RGB(255, 255, 255)); }
    // The colour the dialog starts at; after a confirmed run, the one chosen.
    COLORREF color = RGB(0, 0, 0);
    // True when the user confirmed.
    bool execute();
    const std::array<COLORREF, 16>& customColors() const { return customColors_; }

private:
    std::array<COLORREF, 16> customColors_;
};

// Asks for one line of text, at most 255 characters typed, in a small modal
// form: the caption, the prompt above an edit box that shows `preset`, OK and
// ｷｬﾝｾﾙ. Returns the text entered, or the preset when the user cancels.
std::wstring InputBox(const std::wstring& caption, const std::wstring& prompt, const std::wstring& preset);

}  // namespace fw
