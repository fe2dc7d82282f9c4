#pragma once

#include <cmath>

namespace vexbit {

// One channel of one second-order filter (direct form I). The coefficients are
// stored as computed, without normalisation; each sample divides by a0.
struct BiquadSection {
    float a0 = 1.0f, a1 = 0.0f, a2 = 0.0f;
    float b0 = 1.0f, b1 = 0.0f, b2 = 0.0f;
    float y1 = 0.0f, y2 = 0.0f;
    float x1 = 0.0f, x2 = 0.0f;

    float process(float x)
    {
        processBlock(&x, 1);
        return x;
    }
    // n samples in place; the same as n calls of process.
    void processBlock(float* x, int n);

    // A section at work over a stretch of samples: the quotients by a0 (the
    // same for every sample, so worked out once) and the history kept in
    // locals, so several sections can step side by side.
    struct Running {
        float c0, c1, c2, d1, d2;
        float x1, x2, y1, y2;

        explicit Running(const BiquadSection& s)
            : c0(s.b0 / s.a0), c1(s.b1 / s.a0), c2(s.b2 / s.a0), d1(s.a1 / s.a0), d2(s.a2 / s.a0), x1(s.x1),
              x2(s.x2), y1(s.y1), y2(s.y2)
        {}
        float step(float x)
        {
            const float y = c0 * x + c1 * x1 + c2 * x2 - d1 * y1 - d2 * y2;
            if (!std::isfinite(y)) {
                // An overflowing input must not leave the recursion stuck at inf or NaN.
                x1 = x2 = y1 = y2 = 0.0f;
                return 0.0f;
            }
            x2 = x1;
            x1 = x;
            y2 = y1;
            y1 = y;
            return y;
        }
        void storeHistory(BiquadSection& s) const
        {
            s.x1 = x1;
            s.x2 = x2;
            s.y1 = y1;
            s.y2 = y2;
        }
    };
    void clearHistory() { y1 = y2 = x1 = x2 = 0.0f; }

    // Audio EQ Cookbook low-pass and high-pass sections, in single precision.
    // Return false and leave the coefficients alone when the arguments cannot
    // give a usable filter (non-positive rate or Q, non-finite values). The
    // frequency is kept below half the sample rate, where the section stays stable.
    bool setLowPass(double frequency, double q, double sampleRate);
    bool setHighPass(double frequency, double q, double sampleRate);
};

} // namespace vexbit
