#include "database_builder.h"

#include <algorithm>
#include <bit>
#include <cstdint>

namespace kestrum::data {

namespace {

class EditLog {
public:
    void check(Result rc, const std::string& what) {
        if (rc != S_OK) m_messages.push_back(what + ": " + ErrorMessage(rc));
    }
    std::vector<std::string> take() { return std::move(m_messages); }

private:
    std::vector<std::string> m_messages;
};

void addQuantities(Engine& engine, const ReferenceTables& tables, EditLog& log) {
    for (const auto& q : tables.quantities) {
        log.check(engine.Quantity_Add(q.name), "Quantity_Add " + q.name);
        const auto definition = tables.quantityDefinitions.find(q.name);
        if (definition != tables.quantityDefinitions.end()) {
            log.check(engine.Quantity_Expression_Replace(q.name, definition->second),
                      "Quantity_Expression_Replace " + q.name);
        } else {
            log.check(engine.Quantity_DimVector_Replace(q.name, q.vector), "Quantity_DimVector_Replace " + q.name);
        }
    }
}

void addUnits(Engine& engine, const ReferenceTables& tables, EditLog& log) {
    for (const auto& u : tables.units) {
        log.check(engine.Unit_Add(u.name, u.quantity), "Unit_Add " + u.name);
        if (!tables.unitDefinitions.contains(u.name)) {
            log.check(engine.Unit_ConversionFactor_Replace(u.name, u.factor), "Unit_ConversionFactor_Replace " + u.name);
            if (u.offset != 0.0)
                log.check(engine.Unit_ConversionOffset_Replace(u.name, u.offset),
                          "Unit_ConversionOffset_Replace " + u.name);
        }
        if (!u.symbol.empty()) log.check(engine.Unit_Symbol_Replace(u.name, u.symbol), "Unit_Symbol_Replace " + u.name);
        for (const auto& synonym : u.synonyms)
            log.check(engine.Unit_Synonym_Add(u.name, synonym), "Unit_Synonym_Add " + u.name + " " + synonym);
    }
    // Expressions go in once every unit they may name exists.
    for (const auto& [unit, expression] : tables.unitDefinitions)
        log.check(engine.Unit_Expression_Replace(unit, expression), "Unit_Expression_Replace " + unit);
}

void addUnitSystems(Engine& engine, const ReferenceTables& tables, EditLog& log) {
    for (std::size_t s = 0; s < tables.systems.size(); ++s) {
        const std::string& system = tables.systems[s];
        log.check(engine.UnitSystem_Add(system), "UnitSystem_Add " + system);
        for (const auto& row : tables.preferredUnits) {
            const std::string& unit = row.units[s];
            if (unit.empty()) continue;
            log.check(engine.UnitSystem_PrefUnit_Replace(system, row.quantity, unit),
                      "UnitSystem_PrefUnit_Replace " + system + " " + row.quantity + " " + unit);
        }
    }
}

// Lists come back in the engine's order: byte-wise by lower-case key.
std::string lowerAscii(std::string text) {
    for (char& c : text)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return text;
}

std::vector<std::string> inEngineOrder(std::vector<std::string> names) {
    std::sort(names.begin(), names.end(),
              [](const std::string& a, const std::string& b) { return lowerAscii(a) < lowerAscii(b); });
    return names;
}

bool sameDouble(double a, double b) {
    return std::bit_cast<std::uint64_t>(a) == std::bit_cast<std::uint64_t>(b);
}

class Differences {
public:
    void add(const std::string& message) { m_messages.push_back(message); }
    void compareList(const std::string& what, const std::vector<std::string>& have,
                     std::vector<std::string> want) {
        want = inEngineOrder(std::move(want));
        if (have == want) return;
        const std::size_t before = m_messages.size();
        for (const auto& name : want)
            if (std::find(have.begin(), have.end(), name) == have.end()) add(what + ": missing " + name);
        for (const auto& name : have)
            if (std::find(want.begin(), want.end(), name) == want.end()) add(what + ": unexpected " + name);
        if (m_messages.size() == before) add(what + ": out of order");
    }
    void compareText(const std::string& what, Result rc, const std::string& have, const std::string& want) {
        if (rc != S_OK) {
            add(what + ": " + ErrorMessage(rc));
        } else if (have != want) {
            add(what + " is '" + have + "', the tables say '" + want + "'");
        }
    }
    void compareNumber(const std::string& what, Result rc, double have, double want) {
        if (rc != S_OK) {
            add(what + ": " + ErrorMessage(rc));
        } else if (!sameDouble(have, want)) {
            add(what + " is " + exactText(have) + ", the tables say " + exactText(want));
        }
    }
    std::vector<std::string> take() { return std::move(m_messages); }

private:
    std::vector<std::string> m_messages;
};

std::string definitionOf(const std::map<std::string, std::string>& definitions, const std::string& name) {
    const auto it = definitions.find(name);
    return it == definitions.end() ? std::string() : it->second;
}

void compareQuantities(Engine& engine, const ReferenceTables& tables, Differences& diff) {
    std::vector<std::string> names, want;
    if (const Result rc = engine.Quantity_Set(names); rc != S_OK) return diff.add("Quantity_Set: " + ErrorMessage(rc));
    for (const auto& q : tables.quantities) want.push_back(q.name);
    diff.compareList("quantities", names, want);
    for (const auto& q : tables.quantities) {
        std::vector<std::int16_t> vector;
        if (const Result rc = engine.Quantity_DimVector(q.name, vector); rc != S_OK) {
            diff.add(q.name + " vector: " + ErrorMessage(rc));
        } else if (!std::equal(vector.begin(), vector.end(), q.vector.begin(), q.vector.end())) {
            diff.add(q.name + ": its vector is not the one in quantities.csv");
        }
        std::string expression;
        const Result rc = engine.Quantity_Expression(q.name, expression);
        diff.compareText(q.name + " expression", rc, expression, definitionOf(tables.quantityDefinitions, q.name));
    }
}

void compareUnit(Engine& engine, const ReferenceTables& tables, const UnitRow& u, Differences& diff) {
    std::string text;
    Result rc = engine.Unit_Quantity(u.name, text);
    diff.compareText(u.name + " quantity", rc, text, u.quantity);
    rc = engine.Unit_Symbol(u.name, text);
    diff.compareText(u.name + " symbol", rc, text, u.symbol);
    rc = engine.Unit_Expression(u.name, text);
    diff.compareText(u.name + " expression", rc, text, definitionOf(tables.unitDefinitions, u.name));
    double value = 0;
    rc = engine.Unit_ConversionFactor(u.name, value);
    diff.compareNumber(u.name + " factor", rc, value, u.factor);
    rc = engine.Unit_ConversionOffset(u.name, value);
    diff.compareNumber(u.name + " offset", rc, value, u.offset);
    std::vector<std::string> synonyms;
    if (rc = engine.Unit_Synonym_Set(u.name, synonyms); rc != S_OK) {
        diff.add(u.name + " synonyms: " + ErrorMessage(rc));
    } else {
        diff.compareList(u.name + " synonyms", synonyms, u.synonyms);
    }
}

void compareUnits(Engine& engine, const ReferenceTables& tables, Differences& diff) {
    std::vector<std::string> names, want;
    if (const Result rc = engine.Unit_Set(names); rc != S_OK) return diff.add("Unit_Set: " + ErrorMessage(rc));
    for (const auto& u : tables.units) want.push_back(u.name);
    diff.compareList("units", names, want);
    for (const auto& u : tables.units) compareUnit(engine, tables, u, diff);
}

void compareUnitSystems(Engine& engine, const ReferenceTables& tables, Differences& diff) {
    std::vector<std::string> names;
    if (const Result rc = engine.UnitSystem_Set(names); rc != S_OK)
        return diff.add("UnitSystem_Set: " + ErrorMessage(rc));
    diff.compareList("unit systems", names, tables.systems);
    for (std::size_t s = 0; s < tables.systems.size(); ++s) {
        for (const auto& row : tables.preferredUnits) {
            std::string unit;
            const Result rc = engine.UnitSystem_PrefUnit(tables.systems[s], row.quantity, unit);
            diff.compareText(tables.systems[s] + " " + row.quantity + " preferred unit", rc, unit, row.units[s]);
        }
    }
}

}  // namespace

std::vector<std::string> buildDatabase(Engine& engine, const ReferenceTables& tables) {
    EditLog log;
    addQuantities(engine, tables, log);
    addUnits(engine, tables, log);
    addUnitSystems(engine, tables, log);
    return log.take();
}

std::vector<std::string> compareWithTables(Engine& engine, const ReferenceTables& tables) {
    Differences diff;
    compareQuantities(engine, tables, diff);
    compareUnits(engine, tables, diff);
    compareUnitSystems(engine, tables, diff);
    return diff.take();
}

std::vector<std::string> checkDefinitionDimensions(Engine& engine, const ReferenceTables& tables) {
    std::vector<std::string> messages;
    if (const Result rc = engine.EnableDimensionalAnalysis(true); rc != S_OK)
        return {"dimensional analysis: " + ErrorMessage(rc)};
    for (const auto& [unit, expression] : tables.unitDefinitions) {
        double add = 0, multiplyBy = 0;
        if (const Result rc = engine.UnitExpression_Convert(expression, unit, add, multiplyBy); rc != S_OK)
            messages.push_back(unit + " = " + expression + ": " + ErrorMessage(rc));
    }
    engine.EnableDimensionalAnalysis(false);
    return messages;
}

}  // namespace kestrum::data
