// The standard windowed controls, created for real on a visible form.
#include "framework/controls.h"
#include "framework/form.h"
#include "test_support.h"

#include <windows.h>

#include <string>

#include <gtest/gtest.h>

namespace {

class Host : public fw::Form {
public:
    // Away from the top-left corner, where the clock of the end-to-end tests
    // (read from the screen) may run at the same time.
    Host() : fw::Form({.caption = L"controls", .clientWidth = 400, .clientHeight = 300, .left = 300, .top = 250}) {}
    void put(fw::Control& control, fw::Control* parent = nullptr) { add(control, parent); }
};

COLORREF PixelOf(HWND window, int x, int y) {
    UpdateWindow(window);
    fw::WindowDC dc(window);
    return GetPixel(dc.get(), x, y);
}

// Whether any pixel of the window's client area has this colour.
bool HasPixel(HWND window, COLORREF color) {
    RECT client;
    GetClientRect(window, &client);
    UpdateWindow(window);
    fw::WindowDC dc(window);
    for (int y = 0; y < client.bottom; ++y)
        for (int x = 0; x < client.right; ++x)
            if (GetPixel(dc.get(), x, y) == color) return true;
    return false;
}

TEST(RadioGroup, ClampsAndNotifiesEveryChangeAlsoProgrammatic) {
    Host host;
    fw::RadioGroup group({.bounds = {0, 0, 150, 60}, .caption = L"g", .items = {L"a", L"b", L"c", L"d"}, .columns = 2});
    int clicks = 0;
    group.onClick = [&] { ++clicks; };
    host.put(group);
    host.create();
    EXPECT_EQ(group.itemIndex(), -1);

    group.setItemIndex(7);
    EXPECT_EQ(group.itemIndex(), 3);
    EXPECT_EQ(SendMessageW(group.buttonHandle(3), BM_GETCHECK, 0, 0), BST_CHECKED);
    EXPECT_EQ(clicks, 1);
    group.setItemIndex(3);  // no change, no notification
    EXPECT_EQ(clicks, 1);
    group.setItemIndex(-5);
    EXPECT_EQ(group.itemIndex(), -1);
    EXPECT_EQ(SendMessageW(group.buttonHandle(3), BM_GETCHECK, 0, 0), BST_UNCHECKED);
    EXPECT_EQ(clicks, 2);

    // A click on a button selects its item.
    SendMessageW(group.buttonHandle(1), BM_CLICK, 0, 0);
    EXPECT_EQ(group.itemIndex(), 1);
    EXPECT_EQ(clicks, 3);

    // Two columns of two: the third item starts the second column.
    RECT first, third;
    GetWindowRect(group.buttonHandle(0), &first);
    GetWindowRect(group.buttonHandle(2), &third);
    EXPECT_EQ(first.top, third.top);
    EXPECT_GT(third.left, first.left);
}

// Arrow keys move through the buttons and select, as in a dialog.
TEST(RadioGroup, ArrowKeysSelect) {
    Host host;
    fw::RadioGroup group({.bounds = {0, 0, 100, 80}, .items = {L"a", L"b", L"c"}, .itemIndex = 0});
    host.put(group);
    host.show();
    // Tests run side by side: when another one's window takes the activation
    // away meanwhile, the focus is gone and the key is tried again.
    for (int attempt = 0; attempt < 5; ++attempt) {
        group.setItemIndex(0);
        SetForegroundWindow(host.handle());
        SetFocus(group.buttonHandle(0));
        BYTE keys[256] = {};
        keys[VK_DOWN] = 0x80;  // held while the key's message is handled
        SetKeyboardState(keys);
        PostMessageW(group.buttonHandle(0), WM_KEYDOWN, VK_DOWN, 0);
        fw::Application::instance().processMessages();
        keys[VK_DOWN] = 0;
        SetKeyboardState(keys);
        if (GetFocus()) break;
    }
    EXPECT_EQ(GetFocus(), group.buttonHandle(1));
    EXPECT_EQ(group.itemIndex(), 1);
}

// A form made again shows the state its controls held.
TEST(RadioGroup, StateSurvivesTheFormBeingMadeAgain) {
    Host host;
    fw::RadioGroup group({.bounds = {0, 0, 100, 80}, .items = {L"a", L"b", L"c"}});
    fw::ComboBox combo({.bounds = {0, 90, 41, 20}, .items = {L"00", L"01"}});
    host.put(group);
    host.put(combo);
    host.create();
    group.setItemIndex(2);
    SendMessageW(combo.handle(), CB_SETCURSEL, 1, 0);
    SendMessageW(host.handle(), WM_COMMAND, MAKEWPARAM(combo.id(), CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(combo.handle()));
    DestroyWindow(host.handle());
    host.create();
    ASSERT_NE(group.buttonHandle(2), nullptr);
    EXPECT_EQ(group.buttonHandle(3), nullptr);
    EXPECT_EQ(GetParent(group.buttonHandle(0)), group.handle());
    EXPECT_EQ(SendMessageW(group.buttonHandle(2), BM_GETCHECK, 0, 0), BST_CHECKED);
    EXPECT_EQ(SendMessageW(combo.handle(), CB_GETCURSEL, 0, 0), 1);
}

TEST(RadioGroup, DisablingDisablesItsButtons) {
    Host host;
    fw::RadioGroup group({.bounds = {0, 0, 100, 60}, .items = {L"a", L"b"}, .itemIndex = 0, .enabled = false});
    host.put(group);
    host.create();
    EXPECT_FALSE(IsWindowEnabled(group.buttonHandle(0)));
    group.setEnabled(true);
    EXPECT_TRUE(IsWindowEnabled(group.buttonHandle(1)));
}

TEST(CheckBox, NotifiesEveryChangeAlsoProgrammatic) {
    Host host;
    fw::CheckBox box({.bounds = {0, 0, 100, 17}, .caption = L"x"});
    int clicks = 0;
    box.onClick = [&] { ++clicks; };
    host.put(box);
    host.create();
    box.setChecked(true);
    EXPECT_EQ(SendMessageW(box.handle(), BM_GETCHECK, 0, 0), BST_CHECKED);
    box.setChecked(true);
    EXPECT_EQ(clicks, 1);
    SendMessageW(box.handle(), BM_CLICK, 0, 0);
    EXPECT_FALSE(box.checked());
    EXPECT_EQ(clicks, 2);
}

TEST(ComboBox, IndexOutsideTheItemsLeavesNoSelection) {
    Host host;
    fw::ComboBox combo({.bounds = {0, 0, 41, 20}, .items = {L"00", L"01", L"02"}, .itemIndex = 9});
    EXPECT_EQ(combo.itemIndex(), -1);
    host.put(combo);
    host.create();
    combo.setItemIndex(2);
    EXPECT_EQ(combo.itemIndex(), 2);
    combo.setItemIndex(3);
    EXPECT_EQ(combo.itemIndex(), -1);
    EXPECT_EQ(SendMessageW(combo.handle(), CB_GETCURSEL, 0, 0), CB_ERR);

    // The user's choice is the new value.
    SendMessageW(combo.handle(), CB_SETCURSEL, 1, 0);
    SendMessageW(host.handle(), WM_COMMAND, MAKEWPARAM(combo.id(), CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(combo.handle()));
    EXPECT_EQ(combo.itemIndex(), 1);
}

TEST(ProgressBar, HoldsValuesAbove65535) {
    Host host;
    fw::ProgressBar bar({.bounds = {8, 8, 217, 16}});
    host.put(bar);
    host.create();
    bar.setMax(200000);
    bar.setPosition(150000);
    EXPECT_EQ(SendMessageW(bar.handle(), PBM_GETRANGE, FALSE, 0), 200000);
    EXPECT_EQ(SendMessageW(bar.handle(), PBM_GETPOS, 0, 0), 150000);
    EXPECT_EQ(bar.position(), 150000);
}

TEST(ColorPanel, ShowsItsColourAndReportsClicks) {
    Host host;
    fw::ColorPanel panel({.bounds = {10, 10, 33, 17}, .color = RGB(255, 128, 0)});
    int clicks = 0;
    panel.onClick = [&] { ++clicks; };
    host.put(panel);
    host.show();
    fwtest::PumpFor(50);
    EXPECT_EQ(PixelOf(panel.handle(), 16, 8), RGB(255, 128, 0));
    panel.setColor(RGB(0, 0, 255));
    EXPECT_EQ(panel.color(), RGB(0, 0, 255));
    EXPECT_EQ(PixelOf(panel.handle(), 16, 8), RGB(0, 0, 255));

    SendMessageW(panel.handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    SendMessageW(panel.handle(), WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    EXPECT_EQ(clicks, 1);
    // Released outside: no click.
    SendMessageW(panel.handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    SendMessageW(panel.handle(), WM_LBUTTONUP, 0, MAKELPARAM(100, 5));
    EXPECT_EQ(clicks, 1);
}

TEST(BitmapButton, ShowsItsGlyphGreyWhenDisabled) {
    Host host;
    fw::BitmapButton ok({.bounds = {10, 10, 75, 25}, .kind = fw::ButtonKind::Ok});
    fw::BitmapButton abort({.bounds = {10, 40, 75, 25}, .kind = fw::ButtonKind::Abort});
    host.put(ok);
    host.put(abort);
    host.show();
    fwtest::PumpFor(50);
    EXPECT_EQ(ok.caption(), L"OK");
    EXPECT_EQ(abort.caption(), L"中止");
    EXPECT_TRUE(HasPixel(ok.handle(), RGB(0, 128, 0)));
    EXPECT_TRUE(HasPixel(abort.handle(), RGB(200, 0, 0)));
    ok.setEnabled(false);
    EXPECT_FALSE(HasPixel(ok.handle(), RGB(0, 128, 0)));
    EXPECT_TRUE(HasPixel(ok.handle(), GetSysColor(COLOR_GRAYTEXT)));
}

TEST(PageControl, HidesTabsAndKeepsTheActivePage) {
    Host host;
    fw::PageControl pages({0, 0, 281, 177});
    fw::Page first(pages, {.caption = L"one"});
    fw::Page second(pages, {.caption = L"two"});
    fw::Page hidden(pages, {.caption = L"three", .tabVisible = false});
    host.put(pages);
    host.put(first, &pages);
    host.put(second, &pages);
    host.put(hidden, &pages);
    host.show();
    EXPECT_EQ(pages.activePage(), &first);
    EXPECT_EQ(SendMessageW(pages.handle(), TCM_GETITEMCOUNT, 0, 0), 2);

    // A click on the second tab shows its page.
    RECT tab;
    SendMessageW(pages.handle(), TCM_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&tab));
    const LPARAM point = MAKELPARAM((tab.left + tab.right) / 2, (tab.top + tab.bottom) / 2);
    SendMessageW(pages.handle(), WM_LBUTTONDOWN, MK_LBUTTON, point);
    SendMessageW(pages.handle(), WM_LBUTTONUP, 0, point);
    EXPECT_EQ(pages.activePage(), &second);
    EXPECT_TRUE(IsWindowVisible(second.handle()));
    EXPECT_FALSE(IsWindowVisible(first.handle()));

    hidden.setTabVisible(true);
    EXPECT_EQ(SendMessageW(pages.handle(), TCM_GETITEMCOUNT, 0, 0), 3);
    EXPECT_EQ(pages.activePage(), &second);
    EXPECT_EQ(SendMessageW(pages.handle(), TCM_GETCURSEL, 0, 0), 1);

    // Hiding the active page's tab shows the first page.
    second.setTabVisible(false);
    EXPECT_EQ(pages.activePage(), &first);
    EXPECT_EQ(SendMessageW(pages.handle(), TCM_GETITEMCOUNT, 0, 0), 2);
}

// A temporary directory tree, removed at the end.
class DirectoryTree : public testing::Test {
protected:
    void SetUp() override {
        char temp[MAX_PATH];
        GetTempPathA(MAX_PATH, temp);
        base = std::string(temp) + "hrl_dirs_" + std::to_string(GetCurrentProcessId());
        for (const std::string& dir : {base, base + "\\beta", base + "\\alpha", base + "\\" + kDoubleByte})
            CreateDirectoryA(dir.c_str(), nullptr);
    }
    void TearDown() override {
        for (const std::string& dir : {base + "\\beta", base + "\\alpha", base + "\\" + kDoubleByte, base})
            RemoveDirectoryA(dir.c_str());
    }
    // "表" in code page 932: its trail byte is the backslash.
    const std::string kDoubleByte = "\x95\x5c";
    std::string base;
};

TEST_F(DirectoryTree, ListsThePathThenTheSubdirectoriesAndNotifiesChanges) {
    ASSERT_EQ(GetACP(), 932u);
    Host host;
    fw::DirectoryList list({0, 0, 177, 57});
    int changes = 0;
    list.onChange = [&] { ++changes; };
    host.put(list);
    host.create();

    ASSERT_TRUE(list.setDirectory(base + "\\"));
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(list.directory().size(), base.size());
    EXPECT_EQ(lstrcmpiA(list.directory().c_str(), base.c_str()), 0);
    const std::vector<std::string>& lines = list.lines();
    ASSERT_GE(lines.size(), 4u);
    EXPECT_EQ(lines[0].size(), 3u);  // the drive's root
    EXPECT_EQ(lines[lines.size() - 4], list.directory());
    EXPECT_EQ(lines[lines.size() - 3], list.directory() + "\\alpha");
    EXPECT_EQ(lines[lines.size() - 2], list.directory() + "\\beta");
    EXPECT_EQ(lines[lines.size() - 1], list.directory() + "\\" + kDoubleByte);
    EXPECT_EQ(SendMessageW(list.handle(), LB_GETCOUNT, 0, 0), static_cast<LRESULT>(lines.size()));

    EXPECT_TRUE(list.setDirectory(base));  // the same directory: no change
    EXPECT_EQ(changes, 1);
    EXPECT_FALSE(list.setDirectory(base + "\\missing"));
    EXPECT_EQ(changes, 1);

    // A double-click opens a line; the double-byte name keeps its trail byte.
    const std::string target = list.directory() + "\\" + kDoubleByte;
    SendMessageW(list.handle(), LB_SETCURSEL, lines.size() - 1, 0);
    SendMessageW(host.handle(), WM_COMMAND, MAKEWPARAM(list.id(), LBN_DBLCLK), reinterpret_cast<LPARAM>(list.handle()));
    EXPECT_EQ(changes, 2);
    EXPECT_EQ(list.directory(), target);
    EXPECT_EQ(list.lines().back(), target);

    // A trailing backslash is dropped character-wise, not byte-wise.
    ASSERT_TRUE(list.setDirectory(base));
    ASSERT_TRUE(list.setDirectory(target + "\\"));
    EXPECT_EQ(list.directory(), target);
}

TEST_F(DirectoryTree, DriveListMovesItsDirectoryListAndFollowsIt) {
    Host host;
    fw::DriveList drives({0, 0, 177, 18});
    fw::DirectoryList list({0, 30, 177, 57});
    drives.setDirectoryList(&list);
    int changes = 0;
    list.onChange = [&] { ++changes; };
    host.put(drives);
    host.put(list);
    host.create();
    ASSERT_TRUE(list.setDirectory(base));
    const char home = list.directory()[0];
    EXPECT_EQ(drives.drive(), home);
    const char other = home == 'c' ? 'z' : 'c';

    changes = 0;
    ASSERT_TRUE(drives.setDrive(static_cast<char>(toupper(other))));
    EXPECT_EQ(drives.drive(), other);
    EXPECT_EQ(list.directory()[0], other);
    EXPECT_EQ(changes, 1);

    ASSERT_TRUE(list.setDirectory(base));
    EXPECT_EQ(drives.drive(), home);
    EXPECT_FALSE(drives.setDrive('q'));  // no such drive here
    EXPECT_EQ(drives.drive(), home);
}

}  // namespace
