// The clock window's popup menu as the window shows it, and its three
// information commands run from that real menu: Fortune, Contents, About.
#include "app/clock/clockform.h"

#include <gtest/gtest.h>

#include <shellapi.h>

#include <initializer_list>
#include <optional>
#include <string>
#include <vector>

#include "app/info/aboutbox.h"
#include "app/info/help.h"
#include "app/resources/resource_ids.h"
#include "app/settings/setupform.h"
#include "framework/application.h"
#include "framework/gdi.h"
#include "framework/timer.h"
#include "tests/framework/test_support.h"
#include "tests/spi/spi_test_support.h"

namespace {

// The items of a shown menu, one line each: two spaces per submenu level,
// the text (caption, tab, shortcut), "-" for a separator, " (grayed)" for
// a disabled item (the system grays every separator).
void ReadMenu(HMENU menu, const std::wstring& indent, std::vector<std::wstring>& lines) {
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
        wchar_t text[128] = {};
        MENUITEMINFOW info{};
        info.cbSize = sizeof(info);
        info.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_STRING | MIIM_SUBMENU;
        info.dwTypeData = text;
        info.cch = 128;
        GetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &info);
        const bool separator = (info.fType & MFT_SEPARATOR) != 0;
        std::wstring line = indent + (separator ? L"-" : text);
        if (!separator && (info.fState & MFS_GRAYED)) line += L" (grayed)";
        lines.push_back(line);
        if (info.hSubMenu) ReadMenu(info.hSubMenu, indent + L"  ", lines);
    }
}

BOOL CALLBACK FindMenuWindow(HWND window, LPARAM found) {
    wchar_t kind[16] = {};
    GetClassNameW(window, kind, 16);
    if (std::wstring(kind) != L"#32768" || !IsWindowVisible(window)) return TRUE;
    *reinterpret_cast<HWND*>(found) = window;
    return FALSE;
}

// The popup menu window of this thread (other tests may show theirs).
HWND OwnMenuWindow() {
    HWND found = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), FindMenuWindow, reinterpret_cast<LPARAM>(&found));
    return found;
}

class InfoCommands : public ::testing::Test {
protected:
    void SetUp() override {
        clock.create();
        about.create();
        setup.create();
        clock.StartUp();
        clock.Fortune.StartUp({}, 0);  // the start-up load's fortunes: Fortune.dat beside the program
        clock.show();
        app.processMessages();
    }

    void TearDown() override {
        if (clock.handle()) clock.FormClose();
        app.clearOnIdle();
    }

    // Right-clicks the clock; once its menu shows, reads it and presses the
    // keys in it. Returns the menu's lines.
    std::vector<std::wstring> useMenu(std::initializer_list<UINT> keys) {
        std::vector<std::wstring> lines;
        fw::Timer driver(20, [&] {
            HWND popup = OwnMenuWindow();
            if (!popup) return;
            driver.setInterval(0);
            ReadMenu(reinterpret_cast<HMENU>(SendMessageW(popup, MN_GETHMENU, 0, 0)), L"", lines);
            for (UINT key : keys) PostMessageW(clock.handle(), WM_KEYDOWN, key, 0);
        });
        SendMessageW(clock.handle(), WM_RBUTTONUP, 0, MAKELPARAM(50, 50));
        return lines;
    }

    fw::Application& app = fw::Application::instance();
    fwtest::RecordingPlatform platform;
    fw::PlatformOverride usePlatform{platform};
    TSetupform setup;
    TAboutBox about;
    Tclockform clock{setup, &about};
};

TEST_F(InfoCommands, PopupMenuShowsItsItemsAndFollowsTheFortuneData) {
    const std::vector<std::wstring> shown = {
        L"Fortune", L"-", L"&Setting...\tCtrl+S", L"&Help", L"  &Contents", L"  &About...", L"-", L"&Close\tCtrl+X"};
    EXPECT_EQ(useMenu({VK_ESCAPE}), shown);

    clock.Fortune.FortuneDataPath = "c:\\no such folder\\Fortune.dat";
    clock.Fortune.LoadFortunes(false);
    std::vector<std::wstring> withoutFortunes = shown;
    withoutFortunes[0] += L" (grayed)";
    EXPECT_EQ(useMenu({VK_ESCAPE}), withoutFortunes);
}

TEST_F(InfoCommands, FortuneShowsTheEntryInTheVoiceOfTheBackground) {
    const spitest::TempDir dir;
    dir.write("one.dat", "\x91\xe5\x8b\x67");  // 大吉, without a line end
    clock.Fortune.FortuneDataPath = dir.file("one.dat");
    clock.Fortune.LoadFortunes(true);
    setup.bgselector.setItemIndex(2);
    useMenu({VK_DOWN, VK_RETURN});
    EXPECT_EQ(platform.beeps, std::vector<UINT>{1});
    ASSERT_EQ(platform.boxes.size(), 1u);
    EXPECT_EQ(platform.boxes[0].text, L"え、えと…君の運勢は…\n「大吉」\nなんだ。");
}

