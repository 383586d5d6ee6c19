#include "framework/menu.h"

#include "framework/error.h"

#include <vector>

namespace fw {

namespace {

std::wstring KeyName(UINT key) {
    if ((key >= 'A' && key <= 'Z') || (key >= '0' && key <= '9')) return std::wstring(1, static_cast<wchar_t>(key));
    if (key >= VK_F1 && key <= VK_F24) return L"F" + std::to_wstring(key - VK_F1 + 1);
    switch (key) {
    case VK_DELETE: return L"Del";
    case VK_INSERT: return L"Ins";
    case VK_RETURN: return L"Enter";
    case VK_ESCAPE: return L"Esc";
    case VK_SPACE: return L"Space";
    default: break;
    }
    wchar_t name[64] = {};
    const LONG scan = static_cast<LONG>(MapVirtualKeyW(key, MAPVK_VK_TO_VSC)) << 16;
    return GetKeyNameTextW(scan, name, 64) > 0 ? std::wstring(name) : std::wstring();
}

// Builds the native menu for one level; command ids index `flat`.
HMENU BuildMenu(std::list<MenuItem>& items, std::vector<MenuItem*>& flat) {
    HMENU menu = CreatePopupMenu();
    for (MenuItem& item : items) {
        if (item.separator()) {
            AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
            continue;
        }
        std::wstring text = item.caption();
        if (!item.shortcut().empty()) text += L"\t" + item.shortcut().text();
        const UINT state = item.enabled() ? MF_ENABLED : MF_GRAYED;
        if (!item.items().empty()) {
            AppendMenuW(menu, MF_POPUP | state, reinterpret_cast<UINT_PTR>(BuildMenu(item.items(), flat)), text.c_str());
        } else {
            flat.push_back(&item);
            AppendMenuW(menu, MF_STRING | state, flat.size(), text.c_str());
        }
    }
    return menu;
}

}  // namespace

std::wstring Shortcut::text() const {
    if (empty()) return {};
    std::wstring result;
    if (ctrl) result += L"Ctrl+";
    if (shift) result += L"Shift+";
    if (alt) result += L"Alt+";
    return result + KeyName(key);
}

MenuItem::MenuItem(std::wstring caption, Shortcut shortcut) : caption_(std::move(caption)), shortcut_(shortcut) {}

MenuItem& MenuItem::add(std::wstring caption, Shortcut shortcut) {
    return items_.emplace_back(std::move(caption), shortcut);
}

void MenuItem::click() {
    if (enabled_ && onClick) onClick();
}

MenuItem* MenuItem::findShortcut(const Shortcut& shortcut) {
    if (!enabled_) return nullptr;
    if (!shortcut_.empty() && shortcut_ == shortcut && items_.empty()) return this;
    for (MenuItem& item : items_)
        if (MenuItem* found = item.findShortcut(shortcut)) return found;
    return nullptr;
}

void PopupMenu::popup(HWND owner, POINT screenPoint) {
    std::vector<MenuItem*> flat;
    HMENU menu = BuildMenu(root_.items(), flat);  // DestroyMenu frees the submenus too
    // Without the owner in the foreground the menu would not close when the
    // user clicks elsewhere.
    SetForegroundWindow(owner);
    const UINT chosen = static_cast<UINT>(TrackPopupMenu(menu, TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_NONOTIFY,
                                                         screenPoint.x, screenPoint.y, 0, owner, nullptr));
    DestroyMenu(menu);
    PostMessageW(owner, WM_NULL, 0, 0);
    if (chosen >= 1 && chosen <= flat.size()) flat[chosen - 1]->click();
}

bool PopupMenu::runShortcut(const Shortcut& shortcut) {
    MenuItem* item = root_.findShortcut(shortcut);
    if (!item) return false;
    item->click();
    return true;
}

}  // namespace fw
