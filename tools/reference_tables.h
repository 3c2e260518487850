// The reference tables the shipped Unit Database is built from, and checked against:
// quantities.csv, units.csv, unit_systems.csv and definitions.csv in data/.
#pragma once

#include <kestrum/engine.h>

#include <array>
#include <cstdint>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

namespace kestrum::data {

using DimensionVector = std::array<std::int16_t, kBaseDimensions>;

struct QuantityRow {
    std::string name;
    DimensionVector vector{};
};

struct UnitRow {
    std::string name;
    std::string symbol;
    std::string quantity;
    double factor = 0;
    double offset = 0;
    std::vector<std::string> synonyms;
};

// One quantity's preferred unit in each unit system, in the order of `ReferenceTables::systems`;
// an empty name means the system has none.
struct PreferredUnitsRow {
    std::string quantity;
    std::vector<std::string> units;
};

// A quantity or unit that the database shows by its definition (a quantity or unit expression)
// rather than by the vector or factor of the tables, which it must reproduce exactly.
struct Definition {
    std::string name;
    std::string expression;
};

struct ReferenceTables {
    std::vector<QuantityRow> quantities;
    std::vector<UnitRow> units;
    std::vector<std::string> systems;
    std::vector<PreferredUnitsRow> preferredUnits;
    std::map<std::string, std::string> quantityDefinitions;  // quantity name -> expression
    std::map<std::string, std::string> unitDefinitions;      // unit name -> expression

    const QuantityRow* findQuantity(const std::string& name) const;
    const UnitRow* findUnit(const std::string& name) const;
    // The SI system's preferred unit of a quantity; empty when there is none.
    std::string siUnit(const std::string& quantity) const;
};

// Reads the four tables from `dir`. Numbers are read exactly (the shortest text of a double);
// a malformed number, vector element, row or a definition of an unknown item fails with a
// message naming the file and line.
bool loadReferenceTables(const std::filesystem::path& dir, ReferenceTables& tables, std::string& error);

// A double read the way the tables are written: the whole field, decimal, no hex, inf or nan.
bool parseExactNumber(const std::string& text, double& value);

// The shortest text that reads back to the same double, for messages.
std::string exactText(double value);

}  // namespace kestrum::data
