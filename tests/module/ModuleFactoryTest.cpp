// The built bundle as a host sees it: entry points, factory and class descriptions.
#include "host/Module.h"

#include "pluginterfaces/vst/ivstaudioprocessor.h"
#include "pluginterfaces/vst/ivstcomponent.h"
#include "pluginterfaces/vst/ivsteditcontroller.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <set>
#include <string>

using namespace Steinberg;
using vexbit::host::Module;

namespace {

std::shared_ptr<Module> loadBundle()
{
    std::string error;
    auto module = Module::load(VEXBIT_BUNDLE_PATH, error);
    EXPECT_TRUE(module) << error;
    return module;
}

} // namespace

TEST(ModuleFactory, ProcessorThenControllerClass)
{
    auto module = loadBundle();
    ASSERT_TRUE(module);
    const auto classes = module->classes();
    ASSERT_EQ(classes.size(), 2u);

    const auto& processor = classes[0];
    EXPECT_EQ(processor.category, "Audio Module Class");
    EXPECT_EQ(processor.name, "Vexbit Glitch");
    EXPECT_EQ(processor.subCategories, "Fx");
    EXPECT_EQ(processor.classFlags, 1u);
    EXPECT_EQ(processor.cardinality, PClassInfo::kManyInstances);

    const auto& controller = classes[1];
    EXPECT_EQ(controller.category, "Component Controller Class");
    EXPECT_EQ(controller.name, "Vexbit Glitch Controller");
    EXPECT_EQ(controller.subCategories, "");
    EXPECT_EQ(controller.classFlags, 0u);
    EXPECT_EQ(controller.cardinality, PClassInfo::kManyInstances);
    EXPECT_NE(processor.cid, controller.cid);

    for (const auto& c : classes) {
        EXPECT_EQ(c.vendor, "");
        EXPECT_EQ(c.version, "2.2-2.0");
        EXPECT_EQ(c.sdkVersion, "VST 3.6.14");
    }

    // The narrow class infos say the same as the Unicode one.
    FUnknownPtr<IPluginFactory2> factory2(module->factory());
    ASSERT_TRUE(factory2);
    PClassInfo2 info2;
    ASSERT_EQ(factory2->getClassInfo2(0, &info2), kResultOk);
    EXPECT_STREQ(info2.version, "2.2-2.0");
    EXPECT_STREQ(info2.sdkVersion, "VST 3.6.14");
    PClassInfo info1;
    ASSERT_EQ(module->factory()->getClassInfo(1, &info1), kResultOk);
    EXPECT_STREQ(info1.name, "Vexbit Glitch Controller");
}

TEST(ModuleFactory, BadRequestsGetResultCodesNotCrashes)
{
    auto module = loadBundle();
    ASSERT_TRUE(module);
    IPluginFactory* factory = module->factory();
    const auto processorCid = module->classes().at(0).cid;

    void* object = reinterpret_cast<void*>(1);
    const TUID unknownCid = INLINE_UID(1, 2, 3, 4);
    EXPECT_EQ(factory->createInstance(unknownCid, Vst::IComponent::iid, &object), kNoInterface);
    EXPECT_EQ(object, nullptr);

    object = reinterpret_cast<void*>(1);
    const TUID unknownIid = INLINE_UID(5, 6, 7, 8);
    EXPECT_EQ(factory->createInstance(processorCid.toTUID(), unknownIid, &object), kNoInterface);
    EXPECT_EQ(object, nullptr);

    EXPECT_NE(factory->createInstance(processorCid.toTUID(), Vst::IComponent::iid, nullptr), kResultOk);
    object = reinterpret_cast<void*>(1);
    EXPECT_NE(factory->createInstance(nullptr, Vst::IComponent::iid, &object), kResultOk);
    EXPECT_EQ(object, nullptr);
    EXPECT_NE(factory->createInstance(processorCid.toTUID(), nullptr, &object), kResultOk);

    PClassInfo info1;
    PClassInfo2 info2;
    PClassInfoW infoW;
    FUnknownPtr<IPluginFactory3> factory3(factory);
    ASSERT_TRUE(factory3);
    for (int32 index : {-1, 2, 1000}) {
        EXPECT_EQ(factory->getClassInfo(index, &info1), kInvalidArgument);
        EXPECT_EQ(factory3->getClassInfo2(index, &info2), kInvalidArgument);
        EXPECT_EQ(factory3->getClassInfoUnicode(index, &infoW), kInvalidArgument);
    }
    EXPECT_EQ(factory->getClassInfo(0, nullptr), kInvalidArgument);
    EXPECT_EQ(factory3->getClassInfo2(0, nullptr), kInvalidArgument);
    EXPECT_EQ(factory3->getClassInfoUnicode(0, nullptr), kInvalidArgument);
    EXPECT_EQ(factory->getFactoryInfo(nullptr), kResultOk);

    object = reinterpret_cast<void*>(1);
    EXPECT_EQ(factory->queryInterface(unknownIid, &object), kNoInterface);
    EXPECT_EQ(object, nullptr);
    EXPECT_EQ(factory->queryInterface(IPluginFactory3::iid, nullptr), kInvalidArgument);
}

TEST(ModuleFactory, ExportsOnlyTheEntryPoints)
{
    const std::string command = std::string("nm -D --defined-only '") + VEXBIT_MODULE_BINARY + "' 2>/dev/null";
    FILE* pipe = ::popen(command.c_str(), "r");
    ASSERT_NE(pipe, nullptr);
    std::set<std::string> names;
    char line[1024];
    while (std::fgets(line, sizeof line, pipe) != nullptr) {
        std::string text(line);
        while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.pop_back();
        const auto space = text.find_last_of(' ');
        names.insert(space == std::string::npos ? text : text.substr(space + 1));
    }
    ASSERT_EQ(::pclose(pipe), 0) << "nm failed";
    EXPECT_EQ(names, (std::set<std::string>{"ExitDll", "GetPluginFactory", "InitDll", "ModuleEntry", "ModuleExit"}));
}
