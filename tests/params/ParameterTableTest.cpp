#include "params/ParameterTable.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

using namespace vexbit;

TEST(ParameterTable, LinearRangeIsOrderedAndDefaultClampedIntoIt)
{
    ParameterTable t;
    t.addLinear(1, "swapped", 5, 1, 3, -1);
    t.addLinear(2, "low", 0, 10, -4, -1);
    t.addLinear(3, "high", 0, 10, 40, 7);
    t.addLinear(4, "nan", 2, 10, NAN, -1);

    EXPECT_EQ(t.find(1)->min, 1.0);
    EXPECT_EQ(t.find(1)->max, 5.0);
    EXPECT_EQ(t.find(1)->defaultValue, 3.0);
    EXPECT_EQ(t.find(2)->defaultValue, 0.0);
    EXPECT_EQ(t.find(3)->defaultValue, 10.0);
    EXPECT_EQ(t.find(3)->midiController, 7);
    EXPECT_EQ(t.find(4)->defaultValue, 2.0);
    EXPECT_EQ(t.find(1)->kind, ParamKind::Linear);
    EXPECT_EQ(t.find(1)->flags, 0u);
    EXPECT_TRUE(t.find(1)->units.empty());
}

TEST(ParameterTable, SkewExponentPutsMidFractionAtHalfway)
{
    ParameterTable t;
    t.addSkewed(1, "tenth", 0, 1, 0, 0.1, -1);
    t.addSkewed(2, "negative mid", 0, 1, 0, -0.5, -1);
    t.addSkewed(3, "quarter", 0, 1, 0, 0.25, -1);
    t.addLinear(4, "linear", 0, 1, 0, -1);

    EXPECT_NEAR(t.find(1)->skewExponent, 3.321928, 1e-6);
    EXPECT_NEAR(t.find(2)->skewExponent, 3.321928, 1e-6);
    EXPECT_NEAR(t.find(3)->skewExponent, 2.0, 1e-12);
    EXPECT_NEAR(t.find(4)->skewExponent, 3.321928, 1e-6);
}

TEST(ParameterTable, IteratesInAscendingIdOrderAndReplacesEqualIds)
{
    ParameterTable t;
    t.addLinear(900, "c", 0, 1, 0, -1);
    t.addLinear(2, "a", 0, 1, 0, -1);
    t.addLinear(100, "b", 0, 1, 0, -1);
    t.addInteger(2, "replaced", 0, 4, 1, -1);

    std::vector<ParamID> ids;
    for (const auto& [id, record] : t) ids.push_back(id);
    EXPECT_EQ(ids, (std::vector<ParamID>{2, 100, 900}));
    EXPECT_EQ(t.find(2)->name, "replaced");
    EXPECT_EQ(t.find(2)->kind, ParamKind::Integer);
    EXPECT_EQ(t.find(3), nullptr);
}
