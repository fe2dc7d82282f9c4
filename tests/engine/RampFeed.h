#pragma once

#include <gtest/gtest.h>

#include <vector>

namespace vexbit {

// Feeds the ramp t, t+1, ... (left) and its negation (right) through a unit that
// processes stereo pairs; checks the channels stay mirrored and returns the left output.
template <class Unit>
std::vector<float> feedRamp(Unit& u, int& t, int samples)
{
    std::vector<float> out;
    for (int i = 0; i < samples; ++i, ++t) {
        float l = static_cast<float>(t), r = -static_cast<float>(t);
        u.process(l, r);
        EXPECT_EQ(r, -l) << t;
        out.push_back(l);
    }
    return out;
}

} // namespace vexbit
