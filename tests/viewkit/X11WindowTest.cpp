// The kit's window embedded in a host window under a real X server (Xvfb in
// the test script): mapping, painting on expose, input, and clean removal.
// gtest first: Xlib defines macros (None, Bool) that clash with its names.
#include <gtest/gtest.h>

#include "host/EditorHost.h"
#include "support/OwnDisplay.h"
#include "viewkit/Recorders.h"
#include "viewkit/viewkit.h"

#include <X11/Xutil.h>
#include <X11/keysym.h>
#include <cstdlib>
#include <sys/socket.h>

namespace viewkit::test {
namespace {

constexpr CColor kBack{200, 0, 0};
constexpr CColor kValueBar{0, 220, 0};

class X11WindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::string error;
        if (vexbit::test::haveDisplay()) host = vexbit::host::EditorHost::openEmpty(200, 100, error);
        if (!host) GTEST_SKIP() << "no X display";
        runLoop = std::make_unique<Vst3RunLoop>(host.get());
        frame = new CFrame(CRect(0, 0, 200, 100), &editor);
        frame->setBackgroundColor(kBack);
        slider =
            new CHorizontalSlider(CRect(10, 10, 110, 30), &listener, 5, 10, 110, nullptr, nullptr, CPoint(), kLeft);
        slider->setDrawStyle(CHorizontalSlider::kDrawBack | CHorizontalSlider::kDrawValue);
        slider->setBackColor(kBlackCColor);
        slider->setValueColor(kValueBar);
        frame->addView(slider);
    }
    void TearDown() override
    {
        if (frame) frame->close();
        runLoop.reset();
        host.reset();
    }

    bool openEmbedded()
    {
        X11FrameConfig config{runLoop.get()};
        void* parent = reinterpret_cast<void*>(static_cast<uintptr_t>(host->window()));
        return frame->open(parent, PlatformType::kX11EmbedWindowID, &config);
    }

    bool isViewable(Window w) const
    {
        XWindowAttributes attrs;
        return w && XGetWindowAttributes(host->display(), w, &attrs) && attrs.map_state == IsViewable;
    }

    CColor pixel(Window w, int x, int y) const
    {
        XImage* image = XGetImage(host->display(), w, x, y, 1, 1, AllPlanes, ZPixmap);
        if (!image) return CColor(0, 0, 0, 0);
        const unsigned long p = XGetPixel(image, 0, 0);
        XDestroyImage(image);
        return CColor(static_cast<uint8_t>((p >> 16) & 0xFF), static_cast<uint8_t>((p >> 8) & 0xFF),
                      static_cast<uint8_t>(p & 0xFF));
    }

    static bool same(const CColor& a, const CColor& b)
    {
        return std::abs(a.red - b.red) <= 2 && std::abs(a.green - b.green) <= 2 && std::abs(a.blue - b.blue) <= 2;
    }

    std::unique_ptr<vexbit::host::EditorHost> host;
    std::unique_ptr<Vst3RunLoop> runLoop;
    EventLog log;
    RecordingEditor editor{log};
    RecordingListener listener{log};
    CFrame* frame = nullptr;
    CHorizontalSlider* slider = nullptr;
};

TEST_F(X11WindowTest, EmbeddedViewMapsPaintsTakesClicksAndLeavesCleanly)
{
    ASSERT_TRUE(openEmbedded());
    EXPECT_EQ(host->handlerCount(), 1u);
    EXPECT_EQ(host->timerCount(), 1u);

    Window child = 0;
    ASSERT_TRUE(host->runUntil([&] {
        child = host->pluginWindow();
        return isViewable(child) && same(pixel(child, 150, 80), kBack);
    })) << "child window mapped and painted";
    XWindowAttributes attrs;
    XGetWindowAttributes(host->display(), child, &attrs);
    EXPECT_EQ(attrs.width, 200);
    EXPECT_EQ(attrs.height, 100);

    // Paint over it from outside, then expose: the kit repaints.
    GC gc = XCreateGC(host->display(), child, 0, nullptr);
    XSetForeground(host->display(), gc, 0x0000FF);
    XFillRectangle(host->display(), child, gc, 0, 0, 200, 100);
    XFreeGC(host->display(), gc);
    XSync(host->display(), False);
    ASSERT_TRUE(same(pixel(child, 150, 80), CColor(0, 0, 255)));
    XClearArea(host->display(), child, 0, 0, 0, 0, True);
    XFlush(host->display());
    EXPECT_TRUE(host->runUntil([&] { return same(pixel(child, 150, 80), kBack); })) << "redrawn on expose";

    // A click in the middle of the slider (synthetic events must be accepted).
    host->sendClick(60, 20);
    ASSERT_TRUE(host->runUntil([&] { return !slider->isEditing() && !listener.values.empty(); }));
    EXPECT_NEAR(slider->getValue(), 0.505f, 1e-4);
    EXPECT_EQ(log.entries, (std::vector<std::string>{"begin 5", "host-begin 5", "changed 5", "host-end 5", "end 5"}));
    EXPECT_TRUE(host->runUntil([&] { return same(pixel(child, 30, 20), kValueBar); })) << "value bar repainted";

    // Removal: every registration is gone and the child window destroyed.
    frame->close();
    frame = nullptr;
    EXPECT_EQ(host->handlerCount(), 0u);
    EXPECT_EQ(host->timerCount(), 0u);
    EXPECT_EQ(runLoop->activeRegistrations(), 0u);
    XSync(host->display(), False);
    EXPECT_EQ(host->pluginWindow(), 0u);
}

