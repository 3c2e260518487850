// Read access to the tables: what is stored as given. The three values an expression may
// define are queries of the Evaluator (derived_values.cpp).
#include "tables.h"

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

Result Tables::Quantity_Set(std::vector<std::string>& out) const {
    out = displayNames(m_quantities);
    return S_OK;
}

Result Tables::Unit_Set(std::vector<std::string>& out) const {
    out = displayNames(m_units);
    return S_OK;
}

Result Tables::UnitSystem_Set(std::vector<std::string>& out) const {
    out = displayNames(m_unitSystems);
    return S_OK;
}

Result Tables::Quantity_Synonym_Set(std::string_view quantity, std::vector<std::string>& out) const {
    return withQuantity(quantity, [&](QuantityIt q) { out = displayNames(q->second->synonyms); return S_OK; });
}

Result Tables::Unit_Synonym_Set(std::string_view unit, std::vector<std::string>& out) const {
    return withUnit(unit, [&](UnitIt u) { out = displayNames(u->second->synonyms); return S_OK; });
}

Result Tables::Quantity_Unit_Set(std::string_view quantity, std::vector<std::string>& out) const {
    return withQuantity(quantity, [&](QuantityIt q) {
        // Every unit whose quantity key is this one, including units that a removed quantity of
        // the same name left behind: the quantity key is what ties them.
        std::vector<std::string> list;
        for (const auto& [key, unit] : m_units)
            if (unit->quantity == q->first) list.push_back(unit->displayName);
        out = std::move(list);
        return S_OK;
    });
}

Result Tables::Quantity_Expression(std::string_view quantity, std::string& out) const {
    return withQuantity(quantity, [&](QuantityIt q) { out = q->second->expression; return S_OK; });
}

Result Tables::Unit_Quantity(std::string_view unit, std::string& out) const {
    return withUnit(unit, [&](UnitIt u) {
        // A unit left behind by a removed quantity names it by its key.
        const auto q = m_quantities.find(u->second->quantity);
        out = q == m_quantities.end() ? u->second->quantity : q->second->displayName;
        return S_OK;
    });
}

Result Tables::Unit_Expression(std::string_view unit, std::string& out) const {
    return withUnit(unit, [&](UnitIt u) { out = u->second->expression; return S_OK; });
}

Result Tables::Unit_Symbol(std::string_view unit, std::string& out) const {
    return withUnit(unit, [&](UnitIt u) { out = u->second->symbol; return S_OK; });
}

Result Tables::UnitSystem_PrefUnit(std::string_view unitSystem, std::string_view quantity, std::string& out) const {
    auto s = findUnitSystem(unitSystem);
    if (s == m_unitSystems.end()) return E_UNIT_SYSTEM_NOT_FOUND;
    return withQuantity(quantity, [&](QuantityIt q) {
        const auto& prefUnits = s->second->prefUnits;
        auto entry = prefUnits.find(q->first);
        if (entry == prefUnits.end()) return E_INTERNAL;
        // A unit removed after it was chosen reads as no preferred unit.
        const auto unit = entry->second.empty() ? m_units.end() : m_units.find(entry->second);
        out = unit == m_units.end() ? std::string() : unit->second->displayName;
        return S_OK;
    });
}

}  // namespace kestrum
