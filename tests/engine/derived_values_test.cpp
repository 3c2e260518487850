// Values worked out from expressions (unit factors and offsets, quantity vectors, remembered
// failures, conversions) never outlive a change of what they depend on: every edit and every
// read is followed by fresh values.
#include "test_support.h"

namespace kestrum::test {
namespace {

class DerivedValues : public SmallDatabaseTest {
protected:
    void SetUp() override {
        SmallDatabaseTest::SetUp();
        addUnitExpression(e, "cm", "Length", "m/100");
        addUnitExpression(e, "mm", "Length", "cm/10");
        addUnitExpression(e, "mps", "Velocity", "m/s");
    }
    double factorOf(std::string_view unit) {
        double factor = 0;
        EXPECT_OK(e.Unit_ConversionFactor(unit, factor)) << unit;
        return factor;
    }
    std::vector<std::int16_t> vectorOf(std::string_view quantity) {
        std::vector<std::int16_t> vector;
        EXPECT_OK(e.Quantity_DimVector(quantity, vector)) << quantity;
        return vector;
    }
};

TEST_F(DerivedValues, FactorsFollowTheUnitsTheyAreDefinedBy) {
    EXPECT_TRUE(near(factorOf("mm"), 0.001));
    EXPECT_TRUE(near(convert(1, "mm", "m"), 0.001));
    ASSERT_OK(e.Unit_ConversionFactor_Replace("m", 2));
    EXPECT_TRUE(near(factorOf("cm"), 0.02));
    EXPECT_TRUE(near(factorOf("mm"), 0.002));
    EXPECT_TRUE(near(convert(1, "mm", "km"), 0.002 / 1000));
    EXPECT_TRUE(near(convert(1, "mps", "km/h"), 7.2));

    ASSERT_OK(e.Unit_Remove("m"));
    EXPECT_EQ(factorOf("mm"), UNDEFINED_VALUE);
    double add = 0, multiplyBy = 0;
    EXPECT_RC(E_UDB_CORRUPT, e.UnitExpression_Convert("mm", "km", add, multiplyBy));
    addUnit(e, "m", "Length", 1);
    EXPECT_TRUE(near(factorOf("mm"), 0.001));
    EXPECT_TRUE(near(convert(1, "mm", "km"), 1e-6));
}

TEST_F(DerivedValues, SynonymsAndRenamesAreFollowed) {
    addUnitExpression(e, "dm", "Length", "Meter/10");
    EXPECT_EQ(factorOf("dm"), UNDEFINED_VALUE);
    ASSERT_OK(e.Unit_Synonym_Add("m", "Meter"));
    EXPECT_TRUE(near(factorOf("dm"), 0.1));
    ASSERT_OK(e.Unit_Synonym_Remove("m", "Meter"));
    EXPECT_EQ(factorOf("dm"), UNDEFINED_VALUE);
    ASSERT_OK(e.Unit_Rename("m", "Meter"));  // dm now names the unit itself
    EXPECT_TRUE(near(factorOf("dm"), 0.1));
    EXPECT_TRUE(near(factorOf("mm"), 0.001));  // cm's expression was renamed along
}

TEST_F(DerivedValues, ConversionsFollowEveryEdit) {
    double add = 0, multiplyBy = 0;
    ASSERT_OK(e.UnitExpression_Convert("km", "m", add, multiplyBy));
    EXPECT_EQ(multiplyBy, 1000.0);
    ASSERT_OK(e.Unit_ConversionFactor_Replace("km", 1001));
    ASSERT_OK(e.UnitExpression_Convert("km", "m", add, multiplyBy));
    EXPECT_EQ(multiplyBy, 1001.0);
    ASSERT_OK(e.Unit_ConversionOffset_Replace("km", 5));
    ASSERT_OK(e.UnitExpression_Convert("km", "m", add, multiplyBy));
    EXPECT_EQ(add, 5.0);

    // A failed conversion is not remembered past the edit that makes it possible.
    EXPECT_RC(E_UNIT_NOT_FOUND, e.UnitExpression_Convert("furlong", "m", add, multiplyBy));
    addUnit(e, "furlong", "Length", 201.168);
    ASSERT_OK(e.UnitExpression_Convert("furlong", "m", add, multiplyBy));
    EXPECT_EQ(multiplyBy, 201.168);
    ASSERT_OK(e.Unit_Synonym_Add("furlong", "fur"));
    ASSERT_OK(e.UnitExpression_Convert("FUR", "furlong", add, multiplyBy));
    EXPECT_EQ(multiplyBy, 1.0);

    // Dimensions follow the unit's quantity.
    ASSERT_OK(e.EnableDimensionalAnalysis(true));
    ASSERT_OK(e.UnitExpression_Convert("furlong", "m", add, multiplyBy));
    ASSERT_OK(e.Unit_Quantity_Replace("furlong", "Time"));
    EXPECT_RC(E_DIMENSIONS_DIFFER, e.UnitExpression_Convert("furlong", "m", add, multiplyBy));
    const std::int16_t length[] = {0, 1, 0};
    ASSERT_OK(e.Quantity_DimVector_Replace("Time", length));
    EXPECT_OK(e.UnitExpression_Convert("furlong", "m", add, multiplyBy));
}

TEST_F(DerivedValues, VectorsFollowTheQuantitiesTheyAreDefinedBy) {
    EXPECT_EQ(vectorOf("Velocity"), (std::vector<std::int16_t>{0, 1, -1, 0, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(vectorOf("Power"), (std::vector<std::int16_t>{1, 2, -3, 0, 0, 0, 0, 0, 0, 0}));
    const std::int16_t doubled[] = {0, 0, 2};
    ASSERT_OK(e.Quantity_DimVector_Replace("Time", doubled));
    EXPECT_EQ(vectorOf("Velocity"), (std::vector<std::int16_t>{0, 1, -2, 0, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(vectorOf("Power"), (std::vector<std::int16_t>{1, 2, -6, 0, 0, 0, 0, 0, 0, 0}));

    ASSERT_OK(e.EnableDimensionalAnalysis(true));
    double add = 0, multiplyBy = 0;
    EXPECT_OK(e.UnitExpression_Convert("mps", "m/s", add, multiplyBy));
    ASSERT_OK(e.Quantity_Expression_Replace("Velocity", "Length*Time"));
    EXPECT_RC(E_DIMENSIONS_DIFFER, e.UnitExpression_Convert("mps", "m/s", add, multiplyBy));
    EXPECT_OK(e.UnitExpression_Convert("mps", "m*s", add, multiplyBy));

    ASSERT_OK(e.Quantity_Remove("Time"));
    EXPECT_EQ(vectorOf("Velocity")[0], UNSET_EXPONENT);
    EXPECT_EQ(vectorOf("Power")[0], UNSET_EXPONENT);
    ASSERT_OK(e.Quantity_Add("Time"));  // back, and dimensionless
    EXPECT_EQ(vectorOf("Velocity"), (std::vector<std::int16_t>{0, 1, 0, 0, 0, 0, 0, 0, 0, 0}));
    ASSERT_OK(e.Quantity_Rename("Length", "Distance"));  // the expression follows the rename
    EXPECT_EQ(vectorOf("Velocity"), (std::vector<std::int16_t>{0, 1, 0, 0, 0, 0, 0, 0, 0, 0}));
}

TEST_F(DerivedValues, AReadRefreshesWhatItChanges) {
    double add = 0, multiplyBy = 0;
    ASSERT_OK(e.UnitExpression_Convert("mm", "ft", add, multiplyBy));
    EXPECT_TRUE(near(factorOf("mm"), 0.001));
    const std::string update = dir.file("update.xml");
    writeFile(update,
              "<UNITS_DATABASE><UNITS>"
              "<UNIT NAME=\"m\" CONVERSION_FACTOR=\"3\"/>"
              "<UNIT NAME=\"ft\" CONVERSION_FACTOR=\"1\"/>"
              "</UNITS></UNITS_DATABASE>");
    ASSERT_OK(e.ReadUnitDatabase(update, APPEND));
    EXPECT_TRUE(near(factorOf("mm"), 0.003));
    ASSERT_OK(e.UnitExpression_Convert("mm", "ft", add, multiplyBy));
    EXPECT_TRUE(near(multiplyBy, 0.003));
}

}  // namespace
}  // namespace kestrum::test
