// The values a unit's or a quantity's own expression defines, worked out on first demand and
// kept until the next edit; and conversion operands, kept likewise.
#include "evaluator.h"

#include "tables.h"

#include <algorithm>

namespace kestrum {

// Marks an item as being worked out for as long as its expression is evaluated. Cleared also
// when an allocation fails on the way: a mark left behind would make the item look defined
// through itself until the Evaluator is gone.
class Evaluator::VisitMark {
public:
    VisitMark(std::vector<const void*>& marks, const void* item) : m_marks(marks) { m_marks.push_back(item); }
    ~VisitMark() { m_marks.pop_back(); }
    VisitMark(const VisitMark&) = delete;
    VisitMark& operator=(const VisitMark&) = delete;

private:
    std::vector<const void*>& m_marks;
};

bool Evaluator::visiting(const void* item) const {
    return std::find(m_visiting.begin(), m_visiting.end(), item) != m_visiting.end();
}

Result Evaluator::Quantity_DimVector(std::string_view quantity, DimVector& out) {
    QuantityRecord* const q = m_tables.findQuantity(quantity);
    if (!q) return E_QUANTITY_NOT_FOUND;
    out = dimVectorOf(*q);
    return S_OK;
}

Result Evaluator::Unit_ConversionFactor(std::string_view unit, double& out) { return unitValue(unit, true, out); }

Result Evaluator::Unit_ConversionOffset(std::string_view unit, double& out) { return unitValue(unit, false, out); }

Result Evaluator::unitValue(std::string_view unit, bool factorAsked, double& out) {
    UnitRecord* const u = m_tables.findUnit(unit);
    if (!u) return E_UNIT_NOT_FOUND;
    completeUnit(*u, factorAsked);
    out = factorAsked ? u->conversionFactor : u->conversionOffset;
    return S_OK;
}

const DimVector& Evaluator::dimVectorOf(QuantityRecord& q) {
    if (!q.expression.empty()) {
        if (q.evaluatedAt == m_tables.generation() || visiting(&q)) return q.dimVector;
        const VisitMark mark(m_visiting, &q);
        q.dimVector = unsetDimVector();  // what a cycle back to this quantity sees
        DimVector v{};
        const Result rc = evaluateQuantityExpression(q.expression, v);
        q.dimVector = rc == S_OK ? v : unsetDimVector();
        q.evaluatedAt = m_tables.generation();
    } else if (q.dimVector[0] == UNSET_EXPONENT) {
        q.dimVector.fill(0);  // an empty expression evaluates to a dimensionless vector
    }
    return q.dimVector;
}

void Evaluator::completeUnit(UnitRecord& u, bool factorAsked) {
    if (!u.expression.empty()) {
        if (u.evaluatedAt == m_tables.generation() || visiting(&u)) return;
        const VisitMark mark(m_visiting, &u);
        u.conversionFactor = u.conversionOffset = UNDEFINED_VALUE;  // what a cycle back here sees
        UnitValue v;
        const Result rc = evaluateUnitExpression(u.expression, v);
        u.conversionFactor = rc == S_OK ? v.factor : UNDEFINED_VALUE;
        u.conversionOffset = rc == S_OK ? v.offset : UNDEFINED_VALUE;
        u.evaluatedAt = m_tables.generation();
    } else if ((factorAsked ? u.conversionFactor : u.conversionOffset) == UNDEFINED_VALUE) {
        // A unit given neither factor nor expression: its empty expression evaluates to nothing.
        // Only the values still unknown become 0: a factor given directly stays when the
        // offset was given as the sentinel, or a query of the offset would change the factor
        // after it had been read (and a save would write a factor nobody gave).
        if (u.conversionFactor == UNDEFINED_VALUE) u.conversionFactor = 0.0;
        if (u.conversionOffset == UNDEFINED_VALUE) u.conversionOffset = 0.0;
    }
}

Result Evaluator::evaluateOperand(std::string_view expression, UnitValue& value) {
    // The lower-case form, without a copy when the text has no upper-case letters.
    std::string_view lower = expression;
    if (hasUpperAscii(expression)) {
        m_folded.assign(expression);
        for (char& c : m_folded) c = foldAscii(c);
        lower = m_folded;
    }
    if (m_operandCacheGeneration != m_tables.generation()) {
        if (!m_operandCache.empty()) m_operandCache.clear();
        m_operandCacheGeneration = m_tables.generation();
    }
    if (auto hit = m_operandCache.find(lower); hit != m_operandCache.end()) {
        value = hit->second.value;
        return hit->second.rc;
    }
    const Result rc = evaluateUnitExpression(lower, value);
    constexpr std::size_t kCacheLimit = 4096;  // a bound for clients that convert endless distinct texts
    if (m_operandCache.size() >= kCacheLimit) m_operandCache.clear();
    m_operandCache.emplace(std::string(lower), CachedValue{rc, value});
    return rc;
}

}  // namespace kestrum
