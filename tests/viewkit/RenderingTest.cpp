// Offscreen rendering: every control drawn where it belongs, read back by pixel.
#include "viewkit/Recorders.h"
#include "viewkit/TestResources.h"
#include "viewkit/viewkit.h"

#include <cairo.h>
#include <gtest/gtest.h>

namespace viewkit::test {
namespace {

constexpr CColor kFrameBack{10, 10, 10};
constexpr CColor kGreen{146, 208, 80}, kDarkGreen{73, 112, 30}, kLightGreen{228, 237, 211};

// A text button like the editor's own: a rounded outline filled with a gradient.
class GradientButton : public CControl {
public:
    GradientButton(const CRect& r, const char* title) : CControl(r), title(title)
    {
        on = CGradient::create(0, 1, kGreen, kGreen);
        off = CGradient::create(0, 1, kDarkGreen, kDarkGreen);
    }
    ~GradientButton() override
    {
        on->forget();
        off->forget();
    }
    void draw(CDrawContext* context) override
    {
        context->setDrawMode(kAntiAliasing);
        context->setLineWidth(1);
        context->setFrameColor(kBlackCColor);
        const CRect r = CRect(size).inset(0.5, 0.5);
        CGraphicsPath* path = context->createRoundRectGraphicsPath(r, 2);
        context->fillLinearGradient(path, value >= 1 ? *on : *off, {r.left, r.top}, {r.left, r.bottom});
        context->drawGraphicsPath(path, CDrawContext::kPathStroked);
        path->forget();
        context->setFontColor(kBlackCColor);
        context->drawString(title, size);
        setDirty(false);
    }
    CGradient* on;
    CGradient* off;
    std::string title;
};

bool near(const CColor& a, const CColor& b, int tolerance = 2)
{
    return std::abs(a.red - b.red) <= tolerance && std::abs(a.green - b.green) <= tolerance &&
           std::abs(a.blue - b.blue) <= tolerance && std::abs(a.alpha - b.alpha) <= tolerance;
}

int countPixels(const OffscreenImage& image, const CRect& r, const CColor& c)
{
    int n = 0;
    for (int y = static_cast<int>(r.top); y < static_cast<int>(r.bottom); ++y)
        for (int x = static_cast<int>(r.left); x < static_cast<int>(r.right); ++x) n += near(image.pixel(x, y), c, 40);
    return n;
}

::testing::AssertionResult pixelIs(const OffscreenImage& image, int x, int y, const CColor& expected)
{
    const CColor got = image.pixel(x, y);
    if (near(got, expected)) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "pixel (" << x << ", " << y << ") is (" << int(got.red) << ", "
                                         << int(got.green) << ", " << int(got.blue) << ", " << int(got.alpha) << ")";
}

class RenderingTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        installTestResources();
        frame = new CFrame(CRect(0, 0, 400, 300), nullptr);
        frame->setBackgroundColor(kFrameBack);
    }
    void TearDown() override { frame->forget(); }

