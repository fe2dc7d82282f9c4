#pragma once

#include "engine/GlitchEngine.h"
#include "engine/MapEngineHost.h"
#include "product/PluginParameterTable.h"
#include "params/ParamConversion.h"
#include "params/ParameterTable.h"

#include <cstdint>
#include <map>
#include <utility>
#include <vector>

namespace vexbit::test {

// A MapEngineHost that also behaves like the processor where the engine's own
// changes are concerned: setParameterNormalized stores, applies and marks, and
// the MIDI echoes are recorded. Normalized values convert through the plug-in's
// own table, as the processor converts them.
class EchoRecordingHost : public MapEngineHost {
public:
    struct Echo {
        enum class Kind { NoteOn, NoteOff, Controller };
        Kind kind;
        int32_t number; // pitch or controller number
        int32_t value;  // controller value; 0 for notes
        int32_t offset;
        bool operator==(const Echo&) const = default;
    };

    static Echo noteOn(int32_t pitch) { return {Echo::Kind::NoteOn, pitch, 0, 0}; }
    static Echo noteOff(int32_t pitch) { return {Echo::Kind::NoteOff, pitch, 0, 0}; }
    static Echo controller(int32_t number, int32_t value, int32_t offset = 0)
    {
        return {Echo::Kind::Controller, number, value, offset};
    }

    EchoRecordingHost() { buildPluginParameterTable(table); }

    double toPlain(uint32_t id, double normalized) const
    {
        const ParamRecord* record = table.find(id);
        return record == nullptr ? normalized : vexbit::toPlain(normalized, *record);
    }

    void setParameterNormalized(uint32_t id, double normalized) override
    {
        normalizedSets.emplace_back(id, normalized);
        storeParameterValue(id, toPlain(id, normalized));
        if (engine != nullptr) engine->applyParameter(id, getParameterValue(id));
        markParameterChanged(id);
    }
    double getParameterNormalized(uint32_t id) const override
    {
        const double plain = getParameterValue(id);
        const ParamRecord* record = table.find(id);
        return record == nullptr ? plain : toNormalized(plain, *record);
    }
    void queueNoteOnOut(int16_t pitch, float velocity) override
    {
        noteVelocities.push_back(velocity);
        echoes.push_back(noteOn(pitch));
    }
    void queueNoteOffOut(int16_t pitch, float velocity) override
    {
        noteVelocities.push_back(velocity);
        echoes.push_back(noteOff(pitch));
    }
    void queueControllerOut(int32_t sampleOffset, uint8_t number, int32_t value) override
    {
        echoes.push_back(controller(number, value, sampleOffset));
    }

    // Stores the value and applies it, as the processor does for a host change.
    void set(uint32_t id, double plain)
    {
        storeParameterValue(id, plain);
        engine->applyParameter(id, plain);
    }
    void clearRecords()
    {
        echoes.clear();
        noteVelocities.clear();
        changed.clear();
        normalizedSets.clear();
    }

    GlitchEngine* engine = nullptr;
    ParameterTable table;
    std::vector<Echo> echoes;
    std::vector<float> noteVelocities;
    std::vector<std::pair<uint32_t, double>> normalizedSets;
};

// The scheduling parameters at their defaults, applied in table order: AutoPlay
// off, Max Concurrency 2, the effect picker at 800 and eight times 50, every
// length picker on the "1/4 Note" row.
inline void applySchedulingDefaults(EchoRecordingHost& host)
{
    host.set(1, 0.0);
    host.set(2, 2.0);
    host.set(3, 800.0);
    for (uint32_t slot = 0; slot < 8; ++slot) {
        host.set(100 + 10 * slot, 1.0);
        host.set(101 + 10 * slot, 50.0);
        host.set(102 + 10 * slot, 2.0);
    }
}

} // namespace vexbit::test
