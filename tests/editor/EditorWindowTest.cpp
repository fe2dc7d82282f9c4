// The bundle's editor in a real X11 window the way DAWs treat it: opened,
// clicked and reopened, hidden in the middle of a drag, losing the focus,
// embedded by XEmbed, told a screen scale. Needs an X server (Xvfb); skips
// without one.
#include <gtest/gtest.h>

#include "host/EditorHost.h"
#include "host/Module.h"
#include "host/PluginInstance.h"
#include "support/OwnDisplay.h"
#include "support/RecordingHandler.h"

#include "editor/layout/ControlLayout.h"
#include "support/ControlCentre.h"
#include "common/ParameterIds.h"

#include "pluginterfaces/gui/iplugviewcontentscalesupport.h"

#include <chrono>
#include <cmath>
#include <cstdlib>
#include <string>
#include <vector>

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

namespace vexbit::test {
namespace {

using namespace std::chrono_literals;
using namespace Steinberg;

struct Rgb {
    int red, green, blue;
    bool operator==(const Rgb&) const = default;
};

// What the plug-in's window shows, pixel by pixel.
class WindowImage {
public:
    WindowImage(Display* display, Window window, int width, int height)
        : image(XGetImage(display, window, 0, 0, static_cast<unsigned>(width), static_cast<unsigned>(height), AllPlanes,
                          ZPixmap))
    {}
    ~WindowImage()
    {
        if (image) XDestroyImage(image);
    }
    WindowImage(const WindowImage&) = delete;
    WindowImage& operator=(const WindowImage&) = delete;

    bool valid() const { return image != nullptr; }
    int width() const { return image ? image->width : 0; }
    int height() const { return image ? image->height : 0; }
    Rgb at(int x, int y) const
    {
        const unsigned long p = XGetPixel(image, x, y);
        return {static_cast<int>((p >> 16) & 0xFF), static_cast<int>((p >> 8) & 0xFF), static_cast<int>(p & 0xFF)};
    }

private:
    XImage* image;
};

class EditorWindow : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!haveDisplay()) GTEST_SKIP() << "no X display";
        std::string error;
        module = host::Module::load(VEXBIT_BUNDLE_PATH, error);
        ASSERT_TRUE(module) << error;
        instance = host::PluginInstance::createFirstEffect(module, error);
        ASSERT_TRUE(instance && instance->controller()) << error;
        log = owned(new RecordingHandler());
        controller()->setComponentHandler(log);
    }

    void TearDown() override
    {
        window.reset();
        if (instance && instance->controller()) controller()->setComponentHandler(nullptr);
    }

    Vst::IEditController* controller() const { return instance->controller(); }

    void openWindow(double scale = 0.0)
    {
        std::string error;
        window = host::EditorHost::open(controller(), "Vexbit Glitch", error, scale);
        ASSERT_TRUE(window) << error;
        ASSERT_NE(window->pluginWindow(), 0u);
        // Painted once: the upper title bar shows its green.
        ASSERT_TRUE(window->runUntil([&] { return pixelAt(20, 17).green == 208; }, 5s));
        // And the first timer ticks, which bring every control up to date.
        window->runFor(300ms);
    }

    Rgb pixelAt(int x, int y) const
    {
        const double scale = window->width() / 1211.0;
        const int px = static_cast<int>(x * scale), py = static_cast<int>(y * scale);
        XImage* image = XGetImage(window->display(), window->pluginWindow(), px, py, 1, 1, AllPlanes, ZPixmap);
        if (image == nullptr) return {0, 0, 0};
        const unsigned long p = XGetPixel(image, 0, 0);
        XDestroyImage(image);
        return {static_cast<int>((p >> 16) & 0xFF), static_cast<int>((p >> 8) & 0xFF), static_cast<int>(p & 0xFF)};
    }

    // Presses on the Delay Time knob and turns it by dragging; some edits reach the host.
    void startDraggingDelayTime()
    {
        const Point knob = centreOf(kDelayTimeId, LayoutKind::Knob);
        window->sendButton(true, knob.x, knob.y - 10);
        for (int i = 1; i <= 4; ++i) window->sendMotion(knob.x + 6 * i, knob.y - 10 + 3 * i, true);
        ASSERT_TRUE(window->runUntil([&] { return log->count("perform", kDelayTimeId) >= 2; }, 3s));
        window->runFor(150ms); // the rest of the motions
        ASSERT_EQ(log->count("begin", kDelayTimeId), 1u);
        ASSERT_EQ(log->count("end", kDelayTimeId), 0u);
    }

    // Moves all over the knob with or without the button: nothing may change any more.
    void moveAroundAfterwards(bool buttonHeld)
    {
        const Point knob = centreOf(kDelayTimeId, LayoutKind::Knob);
        const size_t performed = log->count("perform", kDelayTimeId);
        const double value = controller()->getParamNormalized(kDelayTimeId);
        for (int i = 1; i <= 6; ++i) window->sendMotion(knob.x - 8 * i, knob.y + 5 * i, buttonHeld);
        window->runFor(200ms);
        EXPECT_EQ(log->count("perform", kDelayTimeId), performed);
        EXPECT_EQ(controller()->getParamNormalized(kDelayTimeId), value);
        EXPECT_EQ(log->count("end", kDelayTimeId), 1u);
        EXPECT_EQ(log->count("begin", kDelayTimeId), 1u);
    }

    std::shared_ptr<host::Module> module;
    std::unique_ptr<host::PluginInstance> instance;
    IPtr<RecordingHandler> log;
    std::unique_ptr<host::EditorHost> window;
};

