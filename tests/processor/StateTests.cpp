// The saved state: its exact bytes, restoring it, and refusing broken ones.

#include "processor/ProcessorFixture.h"
#include "processor/StateBytes.h"

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
    block.paramsIn.add(202, 0, 0.61);
    block.paramsIn.add(402, 0, 0.33);
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
    EXPECT_DOUBLE_EQ(other->getParameterValue(202), processor->getParameterValue(202));

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

TEST_F(State, AnotherHeaderIsRefusedAndChangesNothing)
{
    const auto before = values();
    Bytes b;
    putText(b, "2.1");
    b.push_back(1);
    putU32(b, 0);
    putU32(b, 1);
    putU32(b, 202);
    putF64(b, 0.9);
    EXPECT_EQ(load(b), kResultFalse);
    EXPECT_EQ(values(), before);
    EXPECT_FALSE(processor->isBypassed());
    EXPECT_TRUE(processor->calls.empty());

    EXPECT_EQ(load(Bytes{'g', 'a', 'r', 'b', 'a', 'g', 'e'}), kResultFalse);
    EXPECT_EQ(load(Bytes{}), kResultFalse);
    EXPECT_EQ(processor->setState(nullptr), kInvalidArgument);
    EXPECT_EQ(processor->getState(nullptr), kInvalidArgument);
}

TEST_F(State, AStreamCutShortIsRefusedAndTheLastGoodValuesStay)
{
    Bytes b = stateHead(true);
    putU32(b, 3);
    putU32(b, 202);
    putF64(b, 0.9);
    putU32(b, 203);
    putF64(b, 100.0);
    putU32(b, 204); // the third pair ends after its ID
    const auto before = values();
    EXPECT_EQ(load(b), kResultFalse);
    // Read completely before anything is changed: nothing was taken over.
    EXPECT_EQ(values(), before);
    EXPECT_FALSE(processor->isBypassed());
    EXPECT_TRUE(processor->calls.empty());
}

TEST_F(State, UnknownIdsAreSkippedAndOutOfRangeValuesKept)
{
    Bytes b = stateHead();
    putU32(b, 3);
    putU32(b, 5); // no such parameter
    putF64(b, 1.0);
    putU32(b, 2); // "Max Concurrency", 1..8
    putF64(b, 20.0);
    putU32(b, 202);
    putF64(b, std::numeric_limits<double>::quiet_NaN()); // never handed to the engine
    ASSERT_EQ(load(b), kResultOk);
    EXPECT_DOUBLE_EQ(processor->getParameterValue(2), 20.0);
    EXPECT_DOUBLE_EQ(processor->getParameterValue(202), 0.3);
    const auto applied = processor->callsOf(Hook::ApplyParameter);
    ASSERT_EQ(applied.size(), 1u);
    EXPECT_EQ(applied[0].id, 2u);
    EXPECT_DOUBLE_EQ(applied[0].value, 20.0);
    // Parameters absent from the stream keep their values.
    EXPECT_DOUBLE_EQ(processor->getParameterValue(203), 50.0);
}

TEST_F(State, AbsurdLengthsAndCountsAreRefusedWithoutTouchingTheProcessor)
{
    const auto before = values();
    const uint32_t huge = 0x80000000u;
    std::vector<Bytes> streams;

    Bytes header;
    putU32(header, huge);
    header.insert(header.end(), {'2', '.', '0', 0});
    streams.push_back(header);

    Bytes lists = stateHead();
    lists.resize(lists.size() - 4);
    putU32(lists, huge);
    putU32(lists, 603);
    putU32(lists, 1);
    streams.push_back(lists);

    Bytes entry = stateHead();
    entry.resize(entry.size() - 4);
    putU32(entry, 1);
    putU32(entry, 603);
    putU32(entry, 1);
    putU32(entry, huge); // an entry of 2 GiB
    entry.insert(entry.end(), {'x', 0});
    streams.push_back(entry);

    Bytes pairs = stateHead();
    putU32(pairs, huge);
    putU32(pairs, 202);
    putF64(pairs, 0.9);
    streams.push_back(pairs);

    for (const Bytes& b : streams) {
        EXPECT_EQ(load(b), kResultFalse);
        EXPECT_EQ(values(), before);
        EXPECT_TRUE(processor->calls.empty());
    }
}

