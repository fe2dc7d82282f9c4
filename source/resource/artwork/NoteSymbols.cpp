#include "resource/artwork/NoteSymbols.h"

#include <cmath>

#include "resource/artwork/Paint.h"

namespace vexbit::art {

void drawNoteSymbol(cairo_t* cr, double x, double centreY, NoteValue note, Rgba colour)
{
    cairo_save(cr);
    setColour(cr, colour);
    const double headX = x + 4.5;
    const double headY = centreY + 5.5;
    const double stemX = headX + 3.1;
    const double stemTop = centreY - 8.5;

    // Tilted oval head.
    cairo_save(cr);
    cairo_translate(cr, headX, headY);
    cairo_rotate(cr, -0.35);
    cairo_scale(cr, 3.6, 2.6);
    cairo_arc(cr, 0, 0, 1, 0, 2 * M_PI);
    cairo_restore(cr);
    if (note.hollow) {
        cairo_set_line_width(cr, 1.3);
        cairo_stroke(cr);
    } else {
        cairo_fill(cr);
    }

    cairo_set_line_width(cr, 1.2);
    cairo_move_to(cr, stemX, headY - 0.8);
    cairo_line_to(cr, stemX, stemTop);
    cairo_stroke(cr);

    // Flags curve away from the stem, one above the other.
    for (int i = 0; i < note.flags; ++i) {
        const double y = stemTop + 3.2 * i;
        cairo_move_to(cr, stemX, y);
        cairo_curve_to(cr, stemX + 1.5, y + 2.5, stemX + 5.5, y + 3.0, stemX + 4.5, y + 7.0);
        cairo_curve_to(cr, stemX + 4.2, y + 4.5, stemX + 2.0, y + 3.6, stemX, y + 2.6);
        cairo_close_path(cr);
        cairo_fill(cr);
    }

    for (int i = 0; i < note.dots; ++i) {
        cairo_arc(cr, headX + 7.5 + 3.5 * i, headY - 0.5, 1.2, 0, 2 * M_PI);
        cairo_fill(cr);
    }
    cairo_restore(cr);
}

} // namespace vexbit::art
