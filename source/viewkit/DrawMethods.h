#pragma once
#include "viewkit/Color.h"
#include "viewkit/Enums.h"
#include "viewkit/Font.h"
#include "viewkit/Geometry.h"
#include <string_view>

namespace viewkit {

class CBitmap;
class CDrawContext;

namespace CDrawMethods {

enum IconPosition { kIconLeft = 0, kIconCenterAbove, kIconCenterBelow, kIconRight };

// Draws an optional icon and a title into `rect` the way text buttons do:
// the icon beside (or above / below) the title, the title aligned within what is left.
void drawIconAndText(CDrawContext* context, CBitmap* icon, IconPosition iconPosition, CHoriTxtAlign textAlignment,
                     CCoord textMargin, const CRect& rect, std::string_view title, CFontRef font,
                     const CColor& textColor);

} // namespace CDrawMethods

// Width of `text` in `font` without a draw context (e.g. to size a view to its title).
CCoord measureStringWidth(CFontRef font, std::string_view text);

} // namespace viewkit
