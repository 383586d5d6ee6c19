// Popup menus: shortcuts as accelerators of the owner form, the real menu on
// a right-click, disabled items.
#include "framework/application.h"
#include "framework/form.h"
#include "framework/menu.h"
#include "framework/timer.h"
#include "test_support.h"

#include <gtest/gtest.h>

namespace {

class MenuForm : public fw::Form {
public:
    MenuForm() : fw::Form({L"menu", 200, 200, fw::BorderStyle::Single}) {
        setPopupMenu(&menu);
        fortune.onClick = [this] { clicked = L"Fortune"; };
        setting.onClick = [this] { clicked = L"Setting"; };
        contents.onClick = [this] { clicked = L"Contents"; };
        closeItem.onClick = [this] { clicked = L"Close"; };
    }

    fw::PopupMenu menu;
    fw::MenuItem& fortune = menu.add(L"Fortune");
    fw::MenuItem& n2 = menu.add(L"-");
    fw::MenuItem& setting = menu.add(L"&Setting...", fw::Shortcut::Ctrl('S'));
    fw::MenuItem& help = menu.add(L"&Help");
    fw::MenuItem& contents = help.add(L"&Contents", fw::Shortcut{VK_F1});
    fw::MenuItem& n1 = menu.add(L"-");
    fw::MenuItem& closeItem = menu.add(L"&Close", fw::Shortcut::Ctrl('X'));
    std::wstring clicked;
};

// Presses a key on the form with the given modifier state, as the message
// loop sees it.
void PressKey(HWND window, UINT key, bool ctrl) {
    BYTE keys[256] = {};
    GetKeyboardState(keys);
    keys[VK_CONTROL] = ctrl ? 0x80 : 0;
    SetKeyboardState(keys);
    PostMessageW(window, WM_KEYDOWN, key, 1);
    fw::Application::instance().processMessages();
    keys[VK_CONTROL] = 0;
    SetKeyboardState(keys);
}

class MenuTest : public testing::Test {
protected:
    void SetUp() override {
        form.create();
        form.show();
        fw::Application::instance().processMessages();
    }
    MenuForm form;
};

TEST_F(MenuTest, CtrlXRunsItsItem) {
    PressKey(form.handle(), 'X', true);
    EXPECT_EQ(form.clicked, L"Close");
}

TEST_F(MenuTest, ShortcutNeedsItsModifiersAndAnEnabledItem) {
    PressKey(form.handle(), 'X', false);
    EXPECT_EQ(form.clicked, L"");
    form.closeItem.setEnabled(false);
    PressKey(form.handle(), 'X', true);
    EXPECT_EQ(form.clicked, L"");
}

TEST_F(MenuTest, ShortcutsOfSubmenuItemsWorkUnlessTheSubmenuIsDisabled) {
    PressKey(form.handle(), VK_F1, false);
    EXPECT_EQ(form.clicked, L"Contents");
    form.clicked.clear();
    form.help.setEnabled(false);
    PressKey(form.handle(), VK_F1, false);
    EXPECT_EQ(form.clicked, L"");
}

TEST_F(MenuTest, ShortcutsDoNothingWhileTheFormIsDisabled) {
    EnableWindow(form.handle(), FALSE);
    PressKey(form.handle(), 'X', true);
    EXPECT_EQ(form.clicked, L"");
}

TEST(Shortcut, TextNamesModifiersAndKey) {
    EXPECT_EQ(fw::Shortcut::Ctrl('S').text(), L"Ctrl+S");
    EXPECT_EQ((fw::Shortcut{VK_F1, false, true, false}.text()), L"Shift+F1");
    EXPECT_EQ(fw::Shortcut{}.text(), L"");
}

// The real menu: a right-click opens it; while its own loop runs our timer
// reads the item texts and picks the third entry with the keyboard.
TEST_F(MenuTest, RightClickShowsTheMenuWithShortcutTextsAndRunsThePickedItem) {
    std::wstring settingText;
    int itemCount = 0;
    fw::Timer driver(20, [&] {
        HWND popup = FindWindowW(L"#32768", nullptr);
        if (!popup || !IsWindowVisible(popup)) return;
        driver.setInterval(0);
        HMENU menu = reinterpret_cast<HMENU>(SendMessageW(popup, MN_GETHMENU, 0, 0));
        itemCount = GetMenuItemCount(menu);
        wchar_t text[64] = {};
        GetMenuStringW(menu, 2, text, 64, MF_BYPOSITION);
        settingText = text;
        // Down to "Fortune", past the separator to "&Setting...", then Enter.
        PostMessageW(form.handle(), WM_KEYDOWN, VK_DOWN, 0);
        PostMessageW(form.handle(), WM_KEYDOWN, VK_DOWN, 0);
        PostMessageW(form.handle(), WM_KEYDOWN, VK_RETURN, 0);
    });
    SendMessageW(form.handle(), WM_RBUTTONUP, 0, MAKELPARAM(50, 50));
    EXPECT_EQ(itemCount, 6);
    EXPECT_EQ(settingText, L"&Setting...\tCtrl+S");
    EXPECT_EQ(form.clicked, L"Setting");
}

}  // namespace
