#pragma once

namespace viewkit {

// The scale the desktop asks of windows when the host says nothing: GDK_SCALE
// (whole factors, set by GTK desktops) or else the X resource Xft.dpi over 96.
// 1 when neither is set or the display cannot be reached; kept within the
// factors a frame accepts.
double desktopScaleFactor();

// The same from given values, for callers that have them (null when unset).
double desktopScaleFactor(const char* gdkScale, const char* xResources);

} // namespace viewkit