TEST_F(EditorWindow, OnlyTheViewNamedEditorExists)
{
    EXPECT_EQ(controller()->createView("Editor"), nullptr);
    EXPECT_EQ(controller()->createView(nullptr), nullptr);
    IPlugView* view = controller()->createView("editor");
    ASSERT_NE(view, nullptr);
    ViewRect size;
    ASSERT_EQ(view->getSize(&size), kResultTrue);
    EXPECT_EQ(size.getWidth(), 1211);
    EXPECT_EQ(size.getHeight(), 665);
    EXPECT_EQ(view->canResize(), kResultFalse);
    EXPECT_EQ(view->isPlatformTypeSupported(kPlatformTypeX11EmbedWindowID), kResultTrue);
    EXPECT_NE(view->isPlatformTypeSupported("HWND"), kResultTrue);
    // Without a window or with a foreign window type nothing opens.
    EXPECT_NE(view->attached(nullptr, kPlatformTypeX11EmbedWindowID), kResultOk);
    view->release();
}

TEST_F(EditorWindow, ClickingDelayOnOffSwitchesTheParameterAndSurvivesReattaching)
{
    openWindow();
    EXPECT_GT(window->registrationCount(), 0u);
    ASSERT_EQ(controller()->getParamNormalized(kDelayOnOffId), 0.0);
    EXPECT_EQ(pixelAt(20, 17), (Rgb{146, 208, 80})); // the upper title bar
    const Point button = centreOf(kDelayOnOffId, LayoutKind::OnOffButton);
    window->sendClick(button.x, button.y);
    EXPECT_TRUE(window->runUntil([&] { return controller()->getParamNormalized(kDelayOnOffId) == 1.0; }, 3s));

    // Removed: nothing of the editor stays registered with the host's loop.
    ASSERT_TRUE(window->detachView());
    EXPECT_EQ(window->registrationCount(), 0u);
    window->runFor(150ms);

    std::string error;
    ASSERT_TRUE(window->attachView(error)) << error;
    // Clicked only once the new view has painted, however slowly the machine runs.
    EXPECT_TRUE(window->runUntil([&] { return pixelAt(20, 17).green == 208; }, 5s));
    window->runFor(200ms);
    window->sendClick(button.x, button.y);
    EXPECT_TRUE(window->runUntil([&] { return controller()->getParamNormalized(kDelayOnOffId) == 0.0; }, 3s));

    // A host change reaches the reopened window within a few timer periods.
    controller()->setParamNormalized(kDelayOnOffId, 1.0);
    EXPECT_TRUE(window->runUntil([&] { return pixelAt(button.x - 20, button.y - 10).green == 208; }, 5s));
}

