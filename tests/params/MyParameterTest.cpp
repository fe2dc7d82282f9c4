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

TEST(MyParameter, InfoFollowsTheRecordKind)
{
    const auto integer = tableParameter(2); // Max Concurrency, 1..8 default 2
    EXPECT_EQ(utf16ToUtf8(integer->getTitle(), 128), "Max Concurrency");
    EXPECT_EQ(integer->getInfo().stepCount, 7);
    EXPECT_EQ(integer->getInfo().flags, ParameterInfo::kCanAutomate);
    EXPECT_DOUBLE_EQ(integer->getInfo().defaultNormalizedValue, 1.0 / 7.0);
    EXPECT_DOUBLE_EQ(integer->getNormalized(), 1.0 / 7.0);
    EXPECT_EQ(integer->getPrecision(), 0);

    const auto list = tableParameter(102); // DelayLength, six entries, default 2
    EXPECT_EQ(list->getInfo().stepCount, 5);
    EXPECT_EQ(list->getInfo().flags, ParameterInfo::kCanAutomate | ParameterInfo::kIsList);
    EXPECT_STREQ(list->getSelectedString(), "1/4 Note");

    const auto linear = tableParameter(3); // NoEffect Exec Rate, 0..1200
    EXPECT_EQ(linear->getInfo().stepCount, 0);
    EXPECT_EQ(linear->getPrecision(), 0);
    EXPECT_EQ(tableParameter(203)->getPrecision(), 1); // max 500
    EXPECT_EQ(tableParameter(702)->getPrecision(), 2); // max 16
    EXPECT_EQ(tableParameter(202)->getPrecision(), 3); // max 1
    EXPECT_DOUBLE_EQ(tableParameter(902)->getNormalizedUnit(), 1.0 / 26.0);
    EXPECT_STREQ(tableParameter(202)->getSelectedString(), ""); // not a list
    EXPECT_TRUE(tableParameter(203)->isA("MyParameter"));
    EXPECT_TRUE(tableParameter(203)->isTypeOf("Parameter"));
}

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

TEST(MyParameter, ListIndexOutsideEntriesLeavesTextUntouched)
{
    ParamRecord r = listRecord({"a", "b"}, 0, 0);
    r.max = 5; // more steps than entries, as a stale record could have
    const auto p = makeParameter(1, r);
    String128 text = {u'k', u'e', u'e', u'p', 0};
    p->toString(1.0, text);
    EXPECT_EQ(utf16ToUtf8(text, 128), "keep");
    p->setNormalized(1.0);
    EXPECT_STREQ(p->getSelectedString(), "");
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

TEST(MyParameter, SetTextOnlyForTextKind)
{
    ParamRecord text;
    text.kind = ParamKind::Text;
    text.list = {"old"};
    const auto p = makeParameter(1, text);
    EXPECT_TRUE(p->setText("new"));
    EXPECT_EQ(p->getList().front(), "new");

    text.list.clear();
    EXPECT_FALSE(makeParameter(2, text)->setText("x"));
    EXPECT_FALSE(tableParameter(201)->setText("x"));
    EXPECT_EQ(tableParameter(201)->getList().front(), "Off");
}

TEST(MyParameter, StringListReplacementNeedsTheListInStateFlag)
{
    const auto fixed = makeParameter(1, listRecord({"a", "b", "c", "d", "e"}, 4, 0));
    EXPECT_FALSE(fixed->setStringList({"x", "y", "z"}));
    EXPECT_EQ(fixed->getList().size(), 5u);

    const auto replaceable = makeParameter(2, listRecord({"a", "b", "c", "d", "e"}, 4, kListInState));
    replaceable->setNormalized(0.25);
    EXPECT_TRUE(replaceable->setStringList({"x", "y", "z"}));
    EXPECT_EQ(replaceable->getInfo().stepCount, 2);
    EXPECT_EQ(replaceable->getMax(), 2.0);
    EXPECT_EQ(replaceable->getRecord().defaultValue, 2.0); // default 4 clamped into 0..2
    EXPECT_EQ(replaceable->getNormalized(), 1.0);
    EXPECT_STREQ(replaceable->getSelectedString(), "z");
    EXPECT_EQ(display(*replaceable, 0.5), "y");

    EXPECT_TRUE(replaceable->setStringList({}));
    EXPECT_EQ(replaceable->getInfo().stepCount, 0);
    EXPECT_STREQ(replaceable->getSelectedString(), "");
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
