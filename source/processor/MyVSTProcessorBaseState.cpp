#include "processor/MyVSTProcessorBase.h"

#include "controller/ProcessorStateImage.h"

#include "base/source/fstreamer.h"

#include <cmath>
#include <string>
#include <vector>

namespace vexbit {

using namespace Steinberg;
using namespace Steinberg::Vst;

namespace {

// A length-prefixed text: byte count including the terminator, the UTF-8
// bytes, one zero byte.
void writeText(IBStreamer& out, const std::string& text)
{
    out.writeInt32u(static_cast<uint32>(text.size() + 1));
    out.writeRaw(text.data(), static_cast<TSize>(text.size()));
    out.writeInt8u(0);
}

bool isSaved(const ParamRecord& record)
{
    return (record.flags & kTransient) == 0;
}

} // namespace

// The stream, little-endian and unpadded: header (length, framework version
// text, zero), bypass byte, list blocks of the saved list-in-state parameters
// (ID, entry count, entries as texts), value pairs of every saved parameter
// (ID, plain double) in ascending ID order, then the extra state.
tresult PLUGIN_API MyVSTProcessorBase::getState(IBStream* state)
{
    if (state == nullptr) return kInvalidArgument;
    const std::lock_guard lock(controlLock_);
    // A state restored just before is saved as restored, even before a block applied it.
    bool bypass = false;
    const std::vector<double> values = valuesAsHandedOver(bypass);

    IBStreamer out(state, kLittleEndian);
    writeText(out, formatTag_);
    out.writeInt8u(bypass ? 1 : 0);

    uint32 listCount = 0;
    uint32 valueCount = 0;
    for (std::size_t i = 0; i < parameters_.size(); ++i) {
        const ParamRecord& record = parameters_.recordAt(i);
        if (isSaved(record)) {
            ++valueCount;
            if ((record.flags & kListInState) != 0) ++listCount;
        }
    }
    out.writeInt32u(listCount);
    for (std::size_t i = 0; i < parameters_.size(); ++i) {
        const ParamRecord& record = parameters_.recordAt(i);
        if (!isSaved(record) || (record.flags & kListInState) == 0) continue;
        out.writeInt32u(parameters_.idAt(i));
        out.writeInt32u(static_cast<uint32>(record.list.size()));
        for (const std::string& entry : record.list) writeText(out, entry);
    }
    out.writeInt32u(valueCount);
    for (std::size_t i = 0; i < parameters_.size(); ++i) {
        if (!isSaved(parameters_.recordAt(i))) continue;
        out.writeInt32u(parameters_.idAt(i));
        out.writeDouble(values[i]);
    }
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
