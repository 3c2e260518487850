// The shipped database's units against the reference tables: conversions, synonyms, names and
// dimensions, for every unit and every name.
#include "data_test_support.h"

#include <set>

namespace kestrum::datatest {
namespace {

using ShippedUnits = ShippedDatabase;

TEST_F(ShippedUnits, HoldTheCountsTheReadmeStates) {
    std::vector<std::string> names;
    ASSERT_EQ(engine.Quantity_Set(names), S_OK);
    EXPECT_EQ(names.size(), 104u);
    ASSERT_EQ(engine.Unit_Set(names), S_OK);
    EXPECT_EQ(names.size(), 707u);
    std::size_t synonyms = 0;
    for (const auto& unit : names) {
        std::vector<std::string> list;
        ASSERT_EQ(engine.Unit_Synonym_Set(unit, list), S_OK) << unit;
        synonyms += list.size();
    }
    EXPECT_EQ(synonyms, 1636u);
    ASSERT_EQ(engine.UnitSystem_Set(names), S_OK);
    EXPECT_EQ(names, (std::vector<std::string>{"CGS", "English", "Imperial", "Oilfield", "SI"}));
}

TEST_F(ShippedUnits, HoldExactlyTheTables) {
    for (const auto& difference : data::compareWithTables(engine, tables())) ADD_FAILURE() << difference;
}

// v in unit u is v*f + o in SI base terms, so u converts to the SI system's unit s with the
// multiplier f/f_s and the add term (o - o_s)/f_s.
TEST_F(ShippedUnits, EveryUnitConvertsToItsSiUnitAsTheTablesImply) {
    const std::set<std::string> siUnitNotCoherent{"Fuel_Efficiency", "Fuel_Consumption", "Specific_Fuel_Consumption",
                                                  "Permeability"};
    ASSERT_EQ(engine.EnableDimensionalAnalysis(true), S_OK);
    for (const auto& u : tables().units) {
        const data::UnitRow* si = tables().findUnit(tables().siUnit(u.quantity));
        ASSERT_NE(si, nullptr) << u.quantity << " has no SI unit";
        EXPECT_EQ(si->offset, 0.0) << si->name;
        if (!siUnitNotCoherent.contains(u.quantity)) {
            EXPECT_EQ(si->factor, 1.0) << si->name;
        }
        const double multiplyBy = u.factor / si->factor;
        const double add = (u.offset - si->offset) / si->factor;
        double gotAdd = -1, gotMultiplyBy = -1;
        ASSERT_EQ(engine.UnitExpression_Convert(u.name, si->name, gotAdd, gotMultiplyBy), S_OK) << u.name;
        EXPECT_LE(ulpDistance(gotMultiplyBy, multiplyBy), 2u) << u.name << " -> " << si->name << ": " << gotMultiplyBy;
        EXPECT_LE(ulpDistance(gotAdd, add), 2u) << u.name << " -> " << si->name << ": " << gotAdd;
    }
}

TEST_F(ShippedUnits, EverySynonymResolvesToItsUnit) {
    std::size_t checked = 0;
    for (const auto& u : tables().units) {
        for (const auto& synonym : u.synonyms) {
            std::vector<std::string> synonyms;
            std::string quantity, symbol;
            ASSERT_EQ(engine.Unit_Synonym_Set(synonym, synonyms), S_OK) << synonym;
            EXPECT_NE(std::find(synonyms.begin(), synonyms.end(), synonym), synonyms.end()) << synonym;
            ASSERT_EQ(engine.Unit_Quantity(synonym, quantity), S_OK) << synonym;
            EXPECT_EQ(quantity, u.quantity) << synonym;
            ASSERT_EQ(engine.Unit_Symbol(synonym, symbol), S_OK) << synonym;
            EXPECT_EQ(symbol, u.symbol) << synonym << " of " << u.name;
            double add = -1, multiplyBy = -1;
            ASSERT_EQ(engine.UnitExpression_Convert(synonym, u.name, add, multiplyBy), S_OK) << synonym;
            EXPECT_EQ(multiplyBy, 1.0) << synonym;
            EXPECT_EQ(add, 0.0) << synonym;
            ++checked;
        }
    }
    EXPECT_EQ(checked, 1636u);
}

// One engine takes every name of the tables as a new unit system: each passes the engine's
// name rules, and no two are the same name in any mix of case.
TEST(ShippedNames, PassTheEngineRulesAndAreUniqueAcrossTheNameSpace) {
    std::vector<std::string> names = tables().systems;
    for (const auto& q : tables().quantities) names.push_back(q.name);
    for (const auto& u : tables().units) {
        names.push_back(u.name);
        names.insert(names.end(), u.synonyms.begin(), u.synonyms.end());
    }
    ASSERT_EQ(names.size(), 5u + 104u + 707u + 1636u);
    Engine fresh;
    for (const auto& name : names) EXPECT_EQ(fresh.UnitSystem_Add(name), S_OK) << name;
}

TEST_F(ShippedUnits, EveryUnitHasItsQuantitysVector) {
    for (const auto& u : tables().units) {
        std::string quantity;
        std::vector<std::int16_t> vector;
        ASSERT_EQ(engine.Unit_Quantity(u.name, quantity), S_OK) << u.name;
        ASSERT_EQ(engine.Quantity_DimVector(quantity, vector), S_OK) << quantity;
        const data::QuantityRow* row = tables().findQuantity(u.quantity);
        ASSERT_NE(row, nullptr) << u.quantity;
        EXPECT_TRUE(std::equal(vector.begin(), vector.end(), row->vector.begin(), row->vector.end())) << u.name;
    }
}

TEST_F(ShippedUnits, DefinitionsHaveTheDimensionsAndFactorsOfTheirUnits) {
    ASSERT_GE(tables().unitDefinitions.size(), 10u);
    ASSERT_EQ(engine.EnableDimensionalAnalysis(true), S_OK);
    for (const auto& [unit, expression] : tables().unitDefinitions) {
        std::string stored;
        ASSERT_EQ(engine.Unit_Expression(unit, stored), S_OK);
        EXPECT_EQ(stored, expression);
        double add = -1, multiplyBy = -1;
        ASSERT_EQ(engine.UnitExpression_Convert(expression, unit, add, multiplyBy), S_OK) << unit << " = " << expression;
        EXPECT_EQ(multiplyBy, 1.0) << unit;
        EXPECT_EQ(add, 0.0) << unit;
    }
}

// The choices the README documents, each checked as a user would meet it.
TEST_F(ShippedUnits, FollowTheDocumentedConventions) {
    struct Row {
        const char* from;
        const char* to;
        double value;
        double expected;
        const char* why;
    };
    const Row rows[] = {
        {"degC", "degF", 100, 212, "boiling point"},
        {"degC", "degF", -40, -40, "where the scales meet"},
        {"degF", "K", 32, 273.15, "absolute Fahrenheit carries its offset"},
        {"degR", "K", 9, 5, "Rankine has no offset"},
        {"delta_degF", "delta_K", 9, 5, "a temperature difference has no offset"},
        {"Btu/(lb*delta_degF)", "J/(kg*delta_K)", 1, 4186.8, "compound thermal units use the interval"},
        {"psig", "Pa", 0, 101325, "gauge pressure relative to one standard atmosphere"},
        {"barg", "bar", 1, 2.01325, "gauge bar"},
        {"year", "d", 1, 365.25, "year is the Julian year"},
        {"common_year", "d", 1, 365, "the 365-day year is named apart"},
        {"ton", "lb", 1, 2000, "ton is the short ton"},
        {"tonne", "kg", 1, 1000, "the tonne is the metric ton"},
        {"cal", "J", 1, 4.184, "calorie is thermochemical"},
        {"calorie_it", "J", 1, 4.1868, "the IT calorie is named apart"},
        {"Btu", "J", 1, 1055.05585262, "Btu is the International Table Btu"},
        {"therm", "Btu", 1, 105480400 / 1055.05585262, "US therm"},
        {"acre", "ft2", 1, 43560, "acre on the international foot"},
        {"survey_foot", "m", 3937, 1200, "the US survey foot keeps its old basis"},
        {"gal", "in3", 1, 231, "gal is the US gallon"},
        {"gal_imp", "L", 1, 4.54609, "imperial gallon"},
        {"bbl", "gal", 1, 42, "oil barrel"},
        {"Mcf", "ft3", 1, 1000, "oilfield M is a thousand"},
        {"MMscf", "scf", 1, 1e6, "oilfield MM is a million"},
        {"nm", "m", 1, 1e-9, "nm is the nanometre"},
        {"nmi", "m", 1, 1852, "nmi is the nautical mile"},
        {"kt", "km/h", 1, 1.852, "kt is the knot"},
        {"rev", "deg", 1, 360, "a turn"},
        {"h", "s", 1, 3600, "h is the hour"},
        {"btu/h", "W", 1, 1055.05585262 / 3600, "a compound expression of units"},
        {"km/h", "m/s", 36, 10, "a defined unit and its expression agree"},
    };
    for (const auto& row : rows) {
        double add = 0, multiplyBy = 0;
        ASSERT_EQ(engine.UnitExpression_Convert(row.from, row.to, add, multiplyBy), S_OK) << row.from << " " << row.to;
        EXPECT_NEAR(row.value * multiplyBy + add, row.expected, 1e-12 * std::abs(row.expected)) << row.why;
    }
}

}  // namespace
}  // namespace kestrum::datatest
