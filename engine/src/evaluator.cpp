// Evaluation of unit expressions (factor, offset, dimension vector) and quantity expressions
// (dimension vector). Terms combine strictly left to right; "*" and "/" have equal precedence.
#include "evaluator.h"

#include "tables.h"
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

Result Evaluator::evaluateUnitExpression(std::string_view text, UnitValue& value) {
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

Result Evaluator::evaluateUnitTerms(std::string_view text, UnitValue& acc, bool& loneUnit) {
    const EvaluationDepth depth = deeper();
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

Result Evaluator::unitTermValue(std::string_view term, UnitValue& t, bool& loneUnit) {
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
    UnitRecord* const unit = m_tables.findUnit(parts.name);
    if (!unit) return E_UNIT_NOT_FOUND;
    UnitRecord& u = *unit;
    completeUnit(u, true);
    completeUnit(u, false);
    QuantityRecord* const quantity = m_tables.findQuantityKey(u.quantity);
    if (!quantity) return E_QUANTITY_NOT_FOUND;
    t.factor = u.conversionFactor;
    t.offset = u.conversionOffset;
    t.dims = dimVectorOf(*quantity);
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

Result Evaluator::evaluateQuantityExpression(std::string_view text, DimVector& vector) {
    const Result rc = evaluateQuantityTerms(text, vector);
    if (rc != S_OK) vector[0] = UNSET_EXPONENT;
    return rc;
}

Result Evaluator::evaluateQuantityTerms(std::string_view text, DimVector& acc) {
    const EvaluationDepth depth = deeper();
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
                QuantityRecord* const quantity = m_tables.findQuantity(parts.name);
                if (!quantity) return E_QUANTITY_NOT_FOUND;
                d = dimVectorOf(*quantity);
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

}  // namespace kestrum
