#pragma once

#include "params/ParamRecord.h"
#include "params/ParameterTable.h"

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace vexbit {

// The processor's private copy of the parameter table together with the
// current plain value of every parameter, kept in one array sorted by ID. The
// set of IDs is fixed by assign(), so lookups and stores never allocate.
// Values are written where the engine lives (the audio thread while
// processing) and may be read from any thread, to save the state. The records
// never change after assign() except their lists, which the audio thread never
// reads.
class ParameterStore {
public:
    static constexpr std::size_t npos = static_cast<std::size_t>(-1);

    // Copies every record of the table and sets each value to its default.
    void assign(const ParameterTable& table);

    std::size_t size() const { return entries_.size(); }
    bool empty() const { return entries_.empty(); }

    // Index of the parameter, or npos when the ID has no record.
    std::size_t indexOf(ParamID id) const;
    bool contains(ParamID id) const { return indexOf(id) != npos; }

    ParamID idAt(std::size_t index) const { return entries_[index].id; }
    double valueAt(std::size_t index) const { return entries_[index].value.load(); }
    void setValueAt(std::size_t index, double plain) { entries_[index].value.store(plain); }
    const ParamRecord& recordAt(std::size_t index) const { return entries_[index].record; }
    ParamRecord& recordAt(std::size_t index) { return entries_[index].record; }

    // Null when the ID has no record.
    const ParamRecord* findRecord(ParamID id) const;
    ParamRecord* findRecord(ParamID id);

private:
    // A double that one thread writes while others may read it; copyable so
    // the entries can live in a vector.
    class SharedValue {
    public:
        explicit SharedValue(double v) : value_(v) {}
        SharedValue(const SharedValue& other) : value_(other.load()) {}
        SharedValue& operator=(const SharedValue& other)
        {
            store(other.load());
            return *this;
        }
        double load() const { return value_.load(std::memory_order_relaxed); }
        void store(double v) { value_.store(v, std::memory_order_relaxed); }

    private:
        std::atomic<double> value_;
    };
    struct Entry {
        ParamID id;
        SharedValue value;
        ParamRecord record;
    };
    std::vector<Entry> entries_;
};

// The IDs whose values the host is still to hear about, in the order they
// changed, each at most once. Its room is fixed by reset(), one slot per
// parameter, so marking never allocates and the list cannot grow without bound.
class ChangedParameters {
public:
    void reset(std::size_t slotCount);
    // Notes the ID of the given slot unless it is already noted.
    void mark(std::size_t slot, ParamID id);
    const std::vector<ParamID>& ids() const { return ids_; }
    bool empty() const { return ids_.empty(); }
    void clear();

private:
    std::vector<ParamID> ids_;
    std::vector<std::size_t> slots_;
    std::vector<bool> marked_;
};

} // namespace vexbit
