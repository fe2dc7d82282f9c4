// The bundle's editor in a real X11 window, opened, clicked and reopened the way
// a host does it. Needs an X server (Xvfb under scripts/test.sh); skips without one.
#include <gtest/gtest.h>

#include "host/EditorHost.h"
#include "host/Module.h"
#include "host/PluginInstance.h"
#include "support/OwnDisplay.h"

#include <chrono>
#include <cstdio>
#include <string>

#include <X11/Xlib.h>
#include <X11/Xutil.h>

namespace vexbit::test {
namespace {

using namespace std::chrono_literals;
using namespace Steinberg;

// The Delay panel's "On/Off" button, at the middle of its 50 x 30 rectangle.
constexpr int kDelayOnOffX = 30 + 92 + 25;
constexpr int kDelayOnOffY = 265 + 20 + 15;
constexpr Vst::ParamID kDelayOnOff = 201;

struct ColourAt {
    unsigned long red, green, blue;
};

ColourAt pixel(Display* display, Window window, int x, int y)
{
    XImage* image = XGetImage(display, window, x, y, 1, 1, AllPlanes, ZPixmap);
    if (image == nullptr) return {0, 0, 0};
    const unsigned long p = XGetPixel(image, 0, 0);
    XDestroyImage(image);
    return {(p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF};
}

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
    }

    Vst::IEditController* controller() const { return instance->controller(); }

    std::shared_ptr<host::Module> module;
    std::unique_ptr<host::PluginInstance> instance;
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
    std::string error;
    auto window = host::EditorHost::open(controller(), "Vexbit Glitch", error);
    ASSERT_TRUE(window) << error;
    EXPECT_GT(window->registrationCount(), 0u);
    ASSERT_NE(window->pluginWindow(), 0u);
    ASSERT_EQ(controller()->getParamNormalized(kDelayOnOff), 0.0);

    // The window is painted: the upper title bar in its green.
    EXPECT_TRUE(
        window->runUntil([&] { return pixel(window->display(), window->pluginWindow(), 20, 17).green == 208; }, 5s));
    const ColourAt bar = pixel(window->display(), window->pluginWindow(), 20, 17);
    EXPECT_EQ(bar.red, 146u);
    EXPECT_EQ(bar.blue, 80u);

    window->sendClick(kDelayOnOffX, kDelayOnOffY);
    EXPECT_TRUE(window->runUntil([&] { return controller()->getParamNormalized(kDelayOnOff) == 1.0; }, 3s));

    // Removed: nothing of the editor stays registered with the host's loop.
    ASSERT_TRUE(window->detachView());
    EXPECT_EQ(window->registrationCount(), 0u);
    window->runFor(150ms);

    ASSERT_TRUE(window->attachView(error)) << error;
    // Clicked only once the new view has painted, however slowly the machine runs.
    EXPECT_TRUE(
        window->runUntil([&] { return pixel(window->display(), window->pluginWindow(), 20, 17).green == 208; }, 5s));
    window->runFor(200ms);
    window->sendClick(kDelayOnOffX, kDelayOnOffY);
    EXPECT_TRUE(window->runUntil([&] { return controller()->getParamNormalized(kDelayOnOff) == 0.0; }, 3s));

    // A host change reaches the reopened window within a few timer periods.
    controller()->setParamNormalized(kDelayOnOff, 1.0);
    EXPECT_TRUE(window->runUntil(
        [&] {
            return pixel(window->display(), window->pluginWindow(), kDelayOnOffX - 20, kDelayOnOffY - 10).green == 208;
        },
        5s));
}

} // namespace
} // namespace vexbit::test
