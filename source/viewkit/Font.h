#pragma once
#include "viewkit/BaseObject.h"
#include <string>

namespace viewkit {

enum CTxtFace : int32_t { kNormalFace = 0, kBoldFace = 1, kItalicFace = 2 };

// A font by family name and pixel size; fontconfig picks the installed face
// (Arial is served by Liberation Sans on our platform).
class CFontDesc : public CBaseObject {
public:
    CFontDesc(std::string name = "Arial", double size = 12, int32_t style = kNormalFace)
        : fontName(std::move(name)), fontSize(size), fontStyle(style)
    {}
    const std::string& getName() const { return fontName; }
    double getSize() const { return fontSize; }
    int32_t getStyle() const { return fontStyle; }
    void setSize(double s) { fontSize = s; }
    void setStyle(int32_t s) { fontStyle = s; }

private:
    std::string fontName;
    double fontSize;
    int32_t fontStyle;
};
using CFontRef = CFontDesc*;

// Process-wide default fonts (Arial 12); released when the module unloads.
extern const CFontRef kNormalFont;
extern const CFontRef kSystemFont;

} // namespace viewkit
