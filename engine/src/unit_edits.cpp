// Changes to units: add, remove, rename, synonyms and the single values of a unit.
#include "item_edits.h"

#include <cmath>

namespace kestrum {

Result Tables::Unit_Add(std::string_view unit, std::string_view quantity) {
    if (const Result rc = checkNewName(unit); rc != S_OK) return rc;
    const auto q = resolveQuantity(quantity);
    if (q == m_quantities.end()) return E_QUANTITY_NOT_FOUND;
    const std::string key = foldCase(unit);
    auto record = namedRecord<UnitRecord>(unit);
    record->quantity = q->first;
    const auto it = m_units.emplace(key, std::move(record)).first;
    Undo undoTable([&] { m_units.erase(it); });
    m_unitIndex.emplace(key, it);
    Undo undoIndex([&] { m_unitIndex.erase(key); });
    q->second->units.insert(key);
    undoTable.dismiss(), undoIndex.dismiss();
    invalidateDerived();
    return S_OK;
}

Result Tables::Unit_Remove(std::string_view unit) {
    return withUnit(unit, [&](UnitIt u) {
        const std::string key = u->first;
        const std::string quantityKey = u->second->quantity;
        removeItem(m_units, m_unitIndex, u);
        if (const auto q = resolveQuantityKey(quantityKey); q != m_quantities.end()) q->second->units.erase(key);
        // Preferred units and expressions that name the unit stay as they are: a preferred unit
        // reads as none from now on, an expression fails until the name exists again.
        invalidateDerived();
        return S_OK;
    });
}

Result Tables::Unit_Rename(std::string_view currentName, std::string_view newName) {
    const auto u = resolveUnit(currentName);
    if (u == m_units.end()) return E_UNIT_NOT_FOUND;
    // The unit's quantity lists it by its key, and unit systems prefer it by its key.
    std::set<std::string, std::less<>>* quantityUnits = nullptr;
    std::set<std::string, std::less<>>::iterator listed;
    std::string listedKey;
    std::vector<std::pair<std::string*, std::string>> preferences;
    auto prepare = [&](const std::string& oldKey, const std::string& newKey) {
        const auto q = resolveQuantityKey(u->second->quantity);
        if (q == m_quantities.end()) return E_QUANTITY_NOT_FOUND;
        quantityUnits = &q->second->units;
        listed = quantityUnits->find(oldKey);
        if (listed == quantityUnits->end()) return E_INTERNAL;
        listedKey = newKey;
        for (auto& system : m_unitSystems)
            for (auto& entry : system.second->prefUnits)
                if (entry.second == oldKey) preferences.emplace_back(&entry.second, newKey);
        return S_OK;
    };
    auto commit = [&](const std::string&) noexcept {
        auto listedNode = quantityUnits->extract(listed);
        listedNode.value().swap(listedKey);
        quantityUnits->insert(std::move(listedNode));
        for (auto& [preferred, renamed] : preferences) preferred->swap(renamed);
    };
    return renameItem(m_units, m_unitIndex, u, newName, prepare, commit);
}

Result Tables::Unit_Synonym_Add(std::string_view unit, std::string_view synonym) {
    return withUnit(unit, [&](UnitIt u) { return addSynonym<UnitRecord>(m_unitIndex, u, synonym); });
}

Result Tables::Unit_Synonym_Remove(std::string_view unit, std::string_view synonym) {
    return withUnit(unit, [&](UnitIt u) { return removeSynonym<UnitRecord>(m_unitIndex, u, synonym); });
}

Result Tables::Unit_Quantity_Replace(std::string_view unit, std::string_view quantity) {
    return withUnit(unit, [&](UnitIt u) {
        return withQuantity(quantity, [&](QuantityIt q) {
            std::string newQuantity = q->first;
            const auto former = resolveQuantityKey(u->second->quantity);
            q->second->units.insert(u->first);
            if (former != q && former != m_quantities.end()) former->second->units.erase(u->first);
            u->second->quantity.swap(newQuantity);
            invalidateDerived();
            return S_OK;
        });
    });
}

Result Tables::Unit_ConversionFactor_Replace(std::string_view unit, double factor) {
    return replaceGivenValue(unit, &UnitRecord::conversionFactor, factor);
}

Result Tables::Unit_ConversionOffset_Replace(std::string_view unit, double offset) {
    return replaceGivenValue(unit, &UnitRecord::conversionOffset, offset);
}

Result Tables::replaceGivenValue(std::string_view unit, double UnitRecord::*value, double given) {
    return withUnit(unit, [&](UnitIt u) {
        if (!u->second->expression.empty()) return E_EXPRESSION_DETERMINES;
        // Infinity and NaN cannot be written to the database file and read back.
        if (!std::isfinite(given)) return E_INVALID_EXPRESSION;
        (*u->second).*value = given;
        invalidateDerived();
        return S_OK;
    });
}

Result Tables::Unit_Expression_Replace(std::string_view unit, std::string_view expression) {
    return withUnit(unit, [&](UnitIt u) {
        return replaceExpression(*u->second, expression, [](UnitRecord& record) {
            // A non-empty expression is evaluated on first demand; clearing it leaves factor
            // and offset at 0, so they can be given directly again.
            const double value = record.expression.empty() ? 0.0 : UNDEFINED_VALUE;
            record.conversionFactor = record.conversionOffset = value;
        });
    });
}

Result Tables::Unit_Symbol_Replace(std::string_view unit, std::string_view symbol) {
    return withUnit(unit, [&](UnitIt u) {
        if (utf16Length(symbol) > kMaxNameLength || !isStorableText(symbol)) return E_NAME_NOT_ACCEPTABLE;
        u->second->symbol = symbol;
        invalidateDerived();
        return S_OK;
    });
}

}  // namespace kestrum
