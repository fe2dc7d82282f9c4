#pragma once

// The processor of the built bundle, loaded through the host library the way a
// host loads it, with the calls a host makes around processing.

#include "support/StateBytes.h"

#include "host/PluginInstance.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace vexbit::test {

struct LoadedBundle {
    std::shared_ptr<host::Module> module;
    std::unique_ptr<host::PluginInstance> instance;

    Steinberg::Vst::IComponent* component() const { return instance->component(); }
    Steinberg::Vst::IAudioProcessor* processor() const { return instance->processor(); }
    Steinberg::Vst::IEditController* controller() const { return instance->controller(); }

    Steinberg::tresult restore(const Bytes& state) const { return component()->setState(streamOf(state)); }
    Bytes saved() const
    {
        Steinberg::MemoryStream stream;
        EXPECT_EQ(component()->getState(&stream), Steinberg::kResultOk);
        return bytesOf(stream);
    }
    void activate(double sampleRate, Steinberg::int32 maxBlock) const
    {
        Steinberg::Vst::ProcessSetup setup{Steinberg::Vst::kRealtime, Steinberg::Vst::kSample32, maxBlock, sampleRate};
        ASSERT_EQ(processor()->setupProcessing(setup), Steinberg::kResultOk);
        ASSERT_EQ(component()->setActive(true), Steinberg::kResultOk);
        processor()->setProcessing(true);
    }
    void deactivate() const
    {
        processor()->setProcessing(false);
        component()->setActive(false);
    }
};

// Failures are reported through gtest and leave the instance null.
inline LoadedBundle loadBundle()
{
    LoadedBundle l;
    std::string error;
    l.module = host::Module::load(VEXBIT_BUNDLE_PATH, error);
    EXPECT_TRUE(l.module) << error;
    if (l.module) {
        l.instance = host::PluginInstance::createFirstEffect(l.module, error);
        EXPECT_TRUE(l.instance) << error;
    }
    return l;
}

} // namespace vexbit::test
