#include "state/ProcessorStateImage.h"
#include "common/ParameterIds.h"

#include "support/StateBytes.h"

#include "public.sdk/source/common/memorystream.h"

#include <gtest/gtest.h>

#include <cstring>

namespace vexbit {
namespace {

using Steinberg::MemoryStream;
using test::StateBytes;

// A stream over a copy of the bytes, read from the start.
struct Stream {
    explicit Stream(const std::string& bytes)
    {
        int32_t written = 0;
        memory.write(const_cast<char*>(bytes.data()), static_cast<int32_t>(bytes.size()), &written);
        memory.seek(0, Steinberg::IBStream::kIBSeekSet, nullptr);
    }
    MemoryStream memory;
};

StateReadResult read(const StateBytes& b, ProcessorStateImage& image)
{
    Stream s(b.bytes);
    return readProcessorState(s.memory, "2.0", image);
}

TEST(ProcessorStateImage, ReadsEveryFieldAndStopsInFrontOfTheExtraState)
{
    StateBytes b;
    b.header().u8(1).u32(2).list(603, {"1/32", "1/8"}).list(7, {}).u32(3);
    b.value(1, 1.0).value(kDelayTimeId, 123.5).value(5, -2.0).raw("EXTRA");
    Stream s(b.bytes);
    ProcessorStateImage image;
    ASSERT_EQ(readProcessorState(s.memory, "2.0", image), StateReadResult::Complete);

    EXPECT_EQ(image.header, "2.0");
    EXPECT_EQ(image.bypass, true);
    ASSERT_EQ(image.lists.size(), 2u);
    EXPECT_EQ(image.lists[0].id, 603u);
    EXPECT_EQ(image.lists[0].entries, (std::vector<std::string>{"1/32", "1/8"}));
    EXPECT_TRUE(image.lists[1].entries.empty());
    ASSERT_EQ(image.values.size(), 3u);
    EXPECT_EQ(image.values[1].id, 203u);
    EXPECT_DOUBLE_EQ(image.values[1].plain, 123.5);
    EXPECT_DOUBLE_EQ(image.values[2].plain, -2.0);

    char rest[8] = {};
    Steinberg::int32 got = 0;
    s.memory.read(rest, 8, &got);
    EXPECT_EQ(std::string(rest, static_cast<size_t>(got)), "EXTRA");
}

TEST(ProcessorStateImage, AnotherHeaderIsRefusedBeforeAnythingElseIsRead)
{
    ProcessorStateImage image;
    EXPECT_EQ(read(StateBytes().header("2.1").u8(1).u32(0).u32(0), image), StateReadResult::WrongHeader);
    EXPECT_FALSE(image.bypass.has_value());
    EXPECT_EQ(read(StateBytes().header("").u8(1), image), StateReadResult::WrongHeader);
    EXPECT_EQ(read(StateBytes().raw("\x04\x00"), image), StateReadResult::WrongHeader);
    EXPECT_EQ(read(StateBytes(), image), StateReadResult::WrongHeader);
}

TEST(ProcessorStateImage, AStateCutShortKeepsWhatCameBeforeTheCut)
{
    StateBytes full;
    full.header().u8(1).u32(1).list(20, {"one", "two"}).u32(2).value(1, 1.0).value(2, 5.0);

    // Cut at every byte: the image never holds a half-read entry.
    for (size_t cut = 0; cut < full.bytes.size(); ++cut) {
        StateBytes b;
        b.bytes = full.bytes.substr(0, cut);
        ProcessorStateImage image;
        const StateReadResult result = read(b, image);
        EXPECT_NE(result, StateReadResult::Complete) << "cut at " << cut;
        for (const auto& list : image.lists) EXPECT_EQ(list.entries.size(), 2u) << "cut at " << cut;
        if (cut >= 9) {
            EXPECT_EQ(image.bypass, true) << "cut at " << cut;
        }
    }

    StateBytes cutInValues;
    cutInValues.bytes = full.bytes.substr(0, full.bytes.size() - 3);
    ProcessorStateImage image;
    EXPECT_EQ(read(cutInValues, image), StateReadResult::Damaged);
    ASSERT_EQ(image.values.size(), 1u);
    EXPECT_EQ(image.values[0].id, 1u);
}

TEST(ProcessorStateImage, ByteCountsThatAreNegativeOrBeyondTheStreamAreRefused)
{
    ProcessorStateImage image;
    EXPECT_EQ(read(StateBytes().i32(-1).raw("2.0"), image), StateReadResult::WrongHeader);
    EXPECT_EQ(read(StateBytes().i32(0x7FFFFFFF).raw("2.0"), image), StateReadResult::WrongHeader);

    StateBytes negativeEntry;
    negativeEntry.header().u8(0).u32(1).u32(20).u32(1).i32(-4).raw("abcd").u32(0);
    EXPECT_EQ(read(negativeEntry, image), StateReadResult::Damaged);
    EXPECT_TRUE(image.lists.empty());

    StateBytes hugeEntry;
    hugeEntry.header().u8(0).u32(1).u32(20).u32(1).u32(0x7FFFFFF0).raw("abcd").u32(0);
    EXPECT_EQ(read(hugeEntry, image), StateReadResult::Damaged);

    // An absurd entry count only fails when the entries run out.
    StateBytes manyEntries;
    manyEntries.header().u8(0).u32(1).u32(20).u32(0xFFFFFFFF).text("x");
    EXPECT_EQ(read(manyEntries, image), StateReadResult::Damaged);
}

// A host stream that can neither tell nor seek: lengths cannot be checked in
// advance, so reading must still not allocate for bytes that never arrive.
class ForwardOnlyStream : public Steinberg::IBStream {
public:
    explicit ForwardOnlyStream(std::string bytes) : bytes(std::move(bytes)) {}
    Steinberg::tresult PLUGIN_API read(void* buffer, Steinberg::int32 n, Steinberg::int32* got) override
    {
        const auto count = std::min<size_t>(static_cast<size_t>(n), bytes.size() - pos);
        std::memcpy(buffer, bytes.data() + pos, count);
        pos += count;
        if (got) *got = static_cast<Steinberg::int32>(count);
        return Steinberg::kResultOk;
    }
    Steinberg::tresult PLUGIN_API write(void*, Steinberg::int32, Steinberg::int32*) override
    {
        return Steinberg::kNotImplemented;
    }
    Steinberg::tresult PLUGIN_API seek(Steinberg::int64, Steinberg::int32, Steinberg::int64*) override
    {
        return Steinberg::kNotImplemented;
    }
    Steinberg::tresult PLUGIN_API tell(Steinberg::int64*) override { return Steinberg::kNotImplemented; }
    Steinberg::tresult PLUGIN_API queryInterface(const Steinberg::TUID, void** obj) override
    {
        *obj = nullptr;
        return Steinberg::kNoInterface;
    }
    Steinberg::uint32 PLUGIN_API addRef() override { return 1; }
    Steinberg::uint32 PLUGIN_API release() override { return 1; }

private:
    std::string bytes;
    size_t pos = 0;
};

} // namespace
} // namespace vexbit
