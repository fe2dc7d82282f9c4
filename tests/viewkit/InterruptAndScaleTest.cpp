// Gestures the window loses in the middle, and frames drawn for high-resolution screens.
#include "viewkit/DesktopScale.h"
#include "viewkit/Recorders.h"
#include "viewkit/TestPng.h"
#include "viewkit/TestResources.h"
#include "viewkit/viewkit.h"

#include <cairo.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>

namespace viewkit::test {
namespace {

class InterruptTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        installTestResources();
        frame = new CFrame(CRect(0, 0, 400, 300), &editor);
    }
    void TearDown() override { frame->forget(); }

    size_t countOf(const std::string& entry) const
    {
        return static_cast<size_t>(std::count(log.entries.begin(), log.entries.end(), entry));
    }

    EventLog log;
    RecordingEditor editor{log};
    RecordingListener listener{log};
    CFrame* frame = nullptr;
};

TEST_F(InterruptTest, AKnobDragEndsWhereItWasAndLaterMovesChangeNothing)
{
    editor.knobMode = kLinearMode;
    auto* strip = new CBitmap("knob.png");
    auto* knob = new CAnimKnob(CRect(100, 100, 150, 150), &listener, 7, strip);
    strip->forget();
    frame->addView(knob);

    CPoint p(125, 125);
    frame->onMouseDown(p, kLButton);
    p = CPoint(125, 90);
    frame->onMouseMoved(p, kLButton);
    const float dragged = knob->getValue();
    ASSERT_GT(dragged, 0.f);

    frame->interruptGestures();
    EXPECT_EQ(countOf("host-end 7"), 1u);
    EXPECT_FALSE(knob->isEditing());
    // Not put back: the host already has the dragged value and an end to its edit.
    EXPECT_FLOAT_EQ(knob->getValue(), dragged);

    const size_t reports = listener.values.size();
    p = CPoint(125, 20);
    frame->onMouseMoved(p, kLButton);
    p = CPoint(125, 20);
    frame->onMouseUp(p, kLButton);
    EXPECT_EQ(listener.values.size(), reports);
    EXPECT_EQ(countOf("host-end 7"), 1u);
    // Nothing was running: a second interruption has nothing to end.
    frame->interruptGestures();
    EXPECT_EQ(countOf("host-end 7"), 1u);
}

TEST_F(InterruptTest, ARockerWheelStepAndAHeldArrowKeySpringBackAtOnce)
{
    auto* rocker = new CRockerSwitch(CRect(10, 10, 31, 31), &listener, 5, nullptr, CPoint(), kVertical);
    frame->addView(rocker);
    frame->onWheel({20, 20}, -1, 0);
    ASSERT_TRUE(rocker->isEditing());
    frame->interruptGestures();
    EXPECT_FALSE(rocker->isEditing());
    EXPECT_FLOAT_EQ(rocker->getValueNormalized(), 0.5f);
    // Its timer has nothing left to do.
    CVSTGUITimer::runDueTimers(CVSTGUITimer::Clock::now() + std::chrono::milliseconds(250));
    EXPECT_EQ(listener.values, (std::vector<float>{1, 0}));
    EXPECT_EQ(countOf("host-end 5"), 1u);

    frame->setFocusView(rocker);
    VstKeyCode up;
    up.virt = VKEY_UP;
    ASSERT_EQ(frame->onKeyDown(up), 1);
    ASSERT_TRUE(rocker->isEditing());
    frame->interruptGestures();
    EXPECT_FALSE(rocker->isEditing());
    EXPECT_FLOAT_EQ(rocker->getValueNormalized(), 0.5f);
    EXPECT_EQ(countOf("host-end 5"), 2u);
    // The key's late release steps nothing.
    EXPECT_EQ(frame->onKeyUp(up), -1);
}

TEST_F(InterruptTest, AnOpenTextFieldCommitsWhatWasTyped)
{
    auto* edit = new CTextEdit(CRect(10, 50, 110, 71), &listener, 9, "old");
    frame->addView(edit);
    frame->setFocusView(edit);
    VstKeyCode key;
    key.character = '!';
    frame->onKeyDown(key);
    frame->interruptGestures();
    EXPECT_EQ(edit->getText(), "old!");
    EXPECT_EQ(frame->getFocusView(), nullptr);
    EXPECT_EQ(countOf("host-end 9"), 1u);
}

// A bitmap whose versions differ in colour, to see which one is drawn.
const CColor kPlain{200, 0, 0}, kDouble{0, 0, 200}, kMisfit{0, 200, 0};

