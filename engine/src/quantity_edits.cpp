// Changes to the database. Every operation checks everything before it changes anything, so a
// failure leaves the tables untouched, also when an allocation fails on the way (see undo.h);
// every success discards values worked out from expressions (see Tables::invalidateDerived).
//
// Changes to quantities; unit_edits.cpp and unit_system_edits.cpp hold the others.
#include "item_edits.h"

namespace kestrum {

Result Tables::Quantity_Add(std::string_view quantity) {
    if (const Result rc = checkNewName(quantity); rc != S_OK) return rc;
    const std::string key = foldCase(quantity);
    const auto it = m_quantities.emplace(key, namedRecord<QuantityRecord>(quantity)).first;
    Undo undoTable([&] { m_quantities.erase(it); });
    m_quantityIndex.emplace(key, it);
    Undo undoIndex([&] { m_quantityIndex.erase(key); });
    std::vector<UnitSystemRecord*> entered;  // systems that had no entry for the key before
    entered.reserve(m_unitSystems.size());
    Undo undoEntries([&] {
        for (auto* system : entered) system->prefUnits.erase(key);
    });
    for (auto& system : m_unitSystems)
        if (system.second->prefUnits.try_emplace(key).second) entered.push_back(system.second.get());
    // Replaces any entry a removed quantity of the same name left behind.
    for (auto& system : m_unitSystems) system.second->prefUnits.find(key)->second.clear();
    undoTable.dismiss(), undoIndex.dismiss(), undoEntries.dismiss();
    invalidateDerived();
    return S_OK;
}

Result Tables::Quantity_Remove(std::string_view quantity) {
    return withQuantity(quantity, [&](QuantityIt q) {
        // Units of the quantity stay, with a quantity key that names nothing; so do the unit
        // systems' entries, which no query can reach without the quantity.
        removeItem(m_quantities, m_quantityIndex, q);
        invalidateDerived();
        return S_OK;
    });
}

Result Tables::Quantity_Rename(std::string_view currentName, std::string_view newName) {
    const auto q = resolveQuantity(currentName);
    if (q == m_quantities.end()) return E_QUANTITY_NOT_FOUND;
    // Units and unit systems name the quantity by its key.
    std::vector<std::pair<std::string*, std::string>> unitQuantities;
    std::vector<std::pair<UnitSystemRecord*, std::string>> systemKeys;
    auto prepare = [&](const std::string& oldKey, const std::string& newKey) {
        for (auto& unit : m_units)
            if (unit.second->quantity == oldKey) unitQuantities.emplace_back(&unit.second->quantity, newKey);
        for (auto& system : m_unitSystems)
            if (system.second->prefUnits.count(oldKey) != 0) systemKeys.emplace_back(system.second.get(), newKey);
        return S_OK;
    };
    auto commit = [&](const std::string& oldKey) noexcept {
        for (auto& [quantityKey, renamed] : unitQuantities) quantityKey->swap(renamed);
        // The entries move to the new key, replacing any a removed quantity of that name left.
        for (auto& [system, key] : systemKeys) {
            auto entry = system->prefUnits.extract(oldKey);
            system->prefUnits.erase(key);
            entry.key().swap(key);
            system->prefUnits.insert(std::move(entry));
        }
    };
    return renameItem(m_quantities, m_quantityIndex, q, newName, prepare, commit);
}

Result Tables::Quantity_Synonym_Add(std::string_view quantity, std::string_view synonym) {
    return withQuantity(quantity, [&](QuantityIt q) { return addSynonym<QuantityRecord>(m_quantityIndex, q, synonym); });
}

Result Tables::Quantity_Synonym_Remove(std::string_view quantity, std::string_view synonym) {
    return withQuantity(quantity,
                        [&](QuantityIt q) { return removeSynonym<QuantityRecord>(m_quantityIndex, q, synonym); });
}

Result Tables::Quantity_DimVector_Replace(std::string_view quantity, std::span<const std::int16_t> vector) {
    return withQuantity(quantity, [&](QuantityIt q) {
        QuantityRecord& record = *q->second;
        if (!record.expression.empty()) return E_EXPRESSION_DETERMINES;
        const std::size_t n = std::min<std::size_t>(vector.size(), kBaseDimensions);
        for (std::size_t i = 0; i < n; ++i) record.dimVector[i] = vector[i];
        // A partial vector given to a quantity whose vector was never known leaves no unknown
        // exponents behind (they read as 0, as in a file that names only some dimensions).
        for (std::size_t i = n; i < kBaseDimensions; ++i)
            if (record.dimVector[i] == UNSET_EXPONENT) record.dimVector[i] = 0;
        invalidateDerived();
        return S_OK;
    });
}

Result Tables::Quantity_Expression_Replace(std::string_view quantity, std::string_view expression) {
    return withQuantity(quantity, [&](QuantityIt q) {
        return replaceExpression(*q->second, expression, [](QuantityRecord& record) {
            // The vector is worked out from a non-empty expression on first demand; an empty
            // one makes the quantity dimensionless, and its vector replaceable again.
            if (record.expression.empty()) {
                record.dimVector.fill(0);
            } else {
                record.dimVector = unsetDimVector();
            }
        });
    });
}

}  // namespace kestrum
