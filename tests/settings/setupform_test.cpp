// The settings dialog: its window, the layout of every page, the live
// store's values before anything is loaded, tab order, the modal loop.
#include "app/settings/setupform.h"
#include "app/alarm/alarmform.h"
#include "app/clock/clockform.h"
#include "framework/application.h"
#include "framework/gdi.h"

#include <windows.h>

#include <cstdio>
#include <set>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

namespace {

// A rectangle in the client coordinates of the window's parent.
RECT InParent(HWND window) {
    RECT rect;
    GetWindowRect(window, &rect);
    MapWindowPoints(HWND_DESKTOP, GetParent(window), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

// The dialog with the windows whose values it changes; shown, it stands
// where the clock window stands.
class SetupformTest : public testing::Test {
protected:
    void SetUp() override {
        form.create();
        // Away from the top-left corner, where the clock of the end-to-end
        // tests (read from the screen) may run at the same time.
        clock.moveTo(300, 260);
    }
    TSetupform form;
    Tclockform clock{form};
    TAlarmForm alarm{clock, form, {}};
};

TEST(Setupform, LiveStoreBeforeAnythingIsLoaded) {
    TSetupform form;  // not even created: the values are the definition's
    for (int pass = 0; pass < 2; ++pass) {
        SCOPED_TRACE(pass == 0 ? "before creation" : "after creation");
        EXPECT_EQ(form.indtyp.itemIndex(), 0);
        EXPECT_FALSE(form.Staytop.checked());
        EXPECT_FALSE(form.chview.checked());
        EXPECT_FALSE(form.str_type.checked());
        EXPECT_EQ(form.bgselector.itemIndex(), 3);
        EXPECT_FALSE(form.EnbAlm.checked());
        EXPECT_EQ(form.hrset.itemIndex(), -1);
        EXPECT_EQ(form.mnset.itemIndex(), -1);
        EXPECT_FALSE(form.refrpl.checked());
        EXPECT_EQ(form.AlmAction.itemIndex(), 0);
        EXPECT_EQ(form.udf.itemIndex(), 1);
        EXPECT_FALSE(form.cpusave.checked());
        EXPECT_EQ(form.cpusi.itemIndex(), 0);
        EXPECT_EQ(form.hrcol.color(), RGB(0, 0, 0));
        EXPECT_EQ(form.chrcol.color(), RGB(255, 255, 255));
        form.create();
    }
    form.bgselector.setItemIndex(7);
    EXPECT_EQ(form.bgselector.itemIndex(), 3);
    form.bgselector.setItemIndex(-5);
    EXPECT_EQ(form.bgselector.itemIndex(), -1);
    form.hrset.setItemIndex(24);
    EXPECT_EQ(form.hrset.itemIndex(), -1);
    form.mnset.setItemIndex(59);
    EXPECT_EQ(form.mnset.itemIndex(), 59);
    EXPECT_EQ(form.mnset.items()[59], L"59");
}

TEST_F(SetupformTest, WindowIsAFixedDialogWithASystemMenu) {
    EXPECT_EQ(form.caption(), L"Horolo  Setup");
    EXPECT_EQ(form.clientSize().cx, 369);
    EXPECT_EQ(form.clientSize().cy, 177);
    const LONG_PTR style = GetWindowLongPtrW(form.handle(), GWL_STYLE);
    EXPECT_TRUE(style & WS_SYSMENU);
    EXPECT_FALSE(style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME));
}

struct Placement {
    const char* name;
    fw::WindowedControl* control;
    fw::WindowedControl* parent;
    RECT expected;  // left, top, right, bottom
    bool enabled;
};

TEST_F(SetupformTest, EveryControlAtItsPlaceWithItsInitialEnabling) {
    TSetupform& f = form;
    auto r = [](int left, int top, int width, int height) { return RECT{left, top, left + width, top + height}; };
    const std::vector<Placement> table = {
        {"pager", &f.pager, nullptr, r(0, 0, 281, 177), true},
        {"bgselector", &f.bgselector, &f.general_setting, r(16, 0, 153, 57), true},
        {"str_type", &f.str_type, &f.general_setting, r(16, 64, 73, 17), true},
        {"bgfsel", &f.bgfsel, &f.general_setting, r(96, 64, 73, 17), true},
        {"Staytop", &f.Staytop, &f.general_setting, r(16, 96, 153, 17), true},
        {"chview", &f.chview, &f.general_setting, r(16, 120, 161, 17), true},
        {"indtyp", &f.indtyp, &f.general_setting, r(184, 0, 81, 81), true},
        {"hrcol", &f.hrcol, &f.Colsetting, r(80, 13, 33, 17), true},
        {"mncol", &f.mncol, &f.Colsetting, r(80, 37, 33, 17), true},
        {"sccol", &f.sccol, &f.Colsetting, r(80, 61, 33, 17), true},
        {"indcol", &f.indcol, &f.Colsetting, r(216, 13, 33, 17), true},
        {"chrcol", &f.chrcol, &f.Colsetting, r(216, 37, 33, 17), true},
        {"bgspcol", &f.bgspcol, &f.Colsetting, r(216, 61, 33, 17), true},
        {"BoxBox", &f.BoxBox, &f.AlarmSet, r(8, 8, 257, 137), true},
        {"EnbAlm", &f.EnbAlm, &f.BoxBox, r(8, 0, 113, 17), true},
        {"AlmAction", &f.AlmAction, &f.BoxBox, r(16, 56, 129, 49), false},
        {"Filsel", &f.Filsel, &f.BoxBox, r(152, 64, 89, 17), false},
        {"PlayButton", &f.PlayButton, &f.BoxBox, r(152, 88, 89, 17), true},
        {"refrpl", &f.refrpl, &f.BoxBox, r(24, 112, 81, 17), false},
        {"udf", &f.udf, &f.OtherSet, r(8, 8, 193, 57), true},
        {"SeldfButton", &f.SeldfButton, &f.OtherSet, r(112, 40, 75, 17), true},
        {"cpusi", &f.cpusi, &f.OtherSet, r(8, 72, 193, 73), false},
        {"cpusave", &f.cpusave, &f.OtherSet, r(16, 70, 121, 15), true},
        {"drvsel", &f.drvsel, &f.susp, r(80, 8, 177, 18), true},
        {"dirsel", &f.dirsel, &f.susp, r(80, 32, 177, 57), true},
        {"fmtl", &f.fmtl, &f.susp, r(80, 96, 177, 49), true},
        {"okbtn", &f.okbtn, nullptr, r(288, 8, 75, 25), true},
        {"CancelBtn", &f.CancelBtn, nullptr, r(288, 40, 75, 25), true},
    };
    for (const Placement& p : table) {
        SCOPED_TRACE(p.name);
        HWND window = p.control->handle();
        ASSERT_NE(window, nullptr);
        EXPECT_EQ(GetParent(window), p.parent ? p.parent->handle() : form.handle());
        const RECT actual = InParent(window);
        EXPECT_EQ(actual.left, p.expected.left);
        EXPECT_EQ(actual.top, p.expected.top);
        EXPECT_EQ(actual.right, p.expected.right);
        if (p.control != &f.drvsel) {
            EXPECT_EQ(actual.bottom, p.expected.bottom);
        }
        EXPECT_EQ(IsWindowEnabled(window) != FALSE, p.enabled);
    }
    // Drop-down lists: the width is given, the closed height follows the font.
    for (auto* combo : {&f.hrset, &f.mnset}) {
        const RECT actual = InParent(combo->handle());
        EXPECT_EQ(actual.top, 24);
        EXPECT_EQ(actual.right - actual.left, 41);
        EXPECT_FALSE(IsWindowEnabled(combo->handle()));
    }
    EXPECT_EQ(InParent(f.hrset.handle()).left, 56);
    EXPECT_EQ(InParent(f.mnset.handle()).left, 120);
    // Labels are drawn by their page or group box.
    EXPECT_EQ(f.Label6.hostHandle(), f.BoxBox.handle());
    EXPECT_EQ(f.Label6.bounds().left, 16);
    EXPECT_EQ(f.Label6.bounds().top, 28);
    EXPECT_FALSE(f.Label6.enabled());
    EXPECT_EQ(f.indcolLabel.hostHandle(), f.Colsetting.handle());
    EXPECT_EQ(f.indcolLabel.bounds().left, 128);
    EXPECT_EQ(f.Label11.bounds().top, 96);
}

// What the user reads on every page, from the windows themselves (labels have
// no window: their host page draws their caption).
TEST_F(SetupformTest, CaptionsItemsAndButtonRolesOfEveryPage) {
    TSetupform& f = form;
    f.susp.setTabVisible(true);
    std::vector<std::wstring> tabs;
    for (int i = 0; i < SendMessageW(f.pager.handle(), TCM_GETITEMCOUNT, 0, 0); ++i) {
        wchar_t text[32] = {};
        TCITEMW tab{};
        tab.mask = TCIF_TEXT;
        tab.pszText = text;
        tab.cchTextMax = 32;
        SendMessageW(f.pager.handle(), TCM_GETITEMW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&tab));
        tabs.push_back(text);
    }
    EXPECT_EQ(tabs, (std::vector<std::wstring>{L"表示設定", L"色設定", L"アラーム", L"その他", L"Susie"}));

    const std::vector<std::pair<fw::WindowedControl*, std::wstring>> windows = {
        {&f.bgselector, L"背景イメージ"}, {&f.str_type, L"全体に(&A)"},
        {&f.bgfsel, L"ﾌｧｲﾙ選択(&R)"}, {&f.Staytop, L"常に手前に表示する (&A)"},
        {&f.chview, L"文字でも時刻を表示する(&C)"}, {&f.indtyp, L"インジケータ"},
        {&f.BoxBox, L""}, {&f.EnbAlm, L"アラームを使う(&E)"},
        {&f.AlmAction, L"アラーム挙動"}, {&f.Filsel, L"ﾌｧｲﾙ選択(&R)"},
        {&f.PlayButton, L"再生(&P)"}, {&f.refrpl, L"繰り返す(&R)"},
        {&f.udf, L"占い データファイル"}, {&f.SeldfButton, L"ﾌｧｲﾙ選択(&R)"},
        {&f.cpusi, L""}, {&f.cpusave, L"&CPU負荷軽減モード"},
        {&f.okbtn, L"OK"}, {&f.CancelBtn, L"ｷｬﾝｾﾙ"},
    };
    for (const auto& [control, caption] : windows) {
        SCOPED_TRACE(testing::PrintToString(caption));
        wchar_t text[64] = {};
        GetWindowTextW(control->handle(), text, 64);
        EXPECT_EQ(text, caption);
    }
    const std::vector<std::tuple<fw::Label*, fw::Page*, std::wstring>> labels = {
        {&f.hrcolLabel, &f.Colsetting, L"短針色"},          {&f.mncolLabel, &f.Colsetting, L"長針色"},
        {&f.sccolLabel, &f.Colsetting, L"秒針色"},          {&f.indcolLabel, &f.Colsetting, L"インジケータ色"},
        {&f.chrcolLabel, &f.Colsetting, L"文字表示背景色"}, {&f.bgspcolLabel, &f.Colsetting, L"背景空白色"},
        {&f.Label6, nullptr, L"時刻"},                      {&f.Label7, nullptr, L"時"},
        {&f.Label8, nullptr, L"分"},                        {&f.Label9, &f.susp, L"ドライブ"},
        {&f.Label10, &f.susp, L"ディレクトリ"},             {&f.Label11, &f.susp, L"対応形式"},
    };
    for (const auto& [label, page, caption] : labels) {
        SCOPED_TRACE(testing::PrintToString(caption));
        EXPECT_EQ(label->caption(), caption);
        EXPECT_EQ(label->hostHandle(), page ? page->handle() : f.BoxBox.handle());
    }

    // Radio groups: the items from their buttons, the columns from where the
    // buttons stand.
    const std::vector<std::tuple<fw::RadioGroup*, std::vector<std::wstring>, size_t>> groups = {
        {&f.bgselector, {L"ミルア", L"ネオラ", L"ザクル", L"その他"}, 2},
        {&f.indtyp, {L"棒", L"1,2,3", L"I,II,III"}, 1},
        {&f.AlmAction, {L"WAV再生", L"ファイルを開く"}, 1},
        {&f.udf, {L"デフォルト", L"ユーザ設定"}, 1},
        {&f.cpusi, {L"1000mSec/Update", L"500mSec/Update", L"100mSec/Update"}, 1},
    };
    for (const auto& [group, items, columns] : groups) {
        SCOPED_TRACE(testing::PrintToString(items.front()));
        std::vector<std::wstring> shown;
        std::set<LONG> lefts;
        for (HWND button = GetWindow(group->handle(), GW_CHILD); button; button = GetWindow(button, GW_HWNDNEXT)) {
            wchar_t text[64] = {};
            GetWindowTextW(button, text, 64);
            shown.push_back(text);
            EXPECT_EQ(GetWindowLongPtrW(button, GWL_STYLE) & BS_TYPEMASK, BS_RADIOBUTTON);
            RECT rect;
            GetWindowRect(button, &rect);
            lefts.insert(rect.left);
        }
        EXPECT_EQ(shown, items);
        EXPECT_EQ(lefts.size(), columns);
    }
    for (const auto& [combo, count] : {std::pair{&f.hrset, 24}, std::pair{&f.mnset, 60}}) {
        ASSERT_EQ(SendMessageW(combo->handle(), CB_GETCOUNT, 0, 0), count);
        for (int i = 0; i < count; ++i) {
            wchar_t text[8] = {};
            SendMessageW(combo->handle(), CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text));
            wchar_t expected[8];
            std::swprintf(expected, 8, L"%02d", i);
            EXPECT_STREQ(text, expected);
        }
    }