    void buildAllControls()
    {
        auto* knobStrip = new CBitmap("knob.png");
        knob = new CAnimKnob(CRect(10, 10, 60, 60), nullptr, 1, knobStrip);
        knobStrip->forget();
        knob->setValue(0.5f);
        frame->addView(knob);

        slider =
            new CHorizontalSlider(CRect(100, 10, 200, 31), nullptr, 2, 100, 200, nullptr, nullptr, CPoint(), kLeft);
        slider->setDrawStyle(CHorizontalSlider::kDrawFrame | CHorizontalSlider::kDrawBack |
                             CHorizontalSlider::kDrawValue);
        slider->setFrameColor(kGreen);
        slider->setBackColor(kBlackCColor);
        slider->setValueColor(kLightGreen);
        slider->setValue(0.5f);
        frame->addView(slider);

        auto* rockerStrip = new CBitmap("rocker.png");
        rocker = new CRockerSwitch(CRect(220, 10, 241, 31), nullptr, -1, rockerStrip, CPoint(), kVertical);
        rockerStrip->forget();
        frame->addView(rocker);

        button = new GradientButton(CRect(260, 10, 320, 40), "On");
        button->setValue(1);
        frame->addView(button);

        label = new CTextLabel(CRect(10, 100, 110, 121), "Hello");
        label->setFontColor(kWhiteCColor);
        label->setBackColor(CColor(0, 0, 200));
        label->setFrameColor(kRedCColor);
        frame->addView(label);

        menu = new COptionMenu(CRect(130, 100, 230, 121), nullptr, 3);
        menu->setBackColor(kDarkGreen);
        menu->setFrameColor(kGreen);
        menu->setFontColor(kWhiteCColor);
        menu->addEntry("One");
        menu->addEntry("Two");
        menu->setValue(1);
        frame->addView(menu);

        tabs = new CTabView(CRect(10, 150, 310, 250), CRect(0, 0, 0, 0));
        auto* page0 = new CViewContainer(CRect(10, 150, 310, 250));
        auto* pageBitmap = new CBitmap("page.png");
        page0->setBackground(pageBitmap);
        pageBitmap->forget();
        auto* page1 = new CViewContainer(CRect(10, 150, 310, 250));
        page1->setBackgroundColor(kTransparentCColor);
        auto* pageLabel = new CTextLabel(CRect(0, 0, 40, 20), "");
        pageLabel->setBackColor(kMagentaCColor);
        pageLabel->setFrameColor(kMagentaCColor);
        page1->addView(pageLabel);
        tabs->addTab(page0);
        tabs->addTab(page1);
        frame->addView(tabs);
    }

    CFrame* frame = nullptr;
    CAnimKnob* knob = nullptr;
    CHorizontalSlider* slider = nullptr;
    CRockerSwitch* rocker = nullptr;
    GradientButton* button = nullptr;
    CTextLabel* label = nullptr;
    COptionMenu* menu = nullptr;
    CTabView* tabs = nullptr;
};

TEST_F(RenderingTest, EveryControlIsDrawnWhereItBelongs)
{
    buildAllControls();
    const OffscreenImage image = OffscreenImage::render(frame);
    ASSERT_EQ(image.width(), 400);
    ASSERT_EQ(image.height(), 300);

    EXPECT_TRUE(pixelIs(image, 395, 295, kFrameBack));
    // Knob at 0.5 of 31 frames shows frame 15 (red = 15 * 8).
    EXPECT_TRUE(pixelIs(image, 35, 35, CColor(120, 200, 50)));
    EXPECT_TRUE(pixelIs(image, 10, 10, CColor(120, 200, 50)));
    EXPECT_TRUE(pixelIs(image, 60, 60, kFrameBack));
    // Slider: 1 px frame, value bar over the left half, back on the right.
    EXPECT_TRUE(pixelIs(image, 100, 10, kGreen));
    EXPECT_TRUE(pixelIs(image, 199, 30, kGreen));
    EXPECT_TRUE(pixelIs(image, 120, 20, kLightGreen));
    EXPECT_TRUE(pixelIs(image, 180, 20, kBlackCColor));
    // Rocker at rest shows its middle frame.
    EXPECT_TRUE(pixelIs(image, 230, 20, kRockerMiddle));
    // Button filled with its "on" gradient, inside the rounded outline.
    EXPECT_TRUE(pixelIs(image, 265, 14, kGreen));
    EXPECT_TRUE(pixelIs(image, 260, 10, kFrameBack)) << "rounded corner must stay unpainted";
    // Label: frame ring in the frame colour, back colour inside, some text pixels.
    EXPECT_TRUE(pixelIs(image, 10, 100, kRedCColor));
    EXPECT_TRUE(pixelIs(image, 12, 102, CColor(0, 0, 200)));
    EXPECT_GT(countPixels(image, CRect(40, 103, 80, 118), kWhiteCColor), 10);
    // Option menu shows its current entry's title.
    EXPECT_TRUE(pixelIs(image, 131, 101, kDarkGreen));
    EXPECT_GT(countPixels(image, CRect(160, 103, 200, 118), kWhiteCColor), 5);
    // Tab view: only the first page (its bitmap) is drawn.
    EXPECT_TRUE(pixelIs(image, 100, 200, CColor(0, 128, 128)));
    EXPECT_TRUE(pixelIs(image, 15, 155, CColor(0, 128, 128)));

    const std::string path = ::testing::TempDir() + "viewkit_all_controls.png";
    ASSERT_TRUE(image.writePng(path));
    cairo_surface_t* reread = cairo_image_surface_create_from_png(path.c_str());
    ASSERT_EQ(cairo_surface_status(reread), CAIRO_STATUS_SUCCESS);
    EXPECT_EQ(cairo_image_surface_get_width(reread), 400);
    EXPECT_EQ(cairo_image_surface_get_height(reread), 300);
    cairo_surface_destroy(reread);
    if (!std::getenv("VIEWKIT_KEEP_PNG")) std::remove(path.c_str());
}

