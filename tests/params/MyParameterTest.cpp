#include "product/ModuleConfig.h"
#include "params/MyParameter.h"
#include "common/Utf.h"

#include "base/source/fobject.h"

#include <gtest/gtest.h>

#include <string>

using namespace vexbit;
using Steinberg::Vst::ParameterInfo;
using Steinberg::Vst::String128;

namespace {

// A parameter set up the way the controller does it.
Steinberg::IPtr<MyParameter> makeParameter(ParamID id, const ParamRecord& record)
{
    auto p = Steinberg::owned(new MyParameter());
    p->getInfo().id = id;
    p->getInfo().unitId = Steinberg::Vst::kRootUnitId;
    EXPECT_TRUE(p->setRecord(record));
    return p;
}

Steinberg::IPtr<MyParameter> tableParameter(ParamID id)
{
    configureModule();
    return makeParameter(id, *parameterTable().find(id));
}

std::string display(const MyParameter& p, double normalized)
{
    String128 text = {};
    p.toString(normalized, text);
    return utf16ToUtf8(text, 128);
}

bool parse(const MyParameter& p, const std::u16string& text, double& out)
{
    return p.fromString(reinterpret_cast<const Steinberg::Vst::TChar*>(text.c_str()), out);
}

ParamRecord listRecord(std::vector<std::string> entries, double defaultIndex, uint32_t flags)
{
    ParameterTable t;
    t.addList(1, "list", std::move(entries), defaultIndex, -1);
    ParamRecord r = *t.find(1);
    r.flags = flags;
    return r;
}

} // namespace

TEST(MyParameter, DisplayTexts)
{
    EXPECT_EQ(display(*tableParameter(202), 0.3), "0.300");
    EXPECT_EQ(display(*tableParameter(203), tableParameter(203)->toNormalized(50)), "50.0");
    EXPECT_EQ(display(*tableParameter(402), tableParameter(402)->toNormalized(5000)), "5000");
    EXPECT_EQ(display(*tableParameter(2), 1.0 / 7.0), "2");
    EXPECT_EQ(display(*tableParameter(703), 0.0), "-48.00");

    const auto onOff = tableParameter(201);
    EXPECT_EQ(display(*onOff, 0.49), "Off");
    EXPECT_EQ(display(*onOff, 0.5), "On");
    EXPECT_EQ(display(*tableParameter(603), 0.25), "1/16");
}

TEST(MyParameter, ParsesNumbersAndExactListEntries)
{
    double out = -1.0;
    const auto feedback = tableParameter(204); // 0..0.9
    EXPECT_TRUE(parse(*feedback, u"0.45", out));
    EXPECT_DOUBLE_EQ(out, 0.5);
    EXPECT_TRUE(parse(*feedback, u"1.5", out));
    EXPECT_EQ(out, 1.0);
    EXPECT_TRUE(parse(*feedback, u" 0.9 dB", out));
    EXPECT_EQ(out, 1.0);
    out = -1.0;
    EXPECT_FALSE(parse(*feedback, u"abc", out));
    EXPECT_FALSE(parse(*feedback, u"", out));
    EXPECT_FALSE(feedback->fromString(nullptr, out));
    EXPECT_EQ(out, -1.0);

    const auto onOff = tableParameter(201);
    EXPECT_TRUE(parse(*onOff, u"On", out));
    EXPECT_EQ(out, 1.0);
    EXPECT_FALSE(parse(*onOff, u"on", out));
    EXPECT_TRUE(parse(*tableParameter(102), u"1/2 Note", out));
    EXPECT_DOUBLE_EQ(out, 0.6);
}

TEST(MyParameter, LongTitlesAndEntriesAreCutWithoutSplittingCharacters)
{
    ParamRecord r = listRecord({std::string(200, 'e')}, 0, 0);
    r.name = std::string(126, 'a') + "\xF0\x9F\x8E\xB8"; // the pair would need units 126 and 127
    const auto p = makeParameter(1, r);
    EXPECT_EQ(utf16ToUtf8(p->getTitle(), 128), std::string(126, 'a'));
    EXPECT_EQ(p->getTitle()[127], 0);
    EXPECT_EQ(display(*p, 0.0), std::string(127, 'e'));
}