    // Enter presses OK, the default button; Esc presses the cancel button.
    EXPECT_EQ(GetDlgCtrlID(f.okbtn.handle()), IDOK);
    EXPECT_EQ(GetWindowLongPtrW(f.okbtn.handle(), GWL_STYLE) & BS_TYPEMASK, BS_DEFPUSHBUTTON);
    EXPECT_EQ(GetDlgCtrlID(f.CancelBtn.handle()), IDCANCEL);
    EXPECT_EQ(GetWindowLongPtrW(f.CancelBtn.handle(), GWL_STYLE) & BS_TYPEMASK, BS_PUSHBUTTON);
}

// Tab walks each page's controls in their order, then OK and Cancel (the
// switches on, so that nothing is skipped as disabled).
TEST_F(SetupformTest, TabOrderOfEveryPage) {
    TSetupform& f = form;
    f.susp.setTabVisible(true);
    f.EnbAlm.setChecked(true);
    f.cpusave.setChecked(true);
    f.show();
    const std::vector<std::pair<fw::Page*, std::vector<HWND>>> pages = {
        {&f.general_setting,
         {f.bgselector.buttonHandle(3), f.str_type.handle(), f.bgfsel.handle(), f.Staytop.handle(), f.chview.handle(),
          f.indtyp.buttonHandle(0)}},
        {&f.Colsetting, {}},
        {&f.AlarmSet,
         {f.EnbAlm.handle(), f.hrset.handle(), f.mnset.handle(), f.AlmAction.buttonHandle(0), f.Filsel.handle(),
          f.PlayButton.handle(), f.refrpl.handle()}},
        {&f.OtherSet, {f.udf.buttonHandle(1), f.SeldfButton.handle(), f.cpusi.buttonHandle(0), f.cpusave.handle()}},
        {&f.susp, {f.drvsel.handle(), f.dirsel.handle(), f.fmtl.handle()}},
    };
    for (auto [page, expected] : pages) {
        SCOPED_TRACE(testing::PrintToString(page->caption()));
        f.pager.setActivePage(*page);
        expected.push_back(f.okbtn.handle());
        expected.push_back(f.CancelBtn.handle());
        std::vector<HWND> order;
        HWND item = GetNextDlgTabItem(f.handle(), nullptr, FALSE);
        for (int i = 0; i < 16 && item && (order.empty() || item != order.front()); ++i) {
            order.push_back(item);
            item = GetNextDlgTabItem(f.handle(), item, FALSE);
        }
        EXPECT_EQ(order, expected);
    }
}

