#include "framework/lists.h"

#include "framework/gdi.h"
#include "framework/item_index.h"

#include <algorithm>
#include <utility>

namespace fw {

// ListControl

ListControl::ListControl(const Bounds& bounds, std::vector<std::wstring> items, int itemIndex,
                         const Messages& messages)
    : WindowedControl(bounds),
      items_(std::move(items)),
      itemIndex_(listIndexOrNone(itemIndex, static_cast<int>(items_.size()))),
      messages_(messages) {}

void ListControl::fill(HWND window) {
    for (const std::wstring& item : items_)
        SendMessageW(window, messages_.addString, 0, reinterpret_cast<LPARAM>(item.c_str()));
    SendMessageW(window, messages_.setCurSel, static_cast<WPARAM>(itemIndex_), 0);
}

void ListControl::clear() {
    items_.clear();
    itemIndex_ = -1;
    if (HWND window = handle()) SendMessageW(window, messages_.resetContent, 0, 0);
}

void ListControl::addItem(const std::wstring& item) {
    items_.push_back(item);
    if (HWND window = handle()) SendMessageW(window, messages_.addString, 0, reinterpret_cast<LPARAM>(item.c_str()));
}

bool ListControl::command(WORD code) {
    if (code != messages_.selChange) return false;
    itemIndex_ = static_cast<int>(SendMessageW(handle(), messages_.getCurSel, 0, 0));
    return true;
}

void ListControl::setItemIndex(int index) {
    itemIndex_ = listIndexOrNone(index, static_cast<int>(items_.size()));
    if (HWND window = handle()) SendMessageW(window, messages_.setCurSel, static_cast<WPARAM>(itemIndex_), 0);
}

// ComboBox

namespace {
const ListControl::Messages kComboMessages{CB_ADDSTRING, CB_RESETCONTENT, CB_SETCURSEL, CB_GETCURSEL, CBN_SELCHANGE};
const ListControl::Messages kListMessages{LB_ADDSTRING, LB_RESETCONTENT, LB_SETCURSEL, LB_GETCURSEL, LBN_SELCHANGE};
}  // namespace

ComboBox::ComboBox(const ComboBoxSpec& layout)
    : ListControl(layout.bounds, layout.items, layout.itemIndex, kComboMessages) {
    setEnabled(layout.enabled);
}

// Room for up to 12 lines below the closed box.
int ComboBox::droppedHeight() const {
    const int lines = std::clamp(static_cast<int>(items().size()), 1, 12);
    return bounds().height + lines * (TextHeight(font()) + 2) + 2;
}

void ComboBox::createHandle() {
    fill(createWindow(L"COMBOBOX", CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP | WS_GROUP));
    boundsChanged(bounds());
}

void ComboBox::boundsChanged(const Bounds&) {
    HWND window = handle();
    if (!window) return;
    const Bounds b = bounds();
    MoveWindow(window, b.left, b.top, b.width, droppedHeight(), TRUE);
    // The closed height follows the font unless set: the selection field
    // takes the bounds' height less the frame.
    if (b.height > 6) SendMessageW(window, CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), b.height - 6);
}

// ListBox

ListBox::ListBox(const ListBoxSpec& layout) : ListControl(layout.bounds, layout.items, -1, kListMessages) {}

void ListBox::createHandle() {
    fill(createWindow(L"LISTBOX", LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_VSCROLL | WS_TABSTOP | WS_GROUP,
                      WS_EX_CLIENTEDGE));
}

}  // namespace fw
