// The edits that quantities and units share, over the table and index they work on. Each keeps
// the all-or-nothing order of every edit (see undo.h): everything that may throw is built
// aside first, then one change that may throw, then only changes that cannot.
#pragma once

#include "tables.h"
#include "undo.h"

#include <type_traits>

namespace kestrum {

// The checks every rename makes, then prepare(oldKey, newKey), which checks what only this
// kind of item needs and builds aside the new values of what refers to the item (it may
// throw, and changes nothing), then the new index entry, the one change that may throw; then
// the moves that cannot fail, ending with commit(oldKey), which swaps prepare's values in.
template <class Record, class Prepare, class Commit>
Result Tables::renameItem(Table<Record>& table, NameIndex<Record>& index, typename Table<Record>::iterator item,
                          std::string_view newName, Prepare&& prepare, Commit&& commit) {
    if (const Result rc = checkNewName(newName); rc == E_NAME_NOT_ACCEPTABLE) return rc;
    const std::string oldKey = item->first;
    std::string newKey = foldCase(newName);
    if (newKey == oldKey) {
        item->second->displayName = newName;
        invalidateDerived();
        return S_OK;
    }
    if (nameTaken(newKey)) return E_NAME_EXISTS;
    if (const Result rc = prepare(oldKey, newKey); rc != S_OK) return rc;
    std::string newDisplay(newName);
    TermRenames renames = renamedTerms(std::is_same_v<Record, QuantityRecord>, oldKey, newKey);
    const auto indexed = index.emplace(newKey, item).first;

    auto node = table.extract(item);
    node.key().swap(newKey);
    node.mapped()->displayName.swap(newDisplay);
    const auto moved = table.insert(std::move(node)).position;
    indexed->second = moved;
    index.erase(oldKey);
    for (const auto& synonym : moved->second->synonyms) index.find(synonym.first)->second = moved;
    commit(oldKey);
    applyRenames(renames);
    invalidateDerived();
    return S_OK;
}

template <class Record>
Result Tables::addSynonym(NameIndex<Record>& index, typename Table<Record>::iterator item, std::string_view synonym) {
    if (const Result rc = checkNewName(synonym); rc != S_OK) return rc;
    const std::string key = foldCase(synonym);
    const auto indexed = index.emplace(key, item).first;
    Undo undoIndex([&] { index.erase(indexed); });
    item->second->synonyms.emplace(key, synonym);
    undoIndex.dismiss();
    invalidateDerived();
    return S_OK;
}

template <class Record>
Result Tables::removeSynonym(NameIndex<Record>& index, typename Table<Record>::iterator item,
                             std::string_view synonym) {
    const NameKey key(synonym);
    auto& synonyms = item->second->synonyms;
    const auto own = key.valid() ? synonyms.find(key.view()) : synonyms.end();
    if (own == synonyms.end()) return E_SYNONYM_NOT_FOUND;
    const auto mapped = index.find(key.view());
    if (mapped == index.end() || mapped->second != item) return E_INTERNAL;
    index.erase(mapped);
    synonyms.erase(own);
    invalidateDerived();
    return S_OK;
}

// Stores a quantity's or unit's new expression, then forget(record) marks unknown what the old
// one defined, for the Evaluator to work out again on first demand.
template <class Record, class Forget>
Result Tables::replaceExpression(Record& record, std::string_view expression, Forget&& forget) {
    if (!isStorableExpression(expression)) return E_INVALID_EXPRESSION;
    record.expression = expression;
    forget(record);
    invalidateDerived();
    return S_OK;
}

// Takes the item and every name of it out of the table and index (cannot fail).
template <class Record>
void Tables::removeItem(Table<Record>& table, NameIndex<Record>& index, typename Table<Record>::iterator item) {
    for (const auto& synonym : item->second->synonyms) index.erase(synonym.first);
    index.erase(item->first);
    table.erase(item);
}

}  // namespace kestrum
