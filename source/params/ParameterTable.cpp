#include "params/ParameterTable.h"

#include <utility>

namespace vexbit {

namespace {

ParamRecord makeRecord(std::string name, ParamKind kind, double min, double max, double defaultValue,
                       int32_t midiController)
{
    ParamRecord r;
    r.name = std::move(name);
    r.kind = kind;
    r.min = min;
    r.max = max;
    r.defaultValue = defaultValue;
    r.midiController = midiController;
    r.skewExponent = skewExponentFor(kDefaultSkewMidFraction);
    return r;
}

} // namespace

void ParameterTable::add(ParamID id, ParamRecord record)
{
    normaliseRecord(record);
    records_.insert_or_assign(id, std::move(record));
}

void ParameterTable::addLinear(ParamID id, std::string name, double min, double max, double defaultValue,
                               int32_t midiController)
{
    add(id, makeRecord(std::move(name), ParamKind::Linear, min, max, defaultValue, midiController));
}

void ParameterTable::addInteger(ParamID id, std::string name, int32_t min, int32_t max, int32_t defaultValue,
                                int32_t midiController)
{
    add(id, makeRecord(std::move(name), ParamKind::Integer, min, max, defaultValue, midiController));
}

void ParameterTable::addSkewed(ParamID id, std::string name, double min, double max, double defaultValue,
                               double midFraction, int32_t midiController)
{
    ParamRecord r = makeRecord(std::move(name), ParamKind::Skewed, min, max, defaultValue, midiController);
    r.skewExponent = skewExponentFor(midFraction);
    add(id, std::move(r));
}

void ParameterTable::addSwitch(ParamID id, std::string name, bool defaultOn, int32_t midiController, bool saved)
{
    ParamRecord r = makeRecord(std::move(name), ParamKind::List, 0.0, 1.0, defaultOn ? 1.0 : 0.0, midiController);
    r.list = {"Off", "On"};
    r.flags = saved ? 0u : static_cast<uint32_t>(kTransient);
    add(id, std::move(r));
}

void ParameterTable::addList(ParamID id, std::string name, std::vector<std::string> entries, double defaultIndex,
                             int32_t midiController)
{
    ParamRecord r = makeRecord(std::move(name), ParamKind::List, 0.0, 0.0, defaultIndex, midiController);
    r.list = std::move(entries);
    add(id, std::move(r));
}

const ParamRecord* ParameterTable::find(ParamID id) const
{
    auto it = records_.find(id);
    return it == records_.end() ? nullptr : &it->second;
}

} // namespace vexbit
