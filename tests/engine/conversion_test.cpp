// Conversions between unit expressions: loading, the pair (factor, offset) for linear and
// affine units, offsets that belong to a lone unit only, dimensional analysis and the order in
// which the checks run.
#include "test_support.h"

namespace kestrum::test {
namespace {

TEST(Initialize, LoadsOnceAndKeepsTheFirstDatabase) {
    TempDir dir;
    const std::string first = dir.file("first.xml"), second = dir.file("second.xml");
    writeFile(first, kEmptyDatabaseFile);
    Engine other;
    ASSERT_OK(other.Quantity_Add("Length"));
    ASSERT_OK(other.WriteUnitDatabase(second));

    Engine e;
    ASSERT_OK(e.Initialize(first));
    EXPECT_OK(e.Initialize(second));
    std::vector<std::string> quantities;
    ASSERT_OK(e.Quantity_Set(quantities));
    EXPECT_TRUE(quantities.empty()) << "the second Initialize must not load anything";
    // A later database is loaded with ReadUnitDatabase.
    ASSERT_OK(e.ReadUnitDatabase(second, OVERWRITE));
    ASSERT_OK(e.Quantity_Set(quantities));
    EXPECT_EQ(quantities, std::vector<std::string>{"Length"});
}

TEST(Initialize, AFailedLoadLeavesTheEngineUninitialized) {
    TempDir dir;
    Engine e;
    double add = 0, multiplyBy = 0;
    EXPECT_RC(E_NOT_INITIALIZED, e.EnableDimensionalAnalysis(true));
    EXPECT_RC(E_NOT_INITIALIZED, e.UnitExpression_Convert("", "", add, multiplyBy));
    EXPECT_RC(E_NOT_INITIALIZED, e.QuantityExpression_Convert("SI", "SI", "Length", add, multiplyBy));

    EXPECT_RC(E_UDB_FILE_NOT_FOUND, e.Initialize(dir.file("missing.xml")));
    EXPECT_RC(E_UDB_FILE_NOT_FOUND, e.Initialize(""));
    writeFile(dir.file("corrupt.xml"), "<UNITS_DATABASE>");
    EXPECT_RC(E_UDB_CORRUPT, e.Initialize(dir.file("corrupt.xml")));
    EXPECT_RC(E_NOT_INITIALIZED, e.EnableDimensionalAnalysis(true));
    EXPECT_RC(E_NOT_INITIALIZED, e.UnitExpression_Convert("", "", add, multiplyBy));

    writeFile(dir.file("good.xml"), kEmptyDatabaseFile);
    ASSERT_OK(e.Initialize(dir.file("good.xml")));
    EXPECT_OK(e.EnableDimensionalAnalysis(true));
}

TEST(Initialize, ASuccessfulReadInitializesToo) {
    TempDir dir;
    writeFile(dir.file("db.xml"), kEmptyDatabaseFile);
    Engine e;
    ASSERT_OK(e.ReadUnitDatabase(dir.file("db.xml"), APPEND));
    EXPECT_OK(e.EnableDimensionalAnalysis(true));
}

using Conversion = SmallDatabaseTest;

TEST_F(Conversion, LinearUnitsConvertByTheRatioOfTheirFactors) {
    double add = -1, multiplyBy = -1;
    ASSERT_OK(e.UnitExpression_Convert("km", "m", add, multiplyBy));
    EXPECT_EQ(multiplyBy, 1000.0);
    EXPECT_EQ(add, 0.0);
    ASSERT_OK(e.UnitExpression_Convert("KM", "M", add, multiplyBy));
    EXPECT_EQ(multiplyBy, 1000.0);
    EXPECT_TRUE(near(convert(100, "km/h", "m/s"), 27.777777777777779));
    EXPECT_TRUE(near(convert(1, "ft", "m"), 0.3048));
    EXPECT_TRUE(near(convert(1, "m", "ft"), 1 / 0.3048));
}

TEST_F(Conversion, AffineUnitsConvertBothWays) {
    struct Row {
        double value;
        const char* from;
        const char* to;
        double expected;
    };
    const Row rows[] = {
        {100, "degC", "degF", 212},   {0, "degC", "degF", 32},      {-40, "degC", "degF", -40},
        {212, "degF", "degC", 100},   {32, "degF", "degC", 0},      {-40, "degF", "degC", -40},
        {0, "K", "degC", -273.15},    {273.15, "K", "degC", 0},     {0, "degC", "K", 273.15},
        {0, "K", "degF", -459.67},    {-459.67, "degF", "K", 0},    {98.6, "degF", "degC", 37},
        {37, "DEGC", "DegF", 98.6},   {25, "(degC)", "(degF)", 77},
    };
    for (const auto& row : rows) {
        const double result = convert(row.value, row.from, row.to);
        if (row.expected == 0) {
            EXPECT_NEAR(result, 0, 1e-12) << row.value << " " << row.from << " -> " << row.to;
        } else {
            EXPECT_TRUE(near(result, row.expected)) << row.value << " " << row.from << " -> " << row.to;
        }
    }
    // The add term is in the target unit: (offset(from) - offset(to)) / factor(to).
    double add = 0, multiplyBy = 0;
    ASSERT_OK(e.UnitExpression_Convert("degC", "degF", add, multiplyBy));
    EXPECT_TRUE(near(multiplyBy, 1.8));
    EXPECT_TRUE(near(add, 32));
}

TEST_F(Conversion, CompoundUnitsConvertByTheirFactorsAlone) {
    double add = -1, multiplyBy = -1;
    ASSERT_OK(e.UnitExpression_Convert("degC/h", "K/h", add, multiplyBy));
    EXPECT_EQ(multiplyBy, 1.0);
    EXPECT_EQ(add, 0.0);
    ASSERT_OK(e.UnitExpression_Convert("degF/h", "degC/h", add, multiplyBy));
    EXPECT_TRUE(near(multiplyBy, 5.0 / 9.0));
    EXPECT_EQ(add, 0.0);
    // A heat transfer coefficient: no offset may sneak in through the degF in the denominator.
    ASSERT_OK(e.UnitExpression_Convert("W/(m^2*K)", "btu/(h*ft^2*degF)", add, multiplyBy));
    EXPECT_TRUE(near(multiplyBy, 3600 * 0.3048 * 0.3048 * (5.0 / 9.0) / 1055.05585262));
    EXPECT_EQ(add, 0.0);
    ASSERT_OK(e.UnitExpression_Convert("btu/(h*ft^2*degF)", "W/(m^2*K)", add, multiplyBy));
    EXPECT_TRUE(near(multiplyBy, 1055.05585262 / (3600 * 0.3048 * 0.3048 * (5.0 / 9.0))));
    EXPECT_EQ(add, 0.0);
    for (const char* interval : {"degC^2", "2*degC", "degC*1", "1*degF", "(degC*s)"}) {
        ASSERT_OK(e.UnitExpression_Convert(interval, "K", add, multiplyBy)) << interval;
        EXPECT_EQ(add, 0.0) << interval;
    }
}

TEST_F(Conversion, AUnitDefinedAsALoneAffineUnitKeepsItsOffset) {
    addUnitExpression(e, "Celsius", "Temperature", "degC");
    addUnitExpression(e, "Rankine", "Temperature", "5/9*K");
    EXPECT_TRUE(near(convert(100, "Celsius", "degF"), 212));
    EXPECT_TRUE(near(convert(0, "degF", "Rankine"), 459.67));
    double offset = 0;
    ASSERT_OK(e.Unit_ConversionOffset("Celsius", offset));
    EXPECT_EQ(offset, 273.15);
}

TEST_F(Conversion, EmptyExpressionsGiveZeroOrDivideByZero) {
    double add = -1, multiplyBy = -1;
    ASSERT_OK(e.UnitExpression_Convert("", "degF", add, multiplyBy));
    EXPECT_EQ(multiplyBy, 0.0);
    EXPECT_TRUE(near(add, -459.67));  // minus the offset of degF, in degF
    ASSERT_OK(e.UnitExpression_Convert("", "m", add, multiplyBy));
    EXPECT_EQ(multiplyBy, 0.0);
    EXPECT_EQ(add, 0.0);
    EXPECT_RC(E_DIVIDE_BY_ZERO, e.UnitExpression_Convert("m", "", add, multiplyBy));
    EXPECT_RC(E_DIVIDE_BY_ZERO, e.UnitExpression_Convert("", "", add, multiplyBy));
}

TEST_F(Conversion, DimensionalAnalysisRefusesDifferentDimensionsWhenOn) {
    double add = 0, multiplyBy = 0;
    EXPECT_OK(e.UnitExpression_Convert("m", "s", add, multiplyBy));
    ASSERT_OK(e.EnableDimensionalAnalysis(true));
    EXPECT_RC(E_DIMENSIONS_DIFFER, e.UnitExpression_Convert("m", "s", add, multiplyBy));
    EXPECT_RC(E_DIMENSIONS_DIFFER, e.UnitExpression_Convert("W", "J", add, multiplyBy));
    EXPECT_OK(e.UnitExpression_Convert("W", "J/s", add, multiplyBy));
    EXPECT_OK(e.UnitExpression_Convert("J", "kg*m^2/s^2", add, multiplyBy));
    EXPECT_OK(e.UnitExpression_Convert("km/h", "ft/s", add, multiplyBy));
    // Both empty: the same (zero) dimensions, so the factor check comes next.
    EXPECT_RC(E_DIVIDE_BY_ZERO, e.UnitExpression_Convert("", "", add, multiplyBy));
    ASSERT_OK(e.EnableDimensionalAnalysis(false));
    EXPECT_OK(e.UnitExpression_Convert("m", "s", add, multiplyBy));
}

TEST_F(Conversion, ChecksRunInOrder) {
    double add = -1, multiplyBy = -1;
    // The "from" expression is evaluated before the "to" expression.
    EXPECT_RC(E_UNIT_NOT_FOUND, e.UnitExpression_Convert("furlong", "*m", add, multiplyBy));
    EXPECT_RC(E_INVALID_EXPRESSION, e.UnitExpression_Convert("*m", "furlong", add, multiplyBy));
    EXPECT_RC(E_UNIT_NOT_FOUND, e.UnitExpression_Convert("m", "furlong", add, multiplyBy));
    // Dimensions before the zero "to" factor.
    ASSERT_OK(e.EnableDimensionalAnalysis(true));
    EXPECT_RC(E_DIMENSIONS_DIFFER, e.UnitExpression_Convert("m", "", add, multiplyBy));
    EXPECT_RC(E_DIMENSIONS_DIFFER, e.UnitExpression_Convert("", "m", add, multiplyBy));
    ASSERT_OK(e.EnableDimensionalAnalysis(false));
    // The zero "to" factor before an undefined factor; the number -99999999 is the sentinel.
    EXPECT_RC(E_DIVIDE_BY_ZERO, e.UnitExpression_Convert("-99999999", "", add, multiplyBy));
    EXPECT_RC(E_INTERNAL, e.UnitExpression_Convert("-99999999", "m", add, multiplyBy));
    EXPECT_RC(E_INTERNAL, e.UnitExpression_Convert("m", "-99999999", add, multiplyBy));
    EXPECT_EQ(add, -1);
    EXPECT_EQ(multiplyBy, -1);
}

TEST_F(Conversion, ExpressionsUpTo500Utf16CodeUnitsAreTaken) {
    std::string ascii500 = "km", ascii501 = "m";
    for (int i = 0; i < 249; ++i) ascii500 += "*1";
    for (int i = 0; i < 250; ++i) ascii501 += "*1";
    ASSERT_EQ(ascii500.size(), 500u);
    ASSERT_EQ(ascii501.size(), 501u);
    double add = 0, multiplyBy = 0;
    ASSERT_OK(e.UnitExpression_Convert(ascii500, "m", add, multiplyBy));
    EXPECT_EQ(multiplyBy, 1000.0);
    ASSERT_OK(e.UnitExpression_Convert("m", ascii500, add, multiplyBy));
    EXPECT_RC(E_INVALID_EXPRESSION, e.UnitExpression_Convert(ascii501, "m", add, multiplyBy));
    EXPECT_RC(E_INVALID_EXPRESSION, e.UnitExpression_Convert("m", ascii501, add, multiplyBy));

    // Two-byte letters: 500 code units are over 900 bytes and still taken.
    addUnit(e, "\xC3\xA9\xC3\xA9", "Length", 2);
    addUnit(e, "\xC3\xA9", "Length", 1);
    std::string wide500 = "\xC3\xA9\xC3\xA9", wide501 = "\xC3\xA9";
    for (int i = 0; i < 249; ++i) wide500 += "*\xC3\xA9";
    for (int i = 0; i < 250; ++i) wide501 += "*\xC3\xA9";
    ASSERT_OK(e.UnitExpression_Convert(wide500, "m", add, multiplyBy));
    EXPECT_EQ(multiplyBy, 2.0);
    EXPECT_RC(E_INVALID_EXPRESSION, e.UnitExpression_Convert(wide501, "m", add, multiplyBy));
}

TEST_F(Conversion, OutputsAreWrittenOnlyOnSuccess) {
    double add = 7, multiplyBy = 8;
    EXPECT_RC(E_UNIT_NOT_FOUND, e.UnitExpression_Convert("furlong", "m", add, multiplyBy));
    EXPECT_EQ(add, 7);
    EXPECT_EQ(multiplyBy, 8);
    ASSERT_OK(e.UnitExpression_Convert("m", "km", add, multiplyBy));
    EXPECT_EQ(add, 0);  // the incoming add is never read
    EXPECT_EQ(multiplyBy, 0.001);
}

}  // namespace
}  // namespace kestrum::test