TEST_F(EditorWindow, HidingTheWindowEndsADragAndNothingMovesAfterwards)
{
    openWindow();
    startDraggingDelayTime();
    window->hideWindow();
    // The edit is closed while the window is hidden, before any further input.
    EXPECT_TRUE(window->runUntil([&] { return log->count("end", kDelayTimeId) == 1; }, 3s));
    window->showWindow();
    window->runFor(100ms);
    moveAroundAfterwards(false);
    // The release the server sends at last finds nothing to end.
    window->sendButton(false, 10, 10);
    window->runFor(100ms);
    EXPECT_EQ(log->count("end", kDelayTimeId), 1u);
}

TEST_F(EditorWindow, LosingTheFocusEndsADragEvenWithTheButtonStillDown)
{
    openWindow();
    startDraggingDelayTime();
    window->sendFocusOut();
    EXPECT_TRUE(window->runUntil([&] { return log->count("end", kDelayTimeId) == 1; }, 3s));
    moveAroundAfterwards(true);
}

TEST_F(EditorWindow, AMotionWithoutTheButtonEndsADragWhoseReleaseWentElsewhere)
{
    openWindow();
    startDraggingDelayTime();
    const size_t performed = log->count("perform", kDelayTimeId);
    const Point knob = centreOf(kDelayTimeId, LayoutKind::Knob);
    window->sendMotion(knob.x + 30, knob.y + 30, false);
    EXPECT_TRUE(window->runUntil([&] { return log->count("end", kDelayTimeId) == 1; }, 3s));
    EXPECT_EQ(log->count("perform", kDelayTimeId), performed);
    moveAroundAfterwards(false);
}

TEST_F(EditorWindow, AnOrdinaryDragStillWorksAfterAnInterruptedOne)
{
    openWindow();
    startDraggingDelayTime();
    window->sendFocusOut();
    ASSERT_TRUE(window->runUntil([&] { return log->count("end", kDelayTimeId) == 1; }, 3s));
    // A new press starts a new gesture, which the release ends as usual.
    const Point knob = centreOf(kDelayTimeId, LayoutKind::Knob);
    window->sendButton(true, knob.x, knob.y - 10);
    window->sendMotion(knob.x + 12, knob.y - 4, true);
    window->sendButton(false, knob.x + 12, knob.y - 4);
    EXPECT_TRUE(window->runUntil([&] { return log->count("end", kDelayTimeId) == 2; }, 3s));
    EXPECT_EQ(log->count("begin", kDelayTimeId), 2u);
}

TEST_F(EditorWindow, OnOffButtonsLightAsTheParameterTextSays)
{
    openWindow();
    const Point button = centreOf(kDelayOnOffId, LayoutKind::OnOffButton);
    // A point inside the button's fill, away from its title and its outline.
    const int x = button.x - 20, y = button.y - 10;
    // A few timer periods for the change to show; a slow machine gets longer to
    // reach the expected picture, but never passes with the wrong one.
    const auto show = [&](double value) {
        controller()->setParamNormalized(kDelayOnOffId, value);
        window->runFor(300ms);
    };
    const Rgb off = pixelAt(x, y); // the default is off
    show(1.0);
    ASSERT_TRUE(window->runUntil([&] { return pixelAt(x, y) != off; }, 5s));
    window->runFor(100ms);
    const Rgb on = pixelAt(x, y);
    for (const double value : {0.49, 0.5, 0.99, 1.0, 0.2}) {
        const std::string text = instance->parameterText(kDelayOnOffId, value);
        ASSERT_TRUE(text == "On" || text == "Off") << text;
        show(value);
        const Rgb expected = text == "On" ? on : off;
        EXPECT_TRUE(window->runUntil([&] { return pixelAt(x, y) == expected; }, 5s))
            << "host value " << value << " reads " << text;
    }
}

