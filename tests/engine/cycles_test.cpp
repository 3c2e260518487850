// Definitions that refer to themselves, and chains and webs of definitions: a cycle is a
// corrupt database, reported with a code (never a stack overflow or a hang), and no chain costs
// more than one evaluation per definition, whether it succeeds or fails.
#include "test_support.h"

namespace kestrum::test {
namespace {

using Cycles = SmallDatabaseTest;

TEST_F(Cycles, AUnitDefinedThroughItselfIsCorrupt) {
    addUnitExpression(e, "self", "Length", "2*self");
    addUnitExpression(e, "a", "Length", "b");
    addUnitExpression(e, "b", "Length", "c*2");
    addUnitExpression(e, "c", "Length", "(a*m)");
    addUnitExpression(e, "user", "Length", "km*b");  // not in the cycle, but depends on it
    for (const char* unit : {"self", "a", "b", "c", "user"}) {
        double factor = 0, offset = 0, add = 0, multiplyBy = 0;
        ASSERT_OK(e.Unit_ConversionFactor(unit, factor)) << unit;
        ASSERT_OK(e.Unit_ConversionOffset(unit, offset)) << unit;
        EXPECT_EQ(factor, UNDEFINED_VALUE) << unit;
        EXPECT_EQ(offset, UNDEFINED_VALUE) << unit;
        EXPECT_RC(E_UDB_CORRUPT, e.UnitExpression_Convert(unit, "m", add, multiplyBy)) << unit;
        EXPECT_RC(E_UDB_CORRUPT, e.UnitExpression_Convert("m", unit, add, multiplyBy)) << unit;
    }
    // Breaking the cycle makes every unit of it work.
    ASSERT_OK(e.Unit_Expression_Replace("c", "km"));
    EXPECT_TRUE(near(convert(1, "a", "m"), 2000));
    EXPECT_TRUE(near(convert(1, "user", "m"), 2e6));
}

TEST_F(Cycles, AQuantityDefinedThroughItselfHasNoVector) {
    addQuantityExpression(e, "Loop", "Loop*Length");
    addQuantityExpression(e, "P", "Q/Time");
    addQuantityExpression(e, "Q", "(P*Length)");
    addQuantityExpression(e, "User", "Mass*P");
    for (const char* quantity : {"Loop", "P", "Q", "User"}) {
        std::vector<std::int16_t> vector;
        ASSERT_OK(e.Quantity_DimVector(quantity, vector)) << quantity;
        EXPECT_EQ(vector, std::vector<std::int16_t>(kBaseDimensions, UNSET_EXPONENT)) << quantity;
    }
    // A unit of such a quantity still converts by its factor; its dimensions match nothing.
    addUnit(e, "loopy", "Loop", 2);
    EXPECT_TRUE(near(convert(1, "loopy", "m"), 2));
    ASSERT_OK(e.EnableDimensionalAnalysis(true));
    double add = 0, multiplyBy = 0;
    EXPECT_RC(E_DIMENSIONS_DIFFER, e.UnitExpression_Convert("loopy", "m", add, multiplyBy));

    ASSERT_OK(e.Quantity_Expression_Replace("Q", "Length^2"));
    std::vector<std::int16_t> vector;
    ASSERT_OK(e.Quantity_DimVector("User", vector));
    EXPECT_EQ(vector, (std::vector<std::int16_t>{1, 2, -1, 0, 0, 0, 0, 0, 0, 0}));
}

TEST_F(Cycles, TranslatingACyclicQuantityIntoPreferredUnitsIsCorrupt) {
    addQuantityExpression(e, "P", "Q/Time");
    addQuantityExpression(e, "Q", "(P*Length)");
    addQuantityExpression(e, "Self", "Mass*Self");
    double add = 0, multiplyBy = 0;
    std::string symbol;
    for (const char* expression : {"P", "Q", "Length*P", "Self", "Time/(Self*Length)"}) {
        EXPECT_RC(E_UDB_CORRUPT, e.QuantityExpression_Convert("SI", "English", expression, add, multiplyBy))
            << expression;
        EXPECT_RC(E_UDB_CORRUPT, e.QuantityExpression_Symbol("SI", expression, symbol)) << expression;
    }
    // With a preferred unit the quantity's definition is not needed at all.
    addUnit(e, "pu", "P", 3);
    setPreferred(e, "SI", "P", "pu");
    setPreferred(e, "English", "P", "pu");
    ASSERT_OK(e.QuantityExpression_Convert("SI", "English", "P", add, multiplyBy));
    EXPECT_EQ(multiplyBy, 1.0);
}

TEST_F(Cycles, AFailingChainFailsAtOnceAndWorksOnceRepaired) {
    // Were failures not remembered, each level would evaluate the one below twice (factor and
    // offset), and this chain would take 2^64 evaluations.
    constexpr int kLevels = 64;
    addUnitExpression(e, "u0", "Length", "furlong");
    for (int i = 1; i <= kLevels; ++i)
        addUnitExpression(e, "u" + std::to_string(i), "Length", "u" + std::to_string(i - 1));
    double factor = 0, add = 0, multiplyBy = 0;
    ASSERT_OK(e.Unit_ConversionFactor("u64", factor));
    EXPECT_EQ(factor, UNDEFINED_VALUE);
    EXPECT_RC(E_UDB_CORRUPT, e.UnitExpression_Convert("u64", "m", add, multiplyBy));
    EXPECT_RC(E_UDB_CORRUPT, e.UnitExpression_Convert("u0", "m", add, multiplyBy));

    addUnit(e, "furlong", "Length", 201.168);
    ASSERT_OK(e.Unit_ConversionFactor("u64", factor));
    EXPECT_EQ(factor, 201.168);
    EXPECT_TRUE(near(convert(1, "u64", "u32"), 1));

    // The same for quantities.
    addQuantityExpression(e, "q0", "Furlongs");
    for (int i = 1; i <= kLevels; ++i)
        addQuantityExpression(e, "q" + std::to_string(i), "q" + std::to_string(i - 1) + "*Mass/Mass");
    std::vector<std::int16_t> vector;
    ASSERT_OK(e.Quantity_DimVector("q64", vector));
    EXPECT_EQ(vector[0], UNSET_EXPONENT);
    addQuantity(e, "Furlongs", {0, 1});
    ASSERT_OK(e.Quantity_DimVector("q64", vector));
    EXPECT_EQ(vector, (std::vector<std::int16_t>{0, 1, 0, 0, 0, 0, 0, 0, 0, 0}));
}

TEST_F(Cycles, DefinitionsUsedSeveralTimesAreWorkedOutOnce) {
    // Every level names the one below three times: 3^40 evaluations if nothing were kept.
    constexpr int kLevels = 40;
    addUnitExpression(e, "v0", "Length", "km");
    addQuantityExpression(e, "w0", "Length");
    for (int i = 1; i <= kLevels; ++i) {
        const std::string below = std::to_string(i - 1);
        addUnitExpression(e, "v" + std::to_string(i), "Length", "v" + below + "/v" + below + "*v" + below);
        addQuantityExpression(e, "w" + std::to_string(i), "w" + below + "/w" + below + "*w" + below);
    }
    const std::string top = std::to_string(kLevels);
    EXPECT_TRUE(near(convert(1, "v" + top, "m"), 1000));
    std::vector<std::int16_t> vector;
    ASSERT_OK(e.Quantity_DimVector("w" + top, vector));
    EXPECT_EQ(vector[1], 1);
    // Translating the top quantity into preferred units walks its definitions the same way.
    double add = 0, multiplyBy = 0;
    ASSERT_OK(e.QuantityExpression_Convert("SI", "English", "w" + top, add, multiplyBy));
    EXPECT_TRUE(near(multiplyBy, 1 / 0.3048));
    std::string symbol;
    ASSERT_OK(e.QuantityExpression_Symbol("English", "w" + top + "*Time", symbol));
    EXPECT_EQ(symbol, "ft.h");
}

}  // namespace
}  // namespace kestrum::test
