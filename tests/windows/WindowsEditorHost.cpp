#include "windows/WindowsEditorHost.h"

#include <thread>

namespace vexbit::test {

namespace {

constexpr wchar_t kHostClass[] = L"VexbitTestHostWindow";

LRESULT CALLBACK hostProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    return DefWindowProcW(window, message, wParam, lParam);
}

void registerHostClass()
{
    static const bool registered = [] {
        WNDCLASSEXW wc{};
        wc.cbSize = sizeof(wc);
        wc.lpfnWndProc = hostProc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH));
        wc.lpszClassName = kHostClass;
        return RegisterClassExW(&wc) != 0;
    }();
    (void)registered;
}

LPARAM at(int x, int y)
{
    return MAKELPARAM(static_cast<WORD>(x), static_cast<WORD>(y));
}

} // namespace

WindowsEditorHost::WindowsEditorHost()
{
    registerHostClass();
    topLevel = CreateWindowExW(0, kHostClass, L"Vexbit Glitch", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 0, 0, 1300,
                               760, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    if (!topLevel) return;
    ShowWindow(topLevel, SW_SHOW);
    // The window's activation arrives as messages of its own; settled before a
    // view is attached, it cannot take the keyboard focus from the view later.
    SetForegroundWindow(topLevel);
    SetFocus(topLevel);
    runUntil([&] { return GetActiveWindow() == topLevel && GetFocus() == topLevel; }, std::chrono::milliseconds(2000));
    runFor(std::chrono::milliseconds(50));
}

WindowsEditorHost::~WindowsEditorHost()
{
    remove();
    if (topLevel) DestroyWindow(topLevel);
    runFor(std::chrono::milliseconds(0));
}

bool WindowsEditorHost::attach(Steinberg::Vst::IEditController* controller)
{
    if (!topLevel || plugView) return false;
    plugView = controller->createView("editor");
    if (!plugView) return false;
    if (plugView->isPlatformTypeSupported(Steinberg::kPlatformTypeHWND) != Steinberg::kResultTrue ||
        plugView->attached(topLevel, Steinberg::kPlatformTypeHWND) != Steinberg::kResultOk) {
        plugView->release();
        plugView = nullptr;
        return false;
    }
    return true;
}

void WindowsEditorHost::remove()
{
    if (!plugView) return;
    plugView->removed();
    plugView->release();
    plugView = nullptr;
}

void WindowsEditorHost::runFor(std::chrono::milliseconds time)
{
    runUntil([] { return false; }, time);
}

bool WindowsEditorHost::runUntil(const std::function<bool()>& done, std::chrono::milliseconds limit)
{
    const auto end = std::chrono::steady_clock::now() + limit;
    for (;;) {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        if (done()) return true;
        if (std::chrono::steady_clock::now() >= end) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
}

void WindowsEditorHost::post(UINT message, WPARAM wParam, int x, int y)
{
    if (HWND target = viewWindow()) PostMessageW(target, message, wParam, at(x, y));
    runFor(std::chrono::milliseconds(20));
}

void WindowsEditorHost::press(int x, int y)
{
    post(WM_LBUTTONDOWN, MK_LBUTTON, x, y);
}

void WindowsEditorHost::moveHeld(int x, int y)
{
    post(WM_MOUSEMOVE, MK_LBUTTON, x, y);
}

void WindowsEditorHost::release(int x, int y)
{
    post(WM_LBUTTONUP, 0, x, y);
}

void WindowsEditorHost::click(int x, int y)
{
    press(x, y);
    release(x, y);
}

std::vector<uint32_t> WindowsEditorHost::capture(int& width, int& height) const
{
    width = height = 0;
    HWND source = viewWindow();
    RECT r;
    if (!source || !GetClientRect(source, &r)) return {};
    width = r.right - r.left;
    height = r.bottom - r.top;
    std::vector<uint32_t> pixels(static_cast<size_t>(width) * static_cast<size_t>(height));
    HDC windowDc = GetDC(source);
    HDC memoryDc = CreateCompatibleDC(windowDc);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(windowDc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    bool ok = false;
    if (bitmap && bits) {
        HGDIOBJ old = SelectObject(memoryDc, bitmap);
        ok = BitBlt(memoryDc, 0, 0, width, height, windowDc, 0, 0, SRCCOPY) != 0;
        GdiFlush();
        const auto* p = static_cast<const uint32_t*>(bits);
        for (size_t i = 0; i < pixels.size(); ++i) pixels[i] = p[i] & 0xFFFFFF;
        SelectObject(memoryDc, old);
    }
    if (bitmap) DeleteObject(bitmap);
    DeleteDC(memoryDc);
    ReleaseDC(source, windowDc);
    if (!ok) pixels.clear();
    return pixels;
}

} // namespace vexbit::test
