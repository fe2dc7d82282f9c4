// The processor inside the built bundle, driven through its interfaces the way
// a host drives it. (Bus names and counts are covered by the module tests.)

#include "support/LoadedBundle.h"
#include "host/ProcessObjects.h"

#include "pluginterfaces/vst/ivstmessage.h"

#include <gtest/gtest.h>

#include <cmath>

namespace vexbit::test {

using namespace Steinberg;
using namespace Steinberg::Vst;
namespace {

TEST(ProcessorInBundle, AStateRoundTripsThroughAnotherInstance)
{
    LoadedBundle first = loadBundle();
    LoadedBundle second = loadBundle();
    ASSERT_TRUE(first.instance && second.instance);

    StateBytes edited = stateHead(true);
    edited.u32(3);
    edited.u32(203);
    edited.f64(123.0);
    edited.u32(902);
    edited.f64(12.5);
    edited.u32(3);
    edited.f64(400.0);
    ASSERT_EQ(first.restore(edited), kResultOk);

    const Bytes saved = first.saved();
    ASSERT_EQ(saved.size(), 905u);
    EXPECT_EQ(saved[8], 1);
    ASSERT_EQ(second.restore(saved), kResultOk);
    EXPECT_EQ(second.saved(), saved);

    // A refused state leaves the instance as it was.
    Bytes cut(saved.begin(), saved.begin() + 500);
    EXPECT_EQ(second.restore(cut), kResultFalse);
    EXPECT_EQ(second.saved(), saved);
}

} // namespace
} // namespace vexbit::test
