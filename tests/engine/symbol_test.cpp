// Symbols of unit expressions: each unit becomes its symbol (or its name as written), "*"
// becomes ".", and the exponents 2 and 3 become superscripts; other exponents show whole.
#include "test_support.h"

namespace kestrum::test {
namespace {

class Symbols : public SmallDatabaseTest {
protected:
    void SetUp() override {
        SmallDatabaseTest::SetUp();
        ASSERT_OK(e.Unit_Symbol_Replace("degC", "\xC2\xB0" "C"));
        ASSERT_OK(e.Unit_Symbol_Replace("btu", "Btu"));
        ASSERT_OK(e.Unit_Synonym_Add("btu", "BritishThermalUnit"));
    }
};

TEST_F(Symbols, RenderEveryTermOperatorAndExponent) {
    struct Row {
        const char* expression;
        const char* symbol;
    };
    const Row rows[] = {
        {"kg*m/s^2", "kg.m/s\xC2\xB2"},
        {"(m*s)/K", "(m.s)/K"},
        {"1000*m", "1000.m"},
        {"m^2", "m\xC2\xB2"},
        {"m^3", "m\xC2\xB3"},
        {"m^4", "m^4"},
        {"m^12", "m^12"},  // the whole exponent
        {"m^-3", "m^-3"},
        {"100km", "100km"},  // a number against a name: the number as written, the symbol
        {"m/100BritishThermalUnit^2", "m/100Btu\xC2\xB2"},
        {"2 ", "2 "},
        {"(m^10)", "(m^10)"},
        {"m^-1", "m^-1"},
        {"degC/h", "\xC2\xB0" "C/h"},
        {"btu/(h*ft^2*degF)", "Btu/(h.ft\xC2\xB2.degF)"},
        {"BritishThermalUnit", "Btu"},  // a synonym shows its unit's symbol
        {"KM/H", "KM/H"},               // a unit without symbol shows its name as written
        {"2", "2"},                     // numbers show as written
        {"10^3", "10\xC2\xB3"},
        {"1e3*m", "1e3.m"},
        {"1/(s^2*(m^11))", "1/(s\xC2\xB2.(m^11))"},  // a group nested at the end
        {"((m*s))", "((m.s))"},
        {"m)", "m)"},  // a closing parenthesis at the end is kept as written
        {"(m", "(m"},
        {"", ""},
    };
    for (const auto& row : rows) {
        std::string symbol = "stale";
        if (*row.expression == '\0') {
            EXPECT_RC(E_INVALID_EXPRESSION, e.UnitExpression_Symbol(row.expression, symbol)) << "empty text";
            continue;
        }
        ASSERT_OK(e.UnitExpression_Symbol(row.expression, symbol)) << row.expression;
        EXPECT_EQ(symbol, row.symbol) << row.expression;
    }
}

TEST_F(Symbols, UnknownUnitsAndMalformedTextsAreInvalidExpressions) {
    for (const char* expression : {"furlong", "m*furlong", "m^", "m^0", "m^02", "*", "m*", "m/", "m(", "m*(", "^2", ")", "()",
                                   "m^*s", "(m*s)^2", "0x10",
                                   "100furlong"}) {
        std::string symbol = "unchanged";
        EXPECT_RC(E_INVALID_EXPRESSION, e.UnitExpression_Symbol(expression, symbol)) << expression;
        EXPECT_EQ(symbol, "unchanged") << expression;
    }
}

TEST_F(Symbols, TakeExpressionsUpTo500Utf16CodeUnits) {
    std::string text500 = "km", text501 = "m";
    for (int i = 0; i < 249; ++i) text500 += "*1";
    for (int i = 0; i < 250; ++i) text501 += "*1";
    std::string symbol;
    ASSERT_OK(e.UnitExpression_Symbol(text500, symbol));
    EXPECT_EQ(symbol.size(), 500u);
    EXPECT_RC(E_INVALID_EXPRESSION, e.UnitExpression_Symbol(text501, symbol));
}

TEST(SymbolsBeforeInitialize, RenderNumbersButNoUnits) {
    Engine e;
    std::string symbol;
    ASSERT_OK(e.UnitExpression_Symbol("1000*2^2", symbol));
    EXPECT_EQ(symbol, "1000.2\xC2\xB2");
    EXPECT_RC(E_INVALID_EXPRESSION, e.UnitExpression_Symbol("m", symbol));
    // Units added without any database read render at once.
    ASSERT_OK(e.Quantity_Add("Length"));
    ASSERT_OK(e.Unit_Add("metre", "Length"));
    ASSERT_OK(e.Unit_Symbol_Replace("metre", "m"));
    ASSERT_OK(e.UnitExpression_Symbol("Metre^3", symbol));
    EXPECT_EQ(symbol, "m\xC2\xB3");
}

}  // namespace
}  // namespace kestrum::test
