#include "viewkit/Font.h"

namespace viewkit {

namespace {
// Owns one reference to a default font for the module's lifetime, so unloading
// the module (hosts load and unload plug-ins many times) frees it.
struct DefaultFont {
    CFontRef font = new CFontDesc("Arial", 12);
    ~DefaultFont() { font->forget(); }
};
DefaultFont normalFont;
DefaultFont systemFont;
} // namespace

const CFontRef kNormalFont = normalFont.font;
const CFontRef kSystemFont = systemFont.font;

} // namespace viewkit
