#pragma once

#include "params/ParamRecord.h"

#include <cstddef>
#include <map>
#include <string>
#include <vector>

namespace vexbit {

// Ordered map from parameter ID to its record; iteration is in ascending ID
// order. Registering an ID that exists replaces its record.
class ParameterTable {
public:
    using Map = std::map<ParamID, ParamRecord>;

    void addLinear(ParamID id, std::string name, double min, double max, double defaultValue, int32_t midiController);
    void addInteger(ParamID id, std::string name, int32_t min, int32_t max, int32_t defaultValue,
                    int32_t midiController);
    void addSkewed(ParamID id, std::string name, double min, double max, double defaultValue, double midFraction,
                   int32_t midiController);
    // A two-entry "Off"/"On" list; an unsaved switch is transient.
    void addSwitch(ParamID id, std::string name, bool defaultOn, int32_t midiController, bool saved);
    void addList(ParamID id, std::string name, std::vector<std::string> entries, double defaultIndex,
                 int32_t midiController);

    // Stores the record as given (after normalisation) under its ID.
    void add(ParamID id, ParamRecord record);

    const ParamRecord* find(ParamID id) const;
    bool contains(ParamID id) const { return records_.count(id) != 0; }
    std::size_t size() const { return records_.size(); }
    bool empty() const { return records_.empty(); }
    void clear() { records_.clear(); }

    Map::const_iterator begin() const { return records_.begin(); }
    Map::const_iterator end() const { return records_.end(); }
    const Map& records() const { return records_; }

private:
    Map records_;
};

} // namespace vexbit
