#include "framework/application.h"
#include "framework/control.h"
#include "framework/graphic_controls.h"
#include "framework/form.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

class TestForm : public fw::Form {
public:
    explicit TestForm(fw::FormSpec layout) : fw::Form(std::move(layout)) {}
};

class ClientSize : public testing::TestWithParam<fw::BorderStyle> {};

TEST_P(ClientSize, IsExactInEveryBorderStyle) {
    TestForm form({L"size", 200, 150, GetParam()});
    form.create();
    EXPECT_EQ(form.clientSize().cx, 200);
    EXPECT_EQ(form.clientSize().cy, 150);
    form.show();
    fw::Application::instance().processMessages();
    RECT client;
    GetClientRect(form.handle(), &client);
    EXPECT_EQ(client.right, 200);
    EXPECT_EQ(client.bottom, 150);
}

INSTANTIATE_TEST_SUITE_P(Borders, ClientSize,
                         testing::Values(fw::BorderStyle::None, fw::BorderStyle::Single, fw::BorderStyle::Dialog));

}  // namespace

namespace {

LONG_PTR StyleOf(const fw::Form& form) { return GetWindowLongPtrW(form.handle(), GWL_STYLE); }
LONG_PTR ExStyleOf(const fw::Form& form) { return GetWindowLongPtrW(form.handle(), GWL_EXSTYLE); }

SIZE ClientOf(HWND window) {
    RECT client;
    GetClientRect(window, &client);
    return {client.right, client.bottom};
}

TEST(FormFrame, BorderStyleChangeKeepsTheOuterSizeAndSetClientSizeMakesItExactAgain) {
    TestForm form({L"clock", 200, 200, fw::BorderStyle::Single});
    form.create();
    form.show();
    RECT outer;
    GetWindowRect(form.handle(), &outer);

    form.setBorderStyle(fw::BorderStyle::None);
    EXPECT_EQ(StyleOf(form) & WS_CAPTION, 0);
    EXPECT_NE(StyleOf(form) & WS_VISIBLE, 0);  // the state survives the change
    SIZE client = ClientOf(form.handle());
    EXPECT_EQ(client.cx, outer.right - outer.left);
    form.setClientWidth(200);
    form.setClientHeight(200);
    client = ClientOf(form.handle());
    EXPECT_EQ(client.cx, 200);
    EXPECT_EQ(client.cy, 200);

    form.setBorderStyle(fw::BorderStyle::Single);
    EXPECT_EQ(StyleOf(form) & WS_CAPTION, WS_CAPTION);
    EXPECT_NE(StyleOf(form) & WS_MINIMIZEBOX, 0);
    EXPECT_EQ(StyleOf(form) & (WS_MAXIMIZEBOX | WS_THICKFRAME), 0);
    form.setClientSize(200, 200);
    client = ClientOf(form.handle());
    EXPECT_EQ(client.cx, 200);
    EXPECT_EQ(client.cy, 200);
    EXPECT_EQ(form.borderStyle(), fw::BorderStyle::Single);
}

TEST(FormFrame, DialogBorderHasNoMinimizeBox) {
    TestForm form({L"dialog", 100, 100, fw::BorderStyle::Dialog, true});
    form.create();
    EXPECT_EQ(StyleOf(form) & WS_MINIMIZEBOX, 0);
    EXPECT_NE(ExStyleOf(form) & WS_EX_DLGMODALFRAME, 0);
}

TEST(FormFrame, TopmostCanBeSetBeforeAndAfterCreation) {
    TestForm form({L"top", 100, 100, fw::BorderStyle::Single, true, true});
    form.create();
    EXPECT_NE(ExStyleOf(form) & WS_EX_TOPMOST, 0);
    form.setTopmost(false);  // while hidden, as at start-up
    EXPECT_EQ(ExStyleOf(form) & WS_EX_TOPMOST, 0);
    form.show();
    EXPECT_EQ(ExStyleOf(form) & WS_EX_TOPMOST, 0);
    EXPECT_EQ(GetWindow(form.handle(), GW_OWNER), fw::Application::instance().handle());
    EXPECT_FALSE(form.topmost());
    form.setTopmost(true);
    EXPECT_NE(ExStyleOf(form) & WS_EX_TOPMOST, 0);
    form.setBorderStyle(fw::BorderStyle::None);  // a border change keeps it on top
    EXPECT_NE(ExStyleOf(form) & WS_EX_TOPMOST, 0);
}

TEST(FormFrame, CenteredFormSitsInTheMiddleOfTheWorkArea) {
    TestForm form({L"centre", 300, 100, fw::BorderStyle::Dialog, false, false, true});
    form.create();
    RECT work, window;
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    GetWindowRect(form.handle(), &window);
    EXPECT_LE(std::abs((window.left + window.right) - (work.left + work.right)), 1);
    EXPECT_LE(std::abs((window.top + window.bottom) - (work.top + work.bottom)), 1);
}

TEST(FormFrame, PositionCaptionAndSizeBeforeCreationAreApplied) {
    TestForm form({L"before", 10, 10, fw::BorderStyle::Single});
    form.moveTo(123, 45);
    form.setClientSize(150, 120);
    form.setCaption(L"時計");
    form.create();
    EXPECT_EQ(form.position().x, 123);
    EXPECT_EQ(form.position().y, 45);
    EXPECT_EQ(ClientOf(form.handle()).cx, 150);
    EXPECT_EQ(ClientOf(form.handle()).cy, 120);
    wchar_t text[16] = {};
    GetWindowTextW(form.handle(), text, 16);
    EXPECT_STREQ(text, L"時計");
    form.moveTo(30, 40);
    EXPECT_EQ(form.position().x, 30);
}

TEST(FormLifetime, AFormDestroyedAndCreatedAgainGetsItsControlsAgain) {
    struct WithLabel : fw::Form {
        WithLabel() : fw::Form({L"again", 50, 50, fw::BorderStyle::None}) { add(label); }
        fw::Label label{0, 0, L"x"};
    } form;
    form.create();
    DestroyWindow(form.handle());
    EXPECT_EQ(form.handle(), nullptr);
    EXPECT_FALSE(form.label.created());
    form.create();
    EXPECT_TRUE(form.label.created());
}

TEST(FormFrame, FormsAreOwnedByTheApplicationWindow) {
    TestForm form({L"owned", 50, 50, fw::BorderStyle::Single});
    form.create();
    EXPECT_EQ(GetWindow(form.handle(), GW_OWNER), fw::Application::instance().handle());
    EXPECT_EQ(fw::Form::fromHandle(form.handle()), &form);
    EXPECT_NE(GetClassLongPtrW(form.handle(), GCL_STYLE) & CS_DBLCLKS, 0u);
}

}  // namespace
