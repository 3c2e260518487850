#include "database.h"

namespace kestrum {

Database::Database(const Database& other) : m_generation(other.m_generation) {
    for (const auto& [key, q] : other.m_quantities) {
        auto copy = std::make_unique<QuantityRecord>(*q);
        copy->evaluating = false;
        m_quantities.emplace_hint(m_quantities.end(), key, std::move(copy));
    }
    for (const auto& [key, u] : other.m_units) {
        auto copy = std::make_unique<UnitRecord>(*u);
        copy->evaluating = false;
        m_units.emplace_hint(m_units.end(), key, std::move(copy));
    }
    for (const auto& [key, s] : other.m_unitSystems)
        m_unitSystems.emplace_hint(m_unitSystems.end(), key, std::make_unique<UnitSystemRecord>(*s));
    rebuildIndex();
}

void Database::rebuildIndex() {
    m_quantityIndex.clear();
    m_unitIndex.clear();
    for (auto it = m_quantities.begin(); it != m_quantities.end(); ++it) {
        m_quantityIndex.emplace(it->first, it);
        for (const auto& synonym : it->second->synonyms) m_quantityIndex.emplace(synonym.first, it);
    }
    for (auto it = m_units.begin(); it != m_units.end(); ++it) {
        m_unitIndex.emplace(it->first, it);
        for (const auto& synonym : it->second->synonyms) m_unitIndex.emplace(synonym.first, it);
    }
}

Database::QuantityIt Database::resolveQuantityKey(std::string_view key) {
    auto hit = m_quantityIndex.find(key);
    return hit == m_quantityIndex.end() ? m_quantities.end() : hit->second;
}

Database::UnitIt Database::resolveUnitKey(std::string_view key) {
    auto hit = m_unitIndex.find(key);
    return hit == m_unitIndex.end() ? m_units.end() : hit->second;
}

Database::QuantityIt Database::resolveQuantity(std::string_view name) {
    const NameKey key(name);
    return key.valid() ? resolveQuantityKey(key.view()) : m_quantities.end();
}

Database::UnitIt Database::resolveUnit(std::string_view name) {
    const NameKey key(name);
    return key.valid() ? resolveUnitKey(key.view()) : m_units.end();
}

Table<UnitSystemRecord>::iterator Database::findUnitSystem(std::string_view name) {
    const NameKey key(name);
    return key.valid() ? m_unitSystems.find(key.view()) : m_unitSystems.end();
}

void Database::reserveNames(std::size_t names) { m_unitIndex.reserve(names); }

QuantityRecord* Database::quantityByKey(std::string_view key) {
    auto it = m_quantities.find(key);
    return it == m_quantities.end() ? nullptr : it->second.get();
}

bool Database::nameTaken(std::string_view key) const {
    return m_quantityIndex.find(key) != m_quantityIndex.end() || m_unitIndex.find(key) != m_unitIndex.end() ||
           m_unitSystems.find(key) != m_unitSystems.end();
}

Result Database::checkNewName(std::string_view name) const {
    if (!isAcceptableNewName(name)) return E_NAME_NOT_ACCEPTABLE;
    return nameTaken(NameKey(name).view()) ? E_NAME_EXISTS : S_OK;
}

}  // namespace kestrum
