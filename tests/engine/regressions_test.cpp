// Faults the fuzz targets and the randomized consistency test found, each kept as the smallest
// case that shows it (the fuzz corpora keep the inputs too).
#include "test_support.h"

namespace kestrum::test {
namespace {

class Regressions : public EngineTest {
protected:
    // Writes e and reads the file into a fresh engine.
    void readBack(Engine& fresh) {
        const std::string path = dir.file("saved.xml");
        ASSERT_OK(e.WriteUnitDatabase(path));
        ASSERT_OK(fresh.ReadUnitDatabase(path, OVERWRITE));
    }
};

// A vector that holds -999 after its first element is written as it is; reading the file
// cleared that exponent to 0, since the reader turned every -999 into 0 after each exponent
// it set, the one just set and ones set before it in the same element included.
TEST_F(Regressions, AnExponentOfMinus999SurvivesASave) {
    const std::vector<std::int16_t> vector = {0, -999, 1, -999, 0, 0, 0, 0, 0, 2};
    ASSERT_OK(e.Quantity_Add("Odd"));
    ASSERT_OK(e.Quantity_DimVector_Replace("Odd", vector));
    Engine fresh;
    readBack(fresh);
    std::vector<std::int16_t> read;
    ASSERT_OK(fresh.Quantity_DimVector("Odd", read));
    EXPECT_EQ(read, vector);
    EXPECT_EQ(dump(fresh), dump(e));
}

// A unit given a factor and, directly, the sentinel as its offset: asking for the offset set
// the factor to 0 as well, after it had been read as given, so a save wrote a factor of 0.
TEST_F(Regressions, AskingForAnUnknownOffsetLeavesTheGivenFactor) {
    addQuantity(e, "Length", {0, 1});
    addUnit(e, "ft", "Length", 0.3048);
    ASSERT_OK(e.Unit_ConversionOffset_Replace("ft", UNDEFINED_VALUE));
    double factor = 0, offset = -1;
    ASSERT_OK(e.Unit_ConversionFactor("ft", factor));
    ASSERT_OK(e.Unit_ConversionOffset("ft", offset));
    EXPECT_EQ(offset, 0.0);
    ASSERT_OK(e.Unit_ConversionFactor("ft", factor));
    EXPECT_EQ(factor, 0.3048);
    Engine fresh;
    readBack(fresh);
    ASSERT_OK(fresh.Unit_ConversionFactor("ft", factor));
    EXPECT_EQ(factor, 0.3048);
    // The other way round, as before: an unknown factor reads as 0 and the offset stays.
    addUnit(e, "degX", "Length", 1, 5);
    ASSERT_OK(e.Unit_ConversionFactor_Replace("degX", UNDEFINED_VALUE));
    ASSERT_OK(e.Unit_ConversionFactor("degX", factor));
    ASSERT_OK(e.Unit_ConversionOffset("degX", offset));
    EXPECT_EQ(factor, 0.0);
    EXPECT_EQ(offset, 5.0);
}

// Two finite factors far apart gave a conversion that succeeded with an infinite factor or add
// term; the pair is refused now, as the evaluator refuses a factor that overflows, and the
// outputs are left alone.
TEST_F(Regressions, AConversionThatOverflowsIsRefused) {
    addQuantity(e, "Temperature", {0, 0, 0, 0, 1});
    addUnit(e, "degC", "Temperature", 1, 273.15);
    struct Row {
        const char* from;
        const char* to;
    };
    for (const Row& row : {Row{"1e30*10", "1e-308/1e10"}, Row{"degC", "1e-307"}, Row{"1e300", "1e-300"}}) {
        double add = 7, multiplyBy = 7;
        EXPECT_RC(E_INVALID_EXPRESSION, e.UnitExpression_Convert(row.from, row.to, add, multiplyBy)) << row.from;
        EXPECT_EQ(add, 7);
        EXPECT_EQ(multiplyBy, 7);
    }
    // Far apart, yet within range: still converts.
    double add = 0, multiplyBy = 0;
    ASSERT_OK(e.UnitExpression_Convert("1e300", "1e-7", add, multiplyBy));
    EXPECT_TRUE(near(multiplyBy, 1e307));
    ASSERT_OK(e.UnitExpression_Convert("degC", "1e-200", add, multiplyBy));
    EXPECT_TRUE(near(add, 273.15e200));
}

}  // namespace
}  // namespace kestrum::test
