// The frame's window on Windows: a plain child window of the host's HWND. Views
// draw into a memory image, which WM_PAINT puts into the window; a 16 ms
// WM_TIMER fires the kit's timers. Input goes through the same translator as on
// X11, so clicks, drags and double clicks behave alike on both.
#include "viewkit/FrameImage.h"
#include "viewkit/PlatformWindow.h"
#include "viewkit/PuglInputTranslator.h"
#include "viewkit/Timer.h"
#include "viewkit/Win32Fonts.h"

#include <windows.h>
#include <windowsx.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cwchar>

namespace viewkit {

namespace {

constexpr UINT_PTR kPumpTimerId = 1;
constexpr UINT kPumpIntervalMs = 16;

HINSTANCE thisModule()
{
    HMODULE module = nullptr;
    GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCWSTR>(&thisModule), &module);
    return module;
}

LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// One class per loaded copy of the module: the module's address is part of the
// name, so two copies (or another plug-in built from this kit) never share a
// window procedure that may already be unloaded.
struct WindowClass {
    ATOM atom = 0;
    wchar_t name[64] = {};

    LPCWSTR ensure()
    {
        if (atom) return name;
        std::swprintf(name, sizeof(name) / sizeof(name[0]), L"VexbitGlitchFrame%p", static_cast<void*>(thisModule()));
        WNDCLASSEXW wc{};
        wc.cbSize = sizeof(wc);
        wc.lpfnWndProc = windowProc;
        wc.hInstance = thisModule();
        wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
        wc.lpszClassName = name;
        atom = RegisterClassExW(&wc);
        return atom ? name : nullptr;
    }

    void release()
    {
        // Fails while a window of the class exists; it is then kept for that window.
        if (atom && UnregisterClassW(name, thisModule())) atom = 0;
    }
};
WindowClass windowClass;

PuglMods currentModifiers()
{
    PuglMods mods = 0;
    if (GetKeyState(VK_SHIFT) < 0) mods |= PUGL_MOD_SHIFT;
    if (GetKeyState(VK_CONTROL) < 0) mods |= PUGL_MOD_CTRL;
    if (GetKeyState(VK_MENU) < 0) mods |= PUGL_MOD_ALT;
    return mods;
}

// The keys text fields act on; characters come as WM_CHAR.
uint32_t specialKey(WPARAM vk)
{
    switch (vk) {
    case VK_RETURN: return '\r';
    case VK_ESCAPE: return PUGL_KEY_ESCAPE;
    case VK_BACK: return PUGL_KEY_BACKSPACE;
    case VK_DELETE: return PUGL_KEY_DELETE;
    case VK_TAB: return '\t';
    case VK_LEFT: return PUGL_KEY_LEFT;
    case VK_RIGHT: return PUGL_KEY_RIGHT;
    case VK_UP: return PUGL_KEY_UP;
    case VK_DOWN: return PUGL_KEY_DOWN;
    case VK_HOME: return PUGL_KEY_HOME;
    case VK_END: return PUGL_KEY_END;
    default: return 0;
    }
}

class Win32PlatformFrame final : public IPlatformFrame {
public:
    explicit Win32PlatformFrame(CFrame* f) : frame(f) {}

    bool open(HWND parent)
    {
        LPCWSTR className = windowClass.ensure();
        if (!className) return false;
        loadPrivateFonts();
        const CRect r = frame->getViewSize();
        const double scale = frame->getScaleFactor();
        window = CreateWindowExW(0, className, L"", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN, 0, 0,
                                 pixels(r.getWidth() * scale), pixels(r.getHeight() * scale), parent, nullptr,
                                 thisModule(), this);
        if (!window) return false;
        return SetTimer(window, kPumpTimerId, kPumpIntervalMs, nullptr) != 0;
    }

    ~Win32PlatformFrame() override
    {
        if (window) {
            KillTimer(window, kPumpTimerId);
            // No message may reach this object any more, DestroyWindow's own included.
            SetWindowLongPtrW(window, GWLP_USERDATA, 0);
            if (GetCapture() == window) ReleaseCapture();
            DestroyWindow(window);
        }
    }

    void invalidRect(const CRect& rect) override
    {
        if (!window || !frame) return;
        const double scale = frame->getScaleFactor();
        RECT r{static_cast<LONG>(std::floor(rect.left * scale)), static_cast<LONG>(std::floor(rect.top * scale)),
               static_cast<LONG>(std::ceil(rect.right * scale)), static_cast<LONG>(std::ceil(rect.bottom * scale))};
        InvalidateRect(window, &r, FALSE);
    }

