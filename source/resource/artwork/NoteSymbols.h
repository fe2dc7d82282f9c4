#pragma once

#include <cairo.h>

#include "editor/layout/EditorColours.h"

namespace vexbit::art {

// A note value as printed in a score: flags on the stem (3 = 1/32 .. 0 = 1/4), a hollow head
// for the half note, and up to two augmentation dots.
struct NoteValue {
    int flags;
    bool hollow;
    int dots;
};

// Draws the note in a box about 18 x 20 pixels whose left edge is x and vertical middle centreY.
void drawNoteSymbol(cairo_t* cr, double x, double centreY, NoteValue note, Rgba colour);

} // namespace vexbit::art
