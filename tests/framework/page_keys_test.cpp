// The keys of a tabbed dialog, pressed through the system's input into a
// form with a page control: they turn the pages as clicks on the tabs do.
#include "framework/controls.h"
#include "framework/form.h"
#include "test_support.h"

#include <windows.h>

#include <initializer_list>

#include <gtest/gtest.h>

namespace {

class Host : public fw::Form {
public:
    Host() : fw::Form({.caption = L"pages", .clientWidth = 380, .clientHeight = 180, .left = 300, .top = 250}) {
        add(pages);
        add(one, &pages);
        add(oneFirst, &one);
        add(oneSecond, &one);
        add(two, &pages);
        add(twoDisabled, &two);
        add(twoFirst, &two);
        add(hidden, &pages);
        add(hiddenFirst, &hidden);
        add(three, &pages);
        add(ok);
    }

    fw::PageControl pages{{0, 0, 281, 177}};
    fw::Page one{pages, {.caption = L"one"}};
    fw::Button oneFirst{{.bounds = {8, 8, 75, 25}, .caption = L"a"}};
    fw::CheckBox oneSecond{{.bounds = {8, 40, 75, 17}, .caption = L"b"}};
    fw::Page two{pages, {.caption = L"two"}};
    fw::Button twoDisabled{{.bounds = {8, 8, 75, 25}, .caption = L"c", .enabled = false}};
    fw::CheckBox twoFirst{{.bounds = {8, 40, 75, 17}, .caption = L"d"}};
    fw::Page hidden{pages, {.caption = L"hidden", .tabVisible = false}};
    fw::Button hiddenFirst{{.bounds = {8, 8, 75, 25}, .caption = L"e"}};
    fw::Page three{pages, {.caption = L"three"}};  // no control to focus
    fw::Button ok{{.bounds = {288, 8, 75, 25}, .caption = L"OK"}};
};

TEST(PageKeys, TurnPagesAndReachTheStrip) {
    Host host;
    host.show();
    HWND strip = host.pages.handle();
    const struct {
        const char* name;
        fw::Page& from;
        HWND focus;
        std::initializer_list<WORD> keys;
        fw::Page& to;
        HWND focused;
    } cases[] = {
        {"Ctrl+Tab", host.one, host.oneSecond.handle(), {VK_CONTROL, VK_TAB}, host.two, host.twoFirst.handle()},
        {"Ctrl+Tab past a hidden tab", host.two, host.twoFirst.handle(), {VK_CONTROL, VK_TAB}, host.three, strip},
        {"Ctrl+Tab wraps", host.three, strip, {VK_CONTROL, VK_TAB}, host.one, host.oneFirst.handle()},
        {"Ctrl+Shift+Tab wraps", host.one, host.ok.handle(), {VK_CONTROL, VK_SHIFT, VK_TAB}, host.three, strip},
        {"Ctrl+PgDn", host.one, host.oneFirst.handle(), {VK_CONTROL, VK_NEXT}, host.two, host.twoFirst.handle()},
        {"Ctrl+PgUp", host.two, host.twoFirst.handle(), {VK_CONTROL, VK_PRIOR}, host.one, host.oneFirst.handle()},
        {"Ctrl+PgUp wraps", host.one, host.oneFirst.handle(), {VK_CONTROL, VK_PRIOR}, host.three, strip},
        {"Tab from the last button", host.one, host.ok.handle(), {VK_TAB}, host.one, strip},
        {"Tab from the strip", host.two, strip, {VK_TAB}, host.two, host.twoFirst.handle()},
        {"Tab from the strip over a page without tab stops", host.three, strip, {VK_TAB}, host.three,
         host.ok.handle()},
        {"Shift+Tab from the page's first control", host.one, host.oneFirst.handle(), {VK_SHIFT, VK_TAB},
         host.one, strip},
        {"Shift+Tab into the page", host.one, host.ok.handle(), {VK_SHIFT, VK_TAB}, host.one,
         host.oneSecond.handle()},
        {"Right on the strip", host.one, strip, {VK_RIGHT}, host.two, strip},
        {"Left on the strip", host.three, strip, {VK_LEFT}, host.two, strip},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        host.pages.setActivePage(c.from);
        SetFocus(c.focus);
        ASSERT_TRUE(fwtest::PressKeys(host.handle(), c.keys));
        EXPECT_EQ(host.pages.activePage(), &c.to);
        EXPECT_TRUE(IsWindowVisible(c.to.handle()));
        EXPECT_EQ(GetFocus(), c.focused);
    }
}

}  // namespace
