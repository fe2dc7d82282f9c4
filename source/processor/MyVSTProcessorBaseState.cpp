#include "processor/MyVSTProcessorBase.h"

#include "state/ProcessorStateImage.h"

#include <cmath>
#include <string>
#include <vector>

namespace vexbit {

using namespace Steinberg;
using namespace Steinberg::Vst;

namespace {

bool isSaved(const ParamRecord& record)
{
    return (record.flags & kTransient) == 0;
}

} // namespace

// Every saved parameter's value in ascending ID order, the lists of those kept
// in the state, then the product's extra state.
tresult PLUGIN_API MyVSTProcessorBase::getState(IBStream* state)
{
    if (state == nullptr) return kInvalidArgument;
    const std::lock_guard lock(controlLock_);
    // A state restored just before is saved as restored, even before a block applied it.
    bool bypass = false;
    const std::vector<double> values = valuesAsHandedOver(bypass);

    ProcessorStateImage image;
    image.header = formatTag_;
    image.bypass = bypass;
    for (std::size_t i = 0; i < parameters_.size(); ++i) {
        const ParamRecord& record = parameters_.recordAt(i);
        if (!isSaved(record)) continue;
        if ((record.flags & kListInState) != 0) image.lists.push_back({parameters_.idAt(i), record.list});
        image.values.push_back({parameters_.idAt(i), values[i]});
    }
    writeProcessorState(*state, image);
    writeExtraState(state);
    return kResultOk;
}

tresult PLUGIN_API MyVSTProcessorBase::setState(IBStream* state)
{
    if (state == nullptr) return kInvalidArgument;
    // The whole stream is read before anything changes: a refused stream leaves
    // the processor exactly as it was.
    ProcessorStateImage image;
    if (readProcessorState(*state, formatTag_, image) != StateReadResult::Complete) return kResultFalse;

    const std::lock_guard lock(controlLock_);
    // The lists are not used by process; they change at once.
    for (auto& block : image.lists) {
        ParamRecord* record = parameters_.findRecord(block.id);
        // An empty block keeps the list as it was.
        if (record != nullptr && (record->flags & kListInState) != 0 && !block.entries.empty())
            record->list = std::move(block.entries);
    }
    PendingChanges restored;
    restored.hasBypass = true;
    restored.bypass = image.bypass.value_or(false);
    restored.values.reserve(image.values.size());
    for (const auto& value : image.values) {
        const std::size_t i = parameters_.indexOf(value.id);
        // Unknown IDs are skipped; so are non-finite values, which the engine must never see.
        if (i == ParameterStore::npos || !std::isfinite(value.plain)) continue;
        restored.addValue(i, value.plain);
    }
    handOver(restored);
    readExtraState(state);
    return kResultOk;
}

} // namespace vexbit
