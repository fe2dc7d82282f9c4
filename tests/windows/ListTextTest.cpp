// List entries with characters beyond the Basic Multilingual Plane (stored as
// surrogate pairs in the SDK's 16-bit strings, whose unit is wchar_t on
// Windows) read back the same through the controller, whether a list was sent
// or restored from a state.
#include "controller/ControllerTestKit.h"
#include "support/StateBytes.h"

#include "common/Utf.h"

#include "public.sdk/source/common/memorystream.h"
#include "public.sdk/source/vst/hosting/hostclasses.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace vexbit {
namespace {

using namespace Steinberg;
using namespace Steinberg::Vst;

// U+1D11E MUSICAL SYMBOL G CLEF and U+1F600 GRINNING FACE, and a plain entry.
const std::vector<std::string> kEntries{"\xF0\x9D\x84\x9E clef", "smile \xF0\x9F\x98\x80", "plain"};

class ListText : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_EQ(controller->initialize(&host), kResultOk);
        controller->connect(peer);
    }
    void TearDown() override { controller->terminate(); }

    // Every entry as the host reads it back: text by value, and value by text.
    void expectEntriesReadBack()
    {
        const double last = static_cast<double>(kEntries.size() - 1);
        for (std::size_t i = 0; i < kEntries.size(); ++i) {
            const double normalized = static_cast<double>(i) / last;
            String128 text = {};
            ASSERT_EQ(controller->getParamStringByValue(test::kPattern, normalized, text), kResultOk);
            EXPECT_EQ(utf16ToUtf8(text, 128), kEntries[i]);
            ParamValue parsed = -1.0;
            EXPECT_EQ(controller->getParamValueByString(test::kPattern, text, parsed), kResultOk) << kEntries[i];
            EXPECT_DOUBLE_EQ(parsed, normalized);
        }
        String128 first = {};
        controller->getParamStringByValue(test::kPattern, 0.0, first);
        EXPECT_EQ(static_cast<char16_t>(first[0]), 0xD834) << "a surrogate pair, one unit each";
        EXPECT_EQ(static_cast<char16_t>(first[1]), 0xDD1E);
    }

    Steinberg::Vst::HostApplication host;
    IPtr<test::RecordingController> controller = owned(new test::RecordingController(test::kitTable()));
    IPtr<test::RecordingPeer> peer = owned(new test::RecordingPeer());
};

TEST_F(ListText, ASentListReadsBackAndTravelsAsUtf8)
{
    ASSERT_EQ(controller->setParamStringList(test::kPattern, kEntries, true), kResultOk);
    expectEntriesReadBack();

    ASSERT_EQ(peer->received.size(), 1u);
    const auto& message = peer->received[0];
    EXPECT_EQ(message.id, "sendParamStringList");
    EXPECT_EQ(message.binary.at("stringlist0"), kEntries[0] + '\0');
    EXPECT_EQ(message.binary.at("stringlist1"), kEntries[1] + '\0');
}

TEST_F(ListText, AListGivenInUtf16ReadsBackTheSame)
{
    std::vector<std::u16string> units;
    for (const std::string& entry : kEntries) units.push_back(utf8ToUtf16(entry));
    ASSERT_EQ(controller->setParamStringList(test::kPattern, units), kResultOk);
    expectEntriesReadBack();
}

TEST_F(ListText, ARestoredListReadsBack)
{
    test::StateBytes state;
    state.header().u8(0).u32(1).list(test::kPattern, kEntries).u32(0);
    auto stream = owned(new MemoryStream());
    stream->write(state.bytes.data(), static_cast<int32>(state.bytes.size()), nullptr);
    stream->seek(0, IBStream::kIBSeekSet, nullptr);
    ASSERT_EQ(controller->setComponentState(stream), kResultOk);
    expectEntriesReadBack();
}

} // namespace
} // namespace vexbit