TEST_F(EditorWindow, ClickingOnOffSendsTheOldValueThenTheNew)
{
    openWindow();
    const Point button = centreOf(kDelayOnOffId, LayoutKind::OnOffButton);
    // A host value that means "on" is toggled off by a click, as the button shows it on.
    controller()->setParamNormalized(kDelayOnOffId, 0.7);
    window->runFor(300ms);
    window->sendClick(button.x, button.y);
    ASSERT_TRUE(window->runUntil([&] { return log->count("end", kDelayOnOffId) == 1; }, 3s));
    EXPECT_EQ(log->performed(kDelayOnOffId), (std::vector<double>{1.0, 0.0}));
    EXPECT_EQ(controller()->getParamNormalized(kDelayOnOffId), 0.0);
}

TEST_F(EditorWindow, TheWindowDeclaresItselfAnXEmbedClient)
{
    openWindow();
    Display* display = window->display();
    const Atom info = XInternAtom(display, "_XEMBED_INFO", False);
    Atom type = 0;
    int format = 0;
    unsigned long count = 0, remaining = 0;
    unsigned char* data = nullptr;
    ASSERT_EQ(XGetWindowProperty(display, window->pluginWindow(), info, 0, 2, False, AnyPropertyType, &type, &format,
                                 &count, &remaining, &data),
              Success);
    ASSERT_NE(data, nullptr);
    EXPECT_EQ(type, info);
    EXPECT_EQ(format, 32);
    ASSERT_EQ(count, 2u);
    const auto* values = reinterpret_cast<const long*>(data);
    EXPECT_EQ(values[0], 0);     // protocol version
    EXPECT_EQ(values[1] & 1, 1); // mapped
    XFree(data);

    // An embedder's notice and its focus messages are taken without harm.
    XEvent message{};
    message.xclient.type = ClientMessage;
    message.xclient.window = window->pluginWindow();
    message.xclient.message_type = XInternAtom(display, "_XEMBED", False);
    message.xclient.format = 32;
    for (const long what : {0L /* embedded */, 4L /* focus in */, 5L /* focus out */}) {
        message.xclient.data.l[1] = what;
        XSendEvent(display, window->pluginWindow(), False, NoEventMask, &message);
    }
    XFlush(display);
    window->runFor(200ms);
    XWindowAttributes attributes;
    ASSERT_TRUE(XGetWindowAttributes(display, window->pluginWindow(), &attributes));
    EXPECT_EQ(attributes.map_state, IsViewable);
}

TEST_F(EditorWindow, TheHostsScaleSizesTheViewConsistently)
{
    IPlugView* view = controller()->createView("editor");
    ASSERT_NE(view, nullptr);
    FUnknownPtr<IPlugViewContentScaleSupport> scaling(view);
    ASSERT_TRUE(scaling);
    for (const auto& [scale, width, height] :
         {std::tuple{1.5f, 1817, 998}, std::tuple{2.0f, 2422, 1330}, std::tuple{1.0f, 1211, 665}}) {
        ASSERT_EQ(scaling->setContentScaleFactor(scale), kResultTrue);
        ViewRect size;
        ASSERT_EQ(view->getSize(&size), kResultTrue);
        EXPECT_EQ(size.getWidth(), width);
        EXPECT_EQ(size.getHeight(), height);
        ViewRect proposal(10, 20, 800, 600);
        EXPECT_EQ(view->checkSizeConstraint(&proposal), kResultTrue);
        EXPECT_EQ(proposal.getWidth(), width);
        EXPECT_EQ(proposal.getHeight(), height);
        EXPECT_EQ(proposal.left, 10);
    }
    EXPECT_NE(scaling->setContentScaleFactor(0.0f), kResultTrue);
    EXPECT_NE(scaling->setContentScaleFactor(std::nanf("")), kResultTrue);
    view->release();
}

