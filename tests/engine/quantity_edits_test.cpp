// Edits: every edit's checks in their order (a failed edit changes nothing), and what the
// quantity and unit-system edits do. Unit edits and renames are in unit_edits_test.cpp.
#include "test_support.h"

#include <functional>
#include <limits>
#include <tuple>

namespace kestrum::test {
namespace {

// Length (synonym Distance) with units m and km (km defined as 1000*m, m with synonym Meter),
// Time with s, a unit "orphan" whose quantity was removed, a unit "stray" whose removed
// quantity's name came back as a new quantity, and the unit system SI.
class EditTest : public EngineTest {
protected:
    void SetUp() override {
        EngineTest::SetUp();
        addQuantity(e, "Length", {0, 1});
        ASSERT_OK(e.Quantity_Synonym_Add("Length", "Distance"));
        addQuantity(e, "Time", {0, 0, 1});
        addQuantityExpression(e, "Velocity", "Length/Time");
        addUnit(e, "m", "Length", 1);
        ASSERT_OK(e.Unit_Synonym_Add("m", "Meter"));
        addUnitExpression(e, "km", "Length", "1000*m");
        addUnit(e, "s", "Time", 1);
        addQuantity(e, "Gone", {1});
        addUnit(e, "orphan", "Gone", 1);
        ASSERT_OK(e.Quantity_Remove("Gone"));
        addQuantity(e, "Back", {1});
        addUnit(e, "stray", "Back", 1);
        ASSERT_OK(e.Quantity_Remove("Back"));
        ASSERT_OK(e.Quantity_Add("Back"));
        ASSERT_OK(e.UnitSystem_Add("SI"));
        setPreferred(e, "SI", "Length", "m");
    }
};

TEST_F(EditTest, EveryCheckRunsInOrderAndAFailureChangesNothing) {
    const std::int16_t vector[kBaseDimensions] = {0, 1};
    const std::string tooLong(501, 'm');
    struct Row {
        std::function<Result()> edit;
        Result code;
        const char* label;
    };
    const Row rows[] = {
        {[&] { return e.Quantity_Add(""); }, E_NAME_NOT_ACCEPTABLE, "Quantity_Add: name"},
        {[&] { return e.Quantity_Add("DISTANCE"); }, E_NAME_EXISTS, "Quantity_Add: taken"},
        {[&] { return e.Quantity_Remove("Furlongs"); }, E_QUANTITY_NOT_FOUND, "Quantity_Remove"},
        {[&] { return e.Quantity_Rename("Furlongs", "2x"); }, E_QUANTITY_NOT_FOUND, "Quantity_Rename: quantity first"},
        {[&] { return e.Quantity_Rename("Length", "2x"); }, E_NAME_NOT_ACCEPTABLE, "Quantity_Rename: name"},
        {[&] { return e.Quantity_Rename("Length", "Meter"); }, E_NAME_EXISTS, "Quantity_Rename: taken"},
        {[&] { return e.Quantity_Rename("Length", "distance"); }, E_NAME_EXISTS, "Quantity_Rename: its own synonym"},
        {[&] { return e.Quantity_Synonym_Add("Furlongs", "2x"); }, E_QUANTITY_NOT_FOUND,
         "Quantity_Synonym_Add: quantity first"},
        {[&] { return e.Quantity_Synonym_Add("Time", "a b"); }, E_NAME_NOT_ACCEPTABLE, "Quantity_Synonym_Add: name"},
        {[&] { return e.Quantity_Synonym_Add("Time", "SI"); }, E_NAME_EXISTS, "Quantity_Synonym_Add: taken"},
        {[&] { return e.Quantity_Synonym_Remove("Furlongs", "nothing"); }, E_QUANTITY_NOT_FOUND,
         "Quantity_Synonym_Remove: quantity first"},
        {[&] { return e.Quantity_Synonym_Remove("Time", "Distance"); }, E_SYNONYM_NOT_FOUND,
         "Quantity_Synonym_Remove: another quantity's synonym"},
        {[&] { return e.Quantity_Synonym_Remove("Length", "Length"); }, E_SYNONYM_NOT_FOUND,
         "Quantity_Synonym_Remove: its own name is no synonym"},
        {[&] { return e.Quantity_DimVector_Replace("Furlongs", vector); }, E_QUANTITY_NOT_FOUND,
         "Quantity_DimVector_Replace: quantity"},
        {[&] { return e.Quantity_DimVector_Replace("Velocity", vector); }, E_EXPRESSION_DETERMINES,
         "Quantity_DimVector_Replace: expression"},
        {[&] { return e.Quantity_Expression_Replace("Furlongs", tooLong); }, E_QUANTITY_NOT_FOUND,
         "Quantity_Expression_Replace: quantity first"},
        {[&] { return e.Quantity_Expression_Replace("Velocity", tooLong); }, E_INVALID_EXPRESSION,
         "Quantity_Expression_Replace: 501 characters"},
        {[&] { return e.Quantity_Expression_Replace("Velocity", "Length\x01"); }, E_INVALID_EXPRESSION,
         "Quantity_Expression_Replace: control character"},
        {[&] { return e.Unit_Add("2x", "Furlongs"); }, E_NAME_NOT_ACCEPTABLE, "Unit_Add: name first"},
        {[&] { return e.Unit_Add("meter", "Furlongs"); }, E_NAME_EXISTS, "Unit_Add: taken before quantity"},
        {[&] { return e.Unit_Add("ft", "Furlongs"); }, E_QUANTITY_NOT_FOUND, "Unit_Add: quantity"},
        {[&] { return e.Unit_Add("ft", "Gone"); }, E_QUANTITY_NOT_FOUND, "Unit_Add: removed quantity"},
        {[&] { return e.Unit_Remove("furlong"); }, E_UNIT_NOT_FOUND, "Unit_Remove"},
        {[&] { return e.Unit_Rename("furlong", "2x"); }, E_UNIT_NOT_FOUND, "Unit_Rename: unit first"},
        {[&] { return e.Unit_Rename("orphan", "2x"); }, E_NAME_NOT_ACCEPTABLE, "Unit_Rename: name"},
        {[&] { return e.Unit_Rename("orphan", "KM"); }, E_NAME_EXISTS, "Unit_Rename: taken before quantity"},
        {[&] { return e.Unit_Rename("orphan", "fresh"); }, E_QUANTITY_NOT_FOUND, "Unit_Rename: removed quantity"},
        {[&] { return e.Unit_Rename("stray", "fresh"); }, E_INTERNAL, "Unit_Rename: not in its quantity's list"},
        {[&] { return e.Unit_Synonym_Add("furlong", "2x"); }, E_UNIT_NOT_FOUND, "Unit_Synonym_Add: unit first"},
        {[&] { return e.Unit_Synonym_Add("s", "2x"); }, E_NAME_NOT_ACCEPTABLE, "Unit_Synonym_Add: name"},
        {[&] { return e.Unit_Synonym_Add("s", "time"); }, E_NAME_EXISTS, "Unit_Synonym_Add: taken"},
        {[&] { return e.Unit_Synonym_Remove("furlong", "x"); }, E_UNIT_NOT_FOUND, "Unit_Synonym_Remove: unit first"},
        {[&] { return e.Unit_Synonym_Remove("s", "Meter"); }, E_SYNONYM_NOT_FOUND,
         "Unit_Synonym_Remove: another unit's synonym"},
        {[&] { return e.Unit_Synonym_Remove("s", std::string(51, 'x')); }, E_SYNONYM_NOT_FOUND,
         "Unit_Synonym_Remove: over-long"},
        {[&] { return e.Unit_Quantity_Replace("furlong", "Furlongs"); }, E_UNIT_NOT_FOUND,
         "Unit_Quantity_Replace: unit first"},
        {[&] { return e.Unit_Quantity_Replace("s", "Furlongs"); }, E_QUANTITY_NOT_FOUND,
         "Unit_Quantity_Replace: quantity"},
        {[&] { return e.Unit_ConversionFactor_Replace("furlong", 2); }, E_UNIT_NOT_FOUND,
         "Unit_ConversionFactor_Replace: unit"},
        {[&] { return e.Unit_ConversionFactor_Replace("km", 2); }, E_EXPRESSION_DETERMINES,
         "Unit_ConversionFactor_Replace: expression"},
        {[&] { return e.Unit_ConversionOffset_Replace("furlong", 2); }, E_UNIT_NOT_FOUND,
         "Unit_ConversionOffset_Replace: unit"},
        {[&] { return e.Unit_ConversionOffset_Replace("km", 2); }, E_EXPRESSION_DETERMINES,
         "Unit_ConversionOffset_Replace: expression"},
        {[&] { return e.Unit_Expression_Replace("furlong", tooLong); }, E_UNIT_NOT_FOUND,
         "Unit_Expression_Replace: unit first"},
        {[&] { return e.Unit_Expression_Replace("km", tooLong); }, E_INVALID_EXPRESSION,
         "Unit_Expression_Replace: 501 characters"},
        {[&] { return e.Unit_Expression_Replace("km", "1000*m\x1f"); }, E_INVALID_EXPRESSION,
         "Unit_Expression_Replace: control character"},
        {[&] { return e.Unit_Symbol_Replace("furlong", std::string(51, 'x')); }, E_UNIT_NOT_FOUND,
         "Unit_Symbol_Replace: unit first"},
        {[&] { return e.Unit_Symbol_Replace("m", std::string(51, 'x')); }, E_NAME_NOT_ACCEPTABLE,
         "Unit_Symbol_Replace: 51 characters"},
        {[&] { return e.Unit_Symbol_Replace("m", "m\x7f\x02"); }, E_NAME_NOT_ACCEPTABLE,
         "Unit_Symbol_Replace: control character"},
        {[&] { return e.UnitSystem_Add("S I"); }, E_NAME_NOT_ACCEPTABLE, "UnitSystem_Add: name"},
        {[&] { return e.UnitSystem_Add("velocity"); }, E_NAME_EXISTS, "UnitSystem_Add: taken"},
        {[&] { return e.UnitSystem_Remove("Metric"); }, E_UNIT_SYSTEM_NOT_FOUND, "UnitSystem_Remove"},
        {[&] { return e.UnitSystem_Remove("Length"); }, E_UNIT_SYSTEM_NOT_FOUND, "UnitSystem_Remove: a quantity"},
        {[&] { return e.UnitSystem_Rename("Metric", "2x"); }, E_UNIT_SYSTEM_NOT_FOUND, "UnitSystem_Rename: system"},
        {[&] { return e.UnitSystem_Rename("SI", "2x"); }, E_NAME_NOT_ACCEPTABLE, "UnitSystem_Rename: name"},
        {[&] { return e.UnitSystem_Rename("SI", "km"); }, E_NAME_EXISTS, "UnitSystem_Rename: taken"},
        {[&] { return e.UnitSystem_PrefUnit_Replace("Metric", "Furlongs", "m"); }, E_UNIT_SYSTEM_NOT_FOUND,
         "UnitSystem_PrefUnit_Replace: system first"},
        {[&] { return e.UnitSystem_PrefUnit_Replace("SI", "Furlongs", "m"); }, E_QUANTITY_NOT_FOUND,
         "UnitSystem_PrefUnit_Replace: quantity"},
        {[&] { return e.UnitSystem_PrefUnit_Replace("SI", "Gone", "m"); }, E_QUANTITY_NOT_FOUND,
         "UnitSystem_PrefUnit_Replace: removed quantity"},
    };
    for (const auto& row : rows) {
        const std::string before = dump(e);
        EXPECT_RC(row.code, row.edit()) << row.label;
        EXPECT_EQ(dump(e), before) << row.label;
    }
}

TEST_F(EditTest, FactorsAndOffsetsMustBeNumbersAFileCanHold) {
    for (double bad : {std::numeric_limits<double>::infinity(), -std::numeric_limits<double>::infinity(),
                       std::numeric_limits<double>::quiet_NaN()}) {
        EXPECT_NE(S_OK, e.Unit_ConversionFactor_Replace("m", bad));
        EXPECT_NE(S_OK, e.Unit_ConversionOffset_Replace("m", bad));
    }
    double factor = 0;
    ASSERT_OK(e.Unit_ConversionFactor("m", factor));
    EXPECT_EQ(factor, 1.0);
    // Any finite value is taken, the sentinel and 0 included.
    EXPECT_OK(e.Unit_ConversionFactor_Replace("s", 0.0));
    EXPECT_OK(e.Unit_ConversionOffset_Replace("s", UNDEFINED_VALUE));
}

TEST_F(EditTest, ANewQuantityIsDimensionlessWithNoPreferredUnit) {
    ASSERT_OK(e.UnitSystem_Add("English"));
    ASSERT_OK(e.Quantity_Add("Area"));
    std::vector<std::int16_t> vector;
    ASSERT_OK(e.Quantity_DimVector("Area", vector));
    EXPECT_EQ(vector, std::vector<std::int16_t>(kBaseDimensions, 0));
    std::string preferred = "stale";
    for (const char* system : {"SI", "English"}) {
        ASSERT_OK(e.UnitSystem_PrefUnit(system, "Area", preferred));
        EXPECT_EQ(preferred, "") << system;
    }
    const std::int16_t square[] = {0, 2, 0, 0, 0, 0, 0, 0, 0, 0};
    ASSERT_OK(e.Quantity_DimVector_Replace("Area", square));
    ASSERT_OK(e.Quantity_DimVector("area", vector));
    EXPECT_EQ(vector, (std::vector<std::int16_t>{0, 2, 0, 0, 0, 0, 0, 0, 0, 0}));
}

TEST_F(EditTest, AShortVectorReplacesTheFirstExponentsOnly) {
    const std::int16_t full[] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10};
    const std::int16_t three[] = {-1, -2, -3};
    const std::int16_t twelve[] = {9, 9, 9, 9, 9, 9, 9, 9, 9, 9, 9, 9};
    ASSERT_OK(e.Quantity_DimVector_Replace("Time", full));
    ASSERT_OK(e.Quantity_DimVector_Replace("Time", three));
    std::vector<std::int16_t> vector;
    ASSERT_OK(e.Quantity_DimVector("Time", vector));
    EXPECT_EQ(vector, (std::vector<std::int16_t>{-1, -2, -3, 4, 5, 6, 7, 8, 9, 10}));
    ASSERT_OK(e.Quantity_DimVector_Replace("Time", twelve));  // only ten are taken
    ASSERT_OK(e.Quantity_DimVector("Time", vector));
    EXPECT_EQ(vector, std::vector<std::int16_t>(kBaseDimensions, 9));
}

TEST_F(EditTest, AnExpressionDeterminesTheVectorUntilItIsCleared) {
    const std::int16_t vector[] = {0, 1, -1};
    EXPECT_RC(E_EXPRESSION_DETERMINES, e.Quantity_DimVector_Replace("Velocity", vector));
    ASSERT_OK(e.Quantity_Expression_Replace("Velocity", ""));
    std::vector<std::int16_t> result;
    ASSERT_OK(e.Quantity_DimVector("Velocity", result));
    EXPECT_EQ(result, std::vector<std::int16_t>(kBaseDimensions, 0));
    ASSERT_OK(e.Quantity_DimVector_Replace("Velocity", vector));
    ASSERT_OK(e.Quantity_DimVector("Velocity", result));
    EXPECT_EQ(result, (std::vector<std::int16_t>{0, 1, -1, 0, 0, 0, 0, 0, 0, 0}));
    // An expression naming an unknown quantity is stored all the same.
    ASSERT_OK(e.Quantity_Expression_Replace("Velocity", "Length/Furlongs"));
    std::string expression;
    ASSERT_OK(e.Quantity_Expression("Velocity", expression));
    EXPECT_EQ(expression, "Length/Furlongs");
    ASSERT_OK(e.Quantity_DimVector("Velocity", result));
    EXPECT_EQ(result, std::vector<std::int16_t>(kBaseDimensions, UNSET_EXPONENT));
}

TEST_F(EditTest, RemovingAQuantityFreesItsNamesAndKeepsItsUnits) {
    ASSERT_OK(e.Quantity_Remove("distance"));  // through a synonym: the quantity itself goes
    std::vector<std::string> list;
    ASSERT_OK(e.Quantity_Set(list));
    EXPECT_EQ(list, (std::vector<std::string>{"Back", "Time", "Velocity"}));
    ASSERT_OK(e.Unit_Set(list));
    EXPECT_EQ(list, (std::vector<std::string>{"km", "m", "orphan", "s", "stray"}));
    double add = 0, multiplyBy = 0;
    EXPECT_RC(E_QUANTITY_NOT_FOUND, e.UnitExpression_Convert("km", "m", add, multiplyBy));
    EXPECT_OK(e.Quantity_Add("Length"));
    EXPECT_OK(e.Quantity_Add("DISTANCE"));
    EXPECT_OK(e.UnitExpression_Convert("km", "m", add, multiplyBy));
}

TEST_F(EditTest, RenamingAQuantityCarriesEverythingAlong) {
    ASSERT_OK(e.Quantity_Add("Acceleration"));
    ASSERT_OK(e.Quantity_Expression_Replace("Acceleration", "Velocity/TIME"));
    ASSERT_OK(e.Quantity_Synonym_Add("Time", "Period"));
    ASSERT_OK(e.UnitSystem_Add("Other"));
    setPreferred(e, "Other", "Time", "s");
    ASSERT_OK(e.Quantity_Rename("time", "Duration"));
    std::string text;
    ASSERT_OK(e.Quantity_Expression("Velocity", text));
    EXPECT_EQ(text, "Length/duration");
    ASSERT_OK(e.Quantity_Expression("Acceleration", text));
    EXPECT_EQ(text, "Velocity/duration");  // found in any case, written as the new key
    ASSERT_OK(e.Unit_Quantity("s", text));
    EXPECT_EQ(text, "Duration");
    std::vector<std::string> list;
    ASSERT_OK(e.Quantity_Unit_Set("Duration", list));
    EXPECT_EQ(list, std::vector<std::string>{"s"});
    ASSERT_OK(e.Quantity_Synonym_Set("period", list));
    EXPECT_EQ(list, std::vector<std::string>{"Period"});
    ASSERT_OK(e.UnitSystem_PrefUnit("Other", "Duration", text));
    EXPECT_EQ(text, "s");
    EXPECT_RC(E_QUANTITY_NOT_FOUND, e.Quantity_Expression("Time", text));
    EXPECT_OK(e.Quantity_Add("Time"));  // the old name is free again
    // An expression-defined quantity stays expression-defined under its new name.
    ASSERT_OK(e.Quantity_Rename("Velocity", "Speed"));
    ASSERT_OK(e.Quantity_Expression("Speed", text));
    EXPECT_EQ(text, "Length/duration");
    ASSERT_OK(e.Quantity_Expression("Acceleration", text));
    EXPECT_EQ(text, "speed/duration");
    std::vector<std::int16_t> vector;
    ASSERT_OK(e.Quantity_DimVector("Acceleration", vector));
    EXPECT_EQ(vector, (std::vector<std::int16_t>{0, 1, -2, 0, 0, 0, 0, 0, 0, 0}));
}

TEST_F(EditTest, RenamingToTheSameKeyChangesOnlyTheDisplayName) {
    for (auto [kind, from, to] : {std::tuple{0, "Length", "LENGTH"}, std::tuple{1, "m", "M"},
                                  std::tuple{2, "SI", "si"}}) {
        const std::string before = dump(e);
        Result rc = kind == 0 ? e.Quantity_Rename(from, to) : kind == 1 ? e.Unit_Rename(from, to)
                                                                        : e.UnitSystem_Rename(from, to);
        ASSERT_OK(rc) << from;
        std::string after = dump(e);
        EXPECT_NE(after, before) << from;
        ASSERT_OK(kind == 0 ? e.Quantity_Rename(to, from) : kind == 1 ? e.Unit_Rename(to, from)
                                                                      : e.UnitSystem_Rename(to, from));
        EXPECT_EQ(dump(e), before) << from;
    }
    ASSERT_OK(e.Unit_Rename("orphan", "ORPHAN"));  // no quantity check for a display change
}

TEST_F(EditTest, UnitSystemsAreAddedRenamedAndRemoved) {
    ASSERT_OK(e.UnitSystem_Rename("SI", "Metric"));
    std::string preferred;
    ASSERT_OK(e.UnitSystem_PrefUnit("metric", "Length", preferred));
    EXPECT_EQ(preferred, "m");
    EXPECT_RC(E_UNIT_SYSTEM_NOT_FOUND, e.UnitSystem_PrefUnit("SI", "Length", preferred));
    ASSERT_OK(e.UnitSystem_Add("SI"));  // the old name is free
    ASSERT_OK(e.UnitSystem_PrefUnit("SI", "Length", preferred));
    EXPECT_EQ(preferred, "");
    setPreferred(e, "Metric", "Length", "furlong");  // an unknown unit clears the preference
    ASSERT_OK(e.UnitSystem_PrefUnit("metric", "Length", preferred));
    EXPECT_EQ(preferred, "");
    setPreferred(e, "Metric", "Length", "s");  // nothing checks that the unit fits the quantity
    ASSERT_OK(e.UnitSystem_PrefUnit("metric", "Length", preferred));
    EXPECT_EQ(preferred, "s");
    ASSERT_OK(e.UnitSystem_Remove("METRIC"));
    std::vector<std::string> list;
    ASSERT_OK(e.UnitSystem_Set(list));
    EXPECT_EQ(list, std::vector<std::string>{"SI"});
    EXPECT_OK(e.Quantity_Add("Metric"));  // its name is free for anything
}

}  // namespace
}  // namespace kestrum::test