    bool setSize(const CRect& rect) override
    {
        if (!window || !frame) return false;
        const double scale = frame->getScaleFactor();
        return SetWindowPos(window, nullptr, 0, 0, pixels(rect.getWidth() * scale), pixels(rect.getHeight() * scale),
                            SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE) != 0;
    }

    void detach() override
    {
        frame = nullptr;
        if (window) KillTimer(window, kPumpTimerId);
        if (dispatchDepth > 0)
            deleteAfterDispatch = true;
        else
            delete this;
    }

    static LRESULT handleMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
    {
        if (message == WM_NCCREATE) {
            auto* created = static_cast<Win32PlatformFrame*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
            SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(created));
            created->window = hwnd;
        }
        auto* me = reinterpret_cast<Win32PlatformFrame*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
        if (!me) return DefWindowProcW(hwnd, message, wParam, lParam);
        ++me->dispatchDepth;
        LRESULT result = 0;
        if (!me->handle(message, wParam, lParam, result)) result = DefWindowProcW(hwnd, message, wParam, lParam);
        if (--me->dispatchDepth == 0 && me->deleteAfterDispatch) delete me;
        return result;
    }

private:
    static int pixels(double v) { return static_cast<int>(std::clamp(std::ceil(v), 1.0, 32767.0)); }

