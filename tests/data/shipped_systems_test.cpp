// The shipped unit systems: preferred units, symbols and conversions of quantities in each
// system, and what the demo program and the desktop converter expect of them.
#include "data_test_support.h"

#include <optional>

namespace kestrum::datatest {
namespace {

using ShippedSystems = ShippedDatabase;

TEST_F(ShippedSystems, EveryPreferredUnitExistsAndBelongsToItsQuantity) {
    std::size_t preferred = 0;
    for (std::size_t s = 0; s < tables().systems.size(); ++s) {
        for (const auto& row : tables().preferredUnits) {
            std::string unit;
            ASSERT_EQ(engine.UnitSystem_PrefUnit(tables().systems[s], row.quantity, unit), S_OK) << row.quantity;
            EXPECT_EQ(unit, row.units[s]) << tables().systems[s] << " " << row.quantity;
            if (unit.empty()) continue;
            std::string quantity;
            ASSERT_EQ(engine.Unit_Quantity(unit, quantity), S_OK) << unit;
            EXPECT_EQ(quantity, row.quantity) << tables().systems[s] << " prefers " << unit;
            ++preferred;
        }
    }
    EXPECT_GT(preferred, 450u);
}

// The base quantity of dimension i is the first quantity, in the engine's order, whose vector
// is the unit vector of i.
std::optional<std::string> baseQuantity(Engine& engine, std::size_t dimension) {
    std::vector<std::string> quantities;
    engine.Quantity_Set(quantities);
    for (const auto& q : quantities) {
        std::vector<std::int16_t> v;
        if (engine.Quantity_DimVector(q, v) != S_OK) continue;
        bool unit = true;
        for (std::size_t i = 0; i < v.size(); ++i) unit = unit && v[i] == (i == dimension ? 1 : 0);
        if (unit) return q;
    }
    return std::nullopt;
}

TEST_F(ShippedSystems, QuantitySymbolsExistWhereverTheSystemCanExpressTheQuantity) {
    std::size_t constants = 0, symbols = 0;
    for (const auto& system : tables().systems) {
        for (const auto& q : tables().quantities) {
            std::string preferred;
            ASSERT_EQ(engine.UnitSystem_PrefUnit(system, q.name, preferred), S_OK);
            bool dimensionless = true, basesPreferred = true;
            for (std::size_t i = 0; i < q.vector.size(); ++i) {
                if (q.vector[i] == 0) continue;
                dimensionless = false;
                const auto base = baseQuantity(engine, i);
                ASSERT_TRUE(base) << "no base quantity for dimension " << i;
                std::string basePreferred;
                ASSERT_EQ(engine.UnitSystem_PrefUnit(system, *base, basePreferred), S_OK);
                basesPreferred = basesPreferred && !basePreferred.empty();
            }
            std::string symbol;
            const Result rc = engine.QuantityExpression_Symbol(system, q.name, symbol);
            const std::string label = system + " " + q.name;
            if (!preferred.empty()) {
                ASSERT_EQ(rc, S_OK) << label;
                std::string unitSymbol;
                ASSERT_EQ(engine.Unit_Symbol(preferred, unitSymbol), S_OK);
                EXPECT_EQ(symbol, unitSymbol.empty() ? preferred : unitSymbol) << label;
            } else if (dimensionless) {
                EXPECT_EQ(rc, E_NO_PREFERRED_UNIT_CONSTANT) << label;
                ++constants;
            } else if (basesPreferred) {
                EXPECT_EQ(rc, S_OK) << label;
                EXPECT_FALSE(symbol.empty()) << label;
            } else {
                EXPECT_EQ(rc, E_NO_PREFERRED_UNIT_BASIC) << label;
            }
            if (rc == S_OK) ++symbols;
        }
    }
    EXPECT_EQ(constants, 2u) << "Gas_Oil_Ratio in Imperial and CGS";
    EXPECT_GT(symbols, 480u);
}

// Converting a quantity from SI into another system gives the ratio of the two preferred
// units' factors (and their offsets' difference), as the desktop converter shows it.
TEST_F(ShippedSystems, QuantitiesConvertBetweenSystemsByTheirPreferredUnits) {
    std::size_t checked = 0;
    for (std::size_t s = 1; s < tables().systems.size(); ++s) {
        for (const auto& row : tables().preferredUnits) {
            const data::UnitRow* from = tables().findUnit(row.units[0]);
            const data::UnitRow* to = tables().findUnit(row.units[s]);
            if (!from || !to) continue;
            double add = -1, multiplyBy = -1;
            ASSERT_EQ(engine.QuantityExpression_Convert("SI", tables().systems[s], row.quantity, add, multiplyBy), S_OK)
                << row.quantity;
            EXPECT_LE(ulpDistance(multiplyBy, from->factor / to->factor), 2u) << tables().systems[s] << " " << row.quantity;
            EXPECT_LE(ulpDistance(add, (from->offset - to->offset) / to->factor), 2u) << row.quantity;
            ++checked;
        }
    }
    EXPECT_GT(checked, 350u);
}

// Quantities shown by their definitions convert even where a system prefers no unit for them.
TEST_F(ShippedSystems, DefinedQuantitiesConvertThroughTheirDefinitions) {
    struct Row {
        const char* system;
        const char* quantity;
        const char* symbol;
        double perSi;  // one SI preferred unit in the system's terms
    };
    const Row rows[] = {
        {"CGS", "Heat_Capacity", "erg/K", 1e7},
        {"CGS", "Molar_Concentration", "mol/cm³", 1e-6},
        {"CGS", "Pressure_Gradient", "Ba/cm", 0.1},
        {"English", "Molality", "lbmol/lb", 0.001},
        {"Imperial", "Mass_Concentration", "lb/ft³", 1 / 16.018463373960138},
    };
    for (const auto& row : rows) {
        std::string symbol;
        ASSERT_EQ(engine.QuantityExpression_Symbol(row.system, row.quantity, symbol), S_OK) << row.quantity;
        EXPECT_EQ(symbol, row.symbol);
        double add = -1, multiplyBy = -1;
        ASSERT_EQ(engine.QuantityExpression_Convert("SI", row.system, row.quantity, add, multiplyBy), S_OK);
        EXPECT_NEAR(multiplyBy, row.perSi, 1e-12 * row.perSi) << row.quantity;
        EXPECT_EQ(add, 0.0);
    }
}

// The demo program stores and shows its values in "English" and names its quantities in its
// own case: 200 ft, 50.126 lb, 33 s, and a temperature in degrees Fahrenheit.
TEST_F(ShippedSystems, EnglishServesTheDemoProgram) {
    struct Row {
        const char* quantity;
        const char* unit;
        const char* symbol;
    };
    const Row rows[] = {
        {"Length", "foot", "ft"}, {"mass", "pound", "lb"}, {"time", "second", "s"}, {"temperature", "degree_fahrenheit", "°F"}};
    for (const auto& row : rows) {
        std::string unit, symbol;
        ASSERT_EQ(engine.UnitSystem_PrefUnit("English", row.quantity, unit), S_OK) << row.quantity;
        EXPECT_EQ(unit, row.unit);
        ASSERT_EQ(engine.QuantityExpression_Symbol("English", row.quantity, symbol), S_OK) << row.quantity;
        EXPECT_EQ(symbol, row.symbol);
        double add = -1, multiplyBy = -1;
        ASSERT_EQ(engine.QuantityExpression_Convert("English", "English", row.quantity, add, multiplyBy), S_OK);
        EXPECT_EQ(multiplyBy, 1.0);
        EXPECT_EQ(add, 0.0);
    }
}

}  // namespace
}  // namespace kestrum::datatest
