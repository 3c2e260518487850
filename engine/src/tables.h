// The Unit Database's tables: ordered tables of quantities, units and unit systems (the source
// of truth, whose order every list and every "first match" rule follows), hash indexes beside
// them that resolve a name or synonym in one lookup, and the queries and edits over them.
//
// Every successful edit bumps the generation, so a value worked out from an expression before
// it (see records.h) is known to be stale.
#pragma once

#include "records.h"
#include "text.h"

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

namespace kestrum {

class Tables {
public:
    Tables() = default;
    Tables(const Tables& other);
    Tables& operator=(const Tables&) = delete;

    // Takes other's content in one step that cannot fail (other gets this one's). The new
    // generation is past both old ones, so nothing worked out before counts as current.
    void replaceWith(Tables& other) noexcept;

    std::uint64_t generation() const { return m_generation; }
    // Every successful edit, and the end of a read, discards values worked out from expressions.
    void invalidateDerived() { ++m_generation; }

    // Queries of what is stored as given. The vector, factor and offset that an expression may
    // define are the Evaluator's queries.
    Result Quantity_Set(std::vector<std::string>& out) const;
    Result Quantity_Synonym_Set(std::string_view quantity, std::vector<std::string>& out) const;
    Result Quantity_Expression(std::string_view quantity, std::string& out) const;
    Result Quantity_Unit_Set(std::string_view quantity, std::vector<std::string>& out) const;
    Result Unit_Set(std::vector<std::string>& out) const;
    Result Unit_Synonym_Set(std::string_view unit, std::vector<std::string>& out) const;
    Result Unit_Quantity(std::string_view unit, std::string& out) const;
    Result Unit_Expression(std::string_view unit, std::string& out) const;
    Result Unit_Symbol(std::string_view unit, std::string& out) const;
    Result UnitSystem_Set(std::vector<std::string>& out) const;
    Result UnitSystem_PrefUnit(std::string_view unitSystem, std::string_view quantity, std::string& out) const;

    // Edits.
    Result Quantity_Remove(std::string_view quantity);
    Result Quantity_Rename(std::string_view currentName, std::string_view newName);
    Result Quantity_Add(std::string_view quantity);
    Result Quantity_Synonym_Remove(std::string_view quantity, std::string_view synonym);
    Result Quantity_Synonym_Add(std::string_view quantity, std::string_view synonym);
    Result Quantity_DimVector_Replace(std::string_view quantity, std::span<const std::int16_t> vector);
    Result Quantity_Expression_Replace(std::string_view quantity, std::string_view expression);
    Result Unit_Remove(std::string_view unit);
    Result Unit_Rename(std::string_view currentName, std::string_view newName);
    Result Unit_Add(std::string_view unit, std::string_view quantity);
    Result Unit_Synonym_Remove(std::string_view unit, std::string_view synonym);
    Result Unit_Synonym_Add(std::string_view unit, std::string_view synonym);
    Result Unit_Quantity_Replace(std::string_view unit, std::string_view quantity);
    Result Unit_ConversionFactor_Replace(std::string_view unit, double factor);
    Result Unit_ConversionOffset_Replace(std::string_view unit, double offset);
    Result Unit_Expression_Replace(std::string_view unit, std::string_view expression);
    Result Unit_Symbol_Replace(std::string_view unit, std::string_view symbol);
    Result UnitSystem_Remove(std::string_view unitSystem);
    Result UnitSystem_Rename(std::string_view currentName, std::string_view newName);
    Result UnitSystem_Add(std::string_view unitSystem);
    Result UnitSystem_PrefUnit_Replace(std::string_view unitSystem, std::string_view quantity, std::string_view unit);

    // For the XML reader, which gives a vector one exponent at a time and looks items up by
    // their key, without synonyms. The first exponent of an element clears the unknown ones
    // (those not given read as 0); later ones set only their own. False when no quantity has
    // that key.
    bool setQuantityExponent(std::string_view key, int dimension, std::int32_t exponent, bool firstOfElement);
    bool hasQuantityKey(std::string_view key) const { return m_quantities.find(key) != m_quantities.end(); }
    bool hasUnitKey(std::string_view key) const { return m_units.find(key) != m_units.end(); }
    // Room for about this many names, so a large read does not rehash as it goes.
    void reserveNames(std::size_t names) { m_unitIndex.reserve(names); }

