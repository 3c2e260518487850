// Read access to the database. Three queries also complete a value that an expression
// defines (a quantity's vector, a unit's factor and offset) and keep it until the next edit.
#include "database.h"

namespace kestrum {

namespace {

template <class Record>
std::vector<std::string> displayNames(const Table<Record>& table) {
    std::vector<std::string> out;
    out.reserve(table.size());
    for (const auto& entry : table) out.push_back(entry.second->displayName);
    return out;
}

std::vector<std::string> displayNames(const SynonymMap& synonyms) {
    std::vector<std::string> out;
    out.reserve(synonyms.size());
    for (const auto& entry : synonyms) out.push_back(entry.second);
    return out;
}

}  // namespace

Result Database::Quantity_Set(std::vector<std::string>& out) const {
    out = displayNames(m_quantities);
    return S_OK;
}

Result Database::Unit_Set(std::vector<std::string>& out) const {
    out = displayNames(m_units);
    return S_OK;
}

Result Database::UnitSystem_Set(std::vector<std::string>& out) const {
    out = displayNames(m_unitSystems);
    return S_OK;
}

Result Database::Quantity_Synonym_Set(std::string_view quantity, std::vector<std::string>& out) const {
    auto q = resolveQuantity(quantity);
    if (q == m_quantities.end()) return E_QUANTITY_NOT_FOUND;
    out = displayNames(q->second->synonyms);
    return S_OK;
}

Result Database::Unit_Synonym_Set(std::string_view unit, std::vector<std::string>& out) const {
    auto u = resolveUnit(unit);
    if (u == m_units.end()) return E_UNIT_NOT_FOUND;
    out = displayNames(u->second->synonyms);
    return S_OK;
}

Result Database::Quantity_Unit_Set(std::string_view quantity, std::vector<std::string>& out) const {
    auto q = resolveQuantity(quantity);
    if (q == m_quantities.end()) return E_QUANTITY_NOT_FOUND;
    // Every unit whose quantity key is this one, including units that a removed quantity of the
    // same name left behind: the quantity key is what ties them.
    std::vector<std::string> list;
    for (const auto& [key, unit] : m_units)
        if (unit->quantity == q->first) list.push_back(unit->displayName);
    out = std::move(list);
    return S_OK;
}

Result Database::Quantity_DimVector(std::string_view quantity, DimVector& out) {
    auto q = resolveQuantity(quantity);
    if (q == m_quantities.end()) return E_QUANTITY_NOT_FOUND;
    out = dimVectorOf(*q->second);
    return S_OK;
}

Result Database::Quantity_Expression(std::string_view quantity, std::string& out) const {
    auto q = resolveQuantity(quantity);
    if (q == m_quantities.end()) return E_QUANTITY_NOT_FOUND;
    out = q->second->expression;
    return S_OK;
}

Result Database::Unit_Quantity(std::string_view unit, std::string& out) const {
    auto u = resolveUnit(unit);
    if (u == m_units.end()) return E_UNIT_NOT_FOUND;
    // A unit left behind by a removed quantity names it by its key.
    const auto q = m_quantities.find(u->second->quantity);
    out = q == m_quantities.end() ? u->second->quantity : q->second->displayName;
    return S_OK;
}

Result Database::Unit_ConversionFactor(std::string_view unit, double& out) {
    auto u = resolveUnit(unit);
    if (u == m_units.end()) return E_UNIT_NOT_FOUND;
    completeUnit(*u->second, true);
    out = u->second->conversionFactor;
    return S_OK;
}

Result Database::Unit_ConversionOffset(std::string_view unit, double& out) {
    auto u = resolveUnit(unit);
    if (u == m_units.end()) return E_UNIT_NOT_FOUND;
    completeUnit(*u->second, false);
    out = u->second->conversionOffset;
    return S_OK;
}

Result Database::Unit_Expression(std::string_view unit, std::string& out) const {
    auto u = resolveUnit(unit);
    if (u == m_units.end()) return E_UNIT_NOT_FOUND;
    out = u->second->expression;
    return S_OK;
}

Result Database::Unit_Symbol(std::string_view unit, std::string& out) const {
    auto u = resolveUnit(unit);
    if (u == m_units.end()) return E_UNIT_NOT_FOUND;
    out = u->second->symbol;
    return S_OK;
}

Result Database::UnitSystem_PrefUnit(std::string_view unitSystem, std::string_view quantity, std::string& out) const {
    auto s = findUnitSystem(unitSystem);
    if (s == m_unitSystems.end()) return E_UNIT_SYSTEM_NOT_FOUND;
    auto q = resolveQuantity(quantity);
    if (q == m_quantities.end()) return E_QUANTITY_NOT_FOUND;
    const auto& prefUnits = s->second->prefUnits;
    auto entry = prefUnits.find(q->first);
    if (entry == prefUnits.end()) return E_INTERNAL;
    // A unit removed after it was chosen reads as no preferred unit.
    const auto unit = entry->second.empty() ? m_units.end() : m_units.find(entry->second);
    out = unit == m_units.end() ? std::string() : unit->second->displayName;
    return S_OK;
}

const DimVector& Database::dimVectorOf(QuantityRecord& q) {
    if (!q.expression.empty()) {
        if (q.evaluatedAt == m_generation || q.evaluating) return q.dimVector;
        q.evaluating = true;
        q.dimVector = unsetDimVector();  // what a cycle back to this quantity sees
        DimVector v{};
        const Result rc = evaluateQuantityExpression(q.expression, v);
        q.evaluating = false;
        q.dimVector = rc == S_OK ? v : unsetDimVector();
        q.evaluatedAt = m_generation;
    } else if (q.dimVector[0] == UNSET_EXPONENT) {
        q.dimVector.fill(0);  // an empty expression evaluates to a dimensionless vector
    }
    return q.dimVector;
}

void Database::completeUnit(UnitRecord& u, bool factorAsked) {
    if (!u.expression.empty()) {
        if (u.evaluatedAt == m_generation || u.evaluating) return;
        u.evaluating = true;
        u.conversionFactor = u.conversionOffset = UNDEFINED_VALUE;  // what a cycle back here sees
        UnitValue v;
        const Result rc = evaluateUnitExpression(u.expression, v);
        u.evaluating = false;
        u.conversionFactor = rc == S_OK ? v.factor : UNDEFINED_VALUE;
        u.conversionOffset = rc == S_OK ? v.offset : UNDEFINED_VALUE;
        u.evaluatedAt = m_generation;
    } else if ((factorAsked ? u.conversionFactor : u.conversionOffset) == UNDEFINED_VALUE) {
        // A unit given neither factor nor expression: its empty expression evaluates to nothing.
        // Only the values still unknown become 0: a factor given directly stays when the
        // offset was given as the sentinel, or a query of the offset would change the factor
        // after it had been read (and a save would write a factor nobody gave).
        if (u.conversionFactor == UNDEFINED_VALUE) u.conversionFactor = 0.0;
        if (u.conversionOffset == UNDEFINED_VALUE) u.conversionOffset = 0.0;
    }
}

}  // namespace kestrum
