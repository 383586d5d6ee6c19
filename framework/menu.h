// Popup menus: a tree of items owned by the menu, shown on a right-click of
// the owner form; item shortcuts work while the owner form is active.
#pragma once

#include <windows.h>

#include <list>
#include <functional>
#include <memory>
#include <string>

namespace fw {

struct Shortcut {
    UINT key = 0;  // virtual-key code ('A'..'Z', '0'..'9', VK_F1, ...); 0: none
    bool ctrl = false;
    bool shift = false;
    bool alt = false;

    static Shortcut Ctrl(UINT key) { return {key, true, false, false}; }
    bool empty() const { return key == 0; }
    // The text shown beside the item, e.g. "Ctrl+S".
    std::wstring text() const;
    bool operator==(const Shortcut&) const = default;
};

class MenuItem {
public:
    // A caption of "-" makes a separator.
    explicit MenuItem(std::wstring caption, Shortcut shortcut = {});
    MenuItem(const MenuItem&) = delete;
    MenuItem& operator=(const MenuItem&) = delete;

    // Adds an item to this item's submenu; the reference stays valid.
    MenuItem& add(std::wstring caption, Shortcut shortcut = {});

    const std::wstring& caption() const { return caption_; }
    void setCaption(std::wstring caption) { caption_ = std::move(caption); }
    const Shortcut& shortcut() const { return shortcut_; }
    bool enabled() const { return enabled_; }
    void setEnabled(bool enabled) { enabled_ = enabled; }
    bool separator() const { return caption_ == L"-"; }
    const std::list<MenuItem>& items() const { return items_; }
    std::list<MenuItem>& items() { return items_; }

    // Runs onClick when the item is enabled.
    void click();
    std::function<void()> onClick;

    // The enabled item (this or below) with the given shortcut, or null.
    MenuItem* findShortcut(const Shortcut& shortcut);

private:
    std::wstring caption_;
    Shortcut shortcut_;
    bool enabled_ = true;
    std::list<MenuItem> items_;
};

class PopupMenu {
public:
    PopupMenu() : root_(L"") {}
    MenuItem& add(std::wstring caption, Shortcut shortcut = {}) { return root_.add(std::move(caption), shortcut); }
    std::list<MenuItem>& items() { return root_.items(); }

    // Shows the menu at a screen point for the owner window and runs the
    // chosen item's onClick after the menu has closed.
    void popup(HWND owner, POINT screenPoint);
    // Runs the item with this shortcut; true when there was one.
    bool runShortcut(const Shortcut& shortcut);

private:
    MenuItem root_;
};

}  // namespace fw