TEST_F(SetupformTest, SusiePageHiddenUntilShownAndActivePageKept) {
    EXPECT_EQ(SendMessageW(form.pager.handle(), TCM_GETITEMCOUNT, 0, 0), 4);
    EXPECT_EQ(form.pager.activePage(), &form.general_setting);
    form.susp.setTabVisible(true);
    ASSERT_EQ(SendMessageW(form.pager.handle(), TCM_GETITEMCOUNT, 0, 0), 5);
    wchar_t text[16] = {};
    TCITEMW tab{};
    tab.mask = TCIF_TEXT;
    tab.pszText = text;
    tab.cchTextMax = 16;
    SendMessageW(form.pager.handle(), TCM_GETITEMW, 4, reinterpret_cast<LPARAM>(&tab));
    EXPECT_STREQ(text, L"Susie");

    // The page last shown is the one shown again, showing after showing.
    form.pager.setActivePage(form.AlarmSet);
    for (int showing = 0; showing < 2; ++showing) {
        bool alarmPageShown = false;
        LRESULT selectedTab = -1;
        fw::Application::instance().setOnIdle([&](bool& done) {
            alarmPageShown = IsWindowVisible(form.AlarmSet.handle()) && !IsWindowVisible(form.general_setting.handle());
            selectedTab = SendMessageW(form.pager.handle(), TCM_GETCURSEL, 0, 0);
            form.setModalResult(fw::mrOk);
            done = false;  // back to the loop, which sees the result
        });
        form.showModal();
        fw::Application::instance().clearOnIdle();
        EXPECT_TRUE(alarmPageShown);
        EXPECT_EQ(selectedTab, 2);
    }
}

