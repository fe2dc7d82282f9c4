#include "product/ModuleConfig.h"

#include <gtest/gtest.h>

using namespace vexbit;

TEST(ModuleConfig, ClassIdsParseFromBracedGuids)
{
    EXPECT_EQ(classIdFromGuidString("{00000001-0002-0003-0000-000400000005}"),
              Steinberg::FUID(0x00000001, 0x00020003, 0x00000004, 0x00000005));
    EXPECT_EQ(classIdFromGuidString("not a guid"), Steinberg::FUID(0, 0, 0, 0));
    EXPECT_EQ(classIdFromGuidString("{0000-0001}"), Steinberg::FUID(0, 0, 0, 0));
}