void installScaledResources()
{
    static const std::vector<uint8_t> plain = makeStripPng(10, 10, {kPlain});
    static const std::vector<uint8_t> doubled = makeStripPng(20, 20, {kDouble});
    static const std::vector<uint8_t> misfit = makeStripPng(10, 10, {kMisfit}); // wrong size for 1.5
    setResourceLookup([](std::string_view name) -> std::span<const uint8_t> {
        if (name == "dot.png") return plain;
        if (name == "dot@2x.png") return doubled;
        if (name == "dot@1.5x.png") return misfit;
        return {};
    });
}

class ScaleTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        installScaledResources();
        frame = new CFrame(CRect(0, 0, 101, 61), nullptr);
        frame->setBackgroundColor(kBlackCColor);
        auto* dot = new CBitmap("dot.png");
        auto* view = new CView(CRect(40, 20, 50, 30));
        view->setBackground(dot);
        dot->forget();
        frame->addView(view);
    }
    void TearDown() override
    {
        frame->forget();
        installTestResources();
    }
    CFrame* frame = nullptr;
};

TEST_F(ScaleTest, TheImageGrowsByTheScaleAndBitmapsUseTheirFinerVersion)
{
    EXPECT_EQ(scaledResourceName("dot.png", 2.0), "dot@2x.png");
    EXPECT_EQ(scaledResourceName("dot.png", 1.5), "dot@1.5x.png");

    const OffscreenImage plain = OffscreenImage::render(frame);
    EXPECT_EQ(plain.width(), 101);
    EXPECT_EQ(plain.pixel(45, 25), kPlain);

    ASSERT_TRUE(frame->setScaleFactor(2.0));
    const OffscreenImage doubled = OffscreenImage::render(frame);
    EXPECT_EQ(doubled.width(), 202);
    EXPECT_EQ(doubled.height(), 122);
    // The view covers its own rectangle times two, every pixel from the 2x version.
    EXPECT_EQ(doubled.pixel(80, 40), kDouble);
    EXPECT_EQ(doubled.pixel(99, 59), kDouble);
    EXPECT_EQ(doubled.pixel(79, 40), kBlackCColor);
    EXPECT_EQ(doubled.pixel(100, 40), kBlackCColor);

    // 1.5 has no fitting version of its own (the 1.5 file has the wrong size): the 2x one, made smaller.
    ASSERT_TRUE(frame->setScaleFactor(1.5));
    const OffscreenImage between = OffscreenImage::render(frame);
    EXPECT_EQ(between.width(), 152); // 151.5 rounded up
    EXPECT_EQ(between.pixel(67, 37), kDouble);
}

TEST_F(ScaleTest, OnlyFactorsFromOneToFourAreTaken)
{
    for (const double bad : {0.0, 0.5, 4.5, -2.0}) EXPECT_FALSE(frame->setScaleFactor(bad)) << bad;
    EXPECT_EQ(frame->getScaleFactor(), 1.0);
    EXPECT_TRUE(frame->setScaleFactor(3.0));
    EXPECT_EQ(frame->getScaleFactor(), 3.0);
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 4, 4);
    cairo_t* cr = cairo_create(surface);
    {
        CDrawContext context(cr, CRect(0, 0, 2, 2), 2.0);
        EXPECT_DOUBLE_EQ(context.getHairlineSize(), 0.5);
    }
    cairo_destroy(cr);
    cairo_surface_destroy(surface);
}

TEST(DesktopScale, GdkScaleFirstThenXftDpi)
{
    EXPECT_EQ(desktopScaleFactor(nullptr, nullptr), 1.0);
    EXPECT_EQ(desktopScaleFactor("2", nullptr), 2.0);
    EXPECT_EQ(desktopScaleFactor("2", "Xft.dpi:\t144\n"), 2.0);
    EXPECT_EQ(desktopScaleFactor(nullptr, "Xft.antialias:\t1\nXft.dpi:\t144\nXft.hinting:\t1\n"), 1.5);
    // GTK takes whole factors only; what it would ignore falls through to the resources.
    EXPECT_EQ(desktopScaleFactor("1.5", "Xft.dpi: 192"), 2.0);
    EXPECT_EQ(desktopScaleFactor("two", nullptr), 1.0);
    EXPECT_EQ(desktopScaleFactor("", "Xft.dpi:\t96"), 1.0);
    // Beyond what a frame takes, or below one: the nearest it takes.
    EXPECT_EQ(desktopScaleFactor("8", nullptr), 4.0);
    EXPECT_EQ(desktopScaleFactor(nullptr, "Xft.dpi:\t72"), 1.0);
    EXPECT_EQ(desktopScaleFactor(nullptr, "Xft.dpi:\tlarge\n"), 1.0);
    EXPECT_EQ(desktopScaleFactor(nullptr, "MyXft.dpi:\t192\n"), 1.0);
}

} // namespace
} // namespace viewkit::test
