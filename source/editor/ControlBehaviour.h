#pragma once

#include <cstdint>

namespace vexbit {

// Extra meaning attached to a control's changes.
struct ControlBehaviour {
    enum Kind : int32_t {
        TextEdit = 1,   // typed text: the parameter parses it
        SnapToggle = 2, // switches whole-number snapping of `tag`
        Step = 3,       // a rocker that moves `tag` by `step` per press
        // Kinds from here on are handed to the concrete editor.
        Custom = 7,
    };

    int32_t kind;
    int32_t tag;
    double step; // normalized
};

} // namespace vexbit
