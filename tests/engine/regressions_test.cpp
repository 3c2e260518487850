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

}  // namespace
}  // namespace kestrum::test
