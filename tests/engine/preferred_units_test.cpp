// Quantity expressions in unit systems: each quantity becomes the system's preferred unit, its
// defining expression, or the preferred units of its base dimensions; equal units merge, the
// number 1 drops out, lower exponents come first. The built text is seen through its symbol.
#include "test_support.h"

#include <cmath>

namespace kestrum::test {
namespace {

class PreferredUnits : public SmallDatabaseTest {
protected:
    void SetUp() override {
        SmallDatabaseTest::SetUp();
        addQuantity(e, "Frequency", {0, 0, -1});
        addQuantity(e, "Current", {0, 0, 0, 1});
        addQuantity(e, "Charge", {0, 0, 1, 1});
        addQuantity(e, "Ratio", {});
        addQuantity(e, "Luminance", {0, -2, 0, 0, 0, 0, 1});
        addUnit(e, "mph", "Velocity", 0.44704);
        setPreferred(e, "English", "Velocity", "mph");
    }
    std::string symbol(std::string_view system, std::string_view quantityExpression) {
        std::string out = "(failed)";
        EXPECT_OK(e.QuantityExpression_Symbol(system, quantityExpression, out)) << quantityExpression;
        return out;
    }
    double factor(std::string_view quantityExpression) {
        double add = -1, multiplyBy = 0;
        EXPECT_OK(e.QuantityExpression_Convert("SI", "English", quantityExpression, add, multiplyBy))
            << quantityExpression;
        EXPECT_EQ(add, 0.0) << quantityExpression;
        return multiplyBy;
    }
};

TEST_F(PreferredUnits, BuildTheExpressionTheSystemPrefers) {
    struct Row {
        const char* quantityExpression;
        const char* siSymbol;
    };
    const Row rows[] = {
        {"mass*length/time^2", "kg.m/s\xC2\xB2"},
        {"1/time", "1/s"},
        {"length^2*time", "s.m\xC2\xB2"},         // lower exponent first
        {"length^2*time/length", "m.s"},          // the two length terms merge
        {"2*length", "2.m"},                      // a number stays a term
        {"1*length", "m"},                        // the number 1 is dropped
        {"1.0*length/1", "m"},
        {"length/2", "m/2"},
        {"length^2", "m\xC2\xB2"},
        {"Frequency", "1/s"},                     // by its vector, only a negative exponent
        {"Velocity", "m/s"},                      // by its expression
        {"Velocity*Time", "m"},
        {"Power", "kg.m\xC2\xB2/s\xC2\xB3"},      // through two expressions
        {"Charge", "s.A"},
        {"time/(mass*length)", "s/(kg.m)"},
        {"1/(mass*length^2)", "1/(kg.m\xC2\xB2)"},
        {"(mass*length)/time", "kg.m/s"},
        {"length^2*time^2*mass", "kg.s\xC2\xB2.m\xC2\xB2"},  // equal exponents are not swapped with each other
        {"LENGTH/TIME", "m/s"},
    };
    setPreferred(e, "SI", "Current", "A");  // no such unit: the preference stays empty
    addUnit(e, "A", "Current", 1);
    setPreferred(e, "SI", "Current", "A");
    for (const auto& row : rows) EXPECT_EQ(symbol("SI", row.quantityExpression), row.siSymbol) << row.quantityExpression;
    EXPECT_EQ(symbol("English", "Velocity"), "mph");
    EXPECT_EQ(symbol("English", "Power"), "lb.ft\xC2\xB2/h\xC2\xB3");
}

TEST_F(PreferredUnits, ConvertBetweenSystemsByTheBuiltExpressions) {
    EXPECT_TRUE(near(factor("length"), 1 / 0.3048));
    EXPECT_TRUE(near(factor("Velocity"), 1 / 0.44704));
    EXPECT_TRUE(near(factor("Velocity*Time"), 1 / (0.44704 * 3600)));  // English: mph*h
    EXPECT_TRUE(near(factor("Power"), 3600.0 * 3600 * 3600 / (0.45359237 * 0.3048 * 0.3048)));
    EXPECT_TRUE(near(factor("2*2*length/time"), 3600 / 0.3048));  // the number cancels out
    EXPECT_TRUE(near(factor("Frequency"), 3600));
    // A lone temperature keeps its offset; in a rate it is an interval.
    double add = 0, multiplyBy = 0;
    ASSERT_OK(e.QuantityExpression_Convert("SI", "English", "Temperature", add, multiplyBy));
    EXPECT_TRUE(near(multiplyBy, 1.8));
    EXPECT_TRUE(near(add, -459.67));
    EXPECT_TRUE(near(factor("Temperature/Time"), 1.8 * 3600));
}

TEST_F(PreferredUnits, ExponentsAboveNineAreBuiltSoTheyConvert) {
    EXPECT_EQ(symbol("SI", "length^5*length^5"), "m^10");
    EXPECT_TRUE(near(factor("length^5*length^5"), std::pow(1 / 0.3048, 10)));
    EXPECT_EQ(symbol("SI", "(length^12)"), "m^12");
    EXPECT_TRUE(near(factor("(length^12)"), std::pow(1 / 0.3048, 12)));
    EXPECT_EQ(symbol("SI", "length^12"), "m^12");
    EXPECT_TRUE(near(factor("length^12"), std::pow(1 / 0.3048, 12)));
    EXPECT_EQ(symbol("SI", "time/(length^5*length^5)"), "s/m^10");
    EXPECT_TRUE(near(factor("time/(length^5*length^5)"), std::pow(0.3048, 10) / 3600));
    EXPECT_EQ(symbol("SI", "1/(time^2*length^5*length^6)"), "1/(s\xC2\xB2.m^11)");
    EXPECT_TRUE(near(factor("1/(time^2*length^5*length^6)"), std::pow(0.3048, 11) * 3600 * 3600));
    EXPECT_TRUE(near(factor("(Velocity^10)"), std::pow(1 / 0.44704, 10)));
    EXPECT_TRUE(near(factor("Length^-3"), std::pow(0.3048, 3)));
}

// Numbers in quantity expressions follow the evaluator's rules: a power is its value, and a
// number against a name multiplies it; both survive into the built unit expression.
TEST_F(PreferredUnits, NumbersAreBuiltAsTheEvaluatorReadsThem) {
    std::string expression;
    EXPECT_EQ(symbol("SI", "100Length"), "100.m");
    EXPECT_TRUE(near(factor("100Length"), 1 / 0.3048));  // the number is in both systems
    EXPECT_EQ(symbol("SI", "Mass/100Length"), "kg/(100.m)");
    EXPECT_EQ(symbol("SI", "10^3*Length"), "10\xC2\xB3.m");
    addQuantityExpression(e, "Kilolength", "10^3*Length");
    EXPECT_EQ(symbol("SI", "Kilolength^2"), "1e+06.m\xC2\xB2");  // (10^3)^2, not 10^2
    double add = 0, multiplyBy = 0;
    ASSERT_OK(e.QuantityExpression_Convert("SI", "SI", "Kilolength^2", add, multiplyBy));
    EXPECT_EQ(multiplyBy, 1.0);
    addQuantityExpression(e, "Unity", "1^5*Length");
    EXPECT_EQ(symbol("SI", "Unity"), "m");  // a number that is 1 is dropped
}

TEST_F(PreferredUnits, AQuantityOverLengthItselfIsEmpty) {
    double add = 0, multiplyBy = 0;
    EXPECT_RC(E_DIVIDE_BY_ZERO, e.QuantityExpression_Convert("SI", "English", "length/length", add, multiplyBy));
    std::string text = "unchanged";
    EXPECT_RC(E_INVALID_EXPRESSION, e.QuantityExpression_Symbol("SI", "length/length", text));
    EXPECT_EQ(text, "unchanged");
}

TEST_F(PreferredUnits, FailuresHaveTheirCodes) {
    struct Row {
        const char* system;
        const char* quantityExpression;
        Result code;
        const char* label;
    };
    const Row rows[] = {
        {"Metric", "length", E_UNIT_SYSTEM_NOT_FOUND, "unknown unit system"},
        {"Metric", "Furlongs", E_UNIT_SYSTEM_NOT_FOUND, "the system is looked up first"},
        {"SI", "Furlongs", E_QUANTITY_NOT_FOUND, "unknown quantity"},
        {"SI", "length*Furlongs", E_QUANTITY_NOT_FOUND, "unknown quantity after a known one"},
        {"SI", "Luminance", E_QUANTITY_NOT_FOUND, "no base quantity for a dimension"},
        {"SI", "Charge", E_NO_PREFERRED_UNIT_BASIC, "a base quantity without preferred unit"},
        {"SI", "Ratio", E_NO_PREFERRED_UNIT_CONSTANT, "dimensionless, no expression, no preferred unit"},
        {"SI", "length*Ratio", E_NO_PREFERRED_UNIT_CONSTANT, "the same inside an expression"},
        {"SI", "length^*time", E_INVALID_EXPRESSION, "exponent that is an operator"},
        {"SI", "(length^/time)", E_INVALID_EXPRESSION, "exponent that is an operator, in a group"},
        {"SI", "length^", E_INVALID_EXPRESSION, "^ last"},
        {"SI", "length^0", E_INVALID_EXPRESSION, "exponent 0"},
        {"SI", "length(time)", E_INVALID_EXPRESSION, "( not at the start of a term"},
        {"SI", "(length*time", E_INVALID_EXPRESSION, "unbalanced parentheses"},
        {"SI", "(length*time)^2", E_INTERNAL, "a term directly after a term"},
        {"SI", "(length*time)mass", E_INTERNAL, "a term directly after a term"},
        {"SI", "length^2.5", E_INTERNAL, "a fraction after a top-level exponent"},
        {"SI", "10^x*length", E_INVALID_EXPRESSION, "a number to a power that is not a number"},
        {"SI", "2Furlongs", E_QUANTITY_NOT_FOUND, "a number against an unknown quantity"},
    };
    for (const auto& row : rows) {
        double add = 7, multiplyBy = 7;
        std::string text = "unchanged";
        EXPECT_RC(row.code, e.QuantityExpression_Convert(row.system, "SI", row.quantityExpression, add, multiplyBy))
            << row.quantityExpression << ": " << row.label;
        // The "from" expression is built first, so there an unknown quantity comes first.
        const bool fromFailsFirst = row.code == E_UNIT_SYSTEM_NOT_FOUND && std::string_view(row.quantityExpression) == "Furlongs";
        EXPECT_RC(fromFailsFirst ? E_QUANTITY_NOT_FOUND : row.code,
                  e.QuantityExpression_Convert("SI", row.system, row.quantityExpression, add, multiplyBy))
            << row.quantityExpression << ": " << row.label;
        EXPECT_RC(row.code, e.QuantityExpression_Symbol(row.system, row.quantityExpression, text))
            << row.quantityExpression << ": " << row.label;
        EXPECT_EQ(add, 7);
        EXPECT_EQ(multiplyBy, 7);
        EXPECT_EQ(text, "unchanged");
    }
}

TEST_F(PreferredUnits, DimensionalAnalysisAppliesToTheBuiltExpressions) {
    ASSERT_OK(e.UnitSystem_Add("Odd"));
    setPreferred(e, "Odd", "Length", "s");  // nothing checks that a unit fits its quantity
    double add = 0, multiplyBy = 0;
    EXPECT_OK(e.QuantityExpression_Convert("SI", "Odd", "length", add, multiplyBy));
    ASSERT_OK(e.EnableDimensionalAnalysis(true));
    EXPECT_RC(E_DIMENSIONS_DIFFER, e.QuantityExpression_Convert("SI", "Odd", "length", add, multiplyBy));
    EXPECT_OK(e.QuantityExpression_Convert("SI", "English", "length", add, multiplyBy));
}

TEST_F(PreferredUnits, TakeQuantityExpressionsUpTo500Utf16CodeUnits) {
    std::string text500 = "length", text501 = "length*";
    while (text500.size() < 500) text500 += "*1";  // 6 + 2*247
    ASSERT_EQ(text500.size(), 500u);
    text501 = text500 + "1";  // "...*11": still a number term
    std::string symbol;
    double add = 0, multiplyBy = 0;
    ASSERT_OK(e.QuantityExpression_Symbol("SI", text500, symbol));
    EXPECT_EQ(symbol, "m");
    ASSERT_OK(e.QuantityExpression_Convert("SI", "English", text500, add, multiplyBy));
    EXPECT_RC(E_INVALID_EXPRESSION, e.QuantityExpression_Symbol("SI", text501, symbol));
    EXPECT_RC(E_INVALID_EXPRESSION, e.QuantityExpression_Convert("SI", "English", text501, add, multiplyBy));
    // A unit system name is at most 50 code units: a longer one names nothing.
    ASSERT_OK(e.UnitSystem_Add(std::string(50, 'S')));
    EXPECT_RC(E_NO_PREFERRED_UNIT_CONSTANT, e.QuantityExpression_Symbol(std::string(50, 's'), "Ratio", symbol));
    EXPECT_RC(E_UNIT_SYSTEM_NOT_FOUND, e.QuantityExpression_Symbol(std::string(51, 's'), "length", symbol));
}

TEST(PreferredUnitsBeforeInitialize, SymbolsWorkConversionsDoNot) {
    Engine e;
    addQuantity(e, "Length", {0, 1});
    addUnit(e, "m", "Length", 1);
    ASSERT_OK(e.UnitSystem_Add("SI"));
    setPreferred(e, "SI", "Length", "m");
    std::string symbol;
    ASSERT_OK(e.QuantityExpression_Symbol("SI", "Length^3", symbol));
    EXPECT_EQ(symbol, "m\xC2\xB3");
    double add = 0, multiplyBy = 0;
    EXPECT_RC(E_NOT_INITIALIZED, e.QuantityExpression_Convert("SI", "SI", "Length", add, multiplyBy));
}

TEST_F(PreferredUnits, ABuiltExpressionMayBeLongerThanItsQuantityExpression) {
    // Ten short quantity names whose preferred units have names of 50 characters: the built
    // expressions hold over 500 characters, which is no reason to refuse the conversion.
    std::string quantityExpression;
    for (char c = 'a'; c < 'a' + 10; ++c) {
        const std::string quantity = std::string("Q") + c, unit = std::string(49, c) + "u";
        addQuantity(e, quantity, {0, 1});
        addUnit(e, unit, quantity, 2);
        setPreferred(e, "SI", quantity, unit);
        setPreferred(e, "English", quantity, "ft");
        quantityExpression += (quantityExpression.empty() ? "" : "*") + quantity;
    }
    EXPECT_TRUE(near(factor(quantityExpression), std::pow(2 / 0.3048, 10)));
    EXPECT_EQ(symbol("SI", quantityExpression).size(), 509u);
}

}  // namespace
}  // namespace kestrum::test
