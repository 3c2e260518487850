// The queries: what they answer on an empty engine, the order of their checks, outputs written
// only on success, and the values they work out on demand.
#include "test_support.h"

#include <functional>

namespace kestrum::test {
namespace {

TEST(Queries, AnEmptyEngineHasEmptyListsAndFindsNothing) {
    Engine e;
    std::vector<std::string> list{"stale"};
    ASSERT_OK(e.Quantity_Set(list));
    EXPECT_TRUE(list.empty());
    list = {"stale"};
    ASSERT_OK(e.Unit_Set(list));
    EXPECT_TRUE(list.empty());
    list = {"stale"};
    ASSERT_OK(e.UnitSystem_Set(list));
    EXPECT_TRUE(list.empty());
}

TEST(Queries, UnknownItemsAreReportedAndOutputsKept) {
    Engine e;
    addQuantity(e, "Length", {0, 1});
    addUnit(e, "m", "Length", 1);
    ASSERT_OK(e.UnitSystem_Add("SI"));
    std::vector<std::string> list{"kept"};
    std::vector<std::int16_t> vector{42};
    std::string text = "kept";
    double value = 42;
    const std::vector<std::string> keptList{"kept"};
    const std::vector<std::int16_t> keptVector{42};
    struct Row {
        std::function<Result()> call;
        Result code;
        const char* label;
    };
    const Row rows[] = {
        {[&] { return e.Quantity_Synonym_Set("Furlongs", list); }, E_QUANTITY_NOT_FOUND, "Quantity_Synonym_Set"},
        {[&] { return e.Quantity_DimVector("Furlongs", vector); }, E_QUANTITY_NOT_FOUND, "Quantity_DimVector"},
        {[&] { return e.Quantity_Expression("Furlongs", text); }, E_QUANTITY_NOT_FOUND, "Quantity_Expression"},
        {[&] { return e.Quantity_Unit_Set("Furlongs", list); }, E_QUANTITY_NOT_FOUND, "Quantity_Unit_Set"},
        {[&] { return e.Quantity_Expression("m", text); }, E_QUANTITY_NOT_FOUND, "a unit is no quantity"},
        {[&] { return e.Unit_Synonym_Set("furlong", list); }, E_UNIT_NOT_FOUND, "Unit_Synonym_Set"},
        {[&] { return e.Unit_Quantity("furlong", text); }, E_UNIT_NOT_FOUND, "Unit_Quantity"},
        {[&] { return e.Unit_ConversionFactor("furlong", value); }, E_UNIT_NOT_FOUND, "Unit_ConversionFactor"},
        {[&] { return e.Unit_ConversionOffset("furlong", value); }, E_UNIT_NOT_FOUND, "Unit_ConversionOffset"},
        {[&] { return e.Unit_Expression("furlong", text); }, E_UNIT_NOT_FOUND, "Unit_Expression"},
        {[&] { return e.Unit_Symbol("furlong", text); }, E_UNIT_NOT_FOUND, "Unit_Symbol"},
        {[&] { return e.Unit_Symbol("Length", text); }, E_UNIT_NOT_FOUND, "a quantity is no unit"},
        {[&] { return e.UnitSystem_PrefUnit("Metric", "Length", text); }, E_UNIT_SYSTEM_NOT_FOUND, "unknown system"},
        {[&] { return e.UnitSystem_PrefUnit("Metric", "Furlongs", text); }, E_UNIT_SYSTEM_NOT_FOUND,
         "the system is looked up first"},
        {[&] { return e.UnitSystem_PrefUnit("SI", "Furlongs", text); }, E_QUANTITY_NOT_FOUND, "then the quantity"},
        {[&] { return e.UnitSystem_PrefUnit("Length", "Length", text); }, E_UNIT_SYSTEM_NOT_FOUND,
         "a quantity is no unit system"},
    };
    for (const auto& row : rows) {
        EXPECT_RC(row.code, row.call()) << row.label;
        EXPECT_EQ(list, keptList) << row.label;
        EXPECT_EQ(vector, keptVector) << row.label;
        EXPECT_EQ(text, "kept") << row.label;
        EXPECT_EQ(value, 42) << row.label;
    }
}

TEST(Queries, AQuantityVectorIsWorkedOutOnDemand) {
    Engine e;
    addQuantity(e, "Length", {0, 1});
    addQuantity(e, "Time", {0, 0, 1});
    ASSERT_OK(e.Quantity_Add("Ratio"));
    std::vector<std::int16_t> vector;
    ASSERT_OK(e.Quantity_DimVector("Ratio", vector));  // a new quantity: its empty expression
    EXPECT_EQ(vector, std::vector<std::int16_t>(kBaseDimensions, 0));

    addQuantityExpression(e, "Velocity", "Length/Duration");
    ASSERT_OK(e.Quantity_DimVector("Velocity", vector));
    EXPECT_EQ(vector, std::vector<std::int16_t>(kBaseDimensions, UNSET_EXPONENT));
    ASSERT_OK(e.Quantity_DimVector("Velocity", vector));  // tried again, fails again
    EXPECT_EQ(vector, std::vector<std::int16_t>(kBaseDimensions, UNSET_EXPONENT));
    ASSERT_OK(e.Quantity_Synonym_Add("Time", "Duration"));  // now it can be worked out
    ASSERT_OK(e.Quantity_DimVector("Velocity", vector));
    EXPECT_EQ(vector, (std::vector<std::int16_t>{0, 1, -1, 0, 0, 0, 0, 0, 0, 0}));
    ASSERT_OK(e.Quantity_Expression_Replace("Velocity", "Length^2/Time"));
    ASSERT_OK(e.Quantity_DimVector("Velocity", vector));
    EXPECT_EQ(vector, (std::vector<std::int16_t>{0, 2, -1, 0, 0, 0, 0, 0, 0, 0}));
}

TEST(Queries, AUnitFactorIsWorkedOutOnDemand) {
    Engine e;
    addQuantity(e, "Length", {0, 1});
    ASSERT_OK(e.Unit_Add("m", "Length"));
    double factor = -1, offset = -1;
    // Given neither factor nor expression: its empty expression gives 0, and 0 it stays.
    ASSERT_OK(e.Unit_ConversionOffset("m", offset));
    EXPECT_EQ(offset, 0.0);
    ASSERT_OK(e.Unit_ConversionFactor("m", factor));
    EXPECT_EQ(factor, 0.0);
    ASSERT_OK(e.Unit_ConversionFactor("m", factor));
    EXPECT_EQ(factor, 0.0);

    addUnitExpression(e, "km", "Length", "1000*metre");
    ASSERT_OK(e.Unit_ConversionFactor("km", factor));
    EXPECT_EQ(factor, UNDEFINED_VALUE);
    ASSERT_OK(e.Unit_ConversionOffset("km", offset));
    EXPECT_EQ(offset, UNDEFINED_VALUE);
    addUnit(e, "metre", "Length", 1);
    ASSERT_OK(e.Unit_ConversionFactor("km", factor));
    EXPECT_EQ(factor, 1000.0);
    ASSERT_OK(e.Unit_ConversionOffset("km", offset));
    EXPECT_EQ(offset, 0.0);
}

TEST(Queries, PreferredUnitsReadEmptyWhenNeverSetOrRemoved) {
    Engine e;
    addQuantity(e, "Length", {0, 1});
    ASSERT_OK(e.UnitSystem_Add("SI"));
    addQuantity(e, "Time", {0, 0, 1});  // added after the system
    addUnit(e, "Metre", "Length", 1);
    std::string preferred = "stale";
    ASSERT_OK(e.UnitSystem_PrefUnit("SI", "Time", preferred));
    EXPECT_EQ(preferred, "");
    ASSERT_OK(e.UnitSystem_PrefUnit("SI", "Length", preferred));
    EXPECT_EQ(preferred, "");
    ASSERT_OK(e.UnitSystem_PrefUnit_Replace("si", "length", "METRE"));
    ASSERT_OK(e.UnitSystem_PrefUnit("SI", "LENGTH", preferred));
    EXPECT_EQ(preferred, "Metre");  // the display name
    ASSERT_OK(e.Unit_Remove("metre"));
    ASSERT_OK(e.UnitSystem_PrefUnit("SI", "Length", preferred));
    EXPECT_EQ(preferred, "");
    // A new unit of the same name is not silently preferred either way: the key names it again.
    addUnit(e, "METRE", "Length", 1);
    ASSERT_OK(e.UnitSystem_PrefUnit("SI", "Length", preferred));
    EXPECT_EQ(preferred, "METRE");
}

TEST(Queries, AUnitOfARemovedQuantityReportsTheQuantityKey) {
    Engine e;
    addQuantity(e, "Length", {0, 1});
    addUnit(e, "m", "Length", 1);
    ASSERT_OK(e.Quantity_Remove("Length"));
    std::string quantity;
    ASSERT_OK(e.Unit_Quantity("m", quantity));
    EXPECT_EQ(quantity, "length");
    std::vector<std::string> units;
    ASSERT_OK(e.Unit_Set(units));
    EXPECT_EQ(units, std::vector<std::string>{"m"});
    // A quantity of the same name gathers the unit again: the key is what ties them.
    ASSERT_OK(e.Quantity_Add("LENGTH"));
    ASSERT_OK(e.Quantity_Unit_Set("length", units));
    EXPECT_EQ(units, std::vector<std::string>{"m"});
    ASSERT_OK(e.Unit_Quantity("m", quantity));
    EXPECT_EQ(quantity, "LENGTH");
}

}  // namespace
}  // namespace kestrum::test
