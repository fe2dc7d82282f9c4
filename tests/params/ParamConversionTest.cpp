#include "params/ParamConversion.h"
#include "params/ParameterTable.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using namespace vexbit;

namespace {

ParamRecord recordOf(void (*build)(ParameterTable&))
{
    ParameterTable t;
    build(t);
    return t.begin()->second;
}

} // namespace

TEST(ParamConversion, IntegerRoundsHalvesAwayFromZero)
{
    const ParamRecord r = recordOf([](ParameterTable& t) { t.addInteger(1, "i", 1, 8, 2, -1); });
    EXPECT_EQ(toPlain(0.5, r), 5.0); // 3.5 steps round up
    EXPECT_EQ(toPlain(0.0, r), 1.0);
    EXPECT_EQ(toPlain(1.0, r), 8.0);
    EXPECT_DOUBLE_EQ(toNormalized(2.0, r), 1.0 / 7.0);
}

TEST(ParamConversion, SwitchFlipsAtHalf)
{
    const ParamRecord r = recordOf([](ParameterTable& t) { t.addSwitch(1, "s", false, -1, true); });
    EXPECT_EQ(toPlain(0.49, r), 0.0);
    EXPECT_EQ(toPlain(0.5, r), 1.0);
    EXPECT_EQ(toNormalized(1.0, r), 1.0);
}

TEST(ParamConversion, OutOfRangeAndNanInputsAreClamped)
{
    const ParamRecord r = recordOf([](ParameterTable& t) { t.addLinear(1, "fb", 0, 0.9, 0.3, -1); });
    EXPECT_EQ(toNormalized(1.5, r), 1.0);
    EXPECT_EQ(toNormalized(-2.0, r), 0.0);
    EXPECT_EQ(toPlain(7.0, r), 0.9);
    EXPECT_EQ(toPlain(-1.0, r), 0.0);
    EXPECT_EQ(toPlain(std::numeric_limits<double>::quiet_NaN(), r), 0.0);
    EXPECT_EQ(toNormalized(std::numeric_limits<double>::quiet_NaN(), r), 0.0);
    EXPECT_DOUBLE_EQ(toPlain(toNormalized(0.45, r), r), 0.45);
}

TEST(ParamConversion, SkewedPutsOneTenthOfRangeAtHalf)
{
    const ParamRecord r = recordOf([](ParameterTable& t) { t.addSkewed(1, "freq", 20, 20000, 5000, 0.1, -1); });
    EXPECT_NEAR(toPlain(0.5, r), 2018.0, 1e-6);
    EXPECT_NEAR(toNormalized(2018.0, r), 0.5, 1e-9);
    EXPECT_EQ(toPlain(0.0, r), 20.0);
    EXPECT_EQ(toPlain(1.0, r), 20000.0);
    EXPECT_NEAR(toPlain(toNormalized(5000.0, r), r), 5000.0, 1e-9);
}

TEST(ParamConversion, DegenerateRangesAndTextGiveZero)
{
    ParamRecord point;
    point.min = point.max = 4.0;
    for (ParamKind kind : {ParamKind::Linear, ParamKind::Integer, ParamKind::Skewed, ParamKind::List}) {
        point.kind = kind;
        EXPECT_EQ(toNormalized(4.0, point), 0.0);
        EXPECT_EQ(toNormalized(100.0, point), 0.0);
        EXPECT_EQ(toPlain(0.7, point), 4.0);
    }
    ParamRecord text;
    text.kind = ParamKind::Text;
    text.list = {"hello"};
    EXPECT_EQ(toPlain(0.7, text), 0.0);
    EXPECT_EQ(toNormalized(0.7, text), 0.0);
    ParamRecord unknown;
    unknown.kind = static_cast<ParamKind>(42);
    EXPECT_EQ(toPlain(0.7, unknown), 0.0);
    EXPECT_EQ(toNormalized(0.7, unknown), 0.0);
}
