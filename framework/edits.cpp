#include "framework/edits.h"

namespace fw {

namespace {

std::wstring WindowText(HWND window) {
    std::wstring text(static_cast<size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(static_cast<size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    return text;
}

}  // namespace

Edit::Edit(const EditSpec& layout) : WindowedControl(layout.bounds, layout.text), maxLength_(layout.maxLength) {}

void Edit::createHandle() {
    HWND window = createWindow(L"EDIT", ES_AUTOHSCROLL | WS_TABSTOP | WS_GROUP, WS_EX_CLIENTEDGE);
    if (maxLength_ > 0) SendMessageW(window, EM_LIMITTEXT, static_cast<WPARAM>(maxLength_), 0);
}

void Edit::selectAll() {
    if (HWND window = handle()) SendMessageW(window, EM_SETSEL, 0, -1);
}

// What the user typed becomes the text.
bool Edit::command(WORD code) {
    if (code != EN_CHANGE) return false;
    setCaption(WindowText(handle()));
    return true;
}

// Setting the text the window already shows would move the caret to the
// start while the user types.
void Edit::captionChanged() {
    if (HWND window = handle(); window && WindowText(window) != text()) WindowedControl::captionChanged();
}

}  // namespace fw
