// Unit edits: adding, removing, renaming (with the names in other units' expressions, found
// without regard to case), synonyms, and the single values of a unit.
#include "test_support.h"

namespace kestrum::test {
namespace {

class UnitEdits : public EngineTest {
protected:
    void SetUp() override {
        EngineTest::SetUp();
        addQuantity(e, "Length", {0, 1});
        addQuantity(e, "Time", {0, 0, 1});
        addQuantityExpression(e, "Velocity", "Length/m");  // names m, but as a quantity
        addUnit(e, "m", "Length", 1);
        ASSERT_OK(e.Unit_Synonym_Add("m", "Meter"));
        addUnit(e, "s", "Time", 1);
        addUnit(e, "mm", "Length", 0.001);
        ASSERT_OK(e.UnitSystem_Add("SI"));
        ASSERT_OK(e.UnitSystem_Add("Other"));
        setPreferred(e, "SI", "Length", "m");
        setPreferred(e, "Other", "Length", "Meter");
        setPreferred(e, "Other", "Time", "s");
    }
    std::string expressionOf(std::string_view unit) {
        std::string text;
        EXPECT_OK(e.Unit_Expression(unit, text)) << unit;
        return text;
    }
};

TEST_F(UnitEdits, RenamingReplacesTheNameAsAWholeTermInAnyCase) {
    struct Row {
        const char* before;
        const char* after;
    };
    const Row rows[] = {
        {"m*m", "metre*metre"},
        {"M*M", "metre*metre"},
        {"km*m", "km*metre"},
        {"m^2", "metre^2"},
        {"(m)", "(metre)"},
        {"(M^-1)", "(metre^-1)"},
        {"2*m/s", "2*metre/s"},
        {"mm/m", "mm/metre"},        // mm is another name
        {"m2*ms", "m2*ms"},          // so are m2 and ms
        {"m /s", "m /s"},            // a space is not a term boundary
        {"1000*Meter", "1000*Meter"},  // a synonym stays a synonym
        {"s^m", "s^metre"},
    };
    int i = 0;
    for (const auto& row : rows) addUnitExpression(e, "u" + std::to_string(i++), "Length", row.before);
    ASSERT_OK(e.Unit_Rename("M", "Metre"));
    i = 0;
    for (const auto& row : rows) EXPECT_EQ(expressionOf("u" + std::to_string(i++)), row.after) << row.before;
    // A unit rename leaves quantity expressions alone.
    std::string text;
    ASSERT_OK(e.Quantity_Expression("Velocity", text));
    EXPECT_EQ(text, "Length/m");
}

TEST_F(UnitEdits, RenamingKeepsSynonymsPreferencesAndValues) {
    addUnitExpression(e, "km", "Length", "1000*m");
    ASSERT_OK(e.Unit_Symbol_Replace("m", "m"));
    ASSERT_OK(e.Unit_Rename("m", "Metre"));
    std::string text;
    for (const char* system : {"SI", "Other"}) {
        ASSERT_OK(e.UnitSystem_PrefUnit(system, "Length", text));
        EXPECT_EQ(text, "Metre") << system;
    }
    ASSERT_OK(e.UnitSystem_PrefUnit("Other", "Time", text));
    EXPECT_EQ(text, "s");
    ASSERT_OK(e.Unit_Quantity("meter", text));  // the synonym follows
    EXPECT_EQ(text, "Length");
    std::vector<std::string> list;
    ASSERT_OK(e.Unit_Synonym_Set("metre", list));
    EXPECT_EQ(list, std::vector<std::string>{"Meter"});
    ASSERT_OK(e.Quantity_Unit_Set("Length", list));
    EXPECT_EQ(list, (std::vector<std::string>{"km", "Metre", "mm"}));
    ASSERT_OK(e.Unit_Symbol("METRE", text));
    EXPECT_EQ(text, "m");
    double add = 0, multiplyBy = 0;
    ASSERT_OK(e.UnitExpression_Convert("km", "metre", add, multiplyBy));
    EXPECT_EQ(multiplyBy, 1000.0);
    EXPECT_RC(E_UNIT_NOT_FOUND, e.UnitExpression_Convert("m", "metre", add, multiplyBy));
    EXPECT_OK(e.Quantity_Add("m"));  // the old name is free
}

TEST_F(UnitEdits, RemovingAUnitFreesItsNamesAndLeavesReferencesDangling) {
    addUnitExpression(e, "km", "Length", "1000*m");
    ASSERT_OK(e.Unit_Remove("Meter"));  // through a synonym: the unit itself goes
    std::vector<std::string> list;
    ASSERT_OK(e.Unit_Set(list));
    EXPECT_EQ(list, (std::vector<std::string>{"km", "mm", "s"}));
    ASSERT_OK(e.Quantity_Unit_Set("Length", list));
    EXPECT_EQ(list, (std::vector<std::string>{"km", "mm"}));
    std::string text;
    ASSERT_OK(e.UnitSystem_PrefUnit("SI", "Length", text));
    EXPECT_EQ(text, "");
    EXPECT_EQ(expressionOf("km"), "1000*m");
    double factor = 0;
    ASSERT_OK(e.Unit_ConversionFactor("km", factor));
    EXPECT_EQ(factor, UNDEFINED_VALUE);
    EXPECT_OK(e.Quantity_Add("meter"));  // the synonym's name is free
    addUnit(e, "M", "Length", 2);       // and a new m brings the expression back to life
    ASSERT_OK(e.Unit_ConversionFactor("km", factor));
    EXPECT_EQ(factor, 2000.0);
}

TEST_F(UnitEdits, SynonymsAreAddedAndRemovedByName) {
    ASSERT_OK(e.Unit_Synonym_Add("meter", "Metre"));  // added through a synonym, to its unit
    std::vector<std::string> list;
    ASSERT_OK(e.Unit_Synonym_Set("m", list));
    EXPECT_EQ(list, (std::vector<std::string>{"Meter", "Metre"}));
    EXPECT_RC(E_SYNONYM_NOT_FOUND, e.Unit_Synonym_Remove("s", "metre"));
    ASSERT_OK(e.Unit_Synonym_Remove("METRE", "METER"));
    ASSERT_OK(e.Unit_Synonym_Set("m", list));
    EXPECT_EQ(list, std::vector<std::string>{"Metre"});
    EXPECT_OK(e.Quantity_Add("Meter"));  // its name is free
    std::string text;
    EXPECT_RC(E_UNIT_NOT_FOUND, e.Unit_Quantity("meter", text));
}

TEST_F(UnitEdits, AUnitMovesToAnotherQuantity) {
    ASSERT_OK(e.Unit_Quantity_Replace("mm", "Time"));
    std::vector<std::string> list;
    ASSERT_OK(e.Quantity_Unit_Set("Length", list));
    EXPECT_EQ(list, std::vector<std::string>{"m"});
    ASSERT_OK(e.Quantity_Unit_Set("Time", list));
    EXPECT_EQ(list, (std::vector<std::string>{"mm", "s"}));
    double factor = 0;
    ASSERT_OK(e.Unit_ConversionFactor("mm", factor));
    EXPECT_EQ(factor, 0.001);  // its values stay
    ASSERT_OK(e.EnableDimensionalAnalysis(true));
    double add = 0, multiplyBy = 0;
    EXPECT_OK(e.UnitExpression_Convert("mm", "s", add, multiplyBy));
    EXPECT_RC(E_DIMENSIONS_DIFFER, e.UnitExpression_Convert("mm", "m", add, multiplyBy));
}

TEST_F(UnitEdits, AnExpressionDeterminesFactorAndOffsetUntilItIsCleared) {
    addUnitExpression(e, "km", "Length", "1000*m");
    EXPECT_RC(E_EXPRESSION_DETERMINES, e.Unit_ConversionFactor_Replace("km", 5));
    EXPECT_RC(E_EXPRESSION_DETERMINES, e.Unit_ConversionOffset_Replace("km", 5));
    ASSERT_OK(e.Unit_Expression_Replace("km", ""));
    double factor = -1, offset = -1;
    ASSERT_OK(e.Unit_ConversionFactor("km", factor));
    ASSERT_OK(e.Unit_ConversionOffset("km", offset));
    EXPECT_EQ(factor, 0.0);
    EXPECT_EQ(offset, 0.0);
    ASSERT_OK(e.Unit_ConversionFactor_Replace("km", 1000));
    ASSERT_OK(e.Unit_ConversionOffset_Replace("km", 3));
    ASSERT_OK(e.Unit_ConversionFactor("km", factor));
    ASSERT_OK(e.Unit_ConversionOffset("km", offset));
    EXPECT_EQ(factor, 1000.0);
    EXPECT_EQ(offset, 3.0);
    // Setting an expression again overrides the given values.
    ASSERT_OK(e.Unit_Expression_Replace("km", "999*m"));
    ASSERT_OK(e.Unit_ConversionFactor("km", factor));
    ASSERT_OK(e.Unit_ConversionOffset("km", offset));
    EXPECT_EQ(factor, 999.0);
    EXPECT_EQ(offset, 0.0);
}

TEST_F(UnitEdits, SymbolsAndExpressionsKeepTabsAndLineBreaks) {
    ASSERT_OK(e.Unit_Symbol_Replace("m", "a\tb\nc\rd"));
    std::string text;
    ASSERT_OK(e.Unit_Symbol("m", text));
    EXPECT_EQ(text, "a\tb\nc\rd");
    ASSERT_OK(e.Unit_Expression_Replace("mm", "m\t/1000"));
    EXPECT_EQ(expressionOf("mm"), "m\t/1000");
    ASSERT_OK(e.Unit_Symbol_Replace("m", ""));  // "" clears the symbol
    ASSERT_OK(e.Unit_Symbol("m", text));
    EXPECT_EQ(text, "");
    ASSERT_OK(e.Unit_Symbol_Replace("m", std::string(50, 'x')));
    const std::string expression500 = "m" + std::string(499, ' ');
    ASSERT_OK(e.Unit_Expression_Replace("mm", expression500));
    EXPECT_EQ(expressionOf("mm"), expression500);
}

}  // namespace
}  // namespace kestrum::test
