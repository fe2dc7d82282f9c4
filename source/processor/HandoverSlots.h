#pragma once

#include <atomic>

namespace vexbit {

// Hands the newest content from one writer thread to one reader thread
// without locks, waiting or allocation: three preallocated slots, one owned by
// the writer, one by the reader, and one in the middle that each swaps with
// its own in a single atomic exchange. The reader gets only the newest
// content; the writer may take back content the reader has not taken yet and
// amend it, so nothing it handed over is lost or applied twice.
//
// Only one writer at a time (callers serialise the writer side); the reader
// never writes into a slot, so the writer may read every slot.
template <typename Slot>
class HandoverSlots {
public:
    // Writer: the slot to fill next. When `unconsumed` comes back true it holds
    // what was handed over before and the reader has not taken yet (taken back
    // from the middle, to be amended); otherwise it holds stale content.
    Slot& beginWrite(bool& unconsumed)
    {
        const unsigned previous = middle_.exchange(back_, std::memory_order_acq_rel);
        back_ = previous & kIndexMask;
        unconsumed = (previous & kFresh) != 0;
        return slots_[back_];
    }

    // Writer: hands the slot from beginWrite over to the reader.
    void publish()
    {
        const unsigned previous = middle_.exchange(back_ | kFresh, std::memory_order_acq_rel);
        back_ = previous & kIndexMask;
    }

    // Reader: the newest slot handed over since the last take, or null. The
    // slot stays the reader's until its next take.
    const Slot* take()
    {
        if ((middle_.load(std::memory_order_acquire) & kFresh) == 0) return nullptr;
        const unsigned previous = middle_.exchange(front_, std::memory_order_acq_rel);
        front_ = previous & kIndexMask;
        // The writer may have taken the content back in between.
        return (previous & kFresh) != 0 ? &slots_[front_] : nullptr;
    }

    // Writer: any of the three slots, for reading what was handed over.
    const Slot& slot(unsigned index) const { return slots_[index]; }
    Slot& slot(unsigned index) { return slots_[index]; }
    static constexpr unsigned kSlotCount = 3;

private:
    static constexpr unsigned kIndexMask = 3;
    static constexpr unsigned kFresh = 4;

    Slot slots_[kSlotCount]{};
    unsigned back_ = 0;               // the writer's
    std::atomic<unsigned> middle_{1}; // index, plus kFresh while not yet taken
    unsigned front_ = 2;              // the reader's
};

} // namespace vexbit
