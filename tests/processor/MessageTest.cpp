// Messages from the controller: replacement string lists and opaque data.

#include "processor/ProcessorFixture.h"
#include "common/ParameterIds.h"
#include "support/ControllerMessages.h"
#include "support/StateBytes.h"

#include "pluginterfaces/vst/ivstmessage.h"

#include <cstring>

namespace vexbit::test {
namespace {

constexpr ParamID kShufflerLength = 603;

class Messages : public ProcessorFixture {
protected:
    void SetUp() override
    {
        ProcessorFixture::SetUp();
        // Not active: a message is applied at once.
        processor->setActive(false);
    }
    static void setU32(IMessage& m, const char* key, uint32_t v) { m.getAttributes()->setBinary(key, &v, 4); }
    static void setText(IMessage& m, const char* key, const std::string& text)
    {
        m.getAttributes()->setBinary(key, text.c_str(), static_cast<uint32>(text.size() + 1));
    }
    const std::vector<std::string>& listOf(ParamID id) { return processor->parameters().findRecord(id)->list; }
};

TEST_F(Messages, AStringListReplacesTheEntriesResetsTheValueAndAppliesIt)
{
    processor->storeParameterValue(kShufflerLength, 3.0);
    processor->calls.clear();
    ASSERT_EQ(processor->notify(stringListMessage(kShufflerLength, {"x", "yy", "zzz"})), kResultOk);
    EXPECT_EQ(listOf(kShufflerLength), (std::vector<std::string>{"x", "yy", "zzz"}));
    EXPECT_STREQ(processor->getParameterText(kShufflerLength), "x");
    EXPECT_DOUBLE_EQ(processor->getParameterValue(kShufflerLength), 0.0);
    const auto applied = processor->callsOf(Hook::ApplyParameter);
    ASSERT_EQ(applied.size(), 1u);
    EXPECT_EQ(applied[0].id, kShufflerLength);
    EXPECT_DOUBLE_EQ(applied[0].value, 0.0);

    // The record is not saved with its list, but its value is.
    Steinberg::MemoryStream out;
    processor->getState(&out);
    const Bytes b = bytesOf(out);
    EXPECT_EQ(b.size(), 905u);
    EXPECT_EQ(getU32(b, 9), 0u);
    bool found = false;
    for (std::size_t p = 17; p < b.size(); p += 12)
        if (getU32(b, p) == kShufflerLength) {
            found = true;
            EXPECT_EQ(getF64(b, p + 4), 0.0);
        }
    EXPECT_TRUE(found);
}

TEST_F(Messages, MalformedStringListsAreRefusedAndChangeNothing)
{
    processor->storeParameterValue(kShufflerLength, 2.0);
    processor->calls.clear();

    auto shortTag = hostMessage("sendParamStringList");
    uint16_t two = 603;
    shortTag->getAttributes()->setBinary("tag", &two, 2);
    setU32(*shortTag, "listsize", 1);
    setText(*shortTag, "stringlist0", "a");

    auto noSize = hostMessage("sendParamStringList");
    setU32(*noSize, "tag", kShufflerLength);

    auto missingEntry = hostMessage("sendParamStringList");
    setU32(*missingEntry, "tag", kShufflerLength);
    setU32(*missingEntry, "listsize", 3);
    setText(*missingEntry, "stringlist0", "a");
    setText(*missingEntry, "stringlist2", "c");

    auto absurdCount = hostMessage("sendParamStringList");
    setU32(*absurdCount, "tag", kShufflerLength);
    setU32(*absurdCount, "listsize", 0x7fffffff);
    setText(*absurdCount, "stringlist0", "a");

    for (auto* msg : {shortTag.get(), noSize.get(), missingEntry.get(), absurdCount.get()}) {
        EXPECT_EQ(processor->notify(msg), kInvalidArgument);
        EXPECT_EQ(listOf(kShufflerLength).front(), "1/32");
        EXPECT_DOUBLE_EQ(processor->getParameterValue(kShufflerLength), 2.0);
        EXPECT_TRUE(processor->calls.empty());
    }
}

// While active, a message reaches the engine at the start of the next block.
TEST_F(Messages, WhilePlayingTheNextBlockAppliesListResetsAndDataInOrder)
{
    processor->setActive(true);
    processor->storeParameterValue(kShufflerLength, 3.0);
    processor->storeParameterValue(kGatorSpeedId, 16.0);
    const unsigned char payload[3] = {7, 8, 9};
    auto data = dataMessage(5, std::string(payload, payload + 3));

    processor->calls.clear();
    ASSERT_EQ(processor->notify(stringListMessage(kShufflerLength, {"x", "y"})), kResultOk);
    ASSERT_EQ(processor->notify(data), kResultOk);
    ASSERT_EQ(processor->notify(stringListMessage(kGatorSpeedId, {})), kResultOk);
    ASSERT_EQ(processor->notify(stringListMessage(kShufflerLength, {"p", "q"})), kResultOk);
    EXPECT_TRUE(processor->calls.empty()) << "nothing reaches the engine from the caller's thread";
    // The list is not the engine's: it changes at once, the value with the block.
    EXPECT_EQ(listOf(kShufflerLength), (std::vector<std::string>{"p", "q"}));
    EXPECT_DOUBLE_EQ(processor->getParameterValue(kShufflerLength), 3.0);

    block.paramsIn.add(kGatorSpeedId, 0, 1.0);
    const auto events = [&] {
        run(128);
        return processor->eventCalls();
    }();
    // Nothing sent is lost; a repeated reset counts once, in its latest place.
    ASSERT_GE(events.size(), 4u);
    EXPECT_EQ(events[0].hook, Hook::ApplyParameter);
    EXPECT_EQ(events[0].id, 902u);
    EXPECT_EQ(events[1].hook, Hook::ApplyParameter);
    EXPECT_EQ(events[1].id, kShufflerLength);
    EXPECT_DOUBLE_EQ(events[1].value, 0.0);
    EXPECT_EQ(events[2].hook, Hook::DataMessage);
    EXPECT_EQ(events[2].data, std::vector<unsigned char>(payload, payload + 3));
    EXPECT_EQ(events[3].hook, Hook::ApplyParameter) << "the block's own change comes after";
    EXPECT_EQ(events[3].id, 902u);
    EXPECT_DOUBLE_EQ(processor->getParameterValue(kGatorSpeedId), 30.0);
    for (std::size_t i = 0; i < 3; ++i) EXPECT_EQ(events[i].position, 0);
}

} // namespace
} // namespace vexbit::test
