// Evaluation of unit expressions (factor, offset, dimension vector) and quantity expressions
// (dimension vector). Terms combine strictly left to right; "*" and "/" have equal precedence.
#include "database.h"
#include "evaluation_depth.h"
#include "tokenizer.h"

#include <cmath>

namespace kestrum {

namespace {

bool scaleDims(DimVector& d, std::int64_t n) {
    for (auto& e : d) {
        const std::int64_t v = static_cast<std::int64_t>(e) * n;
        if (v > kMaxExponent || v < -kMaxExponent) return false;
        e = static_cast<std::int32_t>(v);
    }
    return true;
}

bool addDims(DimVector& acc, const DimVector& d, int sign) {
    for (int i = 0; i < kBaseDimensions; ++i) {
        const std::int64_t v = static_cast<std::int64_t>(acc[i]) + sign * static_cast<std::int64_t>(d[i]);
        if (v > kMaxExponent || v < -kMaxExponent) return false;
        acc[i] = static_cast<std::int32_t>(v);
    }
    return true;
}

}  // namespace

Result Database::evaluateUnitExpression(std::string_view text, UnitValue& value) {
    bool loneUnit = false;
    const Result rc = evaluateUnitTerms(text, value, loneUnit);
    if (rc != S_OK) {
        value.factor = UNDEFINED_VALUE;
        return rc;
    }
    // An offset belongs to a lone unit; in a product, quotient or power every unit counts as
    // an interval (1 degC/h is 1 K/h, not 274.15 K/h).
    if (!loneUnit) value.offset = 0.0;
    return S_OK;
}

Result Database::evaluateUnitTerms(std::string_view text, UnitValue& acc, bool& loneUnit) {
    const EvaluationDepth depth(m_depth);
    if (depth.exceeded()) return E_UDB_CORRUPT;
    int terms = 0;
    bool lastWasLoneUnit = false;
    // A product that lands exactly on the sentinel stops the evaluation; the conversion then
    // refuses the sentinel as a factor.
    while (!text.empty() && acc.factor != UNDEFINED_VALUE) {
        const char ch = text.front();
        if (ch == '*' || ch == '/') {
            if (acc.factor == 0.0) return E_INVALID_EXPRESSION;  // operator without a left operand
            text.remove_prefix(1);
        } else if (acc.factor != 0.0) {
            return E_INTERNAL;  // a term directly after a term
        }
        std::string_view term;
        if (!splitNextTerm(text, term)) return E_INVALID_EXPRESSION;

        UnitValue t;
        bool termIsLoneUnit = false;
        if (const Result rc = unitTermValue(term, t, termIsLoneUnit); rc != S_OK) return rc;

        if (ch == '*') {
            acc.factor *= t.factor;
            if (!addDims(acc.dims, t.dims, 1)) return E_INVALID_EXPRESSION;
        } else if (ch == '/') {
            acc.factor /= t.factor;
            if (!addDims(acc.dims, t.dims, -1)) return E_INVALID_EXPRESSION;
        } else {
            acc = t;
        }
        if (!std::isfinite(acc.factor)) return E_INVALID_EXPRESSION;
        ++terms;
        lastWasLoneUnit = termIsLoneUnit;
    }
    loneUnit = terms == 1 && lastWasLoneUnit;
    return S_OK;
}

Result Database::unitTermValue(std::string_view term, UnitValue& t, bool& loneUnit) {
    if (isGroup(term)) {
        bool inner = false;
        if (const Result rc = evaluateUnitTerms(term, t, inner); rc != S_OK) return rc;
        t.offset = 0.0;
        if (t.factor == 0.0) return E_UNIT_NOT_FOUND;
        if (t.factor == UNDEFINED_VALUE) return E_UDB_CORRUPT;
        return S_OK;
    }
    TermParts parts;
    if (const Result rc = parseTerm(term, parts); rc != S_OK) return rc;
    if (parts.isNumber()) {
        t.factor = parts.number;
        return S_OK;
    }
    const auto unit = resolveUnit(parts.name);
    if (unit == m_units.end()) return E_UNIT_NOT_FOUND;
    UnitRecord& u = *unit->second;
    completeUnit(u, true);
    completeUnit(u, false);
    const auto quantity = resolveQuantityKey(u.quantity);
    if (quantity == m_quantities.end()) return E_QUANTITY_NOT_FOUND;
    t.factor = u.conversionFactor;
    t.offset = u.conversionOffset;
    t.dims = dimVectorOf(*quantity->second);
    if (t.factor == 0.0) return E_UNIT_NOT_FOUND;
    if (t.factor == UNDEFINED_VALUE) return E_UDB_CORRUPT;  // its own definition failed
    const std::int64_t n = parts.exponent;
    if (n != 0) {
        // A power that underflows to 0 would read as "no term yet" and let a following term
        // stand without an operator ("in^400m" would be m).
        t.factor = std::pow(t.factor, static_cast<double>(n));
        if (!std::isfinite(t.factor) || t.factor == 0.0 || !scaleDims(t.dims, n)) return E_INVALID_EXPRESSION;
    }
    if (parts.number != 0.0) {
        t.factor *= parts.number;
        if (!std::isfinite(t.factor) || t.factor == 0.0) return E_INVALID_EXPRESSION;
    }
    // Only a unit by itself keeps its offset; a power or a multiple of it is an interval.
    loneUnit = n == 0 && parts.number == 0.0;
    if (!loneUnit) t.offset = 0.0;
    return S_OK;
}

Result Database::evaluateQuantityExpression(std::string_view text, DimVector& vector) {
    const Result rc = evaluateQuantityTerms(text, vector);
    if (rc != S_OK) vector[0] = UNSET_EXPONENT;
    return rc;
}

Result Database::evaluateQuantityTerms(std::string_view text, DimVector& acc) {
    const EvaluationDepth depth(m_depth);
    if (depth.exceeded()) return E_UDB_CORRUPT;
    while (!text.empty() && acc[0] != UNSET_EXPONENT) {
        const char ch = text.front();
        if (ch == '*' || ch == '/') {
            text.remove_prefix(1);
        } else if (acc[0] != 0) {
            return E_INTERNAL;
        }
        std::string_view term;
        if (!splitNextTerm(text, term)) return E_INVALID_EXPRESSION;

        DimVector d{};
        std::int64_t n = 0;
        if (isGroup(term)) {
            if (const Result rc = evaluateQuantityTerms(term, d); rc != S_OK) return rc;
        } else {
            TermParts parts;
            if (const Result rc = parseTerm(term, parts); rc != S_OK) return rc;
            if (!parts.isNumber()) {
                const auto quantity = resolveQuantity(parts.name);
                if (quantity == m_quantities.end()) return E_QUANTITY_NOT_FOUND;
                d = dimVectorOf(*quantity->second);
                n = parts.exponent;
            }
        }
        if (d[0] == UNSET_EXPONENT) return E_UDB_CORRUPT;  // its own definition failed
        if (n != 0 && !scaleDims(d, n)) return E_INVALID_EXPRESSION;

        if (ch == '*' || ch == '/') {
            if (!addDims(acc, d, ch == '*' ? 1 : -1)) return E_INVALID_EXPRESSION;
        } else {
            acc = d;
        }
    }
    return S_OK;
}

Result Database::evaluateCached(std::string_view lowerExpression, UnitValue& value) {
    if (m_evalCacheGeneration != m_generation) {
        if (!m_evalCache.empty()) m_evalCache.clear();
        m_evalCacheGeneration = m_generation;
    }
    if (auto hit = m_evalCache.find(lowerExpression); hit != m_evalCache.end()) {
        value = hit->second.value;
        return hit->second.rc;
    }
    const Result rc = evaluateUnitExpression(lowerExpression, value);
    constexpr std::size_t kCacheLimit = 4096;  // a bound for clients that convert endless distinct texts
    if (m_evalCache.size() >= kCacheLimit) m_evalCache.clear();
    m_evalCache.emplace(std::string(lowerExpression), CachedValue{rc, value});
    return rc;
}

}  // namespace kestrum
