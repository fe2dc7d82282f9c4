// The processor inside the built bundle, driven through its interfaces the way
// a host drives it. (Bus names and counts are covered by the module tests.)

#include "processor/HostObjects.h"
#include "processor/LoadedBundle.h"
#include "processor/ProcessBlock.h"

#include "pluginterfaces/vst/ivstmessage.h"

#include <gtest/gtest.h>

#include <cmath>

namespace vexbit::test {
namespace {

TEST(ProcessorInBundle, ProcessesHostBlocksAndKeepsWhatTheHostSent)
{
    LoadedBundle l = loadBundle();
    ASSERT_TRUE(l.instance);
    l.activate(48000.0, 1024);

    ProcessBlock block;
    for (std::size_t i = 0; i < block.inL.size(); ++i) {
        block.inL[i] = 0.5f * static_cast<float>(std::sin(0.05 * static_cast<double>(i)));
        block.inR[i] = block.inL[i];
    }
    double position = 0.0;
    for (int b = 0; b < 50; ++b) {
        block.clearLists();
        block.playAt(position, 126.0);
        if (b == 3) {
            block.paramsIn.add(202, 17, 0.9); // "Delay Level"
            block.paramsIn.add(2, 0, 1.0);    // "Max Concurrency" to 8
            block.eventsIn.add(noteOn(100, 48));
            block.eventsIn.add(noteOff(900, 48));
        }
        ASSERT_EQ(l.processor()->process(block.next(1024)), kResultOk);
        for (int32 i = 0; i < 1024; ++i)
            ASSERT_TRUE(std::isfinite(block.outL[i]) && std::isfinite(block.outR[i])) << b << ":" << i;
        position += 1024 / (48000.0 * 60.0 / 126.0);
    }
    l.deactivate();

    const Bytes state = l.saved();
    ASSERT_EQ(state.size(), 905u);
    bool sawLevel = false;
    bool sawConcurrency = false;
    for (std::size_t p = 17; p < state.size(); p += 12) {
        if (getU32(state, p) == 202) {
            EXPECT_DOUBLE_EQ(getF64(state, p + 4), 0.9);
            sawLevel = true;
        }
        if (getU32(state, p) == 2) {
            EXPECT_DOUBLE_EQ(getF64(state, p + 4), 8.0);
            sawConcurrency = true;
        }
    }
    EXPECT_TRUE(sawLevel && sawConcurrency);
}

TEST(ProcessorInBundle, AStateRoundTripsThroughAnotherInstance)
{
    LoadedBundle first = loadBundle();
    LoadedBundle second = loadBundle();
    ASSERT_TRUE(first.instance && second.instance);

    Bytes edited = stateHead(true);
    putU32(edited, 3);
    putU32(edited, 203);
    putF64(edited, 123.0);
    putU32(edited, 902);
    putF64(edited, 12.5);
    putU32(edited, 3);
    putF64(edited, 400.0);
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

TEST(ProcessorInBundle, AnswersMessagesThroughItsConnectionPoint)
{
    LoadedBundle l = loadBundle();
    ASSERT_TRUE(l.instance);
    FUnknownPtr<IConnectionPoint> connection(l.component());
    ASSERT_TRUE(connection);
    EXPECT_EQ(connection->notify(nullptr), kInvalidArgument);

    auto msg = owned(static_cast<IMessage*>(new HostMessage()));
    msg->setMessageID("sendData");
    const uint32_t tag = 7;
    const unsigned char payload[3] = {1, 2, 3};
    const uint64_t size = 3;
    msg->getAttributes()->setBinary("tag", &tag, 4);
    msg->getAttributes()->setBinary("data", payload, 3);
    msg->getAttributes()->setBinary("size", &size, 8);
    EXPECT_EQ(connection->notify(msg), kResultOk);
}

} // namespace
} // namespace vexbit::test
