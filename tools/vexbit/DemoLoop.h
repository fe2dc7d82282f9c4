#pragma once

#include "host/AudioFile.h"

namespace vexbit::cli {

// A short drum loop made from scratch (kick, snare, hats and a bass line in A
// minor) so the tool can show what the plug-in does without any input file.
// The same every time: the noise comes from a fixed seed. Peaks at -1 dBFS.
host::AudioBuffer synthesiseDemoLoop(double sampleRate, double bpm, int bars);

} // namespace vexbit::cli
