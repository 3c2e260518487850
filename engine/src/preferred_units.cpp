// Translating a quantity expression into preferred units; equal unit texts merge their exponents.
#include "preferred_units.h"

#include "evaluator.h"
#include "tables.h"
#include "tokenizer.h"

#include <algorithm>
#include <vector>

#include <cmath>
#include <unordered_map>

namespace kestrum {

struct TermLists {
    struct Entry {
        std::string unit;
        std::int64_t exponent;
    };
    std::vector<Entry> numerator;
    std::vector<Entry> denominator;
    bool empty() const { return numerator.empty() && denominator.empty(); }
};

// A quantity may be named many times over in the definitions a translation walks (a quantity
// defined as p/p*p names p three times, and p may be defined the same way): each quantity is
// translated once per translation, or the work grows exponentially with the nesting.
struct TranslationState {
    std::string_view unitSystem;
    std::unordered_map<const QuantityRecord*, TermLists> translated;
    std::vector<const QuantityRecord*>& collecting;
};

namespace {

using Entries = std::vector<TermLists::Entry>;

// Marks a quantity as being translated for as long as its definition is walked.
class CollectingMark {
public:
    CollectingMark(TranslationState& state, const QuantityRecord& q) : m_marks(state.collecting) {
        m_marks.push_back(&q);
    }
    ~CollectingMark() { m_marks.pop_back(); }
    CollectingMark(const CollectingMark&) = delete;
    CollectingMark& operator=(const CollectingMark&) = delete;

private:
    std::vector<const QuantityRecord*>& m_marks;
};

bool isCollecting(const TranslationState& state, const QuantityRecord& q) {
    return std::find(state.collecting.begin(), state.collecting.end(), &q) != state.collecting.end();
}

Result mergeTerm(std::string_view unit, std::int64_t n, char op, TermLists& lists) {
    if (unit.empty()) return E_INTERNAL;
    auto find = [unit](Entries& list) {
        for (auto& e : list)
            if (e.unit == unit) return &e;
        return static_cast<TermLists::Entry*>(nullptr);
    };
    auto* inNumerator = find(lists.numerator);
    auto* inDenominator = inNumerator ? nullptr : find(lists.denominator);
    const std::int64_t sign = op == '/' ? -1 : 1;
    std::int64_t exponent = n;
    if (inNumerator) {
        exponent = inNumerator->exponent += sign * n;
    } else if (inDenominator) {
        exponent = inDenominator->exponent -= sign * n;
    } else {
        (op == '/' ? lists.denominator : lists.numerator).push_back({std::string(unit), n});
    }
    return exponent > kMaxExponent || exponent < -kMaxExponent ? E_INVALID_EXPRESSION : S_OK;
}

Result mergeLists(const TermLists& local, std::int64_t n, char ch, TermLists& lists) {
    const char opposite = ch == '/' ? '*' : '/';
    for (const auto& e : local.numerator)
        if (const Result rc = mergeTerm(e.unit, e.exponent * n, ch, lists); rc != S_OK) return rc;
    for (const auto& e : local.denominator)
        if (const Result rc = mergeTerm(e.unit, e.exponent * n, opposite, lists); rc != S_OK) return rc;
    return S_OK;
}

// The value of a number entry ("2", "10^3"); 0 for a unit name.
double numberValue(std::string_view unit) {
    TermParts parts;
    return parseTerm(unit, parts) == S_OK && parts.name.empty() ? parts.number : 0.0;
}

// Drops entries that are the number 1 or have exponent 0; moves negative exponents across.
void normalise(Entries& list, Entries& other) {
    Entries kept;
    for (auto& e : list) {
        if (e.exponent == 0 || numberValue(e.unit) == 1.0) continue;
        if (e.exponent < 0) {
            other.push_back({std::move(e.unit), -e.exponent});
        } else {
            kept.push_back(std::move(e));
        }
    }
    list = std::move(kept);
}

// Lower exponents first. Deliberately this selection sort, not a stable sort: its order of
// equal exponents is what users have always seen.
void sortByExponent(Entries& list) {
    for (std::size_t i = 0; i + 1 < list.size(); ++i) {
        for (std::size_t j = i + 1; j < list.size(); ++j) {
            if (list[j].exponent < list[i].exponent) {
                std::swap(list[i], list[j]);
                j = i;  // scan again from the entry after i
            }
        }
    }
}

// One entry as the evaluator reads it back: a number raised to a power written as its value.
Result appendEntry(std::string& text, const TermLists::Entry& e) {
    if (e.exponent == 1) {
        text += e.unit;
        return S_OK;
    }
    if (const double number = numberValue(e.unit); number != 0.0) {
        const double power = std::pow(number, static_cast<double>(e.exponent));
        if (!std::isfinite(power) || power == 0.0) return E_INVALID_EXPRESSION;
        text += shortestNumber(power);
        return S_OK;
    }
    text += e.unit;
    text += '^';
    text += std::to_string(e.exponent);
    return S_OK;
}

}  // namespace

Result PreferredUnits::build(std::string_view quantityExpression, std::string_view unitSystem,
                             std::string& unitExpression) {
    TermLists lists;
    TranslationState state{unitSystem, {}, m_collecting};
    if (const Result rc = collectQuantityTerms(state, quantityExpression, lists); rc != S_OK) return rc;
    normalise(lists.numerator, lists.denominator);
    normalise(lists.denominator, lists.numerator);
    sortByExponent(lists.numerator);
    sortByExponent(lists.denominator);

    std::string text;
    for (const auto& e : lists.numerator) {
        if (!text.empty()) text += '*';
        if (const Result rc = appendEntry(text, e); rc != S_OK) return rc;
    }
    const auto& den = lists.denominator;
    for (std::size_t i = 0; i < den.size(); ++i) {
        if (i == 0) {
            text += text.empty() ? "1/" : "/";
            if (den.size() > 1) text += '(';
        } else {
            text += '*';
        }
        if (const Result rc = appendEntry(text, den[i]); rc != S_OK) return rc;
    }
    if (den.size() > 1) text += ')';
    unitExpression = std::move(text);
    return S_OK;
}

Result PreferredUnits::collectQuantityTerms(TranslationState& state, std::string_view text, TermLists& lists) {
    const EvaluationDepth depth = m_evaluator.deeper();
    if (depth.exceeded()) return E_UDB_CORRUPT;
    while (!text.empty()) {
        const char ch = text.front();
        if (ch == '*' || ch == '/') {
            text.remove_prefix(1);
        } else if (!lists.empty()) {
            return E_INTERNAL;
        }
        std::string_view term;
        if (!splitNextTerm(text, term)) return E_INVALID_EXPRESSION;

        if (isGroup(term)) {
            TermLists local;
            if (const Result rc = collectQuantityTerms(state, term, local); rc != S_OK) return rc;
            if (const Result rc = mergeLists(local, 1, ch, lists); rc != S_OK) return rc;
            continue;
        }
        TermParts parts;
        if (const Result rc = parseTerm(term, parts); rc != S_OK) return rc;
        if (parts.number != 0.0) {
            // A number keeps its text as written; one against a name ("100Length") goes in
            // as a term of its own, the name after it.
            const std::string_view number = parts.name.empty() ? term : parts.numberText;
            if (const Result rc = mergeTerm(number, 1, ch, lists); rc != S_OK) return rc;
            if (parts.name.empty()) continue;
        }
        const std::string_view name = parts.name;
        std::int64_t n = parts.exponent;
        if (n == 0) n = 1;

        std::string preferred;
        if (const Result rc = m_tables.UnitSystem_PrefUnit(state.unitSystem, name, preferred); rc != S_OK) return rc;
        if (!preferred.empty()) {
            if (const Result rc = mergeTerm(preferred, n, ch, lists); rc != S_OK) return rc;
            continue;
        }
        QuantityRecord* const quantity = m_tables.findQuantity(name);
        if (!quantity) return E_QUANTITY_NOT_FOUND;
        const QuantityRecord& q = *quantity;
        auto known = state.translated.find(&q);
        if (known == state.translated.end()) {
            TermLists local;
            if (!q.expression.empty()) {
                if (isCollecting(state, q)) return E_UDB_CORRUPT;  // defined through itself
                const CollectingMark mark(state, q);
                if (const Result rc = collectQuantityTerms(state, q.expression, local); rc != S_OK) return rc;
            } else if (const Result rc = baseUnitsOfQuantity(state.unitSystem, name, local); rc != S_OK) {
                return rc;
            }
            known = state.translated.emplace(&q, std::move(local)).first;
        }
        if (const Result rc = mergeLists(known->second, n, ch, lists); rc != S_OK) return rc;
    }
    return S_OK;
}

Result PreferredUnits::baseUnitsOfQuantity(std::string_view unitSystem, std::string_view quantity, TermLists& lists) {
    DimVector v;
    if (const Result rc = m_evaluator.Quantity_DimVector(quantity, v); rc != S_OK) return rc;
    bool any = false;
    for (int i = 0; i < kBaseDimensions; ++i) {
        if (v[i] == 0) continue;
        any = true;
        std::string base, preferred;
        if (const Result rc = findBaseQuantity(i, base); rc != S_OK) return rc;
        if (const Result rc = m_tables.UnitSystem_PrefUnit(unitSystem, base, preferred); rc != S_OK) return rc;
        if (preferred.empty()) return E_NO_PREFERRED_UNIT_BASIC;
        if (v[i] > 0) {
            lists.numerator.push_back({std::move(preferred), v[i]});
        } else {
            lists.denominator.push_back({std::move(preferred), -static_cast<std::int64_t>(v[i])});
        }
    }
    return any ? S_OK : E_NO_PREFERRED_UNIT_CONSTANT;
}

Result PreferredUnits::findBaseQuantity(int dimension, std::string& quantity) {
    bool found = false;
    m_tables.forEachQuantity([&](std::string_view key, QuantityRecord& record) {
        const DimVector& v = m_evaluator.dimVectorOf(record);
        bool isBase = true;
        for (int i = 0; i < kBaseDimensions && isBase; ++i) isBase = v[i] == (i == dimension ? 1 : 0);
        if (isBase) {
            quantity = key;
            found = true;
        }
        return found;
    });
    return found ? S_OK : E_QUANTITY_NOT_FOUND;
}

}  // namespace kestrum
