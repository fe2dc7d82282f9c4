// The Windows bundle's editor in a Windows host window (under Wine): attached
// as a DAW attaches it, clicked and dragged through window messages, and
// attached and removed many times without leaving windows, GDI objects or
// timers behind.
#include "windows/WindowsEditorHost.h"

#include "host/Module.h"
#include "host/PluginInstance.h"

#include "common/ParameterIds.h"
#include "editor/layout/ControlLayout.h"
#include "support/ControlCentre.h"

#include "support/RecordingHandler.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

namespace vexbit::test {
namespace {

using namespace std::chrono_literals;
using namespace Steinberg;

// The last value performed for id; -1 when none was.
double lastPerformed(const RecordingHandler& log, Vst::ParamID id)
{
    const std::vector<double> values = log.performed(id);
    return values.empty() ? -1.0 : values.back();
}

uint32_t pixelAt(const WindowsEditorHost& host, int x, int y)
{
    HWND view = host.viewWindow();
    if (!view) return 0;
    HDC dc = GetDC(view);
    const COLORREF c = GetPixel(dc, x, y);
    ReleaseDC(view, dc);
    return (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c);
}

// The upper title bar's green, painted only once the view has drawn.
constexpr uint32_t kTitleBarGreen = (146u << 16) | (208u << 8) | 80u;

class WindowsEditor : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::string error;
        module = host::Module::load(VEXBIT_BUNDLE_PATH, error);
        ASSERT_TRUE(module) << error;
        instance = host::PluginInstance::createFirstEffect(module, error);
        ASSERT_TRUE(instance && instance->controller()) << error;
        log = new RecordingHandler;
        ASSERT_EQ(controller()->setComponentHandler(log), kResultOk);
    }

    void TearDown() override
    {
        if (instance && instance->controller()) controller()->setComponentHandler(nullptr);
        if (log) log->release();
    }

    Vst::IEditController* controller() const { return instance->controller(); }

    bool painted(const WindowsEditorHost& host)
    {
        return const_cast<WindowsEditorHost&>(host).runUntil([&] { return pixelAt(host, 20, 17) == kTitleBarGreen; },
                                                             5s);
    }

    std::shared_ptr<host::Module> module;
    std::unique_ptr<host::PluginInstance> instance;
    RecordingHandler* log = nullptr;
};

TEST_F(WindowsEditor, TheViewTakesWindowHandlesOnly)
{
    IPlugView* view = controller()->createView("editor");
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(view->isPlatformTypeSupported(kPlatformTypeHWND), kResultTrue);
    EXPECT_NE(view->isPlatformTypeSupported(kPlatformTypeX11EmbedWindowID), kResultTrue);
    EXPECT_NE(view->attached(nullptr, kPlatformTypeHWND), kResultOk);
    WindowsEditorHost host;
    EXPECT_NE(view->attached(host.window(), kPlatformTypeX11EmbedWindowID), kResultOk);
    EXPECT_EQ(host.viewWindow(), nullptr);
    view->release();
}

TEST_F(WindowsEditor, ClicksAndDragsBecomeEditsOfTheHost)
{
    WindowsEditorHost host;
    ASSERT_TRUE(host.attach(controller()));
    ASSERT_NE(host.viewWindow(), nullptr);
    RECT r;
    GetClientRect(host.viewWindow(), &r);
    EXPECT_EQ(r.right - r.left, 1211);
    EXPECT_EQ(r.bottom - r.top, 665);
    ASSERT_TRUE(painted(host));

    const Point onOff = centreOf(kDelayOnOffId, LayoutKind::OnOffButton);
    host.click(onOff.x, onOff.y);
    EXPECT_TRUE(host.runUntil([&] { return lastPerformed(*log, kDelayOnOffId) == 1.0; }, 3s));
    EXPECT_EQ(log->count("begin", kDelayOnOffId), 1u);
    EXPECT_EQ(log->count("end", kDelayOnOffId), 1u);

    // A drag around the knob turns it, as one gesture, the mouse captured until the release.
    const Point knob = centreOf(kDelayTimeId, LayoutKind::Knob);
    const double before = controller()->getParamNormalized(kDelayTimeId);
    host.press(knob.x, knob.y - 10);
    EXPECT_EQ(GetCapture(), host.viewWindow());
    for (int i = 1; i <= 4; ++i) host.moveHeld(knob.x + 6 * i, knob.y - 10 + 3 * i);
    host.release(knob.x + 24, knob.y + 2);
    EXPECT_GE(log->count("perform", kDelayTimeId), 2u);
    EXPECT_EQ(log->count("begin", kDelayTimeId), 1u);
    EXPECT_EQ(log->count("end", kDelayTimeId), 1u);
    EXPECT_NE(lastPerformed(*log, kDelayTimeId), before);
    EXPECT_NE(GetCapture(), host.viewWindow());

    // Losing the focus in the middle of a drag ends that gesture.
    host.press(knob.x, knob.y - 10);
    host.moveHeld(knob.x + 6, knob.y - 7);
    SetFocus(host.window());
    host.runFor(50ms);
    EXPECT_EQ(log->count("begin", kDelayTimeId), 2u);
    EXPECT_EQ(log->count("end", kDelayTimeId), 2u);
}

