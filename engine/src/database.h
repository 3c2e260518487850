// The Unit Database: ordered tables of quantities, units and unit systems (the source of truth,
// whose order every list and every "first match" rule follows; each record keeps the spelling of
// its name and synonyms), hash indexes beside them that resolve a name or synonym in one
// lookup, and the query and edit operations over them.
//
// Values worked out from expressions (a unit's factor and offset, a quantity's vector) carry the
// edit generation at which they were worked out; every successful edit bumps the generation, so
// nothing derived outlives a change of what it depends on, and a failed evaluation is remembered
// until the next edit instead of being retried (and re-failed) at every level of a chain.
#pragma once

#include "text.h"

#include <kestrum/engine.h>

#include <array>
#include <cstdint>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace kestrum {

using DimVector = std::array<std::int32_t, kBaseDimensions>;

inline DimVector unsetDimVector() {
    DimVector v;
    v.fill(UNSET_EXPONENT);
    return v;
}

// Synonyms of an item: lower-case key -> the spelling in which it was added.
using SynonymMap = std::map<std::string, std::string, std::less<>>;

struct QuantityRecord {
    std::string displayName;  // the name as it was given, case kept
    DimVector dimVector = unsetDimVector();
    SynonymMap synonyms;
    std::set<std::string, std::less<>> units;
    std::string expression;
    std::uint64_t evaluatedAt = 0;  // generation of dimVector when expression is not empty
    bool evaluating = false;        // on the evaluation stack: meeting it again is a cycle
    bool collecting = false;        // being translated into preferred units, likewise
};

struct UnitRecord {
    std::string displayName;
    std::string quantity;
    double conversionFactor = UNDEFINED_VALUE;
    double conversionOffset = 0.0;
    std::string expression;
    std::string symbol;
    SynonymMap synonyms;
    std::uint64_t evaluatedAt = 0;  // generation of factor and offset when expression is not empty
    bool evaluating = false;
};

struct UnitSystemRecord {
    std::string displayName;
    std::map<std::string, std::string, std::less<>> prefUnits;  // quantity key -> unit key or ""
};

// What a unit expression evaluates to.
struct UnitValue {
    double factor = 0.0;
    double offset = 0.0;
    DimVector dims{};
};

struct TermLists;        // numerator and denominator of a translated quantity expression
struct TranslationState;  // one translation into preferred units: the system and what is known

struct StringHash {
    using is_transparent = void;
    std::size_t operator()(std::string_view s) const noexcept { return std::hash<std::string_view>{}(s); }
};

template <class Record>
using Table = std::map<std::string, std::unique_ptr<Record>, std::less<>>;

class Database {
public:
    Database() = default;
    Database(const Database& other);
    Database& operator=(const Database&) = delete;

    // Queries.
    Result Quantity_Set(std::vector<std::string>& out) const;
    Result Quantity_Synonym_Set(std::string_view quantity, std::vector<std::string>& out) const;
    Result Quantity_DimVector(std::string_view quantity, DimVector& out);
    Result Quantity_Expression(std::string_view quantity, std::string& out) const;
    Result Quantity_Unit_Set(std::string_view quantity, std::vector<std::string>& out) const;
    Result Unit_Set(std::vector<std::string>& out) const;
    Result Unit_Synonym_Set(std::string_view unit, std::vector<std::string>& out) const;
    Result Unit_Quantity(std::string_view unit, std::string& out) const;
    Result Unit_ConversionFactor(std::string_view unit, double& out);
    Result Unit_ConversionOffset(std::string_view unit, double& out);
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

    // Used by the XML reader, which sets single exponents and looks items up without synonyms.
    QuantityRecord* quantityByKey(std::string_view key);
    // Room for about this many names, so a large read does not rehash as it goes.
    void reserveNames(std::size_t names);
    bool hasUnitKey(std::string_view key) const { return m_units.find(key) != m_units.end(); }

