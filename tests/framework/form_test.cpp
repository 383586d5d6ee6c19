#include "framework/application.h"
#include "framework/control.h"
#include "framework/form.h"

#include <gtest/gtest.h>

namespace {

class TestForm : public fw::Form {
public:
    explicit TestForm(fw::FormSpec spec) : fw::Form(std::move(spec)) {}
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
