#pragma once

// The host's side of parameter edits and restarts, written down in order.

#include "base/source/fobject.h"
#include "pluginterfaces/vst/ivsteditcontroller.h"

#include <string>
#include <vector>

namespace vexbit::test {

class RecordingHandler : public Steinberg::FObject, public Steinberg::Vst::IComponentHandler {
public:
    struct Call {
        std::string what; // "begin", "perform", "end"
        Steinberg::Vst::ParamID id;
        double value;
    };

    Steinberg::tresult PLUGIN_API beginEdit(Steinberg::Vst::ParamID id) override { return record("begin", id, 0.0); }
    Steinberg::tresult PLUGIN_API performEdit(Steinberg::Vst::ParamID id, Steinberg::Vst::ParamValue v) override
    {
        return record("perform", id, v);
    }
    Steinberg::tresult PLUGIN_API endEdit(Steinberg::Vst::ParamID id) override { return record("end", id, 0.0); }
    Steinberg::tresult PLUGIN_API restartComponent(Steinberg::int32 flags) override
    {
        restarts.push_back(flags);
        return Steinberg::kResultOk;
    }

    // The values performed for id, in order.
    std::vector<double> performed(Steinberg::Vst::ParamID id) const
    {
        std::vector<double> values;
        for (const Call& c : calls)
            if (c.what == "perform" && c.id == id) values.push_back(c.value);
        return values;
    }

    // How many calls of a kind ("begin", "perform", "end") were made for id.
    size_t count(const std::string& what, Steinberg::Vst::ParamID id) const
    {
        size_t n = 0;
        for (const Call& c : calls) n += c.what == what && c.id == id;
        return n;
    }

    std::vector<Call> calls;
    std::vector<Steinberg::int32> restarts;

    OBJ_METHODS(RecordingHandler, FObject)
    DEFINE_INTERFACES
    DEF_INTERFACE(Steinberg::Vst::IComponentHandler)
    END_DEFINE_INTERFACES(FObject)
    REFCOUNT_METHODS(FObject)

private:
    Steinberg::tresult record(const char* what, Steinberg::Vst::ParamID id, double value)
    {
        calls.push_back({what, id, value});
        return Steinberg::kResultOk;
    }
};

} // namespace vexbit::test
