#pragma once

#include "engine/EngineHost.h"

#include <map>
#include <vector>

namespace vexbit::test {

// A plain parameter store for driving the engine without a processor: values
// live in a map, echoes and changes are recorded for inspection.
class MapEngineHost : public EngineHost {
public:
    double getParameterValue(uint32_t id) const override
    {
        const auto it = values.find(id);
        return it == values.end() ? 0.0 : it->second;
    }
    double getParameterNormalized(uint32_t id) const override { return getParameterValue(id); }
    void storeParameterValue(uint32_t id, double plain) override { values[id] = plain; }
    void setParameterNormalized(uint32_t id, double normalized) override { values[id] = normalized; }
    void markParameterChanged(uint32_t id) override { changed.push_back(id); }
    void queueNoteOnOut(int16_t, float) override {}
    void queueNoteOffOut(int16_t, float) override {}
    void queueControllerOut(int32_t, uint8_t, int32_t) override {}
    double getTempo() const override { return tempo; }
    double getSampleRate() const override { return sampleRate; }

    std::map<uint32_t, double> values;
    std::vector<uint32_t> changed;
    double tempo = 120.0;
    double sampleRate = 44100.0;
};

} // namespace vexbit::test
