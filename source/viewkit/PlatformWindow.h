#pragma once
#include "viewkit/Frame.h"

namespace viewkit {

// The window system the kit is built for: each platform's frame file defines
// these (X11Frame.cpp on Linux, Win32Frame.cpp on Windows).

// A child window of `parent` (an X11 window id or an HWND) showing `frame`;
// null when it cannot be created. X11 needs the host's run loop in `config`.
std::unique_ptr<IPlatformFrame, PlatformDeleter> createPlatformFrame(CFrame* frame, void* parent,
                                                                     const X11FrameConfig* config);

// What the platform keeps for the whole module (a window class, private
// fonts); the module calls it as it is unloaded. Windows still open keep theirs.
void releasePlatformResources();

// The face drawn for a family name: where the platform cannot substitute
// fonts itself, the kit's own face stands in for the common sans families.
const char* platformFontFamily(const char* family);

} // namespace viewkit
