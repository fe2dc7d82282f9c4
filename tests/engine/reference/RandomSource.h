#pragma once

#include <cstdint>

namespace vexbit::reference {

// The one pseudo-random generator of the engine: a 32-bit linear congruential
// generator with one state per thread. A thread that never seeded starts from 1,
// so the audio thread's draws are reproducible unless it seeds itself.
class RandomSource {
public:
    static constexpr int32_t kMax = 32767;

    static void seed(uint32_t s) { state() = s; }

    // An integer from 0 to 32767.
    static int32_t next()
    {
        uint32_t& s = state();
        s = s * 214013u + 2531011u;
        return static_cast<int32_t>((s >> 16) & 0x7FFFu);
    }

    // next() reduced modulo n (n > 0); never negative. Returns 0 for n <= 0.
    static int32_t nextBelow(int32_t n) { return n > 0 ? next() % n : 0; }

private:
    static uint32_t& state();
};

} // namespace vexbit::reference
