// The class factory a host asks for: the processor class, then the controller class.
#include "product/InterfaceGuards.h"
#include "product/ModuleConfig.h"
#include "sdk/PluginFactory.h"

#include "pluginterfaces/vst/ivstaudioprocessor.h"
#include "pluginterfaces/vst/ivstcomponent.h"

#include <algorithm>
#include <cstring>
#include <string>

using namespace Steinberg;

namespace {

constexpr const char* kSdkVersion = "VST 3.6.14";

// Copies into a fixed field, always leaving room for the terminator: the SDK's
// own copy helpers leave a full field unterminated.
template <std::size_t N>
void copyField(char8 (&field)[N], const std::string& text)
{
    std::memset(field, 0, N);
    std::memcpy(field, text.data(), std::min(text.size(), N - 1));
}

PFactoryInfo makeFactoryInfo(const vexbit::ModuleConfig& config)
{
    PFactoryInfo info;
    copyField(info.vendor, config.vendor);
    copyField(info.url, config.vendorUrl);
    copyField(info.email, config.vendorEmail);
    info.flags = PFactoryInfo::kUnicode;
    return info;
}

PClassInfo2 makeClassInfo(const FUID& cid, const char* category, const std::string& name, uint32 classFlags,
                          const std::string& subCategories, const vexbit::ModuleConfig& config)
{
    PClassInfo2 info;
    std::memcpy(info.cid, cid.toTUID(), sizeof(TUID));
    info.cardinality = PClassInfo::kManyInstances;
    copyField(info.category, category);
    copyField(info.name, name);
    info.classFlags = classFlags;
    copyField(info.subCategories, subCategories);
    copyField(info.version, vexbit::classVersion(config));
    copyField(info.sdkVersion, kSdkVersion);
    return info;
}

} // namespace

extern "C" SMTG_EXPORT_SYMBOL IPluginFactory* PLUGIN_API GetPluginFactory()
{
    if (gPluginFactory != nullptr) {
        gPluginFactory->addRef();
        return gPluginFactory;
    }
    const vexbit::ModuleConfig& config = vexbit::moduleConfig();
    gPluginFactory = new CPluginFactory(makeFactoryInfo(config));

    const PClassInfo2 processor = makeClassInfo(config.processorClassId, kVstAudioEffectClass, config.pluginName,
                                                Vst::kDistributable, config.subCategories, config);
    gPluginFactory->registerClass(&processor, vexbit::GuardedProcessor::createInstance);

    const PClassInfo2 controller = makeClassInfo(config.controllerClassId, kVstComponentControllerClass,
                                                 config.pluginName + " Controller", 0, "", config);
    gPluginFactory->registerClass(&controller, vexbit::GuardedController::createInstance);
    return gPluginFactory;
}
