// Graphic controls: z order, opaque coverage of the form's own painting,
// double-click routing, label sizing, no GDI leaks.
#include "framework/application.h"
#include "framework/control.h"
#include "framework/graphic_controls.h"
#include "framework/form.h"
#include "framework/gdi.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kBlue = RGB(0, 0, 255);
constexpr COLORREF kGreen = RGB(0, 255, 0);
constexpr COLORREF kYellow = RGB(255, 255, 0);

// A 200x200 form: the form paints yellow; an image (red bitmap, 100x100 at
// the top left); a paint box over the whole form drawing a blue square at
// (80,80)-(120,120); a green label above all at (150,150).
class LayeredForm : public fw::Form {
public:
    LayeredForm() : fw::Form({L"layers", 200, 200, fw::BorderStyle::None}) {
        add(image);
        add(box);
        add(label);
        box.onPaint = [this](HDC dc) {
            ++boxPaints;
            fw::BrushHandle blue(CreateSolidBrush(kBlue));
            RECT square{80, 80, 120, 120};
            FillRect(dc, &square, blue.get());
        };
        label.setColor(kGreen);
    }

    fw::Image image{{0, 0, 100, 100}};
    fw::PaintBox box{{0, 0, 200, 200}};
    fw::Label label{150, 150, L"88:88:88"};
    int formPaints = 0;
    int boxPaints = 0;
    int formDblClicks = 0;

protected:
    void onPaint(HDC dc) override {
        ++formPaints;
        fw::BrushHandle yellow(CreateSolidBrush(kYellow));
        RECT all{0, 0, 200, 200};
        FillRect(dc, &all, yellow.get());
    }
    void onDblClick() override { ++formDblClicks; }
};

void PaintRed(fw::Image& image) {
    fw::BitmapCanvas canvas = image.canvas();
    fw::BrushHandle red(CreateSolidBrush(kRed));
    RECT all{0, 0, 100, 100};
    FillRect(canvas.get(), &all, red.get());
}

COLORREF PixelAt(HWND window, int x, int y) {
    fw::WindowDC dc(window);
    return GetPixel(dc.get(), x, y);
}

class PaintTest : public testing::Test {
protected:
    void SetUp() override {
        form.create();
        form.moveTo(50, 50);
        form.show();
        form.update();
    }
    void repaintAll() {
        form.invalidate();
        form.update();
    }
    LayeredForm form;
};

TEST_F(PaintTest, GraphicControlsPaintInZOrderOverTheForm) {
    PaintRed(form.image);
    repaintAll();
    HWND window = form.handle();
    EXPECT_EQ(PixelAt(window, 10, 10), kRed);      // image over the form
    EXPECT_EQ(PixelAt(window, 90, 90), kBlue);     // paint box over the image
    EXPECT_EQ(PixelAt(window, 110, 110), kBlue);   // paint box over the form
    EXPECT_EQ(PixelAt(window, 150, 10), kYellow);  // the form where the transparent box has nothing
    EXPECT_EQ(PixelAt(window, 151, 151), kGreen);  // the label's background above all
}

TEST_F(PaintTest, FormPaintsOnlyWhereNoOpaqueControlCoversTheArea) {
    // Without a bitmap the image is not opaque: the form paints beneath it.
    form.image.invalidate();
    const int before = form.formPaints;
    form.update();
    EXPECT_GT(form.formPaints, before);

    PaintRed(form.image);
    form.update();
    const int covered = form.formPaints;
    form.image.invalidate();
    form.update();
    EXPECT_EQ(form.formPaints, covered);  // all of the area lies under the image
    EXPECT_EQ(PixelAt(form.handle(), 10, 10), kRed);

    RECT partly{90, 90, 110, 110};
    InvalidateRect(form.handle(), &partly, FALSE);
    form.update();
    EXPECT_EQ(form.formPaints, covered + 1);
    // The form's painting is clipped to what the image does not cover.
    EXPECT_EQ(PixelAt(form.handle(), 99, 70), kRed);
}

TEST_F(PaintTest, HiddenControlsAreNotPainted) {
    PaintRed(form.image);
    form.image.setVisible(false);
    form.label.setVisible(false);
    form.update();
    EXPECT_EQ(PixelAt(form.handle(), 10, 10), kYellow);
    EXPECT_EQ(PixelAt(form.handle(), 151, 151), kYellow);
    form.image.setVisible(true);
    form.update();
    EXPECT_EQ(PixelAt(form.handle(), 10, 10), kRed);
}

TEST_F(PaintTest, UpdatePaintsTheControlAtOnce) {
    const int before = form.boxPaints;
    form.box.invalidate();
    form.box.update();  // no message loop in between
    EXPECT_EQ(form.boxPaints, before + 1);
}

// A paint while the caller still draws on the image's bitmap cannot copy it;
// the next paint after the drawing shows it.
TEST_F(PaintTest, ImagePaintedWhileItsBitmapIsDrawnOnShowsTheDrawingNextTime) {
    PaintRed(form.image);
    repaintAll();
    {
        fw::BitmapCanvas canvas = form.image.canvas();
        fw::BrushHandle blue(CreateSolidBrush(kBlue));
        RECT all{0, 0, 100, 100};
        FillRect(canvas.get(), &all, blue.get());
        repaintAll();
    }
    repaintAll();
    EXPECT_EQ(PixelAt(form.handle(), 10, 10), kBlue);
}

TEST(GdiObjectCount, CountsTheObjectsOfTheProcess) {
    const int before = fw::GdiObjectCount();
    {
        std::vector<fw::BrushHandle> brushes;
        for (int i = 0; i < 10; ++i) brushes.emplace_back(CreateSolidBrush(RGB(i, 0, 0)));
        EXPECT_EQ(fw::GdiObjectCount(), before + 10);
    }
    EXPECT_EQ(fw::GdiObjectCount(), before);
}

