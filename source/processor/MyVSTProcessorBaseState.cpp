#include "processor/MyVSTProcessorBase.h"

#include "module/ModuleConfig.h"
#include "processor/ProcessorStateFormat.h"

#include <cmath>
#include <vector>

namespace vexbit {

using namespace Steinberg;
using namespace Steinberg::Vst;

tresult PLUGIN_API MyVSTProcessorBase::getState(IBStream* state)
{
    if (state == nullptr)
        return kInvalidArgument;
    ProcessorStateImage image;
    image.bypass = bypass_;
    for (std::size_t i = 0; i < parameters_.size(); ++i) {
        const ParamRecord& record = parameters_.recordAt(i);
        if ((record.flags & kTransient) != 0)
            continue;
        if ((record.flags & kListInState) != 0)
            image.lists.push_back({parameters_.idAt(i), record.list});
        image.values.push_back({parameters_.idAt(i), parameters_.valueAt(i)});
    }
    writeProcessorState(state, moduleConfig().frameworkVersion, image);
    writeExtraState(state);
    return kResultOk;
}

tresult PLUGIN_API MyVSTProcessorBase::setState(IBStream* state)
{
    if (state == nullptr)
        return kInvalidArgument;
    // The whole stream is read before anything changes: a refused stream leaves
    // the processor exactly as it was.
    ProcessorStateImage image;
    if (readProcessorState(state, moduleConfig().frameworkVersion, image) != StateReadResult::Ok)
        return kResultFalse;

    bypass_ = image.bypass;
    for (auto& block : image.lists) {
        ParamRecord* record = parameters_.findRecord(block.id);
        // An empty block keeps the list as it was.
        if (record != nullptr && (record->flags & kListInState) != 0 && !block.entries.empty())
            record->list = std::move(block.entries);
    }
    std::vector<std::size_t> restored;
    restored.reserve(image.values.size());
    for (const auto& value : image.values) {
        const std::size_t i = parameters_.indexOf(value.id);
        // Unknown IDs are skipped; so are non-finite values, which the engine must never see.
        if (i == ParameterStore::npos || !std::isfinite(value.plain))
            continue;
        parameters_.setValueAt(i, value.plain);
        restored.push_back(i);
    }
    for (const std::size_t i : restored)
        applyParameter(parameters_.idAt(i), parameters_.valueAt(i));
    readExtraState(state);
    return kResultOk;
}

} // namespace vexbit
