#pragma once

namespace viewkit {

// The kit's own sans face (Liberation Sans, the face Linux draws for Arial),
// carried in the module as the RCDATA resource "VEXBIT_SANS_FONT" and made
// visible to this process only, so both platforms draw the same letters.
// Loading again is free; a module without the resource draws with the
// system's faces.
void loadPrivateFonts();
void releasePrivateFonts();

} // namespace viewkit
