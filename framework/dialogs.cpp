#include "framework/dialogs.h"

#include "framework/ansi.h"
#include "framework/buttons.h"
#include "framework/edits.h"
#include "framework/file_filter.h"
#include "framework/form.h"
#include "framework/graphic_controls.h"
#include "framework/platform.h"

#include <commdlg.h>

#include <algorithm>
#include <vector>

namespace fw {

namespace {

constexpr int kInputMaxLength = 255;

// The input box: the prompt, the edit box beneath it, OK and Cancel, centred
// on the screen and wide enough for the prompt.
class InputBoxForm : public Form {
public:
    InputBoxForm(const std::wstring& caption, const std::wstring& prompt, const std::wstring& text)
        : Form({.caption = caption, .clientHeight = 99, .border = BorderStyle::Dialog, .centered = true}),
          promptLabel(12, 12, prompt),
          edit({.text = text, .maxLength = kInputMaxLength}) {
        const int width = std::max(270, promptLabel.bounds().width + 24);
        setClientWidth(width);
        edit.setBounds({12, 30, width - 24, 21});
        ok.setBounds({width / 2 - 80, 62, 75, 25});
        cancel.setBounds({width / 2 + 5, 62, 75, 25});
        add(promptLabel);
        add(edit);
        add(ok);
        add(cancel);
    }

    Label promptLabel;
    Edit edit;
    BitmapButton ok{{.kind = ButtonKind::Ok}};
    BitmapButton cancel{{.kind = ButtonKind::Cancel}};

protected:
    void onCreate() override { edit.selectAll(); }
};

}  // namespace

FileOpenDialog::Result FileOpenDialog::execute() {
    std::wstring picked = FromAnsi(fileName);
    if (!platform().openFileDialog(FromAnsi(filter), FromAnsi(defaultExt), picked)) return Result::Cancelled;
    const std::optional<std::string> path = ToAnsiExact(picked);
    if (!path) return Result::NotInCodePage;
    fileName = *path;
    return Result::Picked;
}

bool ColorDialog::execute() {
    COLORREF chosen = color;
    if (!platform().colorDialog(chosen, customColors_)) return false;
    color = chosen;
    return true;
}

std::wstring InputBox(const std::wstring& caption, const std::wstring& prompt, const std::wstring& preset) {
    std::wstring text = preset;
    return platform().inputQuery(caption, prompt, text) ? text : preset;
}

bool RealPlatform::openFileDialog(const std::wstring& filter, const std::wstring& defaultExt, std::wstring& fileName) {
    const std::wstring systemFilter = SystemFileFilter(filter);
    std::vector<wchar_t> file(32768, L'\0');
    if (fileName.size() < file.size()) std::copy(fileName.begin(), fileName.end(), file.begin());
    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof(dialog);
    dialog.hwndOwner = GetActiveWindow();
    dialog.lpstrFilter = systemFilter.empty() ? nullptr : systemFilter.c_str();
    dialog.nFilterIndex = 1;
    dialog.lpstrFile = file.data();
    dialog.nMaxFile = static_cast<DWORD>(file.size());
    dialog.lpstrDefExt = defaultExt.empty() ? nullptr : defaultExt.c_str();
    // The program's working directory stays where it was.
    dialog.Flags = OFN_EXPLORER | OFN_ENABLESIZING | OFN_HIDEREADONLY | OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST |
                   OFN_NOCHANGEDIR;
    if (!GetOpenFileNameW(&dialog)) return false;
    fileName = file.data();
    return true;
}

bool RealPlatform::colorDialog(COLORREF& color, std::array<COLORREF, 16>& customColors) {
    CHOOSECOLORW dialog{};
    dialog.lStructSize = sizeof(dialog);
    dialog.hwndOwner = GetActiveWindow();
    dialog.rgbResult = color;
    dialog.lpCustColors = customColors.data();
    dialog.Flags = CC_RGBINIT;
    if (!ChooseColorW(&dialog)) return false;
    color = dialog.rgbResult;
    return true;
}

bool RealPlatform::inputQuery(const std::wstring& caption, const std::wstring& prompt, std::wstring& text) {
    InputBoxForm box(caption, prompt, text);
    if (box.showModal() != mrOk) return false;
    text = box.edit.text();
    return true;
}

}  // namespace fw
