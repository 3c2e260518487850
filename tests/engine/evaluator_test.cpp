// The expression evaluators: how text splits into terms, what each kind of term contributes,
// and which code every malformed expression gets. Unit expressions are observed through a
// conversion into m (factor 1, offset 0), so the pair is the expression's own factor and offset.
#include "test_support.h"

#include <vector>

namespace kestrum::test {
namespace {

class EvaluatorTest : public SmallDatabaseTest {
protected:
    void SetUp() override {
        SmallDatabaseTest::SetUp();
        ASSERT_OK(e.Unit_Synonym_Add("m", "Meter"));
        addUnit(e, "zero", "Length", 0.0);
        addUnitExpression(e, "broken", "Length", "furlong*2");
        addQuantity(e, "Gone", {0, 1});
        addUnit(e, "orphan", "Gone", 1);
        ASSERT_OK(e.Quantity_Remove("Gone"));
    }
    Result evaluate(std::string_view expression, double& factor, double& offset) {
        return e.UnitExpression_Convert(expression, "m", offset, factor);
    }
};

struct FailureRow {
    const char* expression;
    Result code;
    const char* label;
};

const FailureRow kUnitFailures[] = {
    {"*m", E_INVALID_EXPRESSION, "operator at the start"},
    {"/m", E_INVALID_EXPRESSION, "operator at the start"},
    {"*", E_INVALID_EXPRESSION, "lone operator"},
    {"m**s", E_UNIT_NOT_FOUND, "two operators: the empty term between them is looked up"},
    {"m*/s", E_UNIT_NOT_FOUND, "two operators"},
    {"m*", E_UNIT_NOT_FOUND, "operator at the end"},
    {"m/", E_UNIT_NOT_FOUND, "operator at the end"},
    {"(m*s)^2", E_INTERNAL, "a term directly after a group"},
    {"m(s)", E_INVALID_EXPRESSION, "( not at the start of a term"},
    {"km*m(s)", E_INVALID_EXPRESSION, "( not at the start of a term"},
    {"(m*s", E_INVALID_EXPRESSION, "unbalanced parentheses"},
    {"((m*s)", E_INVALID_EXPRESSION, "unbalanced parentheses"},
    {"(", E_INVALID_EXPRESSION, "unbalanced parentheses"},
    {"m)", E_UNIT_NOT_FOUND, ") outside a group is part of the name"},
    {")", E_UNIT_NOT_FOUND, ") outside a group is part of the name"},
    {"(m))", E_INTERNAL, ") right after a group starts a term without operator"},
    {"m^", E_INVALID_EXPRESSION, "^ last"},
    {"^", E_INVALID_EXPRESSION, "^ alone"},
    {"m^0", E_INVALID_EXPRESSION, "exponent 0"},
    {"m^x", E_INVALID_EXPRESSION, "exponent not a digit"},
    {"(m^0)", E_INVALID_EXPRESSION, "exponent 0 in a group"},
    {"m^*s", E_INVALID_EXPRESSION, "exponent that is an operator"},
    {"m^/s", E_INVALID_EXPRESSION, "exponent that is an operator"},
    {"km*m^*s", E_INVALID_EXPRESSION, "exponent that is an operator, later on"},
    {"(m^*s)", E_INVALID_EXPRESSION, "exponent that is an operator, in a group"},
    {"furlong", E_UNIT_NOT_FOUND, "unknown unit"},
    {"m*furlong", E_UNIT_NOT_FOUND, "unknown unit"},
    {"m / s", E_UNIT_NOT_FOUND, "spaces belong to the names"},
    {"((m))", E_UNIT_NOT_FOUND, "the inner parentheses are part of the name (m)"},
    {"()", E_UNIT_NOT_FOUND, "an empty group is an empty name"},
    {"zero", E_UNIT_NOT_FOUND, "a unit with factor 0"},
    {"(1e-200*1e-200)", E_UNIT_NOT_FOUND, "a group with factor 0"},
    {"broken", E_UDB_CORRUPT, "a unit whose own expression fails"},
    {"m*broken", E_UDB_CORRUPT, "a unit whose own expression fails"},
    {"orphan", E_QUANTITY_NOT_FOUND, "a unit whose quantity was removed"},
    {"0x10*m", E_UNIT_NOT_FOUND, "no hexadecimal numbers: 0x10 is a name"},
    {"inf*m", E_UNIT_NOT_FOUND, "no infinity: inf is a name"},
    {"nan", E_UNIT_NOT_FOUND, "no NaN: nan is a name"},
    {"1e999*m", E_INVALID_EXPRESSION, "a number beyond the range of a double"},
    {"m^2.5", E_INTERNAL, "a fraction after a top-level exponent is a term without operator"},
    {"m^-", E_INVALID_EXPRESSION, "a sign without digits"},
    {"m^-*s", E_INVALID_EXPRESSION, "a sign without digits, then an operator"},
    {"m^40000", E_INVALID_EXPRESSION, "an exponent beyond 16 bits"},
    {"10^0", E_INVALID_EXPRESSION, "a number to the power 0, as a name to the power 0"},
    {"10^x", E_INVALID_EXPRESSION, "a number to a power that is not a number"},
    {"(10^3m)", E_INVALID_EXPRESSION, "text after a number's power: refused, not dropped"},
    {"10^400", E_INVALID_EXPRESSION, "a power beyond the range of a double"},
    {"10^-400", E_INVALID_EXPRESSION, "a power that underflows to 0"},
    {"(ft^1000)", E_INVALID_EXPRESSION, "a unit's power that underflows to 0"},
    {"ft^1000m", E_INVALID_EXPRESSION, "an underflowing power, then a term without operator"},
    {"100furlong", E_UNIT_NOT_FOUND, "a number against an unknown name"},
    {"2)", E_UNIT_NOT_FOUND, "text after a number is a name"},
    {"1e300km^3", E_INVALID_EXPRESSION, "a number against a name overflows"},
    {"100broken", E_UDB_CORRUPT, "a number against a unit whose own expression fails"},
};

TEST_F(EvaluatorTest, EveryMalformedUnitExpressionGetsItsCode) {
    for (const auto& row : kUnitFailures) {
        double factor = -1, offset = -1;
        EXPECT_RC(row.code, evaluate(row.expression, factor, offset)) << row.expression << ": " << row.label;
        EXPECT_EQ(factor, -1) << "outputs are written only on success: " << row.expression;
        EXPECT_EQ(offset, -1) << "outputs are written only on success: " << row.expression;
    }
}

struct ValueRow {
    const char* expression;
    double factor;
    double offset;
    const char* sameDimensionsAs;
};

const ValueRow kUnitValues[] = {
    {"km", 1000, 0, "m"},
    {"KM", 1000, 0, "m"},
    {"Meter", 1, 0, "m"},
    {"meter*km", 1000, 0, "m*m"},
    {"km^2", 1e6, 0, "m*m"},
    {"(km^10)", 1e30, 0, "m*m*m*m*m*m*m*m*m*m"},
    {"(km^-1)", 1e-3, 0, "1/m"},
    {"(km)", 1000, 0, "m"},
    {"(m*s)", 1, 0, "s*m"},
    {"1000*m", 1000, 0, "m"},
    {"1e3*m", 1000, 0, "m"},
    {".5*km", 500, 0, "m"},
    {"1000m", 1000, 0, "m"},  // a number written against a name multiplies it
    {"100km", 1e5, 0, "m"},
    {"100 km", 1e5, 0, "m"},  // white space around a number belongs to the number
    {"0.3048m", 0.3048, 0, "m"},
    {"1e3m", 1000, 0, "m"},
    {"100km^2", 1e8, 0, "m*m"},  // the exponent is the name's: 100 km^2
    {"1/100km", 1e-5, 0, "1/m"},
    {"m/100km", 1e-5, 0, "1"},
    {"2degC", 2, 0, "K"},  // a multiple of a temperature is an interval
    {"10^3", 1000, 0, "1"},  // a number raised to a power is that power
    {"10^3*m", 1000, 0, "m"},
    {"2^-1", 0.5, 0, "1"},
    {"(2^-1)", 0.5, 0, "1"},
    {"(10^12*m)", 1e12, 0, "m"},
    {"m^-3", 1, 0, "1/m/m/m"},  // a top-level exponent takes its sign and all its digits
    {"km^-1", 1e-3, 0, "1/m"},
    {"kg*km^-3", 1e-9, 0, "kg/m/m/m"},
    {"km^+2", 1e6, 0, "m*m"},
    {"km^10", 1e30, 0, "m*m*m*m*m*m*m*m*m*m"},
    {"m^12/m^10", 1, 0, "m*m"},
    {"(1000*m)/s", 1000, 0, "m/s"},
    {"km/h*h", 1000, 0, "m"},  // strictly left to right: (km/h)*h
    {"km/h/h", 1000.0 / 3600 / 3600, 0, "m/s/s"},
    {"m*kg/s^2", 1, 0, "kg*m/s/s"},
    {"1/s", 1, 0, "(s^-1)"},
    {"  2*m", 2, 0, "m"},  // spaces around a number are absorbed by the number
    {"2  *m", 2, 0, "m"},
    {"degC", 1, 273.15, "K"},  // a lone unit keeps its offset
    {"(degC)", 1, 273.15, "K"},
    {"degC^2", 1, 0, "K*K"},  // in a power, product or quotient every unit is an interval
    {"2*degC", 2, 0, "K"},
    {"degC*2", 2, 0, "K"},
    {"degC/h", 1.0 / 3600, 0, "K/s"},
    {"(degC*m)", 1, 0, "K*m"},
};

TEST_F(EvaluatorTest, TermsCombineLeftToRightIntoFactorOffsetAndDimensions) {
    for (const auto& row : kUnitValues) {
        double factor = 0, offset = 0;
        ASSERT_OK(e.EnableDimensionalAnalysis(false));
        ASSERT_OK(evaluate(row.expression, factor, offset)) << row.expression;
        EXPECT_TRUE(near(factor, row.factor)) << row.expression;
        EXPECT_TRUE(near(offset, row.offset)) << row.expression;
        ASSERT_OK(e.EnableDimensionalAnalysis(true));
        double add, multiplyBy;
        EXPECT_OK(e.UnitExpression_Convert(row.expression, row.sameDimensionsAs, add, multiplyBy))
            << row.expression << " has the dimensions of " << row.sameDimensionsAs;
        EXPECT_RC(E_DIMENSIONS_DIFFER, e.UnitExpression_Convert(row.expression, "kg*kg", add, multiplyBy))
            << row.expression;
    }
}

TEST_F(EvaluatorTest, AnEmptyExpressionEvaluatesToNothing) {
    double add = -1, multiplyBy = -1;
    ASSERT_OK(e.UnitExpression_Convert("", "km", add, multiplyBy));
    EXPECT_EQ(multiplyBy, 0.0);
    EXPECT_EQ(add, 0.0);
}

TEST_F(EvaluatorTest, AUnitDefinedByAFailingExpressionReadsAsUndefined) {
    for (std::string expression : {"furlong*2", "m^*s", "(m*s", "m^0", "*m", "orphan"}) {
        ASSERT_OK(e.Unit_Expression_Replace("broken", expression));
        double factor = 0, offset = 0;
        ASSERT_OK(e.Unit_ConversionFactor("broken", factor)) << expression;
        ASSERT_OK(e.Unit_ConversionOffset("broken", offset)) << expression;
        EXPECT_EQ(factor, UNDEFINED_VALUE) << expression;
        EXPECT_EQ(offset, UNDEFINED_VALUE) << expression;
    }
}

// Quantity expressions are observed through the vector of a quantity they define; one that
// cannot be evaluated leaves every exponent at -999.
struct QuantityRow {
    const char* expression;
    std::vector<std::int16_t> vector;  // empty: the evaluation fails
    const char* label;
};

const QuantityRow kQuantityRows[] = {
    {"Length/Time", {0, 1, -1}, "quotient"},
    {"LENGTH/time", {0, 1, -1}, "names in any case"},
    {"Distance", {0, 1}, "a synonym"},
    {"Length^2", {0, 2}, "power"},
    {"(Length^10)", {0, 10}, "several exponent digits in a group"},
    {"(Length^-2)", {0, -2}, "negative exponent in a group"},
    {"Velocity*Time", {0, 1}, "a quantity defined by an expression"},
    {"Mass*Length^2/Time^2/Length^2", {1, 0, -2}, "left to right"},
    {"2*Length", {0, 1}, "a number is dimensionless"},
    {"Length*2", {0, 1}, "a number is dimensionless"},
    {"*Length", {0, 1}, "a leading operator is dropped, no left operand needed"},
    {"(Length*Time)Mass", {1}, "a term after a term replaces it while KG is 0"},
    {"", {}, "empty: dimensionless"},
    {"(Mass*Length)Time", {}, "a term after a term fails once KG is not 0"},
    {"Mass^10", {10}, "all digits of a top-level exponent"},
    {"Mass*Length^-3", {1, -3}, "a top-level exponent with a sign"},
    {"Mass^10*Length^12", {10, 12}, "several long exponents"},
    {"100Length", {0, 1}, "a number against a name multiplies it"},
    {"Length/100Length", {0}, "dimensionless through a number against a name"},
    {"10^3*Length", {0, 1}, "a number raised to a power is a number"},
    {"Mass^2.5", {}, "a fraction after a top-level exponent is a term without operator"},
    {"10^x*Length", {}, "a number to a power that is not a number"},
    {"100Furlongs", {}, "a number against an unknown quantity"},
    {"Length^*Time", {}, "exponent that is an operator"},
    {"(Length^*Time)", {}, "exponent that is an operator, in a group"},
    {"Length^", {}, "^ last"},
    {"Length^0", {}, "exponent 0"},
    {"Length(Time)", {}, "( not at the start of a term"},
    {"(Length*Time", {}, "unbalanced"},
    {"Length Time", {}, "space inside a name"},
    {"Furlongs", {}, "unknown quantity"},
    {"Broken*Length", {}, "a quantity whose own expression fails"},
};

TEST(QuantityEvaluator, EveryQuantityExpressionGetsItsVectorOrFails) {
    for (const auto& row : kQuantityRows) {
        Engine e;
        addQuantity(e, "Mass", {1});
        addQuantity(e, "Length", {0, 1});
        addQuantity(e, "Time", {0, 0, 1});
        ASSERT_OK(e.Quantity_Synonym_Add("Length", "Distance"));
        addQuantityExpression(e, "Velocity", "Length/Time");
        addQuantityExpression(e, "Broken", "Nothing");
        addQuantityExpression(e, "Q", row.expression);
        std::vector<std::int16_t> expected(kBaseDimensions, row.vector.empty() && *row.expression ? -999 : 0);
        std::copy(row.vector.begin(), row.vector.end(), expected.begin());
        std::vector<std::int16_t> vector;
        ASSERT_OK(e.Quantity_DimVector("Q", vector)) << row.expression;
        EXPECT_EQ(vector, expected) << row.expression << ": " << row.label;
    }
}

// Definitions are evaluated by the same rules as the texts a client converts.
TEST_F(EvaluatorTest, DefinitionsReadNumbersAndExponentsAsConversionsDo) {
    addUnitExpression(e, "hundred_km", "Length", "100km");
    addUnitExpression(e, "kilo_m", "Length", "10^3*m");
    addUnitExpression(e, "per_cubic_km", "Length", "km^-3");
    addUnitExpression(e, "survey_ish", "Length", "0.3048m");
    const std::pair<const char*, double> rows[] = {
        {"hundred_km", 1e5}, {"kilo_m", 1e3}, {"per_cubic_km", 1e-9}, {"survey_ish", 0.3048}};
    for (const auto& [unit, expected] : rows) {
        double factor = 0;
        ASSERT_OK(e.Unit_ConversionFactor(unit, factor));
        EXPECT_EQ(factor, expected) << unit;
    }
    addQuantityExpression(e, "Number_Density", "Length^-3");
    std::vector<std::int16_t> vector;
    ASSERT_OK(e.Quantity_DimVector("Number_Density", vector));
    EXPECT_EQ(vector, (std::vector<std::int16_t>{0, -3, 0, 0, 0, 0, 0, 0, 0, 0}));
}

}  // namespace
}  // namespace kestrum::test
