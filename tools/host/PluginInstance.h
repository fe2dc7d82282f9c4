#pragma once

#include "host/Module.h"

#include "pluginterfaces/base/smartpointer.h"
#include "pluginterfaces/vst/ivstaudioprocessor.h"
#include "pluginterfaces/vst/ivstcomponent.h"
#include "pluginterfaces/vst/ivsteditcontroller.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace vexbit::host {

// What the controller tells a host about one parameter.
struct ParameterDescription {
    Steinberg::Vst::ParamID id = 0;
    std::string title;
    std::string shortTitle;
    std::string units;
    int32_t stepCount = 0;
    double defaultNormalized = 0.0;
    int32_t unitId = 0;
    int32_t flags = 0;
};

// One plug-in instance as a host sets it up: the component (processor side)
// created and initialised with the host context, its edit controller (the
// component itself or a separate class) initialised too, and the two joined
// through their connection points. Torn down in reverse order.
class PluginInstance {
public:
    // Null with one line in error when a step fails.
    static std::unique_ptr<PluginInstance> create(std::shared_ptr<Module> module,
                                                  const ClassDescription& componentClass, std::string& error);
    // The module's first audio-effect class.
    static std::unique_ptr<PluginInstance> createFirstEffect(std::shared_ptr<Module> module, std::string& error);

    ~PluginInstance();
    PluginInstance(const PluginInstance&) = delete;
    PluginInstance& operator=(const PluginInstance&) = delete;

    const Module& module() const { return *module_; }
    Steinberg::Vst::IComponent* component() const { return component_; }
    Steinberg::Vst::IAudioProcessor* processor() const { return processor_; }
    // May be null: a component without a controller is legal.
    Steinberg::Vst::IEditController* controller() const { return controller_; }
    bool isConnected() const { return connected_; }

    std::vector<ParameterDescription> parameters() const;
    std::optional<ParameterDescription> findParameter(Steinberg::Vst::ParamID id) const;
    // The controller's display text of a normalized value; "" when it has none.
    std::string parameterText(Steinberg::Vst::ParamID id, double normalized) const;

private:
    PluginInstance() = default;
    void connect();
    void disconnect();

    std::shared_ptr<Module> module_;
    Steinberg::IPtr<Steinberg::Vst::IComponent> component_;
    Steinberg::IPtr<Steinberg::Vst::IAudioProcessor> processor_;
    Steinberg::IPtr<Steinberg::Vst::IEditController> controller_;
    bool componentInitialized_ = false;
    bool controllerInitialized_ = false;
    bool separateController_ = false;
    bool connected_ = false;
};

} // namespace vexbit::host
