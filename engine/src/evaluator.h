// The Evaluator: unit expressions to factor, offset and dimension vector, quantity expressions
// to a dimension vector, and the values that a unit's or quantity's own expression defines.
// It reads the tables through their lookups and keeps what it works out in the records (see
// records.h) and in a cache of whole conversion operands, both until the tables' next edit.
#pragma once

#include "evaluation_depth.h"
#include "records.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace kestrum {

class Tables;

class Evaluator {
public:
    explicit Evaluator(Tables& tables) : m_tables(tables) { m_visiting.reserve(kUsualNesting); }
    Evaluator(const Evaluator&) = delete;
    Evaluator& operator=(const Evaluator&) = delete;

    // The queries of values an expression may define, completed on demand.
    Result Quantity_DimVector(std::string_view quantity, DimVector& out);
    Result Unit_ConversionFactor(std::string_view unit, double& out);
    Result Unit_ConversionOffset(std::string_view unit, double& out);
    const DimVector& dimVectorOf(QuantityRecord& q);

    // Callers pass fresh accumulators; the text is lower-cased where the operation says so
    // before it gets here.
    Result evaluateUnitExpression(std::string_view text, UnitValue& value);
    Result evaluateQuantityExpression(std::string_view text, DimVector& vector);

    // One side of a conversion, in any letter case, with evaluations kept until the next edit.
    Result evaluateOperand(std::string_view expression, UnitValue& value);

    // Nesting of definitions being worked out, shared with the translation into preferred
    // units (which evaluates as it goes), to stop runaway chains.
    EvaluationDepth deeper() { return EvaluationDepth(m_depth); }

private:
    class VisitMark;

    void completeUnit(UnitRecord& u, bool factorAsked);
    // The factor (or the offset) of a unit, worked out first when an expression defines it.
    Result unitValue(std::string_view unit, bool factorAsked, double& out);
    bool visiting(const void* item) const;

    Result evaluateUnitTerms(std::string_view text, UnitValue& acc, bool& loneUnit);
    Result evaluateQuantityTerms(std::string_view text, DimVector& acc);
    Result unitTermValue(std::string_view term, UnitValue& value, bool& loneUnit);

    static constexpr std::size_t kUsualNesting = 32;  // marks that fit without growing on the way

    Tables& m_tables;
    int m_depth = 0;
    // Units and quantities whose own expression is being worked out: meeting one again is a cycle.
    std::vector<const void*> m_visiting;

    struct CachedValue {
        Result rc;
        UnitValue value;
    };
    std::unordered_map<std::string, CachedValue, StringHash, std::equal_to<>> m_operandCache;
    std::uint64_t m_operandCacheGeneration = 0;
    std::string m_folded;  // room to lower-case an operand without allocating each time
};

}  // namespace kestrum
