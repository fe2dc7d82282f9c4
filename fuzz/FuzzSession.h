#pragma once

#include "host/Module.h"
#include "host/PluginInstance.h"

#include "public.sdk/source/common/memorystream.h"
#include "pluginterfaces/vst/ivstaudioprocessor.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace vexbit::fuzz {

// One instance of the built bundle, loaded, created, initialised and connected
// the way a host does it, kept for the whole fuzzing run (making one per input
// would spend the run on start-up). Every target puts it back to its saved
// default state after each input, so inputs do not lean on one another.
class FuzzSession {
public:
    // Loaded on first use; a bundle that cannot be loaded ends the run.
    static FuzzSession& get();

    Steinberg::Vst::IComponent* component() const { return instance_->component(); }
    Steinberg::Vst::IAudioProcessor* processor() const { return instance_->processor(); }
    Steinberg::Vst::IEditController* controller() const { return instance_->controller(); }
    const host::PluginInstance& instance() const { return *instance_; }

    // Inactive, not processing, both sides back at the default state.
    void reset();
    // Prepares for processing (44.1 kHz, blocks of up to 512), runs one block
    // of noise through it, stops again. A refusal ends the run as a finding.
    void processOneBlock();

private:
    FuzzSession() = default;

    std::shared_ptr<host::Module> module_;
    std::unique_ptr<host::PluginInstance> instance_;
    std::string defaultComponentState_;
    std::string defaultControllerState_;
};

// A fresh host stream holding the bytes, read position at the start.
Steinberg::IPtr<Steinberg::MemoryStream> streamOver(std::string_view bytes);
std::string contents(Steinberg::MemoryStream& stream);

// Reports a broken promise of the plug-in and aborts, so libFuzzer keeps the input.
[[noreturn]] void fail(const std::string& what);

} // namespace vexbit::fuzz
