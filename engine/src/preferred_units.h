// The translation of a quantity expression into the unit expression a unit system prefers:
// each quantity becomes its preferred unit, else its defining expression, else the preferred
// units of the base quantities of its dimension vector.
#pragma once

#include <kestrum/result.h>

#include <string>
#include <string_view>

namespace kestrum {

class Evaluator;
class Tables;
struct TermLists;         // numerator and denominator of a translated quantity expression
struct TranslationState;  // one translation: the system, what is known, what is being walked

class PreferredUnits {
public:
    PreferredUnits(Tables& tables, Evaluator& evaluator) : m_tables(tables), m_evaluator(evaluator) {}

    Result build(std::string_view quantityExpression, std::string_view unitSystem, std::string& unitExpression);

private:
    Result collectQuantityTerms(TranslationState& state, std::string_view text, TermLists& lists);
    Result baseUnitsOfQuantity(std::string_view unitSystem, std::string_view quantity, TermLists& lists);
    Result findBaseQuantity(int dimension, std::string& quantity);

    Tables& m_tables;
    Evaluator& m_evaluator;
};

}  // namespace kestrum
