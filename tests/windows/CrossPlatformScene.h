#pragma once

// One scene played through the Linux and through the Windows bundle: the same
// settings, notes and tempo with AutoPlay off, and the same input. The two
// builds leave their states and renderings in a folder both can read.

#include "e2e/BundleSession.h"

#include "common/ParameterIds.h"

#include "public.sdk/source/common/memorystream.h"

#include <cmath>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace vexbit::crossplatform {

using Bytes = std::vector<char>;

inline constexpr int32_t kBlockSize = 256;
inline constexpr int64_t kLength = 2 * 44100;

inline e2e::Script scene()
{
    using e2e::normalizedOf;
    e2e::Script s;
    s.length = kLength;
    s.transport.tempo = 126.0;
    s.changes = {{0, kAutoPlayId, 0.0},
                 {0, kDelayTimeId, normalizedOf(kDelayTimeId, 120.0)},
                 {0, kDelayFeedbackId, normalizedOf(kDelayFeedbackId, 0.6)},
                 {0, kLowPassFreqId, normalizedOf(kLowPassFreqId, 1500.0)},
                 {30000, kGatorSpeedId, normalizedOf(kGatorSpeedId, 12.0)}};
    // Every effect by its trigger note but the two whose random state is drawn
    // when the instance is made, from a generator seeded with the clock's
    // second (the Granular part of Delay stays dry, Shuffler stays off).
    s.notes = {{4410, 48},  {30000, 48, false}, {12000, 50}, {22000, 50, false}, {20000, 52}, {50000, 52, false},
               {36000, 53}, {46000, 53, false}, {44100, 57}, {60000, 57, false}, {60000, 59}, {80000, 59, false},
               {70000, 60}, {86000, 60, false}};
    return s;
}

// A tone with reproducible noise on it (our own generator, so both builds
// compute the same samples).
inline std::vector<float> input()
{
    std::vector<float> v(static_cast<std::size_t>(kLength));
    uint32_t state = 12345;
    for (std::size_t i = 0; i < v.size(); ++i) {
        state = state * 1664525u + 1013904223u;
        const float noise = static_cast<float>(state >> 8) / 16777216.0f - 0.5f;
        v[i] = 0.4f * static_cast<float>(std::sin(2.0 * 3.141592653589793 * 220.0 * static_cast<double>(i) / 44100.0)) +
               0.1f * noise;
    }
    return v;
}

inline Bytes readFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), {});
}

inline bool writeFile(const std::string& path, const Bytes& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(out);
}

// Both channels interleaved, as raw little-endian floats.
inline Bytes samplesOf(const e2e::Rendering& r)
{
    Bytes bytes(r.left.size() * 2 * sizeof(float));
    for (std::size_t i = 0; i < r.left.size(); ++i) {
        std::memcpy(&bytes[(2 * i) * sizeof(float)], &r.left[i], sizeof(float));
        std::memcpy(&bytes[(2 * i + 1) * sizeof(float)], &r.right[i], sizeof(float));
    }
    return bytes;
}

inline std::vector<float> floatsOf(const Bytes& bytes)
{
    std::vector<float> v(bytes.size() / sizeof(float));
    if (!v.empty()) std::memcpy(v.data(), bytes.data(), v.size() * sizeof(float));
    return v;
}

inline Bytes stateOf(Steinberg::Vst::IComponent* component)
{
    Steinberg::MemoryStream stream;
    if (component->getState(&stream) != Steinberg::kResultOk) return {};
    return Bytes(stream.getData(), stream.getData() + stream.getSize());
}

inline Steinberg::tresult restore(Steinberg::Vst::IComponent* component, const Bytes& bytes)
{
    Steinberg::MemoryStream stream;
    stream.write(const_cast<char*>(bytes.data()), static_cast<Steinberg::int32>(bytes.size()), nullptr);
    stream.seek(0, Steinberg::IBStream::kIBSeekSet, nullptr);
    return component->setState(&stream);
}

} // namespace vexbit::crossplatform
