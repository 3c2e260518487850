// The translation of a quantity expression into the unit expression a unit system prefers:
// each quantity becomes its preferred unit, else its defining expression, else the preferred
// units of the base quantities of its dimension vector.
#pragma once

#include <kestrum/result.h>

#include <string>
#include <string_view>
#include <vector>

namespace kestrum {

class Evaluator;
struct QuantityRecord;
class Tables;
struct TermLists;         // numerator and denominator of a translated quantity expression
struct TranslationState;  // one translation: the system and what is known

class PreferredUnits {
public:
    PreferredUnits(Tables& tables, Evaluator& evaluator) : m_tables(tables), m_evaluator(evaluator) {
        m_collecting.reserve(kUsualNesting);
    }

    Result build(std::string_view quantityExpression, std::string_view unitSystem, std::string& unitExpression);

private:
    Result collectQuantityTerms(TranslationState& state, std::string_view text, TermLists& lists);
    Result baseUnitsOfQuantity(std::string_view unitSystem, std::string_view quantity, TermLists& lists);
    Result findBaseQuantity(int dimension, std::string& quantity);

    static constexpr std::size_t kUsualNesting = 32;  // marks that fit without growing on the way

    Tables& m_tables;
    Evaluator& m_evaluator;
    // Quantities whose definition is being walked: meeting one again is a cycle.
    std::vector<const QuantityRecord*> m_collecting;
};

}  // namespace kestrum
