#include "tables.h"

#include <algorithm>

namespace kestrum {

Tables::Tables(const Tables& other) : m_generation(other.m_generation) {
    for (const auto& [key, q] : other.m_quantities)
        m_quantities.emplace_hint(m_quantities.end(), key, std::make_unique<QuantityRecord>(*q));
    for (const auto& [key, u] : other.m_units)
        m_units.emplace_hint(m_units.end(), key, std::make_unique<UnitRecord>(*u));
    for (const auto& [key, s] : other.m_unitSystems)
        m_unitSystems.emplace_hint(m_unitSystems.end(), key, std::make_unique<UnitSystemRecord>(*s));
    rebuildIndex();
}

void Tables::replaceWith(Tables& other) noexcept {
    // Swapping keeps every iterator valid, so the indexes go along with their tables.
    m_quantities.swap(other.m_quantities);
    m_units.swap(other.m_units);
    m_unitSystems.swap(other.m_unitSystems);
    m_quantityIndex.swap(other.m_quantityIndex);
    m_unitIndex.swap(other.m_unitIndex);
    m_generation = std::max(m_generation, other.m_generation) + 1;
    other.m_generation = m_generation;
}

void Tables::rebuildIndex() {
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

Tables::QuantityIt Tables::resolveQuantityKey(std::string_view key) {
    auto hit = m_quantityIndex.find(key);
    return hit == m_quantityIndex.end() ? m_quantities.end() : hit->second;
}

Tables::UnitIt Tables::resolveUnitKey(std::string_view key) {
    auto hit = m_unitIndex.find(key);
    return hit == m_unitIndex.end() ? m_units.end() : hit->second;
}

Tables::QuantityIt Tables::resolveQuantity(std::string_view name) {
    const NameKey key(name);
    return key.valid() ? resolveQuantityKey(key.view()) : m_quantities.end();
}

Tables::UnitIt Tables::resolveUnit(std::string_view name) {
    const NameKey key(name);
    return key.valid() ? resolveUnitKey(key.view()) : m_units.end();
}

Table<UnitSystemRecord>::iterator Tables::findUnitSystem(std::string_view name) {
    const NameKey key(name);
    return key.valid() ? m_unitSystems.find(key.view()) : m_unitSystems.end();
}

bool Tables::setQuantityExponent(std::string_view key, int dimension, std::int32_t exponent, bool firstOfElement) {
    const auto it = m_quantities.find(key);
    if (it == m_quantities.end()) return false;
    DimVector& v = it->second->dimVector;
    // Cleared before any exponent is set, so an exponent given as -999 (which the writer
    // writes for a vector that holds it) stays as given.
    if (firstOfElement)
        for (auto& e : v)
            if (e == UNSET_EXPONENT) e = 0;
    v[dimension] = exponent;
    return true;
}

bool Tables::nameTaken(std::string_view key) const {
    return m_quantityIndex.find(key) != m_quantityIndex.end() || m_unitIndex.find(key) != m_unitIndex.end() ||
           m_unitSystems.find(key) != m_unitSystems.end();
}

Result Tables::checkNewName(std::string_view name) const {
    if (!isAcceptableNewName(name)) return E_NAME_NOT_ACCEPTABLE;
    return nameTaken(NameKey(name).view()) ? E_NAME_EXISTS : S_OK;
}

}  // namespace kestrum
