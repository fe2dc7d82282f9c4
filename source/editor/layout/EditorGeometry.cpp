#include "editor/layout/EditorGeometry.h"

namespace vexbit {

FrameRect stepperTextRect(const LayoutStep& stepper)
{
    return {stepper.x, stepper.y, stepper.w - 25, kRowHeight};
}

FrameRect stepperRockerRect(const LayoutStep& stepper)
{
    return {stepper.x + stepper.w - kRockerSize, stepper.y, kRockerSize, kRockerSize};
}

} // namespace vexbit