// Controls laid over a group box (the fortune file button, the economy
// switch serving as the interval group's title) get the mouse.
TEST_F(SetupformTest, ControlsOverGroupBoxesAreReachable) {
    // Away from where other tests' windows appear, and above them.
    clock.moveTo(620, 540);
    form.setTopmost(true);
    form.show();
    form.pager.setActivePage(form.OtherSet);
    fw::Application::instance().processMessages();
    for (fw::WindowedControl* control : std::initializer_list<fw::WindowedControl*>{&form.SeldfButton, &form.cpusave}) {
        RECT rect;
        GetWindowRect(control->handle(), &rect);
        const POINT middle{(rect.left + rect.right) / 2, rect.bottom - 3};
        EXPECT_EQ(WindowFromPoint(middle), control->handle());
    }
}

TEST_F(SetupformTest, EnablingFollowsTheSwitches) {
    form.EnbAlm.setChecked(true);
    for (fw::Control* control : std::initializer_list<fw::Control*>{&form.Label6, &form.hrset, &form.Label7, &form.mnset,
                                                                   &form.Label8, &form.AlmAction, &form.Filsel,
                                                                   &form.PlayButton, &form.refrpl})
        EXPECT_TRUE(control->enabled());
    EXPECT_TRUE(IsWindowEnabled(form.AlmAction.buttonHandle(1)));

    form.AlmAction.setItemIndex(1);
    EXPECT_FALSE(form.refrpl.enabled());
    EXPECT_EQ(form.PlayButton.caption(), L"ｵﾌﾟｼｮﾝ編集");
    wchar_t text[32];
    GetWindowTextW(form.PlayButton.handle(), text, 32);
    EXPECT_STREQ(text, L"ｵﾌﾟｼｮﾝ編集");
    form.EnbAlm.setChecked(false);
    EXPECT_FALSE(form.hrset.enabled());

    form.cpusave.setChecked(true);
    EXPECT_TRUE(IsWindowEnabled(form.cpusi.buttonHandle(2)));
    form.udf.setItemIndex(0);
    EXPECT_FALSE(form.SeldfButton.enabled());
}