TEST_F(RenderingTest, ValuesSelectFilmStripFramesAndBars)
{
    buildAllControls();
    struct Case {
        float knobValue;
        uint8_t red;
    };
    for (const Case c : {Case{0.f, 0}, Case{1.f, 240}, Case{0.999f, 232}}) {
        knob->setValue(c.knobValue);
        const OffscreenImage image = OffscreenImage::render(frame);
        EXPECT_TRUE(pixelIs(image, 35, 35, CColor(c.red, 200, 50))) << "knob value " << c.knobValue;
    }
    rocker->setValue(-1);
    EXPECT_TRUE(pixelIs(OffscreenImage::render(frame), 230, 20, kRockerUp));
    rocker->setValue(1);
    EXPECT_TRUE(pixelIs(OffscreenImage::render(frame), 230, 20, kRockerDown));

    slider->setValue(0);
    OffscreenImage image = OffscreenImage::render(frame);
    EXPECT_TRUE(pixelIs(image, 101, 20, kBlackCColor)) << "an empty bar draws nothing";
    EXPECT_TRUE(pixelIs(image, 100, 20, kGreen));
    slider->setValue(1);
    image = OffscreenImage::render(frame);
    EXPECT_TRUE(pixelIs(image, 198, 20, kLightGreen));
    EXPECT_TRUE(pixelIs(image, 199, 20, kGreen)) << "the bar never covers the frame";
}

TEST_F(RenderingTest, SelectingATabShowsOnlyThatPage)
{
    buildAllControls();
    ASSERT_TRUE(tabs->selectTab(1));
    const OffscreenImage image = OffscreenImage::render(frame);
    // Page 1 is see-through: the frame background shows, plus the page's own label.
    EXPECT_TRUE(pixelIs(image, 100, 200, kFrameBack));
    EXPECT_TRUE(pixelIs(image, 15, 155, kMagentaCColor));
    EXPECT_EQ(tabs->getNbViews(), 2) << "strip and the current page only";
    EXPECT_FALSE(tabs->selectTab(2));
    EXPECT_FALSE(tabs->selectTab(-1));
    EXPECT_EQ(tabs->getCurrentSelectedTab(), 1);
    // Page children are placed relative to the tab view's corner.
    EXPECT_EQ(tabs->getTabView(1)->getViewSize(), CRect(0, 0, 300, 100));
}

TEST_F(RenderingTest, FrameBitmapIsCutAtTheFrameEdge)
{
    auto* big = new CBitmap("page.png"); // 300 x 100 on a 400 x 300 frame
    frame->setBackground(big);
    big->forget();
    const OffscreenImage image = OffscreenImage::render(frame);
    EXPECT_TRUE(pixelIs(image, 299, 99, CColor(0, 128, 128)));
    EXPECT_EQ(image.pixel(300, 99).alpha, 0) << "a bitmap background leaves the rest unpainted";
}

TEST_F(RenderingTest, MissingOrCorruptBitmapsDrawNothing)
{
    for (const char* name : {"missing.png", "corrupt.png", "truncated.png"}) {
        auto* bitmap = new CBitmap(name);
        EXPECT_FALSE(bitmap->isLoaded()) << name;
        EXPECT_EQ(bitmap->getWidth(), 0);
        auto* k = new CAnimKnob(CRect(10, 10, 60, 60), nullptr, 1, bitmap);
        auto* r = new CRockerSwitch(CRect(100, 10, 121, 31), nullptr, -1, bitmap, CPoint(), kVertical);
        bitmap->forget();
        k->setValue(0.7f);
        frame->addView(k);
        frame->addView(r);
        const OffscreenImage image = OffscreenImage::render(frame);
        EXPECT_TRUE(pixelIs(image, 35, 35, kFrameBack)) << name;
        EXPECT_TRUE(pixelIs(image, 110, 20, kFrameBack)) << name;
        frame->removeAll();
    }
    setResourceLookup(nullptr);
    auto* unfound = new CBitmap("knob.png");
    EXPECT_FALSE(unfound->isLoaded()) << "no lookup installed";
    unfound->forget();
    auto* empty = new CBitmap(nullptr, 0);
    EXPECT_FALSE(empty->isLoaded());
    empty->forget();
}

