// The records of the Unit Database: what a quantity, a unit and a unit system hold. A record
// keeps the spelling of its name and synonyms; its table keys it by the lower-case name.
//
// A quantity's vector and a unit's factor and offset are given directly or worked out from an
// expression. Worked-out values are kept in the record with the tables' generation at which
// they were worked out (evaluatedAt): the Evaluator works them out and judges them stale when
// the generation has moved on; nothing else writes them.
#pragma once

#include <kestrum/engine.h>

#include <array>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <string_view>

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

struct StringHash {
    using is_transparent = void;
    std::size_t operator()(std::string_view s) const noexcept { return std::hash<std::string_view>{}(s); }
};

template <class Record>
using Table = std::map<std::string, std::unique_ptr<Record>, std::less<>>;

}  // namespace kestrum
