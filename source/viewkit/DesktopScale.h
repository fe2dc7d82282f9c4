#pragma once

namespace viewkit {

// The scale the desktop asks of windows when the host says nothing. On X11:
// GDK_SCALE (whole factors, set by GTK desktops) or else the X resource Xft.dpi
// over 96, 1 when neither is set or the display cannot be reached. On Windows:
// the screen's logical DPI over 96. Kept within the factors a frame accepts.
double desktopScaleFactor();

// The same from given values, for callers that have them (null when unset).
double desktopScaleFactor(const char* gdkScale, const char* xResources);

// A GDK_SCALE text as GTK takes it: whole factors of 1 or more; 0 when unusable.
double wholeGdkScale(const char* text);

} // namespace viewkit
