#pragma once

namespace vexbit::test {

// Whether the GUI tests have an X display: a private Xvfb when one is
// installed (started once, made the process's DISPLAY), else $DISPLAY as it is.
bool haveDisplay();

} // namespace vexbit::test