TEST_F(EditorWindow, AtScaleTwoTheWindowIsSharpAndClicksHitWhatIsDrawnThere)
{
    openWindow(1.0);
    const WindowImage plain(window->display(), window->pluginWindow(), window->width(), window->height());
    ASSERT_TRUE(plain.valid());
    window.reset();

    openWindow(2.0);
    ASSERT_EQ(window->width(), 2422);
    ASSERT_EQ(window->height(), 1330);
    const WindowImage doubled(window->display(), window->pluginWindow(), window->width(), window->height());
    ASSERT_TRUE(doubled.valid());
    ASSERT_EQ(doubled.width(), 2422);

    // Averaged over each 2 x 2 block it is the plain picture, up to text and edge
    // antialiasing (glyphs are hinted for their pixel size, so text differs most).
    long long totalDifference = 0;
    int farOff = 0;
    for (int y = 0; y < 665; ++y) {
        for (int x = 0; x < 1211; ++x) {
            const Rgb a = doubled.at(2 * x, 2 * y), b = doubled.at(2 * x + 1, 2 * y);
            const Rgb c = doubled.at(2 * x, 2 * y + 1), d = doubled.at(2 * x + 1, 2 * y + 1);
            const Rgb p = plain.at(x, y);
            const int diff = std::abs((a.red + b.red + c.red + d.red) / 4 - p.red) +
                             std::abs((a.green + b.green + c.green + d.green) / 4 - p.green) +
                             std::abs((a.blue + b.blue + c.blue + d.blue) / 4 - p.blue);
            totalDifference += diff;
            farOff += diff > 96;
        }
    }
    const double meanDifference = static_cast<double>(totalDifference) / (1211.0 * 665.0);
    EXPECT_LT(meanDifference, 10.0);
    EXPECT_LT(farOff, 1211 * 665 / 25);

    // Sharp, not stretched: somewhere a 2 x 2 block is not four equal pixels.
    int blocksWithDetail = 0;
    for (int y = 0; y < 665; ++y)
        for (int x = 0; x < 1211; ++x)
            blocksWithDetail += !(doubled.at(2 * x, 2 * y) == doubled.at(2 * x + 1, 2 * y + 1));
    EXPECT_GT(blocksWithDetail, 2000);

    // A click where the Delay On/Off button is drawn switches it.
    const Point button = centreOf(kDelayOnOffId, LayoutKind::OnOffButton);
    window->sendClick(2 * button.x, 2 * button.y);
    EXPECT_TRUE(window->runUntil([&] { return controller()->getParamNormalized(kDelayOnOffId) == 1.0; }, 3s));
}

TEST_F(EditorWindow, AScaleChangedWhileOpenResizesAndRepaintsTheWindow)
{
    openWindow();
    FUnknownPtr<IPlugViewContentScaleSupport> scaling(window->view());
    ASSERT_TRUE(scaling);
    ASSERT_EQ(scaling->setContentScaleFactor(1.5f), kResultTrue);
    // The view asked the host for its new size, and its own window followed.
    EXPECT_EQ(window->width(), 1817);
    EXPECT_EQ(window->height(), 998);
    XWindowAttributes attributes{};
    ASSERT_TRUE(window->runUntil(
        [&] {
            return XGetWindowAttributes(window->display(), window->pluginWindow(), &attributes) &&
                   attributes.width == 1817 && attributes.height == 998;
        },
        5s))
        << attributes.width << " x " << attributes.height;
    // Painted at the new size: the title bar's green also in the new right part.
    EXPECT_TRUE(window->runUntil([&] { return pixelAt(1190, 17).green == 208; }, 5s));
    EXPECT_EQ(pixelAt(20, 17).green, 208);
}

TEST_F(EditorWindow, WithoutAHostScaleTheDesktopsGdkScaleIsTaken)
{
    ::setenv("GDK_SCALE", "2", 1);
    openWindow();
    ::unsetenv("GDK_SCALE");
    EXPECT_EQ(window->width(), 2422);
    EXPECT_EQ(window->height(), 1330);
}

} // namespace
} // namespace vexbit::test
