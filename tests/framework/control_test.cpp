// The windowed-control base: creation with the state set before, reflected
// notifications, dialog keys, tab order, graphic controls inside containers.
#include "framework/application.h"
#include "framework/control.h"
#include "framework/graphic_controls.h"
#include "framework/error.h"
#include "framework/form.h"
#include "framework/gdi.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

class PushButton : public fw::WindowedControl {
public:
    PushButton(fw::Bounds bounds, std::wstring caption, int id = 0) : fw::WindowedControl(bounds, std::move(caption)) {
        if (id) setId(id);
    }

protected:
    void createHandle() override { createWindow(L"BUTTON", BS_PUSHBUTTON | WS_TABSTOP); }
    bool command(WORD code) override {
        if (code != BN_CLICKED) return false;
        if (onClick) onClick();
        return true;
    }
};

class Panel : public fw::WindowedControl {
public:
    explicit Panel(fw::Bounds bounds) : fw::WindowedControl(bounds) {}

protected:
    void createHandle() override { createWindow(panelClass(), 0); }
};

class DialogForm : public fw::Form {
public:
    DialogForm() : fw::Form({L"dialog", 300, 200, fw::BorderStyle::Dialog}) {
        ok.setEnabled(false);
        cancel.setCaption(L"キャンセル");
        hidden.setVisible(false);
        add(ok);
        add(cancel);
        add(hidden);
        add(panel);
        add(inner, &panel);
        inner.setColor(RGB(0, 255, 0));
    }
    PushButton ok{{10, 160, 80, 25}, L"OK", IDOK};
    PushButton cancel{{100, 160, 80, 25}, L"Cancel", IDCANCEL};
    PushButton hidden{{190, 160, 80, 25}, L"hidden"};
    Panel panel{{20, 20, 120, 100}};
    fw::Label inner{5, 5, L"内側"};
};

class ControlTest : public testing::Test {
protected:
    void SetUp() override {
        form.create();
        form.show();
        fw::Application::instance().processMessages();
    }
    DialogForm form;
};

TEST_F(ControlTest, StateSetBeforeCreationIsApplied) {
    ASSERT_NE(form.ok.handle(), nullptr);
    EXPECT_FALSE(IsWindowEnabled(form.ok.handle()));
    EXPECT_FALSE(IsWindowVisible(form.hidden.handle()));
    wchar_t text[32] = {};
    GetWindowTextW(form.cancel.handle(), text, 32);
    EXPECT_STREQ(text, L"キャンセル");
    EXPECT_EQ(GetDlgCtrlID(form.cancel.handle()), IDCANCEL);
    EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageW(form.cancel.handle(), WM_GETFONT, 0, 0)), fw::Form::sharedFont());
    EXPECT_EQ(GetParent(form.inner.hostHandle()), form.handle());  // the label lives in the panel
}

TEST_F(ControlTest, ChangesAfterCreationReachTheWindow) {
    form.cancel.setBounds({30, 40, 90, 30});
    RECT rect;
    GetWindowRect(form.cancel.handle(), &rect);
    MapWindowPoints(nullptr, form.handle(), reinterpret_cast<POINT*>(&rect), 2);
    EXPECT_EQ(rect.left, 30);
    EXPECT_EQ(rect.top, 40);
    EXPECT_EQ(rect.right - rect.left, 90);
    form.ok.setEnabled(true);
    EXPECT_TRUE(IsWindowEnabled(form.ok.handle()));
    form.hidden.setVisible(true);
    EXPECT_TRUE(IsWindowVisible(form.hidden.handle()));
}

TEST_F(ControlTest, NotificationsAreReflectedToTheControl) {
    int clicks = 0;
    form.cancel.onClick = [&] { ++clicks; };
    SendMessageW(form.cancel.handle(), BM_CLICK, 0, 0);
    EXPECT_EQ(clicks, 1);
}

TEST_F(ControlTest, EscapeClicksTheCancelButtonAndEnterTheOkButton) {
    int cancels = 0;
    int oks = 0;
    form.cancel.onClick = [&] { ++cancels; };
    form.ok.onClick = [&] { ++oks; };
    form.ok.setEnabled(true);
    SetFocus(form.cancel.handle());
    PostMessageW(form.cancel.handle(), WM_KEYDOWN, VK_ESCAPE, 1);
    fw::Application::instance().processMessages();
    EXPECT_EQ(cancels, 1);
    SetFocus(form.hidden.handle());
    PostMessageW(form.hidden.handle(), WM_KEYDOWN, VK_RETURN, 1);
    fw::Application::instance().processMessages();
    EXPECT_EQ(oks, 1);
}

TEST_F(ControlTest, TabOrderIsTheOrderOfAdding) {
    form.ok.setEnabled(true);
    form.hidden.setVisible(true);
    EXPECT_EQ(GetNextDlgTabItem(form.handle(), form.ok.handle(), FALSE), form.cancel.handle());
    EXPECT_EQ(GetNextDlgTabItem(form.handle(), form.cancel.handle(), FALSE), form.hidden.handle());
}

TEST_F(ControlTest, ExceptionInAControlHandlerIsReported) {
    fwtest::RecordingPlatform fake;
    fw::PlatformOverride use(fake);
    form.cancel.onClick = [] { throw fw::Error(L"押せません"); };
    SendMessageW(form.cancel.handle(), BM_CLICK, 0, 0);
    ASSERT_EQ(fake.boxes.size(), 1u);
    EXPECT_EQ(fake.boxes[0].text, L"押せません.");
}

TEST_F(ControlTest, GraphicControlsInsideAContainerArePaintedAndClicked) {
    form.panel.invalidate();
    form.panel.update();
    fw::WindowDC dc(form.panel.handle());
    EXPECT_EQ(GetPixel(dc.get(), 6, 6), RGB(0, 255, 0));
    EXPECT_EQ(GetPixel(dc.get(), 100, 90), GetSysColor(COLOR_BTNFACE));

    int dblClicks = 0;
    form.inner.onDblClick = [&] { ++dblClicks; };
    SendMessageW(form.panel.handle(), WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(8, 8));
    EXPECT_EQ(dblClicks, 1);
}

TEST(ControlLifetime, ControlDestroyedBeforeItsFormIsForgotten) {
    struct OpenForm : DialogForm {
        using fw::Form::add;
    } form;
    auto extra = std::make_unique<PushButton>(fw::Bounds{0, 0, 10, 10}, L"extra");
    form.add(*extra);
    form.create();
    const size_t count = form.controls().size();
    HWND window = extra->handle();
    extra.reset();
    EXPECT_EQ(form.controls().size(), count - 1);
    EXPECT_FALSE(IsWindow(window));
    form.invalidate();
    form.update();  // painting walks the controls that are left
}

}  // namespace
