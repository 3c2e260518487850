// Long chains of definitions and deep nesting: within the evaluation depth bound they work out
// exactly; beyond it they fail as a corrupt database, never by running out of stack.
#include "evaluation_depth.h"
#include "test_support.h"

#include <cmath>

namespace kestrum::test {
namespace {

using LongChains = SmallDatabaseTest;

TEST_F(LongChains, AUnitChainWithinTheBoundConverts) {
    // Each level is one evaluation deep; the conversion itself takes one more.
    const int levels = kMaxEvaluationDepth - 2;
    addUnitExpression(e, "c0", "Length", "m");
    for (int i = 1; i <= levels; ++i)
        addUnitExpression(e, "c" + std::to_string(i), "Length", "c" + std::to_string(i - 1) + "*1.001");
    const std::string top = "c" + std::to_string(levels);
    EXPECT_TRUE(near(convert(1, top, "m"), std::pow(1.001, levels), 1e-9));
    EXPECT_TRUE(near(convert(1, "c10", "m"), std::pow(1.001, 10), 1e-12));
}

TEST_F(LongChains, AUnitChainBeyondTheBoundIsCorrupt) {
    const int levels = 5 * kMaxEvaluationDepth;
    addUnitExpression(e, "c0", "Length", "m");
    for (int i = 1; i <= levels; ++i)
        addUnitExpression(e, "c" + std::to_string(i), "Length", "c" + std::to_string(i - 1));
    double add = 0, multiplyBy = 0, factor = 0;
    EXPECT_RC(E_UDB_CORRUPT, e.UnitExpression_Convert("c" + std::to_string(levels), "m", add, multiplyBy));
    ASSERT_OK(e.Unit_ConversionFactor("c" + std::to_string(levels), factor));
    EXPECT_EQ(factor, UNDEFINED_VALUE);
}

TEST_F(LongChains, AQuantityChainWithinTheBoundHasItsVector) {
    const int levels = kMaxEvaluationDepth - 2;
    addQuantityExpression(e, "q0", "Length");
    for (int i = 1; i <= levels; ++i)
        addQuantityExpression(e, "q" + std::to_string(i), "q" + std::to_string(i - 1) + "*Time/Time");
    std::vector<std::int16_t> vector;
    ASSERT_OK(e.Quantity_DimVector("q" + std::to_string(levels), vector));
    EXPECT_EQ(vector, (std::vector<std::int16_t>{0, 1, 0, 0, 0, 0, 0, 0, 0, 0}));
    double add = 0, multiplyBy = 0;
    ASSERT_OK(e.QuantityExpression_Convert("SI", "English", "q" + std::to_string(levels - 2), add, multiplyBy));
    EXPECT_TRUE(near(multiplyBy, 1 / 0.3048));
}

TEST_F(LongChains, AQuantityChainBeyondTheBoundIsCorrupt) {
    const int levels = 5 * kMaxEvaluationDepth;
    addQuantityExpression(e, "q0", "Length");
    for (int i = 1; i <= levels; ++i)
        addQuantityExpression(e, "q" + std::to_string(i), "q" + std::to_string(i - 1));
    std::vector<std::int16_t> vector;
    ASSERT_OK(e.Quantity_DimVector("q" + std::to_string(levels), vector));
    EXPECT_EQ(vector[0], UNSET_EXPONENT);
    double add = 0, multiplyBy = 0;
    std::string symbol;
    EXPECT_RC(E_UDB_CORRUPT,
              e.QuantityExpression_Convert("SI", "English", "q" + std::to_string(levels), add, multiplyBy));
    EXPECT_RC(E_UDB_CORRUPT, e.QuantityExpression_Symbol("SI", "q" + std::to_string(levels), symbol));
}

TEST_F(LongChains, DeeplyNestedGroupsEvaluate) {
    // 124 nested groups fill 500 characters; each is one evaluation deep.
    std::string expression = "km*m";
    while (expression.size() + 6 <= 500) expression = "(m*" + expression + ")*m";
    ASSERT_LE(expression.size(), 500u);
    EXPECT_TRUE(near(convert(1, expression, "m"), 1000));
    std::string quantity = "Length*Time";
    while (quantity.size() + 14 <= 500) quantity = "(Time*" + quantity + ")/Time";
    std::string symbol;
    ASSERT_OK(e.QuantityExpression_Symbol("SI", quantity, symbol));
    EXPECT_EQ(symbol, "s.m");
}

}  // namespace
}  // namespace kestrum::test
