#pragma once

#include <cstdint>

namespace vexbit {

// What the controller needs from the editor it created: after a parameter's
// string list changed, the controls bound to that parameter must redraw with
// the new entries. The editor implements it; the controller never owns it.
class EditorControls {
public:
    virtual void updateControls(int32_t tag) = 0;

protected:
    ~EditorControls() = default;
};

} // namespace vexbit
