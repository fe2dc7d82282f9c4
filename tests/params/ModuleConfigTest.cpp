#include "product/ModuleConfig.h"

#include <gtest/gtest.h>

using namespace vexbit;

TEST(ModuleConfig, DefaultsBeforeStartUp)
{
    const ModuleConfig fresh;
    EXPECT_EQ(fresh.vendor, "no vendor name");
    EXPECT_EQ(fresh.pluginName, "test vst3");
    EXPECT_EQ(fresh.version, "0");
    EXPECT_EQ(fresh.subCategories, "Fx|Instrument");
    EXPECT_EQ(fresh.frameworkVersion, "2.0");
    EXPECT_EQ(fresh.processorClassId, Steinberg::FUID(0, 0, 0, 1));
    EXPECT_EQ(fresh.controllerClassId, Steinberg::FUID(0, 0, 0, 2));
    EXPECT_EQ(fresh.eventOutputBusCount, 0);
    EXPECT_EQ(classVersion(fresh), "0-2.0");
}

TEST(ModuleConfig, StartUpSetsTheProductAndRebuildsTheSameTable)
{
    configureModule();
    const ModuleConfig& c = moduleConfig();
    EXPECT_EQ(c.vendor, "Ornith-Kaval");
    EXPECT_EQ(c.pluginName, "Vexbit Glitch");
    EXPECT_EQ(c.subCategories, "Fx");
    EXPECT_EQ(classVersion(c), "2.2-2.0");
    EXPECT_EQ(c.sideChainBusCount, 0);
    EXPECT_EQ(c.eventOutputBusCount, 1);
    EXPECT_NE(c.processorClassId, c.controllerClassId);
    EXPECT_NE(c.processorClassId, Steinberg::FUID(0, 0, 0, 0));

    const auto first = parameterTable().records();
    configureModule();
    EXPECT_EQ(parameterTable().size(), first.size());
    EXPECT_EQ(parameterTable().find(802)->name, first.at(802).name);
}

TEST(ModuleConfig, ClassIdsParseFromBracedGuids)
{
    EXPECT_EQ(classIdFromGuidString("{00000001-0002-0003-0000-000400000005}"),
              Steinberg::FUID(0x00000001, 0x00020003, 0x00000004, 0x00000005));
    EXPECT_EQ(classIdFromGuidString("not a guid"), Steinberg::FUID(0, 0, 0, 0));
    EXPECT_EQ(classIdFromGuidString("{0000-0001}"), Steinberg::FUID(0, 0, 0, 0));
}