TEST_F(WindowsEditor, TextTypedIntoAFieldIsParsedByTheParameter)
{
    WindowsEditorHost host;
    ASSERT_TRUE(host.attach(controller()));
    ASSERT_TRUE(painted(host));
    // The Delay Time stepper's text field, left of its rocker.
    FrameRect field{};
    for (const LayoutStep& step : controlLayout())
        if (step.tag == static_cast<int32_t>(kDelayTimeId) && step.kind == LayoutKind::Stepper)
            field = frameRectOf(step);
    ASSERT_GT(field.w, 0);
    host.click(field.x + 15, field.y + field.h / 2);
    // Keys as the system delivers them: key downs, which the loop translates into characters.
    auto key = [&](WPARAM vk) {
        PostMessageW(host.viewWindow(), WM_KEYDOWN, vk, 1);
        PostMessageW(host.viewWindow(), WM_KEYUP, vk, 0xC0000001);
        host.runFor(10ms);
    };
    for (int i = 0; i < 12; ++i) key(VK_BACK);
    for (wchar_t c : std::wstring(L"100")) {
        PostMessageW(host.viewWindow(), WM_CHAR, c, 1);
        host.runFor(10ms);
    }
    key(VK_RETURN);
    auto shown = [&] { return instance->parameterText(kDelayTimeId, lastPerformed(*log, kDelayTimeId)); };
    EXPECT_TRUE(host.runUntil([&] { return shown().substr(0, 3) == "100"; }, 3s)) << shown();
}

TEST_F(WindowsEditor, AttachingAndRemovingLeavesNothingBehind)
{
    WindowsEditorHost host;
    auto windowsOfThread = [] {
        int n = 0;
        EnumThreadWindows(
            GetCurrentThreadId(),
            [](HWND w, LPARAM count) -> BOOL {
                ++*reinterpret_cast<int*>(count);
                EnumChildWindows(
                    w,
                    [](HWND, LPARAM c) -> BOOL {
                        ++*reinterpret_cast<int*>(c);
                        return TRUE;
                    },
                    count);
                return TRUE;
            },
            reinterpret_cast<LPARAM>(&n));
        return n;
    };
    // One cycle first: what is made once per process (fonts, caches) is made then.
    ASSERT_TRUE(host.attach(controller()));
    ASSERT_TRUE(painted(host));
    host.remove();
    host.runFor(50ms);
    const int windows = windowsOfThread();
    const DWORD gdiObjects = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
    const DWORD userObjects = GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS);

    for (int i = 0; i < 20; ++i) {
        ASSERT_TRUE(host.attach(controller())) << "cycle " << i;
        ASSERT_TRUE(painted(host)) << "cycle " << i;
        host.remove();
        EXPECT_EQ(host.viewWindow(), nullptr);
    }
    host.runFor(50ms);
    const DWORD gdiAfter = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
    const DWORD userAfter = GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS);
    std::printf("windows %d -> %d, GDI objects %lu -> %lu, USER objects %lu -> %lu\n", windows, windowsOfThread(),
                gdiObjects, gdiAfter, userObjects, userAfter);
    EXPECT_EQ(windowsOfThread(), windows);
    EXPECT_LE(gdiAfter, gdiObjects);
    EXPECT_LE(userAfter, userObjects);

    // The timers went with their windows: a message loop has no timer left to run.
    MSG msg;
    host.runFor(50ms);
    EXPECT_FALSE(PeekMessageW(&msg, nullptr, WM_TIMER, WM_TIMER, PM_NOREMOVE));
}

} // namespace
} // namespace vexbit::test
