#pragma once

#include <cairo.h>

#include "params/ParameterTable.h"

namespace vexbit::art {

// Which Shuffler page the background shows through: the detailed page is transparent, so
// the window's background names its ten note rates; the simple page has a bitmap of its own.
enum class ShufflerPageArt { NoteRates, SimpleMode };

// The whole window's artwork at background size; controller numbers come from the table.
void drawBackground(cairo_t* cr, ShufflerPageArt page, const ParameterTable& parameters);

// One knob frame of the strip, 0 = minimum; the knob is drawn at the origin.
void drawKnobFrame(cairo_t* cr, int frame, int frameCount);

// Rocker frames: 0 = upper half pressed, 1 = at rest, 2 = lower half pressed.
void drawRockerFrame(cairo_t* cr, int frame);

} // namespace vexbit::art