TEST_F(RenderingTest, ZeroSizeFramesAndViewsAreSurvived)
{
    CFrame* empty = new CFrame(CRect(0, 0, 0, 0), nullptr);
    empty->addView(new CTextLabel(CRect(0, 0, 50, 20), "x"));
    const OffscreenImage image = OffscreenImage::render(empty);
    EXPECT_EQ(image.width(), 0);
    EXPECT_FALSE(image.writePng(::testing::TempDir() + "viewkit_empty.png"));
    EXPECT_EQ(image.pixel(0, 0).alpha, 0);
    empty->forget();

    frame->addView(new CTextLabel(CRect(50, 50, 50, 50), "zero"));
    frame->addView(new CTextLabel(CRect(80, 80, 70, 70), "inverted"));
    auto* knobStrip = new CBitmap("knob.png");
    frame->addView(new CAnimKnob(CRect(5, 5, 5, 5), nullptr, 1, knobStrip));
    knobStrip->forget();
    const OffscreenImage drawn = OffscreenImage::render(frame);
    EXPECT_TRUE(pixelIs(drawn, 50, 50, kFrameBack));
    EXPECT_EQ(OffscreenImage::render(nullptr).width(), 0);
}

TEST_F(RenderingTest, IconAndTitleAreLaidOutSideBySide)
{
    // An icon left of a title, drawn by a bare view.
    class IconView : public CView {
    public:
        using CView::CView;
        void draw(CDrawContext* context) override
        {
            auto* icon = new CBitmap("rocker.png"); // 21 x 63, centred on a 21 px high view
            CDrawMethods::drawIconAndText(context, icon, CDrawMethods::kIconLeft, kLeftText, 2, size, "Title",
                                          kNormalFont, kWhiteCColor);
            icon->forget();
        }
    };
    frame->addView(new IconView(CRect(10, 10, 130, 31)));
    const OffscreenImage image = OffscreenImage::render(frame);
    EXPECT_TRUE(pixelIs(image, 12, 10, kRockerMiddle)) << "icon after the margin, centred vertically";
    EXPECT_TRUE(pixelIs(image, 11, 20, kFrameBack));
    EXPECT_GT(countPixels(image, CRect(34, 11, 80, 30), kWhiteCColor), 5) << "title right of the icon";
    EXPECT_EQ(countPixels(image, CRect(85, 11, 130, 30), kWhiteCColor), 0);
    const CCoord width = measureStringWidth(kNormalFont, "Title");
    EXPECT_GT(width, 20);
    EXPECT_LT(width, 40);
    EXPECT_EQ(measureStringWidth(kNormalFont, ""), 0);
}

TEST_F(RenderingTest, DirtyViewsAreInvalidatedByIdle)
{
    buildAllControls();
    OffscreenImage::render(frame);
    frame->takeInvalidRect();
    knob->setValue(0.25f); // a new value alone makes a control dirty
    EXPECT_TRUE(knob->isDirty());
    EXPECT_TRUE(frame->takeInvalidRect().isEmpty()) << "setValue only marks, idle repaints";
    frame->idle();
    EXPECT_EQ(frame->takeInvalidRect(), CRect(10, 10, 60, 60));
    label->setText("Hello");
    frame->idle();
    EXPECT_TRUE(frame->takeInvalidRect().isEmpty()) << "same text is not a change";
    // Page controls report their rect in frame coordinates.
    auto* page = static_cast<CViewContainer*>(tabs->getTabView(0));
    auto* inner = new CTextLabel(CRect(5, 5, 25, 15), "");
    page->addView(inner);
    frame->takeInvalidRect();
    inner->setText("y");
    frame->idle();
    EXPECT_EQ(frame->takeInvalidRect(), CRect(15, 155, 35, 165));
}

} // namespace
} // namespace viewkit::test