TEST_F(InfoCommands, ContentsOpensTheHelpFileThenJumpsToIndexWhenThatWorked) {
    useMenu({VK_DOWN, VK_DOWN, VK_DOWN, VK_RIGHT, VK_RETURN});
    const std::string file = fw::ProgramFolderFile("Horolo.hlp");
    ASSERT_EQ(platform.helps.size(), 2u);
    EXPECT_EQ(platform.helps[0].owner, clock.handle());
    EXPECT_EQ(platform.helps[0].file, file);
    EXPECT_EQ(platform.helps[0].command, static_cast<UINT>(HELP_CONTENTS));
    EXPECT_EQ(platform.helps[1].file, file);
    EXPECT_EQ(platform.helps[1].command, static_cast<UINT>(HELP_COMMAND));
    EXPECT_EQ(platform.helps[1].macro, "JumpID(\"\",\"INDEX\")");
    EXPECT_TRUE(platform.shells.empty());

    platform.helps.clear();
    platform.helpAnswer = false;
    clock.hlpContentsClick();
    EXPECT_EQ(platform.helps.size(), 1u);
}

// Without a WinHelp viewer (Windows Vista and later) Contents opens the HTML
// page beside the help file in the browser, and reports a page that does
// not open. The missing page goes through the real shell.
TEST_F(InfoCommands, ContentsWithoutAViewerOpensTheHtmlPageOrSaysWhyNot) {
    platform.helpViewer = false;
    const struct {
        const char* name;
        std::string helpFile;
        std::optional<INT_PTR> shellAnswer;
        std::string page;
        std::vector<std::wstring> boxes;
    } cases[] = {
        {"opened", fw::ProgramFolderFile("Horolo.hlp"), 42, fw::ProgramFolderFile("Horolo.html"), {}},
        {"no browser", fw::ProgramFolderFile("Horolo.hlp"), SE_ERR_NOASSOC, fw::ProgramFolderFile("Horolo.html"),
         {L"Error:\nヘルプファイル Horolo.html を開けません"}},
        {"missing", "c:\\no such folder\\Horolo.hlp", std::nullopt, "c:\\no such folder\\Horolo.html",
         {L"Error:\nヘルプファイル Horolo.html が見つかりません"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        platform.shells.clear();
        platform.boxes.clear();
        platform.shellAnswer = c.shellAnswer;
        ShowHelpContents(clock.handle(), c.helpFile);
        EXPECT_TRUE(platform.helps.empty());
        ASSERT_EQ(platform.shells.size(), 1u);
        EXPECT_EQ(platform.shells[0].owner, clock.handle());
        EXPECT_EQ(platform.shells[0].verb, "open");
        EXPECT_EQ(platform.shells[0].file, c.page);
        std::vector<std::wstring> boxes;
        for (const auto& box : platform.boxes) boxes.push_back(box.text);
        EXPECT_EQ(boxes, c.boxes);
    }
}

// These tests run under Wine, which shows .hlp files in its own viewer.
TEST(HelpViewer, WineIsFoundToHaveOne) { EXPECT_TRUE(fw::RealPlatform().hasWinHelpViewer()); }

// Start-up loaded hrl_spi.dll (it lies beside this test): the About window
// names it. OK ends the modal showing.
TEST_F(InfoCommands, AboutShowsTheVersionAndThePluginLineUntilOk) {
    ASSERT_NE(clock.LoaderHandle, nullptr);
    bool shown = false;
    fw::Timer closer(20, [&] {
        if (!about.visible()) return;
        closer.setInterval(0);
        shown = IsWindowVisible(about.handle()) != FALSE;
        SendMessageW(about.OKButton.handle(), BM_CLICK, 0, 0);
    });
    useMenu({VK_DOWN, VK_DOWN, VK_DOWN, VK_RIGHT, VK_DOWN, VK_RETURN});
    EXPECT_TRUE(shown);
    EXPECT_FALSE(about.visible());
    EXPECT_EQ(about.Version.caption(), L"Version 1.00-Release");
    EXPECT_TRUE(about.withsusie.visible());
    EXPECT_EQ(GetWindowLongW(about.OKButton.handle(), GWL_STYLE) & BS_TYPEMASK, BS_DEFPUSHBUTTON);
}

// Created while hrl_spi.dll is not loaded, the window leaves the line out.
TEST(AboutBox, WithoutThePluginLibraryThereIsNoPluginLine) {
    ASSERT_EQ(GetModuleHandleA("hrl_spi.dll"), nullptr);
    TAboutBox about;
    about.create();
    EXPECT_FALSE(about.withsusie.visible());
    EXPECT_EQ(about.Version.caption(), L"Version 1.00-Release");
    EXPECT_EQ(about.clientSize().cx, 298);
    EXPECT_EQ(about.clientSize().cy, 161);
}

// The panel's frame (lowered outside, raised inside) and the clock face
// picture in it, its background in the panel's colour.
TEST(AboutBox, DrawsThePictureInTheBevelledPanel) {
    TAboutBox about;
    about.show();
    fw::Application::instance().processMessages();
    const fw::WindowDC dc(about.handle());
    const struct {
        int x, y;
        COLORREF colour;
    } points[] = {
        {8, 8, GetSysColor(COLOR_BTNSHADOW)},     {9, 9, GetSysColor(COLOR_BTNHIGHLIGHT)},
        {16, 16, GetSysColor(COLOR_BTNFACE)},     {16 + 45, 16 + 22, RGB(250, 246, 232)},
        {16 + 32, 16 + 4, RGB(40, 48, 64)},
    };
    for (const auto& p : points) EXPECT_EQ(GetPixel(dc.get(), p.x, p.y), p.colour) << p.x << "," << p.y;
}

}  // namespace
