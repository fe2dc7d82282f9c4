#include "processor/MyVSTProcessorBase.h"

#include "params/ParamConversion.h"
#include "common/Utf.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>
#include <utility>

namespace vexbit {

using namespace Steinberg;
using namespace Steinberg::Vst;

namespace {

// Bus names carry their number, counted from 1.
std::basic_string<TChar> busName(const char* stem, int number)
{
    char text[64];
    std::snprintf(text, sizeof text, "%s %d", stem, number);
    return utf8ToUnits<TChar>(text);
}

} // namespace

MyVSTProcessorBase::MyVSTProcessorBase(const ParameterTable& table, std::string formatTag,
                                       const FUID& controllerClassId, OptionalBuses buses)
    : table_(table), formatTag_(std::move(formatTag)), buses_(buses)
{
    setControllerClass(controllerClassId);
    setupSampleRate_.store(processSetup.sampleRate);
    // Every queue gets its room now, so processing never has to allocate.
    pending_.reserve(kPendingEventCapacity);
    due_.reserve(kPendingEventCapacity);
    output_.reserve(kOutputEventCapacity);
    outputDue_.reserve(kOutputEventCapacity);
    changed_.reset(1);
}

MyVSTProcessorBase::~MyVSTProcessorBase() = default;

tresult PLUGIN_API MyVSTProcessorBase::initialize(FUnknown* context)
{
    const std::lock_guard lock(controlLock_);
    const tresult result = AudioEffect::initialize(context);
    if (result != kResultOk) return result;

    addAudioInput(busName("AudioInput", 1).c_str(), SpeakerArr::kStereo);
    if (buses_.sideChainBusCount > 0) addAudioInput(busName("AudioSidChain", 1).c_str(), SpeakerArr::kStereo, kAux);
    addAudioOutput(busName("AudioOutput", 1).c_str(), SpeakerArr::kStereo);
    addEventInput(busName("EventInput", 1).c_str(), 16);
    if (buses_.eventOutputBusCount > 0) addEventOutput(busName("EventOutput", 1).c_str(), 16);

    parameters_.assign(table_);
    // One slot per table parameter plus one for Bypass.
    changed_.reset(parameters_.size() + 1);
    for (std::size_t i = 0; i < parameters_.size(); ++i) initParameter(parameters_.idAt(i), parameters_.valueAt(i));
    return kResultOk;
}

tresult PLUGIN_API MyVSTProcessorBase::setupProcessing(ProcessSetup& setup)
{
    const std::lock_guard lock(controlLock_);
    const tresult result = AudioEffect::setupProcessing(setup);
    // process reads its own copy: the SDK's set-up record is not shared.
    setupSampleRate_.store(processSetup.sampleRate);
    return result;
}

tresult PLUGIN_API MyVSTProcessorBase::setBusArrangements(SpeakerArrangement* inputs, int32 numIns,
                                                          SpeakerArrangement* outputs, int32 numOuts)
{
    if (numIns == 1 && numOuts == 1 && inputs != nullptr && outputs != nullptr && inputs[0] == SpeakerArr::kStereo &&
        outputs[0] == SpeakerArr::kStereo)
        return AudioEffect::setBusArrangements(inputs, numIns, outputs, numOuts);
    return kResultFalse;
}

double MyVSTProcessorBase::getParameterValue(ParamID id) const
{
    if (id == kBypassId) return bypass_ ? 1.0 : 0.0;
    const std::size_t i = parameters_.indexOf(id);
    return i == ParameterStore::npos ? 0.0 : parameters_.valueAt(i);
}

double MyVSTProcessorBase::getParameterNormalized(ParamID id) const
{
    if (id == kBypassId) return bypass_ ? 1.0 : 0.0;
    const std::size_t i = parameters_.indexOf(id);
    return i == ParameterStore::npos ? 0.0 : toNormalized(parameters_.valueAt(i), parameters_.recordAt(i));
}

void MyVSTProcessorBase::setParameterNormalized(ParamID id, double normalized)
{
    // A non-finite value would reach the engine unchecked; the last good one stays.
    if (!std::isfinite(normalized)) return;
    double plain = normalized;
    if (id != kBypassId) {
        const ParamRecord* record = parameters_.findRecord(id);
        if (record == nullptr) return;
        plain = toPlain(normalized, *record);
    }
    storeParameterValue(id, plain);
    applyParameter(id, getParameterValue(id));
    markParameterChanged(id);
}

const char* MyVSTProcessorBase::getParameterText(ParamID id) const
{
    const ParamRecord* record = parameters_.findRecord(id);
    if (record == nullptr || record->list.empty()) return "";
    return record->list.front().c_str();
}

void MyVSTProcessorBase::markParameterChanged(ParamID id)
{
    // Only IDs the host knows can be reported, which also bounds the list.
    if (id == kBypassId) {
        changed_.mark(parameters_.size(), id);
        return;
    }
    const std::size_t i = parameters_.indexOf(id);
    if (i != ParameterStore::npos) changed_.mark(i, id);
}

void MyVSTProcessorBase::storeParameterValue(ParamID id, double plain)
{
    if (id == kBypassId) {
        bypass_ = plain > 0.5;
        return;
    }
    // The engine never gets a non-finite value; the last good one stays.
    if (!std::isfinite(plain)) return;
    const std::size_t i = parameters_.indexOf(id);
    if (i != ParameterStore::npos) parameters_.setValueAt(i, plain);
}

void MyVSTProcessorBase::filterInputEvents(EventQueue& /*events*/) {}

} // namespace vexbit