    // Returns false for messages left to DefWindowProc.
    bool handle(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result)
    {
        switch (message) {
        case WM_DESTROY:
            // The host destroyed its window (and ours with it) before removing the view.
            KillTimer(window, kPumpTimerId);
            SetWindowLongPtrW(window, GWLP_USERDATA, 0);
            window = nullptr;
            return false;
        case WM_ERASEBKGND: result = 1; return true;
        case WM_PAINT: paint(); return true;
        case WM_TIMER:
            if (wParam != kPumpTimerId) return false;
            CVSTGUITimer::runDueTimers();
            return true;
        case WM_GETDLGCODE:
            // Hosts' dialogs would take Tab, Return and the arrows for themselves.
            result = DLGC_WANTALLKEYS | DLGC_WANTCHARS | DLGC_WANTARROWS | DLGC_WANTTAB;
            return true;
        case WM_KILLFOCUS:
        case WM_CANCELMODE: interruptGestures(); return false;
        case WM_CAPTURECHANGED:
            // Someone else took the mouse while a button was held: its release will not come here.
            if (reinterpret_cast<HWND>(lParam) != window && !releasingCapture && input.holdsButtons())
                interruptGestures();
            return true;
        default: break;
        }
        if (!frame) return false;
        ScopedRef<CFrame> keep(frame);
        switch (message) {
        case WM_LBUTTONDOWN: button(PUGL_BUTTON_PRESS, 0, lParam); return true;
        case WM_RBUTTONDOWN: button(PUGL_BUTTON_PRESS, 1, lParam); return true;
        case WM_MBUTTONDOWN: button(PUGL_BUTTON_PRESS, 2, lParam); return true;
        case WM_LBUTTONUP: button(PUGL_BUTTON_RELEASE, 0, lParam); return true;
        case WM_RBUTTONUP: button(PUGL_BUTTON_RELEASE, 1, lParam); return true;
        case WM_MBUTTONUP: button(PUGL_BUTTON_RELEASE, 2, lParam); return true;
        case WM_MOUSEMOVE: {
            PuglEvent e{};
            e.motion.type = PUGL_MOTION;
            e.motion.time = eventTime();
            e.motion.x = GET_X_LPARAM(lParam);
            e.motion.y = GET_Y_LPARAM(lParam);
            e.motion.state = currentModifiers();
            dispatch(e);
            return true;
        }
        case WM_MOUSEWHEEL: {
            // The wheel's position is on the screen; one notch is WHEEL_DELTA.
            POINT p{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
            ScreenToClient(window, &p);
            wheelRest += GET_WHEEL_DELTA_WPARAM(wParam);
            while (std::abs(wheelRest) >= WHEEL_DELTA) {
                const bool up = wheelRest > 0;
                wheelRest += up ? -WHEEL_DELTA : WHEEL_DELTA;
                PuglEvent e{};
                e.scroll.type = PUGL_SCROLL;
                e.scroll.time = eventTime();
                e.scroll.x = p.x;
                e.scroll.y = p.y;
                e.scroll.state = currentModifiers();
                e.scroll.direction = up ? PUGL_SCROLL_UP : PUGL_SCROLL_DOWN;
                e.scroll.dy = up ? 1 : -1;
                dispatch(e);
                if (!frame) break;
            }
            return true;
        }
        case WM_KEYDOWN:
        case WM_KEYUP: {
            const uint32_t key = specialKey(wParam);
            if (!key) return false;
            PuglEvent e{};
            e.key.type = message == WM_KEYDOWN ? PUGL_KEY_PRESS : PUGL_KEY_RELEASE;
            e.key.time = eventTime();
            e.key.state = currentModifiers();
            e.key.key = key;
            dispatch(e);
            return true;
        }
        case WM_CHAR: character(static_cast<uint32_t>(wParam)); return true;
        default: return false;
        }
    }

    static double eventTime() { return GetMessageTime() / 1000.0; }

    void dispatch(const PuglEvent& e)
    {
        if (frame) input.dispatch(*frame, e, frame->getScaleFactor());
    }

    void button(PuglEventType type, uint32_t number, LPARAM lParam)
    {
        if (type == PUGL_BUTTON_PRESS) {
            // A click gives the window the keyboard focus, and the mouse stays
            // ours until the last button is up, wherever it goes meanwhile.
            if (GetFocus() != window) SetFocus(window);
            if (GetCapture() != window) SetCapture(window);
        }
        PuglEvent e{};
        e.button.type = type;
        e.button.time = eventTime();
        e.button.x = GET_X_LPARAM(lParam);
        e.button.y = GET_Y_LPARAM(lParam);
        e.button.state = currentModifiers();
        e.button.button = number;
        dispatch(e);
        if (type == PUGL_BUTTON_RELEASE && !input.holdsButtons() && window && GetCapture() == window) {
            releasingCapture = true;
            ReleaseCapture();
            releasingCapture = false;
        }
    }

    void character(uint32_t unit)
    {
        // Characters beyond the Basic Multilingual Plane come as two UTF-16 halves.
        if (unit >= 0xD800 && unit < 0xDC00) {
            highSurrogate = unit;
            return;
        }
        uint32_t code = unit;
        if (unit >= 0xDC00 && unit < 0xE000) {
            if (!highSurrogate) return;
            code = 0x10000 + ((highSurrogate - 0xD800) << 10) + (unit - 0xDC00);
        }
        highSurrogate = 0;
        PuglEvent e{};
        e.text.type = PUGL_TEXT;
        e.text.time = eventTime();
        e.text.state = currentModifiers();
        e.text.character = code;
        dispatch(e);
    }

    void interruptGestures()
    {
        input.forgetHeldButtons();
        if (!frame) return;
        ScopedRef<CFrame> keep(frame);
        frame->interruptGestures();
    }

    // Views draw into a memory image; the part to repaint is then copied into the window.
    void paint()
    {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(window, &ps);
        if (dc && frame) paintInto(dc, ps.rcPaint);
        EndPaint(window, &ps);
    }

    void paintInto(HDC dc, const RECT& rect)
    {
        FrameImage::Area area;
        if (!image.paint(*frame, rect.left, rect.top, rect.right, rect.bottom, area)) return;
        // The rows to copy as a top-down DIB of their own: cairo's RGB24 pixels
        // are the DIB's 32-bit BGRX on little-endian machines.
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof(info.bmiHeader);
        info.bmiHeader.biWidth = image.stride() / 4;
        info.bmiHeader.biHeight = -area.height;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        const unsigned char* rows = image.data() + static_cast<size_t>(area.y) * static_cast<size_t>(image.stride());
        SetDIBitsToDevice(dc, area.x, area.y, static_cast<DWORD>(area.width), static_cast<DWORD>(area.height), area.x,
                          0, 0, static_cast<UINT>(area.height), rows, &info, DIB_RGB_COLORS);
    }

    CFrame* frame;
    HWND window = nullptr;
    FrameImage image;
    int dispatchDepth = 0;
    bool deleteAfterDispatch = false;
    bool releasingCapture = false;
    int wheelRest = 0;
    uint32_t highSurrogate = 0;
    PuglInputTranslator input;
};

LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    return Win32PlatformFrame::handleMessage(window, message, wParam, lParam);
}

} // namespace

std::unique_ptr<IPlatformFrame, PlatformDeleter> createPlatformFrame(CFrame* frame, void* parent,
                                                                     const X11FrameConfig* /*config*/)
{
    if (!parent) return nullptr;
    auto* platform = new Win32PlatformFrame(frame);
    std::unique_ptr<IPlatformFrame, PlatformDeleter> owner(platform);
    if (!platform->open(static_cast<HWND>(parent))) return nullptr;
    return owner;
}

void releasePlatformResources()
{
    windowClass.release();
    releasePrivateFonts();
}

} // namespace viewkit
