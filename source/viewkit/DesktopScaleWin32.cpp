#include "viewkit/DesktopScale.h"
#include "viewkit/Frame.h"

#include <windows.h>

#include <algorithm>

namespace viewkit {

double desktopScaleFactor()
{
    HDC screen = GetDC(nullptr);
    if (!screen) return 1.0;
    const int dpi = GetDeviceCaps(screen, LOGPIXELSX);
    ReleaseDC(nullptr, screen);
    return dpi > 0 ? std::clamp(dpi / 96.0, kMinScaleFactor, kMaxScaleFactor) : 1.0;
}

} // namespace viewkit
