#include "host/PluginInstance.h"

#include "common/Utf.h"

#include "pluginterfaces/vst/ivstmessage.h"

namespace vexbit::host {

using namespace Steinberg;
using namespace Steinberg::Vst;

namespace {

template <typename I>
IPtr<I> createFromFactory(IPluginFactory* factory, const TUID cid)
{
    void* object = nullptr;
    if (factory->createInstance(cid, I::iid, &object) != kResultOk || object == nullptr) return nullptr;
    return owned(static_cast<I*>(object));
}

} // namespace

std::unique_ptr<PluginInstance> PluginInstance::create(std::shared_ptr<Module> module,
                                                       const ClassDescription& componentClass, std::string& error)
{
    std::unique_ptr<PluginInstance> instance(new PluginInstance());
    instance->module_ = std::move(module);
    const std::string what = "class \"" + componentClass.name + "\"";
    IPluginFactory* factory = instance->module_->factory();

    instance->component_ = createFromFactory<IComponent>(factory, componentClass.cid.toTUID());
    if (!instance->component_) {
        error = what + ": the factory created no component";
        return nullptr;
    }
    if (instance->component_->initialize(instance->module_->hostContext()) != kResultOk) {
        error = what + ": the component refused to initialise";
        return nullptr;
    }
    instance->componentInitialized_ = true;

    FUnknownPtr<IAudioProcessor> processor(instance->component_);
    if (!processor) {
        error = what + ": the component is not an audio processor";
        return nullptr;
    }
    instance->processor_ = processor;

    // A single-component plug-in is its own controller; otherwise the
    // component names the controller class to create.
    FUnknownPtr<IEditController> single(instance->component_);
    if (single) {
        instance->controller_ = single;
    } else {
        TUID controllerCid = {};
        if (instance->component_->getControllerClassId(controllerCid) == kResultOk) {
            instance->controller_ = createFromFactory<IEditController>(factory, controllerCid);
            if (!instance->controller_) {
                error = what + ": the factory created no edit controller for it";
                return nullptr;
            }
            if (instance->controller_->initialize(instance->module_->hostContext()) != kResultOk) {
                error = what + ": the edit controller refused to initialise";
                return nullptr;
            }
            instance->separateController_ = true;
            instance->controllerInitialized_ = true;
        }
    }
    instance->connect();
    return instance;
}

std::unique_ptr<PluginInstance> PluginInstance::createFirstEffect(std::shared_ptr<Module> module, std::string& error)
{
    const auto effect = module->firstClassOfCategory(kVstAudioEffectClass);
    if (!effect) {
        error = module->path() + ": the module offers no audio effect class";
        return nullptr;
    }
    return create(std::move(module), *effect, error);
}

void PluginInstance::connect()
{
    if (!separateController_) return;
    FUnknownPtr<IConnectionPoint> componentPoint(component_);
    FUnknownPtr<IConnectionPoint> controllerPoint(controller_);
    if (!componentPoint || !controllerPoint) return;
    componentPoint->connect(controllerPoint);
    controllerPoint->connect(componentPoint);
    connected_ = true;
}

void PluginInstance::disconnect()
{
    if (!connected_) return;
    FUnknownPtr<IConnectionPoint> componentPoint(component_);
    FUnknownPtr<IConnectionPoint> controllerPoint(controller_);
    componentPoint->disconnect(controllerPoint);
    controllerPoint->disconnect(componentPoint);
    connected_ = false;
}

PluginInstance::~PluginInstance()
{
    disconnect();
    if (controllerInitialized_) controller_->terminate();
    controller_ = nullptr;
    processor_ = nullptr;
    if (componentInitialized_) component_->terminate();
    component_ = nullptr;
}

std::vector<ParameterDescription> PluginInstance::parameters() const
{
    std::vector<ParameterDescription> result;
    if (!controller_) return result;
    const int32 count = controller_->getParameterCount();
    for (int32 i = 0; i < count; ++i) {
        ParameterInfo info{};
        if (controller_->getParameterInfo(i, info) != kResultOk) continue;
        ParameterDescription d;
        d.id = info.id;
        d.title = utf16ToUtf8(info.title, 128);
        d.shortTitle = utf16ToUtf8(info.shortTitle, 128);
        d.units = utf16ToUtf8(info.units, 128);
        d.stepCount = info.stepCount;
        d.defaultNormalized = info.defaultNormalizedValue;
        d.unitId = info.unitId;
        d.flags = info.flags;
        result.push_back(std::move(d));
    }
    return result;
}

std::optional<ParameterDescription> PluginInstance::findParameter(ParamID id) const
{
    for (ParameterDescription& d : parameters()) {
        if (d.id == id) return d;
    }
    return std::nullopt;
}

std::string PluginInstance::parameterText(ParamID id, double normalized) const
{
    if (!controller_) return {};
    String128 text = {};
    if (controller_->getParamStringByValue(id, normalized, text) != kResultOk) return {};
    return utf16ToUtf8(text, 128);
}

} // namespace vexbit::host
