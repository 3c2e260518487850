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

}  // namespace
}  // namespace kestrum::test