TEST_F(PaintTest, NoGdiObjectLeaksOverAThousandRepaints) {
    PaintRed(form.image);
    repaintAll();
    const int before = fw::GdiObjectCount();
    for (int i = 0; i < 1000; ++i) {
        form.label.setCaption(i % 2 ? L"12:34:56" : L"88:88:88");
        repaintAll();
    }
    EXPECT_EQ(fw::GdiObjectCount(), before);
}

// Double-clicks: to the topmost graphic control under the mouse, which
// swallows it without a handler; the form's own handler when none is hit.
TEST_F(PaintTest, DoubleClickGoesToTheTopmostGraphicControl) {
    int boxDblClicks = 0;
    form.box.onDblClick = [&] { ++boxDblClicks; };
    auto dblClick = [&](int x, int y) {
        SendMessageW(form.handle(), WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(x, y));
    };

    dblClick(160, 155);  // on the label, which has no handler
    EXPECT_EQ(boxDblClicks, 0);
    EXPECT_EQ(form.formDblClicks, 0);

    dblClick(20, 20);  // on the box, above the image
    EXPECT_EQ(boxDblClicks, 1);

    form.label.setVisible(false);
    dblClick(160, 155);  // a hidden label is not hit
    EXPECT_EQ(boxDblClicks, 2);

    form.box.setVisible(false);
    dblClick(150, 20);  // nothing there: the form
    EXPECT_EQ(form.formDblClicks, 1);
}

TEST_F(PaintTest, ClickGoesToTheControlPressedAndReleased) {
    int labelClicks = 0;
    form.label.onClick = [&] { ++labelClicks; };
    SendMessageW(form.handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(160, 155));
    SendMessageW(form.handle(), WM_LBUTTONUP, 0, MAKELPARAM(160, 155));
    EXPECT_EQ(labelClicks, 1);
    SendMessageW(form.handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(160, 155));
    SendMessageW(form.handle(), WM_LBUTTONUP, 0, MAKELPARAM(20, 20));  // released elsewhere
    EXPECT_EQ(labelClicks, 1);
}

// The first paint of a form whose own painting fills its background image and
// then repaints the layer above at once, nested in the same WM_PAINT.
class SelfFillingForm : public fw::Form {
public:
    SelfFillingForm() : fw::Form({L"self", 100, 100, fw::BorderStyle::None}) {
        add(image);
        add(box);
        box.onPaint = [](HDC dc) {
            fw::BrushHandle blue(CreateSolidBrush(kBlue));
            RECT square{40, 40, 60, 60};
            FillRect(dc, &square, blue.get());
        };
    }
    fw::Image image{{0, 0, 100, 100}};
    fw::PaintBox box{{0, 0, 100, 100}};
    int paints = 0;

protected:
    void onPaint(HDC) override {
        ++paints;
        {
            fw::BitmapCanvas canvas = image.canvas();
            fw::BrushHandle red(CreateSolidBrush(kRed));
            RECT all{0, 0, 100, 100};
            FillRect(canvas.get(), &all, red.get());
        }
        box.invalidate();
        box.update();
    }
};

TEST(NestedPaint, OwnPaintingThatFillsTheImageShowsImageAndLayerAbove) {
    SelfFillingForm form;
    form.create();
    form.show();
    form.update();
    fwtest::PumpFor(50);
    EXPECT_EQ(form.paints, 1);  // from then on the image covers the form
    EXPECT_EQ(PixelAt(form.handle(), 10, 10), kRed);
    EXPECT_EQ(PixelAt(form.handle(), 50, 50), kBlue);
}

TEST(Label, SizesItselfToItsTextInTheFormFont) {
    fw::Label label(155, 187, L"88:88:88");
    fw::WindowDC screen;
    fw::SelectGuard font(screen.get(), fw::Form::sharedFont());
    SIZE extent;
    GetTextExtentPoint32W(screen.get(), L"88:88:88", 8, &extent);
    EXPECT_EQ(label.bounds().width, extent.cx);
    EXPECT_EQ(label.bounds().height, extent.cy);
    EXPECT_EQ(label.bounds().left, 155);

    label.setCaption(L"88:88:88:88");
    EXPECT_GT(label.bounds().width, extent.cx);
    EXPECT_EQ(label.bounds().height, extent.cy);
}

TEST(Form, SharedFontIsTwelvePixelGothicInShiftJis) {
    LOGFONTW font{};
    ASSERT_NE(GetObjectW(fw::Form::sharedFont(), sizeof(font), &font), 0);
    EXPECT_EQ(font.lfHeight, -12);
    EXPECT_EQ(font.lfCharSet, SHIFTJIS_CHARSET);
    EXPECT_STREQ(font.lfFaceName, L"ＭＳ Ｐゴシック");
}

TEST(Image, BitmapIsWhiteAndOpaqueOnlyWhenItCoversTheControl) {
    fw::Image image({0, 0, 50, 40});
    EXPECT_FALSE(image.opaque());
    image.ensureBitmap(50, 20);
    EXPECT_FALSE(image.opaque());
    image.ensureBitmap();
    EXPECT_TRUE(image.opaque());
    EXPECT_EQ(image.bitmapSize().cx, 50);
    EXPECT_EQ(image.bitmapSize().cy, 40);
    fw::BitmapCanvas canvas(image.bitmap());
    EXPECT_EQ(GetPixel(canvas.get(), 49, 39), RGB(255, 255, 255));
}

}  // namespace
