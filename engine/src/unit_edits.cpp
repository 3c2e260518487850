// Changes to units: add, remove, rename, synonyms and the single values of a unit.
#include "tables.h"
#include "undo.h"

#include <cmath>

namespace kestrum {

Result Tables::Unit_Add(std::string_view unit, std::string_view quantity) {
    if (const Result rc = checkNewName(unit); rc != S_OK) return rc;
    const auto q = resolveQuantity(quantity);
    if (q == m_quantities.end()) return E_QUANTITY_NOT_FOUND;
    const std::string key = foldCase(unit);
    auto record = std::make_unique<UnitRecord>();
    record->displayName = unit;
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
    const auto u = resolveUnit(unit);
    if (u == m_units.end()) return E_UNIT_NOT_FOUND;
    const std::string key = u->first;
    for (const auto& synonym : u->second->synonyms) m_unitIndex.erase(synonym.first);
    const std::string quantityKey = u->second->quantity;
    m_unitIndex.erase(key);
    m_units.erase(u);
    if (const auto q = resolveQuantityKey(quantityKey); q != m_quantities.end()) q->second->units.erase(key);
    // Preferred units and expressions that name the unit stay as they are: a preferred unit
    // reads as none from now on, an expression fails until the name exists again.
    invalidateDerived();
    return S_OK;
}

Result Tables::Unit_Rename(std::string_view currentName, std::string_view newName) {
    const auto u = resolveUnit(currentName);
    if (u == m_units.end()) return E_UNIT_NOT_FOUND;
    if (const Result rc = checkNewName(newName); rc == E_NAME_NOT_ACCEPTABLE) return rc;
    const std::string oldKey = u->first;
    std::string newKey = foldCase(newName);
    if (newKey == oldKey) {
        u->second->displayName = newName;
        invalidateDerived();
        return S_OK;
    }
    if (nameTaken(newKey)) return E_NAME_EXISTS;
    const auto q = resolveQuantityKey(u->second->quantity);
    if (q == m_quantities.end()) return E_QUANTITY_NOT_FOUND;
    auto& quantityUnits = q->second->units;
    const auto listed = quantityUnits.find(oldKey);
    if (listed == quantityUnits.end()) return E_INTERNAL;

    // Everything that allocates, first: the new index entry, and every new string.
    const auto indexed = m_unitIndex.emplace(newKey, u).first;
    Undo undoIndex([&] { m_unitIndex.erase(indexed); });
    std::string newDisplay(newName);
    std::string listedKey = newKey;
    std::vector<std::pair<std::string*, std::string>> preferences;
    for (auto& system : m_unitSystems)
        for (auto& entry : system.second->prefUnits)
            if (entry.second == oldKey) preferences.emplace_back(&entry.second, newKey);
    TermRenames renames = renamedTerms(false, oldKey, newKey);
    undoIndex.dismiss();

    auto node = m_units.extract(u);
    node.key().swap(newKey);
    node.mapped()->displayName.swap(newDisplay);
    const auto moved = m_units.insert(std::move(node)).position;
    indexed->second = moved;
    m_unitIndex.erase(oldKey);
    for (const auto& synonym : moved->second->synonyms) m_unitIndex.find(synonym.first)->second = moved;
    auto listedNode = quantityUnits.extract(listed);
    listedNode.value().swap(listedKey);
    quantityUnits.insert(std::move(listedNode));
    for (auto& [preferred, renamed] : preferences) preferred->swap(renamed);
    applyRenames(renames);
    invalidateDerived();
    return S_OK;
}

Result Tables::Unit_Synonym_Add(std::string_view unit, std::string_view synonym) {
    const auto u = resolveUnit(unit);
    if (u == m_units.end()) return E_UNIT_NOT_FOUND;
    if (const Result rc = checkNewName(synonym); rc != S_OK) return rc;
    const std::string key = foldCase(synonym);
    const auto indexed = m_unitIndex.emplace(key, u).first;
    Undo undoIndex([&] { m_unitIndex.erase(indexed); });
    u->second->synonyms.emplace(key, synonym);
    undoIndex.dismiss();
    invalidateDerived();
    return S_OK;
}

Result Tables::Unit_Synonym_Remove(std::string_view unit, std::string_view synonym) {
    const auto u = resolveUnit(unit);
    if (u == m_units.end()) return E_UNIT_NOT_FOUND;
    const NameKey key(synonym);
    auto& synonyms = u->second->synonyms;
    const auto own = key.valid() ? synonyms.find(key.view()) : synonyms.end();
    if (own == synonyms.end()) return E_SYNONYM_NOT_FOUND;
    const auto mapped = m_unitIndex.find(key.view());
    if (mapped == m_unitIndex.end() || mapped->second != u) return E_INTERNAL;
    m_unitIndex.erase(mapped);
    synonyms.erase(own);
    invalidateDerived();
    return S_OK;
}

Result Tables::Unit_Quantity_Replace(std::string_view unit, std::string_view quantity) {
    const auto u = resolveUnit(unit);
    if (u == m_units.end()) return E_UNIT_NOT_FOUND;
    const auto q = resolveQuantity(quantity);
    if (q == m_quantities.end()) return E_QUANTITY_NOT_FOUND;
    std::string newQuantity = q->first;
    const auto former = resolveQuantityKey(u->second->quantity);
    q->second->units.insert(u->first);
    if (former != q && former != m_quantities.end()) former->second->units.erase(u->first);
    u->second->quantity.swap(newQuantity);
    invalidateDerived();
    return S_OK;
}

Result Tables::Unit_ConversionFactor_Replace(std::string_view unit, double factor) {
    const auto u = resolveUnit(unit);
    if (u == m_units.end()) return E_UNIT_NOT_FOUND;
    if (!u->second->expression.empty()) return E_EXPRESSION_DETERMINES;
    // Infinity and NaN cannot be written to the database file and read back.
    if (!std::isfinite(factor)) return E_INVALID_EXPRESSION;
    u->second->conversionFactor = factor;
    invalidateDerived();
    return S_OK;
}

Result Tables::Unit_ConversionOffset_Replace(std::string_view unit, double offset) {
    const auto u = resolveUnit(unit);
    if (u == m_units.end()) return E_UNIT_NOT_FOUND;
    if (!u->second->expression.empty()) return E_EXPRESSION_DETERMINES;
    if (!std::isfinite(offset)) return E_INVALID_EXPRESSION;
    u->second->conversionOffset = offset;
    invalidateDerived();
    return S_OK;
}

Result Tables::Unit_Expression_Replace(std::string_view unit, std::string_view expression) {
    const auto u = resolveUnit(unit);
    if (u == m_units.end()) return E_UNIT_NOT_FOUND;
    if (utf16Length(expression) > kMaxExpressionLength || !isStorableText(expression)) return E_INVALID_EXPRESSION;
    UnitRecord& record = *u->second;
    record.expression = expression;
    // A non-empty expression is evaluated on first demand; clearing it leaves factor and offset
    // at 0, so they can be given directly again.
    const double value = record.expression.empty() ? 0.0 : UNDEFINED_VALUE;
    record.conversionFactor = record.conversionOffset = value;
    invalidateDerived();
    return S_OK;
}

Result Tables::Unit_Symbol_Replace(std::string_view unit, std::string_view symbol) {
    const auto u = resolveUnit(unit);
    if (u == m_units.end()) return E_UNIT_NOT_FOUND;
    if (utf16Length(symbol) > kMaxNameLength || !isStorableText(symbol)) return E_NAME_NOT_ACCEPTABLE;
    u->second->symbol = symbol;
    invalidateDerived();
    return S_OK;
}

}  // namespace kestrum
