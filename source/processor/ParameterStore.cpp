#include "processor/ParameterStore.h"

#include <algorithm>

namespace vexbit {

void ParameterStore::assign(const ParameterTable& table)
{
    entries_.clear();
    entries_.reserve(table.size());
    // The table iterates in ascending ID order, so the array comes out sorted.
    for (const auto& [id, record] : table) entries_.push_back(Entry{id, SharedValue(record.defaultValue), record});
}

std::size_t ParameterStore::indexOf(ParamID id) const
{
    const auto it = std::lower_bound(entries_.begin(), entries_.end(), id,
                                     [](const Entry& e, ParamID wanted) { return e.id < wanted; });
    if (it == entries_.end() || it->id != id) return npos;
    return static_cast<std::size_t>(it - entries_.begin());
}

const ParamRecord* ParameterStore::findRecord(ParamID id) const
{
    const std::size_t i = indexOf(id);
    return i == npos ? nullptr : &entries_[i].record;
}

ParamRecord* ParameterStore::findRecord(ParamID id)
{
    const std::size_t i = indexOf(id);
    return i == npos ? nullptr : &entries_[i].record;
}

void ChangedParameters::reset(std::size_t slotCount)
{
    ids_.clear();
    ids_.reserve(slotCount);
    slots_.clear();
    slots_.reserve(slotCount);
    marked_.assign(slotCount, false);
}

void ChangedParameters::mark(std::size_t slot, ParamID id)
{
    if (slot >= marked_.size() || marked_[slot]) return;
    marked_[slot] = true;
    ids_.push_back(id);
    slots_.push_back(slot);
}

void ChangedParameters::clear()
{
    for (std::size_t slot : slots_) marked_[slot] = false;
    ids_.clear();
    slots_.clear();
}

} // namespace vexbit
