#include "EditorGeometry.h"

namespace vexbit {

FrameRect stepperTextRect(const LayoutStep& stepper)
{
    return {stepper.x, stepper.y, stepper.w - 25, kRowHeight};
}

FrameRect stepperRockerRect(const LayoutStep& stepper)
{
    return {stepper.x + stepper.w - kRockerSize, stepper.y, kRockerSize, kRockerSize};
}

int midiControllerOf(int32_t tag)
{
    struct Mapping {
        int32_t tag;
        int controller;
    };
    static constexpr Mapping kMappings[] = {
        {202, 1},   {203, 2},   {204, 3},   {205, 4},   {206, 5},   {207, 6},   {302, 11},
        {303, 12},  {402, 21},  {403, 22},  {404, 23},  {405, 24},  {502, 31},  {503, 32},
        {602, 51},  {603, 52},  {611, 41},  {612, 42},  {613, 43},  {614, 44},  {615, 45},
        {616, 46},  {617, 47},  {618, 48},  {619, 49},  {620, 50},  {702, 61},  {703, 62},
        {704, 63},  {802, 71},  {902, 81},
    };
    for (const auto& m : kMappings)
        if (m.tag == tag)
            return m.controller;
    return -1;
}

} // namespace vexbit
