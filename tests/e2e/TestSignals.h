#pragma once

#include <cstddef>
#include <random>
#include <vector>

namespace vexbit::e2e {

// Reproducible white noise at half scale.
inline std::vector<float> noise(std::size_t frames, unsigned seed)
{
    std::mt19937 gen(seed);
    std::uniform_real_distribution<float> dist(-0.5f, 0.5f);
    std::vector<float> v(frames);
    for (float& x : v) x = dist(gen);
    return v;
}

} // namespace vexbit::e2e