TEST_F(SetupformTest, RepaintingEveryPageLeaksNoGdiObjects) {
    form.susp.setTabVisible(true);
    form.show();
    auto repaintAll = [this] {
        for (fw::Page* page : form.pager.pages()) {
            form.pager.setActivePage(*page);
            RedrawWindow(form.handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
        }
        form.okbtn.setEnabled(!form.okbtn.enabled());
        fw::Application::instance().processMessages();
    };
    repaintAll();  // first paints may create lasting objects (caches)
    const int before = fw::GdiObjectCount();
    ASSERT_GT(before, 0);
    for (int i = 0; i < 20; ++i) repaintAll();
    EXPECT_EQ(fw::GdiObjectCount(), before);
}

// Keys reach the dialog through the application's loop, as typed.
class ModalKeys : public SetupformTest, public testing::WithParamInterface<std::pair<UINT, int>> {};

TEST_P(ModalKeys, EnterGivesOkEscGivesCancel) {
    bool posted = false;
    int okClicks = 0;
    int cancelClicks = 0;
    form.okbtn.onClick = [&] { ++okClicks; };
    form.CancelBtn.onClick = [&] { ++cancelClicks; };
    fw::Application::instance().setOnIdle([&](bool&) {
        if (posted || !form.visible()) return;
        HWND focus = GetFocus();
        PostMessageW(focus ? focus : form.handle(), WM_KEYDOWN, GetParam().first, 0);
        posted = true;
    });
    const int result = form.showModal();
    fw::Application::instance().clearOnIdle();
    EXPECT_EQ(result, GetParam().second);
    EXPECT_EQ(okClicks, GetParam().second == fw::mrOk ? 1 : 0);
    EXPECT_EQ(cancelClicks, GetParam().second == fw::mrCancel ? 1 : 0);
    EXPECT_FALSE(IsWindowVisible(form.handle()));
}

INSTANTIATE_TEST_SUITE_P(Keys, ModalKeys,
                         testing::Values(std::make_pair(UINT{VK_RETURN}, int{fw::mrOk}),
                                         std::make_pair(UINT{VK_ESCAPE}, int{fw::mrCancel})));

}  // namespace
