// Changes to unit systems: add, remove, rename and the preferred unit of a quantity.
#include "tables.h"

namespace kestrum {

Result Tables::UnitSystem_Add(std::string_view unitSystem) {
    if (const Result rc = checkNewName(unitSystem); rc != S_OK) return rc;
    const std::string key = foldCase(unitSystem);
    auto record = namedRecord<UnitSystemRecord>(unitSystem);
    for (const auto& quantity : m_quantities) record->prefUnits.emplace_hint(record->prefUnits.end(), quantity.first, "");
    m_unitSystems.emplace(key, std::move(record));
    invalidateDerived();
    return S_OK;
}

Result Tables::UnitSystem_Remove(std::string_view unitSystem) {
    const auto s = findUnitSystem(unitSystem);
    if (s == m_unitSystems.end()) return E_UNIT_SYSTEM_NOT_FOUND;
    m_unitSystems.erase(s);
    invalidateDerived();
    return S_OK;
}

Result Tables::UnitSystem_Rename(std::string_view currentName, std::string_view newName) {
    const auto s = findUnitSystem(currentName);
    if (s == m_unitSystems.end()) return E_UNIT_SYSTEM_NOT_FOUND;
    if (const Result rc = checkNewName(newName); rc == E_NAME_NOT_ACCEPTABLE) return rc;
    std::string newKey = foldCase(newName);
    if (newKey != s->first) {
        if (nameTaken(newKey)) return E_NAME_EXISTS;
        std::string newDisplay(newName);
        auto node = m_unitSystems.extract(s);
        node.key().swap(newKey);
        node.mapped()->displayName.swap(newDisplay);
        m_unitSystems.insert(std::move(node));
    } else {
        s->second->displayName = newName;
    }
    invalidateDerived();
    return S_OK;
}

Result Tables::UnitSystem_PrefUnit_Replace(std::string_view unitSystem, std::string_view quantity,
                                             std::string_view unit) {
    const auto s = findUnitSystem(unitSystem);
    if (s == m_unitSystems.end()) return E_UNIT_SYSTEM_NOT_FOUND;
    return withQuantity(quantity, [&](QuantityIt q) {
        // An unknown unit clears the preferred unit; it is not an error.
        const auto u = resolveUnit(unit);
        s->second->prefUnits[q->first] = u == m_units.end() ? std::string() : u->first;
        invalidateDerived();
        return S_OK;
    });
}

}  // namespace kestrum
