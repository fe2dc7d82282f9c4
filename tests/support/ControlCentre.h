#pragma once

// Where a test clicks a control of the plug-in's editor: the centre of the bound
// control of a tag and kind, in editor units, taken from the layout itself.

#include "editor/layout/ControlLayout.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace vexbit::test {

struct Point {
    int x, y;
};

inline Point centreOf(int32_t tag, LayoutKind kind)
{
    for (const LayoutStep& step : controlLayout()) {
        if (step.tag != tag || step.kind != kind) continue;
        const FrameRect r = frameRectOf(step);
        return {r.x + r.w / 2, r.y + r.h / 2};
    }
    ADD_FAILURE() << "no control for tag " << tag;
    return {0, 0};
}

} // namespace vexbit::test
