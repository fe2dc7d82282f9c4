#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace vexbit {

// What restored states and controller messages ask of the processor, read and
// checked on the caller's thread and waiting to be applied where the engine
// lives: at the start of the next block, or at once while the processor is not
// active. Built and amended only by the writer side, so everything in it is
// allocated there; applying it only reads.
struct PendingChanges {
    struct Value {
        std::size_t index = 0; // position in the processor's parameter store
        double plain = 0.0;
    };
    struct DataMessage {
        uint32_t tag = 0;
        std::vector<unsigned char> bytes;
    };

    // At most this many data messages wait at once; older ones give way, so a
    // controller that sends while no block runs cannot make the list grow.
    static constexpr std::size_t kMaxDataMessages = 64;

    uint64_t generation = 0; // increases with every hand-over
    bool hasBypass = false;
    bool bypass = false;
    // In the order they are to be applied; at most one per parameter.
    std::vector<Value> values;
    std::vector<DataMessage> data;

    void clear();
    bool empty() const { return !hasBypass && values.empty() && data.empty(); }
    // Appends a change to apply after everything already in here; an earlier
    // value for the same parameter is dropped, as the later one overrides it.
    void addValue(std::size_t index, double plain);
    void addData(uint32_t tag, const unsigned char* bytes, std::size_t size);
    // Everything of `later`, as if applied after what this holds.
    void append(const PendingChanges& later);
};

} // namespace vexbit
