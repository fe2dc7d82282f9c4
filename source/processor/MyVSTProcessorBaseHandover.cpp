#include "processor/MyVSTProcessorBase.h"

namespace vexbit {

using namespace Steinberg;
using namespace Steinberg::Vst;

tresult PLUGIN_API MyVSTProcessorBase::setActive(TBool state)
{
    const std::lock_guard lock(controlLock_);
    active_ = state != 0;
    // No block runs until the next activation: what still waits is applied
    // now, so the stored values and the engine show it.
    if (!active_) takeHandedOver();
    return AudioEffect::setActive(state);
}

void MyVSTProcessorBase::handOver(const PendingChanges& changes)
{
    if (changes.empty()) return;
    bool unconsumed = false;
    PendingChanges& slot = handover_.beginWrite(unconsumed);
    // Changes the audio thread has not taken yet go over together with the new ones.
    if (!unconsumed) slot.clear();
    slot.append(changes);
    slot.generation = ++handedOverGeneration_;
    handover_.publish();
    // Not active, no block can be running: the caller applies it itself.
    if (!active_) takeHandedOver();
}

void MyVSTProcessorBase::takeHandedOver()
{
    if (const PendingChanges* changes = handover_.take()) applyHandedOver(*changes);
}

void MyVSTProcessorBase::applyHandedOver(const PendingChanges& changes)
{
    // The engine's echoes of these changes stand at the start of the block.
    subBlockStart_ = 0;
    if (changes.hasBypass) bypass_ = changes.bypass;
    for (const PendingChanges::Value& v : changes.values) {
        parameters_.setValueAt(v.index, v.plain);
        applyParameter(parameters_.idAt(v.index), parameters_.valueAt(v.index));
    }
    for (const PendingChanges::DataMessage& d : changes.data) onDataMessage(d.tag, d.bytes.data(), d.bytes.size());
    appliedGeneration_.store(changes.generation, std::memory_order_release);
}

std::vector<double> MyVSTProcessorBase::valuesAsHandedOver(bool& bypass) const
{
    // First what has been applied: the stored values read after it include
    // everything up to that hand-over.
    const uint64_t applied = appliedGeneration_.load(std::memory_order_acquire);
    std::vector<double> values(parameters_.size());
    for (std::size_t i = 0; i < values.size(); ++i) values[i] = parameters_.valueAt(i);
    bypass = isBypassed();

    // Then what waits for a block, or is being applied right now, oldest first.
    for (uint64_t after = applied;;) {
        const PendingChanges* next = nullptr;
        for (unsigned s = 0; s < decltype(handover_)::kSlotCount; ++s) {
            const PendingChanges& slot = handover_.slot(s);
            if (slot.generation > after && (next == nullptr || slot.generation < next->generation)) next = &slot;
        }
        if (next == nullptr) break;
        if (next->hasBypass) bypass = next->bypass;
        for (const PendingChanges::Value& v : next->values) values[v.index] = v.plain;
        after = next->generation;
    }
    return values;
}

} // namespace vexbit
