// The saved state: its exact bytes, restoring it, and refusing broken ones.

#include "processor/ProcessorFixture.h"
#include "common/ParameterIds.h"
#include "support/StateBytes.h"

#include <cmath>
#include <limits>

namespace vexbit::test {
namespace {

constexpr std::size_t kDefaultStateSize = 905;

class State : public ProcessorFixture {
protected:
    void SetUp() override
    {
        ProcessorFixture::SetUp();
        // Not active, as a host restores a project before playback: a state is
        // applied at once.
        processor->setActive(false);
    }
    Bytes save()
    {
        Steinberg::MemoryStream stream;
        EXPECT_EQ(processor->getState(&stream), kResultOk);
        return bytesOf(stream);
    }
    tresult load(Bytes bytes)
    {
        processor->calls.clear();
        ByteStream stream(std::move(bytes));
        return processor->setState(stream.get());
    }
    std::vector<double> values() const
    {
        std::vector<double> out;
        for (const auto& [id, record] : parameterTable()) out.push_back(processor->getParameterValue(id));
        return out;
    }
};

TEST_F(State, TheDefaultProcessorWritesItsStateFieldByField)
{
    processor->calls.clear();
    const Bytes b = save();
    ASSERT_EQ(b.size(), kDefaultStateSize);
    EXPECT_EQ(getU32(b, 0), 4u);
    EXPECT_EQ(std::string(b.begin() + 4, b.begin() + 8), std::string("2.0\0", 4));
    EXPECT_EQ(b[8], 0);            // bypass off
    EXPECT_EQ(getU32(b, 9), 0u);   // no list blocks
    EXPECT_EQ(getU32(b, 13), 74u); // every parameter but the eight Randomise switches

    std::size_t at = 17;
    for (const auto& [id, record] : parameterTable()) {
        if (record.flags & kTransient) continue;
        ASSERT_EQ(getU32(b, at), id) << "pair at " << at;
        EXPECT_EQ(getF64(b, at + 4), record.defaultValue) << id;
        at += 12;
    }
    EXPECT_EQ(at, b.size());
    EXPECT_EQ(getU32(b, 17), 1u);
    EXPECT_EQ(getF64(b, 21), 0.0);
    EXPECT_EQ(getU32(b, 29), 2u);
    EXPECT_EQ(getF64(b, 33), 2.0);
    for (const uint32_t randomise : {299u, 399u, 499u, 599u, 699u, 799u, 899u, 999u})
        for (std::size_t p = 17; p < b.size(); p += 12) ASSERT_NE(getU32(b, p), randomise);
    EXPECT_EQ(processor->callsOf(Hook::WriteExtraState).size(), 1u);
}

TEST_F(State, ARoundTripIsByteIdenticalAndAppliesEveryRestoredValue)
{
    block.paramsIn.add(kDelayLevelId, 0, 0.61);
    block.paramsIn.add(kLowPassFreqId, 0, 0.33);
    block.paramsIn.add(kBypassId, 0, 1.0);
    run(64);
    const Bytes saved = save();
    EXPECT_EQ(saved[8], 1);

    // A fresh processor takes the state and writes the very same bytes.
    auto* other = new RecordingProcessor();
    ASSERT_EQ(other->initialize(&hostApp), kResultOk);
    other->calls.clear();
    ByteStream in(saved);
    ASSERT_EQ(other->setState(in.get()), kResultOk);
    EXPECT_TRUE(other->isBypassed());
    EXPECT_DOUBLE_EQ(other->getParameterValue(kDelayLevelId), processor->getParameterValue(kDelayLevelId));

    const auto applied = other->callsOf(Hook::ApplyParameter);
    ASSERT_EQ(applied.size(), 74u);
    EXPECT_EQ(applied.front().id, 1u);
    EXPECT_EQ(applied.back().id, 902u);
    EXPECT_EQ(other->calls.back().hook, Hook::ReadExtraState);

    Steinberg::MemoryStream out;
    ASSERT_EQ(other->getState(&out), kResultOk);
    EXPECT_EQ(bytesOf(out), saved);
    other->terminate();
    other->release();
}

TEST_F(State, AnotherHeaderOrAStreamCutShortIsRefusedAndChangesNothing)
{
    const auto before = values();
    StateBytes other;
    other.text("2.1");
    other.u8(1);
    other.u32(0);
    other.u32(1);
    other.u32(202);
    other.f64(0.9);
    EXPECT_EQ(load(other), kResultFalse);
    EXPECT_EQ(load(Bytes()), kResultFalse);
    EXPECT_EQ(processor->setState(nullptr), kInvalidArgument);
    EXPECT_EQ(processor->getState(nullptr), kInvalidArgument);

    StateBytes b = stateHead(true);
    b.u32(3);
    b.u32(202);
    b.f64(0.9);
    b.u32(203);
    b.f64(100.0);
    b.u32(204); // the third pair ends after its ID
    EXPECT_EQ(load(b), kResultFalse);
    // Read completely before anything is changed: nothing was taken over.
    EXPECT_EQ(values(), before);
    EXPECT_FALSE(processor->isBypassed());
    EXPECT_TRUE(processor->calls.empty());
}

// Restored while the processor is active: the caller's thread only reads and
// hands over; the next block applies the state before anything else.
class StateWhilePlaying : public State {
protected:
    void SetUp() override
    {
        ProcessorFixture::SetUp();
        run(64);
    }
    // Every saved parameter at a value of its own, in ascending ID order.
    static StateBytes fullState(bool bypass, double shift)
    {
        StateBytes b = stateHead(bypass);
        b.u32(74);
        for (const auto& [id, record] : parameterTable()) {
            if (record.flags & kTransient) continue;
            b.u32(id);
            b.f64(record.min + (record.max - record.min) * shift);
        }
        return b;
    }
};

TEST_F(StateWhilePlaying, TheNextBlockAppliesItFirstAndTheStateShowsItAtOnce)
{
    const Bytes restored = fullState(true, 0.25);
    ASSERT_EQ(load(restored), kResultOk);
    // Nothing reached the engine from the caller's thread...
    EXPECT_TRUE(processor->callsOf(Hook::ApplyParameter).empty());
    EXPECT_FALSE(processor->isBypassed());
    // ...yet a host saving right away gets what it restored.
    EXPECT_EQ(save(), restored);

    block.paramsIn.add(kDelayLevelId, 0, 0.9);
    block.addInput(host::noteOnEvent(0, 48));
    const auto calls = run(256);
    const auto events = processor->eventCalls();
    ASSERT_GE(events.size(), 76u);
    for (std::size_t i = 0; i < 74; ++i) {
        EXPECT_EQ(events[i].hook, Hook::ApplyParameter) << i;
        EXPECT_EQ(events[i].position, 0) << i;
    }
    EXPECT_EQ(events[0].id, 1u);
    EXPECT_EQ(events[73].id, 902u);
    // The block's own change and note come after the state, and the change wins.
    EXPECT_EQ(events[74].hook, Hook::ApplyParameter);
    EXPECT_EQ(events[74].id, 202u);
    EXPECT_EQ(events[75].hook, Hook::NoteOn);
    EXPECT_DOUBLE_EQ(processor->getParameterValue(kDelayLevelId), 0.9);
    EXPECT_TRUE(processor->isBypassed());
    EXPECT_EQ(calls.front().hook, Hook::ApplyParameter) << "before any audio of the block";

    // Handed over once, applied once.
    run(256);
    EXPECT_TRUE(processor->callsOf(Hook::ApplyParameter).empty());
}

} // namespace
} // namespace vexbit::test