TEST_F(State, ExtraBytesAfterTheValuesAreLeftToTheExtraState)
{
    Bytes b = stateHead();
    putU32(b, 0);
    b.insert(b.end(), {1, 2, 3});
    ASSERT_EQ(load(b), kResultOk);
    EXPECT_EQ(processor->callsOf(Hook::ReadExtraState).size(), 1u);
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
    static Bytes fullState(bool bypass, double shift)
    {
        Bytes b = stateHead(bypass);
        putU32(b, 74);
        for (const auto& [id, record] : parameterTable()) {
            if (record.flags & kTransient) continue;
            putU32(b, id);
            putF64(b, record.min + (record.max - record.min) * shift);
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

    block.paramsIn.add(202, 0, 0.9);
    block.eventsIn.add(noteOn(0, 48));
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
    EXPECT_DOUBLE_EQ(processor->getParameterValue(202), 0.9);
    EXPECT_TRUE(processor->isBypassed());
    EXPECT_EQ(calls.front().hook, Hook::ApplyParameter) << "before any audio of the block";

    // Handed over once, applied once.
    run(256);
    EXPECT_TRUE(processor->callsOf(Hook::ApplyParameter).empty());
}

TEST_F(StateWhilePlaying, OnlyTheLatestOfSeveralStatesBeforeABlockIsApplied)
{
    ASSERT_EQ(load(fullState(false, 0.25)), kResultOk);
    const Bytes latest = fullState(false, 0.75);
    ASSERT_EQ(load(latest), kResultOk);
    EXPECT_EQ(save(), latest);
    run(256);
    const auto applied = processor->callsOf(Hook::ApplyParameter);
    ASSERT_EQ(applied.size(), 74u);
    EXPECT_DOUBLE_EQ(applied[1].value, 1.0 + 7.0 * 0.75) << "Max Concurrency";
    EXPECT_EQ(save(), latest);
}

TEST_F(StateWhilePlaying, ARefusedStateLeavesWhatWaitsUntouched)
{
    const Bytes restored = fullState(false, 0.5);
    ASSERT_EQ(load(restored), kResultOk);
    Bytes cut = fullState(true, 1.0);
    cut.resize(cut.size() - 3);
    EXPECT_EQ(load(cut), kResultFalse);
    EXPECT_EQ(save(), restored);
    run(256);
    EXPECT_EQ(processor->callsOf(Hook::ApplyParameter).size(), 74u);
    EXPECT_FALSE(processor->isBypassed());
}

TEST_F(StateWhilePlaying, DeactivatingAppliesWhatNoBlockTook)
{
    ASSERT_EQ(load(fullState(false, 0.5)), kResultOk);
    processor->calls.clear();
    processor->setActive(false);
    EXPECT_EQ(processor->callsOf(Hook::ApplyParameter).size(), 74u);
    EXPECT_DOUBLE_EQ(processor->getParameterValue(2), 4.5);

    // Inactive again: applied at once, within setState.
    ASSERT_EQ(load(fullState(false, 1.0)), kResultOk);
    EXPECT_EQ(processor->callsOf(Hook::ApplyParameter).size(), 74u);
    EXPECT_DOUBLE_EQ(processor->getParameterValue(2), 8.0);
}

// A parameter whose list travels with the state. The shipped table has none,
// so the test adds one to the module's table for the processor it creates.
TEST(StateLists, ListsOfListInStateParametersAreSavedAndRestored)
{
    configureModule();
    ParamRecord rec;
    rec.name = "Pattern";
    rec.kind = ParamKind::List;
    rec.flags = kListInState;
    rec.list = {"one", "two"};
    parameterTable().add(9000, rec);
    auto* processor = new RecordingProcessor();
    ASSERT_EQ(processor->initialize(nullptr), kResultOk);
    configureModule(); // the module's table as shipped again

    Steinberg::MemoryStream out;
    ASSERT_EQ(processor->getState(&out), kResultOk);
    const Bytes saved = bytesOf(out);
    ASSERT_EQ(saved.size(), kDefaultStateSize + 4 + 4 + (4 + 4) + (4 + 4) + 12);
    EXPECT_EQ(getU32(saved, 9), 1u);
    EXPECT_EQ(getU32(saved, 13), 9000u);
    EXPECT_EQ(getU32(saved, 17), 2u);
    EXPECT_EQ(getU32(saved, 21), 4u);
    EXPECT_EQ(std::string(saved.begin() + 25, saved.begin() + 29), std::string("one\0", 4));

    Bytes b = stateHead();
    b.resize(b.size() - 4);
    putU32(b, 3);
    putU32(b, 9000); // replaced
    putU32(b, 3);
    putText(b, "a");
    putText(b, "b");
    putText(b, "c");
    putU32(b, 603); // not a list-in-state parameter: dropped
    putU32(b, 1);
    putText(b, "zzz");
    putU32(b, 777); // unknown: dropped
    putU32(b, 0);
    putU32(b, 0);
    ByteStream in(b);
    ASSERT_EQ(processor->setState(in.get()), kResultOk);
    EXPECT_EQ(processor->parameters().findRecord(9000)->list, (std::vector<std::string>{"a", "b", "c"}));
    EXPECT_EQ(processor->parameters().findRecord(603)->list.front(), "1/32");

    // A block without entries keeps the list as it was.
    Bytes keep = stateHead();
    keep.resize(keep.size() - 4);
    putU32(keep, 1);
    putU32(keep, 9000);
    putU32(keep, 0);
    putU32(keep, 0);
    ByteStream keepIn(keep);
    ASSERT_EQ(processor->setState(keepIn.get()), kResultOk);
    EXPECT_EQ(processor->parameters().findRecord(9000)->list.size(), 3u);
    processor->terminate();
    processor->release();
}

} // namespace
} // namespace vexbit::test