    // Evaluators. Callers pass fresh accumulators; the text is lower-cased where the operation
    // says so before it gets here.
    Result evaluateUnitExpression(std::string_view text, UnitValue& value);
    Result evaluateQuantityExpression(std::string_view text, DimVector& vector);
    Result renderSymbol(std::string_view text, std::string& symbol) const;
    Result buildPreferredUnitExpression(std::string_view quantityExpression, std::string_view unitSystem,
                                        std::string& unitExpression);

    // Conversion of two lower-case unit expressions, with evaluations kept until the next edit.
    Result evaluateCached(std::string_view lowerExpression, UnitValue& value);

    // Room to lower-case the two expressions of a conversion without allocating each time.
    std::string& scratch(int which) { return m_scratch[which]; }

    // Every successful edit, and the end of a read, discards values worked out from expressions.
    void invalidateDerived() { ++m_generation; }

private:
    using QuantityIt = Table<QuantityRecord>::iterator;
    using UnitIt = Table<UnitRecord>::iterator;

    // Name resolution: own name first, then synonym; one hash lookup either way.
    QuantityIt resolveQuantity(std::string_view name);
    UnitIt resolveUnit(std::string_view name);
    QuantityIt resolveQuantityKey(std::string_view key);
    UnitIt resolveUnitKey(std::string_view key);
    auto resolveQuantity(std::string_view name) const { return const_cast<Database*>(this)->resolveQuantity(name); }
    auto resolveUnit(std::string_view name) const { return const_cast<Database*>(this)->resolveUnit(name); }
    Table<UnitSystemRecord>::iterator findUnitSystem(std::string_view name);
    auto findUnitSystem(std::string_view name) const { return const_cast<Database*>(this)->findUnitSystem(name); }

    // One name space: a lower-case name names at most one quantity, unit, unit system or synonym.
    bool nameTaken(std::string_view key) const;
    Result checkNewName(std::string_view name) const;
    void rebuildIndex();
    // A rename's new expressions are worked out before anything changes, then swapped in.
    using TermRenames = std::vector<std::pair<std::string*, std::string>>;
    TermRenames renamedTerms(bool inQuantities, std::string_view oldKey, std::string_view newKey);
    static void applyRenames(TermRenames& renames) noexcept;

    // Deferred values, worked out on demand.
    const DimVector& dimVectorOf(QuantityRecord& q);
    void completeUnit(UnitRecord& u, bool factorAsked);

    Result evaluateUnitTerms(std::string_view text, UnitValue& acc, bool& loneUnit);
    Result evaluateQuantityTerms(std::string_view text, DimVector& acc);
    Result unitTermValue(std::string_view term, UnitValue& value, bool& loneUnit);
    Result collectQuantityTerms(TranslationState& state, std::string_view text, TermLists& lists);
    Result baseUnitsOfQuantity(std::string_view unitSystem, std::string_view quantity, TermLists& lists);
    Result findBaseQuantity(int dimension, std::string& quantity);

    Table<QuantityRecord> m_quantities;
    Table<UnitRecord> m_units;
    Table<UnitSystemRecord> m_unitSystems;

    // Hash indexes beside the tables: every quantity (unit) name and synonym -> its table entry.
    // They also stand for the synonym tables (synonym -> owner), which the records' synonym
    // sets and these indexes hold between them.
    std::unordered_map<std::string, QuantityIt, StringHash, std::equal_to<>> m_quantityIndex;
    std::unordered_map<std::string, UnitIt, StringHash, std::equal_to<>> m_unitIndex;

    std::uint64_t m_generation = 1;
    int m_depth = 0;  // nesting of definitions being evaluated, to stop runaway chains

    struct CachedValue {
        Result rc;
        UnitValue value;
    };
    std::unordered_map<std::string, CachedValue, StringHash, std::equal_to<>> m_evalCache;
    std::uint64_t m_evalCacheGeneration = 0;
    std::string m_scratch[2];
};

}  // namespace kestrum