    // Lookups for the Evaluator, the translation and the symbols: a name or synonym in any
    // letter case, or a lower-case key; nullptr when nothing has that name.
    QuantityRecord* findQuantityKey(std::string_view key) {
        const auto hit = m_quantityIndex.find(key);
        return hit == m_quantityIndex.end() ? nullptr : hit->second->second.get();
    }
    QuantityRecord* findQuantity(std::string_view name) {
        const NameKey key(name);
        return key.valid() ? findQuantityKey(key.view()) : nullptr;
    }
    UnitRecord* findUnit(std::string_view name) {
        const NameKey key(name);
        if (!key.valid()) return nullptr;
        const auto hit = m_unitIndex.find(key.view());
        return hit == m_unitIndex.end() ? nullptr : hit->second->second.get();
    }
    const UnitRecord* findUnit(std::string_view name) const { return const_cast<Tables*>(this)->findUnit(name); }
    // The quantities in table order with their keys, until visit returns true.
    template <class Visit>
    void forEachQuantity(Visit&& visit) {
        for (auto& [key, record] : m_quantities)
            if (visit(std::string_view(key), *record)) return;
    }

private:
    using QuantityIt = Table<QuantityRecord>::iterator;
    using UnitIt = Table<UnitRecord>::iterator;
    template <class Record>
    using NameIndex = std::unordered_map<std::string, typename Table<Record>::iterator, StringHash, std::equal_to<>>;

    // Name resolution: own name first, then synonym; one hash lookup either way.
    QuantityIt resolveQuantity(std::string_view name);
    UnitIt resolveUnit(std::string_view name);
    QuantityIt resolveQuantityKey(std::string_view key);
    UnitIt resolveUnitKey(std::string_view key);
    auto resolveQuantity(std::string_view name) const { return const_cast<Tables*>(this)->resolveQuantity(name); }
    auto resolveUnit(std::string_view name) const { return const_cast<Tables*>(this)->resolveUnit(name); }
    Table<UnitSystemRecord>::iterator findUnitSystem(std::string_view name);
    auto findUnitSystem(std::string_view name) const { return const_cast<Tables*>(this)->findUnitSystem(name); }
    // use(item) on the quantity (unit) that has this name or synonym, and its code; the "not
    // found" code when there is none. Every query and edit of one item starts here.
    template <class Use>
    Result withQuantity(std::string_view name, Use&& use) {
        const auto q = resolveQuantity(name);
        return q == m_quantities.end() ? E_QUANTITY_NOT_FOUND : use(q);
    }
    template <class Use>
    Result withUnit(std::string_view name, Use&& use) {
        const auto u = resolveUnit(name);
        return u == m_units.end() ? E_UNIT_NOT_FOUND : use(u);
    }
    template <class Use>
    Result withQuantity(std::string_view name, Use&& use) const {
        return const_cast<Tables*>(this)->withQuantity(name, std::forward<Use>(use));
    }
    template <class Use>
    Result withUnit(std::string_view name, Use&& use) const {
        return const_cast<Tables*>(this)->withUnit(name, std::forward<Use>(use));
    }
    // A new record of an item that is not in any table yet, under the name as given.
    template <class Record>
    static std::unique_ptr<Record> namedRecord(std::string_view name) {
        auto record = std::make_unique<Record>();
        record->displayName = name;
        return record;
    }
    // The factor or the offset of a unit given directly (not by an expression).
    Result replaceGivenValue(std::string_view unit, double UnitRecord::*value, double given);

    // One name space: a lower-case name names at most one quantity, unit, unit system or synonym.
    bool nameTaken(std::string_view key) const;
    Result checkNewName(std::string_view name) const;
    void rebuildIndex();
    // A rename's new expressions are worked out before anything changes, then swapped in.
    using TermRenames = std::vector<std::pair<std::string*, std::string>>;
    TermRenames renamedTerms(bool inQuantities, std::string_view oldKey, std::string_view newKey);
    static void applyRenames(TermRenames& renames) noexcept;

    // What quantity and unit edits share, written once over the table they work on (item_edits.h).
    template <class Record, class Prepare, class Commit>
    Result renameItem(Table<Record>& table, NameIndex<Record>& index, typename Table<Record>::iterator item,
                      std::string_view newName, Prepare&& prepare, Commit&& commit);
    template <class Record>
    Result addSynonym(NameIndex<Record>& index, typename Table<Record>::iterator item, std::string_view synonym);
    template <class Record>
    Result removeSynonym(NameIndex<Record>& index, typename Table<Record>::iterator item, std::string_view synonym);
    template <class Record, class Forget>
    Result replaceExpression(Record& record, std::string_view expression, Forget&& forget);
    template <class Record>
    void removeItem(Table<Record>& table, NameIndex<Record>& index, typename Table<Record>::iterator item);

    Table<QuantityRecord> m_quantities;
    Table<UnitRecord> m_units;
    Table<UnitSystemRecord> m_unitSystems;

    // Hash indexes beside the tables: every quantity (unit) name and synonym -> its table entry.
    // They also stand for the synonym tables (synonym -> owner), which the records' synonym
    // sets and these indexes hold between them.
    NameIndex<QuantityRecord> m_quantityIndex;
    NameIndex<UnitRecord> m_unitIndex;

    std::uint64_t m_generation = 1;
};

}  // namespace kestrum