TEST_F(X11WindowTest, DragAndKitTimersRunOnTheHostLoop)
{
    ASSERT_TRUE(openEmbedded());
    int ticks = 0;
    auto* timer = new CVSTGUITimer([&](CVSTGUITimer*) { ++ticks; }, 20, true);
    Window child = 0;
    ASSERT_TRUE(host->runUntil([&] { return isViewable(child = host->pluginWindow()); }));
    host->sendButton(true, 20, 20);
    host->sendMotion(400, 20, true); // outside the window while held
    host->sendButton(false, 400, 20);
    ASSERT_TRUE(host->runUntil([&] { return !slider->isEditing() && slider->getValue() == 1.f; }));
    EXPECT_TRUE(host->runUntil([&] { return ticks >= 2; })) << "kit timers fire from the host's run loop";
    timer->forget();
}

TEST_F(X11WindowTest, ParentDestroyedBeforeRemoval)
{
    ASSERT_TRUE(openEmbedded());
    ASSERT_TRUE(host->runUntil([&] { return isViewable(host->pluginWindow()); }));
    host->destroyWindow();
    host->runFor(std::chrono::milliseconds(50));
    frame->close(); // destroying our already destroyed window must not end the process
    frame = nullptr;
    EXPECT_EQ(host->handlerCount(), 0u);
}

TEST_F(X11WindowTest, LostXConnectionIsSurvived)
{
    ASSERT_TRUE(openEmbedded());
    ASSERT_TRUE(host->runUntil([&] { return isViewable(host->pluginWindow()); }));
    const int fd = host->lastRegisteredDescriptor();
    ASSERT_GE(fd, 0);
    ::shutdown(fd, SHUT_RDWR);
    host->runFor(std::chrono::milliseconds(100));
    EXPECT_EQ(host->handlerCount(), 0u) << "a dead connection stops watching its descriptor";
    slider->setValue(0.3f);
    frame->idle(); // repaint requests go nowhere, quietly
    host->runFor(std::chrono::milliseconds(50));
    frame->close();
    frame = nullptr;
    EXPECT_EQ(host->timerCount(), 0u);
}

// Closes the whole frame from inside the click it is handling.
class ClosingListener : public IControlListener {
public:
    void valueChanged(CControl* control) override
    {
        if (CFrame* f = control->getFrame()) f->close();
        closed = true;
    }
    bool closed = false;
};

TEST_F(X11WindowTest, FrameClosedFromInsideItsOwnEvent)
{
    ClosingListener closer;
    slider->setListener(&closer);
    ASSERT_TRUE(openEmbedded());
    Window child = 0;
    ASSERT_TRUE(host->runUntil([&] { return isViewable(child = host->pluginWindow()); }));
    host->sendClick(60, 20);
    host->sendMotion(70, 20, false);
    ASSERT_TRUE(host->runUntil([&] { return closer.closed; }));
    frame = nullptr;
    host->runFor(std::chrono::milliseconds(50));
    EXPECT_EQ(host->handlerCount(), 0u);
    EXPECT_EQ(host->timerCount(), 0u);
    EXPECT_EQ(runLoop->activeRegistrations(), 0u);
    XSync(host->display(), False);
    EXPECT_EQ(host->pluginWindow(), 0u);
}

TEST_F(X11WindowTest, UnknownParentFailsCleanly)
{
    X11FrameConfig config{runLoop.get()};
    // A window id that does not exist: creation fails or the window is useless, never a crash.
    const bool opened =
        frame->open(reinterpret_cast<void*>(uintptr_t{0x7ffffff}), PlatformType::kX11EmbedWindowID, &config);
    host->runFor(std::chrono::milliseconds(30));
    frame->close();
    frame = nullptr;
    EXPECT_EQ(host->handlerCount(), 0u);
    (void)opened;
}

} // namespace
} // namespace viewkit::test
