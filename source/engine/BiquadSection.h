#pragma once

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
    void clearHistory() { y1 = y2 = x1 = x2 = 0.0f; }

    // Audio EQ Cookbook low-pass and high-pass sections, in single precision.
    // Return false and leave the coefficients alone when the arguments cannot
    // give a usable filter (non-positive rate or Q, non-finite values). The
    // frequency is kept below half the sample rate, where the section stays stable.
    bool setLowPass(double frequency, double q, double sampleRate);
    bool setHighPass(double frequency, double q, double sampleRate);
};

} // namespace vexbit
